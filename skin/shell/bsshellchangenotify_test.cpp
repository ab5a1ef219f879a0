#include "skin/shell/bsshellchangenotify.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <chrono>

#include "platform/rtl/threads.h"
#include "platform/shell/testkit/tempfolder.h"

namespace {

using namespace std::chrono_literals;

class ShellChangeNotifier : public shelltest::TTempFolderTest {
 protected:
  template <class F>
  static bool PumpUntil(F Done, std::chrono::milliseconds Limit = 5000ms) {
    auto end = std::chrono::steady_clock::now() + Limit;
    while (!Done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      CheckSynchronize(10);
    }
    return true;
  }
  static void PumpFor(std::chrono::milliseconds Time) {
    auto end = std::chrono::steady_clock::now() + Time;
    while (std::chrono::steady_clock::now() < end) CheckSynchronize(10);
  }
};

TEST(NotifyFilters, EachFilterSetsItsPlatformFlag) {
  const std::pair<TNotifyFilters, Cardinal> Cases[] = {
      {{}, 0},
      {{nfFileNameChange}, 0x1},
      {{nfDirNameChange}, 0x2},
      {{nfAttributeChange}, 0x4},
      {{nfSizeChange}, 0x8},
      {{nfWriteChange}, 0x10},
      {{nfSecurityChange}, 0x100},
      {{nfFileNameChange, nfDirNameChange, nfWriteChange}, 0x13},
  };
  for (const auto& [Filters, Flags] : Cases) EXPECT_EQ(NotifyFilterFlags(Filters), Flags) << Flags;
}

TEST_F(ShellChangeNotifier, DefaultsAndNoWatchWithoutAHandler) {
  TbsShellChangeNotifier N(nullptr);
  EXPECT_EQ(N.Root(), "C:\\");
  EXPECT_TRUE(N.WatchSubTree());
  EXPECT_EQ(N.NotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
  N.SetRoot(Dir);
  EXPECT_FALSE(N.Watching());
  Integer Calls = 0;
  N.SetOnChange([&] { ++Calls; });
  EXPECT_TRUE(N.Watching());
}

TEST_F(ShellChangeNotifier, ACreatedFileCallsOnChangeOnTheMainThread) {
  MakeDir("w");
  MakeDir("w/sub");
  TbsShellChangeNotifier N(nullptr);
  N.SetRoot(Path("w"));
  N.SetWatchSubTree(false);
  Integer Calls = 0;
  bool OnMain = true;
  N.SetOnChange([&] {
    ++Calls;
    OnMain = OnMain && IsMainThread();
  });
  ASSERT_TRUE(N.Watching());
  MakeFile("w/a.txt");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
  EXPECT_TRUE(OnMain);
  // Without the sub tree a change in a subfolder does not count; with it, it does.
  PumpFor(100ms);
  const Integer Before = Calls;
  MakeFile("w/sub/b.txt");
  PumpFor(200ms);
  EXPECT_EQ(Calls, Before);
  N.SetWatchSubTree(true);
  MakeFile("w/sub/c.txt");
  EXPECT_TRUE(PumpUntil([&] { return Calls > Before; }));
  // A replaced handler receives the next notice.
  Integer Second = 0;
  N.SetOnChange([&] { ++Second; });
  MakeFile("w/d.txt");
  EXPECT_TRUE(PumpUntil([&] { return Second > 0; }));
}

TEST_F(ShellChangeNotifier, AMissingFolderNeverCallsAndDestroysQuietly) {
  Integer Calls = 0;
  {
    TbsShellChangeNotifier N(nullptr);
    N.SetRoot(Path("missing"));
    N.SetOnChange([&] { ++Calls; });
    EXPECT_FALSE(N.Watching());
    MakeDir("missing");
    MakeFile("missing/a");
    PumpFor(100ms);
  }
  EXPECT_EQ(Calls, 0);
}

TEST_F(ShellChangeNotifier, DestroyingTheNotifierWithANoticeOnItsWayDropsIt) {
  MakeDir("w");
  Integer Calls = 0;
  {
    TbsShellChangeNotifier N(nullptr);
    N.SetRoot(Path("w"));
    N.SetOnChange([&] { ++Calls; });
    MakeFile("w/a");
    // Let the watch thread see the change without serving the main-thread queue.
    std::this_thread::sleep_for(200ms);
  }
  PumpFor(100ms);
  EXPECT_EQ(Calls, 0);
}

TEST_F(ShellChangeNotifier, ARootDifferingOnlyInCaseKeepsTheWatch) {
  MakeDir("w");
  TbsShellChangeNotifier N(nullptr);
  N.SetRoot(Path("w"));
  N.SetOnChange([] {});
  ASSERT_TRUE(N.Watching());
  String Upper = Path("W");
  N.SetRoot(Upper);
  EXPECT_EQ(N.Root(), Path("w"));
  EXPECT_TRUE(N.Watching());
}

}  // namespace
