// Running the tasks as one batch, and the four events.
//
// FTerminateLock guards the counters and the choice of the next task; the conversion threads and
// the owner thread both claim tasks under it. Terminate events of a threaded batch run on threads
// of their own, one after another in the order the tasks ended, the final event last; those of an
// inline batch run on the thread that ended the task, outside the lock.
//
// No thread waits for the main thread while it holds a lock that the main thread takes without
// serving its queue: a wait on the main thread would never end.
#include <vector>

#include "engine/base/engineutils.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/component/terminatethread.h"

thread_local bool TConverterTerminateThread::FInDelivery = false;

namespace {

// The fields the preview and the hook event share.
template <class TFrameInfo>
void FillFrameInfo(TFrameInfo& AInfo, Integer ATaskIndex, TBitmap* ABitmap, Integer AFrameNumber,
                   Int64 APTS) {
  AInfo.TaskIndex = ATaskIndex;
  AInfo.Bitmap = ABitmap;
  AInfo.FrameNumber = AFrameNumber;
  AInfo.PTS = APTS;
}

// Holds FTerminateLock. The main thread takes it in Stop without serving its queue, so its holder
// must not wait for the main thread meanwhile.
class TTerminateHold {
 public:
  explicit TTerminateHold(TCriticalSection& ALock) : FHold(ALock) {}

 private:
  TCriticalSectionHold FHold;
  TMainThreadWaitBan FBan;
};

// A task waiting for its turn to raise an event gives up once it is being stopped: the task whose
// event is under way may be waiting for the thread that stops them.
std::function<bool()> StoppingTask(const TFFmpeg* ATask) {
  return [ATask] { return ATask->Broken(); };
}

// Keeps a canvas locked for a scope, a handler's exception included.
class TCanvasHold {
 public:
  explicit TCanvasHold(TCanvas* ACanvas) : FCanvas(ACanvas) {
    if (FCanvas) FCanvas->Lock();
  }
  ~TCanvasHold() {
    if (FCanvas) FCanvas->Unlock();
  }
  TCanvasHold(const TCanvasHold&) = delete;
  TCanvasHold& operator=(const TCanvasHold&) = delete;

 private:
  TCanvas* FCanvas;
};

}  // namespace

void TCustomFFmpegConverter::Start(Integer AThreadCount) {
  CheckWorking("StartTask");
  RefuseOutputClashes();
  bool ended = false;
  {
    TTerminateHold hold(FTerminateLock);
    FCompleteTasks = 0;
    FCurrentTask = 0;
    FPendingTasks = TasksCount();
    FTerminated = false;
    FThreadMode = AThreadCount > 0;
    FWorking = true;
    FAllEnded = false;
    if (FThreadMode) {
      // All of the first round count as running before the first opens its codecs, so that they
      // share the cores from the start.
      std::vector<TThread*> threads;
      while (FPendingTasks > 0 && AThreadCount-- > 0)
        if (TThread* thread = StartNextTaskSuspended()) threads.push_back(thread);
      for (TThread* thread : threads) thread->Start();
      // Tasks that had all ended before (or none at all) still end the batch.
      if (ClaimBatchEnd()) DoAllTasksTerminated();
      return;
    }
  }
  // Each task runs to its end here, outside the lock, so that its events and a Stop from a handler
  // never wait on a lock this thread holds.
  for (;;) {
    TFFmpeg* task;
    {
      TTerminateHold hold(FTerminateLock);
      task = ClaimNextTask();
      if (!task) ended = ClaimBatchEnd();
    }
    if (!task) break;
    task->StartConvert(false, FThreadPriority);
  }
  if (ended) DoAllTasksTerminated();
}

TFFmpeg* TCustomFFmpegConverter::ClaimNextTask() {
  while (FPendingTasks > 0) {
    TFFmpeg* task = FFFmpegList->Items(FCurrentTask);
    --FPendingTasks;
    ++FCurrentTask;
    if (task->FEndReported || task->Terminated()) {
      // Ended before this batch (a Stop outside it): it does not run again, but it counts.
      ++FCompleteTasks;
      continue;
    }
    task->SetVerbose(FVerbose);
    task->ReportInterval = Int64(FProgressInterval) * 1000;
    return task;
  }
  return nullptr;
}

TThread* TCustomFFmpegConverter::StartNextTaskSuspended() {
  TFFmpeg* task = ClaimNextTask();
  // A nil thread: the task could not start and has already reported its end.
  return task ? task->StartConvert(true, FThreadPriority) : nullptr;
}

void TCustomFFmpegConverter::StartNextTask() {
  if (TThread* thread = StartNextTaskSuspended()) thread->Start();
}

bool TCustomFFmpegConverter::CountTaskEnd() {
  ++FCompleteTasks;
  if (FPendingTasks > 0) {
    // Inline mode: the loop in Start goes on.
    if (FThreadMode) StartNextTask();
    return false;
  }
  return ClaimBatchEnd();
}

bool TCustomFFmpegConverter::ClaimBatchEnd() {
  if (FAllEnded || FPendingTasks > 0 || FCompleteTasks < TasksCount()) return false;
  FAllEnded = true;
  return true;
}

void TCustomFFmpegConverter::DoTerminate(TObject* Sender) {
  auto* task = static_cast<TFFmpeg*>(Sender);
  TTerminateEvent handler;
  TTerminateInfo info;
  std::exception_ptr handlerError;
  bool threaded;
  {
    TTerminateHold hold(FTerminateLock);
    if (task->FEndReported) return;
    task->FEndReported = true;
    // The run has closed the inputs the probes were given.
    task->DetachAVProbes();
    // A task taken out of the list (the component going while it ran) has no index to report.
    const Integer index = FFFmpegList->IndexOf(task);
    handler = index >= 0 ? OnTerminate.Get() : nullptr;
    if (handler) {
      FTerminateInfo.TaskIndex = index;
      FTerminateInfo.Finished = task->Finished();
      FTerminateInfo.Exception = task->FatalException();
      FTerminateInfo.ExceptionMsg = task->FatalMessage();
      info = FTerminateInfo;
    }
    threaded = FThreadMode;
    if (threaded) {
      // Handed to a thread of its own, in the order the tasks end.
      if (handler) {
        try {
          DeliverTerminate(handler, info);
        } catch (...) {
          handlerError = std::current_exception();
        }
      }
      if (CountTaskEnd()) DoAllTasksTerminated();
    }
  }
  if (!threaded) {
    // The handler runs without the lock: it may stop the batch and wait for the tasks that never
    // ran, whose ends come from other threads and take the lock.
    if (handler) {
      try {
        DeliverTerminate(handler, info);
      } catch (...) {
        // The batch goes on; the handler's exception goes back to the task afterwards.
        handlerError = std::current_exception();
      }
    }
    bool ended;
    {
      TTerminateHold hold(FTerminateLock);
      ended = CountTaskEnd();
    }
    if (ended) DoAllTasksTerminated();
  }
  if (handlerError) std::rethrow_exception(handlerError);
}

void TCustomFFmpegConverter::DoAllTasksTerminated() {
  TTerminateEvent handler = OnTerminate.Get();
  TTerminateInfo info;
  {
    TTerminateHold hold(FTerminateLock);
    if (handler) {
      FTerminateInfo.TaskIndex = -1;
      FTerminateInfo.Finished = true;
      FTerminateInfo.Exception = false;
      FTerminateInfo.ExceptionMsg.clear();
      info = FTerminateInfo;
    }
  }
  if (FThreadMode) {
    // Ended before the event goes, so that its handler finds the batch over.
    FTerminated = true;
    if (handler) DeliverTerminate(handler, info);
    return;
  }
  struct TSetTerminated {
    std::atomic<bool>& Flag;
    ~TSetTerminated() { Flag = true; }
  } setTerminated{FTerminated};
  if (handler) handler(this, info);
}

void TCustomFFmpegConverter::DeliverTerminate(const TTerminateEvent& AHandler, const TTerminateInfo& AInfo) {
  if (!FThreadMode) {
    AHandler(this, AInfo);
    return;
  }
  std::lock_guard<std::mutex> hold(FDeliveryLock);
  ReapTerminateDeliveries(false);
  TConverterTerminateThread* previous = FDeliveries.empty() ? nullptr : FDeliveries.back().get();
  FDeliveries.push_back(std::make_unique<TConverterTerminateThread>(AHandler, this, AInfo, previous));
  FDeliveries.back()->Start();
}

// Under FDeliveryLock. Without AAll only the finished deliveries before the last go, so that the
// next one can still follow the last.
void TCustomFFmpegConverter::ReapTerminateDeliveries(bool AAll) {
  const size_t keep = AAll ? 0 : 1;
  while (FDeliveries.size() > keep && FDeliveries.front()->Done()) FDeliveries.erase(FDeliveries.begin());
}

void TCustomFFmpegConverter::WaitForTerminateDeliveries() {
  // A handler that stops the batch cannot wait for itself nor for the events queued behind it.
  if (TConverterTerminateThread::InDelivery()) return;
  std::vector<std::shared_ptr<TSimpleEvent>> pending;
  {
    std::lock_guard<std::mutex> hold(FDeliveryLock);
    for (auto& delivery : FDeliveries) pending.push_back(delivery->DoneEvent());
  }
  // A handler may be waiting for the main thread: a wait there keeps serving it.
  for (auto& done : pending) WaitServingMainThread(*done);
  std::lock_guard<std::mutex> hold(FDeliveryLock);
  ReapTerminateDeliveries(true);
}

void TCustomFFmpegConverter::Stop(bool AWaitFor) {
  {
    // A claim in progress finishes starting its task before this returns.
    TTerminateHold hold(FTerminateLock);
    FPendingTasks = 0;
  }
  FFFmpegList->StopAll(AWaitFor);
  if (AWaitFor) WaitForTerminateDeliveries();
}

void TCustomFFmpegConverter::Pause() {
  FFFmpegList->PauseAll();
}

void TCustomFFmpegConverter::Resume() {
  FFFmpegList->ResumeAll();
}

void TCustomFFmpegConverter::DoProgress(TObject* Sender, Integer AFileIndex, Integer AFrameNumber,
                                        Integer AFPS, Single AQuality, Single ABitRate, Int64 ACurrentSize,
                                        Int64 ACurrentDuration, Int64 ATotalDuration) {
  if (!OnProgress) return;
  auto* task = static_cast<TFFmpeg*>(Sender);
  TEventGatePass pass(FProgressLock, StoppingTask(task));
  if (!pass.Passed()) return;
  FProgressInfo.TaskIndex = FFFmpegList->IndexOf(task);
  FProgressInfo.FileIndex = AFileIndex;
  FProgressInfo.FrameNumber = AFrameNumber;
  FProgressInfo.FPS = AFPS;
  FProgressInfo.Quality = AQuality;
  FProgressInfo.BitRate = ABitRate;
  FProgressInfo.CurrentSize = ACurrentSize;
  FProgressInfo.CurrentDuration = ACurrentDuration;
  FProgressInfo.TotalDuration = ATotalDuration;
  RaiseEvent(&TCustomFFmpegConverter::CallProgress);
}

void TCustomFFmpegConverter::RaiseEvent(void (TCustomFFmpegConverter::*ACall)()) {
  if (FTriggerEventInMainThread)
    CallInMainThread([this, ACall] { (this->*ACall)(); });
  else
    (this->*ACall)();
}

void TCustomFFmpegConverter::CallProgress() {
  if (TProgressEvent handler = OnProgress.Get()) handler(this, &FProgressInfo);
}

void TCustomFFmpegConverter::DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber,
                                             Int64 APTS) {
  if (!OnPreviewBitmap) return;
  auto* task = static_cast<TFFmpeg*>(Sender);
  TEventGatePass pass(FPreviewLock, StoppingTask(task));
  if (!pass.Passed()) return;
  FillFrameInfo(FPreviewInfo, FFFmpegList->IndexOf(task), ABitmap, AFrameNumber, APTS);
  RaiseEvent(&TCustomFFmpegConverter::CallPreviewBitmap);
}

void TCustomFFmpegConverter::CallPreviewBitmap() {
  // A bitmap on its way when the owner switched the bitmaps off is not shown.
  if (!FPreviewBitmap) return;
  if (TPreviewBitmapEvent handler = OnPreviewBitmap.Get()) handler(this, FPreviewInfo);
}

void TCustomFFmpegConverter::DoCustomHook(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                          bool& AUpdate, bool& AStopHook) {
  TCustomHookEvent handler = OnCustomHook.Get();
  if (!handler) return;
  auto* task = static_cast<TFFmpeg*>(Sender);
  TEventGatePass pass(FHookLock, StoppingTask(task));
  if (!pass.Passed()) return;
  FillFrameInfo(FHookInfo, FFFmpegList->IndexOf(task), ABitmap, AFrameNumber, APTS);
  FHookInfo.Update = AUpdate;
  FHookInfo.StopHook = AStopHook;
  {
    // The handler draws on the frame while the owner thread may paint the same bitmap.
    TCanvasHold canvas(ABitmap ? ABitmap->Canvas() : nullptr);
    handler(this, &FHookInfo);
  }
  AUpdate = FHookInfo.Update;
  AStopHook = FHookInfo.StopHook;
}
