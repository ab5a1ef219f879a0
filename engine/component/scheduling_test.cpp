// Running batches: thread mode and inline mode, stop, pause and resume, the events and the
// threads they arrive on, and the end of a batch.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "engine/component/testkit/component_testkit.h"
#include "engine/transcoder/streamtables.h"
#include "engine/transcoder/testkit/transcoder_peer.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace component_test;
using namespace transcoder_test;

namespace {

void ServeFor(int AMilliseconds) {
  const auto end = Clock::now() + std::chrono::milliseconds(AMilliseconds);
  while (Clock::now() < end) CheckSynchronize(5);
}

// Everything the component reports, in the order its handlers ran.
struct TRecorder {
  std::mutex Lock;
  std::vector<TTerminateInfo> Ends;
  std::vector<bool> EndsOnMain;
  std::vector<bool> ProgressOnMain;
  std::atomic<int> Progress{0};
  std::atomic<int> RunningProgress{0};  // reports before a task's final one
  std::atomic<int> Hooks{0};
  std::atomic<int> HookDelayMs{0};
  std::atomic<int> EndDelayMs{0};  // a slow task-end handler
  std::atomic<bool> FinalSeen{false};
  std::atomic<bool> TerminatedInFinal{false};

  void Attach(TCustomFFmpegConverter& C) {
    C.OnTerminate = [this, &C](TObject*, const TTerminateInfo& AInfo) {
      if (AInfo.TaskIndex >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(EndDelayMs.load()));
      std::lock_guard<std::mutex> hold(Lock);
      Ends.push_back(AInfo);
      EndsOnMain.push_back(IsMainThread());
      if (AInfo.TaskIndex == -1) {
        TerminatedInFinal = C.Terminated();
        FinalSeen = true;
      }
    };
    C.OnProgress = [this](TObject*, PProgressInfo AInfo) {
      std::lock_guard<std::mutex> hold(Lock);
      ProgressOnMain.push_back(IsMainThread());
      ++Progress;
      if (AInfo->FileIndex >= 0) ++RunningProgress;
    };
    C.OnCustomHook = [this](TObject*, PHookInfo) {
      ++Hooks;
      std::this_thread::sleep_for(std::chrono::milliseconds(HookDelayMs.load()));
    };
  }
  int EventCount() {
    std::lock_guard<std::mutex> hold(Lock);
    return int(Ends.size()) + Progress;
  }
  // The task events (final excluded) by task index; each task at most once.
  std::map<Integer, TTerminateInfo> TaskEnds() {
    std::lock_guard<std::mutex> hold(Lock);
    return EndsByTask(Ends);
  }
  // The final event came exactly once and last, as a batch that went through.
  void ExpectFinalLast() {
    std::lock_guard<std::mutex> hold(Lock);
    ExpectFinalOnceLast(Ends);
    if (Ends.empty()) return;
    const TTerminateInfo& last = Ends.back();
    EXPECT_TRUE(last.Finished);
    EXPECT_FALSE(last.Exception);
    EXPECT_TRUE(last.ExceptionMsg.empty());
  }
};

void ExpectValidVideo(const String& AFileName) {
  TAVProbe probe(nullptr);
  ASSERT_TRUE(probe.LoadFile(AFileName)) << AFileName << ": " << probe.LastErrMsg();
  EXPECT_EQ(probe.VideoStreamCount(), 1) << AFileName;
  EXPECT_GT(probe.FileStreamInfo().Duration, 0) << AFileName;
}

class SchedulingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    R.Attach(C);
    C.SetProgressInterval(100);
  }
  void TearDown() override {
    // Nothing may outlive the test, whatever failed.
    C.Stop(true);
  }
  static String Out(const String& AName) { return TMedia::Get().Path(AName); }
  // A 15-frame video task written to AName; with AHook each frame passes the custom hook.
  Integer AddVideoTask(const String& AName, bool AHook = false) {
    const Integer task = C.AddTask(TMedia::Get().NtscVideo());
    EXPECT_GE(task, 0) << C.LastErrMsg();
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.CustomHook = AHook;
    EXPECT_TRUE(C.SetOutputFile(task, Out(AName), &o)) << C.LastErrMsg();
    return task;
  }

  TRecorder R;
  TTestConverter C{nullptr};
};

TEST_F(SchedulingTest, SixConversionsOnThreeThreads) {
  // Slow task-end handlers: the final event still comes after all of them.
  R.EndDelayMs = 20;
  for (int i = 0; i < 6; ++i) AddVideoTask("six" + std::to_string(i) + ".avi");
  C.Start(3);
  EXPECT_TRUE(C.Working());
  EXPECT_TRUE(C.ThreadMode());
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  EXPECT_TRUE(C.Terminated());
  // A final handler finds the batch over (so it may clear the tasks).
  EXPECT_TRUE(R.TerminatedInFinal);
  EXPECT_EQ(C.CompleteTasks(), 6);
  R.ExpectFinalLast();
  const auto ends = R.TaskEnds();
  ASSERT_EQ(ends.size(), 6u);
  for (const auto& [index, info] : ends) {
    EXPECT_TRUE(info.Finished) << index;
    EXPECT_FALSE(info.Exception) << index << ": " << info.ExceptionMsg;
  }
  for (bool onMain : R.EndsOnMain) EXPECT_FALSE(onMain);
  for (int i = 0; i < 6; ++i) {
    ExpectValidVideo(Out("six" + std::to_string(i) + ".avi"));
    // The run closed the input its probe was given: the probe no longer points at it.
    EXPECT_EQ(C.GetTaskAVProbe(i, 0)->FileHandle(), nullptr);
  }
  C.ClearTasks();
  EXPECT_FALSE(C.Working());
}

TEST_F(SchedulingTest, StopInTheMiddleEndsEveryTaskAndNoHandlerRunsAfterIt) {
  R.HookDelayMs = 15;
  R.EndDelayMs = 20;
  for (int i = 0; i < 4; ++i) AddVideoTask("stop" + std::to_string(i) + ".avi", true);
  C.Start(2);
  ASSERT_TRUE(ServeUntil([&] { return R.RunningProgress > 0; }));
  C.Stop(true);
  const int events = R.EventCount();
  EXPECT_TRUE(C.Terminated());
  R.ExpectFinalLast();
  const auto ends = R.TaskEnds();
  ASSERT_EQ(ends.size(), 4u);
  // The two never started: ended, neither finished nor failed.
  for (Integer never : {2, 3}) {
    EXPECT_FALSE(ends.at(never).Finished);
    EXPECT_FALSE(ends.at(never).Exception);
  }
  EXPECT_TRUE(!ends.at(0).Finished || !ends.at(1).Finished);
  ServeFor(150);
  EXPECT_EQ(R.EventCount(), events);
  C.ClearTasks();
}

TEST_F(SchedulingTest, StopWithWaitingServesTheMainThreadMeanwhile) {
  // The task's thread waits for the main thread when the stop comes; without serving it the stop
  // would never return, so a watchdog ends the program instead of hanging.
  std::atomic<bool> asked{false}, stopping{false}, servedInStop{false};
  C.OnCustomHook = [&](TObject*, PHookInfo) {
    if (!asked.exchange(true)) TThread::Synchronize(nullptr, [&] { servedInStop = stopping.load(); });
  };
  AddVideoTask("served.avi", true);
  C.Start(1);
  // The main thread serves no queue before the stop: the hook's call waits for it however late it comes.
  while (!asked) std::this_thread::yield();
  std::mutex doneLock;
  std::condition_variable doneSignal;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> hold(doneLock);
    if (!doneSignal.wait_for(hold, std::chrono::seconds(30), [&] { return done; })) {
      std::fprintf(stderr, "Stop(true) did not serve the main thread\n");
      std::abort();
    }
  });
  stopping = true;
  C.Stop(true);
  {
    std::lock_guard<std::mutex> hold(doneLock);
    done = true;
  }
  doneSignal.notify_all();
  watchdog.join();
  EXPECT_TRUE(servedInStop);
  EXPECT_TRUE(R.FinalSeen);
}

TEST_F(SchedulingTest, PauseHaltsAndResumeGoesOnWhileChangesAreRefused) {
  R.HookDelayMs = 10;
  AddVideoTask("pause.avi", true);
  C.Start(1);
  ASSERT_TRUE(ServeUntil([&] { return R.Hooks > 2; }));
  C.Pause();
  // The task halts between two packets; from then on nothing of it runs.
  ASSERT_TRUE(ServeUntil([&] { return TCustomFFmpegTestPeer::Halted(C.Task(0)); }));
  const int halted = R.Hooks;
  ServeFor(200);
  EXPECT_EQ(R.Hooks, halted);
  EXPECT_FALSE(R.FinalSeen);

  struct RefusedCase {
    const char* Message;
    std::function<void()> Call;
  };
  const RefusedCase refused[] = {
      {"Cannot AddTask while working.", [&] { C.AddTask(TMedia::Get().NtscVideo()); }},
      {"Cannot AddInputFile while working.", [&] { C.AddInputFile(0, TMedia::Get().NtscVideo()); }},
      {"Cannot SetOutputFile while working.", [&] { C.SetOutputFile(0, Out("late.avi")); }},
      {"Cannot Exchange while working.", [&] { C.Exchange(0, 0); }},
      {"Cannot RemoveTask while working.", [&] { C.RemoveTask(0); }},
      {"Cannot StartTask while working.", [&] { C.Start(1); }},
      {"Cannot ClearTasks while working.", [&] { C.ClearTasks(); }},
  };
  for (const auto& c : refused) EXPECT_EQ(RaisedMessage(c.Call), c.Message);
  EXPECT_EQ(C.TasksCount(), 1);

  C.Resume();
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  const auto ends = R.TaskEnds();
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_TRUE(ends.at(0).Finished);
  EXPECT_EQ(R.Hooks, 15);
  ExpectValidVideo(Out("pause.avi"));
  // Ended but not cleared: still refused until ClearTasks.
  EXPECT_EQ(RaisedMessage([&] { C.AddTask(TMedia::Get().NtscVideo()); }), "Cannot AddTask while working.");
  C.ClearTasks();
  EXPECT_GE(C.AddTask(TMedia::Get().NtscVideo()), 0);
}

class EventThreadTest : public SchedulingTest, public testing::WithParamInterface<bool> {};

TEST_P(EventThreadTest, ProgressRunsOnTheMainThreadOnlyWhenAsked) {
  C.SetTriggerEventInMainThread(GetParam());
  AddVideoTask("thread0.avi");
  AddVideoTask("thread1.avi");
  C.Start(2);
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  std::lock_guard<std::mutex> hold(R.Lock);
  ASSERT_GE(R.ProgressOnMain.size(), 2u);
  for (bool onMain : R.ProgressOnMain) EXPECT_EQ(onMain, GetParam());
}

INSTANTIATE_TEST_SUITE_P(MainThreadOrNot, EventThreadTest, testing::Bool());

class FailingTaskTest : public SchedulingTest, public testing::WithParamInterface<Integer> {};

TEST_P(FailingTaskTest, OneFailingTaskDoesNotStopTheOthers) {
  const Integer threads = GetParam();
  const String tag = std::to_string(threads);
  AddVideoTask("fail-a" + tag + ".avi");
  ASSERT_EQ(C.AddTask(TMedia::Get().NtscVideo()), 1);  // no output
  AddVideoTask("fail-b" + tag + ".avi");
  String clearInHandler;
  if (threads == 0) {
    C.OnTerminate = [&, inner = C.OnTerminate.Get()](TObject* S, const TTerminateInfo& AInfo) {
      inner(S, AInfo);
      if (AInfo.TaskIndex == -1) clearInHandler = RaisedMessage([&] { C.ClearTasks(); });
    };
  }
  C.Start(threads);
  if (threads == 0) {
    // Inline: all done before Start returns, on this thread, in task order.
    ASSERT_TRUE(R.FinalSeen);
    std::lock_guard<std::mutex> hold(R.Lock);
    ASSERT_EQ(R.Ends.size(), 4u);
    for (Integer i = 0; i < 4; ++i) EXPECT_EQ(R.Ends[size_t(i)].TaskIndex, i == 3 ? -1 : i);
    for (bool onMain : R.EndsOnMain) EXPECT_TRUE(onMain);
    EXPECT_EQ(clearInHandler, "Cannot ClearTasks while working.");
  }
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  R.ExpectFinalLast();
  const auto ends = R.TaskEnds();
  ASSERT_EQ(ends.size(), 3u);
  EXPECT_TRUE(ends.at(1).Exception);
  EXPECT_FALSE(ends.at(1).Finished);
  EXPECT_EQ(ends.at(1).ExceptionMsg, "At least one output file must be specified");
  for (Integer ok : {0, 2}) {
    EXPECT_TRUE(ends.at(ok).Finished);
    EXPECT_FALSE(ends.at(ok).Exception);
  }
  ExpectValidVideo(Out("fail-a" + tag + ".avi"));
  ExpectValidVideo(Out("fail-b" + tag + ".avi"));
  EXPECT_TRUE(C.Terminated());
  C.ClearTasks();
}

INSTANTIATE_TEST_SUITE_P(InlineAndThreaded, FailingTaskTest, testing::Values(0, 2));

TEST_F(SchedulingTest, ABatchWithNothingToRunStillEnds) {
  for (Integer threads : {0, 3}) {
    C.Start(threads);
    ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); })) << threads;
    C.Stop(true);
    EXPECT_TRUE(C.Terminated());
    R.ExpectFinalLast();
    C.ClearTasks();
    R.Ends.clear();
    R.FinalSeen = false;
  }
  // Tasks that a Stop outside a batch has ended do not run again, but the batch ends.
  AddVideoTask("ended0.avi");
  AddVideoTask("ended1.avi");
  C.Stop(true);
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  EXPECT_EQ(R.TaskEnds().size(), 2u);
  R.Ends.clear();
  R.FinalSeen = false;
  C.Start(2);
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  C.Stop(true);
  EXPECT_TRUE(R.TaskEnds().empty());
  R.ExpectFinalLast();
  EXPECT_TRUE(C.Terminated());
}

TEST_F(SchedulingTest, TerminatedWithoutAHandler) {
  C.OnTerminate = nullptr;
  AddVideoTask("nohandler.avi");
  C.Start(1);
  ASSERT_TRUE(ServeUntil([&] { return C.Terminated(); }));
  EXPECT_EQ(C.CompleteTasks(), 1);
}

TEST_F(SchedulingTest, CustomHookRunsOnTheTasksThreadAndCanStopItself) {
  std::atomic<int> calls{0};
  std::atomic<bool> onMain{false}, locked{true};
  C.OnCustomHook = [&](TObject*, PHookInfo AInfo) {
    ++calls;
    onMain = onMain || IsMainThread();
    locked = locked && AInfo->Bitmap && AInfo->Bitmap->Canvas()->LockCount() > 0;
    AInfo->StopHook = true;
  };
  AddVideoTask("hookstop.avi", true);
  C.Start(1);
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(onMain);
  EXPECT_TRUE(locked);
  EXPECT_TRUE(R.TaskEnds().at(0).Finished);
}

TEST_F(SchedulingTest, AHookThatThrowsLeavesTheCanvasUnlockedAndTheTaskGoesOn) {
  std::atomic<int> calls{0};
  std::atomic<Integer> lockCountLater{-1};
  TLogRecorder log;
  C.OnCustomHook = [&](TObject*, PHookInfo AInfo) {
    if (++calls == 1) throw Exception("hook failed");
    // A lock left over from the first call would count twice here.
    lockCountLater = AInfo->Bitmap->Canvas()->LockCount();
    AInfo->StopHook = true;
  };
  AddVideoTask("hookthrow.avi", true);
  C.Start(1);
  ASSERT_TRUE(ServeUntil([&] { return R.FinalSeen.load(); }));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(lockCountLater, 1);
  EXPECT_TRUE(log.Has(llError, "Error occurs OnCustomHook: hook failed"));
  EXPECT_TRUE(R.TaskEnds().at(0).Finished);
}

}  // namespace

namespace {

class TTaskAccessConverter : public TFFmpegConverter {
 public:
  TTaskAccessConverter() : TFFmpegConverter(nullptr) {}
  TFFmpeg& Task(Integer AIndex) { return *Tasks().Items(AIndex); }
};

TEST(CodecThreadShare, TheTasksABatchStartsTogetherShareTheCoresForDecoding) {
  LoadLibraries();
  constexpr int Workers = 4;
  TTaskAccessConverter converter;
  std::atomic<Integer> decoders[Workers], encoders[Workers];
  std::atomic<int> arrived{0};
  std::mutex arrivalLock;
  std::condition_variable allArrived;
  std::atomic<bool> firstSeen[Workers] = {};
  for (int i = 0; i < Workers; ++i) {
    decoders[i] = encoders[i] = -1;
    const Integer task = converter.AddTask(TMedia::Get().NtscVideo());
    ASSERT_GE(task, 0) << converter.LastErrMsg();
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.CustomHook = true;
    ASSERT_TRUE(converter.SetOutputFile(task, TMedia::Get().Path("share" + std::to_string(i) + ".avi"), &o));
    // Each task holds its first frame until all have one: a task's codecs are open before its
    // first frame, so no task ends before every one has opened its codecs beside the others.
    // (The task's own hook: the component delivers its hook events one at a time.)
    TFFmpeg* raw = &converter.Task(task);
    raw->FOnCustomHook = [&arrived, &firstSeen, &arrivalLock, &allArrived, i](TObject*, TBitmap*, Integer,
                                                                              Int64, bool&, bool&) {
      if (firstSeen[i].exchange(true)) return;
      std::unique_lock<std::mutex> hold(arrivalLock);
      if (++arrived == Workers) allArrived.notify_all();
      allArrived.wait_for(hold, std::chrono::seconds(30), [&arrived] { return arrived == Workers; });
    };
    // The last progress report comes while the codecs are still open.
    raw->FOnProgress = [raw, &decoders, &encoders, i](TObject*, Integer, Integer, Integer, Single, Single,
                                                      Int64, Int64, Int64) {
      for (const auto& ist : Peer::State(*raw)->ist_table)
        if (ist->decoding_needed) decoders[i] = ist->dec->thread_count;
      for (const auto& ost : Peer::State(*raw)->ost_table)
        if (ost->encoding_needed) encoders[i] = ost->enc->thread_count;
    };
  }
  std::atomic<bool> ended{false};
  converter.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
    if (AInfo.TaskIndex == -1) ended = true;
  };
  converter.Start(Workers);
  ASSERT_TRUE(ServeUntil([&] { return ended.load(); })) << "the batch did not end";
  converter.Stop(true);
  EXPECT_EQ(arrived, Workers);
  const Integer share = CodecThreadCount(Integer(std::thread::hardware_concurrency()), Workers);
  for (int i = 0; i < Workers; ++i) {
    EXPECT_EQ(decoders[i], share) << "task " << i;
    // Encoders take the whole machine whatever runs beside them; the system shares the cores.
    EXPECT_EQ(encoders[i], encoders[0]) << "task " << i;
    if (std::thread::hardware_concurrency() > 1) {
      EXPECT_GT(encoders[i], share) << "task " << i;
    }
  }
}

}  // namespace
