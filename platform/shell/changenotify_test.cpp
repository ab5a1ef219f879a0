// Change notification as its users meet it: changes on disk reach OnChange on the main thread,
// and the watch survives its folder going away and its own destruction with a notice on the way.
#include "platform/shell/changenotify.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/rtl/threads.h"
#include "platform/shell/testkit/tempfolder.h"

namespace {

using namespace std::chrono_literals;

class ChangeNotifyTest : public shelltest::TTempFolderTest {
 protected:
  // Serves the main-thread queue until Done holds or a generous limit passes.
  template <class F>
  static bool PumpUntil(F Done, std::chrono::milliseconds Limit = 5000ms) {
    auto end = std::chrono::steady_clock::now() + Limit;
    while (!Done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      CheckSynchronize(10);
    }
    return true;
  }
  // Serves the queue for a while, for checks that nothing arrives.
  static void PumpFor(std::chrono::milliseconds Time) {
    auto end = std::chrono::steady_clock::now() + Time;
    while (std::chrono::steady_clock::now() < end) CheckSynchronize(10);
  }
};

TEST_F(ChangeNotifyTest, CreateDeleteAndRenameReachTheHandlerOnTheMainThread) {
  MakeDir("w");
  Integer calls = 0;
  bool onMain = true;
  TShellChangeWatch watch(Path("w"), false, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, [&] {
    ++calls;
    onMain = onMain && IsMainThread();
  });
  ASSERT_TRUE(watch.Active());
  struct Step {
    const char* What;
    std::function<void()> Do;
  } steps[] = {{"create", [&] { MakeFile("w/a.txt"); }},
               {"rename", [&] { ASSERT_EQ(rename(Path("w/a.txt").c_str(), Path("w/b.txt").c_str()), 0); }},
               {"delete", [&] { ASSERT_EQ(unlink(Path("w/b.txt").c_str()), 0); }},
               {"new folder", [&] { MakeDir("w/sub"); }}};
  for (const Step& s : steps) {
    Integer before = calls;
    s.Do();
    EXPECT_TRUE(PumpUntil([&] { return calls > before; })) << s.What;
  }
  EXPECT_TRUE(onMain);
}

TEST_F(ChangeNotifyTest, SubfoldersCountOnlyWhenTheSubTreeIsWatched) {
  MakeDir("w");
  MakeDir("w/sub");
  Integer flat = 0, deep = 0;
  TShellChangeWatch flatWatch(Path("w"), false, FILE_NOTIFY_CHANGE_FILE_NAME, [&] { ++flat; });
  TShellChangeWatch deepWatch(Path("w"), true, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME,
                              [&] { ++deep; });
  MakeFile("w/sub/inner.txt");
  EXPECT_TRUE(PumpUntil([&] { return deep > 0; }));
  PumpFor(200ms);
  EXPECT_EQ(flat, 0);

  // A folder made after the watch started is watched too.
  MakeDir("w/later");
  ASSERT_TRUE(PumpUntil([&] { return deep > 1; }));
  Integer before = deep;
  MakeFile("w/later/x.txt");
  EXPECT_TRUE(PumpUntil([&] { return deep > before; }));
}

TEST_F(ChangeNotifyTest, FilterDecidesWhichChangesCount) {
  MakeDir("w");
  MakeFile("w/data.bin");
  Integer names = 0, writes = 0;
  TShellChangeWatch nameWatch(Path("w"), false, FILE_NOTIFY_CHANGE_DIR_NAME, [&] { ++names; });
  TShellChangeWatch writeWatch(Path("w"), false, FILE_NOTIFY_CHANGE_LAST_WRITE, [&] { ++writes; });
  MakeFile("w/data.bin", "more");  // a write, and no folder name changed
  EXPECT_TRUE(PumpUntil([&] { return writes > 0; }));
  PumpFor(200ms);
  EXPECT_EQ(names, 0);
}

TEST_F(ChangeNotifyTest, AFolderThatCannotBeWatchedNeverCalls) {
  MakeFile("plain");
  Integer calls = 0;
  for (String p : {Path("missing"), Path("plain"), String()}) {
    TShellChangeWatch watch(p, true, FILE_NOTIFY_CHANGE_FILE_NAME, [&] { ++calls; });
    EXPECT_FALSE(watch.Active()) << p;
  }
  PumpFor(50ms);
  EXPECT_EQ(calls, 0);
}

TEST_F(ChangeNotifyTest, RemovingOrRenamingTheWatchedFolderGivesOneLastNotice) {
  for (bool remove : {true, false}) {
    MakeDir("w");
    MakeFile("w/f");
    Integer calls = 0;
    TShellChangeWatch watch(Path("w"), true, FILE_NOTIFY_CHANGE_FILE_NAME, [&] { ++calls; });
    if (remove) {
      ASSERT_EQ(system(("rm -rf '" + Path("w") + "'").c_str()), 0);
    } else {
      ASSERT_EQ(rename(Path("w").c_str(), Path("moved").c_str()), 0);
    }
    EXPECT_TRUE(PumpUntil([&] { return calls > 0 && !watch.Active(); })) << remove;
    // A new folder of the old name is not this watch's folder any more.
    Integer seen = calls;
    MakeDir("w");
    MakeFile("w/again");
    PumpFor(100ms);
    EXPECT_EQ(calls, seen);
    ASSERT_EQ(system(("rm -rf '" + Path("w") + "' '" + Path("moved") + "'").c_str()), 0);
  }
}

TEST_F(ChangeNotifyTest, DestroyingWithANoticeQueuedDropsIt) {
  MakeDir("w");
  struct TOwner {
    Integer Calls = 0;
  };
  auto owner = std::make_unique<TOwner>();
  Integer delivered = 0;
  auto watch = std::make_unique<TShellChangeWatch>(Path("w"), false, FILE_NOTIFY_CHANGE_FILE_NAME,
                                                   [&delivered, o = owner.get()] {
                                                     ++delivered;
                                                     ++o->Calls;
                                                   });
  MakeFile("w/x");
  // The worker hands the notice to the main thread, which is not serving its queue yet.
  bool queued = false;
  for (int i = 0; i < 500 && !queued; ++i) {
    std::this_thread::sleep_for(10ms);
    pollfd p{MainThreadWakeFd(), POLLIN, 0};
    queued = poll(&p, 1, 0) == 1;
  }
  ASSERT_TRUE(queued);
  watch.reset();
  owner.reset();  // under the address sanitizer a delivery now would be a use after free
  PumpFor(100ms);
  EXPECT_EQ(delivered, 0);
}

TEST_F(ChangeNotifyTest, TheHandlerMayDestroyItsOwnWatch) {
  MakeDir("w");
  std::unique_ptr<TShellChangeWatch> watch;
  Integer calls = 0;
  watch = std::make_unique<TShellChangeWatch>(Path("w"), false, FILE_NOTIFY_CHANGE_FILE_NAME, [&] {
    ++calls;
    watch.reset();
  });
  MakeFile("w/a");
  EXPECT_TRUE(PumpUntil([&] { return watch == nullptr; }));
  MakeFile("w/b");
  PumpFor(100ms);
  EXPECT_EQ(calls, 1);
}

}  // namespace
