// Codec threads: the share of the cores each running conversion's decoders and encoders get.
#include "engine/transcoder/codecthreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/transcoder/streamtables.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace transcoder_test;

namespace {

TEST(CodecThreads, CoresAreSharedByTheRunningConversions) {
  struct Case {
    Integer Cores, Running, Threads;
  };
  // 0: the libraries' own count for the whole machine.
  const Case cases[] = {{8, 1, 0}, {8, 2, 4}, {8, 3, 2}, {8, 4, 2}, {8, 8, 1}, {8, 12, 1},
                        {2, 1, 0}, {2, 4, 1}, {8, 0, 0}, {0, 1, 1}, {1, 1, 1}, {1, 3, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(CodecThreadCount(c.Cores, c.Running), c.Threads) << c.Cores << " cores, " << c.Running;
  // Encoders: the library's own count for the whole machine, one thread on one core.
  EXPECT_EQ(EncoderThreadCount(8), 0);
  EXPECT_EQ(EncoderThreadCount(2), 0);
  EXPECT_EQ(EncoderThreadCount(1), 1);
  EXPECT_EQ(EncoderThreadCount(0), 1);
}

TEST(CodecThreads, ARunningConversionCountsForItsLifetime) {
  const Integer before = RunningConversions();
  {
    TRunningConversion one;
    EXPECT_EQ(RunningConversions(), before + 1);
    {
      TRunningConversion two;
      EXPECT_EQ(RunningConversions(), before + 2);
    }
    EXPECT_EQ(RunningConversions(), before + 1);
  }
  EXPECT_EQ(RunningConversions(), before);
}

// Counts down to zero; waiters give up after a minute in place of a hanging test.
class TCountDown {
 public:
  explicit TCountDown(int ACount) : FCount(ACount) {}
  void Arrive() {
    std::lock_guard<std::mutex> hold(FLock);
    if (FCount > 0 && --FCount == 0) FZero.notify_all();
  }
  bool Wait() {
    std::unique_lock<std::mutex> hold(FLock);
    return FZero.wait_for(hold, std::chrono::seconds(60), [this] { return FCount == 0; });
  }

 private:
  std::mutex FLock;
  std::condition_variable FZero;
  int FCount;
};

// The thread counts of a task's open video decoder and encoder, read in its progress reports
// (the codecs are still open then, the last report included). With a gate, the task's first report
// waits there until every task sharing the gate has opened its codecs, so that none closes its
// codecs (and stops counting as running) before the others have opened theirs.
struct TSeenThreads {
  std::atomic<Integer> Decoder{0};
  std::atomic<Integer> Encoder{0};
  TCountDown* Gate = nullptr;
  bool Reported = false;
};

std::unique_ptr<TCustomFFmpeg> ThreadWatchingTask(const String& AOutput, TSeenThreads& ASeen) {
  auto task = NewTask();
  EXPECT_TRUE(task->OpenInputFile(TMedia::Get().AudioVideoAvi())) << task->LastErrMsg();
  task->SetOption("vcodec", "mpeg4");
  task->SetOption("an", "");
  EXPECT_GE(task->OpenOutputFile(AOutput, false), 1) << task->LastErrMsg();
  TCustomFFmpeg* raw = task.get();
  task->FOnProgress = [raw, &ASeen](TObject*, Integer, Integer, Integer, Single, Single, Int64, Int64,
                                    Int64) {
    for (const auto& ist : Peer::State(*raw)->ist_table)
      if (ist->decoding_needed) ASeen.Decoder = ist->dec->thread_count;
    for (const auto& ost : Peer::State(*raw)->ost_table)
      if (ost->encoding_needed) ASeen.Encoder = ost->enc->thread_count;
    if (ASeen.Gate && !ASeen.Reported) {
      ASeen.Reported = true;
      ASeen.Gate->Arrive();
      ASeen.Gate->Wait();
    }
  };
  return task;
}

// Decoders open with their task's share of the cores; encoders with what a task alone gets, so a
// task left running alone still has the whole machine.
TEST(CodecThreads, EachTasksDecodersOpenWithItsShareAndEncodersWithTheWholeMachine) {
  LoadLibraries();
  const Integer cores = Integer(std::thread::hardware_concurrency());
  TSeenThreads seen;
  {
    SCOPED_TRACE("one task alone");
    auto task = ThreadWatchingTask(TMedia::Get().Path("alone.avi"), seen);
    task->StartConvert(false);
    EXPECT_TRUE(task->Finished()) << task->FatalMessage();
    // The libraries' own count: more than one thread wherever there is more than one core.
    if (cores > 1) {
      EXPECT_GT(seen.Decoder, 1);
      EXPECT_GT(seen.Encoder, 1);
    } else {
      EXPECT_EQ(seen.Decoder, 1);
      EXPECT_EQ(seen.Encoder, 1);
    }
    EXPECT_EQ(RunningConversions(), 0);
  }
  {
    SCOPED_TRACE("two tasks started together");
    TSeenThreads pair[2];
    std::unique_ptr<TCustomFFmpeg> tasks[2];
    TThread* threads[2];
    TCountDown opened(2), ended(2);
    for (int i = 0; i < 2; ++i) {
      pair[i].Gate = &opened;
      tasks[i] = ThreadWatchingTask(TMedia::Get().Path("pair" + std::to_string(i) + ".avi"), pair[i]);
      tasks[i]->FOnTerminate = [&ended](TObject*) { ended.Arrive(); };
      threads[i] = tasks[i]->StartConvert(true);
      ASSERT_NE(threads[i], nullptr);
    }
    EXPECT_EQ(RunningConversions(), 2);
    for (TThread* t : threads) t->Start();
    ASSERT_TRUE(ended.Wait()) << "the runs did not end within 60 s";
    for (auto& t : tasks) {
      EXPECT_TRUE(t->Finished()) << t->FatalMessage();
      t->Stop(true);  // the run has ended: this only waits for its thread to let go of the task
    }
    EXPECT_EQ(RunningConversions(), 0);
    for (const TSeenThreads& s : pair) {
      EXPECT_EQ(s.Decoder, CodecThreadCount(cores, 2));
      EXPECT_EQ(s.Encoder, seen.Encoder);
    }
  }
}

}  // namespace
