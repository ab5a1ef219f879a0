#include "engine/base/engineutils.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/rtl/datetime.h"
#include "platform/rtl/environment.h"

namespace fs = std::filesystem;

namespace {

TEST(EngineUtils, FormatFileSizeSteps) {
  const struct {
    Int64 Size;
    const char* Text;
  } cases[] = {{0, "0 Byte"},
               {1024, "1024 Byte"},
               {1025, "1.00 KB"},
               {1536, "1.50 KB"},
               {1048576, "1024.00 KB"},
               {1048577, "1.00 MB"},
               {1073741824, "1024.00 MB"},
               {1073741825, "1.00 GB"},
               {5368709120LL, "5.00 GB"},
               {-1, "-1 Byte"},
               {-5000000, "-5000000 Byte"}};
  for (const auto& c : cases) EXPECT_EQ(FormatFileSize(c.Size), c.Text) << c.Size;
}

TEST(EngineUtils, SplitAtCutsAtTheFirstDelimiter) {
  const struct {
    const char* Text;
    const char* Delimiter;
    bool Remove;
    const char* Head;
    const char* Rest;
  } cases[] = {{"a=b=c", "=", true, "a", "b=c"}, {"a=b=c", "=", false, "a", "a=b=c"},
               {"abc", "=", true, "abc", ""},    {"abc", "=", false, "abc", "abc"},
               {"k::v", "::", true, "k", "v"},   {"=x", "=", true, "", "x"},
               {"", "=", true, "", ""}};
  for (const auto& c : cases) {
    String text = c.Text, head = "old";
    SplitAt(text, c.Delimiter, c.Remove, head);
    EXPECT_EQ(head, c.Head) << c.Text;
    EXPECT_EQ(text, c.Rest) << c.Text;
  }
}

TEST(EngineUtils, SeekFlagsBecomeFFmpegBits) {
  EXPECT_EQ(SeekFlagsToAV({}), 0);
  EXPECT_EQ(SeekFlagsToAV({sfBackward, sfAny}), 5);
  EXPECT_EQ(SeekFlagsToAV({sfByte}), 2);
  EXPECT_EQ(SeekFlagsToAV({sfFrame, sfBackward, sfByte, sfAny}), 15);
}

TEST(EngineUtils, FileSizeIsSixtyFourBitAndMinusOneWithoutAFile) {
  const fs::path dir = fs::temp_directory_path() / ("nerivo-size-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const String big = (dir / "big.bin").string();
  const int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 5LL << 30), 0);  // sparse: takes no room
  close(fd);
  EXPECT_EQ(GetFileSize(big), 5LL << 30);
  EXPECT_EQ(GetFileSize((dir / "missing.bin").string()), -1);
  EXPECT_EQ(GetFileSize(dir.string()), -1) << "a folder is no file";
  fs::remove_all(dir);
}

TEST(EngineUtils, ProgramFileAndFolder) {
  EXPECT_EQ(GetExePath() + "engine_base_test", GetExeName());
  EXPECT_EQ(GetExePath().back(), '/');
}

class LocalTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FHadTZ = EnvironmentVariableExists("TZ");
    FOldTZ = GetEnvironmentVariable("TZ");
    SetEnvironmentVariable("TZ", "UTC-8");  // eight hours east of UTC
  }
  void TearDown() override {
    if (FHadTZ)
      SetEnvironmentVariable("TZ", FOldTZ);
    else
      DeleteEnvironmentVariable("TZ");
    tzset();
  }
  bool FHadTZ = false;
  String FOldTZ;
};

TEST_F(LocalTimeTest, UnixTimeConvertsThroughTheLocalOffset) {
  EXPECT_DOUBLE_EQ(GetLocalTimeOffset(), 8.0 / 24.0);
  const TDateTime epoch = UnixTimeToDateTime(0);
  EXPECT_EQ(FormatDateTimeText("yyyy-mm-dd hh:nn:ss", epoch), "1970-01-01 08:00:00");
  EXPECT_EQ(DateTimeToUnixTime(epoch), 0);
  EXPECT_EQ(DateTimeToUnixTime(EncodeDateTime(2024, 2, 29, 20, 30, 15, 0)), 1709209815);
  EXPECT_EQ(FormatDateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToDateTime(1709209815)), "2024-02-29 20:30:15");
}

TEST(EngineUtils, CallInMainThreadRunsThereAndPassesExceptionsBack) {
  bool ranAtOnce = false;
  CallInMainThread([&] { ranAtOnce = IsMainThread(); });
  EXPECT_TRUE(ranAtOnce);

  std::atomic<bool> done{false};
  bool ranOnMain = false;
  String caught;
  std::thread worker([&] {
    CallInMainThread([&] { ranOnMain = IsMainThread(); });
    try {
      CallInMainThread([] { throw EConvertError("raised on the main thread"); });
    } catch (const EConvertError& e) {
      caught = e.Message();
    }
    done = true;
  });
  while (!done) CheckSynchronize(10);
  worker.join();
  EXPECT_TRUE(ranOnMain);
  EXPECT_EQ(caught, "raised on the main thread");
}

TEST(EngineUtils, TheMainThreadKnowsWhoseCallsItIsRunning) {
  std::atomic<Cardinal> outerId{0}, innerId{0};
  std::atomic<bool> outerDone{false}, innerDone{false};
  bool outerOnly = false, both = false;
  std::thread inner;
  std::thread outer([&] {
    outerId = GetCurrentThreadId();
    CallInMainThread([&] {
      outerOnly = MainThreadServes(outerId) && !MainThreadServes(GetCurrentThreadId());
      // A call served while the first one runs (a wait inside it that serves the queue).
      inner = std::thread([&] {
        innerId = GetCurrentThreadId();
        CallInMainThread([&] { both = MainThreadServes(outerId) && MainThreadServes(innerId); });
        innerDone = true;
      });
      while (!innerDone) CheckSynchronize(5);
      outerOnly = outerOnly && !MainThreadServes(innerId);
    });
    outerDone = true;
  });
  while (!outerDone) CheckSynchronize(5);
  outer.join();
  inner.join();
  EXPECT_TRUE(outerOnly);
  EXPECT_TRUE(both);
  EXPECT_FALSE(MainThreadServes(outerId));
  EXPECT_FALSE(MainThreadServes(innerId));
}

TEST(EngineUtils, CriticalSectionHoldKeepsOtherThreadsOutForItsScope) {
  TCriticalSection lock;
  auto otherThreadGetsIn = [&lock] {
    bool entered = false;
    std::thread([&] {
      entered = lock.TryEnter();
      if (entered) lock.Leave();
    }).join();
    return entered;
  };
  {
    TCriticalSectionHold hold(lock);
    EXPECT_FALSE(otherThreadGetsIn());
    TCriticalSectionHold again(lock);  // recursive on its own thread
  }
  EXPECT_TRUE(otherThreadGetsIn());
}

}  // namespace
