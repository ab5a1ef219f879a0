// The component's events against the threads that wait for them: a main thread that changes the
// preview, stops the batch from inside an event, or waits while a worker needs it, must neither
// deadlock nor race, nor lose a quit request posted meanwhile. Every part that could hang runs under
// a watchdog that fails the program instead.
#include <poll.h>

#include <chrono>
#include <map>
#include <thread>

#include "engine/base/engineutils.h"
#include "engine/base/testkit/logcapture.h"
#include "engine/base/testkit/watchdog.h"
#include "engine/component/testkit/component_testkit.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"
#include "platform/win/win.h"

using namespace component_test;
using namespace transcoder_test;
using enginetest::TWatchdog;

namespace {

constexpr auto HangLimit = std::chrono::seconds(60);

// The task ends and the final event, as their handlers saw them.
struct TEnds {
  std::mutex Lock;
  std::vector<TTerminateInfo> Infos;
  std::atomic<bool> FinalSeen{false};

  void Add(const TTerminateInfo& AInfo) {
    std::lock_guard<std::mutex> hold(Lock);
    Infos.push_back(AInfo);
    if (AInfo.TaskIndex == -1) FinalSeen = true;
  }
  std::map<Integer, TTerminateInfo> ByTask() {
    std::lock_guard<std::mutex> hold(Lock);
    return EndsByTask(Infos);
  }
  void ExpectFinalLast() {
    std::lock_guard<std::mutex> hold(Lock);
    ExpectFinalOnceLast(Infos);
  }
};

class EventThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadLibraries();
    C.SetProgressInterval(100);
    // The cases convert into the same scratch files one after another.
    C.SetOverwriteOutput(true);
    C.OnTerminate = [this](TObject*, const TTerminateInfo& AInfo) { Ends.Add(AInfo); };
    // Each frame's custom hook waits until this thread has served it once: a batch lasts as long
    // as this thread's loop needs, and a task's next frame waits while this thread is busy.
    C.OnCustomHook = [this](TObject*, PHookInfo) {
      ++Hooks;
      if (HookServed) CallInMainThread([] {});
    };
  }
  void TearDown() override {
    TWatchdog watchdog("the test's final Stop(True)", HangLimit);
    C.Stop(true);
  }
  static String Out(const String& AName) { return TMedia::Get().Path(AName); }
  Integer AddVideoTask(const String& AName) {
    const Integer task = C.AddTask(TMedia::Get().NtscVideo());
    EXPECT_GE(task, 0) << C.LastErrMsg();
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.CustomHook = true;
    EXPECT_TRUE(C.SetOutputFile(task, Out(AName), &o)) << C.LastErrMsg();
    // Every frame is previewed.
    C.Tasks().Items(task)->PreviewInterval = 0;
    return task;
  }

  TEnds Ends;
  std::atomic<int> Hooks{0};
  std::atomic<bool> HookServed{true};
  TTestConverter C;
};

TEST_F(EventThreadsTest, SwitchingThePreviewWhileBitmapsGoToTheMainThread) {
  std::atomic<int> bitmaps{0};
  C.OnPreviewBitmap = [&](TObject*, const TPreviewInfo& AInfo) {
    EXPECT_TRUE(IsMainThread());
    EXPECT_NE(AInfo.Bitmap, nullptr);
    ++bitmaps;
  };
  C.SetPreviewBitmap(true);
  for (int i = 0; i < 3; ++i) AddVideoTask("switch" + std::to_string(i) + ".avi");
  C.Start(3);
  {
    TWatchdog watchdog("switching Preview and PreviewBitmap during a batch", HangLimit);
    // Each switch takes the tasks' post-hook lock while the tasks wait for this thread with bitmaps.
    for (int i = 0; bitmaps < 12 && !Ends.FinalSeen; ++i) {
      C.SetPreview(i % 2 == 0);
      C.SetPreviewBitmap(i % 3 != 0);
      CheckSynchronize(1);
    }
    C.SetPreviewBitmap(false);
    // Once switched off on this thread, no bitmap reaches the handler any more.
    const int seen = bitmaps;
    ASSERT_TRUE(ServeUntil([&] { return Ends.FinalSeen.load(); }));
    EXPECT_EQ(bitmaps, seen);
  }
  EXPECT_GE(bitmaps, 1);
  for (const auto& [index, info] : Ends.ByTask())
    EXPECT_TRUE(info.Finished) << index << ": " << info.ExceptionMsg;
  for (Integer i = 0; i < C.TasksCount(); ++i) {
    EXPECT_FALSE(C.Tasks().Items(i)->PostHooks().Contains(phBitmap)) << i;
    EXPECT_EQ(C.Tasks().Items(i)->PostHooks().Contains(phPreview), C.Preview()) << i;
  }
}

TEST_F(EventThreadsTest, TogglingThePreviewWhileTasksWriteFrames) {
  // The conversion threads read the post hooks with every frame they write, and hand their
  // pictures to the preview window under the post-hook lock, while this thread changes the hooks
  // under that lock and frees the windows: ThreadSanitizer tells when a read goes unguarded, the
  // watchdog when a thread waits for the other.
  for (int i = 0; i < 3; ++i) AddVideoTask("toggle" + std::to_string(i) + ".avi");
  C.Start(3);
  {
    TWatchdog watchdog("toggling the preview while tasks paint their preview windows", HangLimit);
    for (int i = 0; !Ends.FinalSeen; ++i) {
      C.SetPreview(i % 2 == 0);
      CheckSynchronize(1);
    }
  }
  C.SetPreview(true);
  for (Integer i = 0; i < C.TasksCount(); ++i)
    EXPECT_TRUE(C.Tasks().Items(i)->PostHooks().Contains(phPreview));
  const auto ends = Ends.ByTask();
  ASSERT_EQ(ends.size(), 3u);
  for (const auto& [index, info] : ends) EXPECT_TRUE(info.Finished) << index << ": " << info.ExceptionMsg;
}

struct TStopFromEvent {
  bool MainThread;  // the events run on the main thread, else on the tasks' threads
  bool Preview;     // stopped from OnPreviewBitmap, else from OnProgress
};

class StopFromEventTest : public EventThreadsTest, public testing::WithParamInterface<TStopFromEvent> {};

TEST_P(StopFromEventTest, StopWaitingFromAnEventHandler) {
  // The handler runs for a task that waits for it (on the main thread, or on the task's own
  // thread): the stop cannot wait for that task, but it waits for every other one, whose events
  // wait behind this one.
  C.SetTriggerEventInMainThread(GetParam().MainThread);
  // A task reports from its first frame on: its hook runs on its own thread, between its start
  // (which sets the component's interval) and its first report.
  C.OnCustomHook = [this](TObject*, PHookInfo AInfo) {
    ++Hooks;
    C.Tasks().Items(AInfo->TaskIndex)->ReportInterval = 0;
  };
  const TEventGate& gate = GetParam().Preview ? C.PreviewGate() : C.ProgressGate();
  std::atomic<bool> stopped{false};
  Integer servedTask = -1;
  bool otherWaited = false;
  std::map<Integer, TTerminateInfo> endsAtReturn;
  auto stopOnce = [&](Integer ATaskIndex) {
    if (stopped.exchange(true)) return;
    servedTask = ATaskIndex;
    // The other running task reaches its next event while this one is handled (at the latest its
    // final report, before it can end) and waits at the gate.
    otherWaited = ServeUntil([&] { return gate.Waiters() > 0; });
    C.Stop(true);
    endsAtReturn = Ends.ByTask();
  };
  if (GetParam().Preview) {
    C.SetPreviewBitmap(true);
    C.OnPreviewBitmap = [&](TObject*, const TPreviewInfo& AInfo) { stopOnce(AInfo.TaskIndex); };
  } else {
    C.OnProgress = [&](TObject*, PProgressInfo AInfo) {
      if (AInfo->FileIndex >= 0) stopOnce(AInfo->TaskIndex);
    };
  }
  for (int i = 0; i < 4; ++i) AddVideoTask("eventstop" + std::to_string(i) + ".avi");
  {
    TWatchdog watchdog("Stop(True) from an event handler", HangLimit);
    C.Start(2);
    ASSERT_TRUE(ServeUntil([&] { return Ends.FinalSeen.load(); }));
  }
  ASSERT_TRUE(stopped);
  EXPECT_TRUE(otherWaited);
  // When the stop returned every task but the waiting one had ended.
  EXPECT_EQ(endsAtReturn.size(), 3u);
  EXPECT_EQ(endsAtReturn.count(servedTask), 0u);
  const auto ends = Ends.ByTask();
  ASSERT_EQ(ends.size(), 4u);
  EXPECT_FALSE(ends.at(servedTask).Finished);
  EXPECT_FALSE(ends.at(servedTask).Exception) << ends.at(servedTask).ExceptionMsg;
  for (Integer never : {2, 3}) {
    EXPECT_FALSE(ends.at(never).Finished);
    EXPECT_FALSE(ends.at(never).Exception);
  }
  Ends.ExpectFinalLast();
  EXPECT_TRUE(C.Terminated());
}

INSTANTIATE_TEST_SUITE_P(MainThreadOrTaskThread, StopFromEventTest,
                         testing::Values(TStopFromEvent{true, false}, TStopFromEvent{false, false},
                                         TStopFromEvent{true, true}, TStopFromEvent{false, true}));

TEST_F(EventThreadsTest, StopWaitingFromAnInlineTerminateHandler) {
  // The first task's end stops the rest of an inline batch; their ends come from other threads
  // while this one waits inside the handler.
  std::map<Integer, TTerminateInfo> endsAtReturn;
  C.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
    Ends.Add(AInfo);
    if (AInfo.TaskIndex != 0) return;
    C.Stop(true);
    endsAtReturn = Ends.ByTask();
  };
  for (int i = 0; i < 3; ++i) AddVideoTask("inlinestop" + std::to_string(i) + ".avi");
  {
    TWatchdog watchdog("Stop(True) from an inline OnTerminate handler", HangLimit);
    C.Start(0);
  }
  EXPECT_EQ(endsAtReturn.size(), 3u);
  ASSERT_TRUE(Ends.FinalSeen);
  const auto ends = Ends.ByTask();
  ASSERT_EQ(ends.size(), 3u);
  EXPECT_TRUE(ends.at(0).Finished);
  for (Integer never : {1, 2}) {
    EXPECT_FALSE(ends.at(never).Finished);
    EXPECT_FALSE(ends.at(never).Exception);
  }
  Ends.ExpectFinalLast();
  EXPECT_TRUE(C.Terminated());
  EXPECT_EQ(C.CompleteTasks(), 3);
}

TEST_F(EventThreadsTest, StopWhileATaskThatCannotStartLogsToTheMainThread) {
  // A task ends and its thread starts the next one, which cannot start and logs why, while this
  // thread stops the batch: the line must not wait for this thread behind the batch's lock.
  TLogCapture log(llQuiet);
  log.Logger()->SetTriggerEventInMainThread(true);
  HookServed = false;
  AddVideoTask("beforefailed.avi");
  ASSERT_EQ(C.AddTask(TMedia::Get().NtscVideo()), 1);  // no output
  C.Start(1);
  // The first call the tasks hand this thread is that line.
  pollfd wake{MainThreadWakeFd(), POLLIN, 0};
  ASSERT_EQ(poll(&wake, 1, 30000), 1);
  {
    TWatchdog watchdog("Stop(True) while a task logs to the main thread", HangLimit);
    C.Stop(true);
    ASSERT_TRUE(ServeUntil([&] { return Ends.FinalSeen.load(); }));
  }
  ASSERT_TRUE(ServeUntil([&] { return !log.Lines().empty(); }));
  TLoggedLine line;
  ASSERT_TRUE(log.Find("At least one output file must be specified", line));
  EXPECT_TRUE(line.OnMainThread);
  EXPECT_EQ(Ends.ByTask().at(1).ExceptionMsg, "At least one output file must be specified");
}

TEST_F(EventThreadsTest, AStopThatWaitsKeepsAQuitPostedMeanwhile) {
  // The wait serves this thread's messages; a quit request among them stays for the loop that
  // waits for it.
  // From its second frame on the task goes no further until it has been asked to stop: it asks
  // this thread, which answers from inside the stop's wait.
  C.OnCustomHook = [&](TObject*, PHookInfo) {
    if (++Hooks < 2) return;
    TFFmpeg* task = C.Tasks().Items(0);
    for (bool asked = false; !asked;) CallInMainThread([&] { asked = task->Broken(); });
  };
  AddVideoTask("quit.avi");
  C.Start(1);
  ASSERT_TRUE(ServeUntil([&] { return Hooks > 1; }));
  PostQuitMessage(5);
  {
    TWatchdog watchdog("Stop(True) with a quit request", HangLimit);
    C.Stop(true);
  }
  ASSERT_TRUE(Ends.FinalSeen);
  MSG m{};
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, WPARAM(5));
}

}  // namespace
