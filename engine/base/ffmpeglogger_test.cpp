#include "engine/base/ffmpeglogger.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/testkit/logcapture.h"

namespace {

void SendChunk(void* AContext, int ALevel, const char* AFormat, ...) {
  va_list vl;
  va_start(vl, AFormat);
  AVLogCallback(AContext, ALevel, AFormat, vl);
  va_end(vl);
}

// A context in FFmpeg's sense: its first member is its class.
struct TFakeContext {
  const AVClass* Class;
};

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader()->Load(TLibraries{avUtil, avFormat})) << FFLoader()->LastErrMsg();
    FCapture = std::make_unique<TLogCapture>(llInfo);
    FLogger = FCapture->Logger();
  }
  void TearDown() override { FCapture.reset(); }
  std::vector<TLoggedLine> Lines() const { return FCapture->Lines(); }
  std::vector<String> Messages() const { return FCapture->Messages(); }

  TFFLogger* FLogger = nullptr;
  std::unique_ptr<TLogCapture> FCapture;
};

TEST(LogLevels, MapToAndFromFFmpegLevels) {
  EXPECT_EQ(ToAVLogLevel(llQuiet), -8);
  EXPECT_EQ(ToAVLogLevel(llInfo), 32);
  EXPECT_EQ(ToAVLogLevel(llDebug), 48);
  const struct {
    Integer AVLevel;
    TLogLevel Expected;
  } cases[] = {{-8, llQuiet}, {-1, llPanic},  {0, llPanic},    {7, llPanic},
               {8, llFatal},  {16, llError},  {47, llVerbose}, {48, llDebug},
               {56, llDebug}, {-15, llQuiet}, {-16, llQuiet},  {-100, llQuiet}};
  for (const auto& c : cases) EXPECT_EQ(FromAVLogLevel(c.AVLevel), c.Expected) << c.AVLevel;
}

TEST_F(LoggerTest, LevelOptionTakesNamesInAnyCaseOrNumbers) {
  const struct {
    const char* Arg;
    TLogLevel Expected;
  } cases[] = {{"Warning", llWarning}, {"QUIET", llQuiet}, {"debug", llDebug}, {"20", llError},
               {"64", llDebug},        {"-8", llQuiet},    {"info", llInfo}};
  for (const auto& c : cases) {
    FLogger->OptLogLevel(c.Arg);
    EXPECT_EQ(FLogger->LogLevel(), c.Expected) << c.Arg;
    EXPECT_EQ(ff::av_log_get_level(), ToAVLogLevel(c.Expected)) << "FFmpeg's threshold follows " << c.Arg;
  }
  FLogger->SetLogLevel(llWarning);
  EXPECT_THROW(FLogger->OptLogLevel("loud"), EConvertError);
  EXPECT_EQ(FLogger->LogLevel(), llWarning);
}

TEST_F(LoggerTest, EngineMessagesPassTheLevelFilter) {
  const struct {
    TLogLevel LoggerLevel;
    TLogLevel MessageLevel;
    bool Delivered;
  } cases[] = {{llInfo, llInfo, true},      {llInfo, llWarning, true},  {llInfo, llDebug, false},
               {llError, llWarning, false}, {llError, llVerbose, true}, {llQuiet, llVerbose, false},
               {llQuiet, llQuiet, true},    {llQuiet, llPanic, false},  {llDebug, llDebug, true}};
  for (const auto& c : cases) {
    FLogger->SetLogLevel(c.LoggerLevel);
    FCapture->Clear();
    FLogger->Log(nullptr, c.MessageLevel, "message");
    EXPECT_EQ(Lines().size(), c.Delivered ? 1u : 0u) << c.LoggerLevel << " / " << c.MessageLevel;
  }
}

TEST_F(LoggerTest, EngineMessageCarriesSenderThreadLevelAndFormattedText) {
  TObject sender;
  FLogger->Log(&sender, llWarning, "%s has %d streams", "a.avi", 3);
  EXPECT_EQ(
      Lines(),
      (std::vector<TLoggedLine>{{&sender, GetCurrentThreadId(), llWarning, "a.avi has 3 streams", true}}));
  // A filtered message is not formatted at all: a bad format would otherwise raise.
  FLogger->Log(&sender, llDebug, "%d", "not a number");
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(LoggerTest, ChunksOfOneThreadBuildOneLineWithOnePrefix) {
  static AVClass cls = {};
  cls.class_name = "TestCtx";
  cls.item_name = ff::av_default_item_name;
  cls.version = LIBAVUTIL_VERSION_INT;
  TFakeContext ctx{&cls};
  SendChunk(&ctx, AV_LOG_INFO, "first %s", "part");
  EXPECT_TRUE(Lines().empty());
  SendChunk(&ctx, AV_LOG_WARNING, ", second part\n");
  char prefix[64];
  snprintf(prefix, sizeof prefix, "[TestCtx @ %p] ", static_cast<void*>(&ctx));
  EXPECT_EQ(Lines(), (std::vector<TLoggedLine>{{FLogger, GetCurrentThreadId(), llWarning,
                                                String(prefix) + "first part, second part", true}}));
}

TEST_F(LoggerTest, LineFeedsCutChunksAndTheRestWaits) {
  SendChunk(nullptr, AV_LOG_INFO, "one\ntwo\nthree");
  EXPECT_EQ(Messages(), (std::vector<String>{"one", "two"}));
  SendChunk(nullptr, AV_LOG_INFO, " four\n");
  EXPECT_EQ(Messages(), (std::vector<String>{"one", "two", "three four"}));
}

TEST_F(LoggerTest, InterleavedThreadsKeepTheirOwnLines) {
  Cardinal ids[2] = {};
  // Each worker sends both of its chunks in turn with the other's.
  std::mutex step;
  std::condition_variable cv;
  int turn = 0;
  auto worker = [&](int AWho, const char* AFirst, const char* ASecond) {
    ids[AWho] = GetCurrentThreadId();
    std::unique_lock<std::mutex> lock(step);
    cv.wait(lock, [&] { return turn == AWho; });
    SendChunk(nullptr, AV_LOG_INFO, "%s", AFirst);
    turn = AWho + 1;
    cv.notify_all();
    cv.wait(lock, [&] { return turn == AWho + 2; });
    SendChunk(nullptr, AV_LOG_INFO, "%s", ASecond);
    turn = AWho + 3;
    cv.notify_all();
  };
  std::thread a(worker, 0, "a1 ", "a2\n");
  std::thread b(worker, 1, "b1 ", "b2\n");
  a.join();
  b.join();
  const std::vector<TLoggedLine> lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Msg, "a1 a2");
  EXPECT_EQ(lines[0].ThreadID, ids[0]);
  EXPECT_EQ(lines[1].Msg, "b1 b2");
  EXPECT_EQ(lines[1].ThreadID, ids[1]);
}

TEST_F(LoggerTest, FFmpegThresholdFollowsTheLevel) {
  SendChunk(nullptr, AV_LOG_VERBOSE, "verbose line\n");
  EXPECT_TRUE(Lines().empty());
  FLogger->SetLogLevel(llVerbose);
  SendChunk(nullptr, AV_LOG_VERBOSE, "verbose line\n");
  const std::vector<TLoggedLine> lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Level, llVerbose);
}

TEST_F(LoggerTest, LongMessagesAreCutAtTheBufferWithoutSplittingACharacter) {
  SendChunk(nullptr, AV_LOG_INFO, "%s\n", String(3000, 'x').c_str());
  // 2046 bytes, then a three-byte character that does not fit whole.
  SendChunk(nullptr, AV_LOG_INFO, "%s中文\n", String(2046, 'y').c_str());
  SendChunk(nullptr, AV_LOG_INFO, "转换完成: %s\n", "输出.mkv");
  EXPECT_EQ(Messages(), (std::vector<String>{String(2047, 'x'), String(2046, 'y'), "转换完成: 输出.mkv"}));
}

TEST_F(LoggerTest, LibraryMessagesArriveAsOneLine) {
  AVFormatContext* ctx = nullptr;
  EXPECT_LT(ff::avformat_alloc_output_context2(&ctx, nullptr, "no_such_muxer", nullptr), 0);
  const std::vector<TLoggedLine> lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].Msg.find("Requested output format 'no_such_muxer' is not a suitable output format"),
            String::npos)
      << lines[0].Msg;
  EXPECT_EQ(lines[0].Msg.rfind("[NULL @ 0x", 0), 0u) << lines[0].Msg;
  EXPECT_EQ(lines[0].Level, llError);
}

// A worker waiting for the main thread holds no lock of the logger: the main thread can log while
// the worker's line waits, then serve it.
TEST_F(LoggerTest, WorkerLinesAreDeliveredOnTheMainThreadWithoutHoldingTheList) {
  FLogger->SetTriggerEventInMainThread(true);
  Cardinal workerId = 0;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    workerId = GetCurrentThreadId();
    SendChunk(nullptr, AV_LOG_INFO, "from the worker\n");
    done = true;
  });
  pollfd pfd{MainThreadWakeFd(), POLLIN, 0};
  ASSERT_EQ(poll(&pfd, 1, 10000), 1) << "the worker's line waits for the main thread";
  SendChunk(nullptr, AV_LOG_INFO, "from the main thread\n");
  FLogger->Log(nullptr, llInfo, "engine message");
  while (!done) CheckSynchronize(10);
  worker.join();
  EXPECT_EQ(Lines(),
            (std::vector<TLoggedLine>{{FLogger, GetCurrentThreadId(), llInfo, "from the main thread", true},
                                      {nullptr, GetCurrentThreadId(), llInfo, "engine message", true},
                                      {FLogger, workerId, llInfo, "from the worker", true}}));
}

// A worker logging while it holds the codec lock must not wait for a main thread that is itself
// waiting for that lock.
TEST_F(LoggerTest, AWorkerHoldingTheCodecLockDoesNotWaitForTheMainThread) {
  FLogger->SetTriggerEventInMainThread(true);
  std::mutex leftLock;
  std::condition_variable leftSignal;
  bool left = false;
  Cardinal workerId = 0;
  std::thread worker([&] {
    workerId = GetCurrentThreadId();
    CodecLock().Enter();
    SendChunk(nullptr, AV_LOG_INFO, "opened under the lock\n");
    CodecLock().Leave();
    std::lock_guard<std::mutex> hold(leftLock);
    left = true;
    leftSignal.notify_all();
  });
  // The main thread serves no queue meanwhile, as a probe opening a file does not: a worker that
  // waited for it here would never let the codec lock go.
  {
    std::unique_lock<std::mutex> hold(leftLock);
    if (!leftSignal.wait_for(hold, std::chrono::seconds(5), [&] { return left; })) {
      hold.unlock();
      // Unblock the worker so that the failure is reported rather than the program hanging.
      while (!left) CheckSynchronize(10);
      worker.join();
      FAIL() << "the worker never let the codec lock go";
    }
  }
  ASSERT_TRUE(CodecLock().TryEnter());
  CodecLock().Leave();
  worker.join();
  EXPECT_TRUE(Lines().empty());  // queued, not yet delivered
  while (CheckSynchronize(0)) {
  }
  EXPECT_EQ(Lines(), (std::vector<TLoggedLine>{{FLogger, workerId, llInfo, "opened under the lock", true}}));
}

// A worker inside a scope that bans waiting for the main thread (it holds a lock the main thread
// takes without serving its queue) hands its lines over without waiting.
TEST_F(LoggerTest, AWorkerThatMustNotWaitForTheMainThreadHandsItsLinesOver) {
  FLogger->SetTriggerEventInMainThread(true);
  Cardinal workerId = 0;
  std::thread worker([&] {
    workerId = GetCurrentThreadId();
    TMainThreadWaitBan ban;
    FLogger->Log(nullptr, llError, "under the ban");
    SendChunk(nullptr, AV_LOG_INFO, "library line under the ban\n");
  });
  worker.join();  // would never return if the worker waited for this thread
  EXPECT_TRUE(Lines().empty());
  while (CheckSynchronize(0)) {
  }
  EXPECT_EQ(Lines(),
            (std::vector<TLoggedLine>{{nullptr, workerId, llError, "under the ban", true},
                                      {FLogger, workerId, llInfo, "library line under the ban", true}}));
}

// Threads deliver lines while this one replaces and detaches the handler: a delivery finds either
// the old or the new handler, whole (the sanitizer builds tell a torn read).
TEST_F(LoggerTest, TheHandlerCanBeReplacedWhileOtherThreadsLog) {
  std::atomic<bool> stop{false};
  std::atomic<int> delivered{0}, torn{0};
  std::vector<std::thread> workers;
  for (int i = 0; i < 4; ++i)
    workers.emplace_back([&] {
      while (!stop) FLogger->Log(nullptr, llError, "line");
    });
  // Replaced at least 3000 times, and until the workers have been through some handlers.
  for (int i = 0; i < 3000 || (delivered < 300 && i < 3000000); ++i) {
    // State of its own on the heap, freed when the next handler replaces this one.
    auto state = std::make_shared<String>(100, 'x');
    FLogger->OnLog = [state, &delivered, &torn](TObject*, Cardinal, TLogLevel, const String& AMsg) {
      if (*state == String(100, 'x') && AMsg == "line")
        ++delivered;
      else
        ++torn;
    };
    if (i % 100 == 0) FLogger->OnLog = nullptr;
  }
  stop = true;
  for (auto& w : workers) w.join();
  EXPECT_GT(delivered, 0);
  EXPECT_EQ(torn, 0);
}

TEST_F(LoggerTest, OnlyOneLoggerMayExist) {
  try {
    TFFLogger second(nullptr);
    FAIL() << "a second logger was created";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Allow creating only one instance of TFFLogger. (FFmpegLogger, line 323)");
  }
  EXPECT_EQ(GetFFLogger(), FLogger);
}

}  // namespace
