// The conversion component: an ordered list of conversion tasks built by the caller and run as one
// batch, one task after another or several at once on conversion threads, with progress, preview,
// custom-hook and terminate events.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "engine/base/engineutils.h"
#include "engine/base/fileidentity.h"
#include "engine/base/guardedevent.h"
#include "engine/component/eventgate.h"
#include "engine/component/optionrecords.h"
#include "engine/probe/avprobe.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/threads.h"
#include "platform/ui/graphics/bitmap.h"

// A conversion task (ffmpegtask.h): the component's public header stays free of the libraries' headers.
class TFFmpeg;

struct TProgressInfo {
  Integer TaskIndex = 0;
  Integer FileIndex = 0;  // -1 in a task's final report
  Integer FrameNumber = 0;
  Integer FPS = 0;
  Single Quality = 0;
  Single BitRate = 0;
  Int64 CurrentSize = 0;      // bytes
  Int64 CurrentDuration = 0;  // microseconds
  Int64 TotalDuration = 0;    // microseconds, -1 when unknown
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
  Integer TaskIndex = 0;  // -1 for the end of the batch
  bool Finished = false;
  bool Exception = false;
  String ExceptionMsg;
};

struct TPreviewInfo {
  Integer TaskIndex = 0;
  TBitmap* Bitmap = nullptr;  // the task's
  Integer FrameNumber = 0;
  Int64 PTS = 0;
};

struct THookInfo {
  Integer TaskIndex = 0;
  TBitmap* Bitmap = nullptr;
  Integer FrameNumber = 0;
  Int64 PTS = 0;
  bool Update = false;
  bool StopHook = false;
};
using PHookInfo = THookInfo*;

// The component's tasks, owned.
class TFFmpegList : public TObject {
 public:
  TFFmpegList() = default;
  ~TFFmpegList() override;
  String ClassName() const override { return "TFFmpegList"; }

  Integer Add(TFFmpeg* ATask);
  void Delete(Integer AIndex);
  void Clear();
  void Exchange(Integer AIndex1, Integer AIndex2);
  // EListError outside 0 … Count-1.
  TFFmpeg* Items(Integer AIndex) const;
  Integer IndexOf(const TFFmpeg* ATask) const;
  Integer Count() const { return Integer(FList.size()); }
  void PauseAll();
  void ResumeAll();
  void StopAll(bool AWaitFor);
  void SetPreview(bool AFlag);
  void SetPreviewBitmap(bool AFlag);
  void SetOverwriteOutput(bool AFlag);

 private:
  std::vector<std::unique_ptr<TFFmpeg>> FList;
};

class TConverterTerminateThread;

class TCustomFFmpegConverter : public TFFBaseComponent {
 public:
  // The component's own event types (the task's callbacks of the same names differ).
  using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
  using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
  using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
  using TCustomHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;

  explicit TCustomFFmpegConverter(TComponent* AOwner);
  // Does not stop running tasks: the owner stops them first.
  ~TCustomFFmpegConverter() override;
  String ClassName() const override { return "TCustomFFmpegConverter"; }

  // ---- libraries ----
  bool AVLibLoaded() const;
  bool LoadAVLib(const TPathFileName& APath);
  void UnloadAVLib();

  // ---- building tasks (refused with "Cannot %s while working." while a batch is on) ----
  // The task's index, or -1 with LastErrMsg. An empty AOptions->FileName is set to AFileName.
  Integer AddTask(const String& AFileName, PInputOptions AOptions = nullptr);
  Integer AddTask(const String& AFileName, const String& AExtOptions);
  // The stream forms only make a "stream:<address>:<data>" name.
  Integer AddTask(const TStream* AStream, const String& APrivateData, PInputOptions AOptions);
  bool AddInputFile(Integer ATaskIndex, const String& AFileName, PInputOptions AOptions = nullptr);
  bool AddInputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
  bool SetOutputFile(Integer ATaskIndex, const String& AFileName, POutputOptions AOptions = nullptr);
  bool SetOutputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
  bool SetOutputStream(Integer ATaskIndex, const TStream* AStream, const String& APrivateData,
                       POutputOptions AOptions);
  // Refused only while a started batch has not ended.
  void ClearTasks();
  void Exchange(Integer ATaskIndex1, Integer ATaskIndex2);
  void RemoveTask(Integer ATaskIndex);
  Integer TasksCount() const { return FFFmpegList->Count(); }
  // nullptr while the input index was never opened.
  TAVProbe* GetTaskAVProbe(Integer ATaskIndex, Integer AFileIndex) const;

  // ---- running a batch ----
  // AThreadCount > 0: at most that many tasks at once on conversion threads, returning at once;
  // otherwise every task runs here, one after another, before Start returns.
  void Start(Integer AThreadCount);
  // No further task starts; running ones break off, never-run ones report their end. With
  // AWaitFor it returns once every task and every terminate event is done (serving the
  // main-thread queue meanwhile when called there).
  void Stop(bool AWaitFor);
  void Pause();
  void Resume();

  // ---- properties ----
  const String& About() const { return FAbout; }
  void SetAbout(const String& Value) { FAbout = Value; }
  String Version() const { return "3.3"; }
  TAVProbe* AVProbe() const { return FAVProbe.get(); }
  const String& LastErrMsg() const { return FLastErrMsg; }
  Integer CustomMaxFiles() const { return FCustomMaxFiles; }
  void SetCustomMaxFiles(Integer Value) { FCustomMaxFiles = Value; }
  bool Preview() const { return FPreview; }
  void SetPreview(bool Value);
  bool PreviewBitmap() const { return FPreviewBitmap; }
  void SetPreviewBitmap(bool Value);
  // Whether a task's finished output may replace an existing file of its name. Off by default: a
  // task whose output name is taken when it finishes fails, naming the file, and the file stays.
  // Each task reads it as it puts its output in place, so a change reaches running tasks too.
  bool OverwriteOutput() const { return FOverwriteOutput; }
  void SetOverwriteOutput(bool Value);
  Integer ProgressInterval() const { return FProgressInterval; }
  void SetProgressInterval(Integer Value) { FProgressInterval = Value <= 100 ? 100 : Value; }
  bool Terminated() const { return FTerminated; }
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority Value) { FThreadPriority = Value; }
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
  void* UserData() const { return FData; }
  void SetUserData(void* Value) { FData = Value; }
  Integer Verbose() const { return FVerbose; }
  void SetVerbose(Integer Value) { FVerbose = Value; }
  bool Working() const { return FWorking; }
  bool ThreadMode() const { return FThreadMode; }
  Integer CompleteTasks() const { return FCompleteTasks; }
  Integer CurrentTask() const { return FCurrentTask; }
  Integer PendingTasks() const { return FPendingTasks; }

  TGuardedEvent<TCustomHookEvent> OnCustomHook;
  TGuardedEvent<TPreviewBitmapEvent> OnPreviewBitmap;
  TGuardedEvent<TProgressEvent> OnProgress;
  TGuardedEvent<TTerminateEvent> OnTerminate;

 protected:
  // The task callbacks; Sender is the task.
  virtual void DoCustomHook(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                            bool& AUpdate, bool& AStopHook);
  virtual void DoPreviewBitmap(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);
  virtual void DoProgress(TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                          Single AQuality, Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                          Int64 ATotalDuration);
  virtual void DoTerminate(TObject* Sender);

  // Raises "Cannot %s while working." while a batch is on.
  void CheckWorking(const String& AName) const;

  TFFmpegList& Tasks() { return *FFFmpegList; }
  // The gates of the progress and preview events, where a task waits while another one's event
  // is being handled.
  const TEventGate& ProgressGate() const { return FProgressLock; }
  const TEventGate& PreviewGate() const { return FPreviewLock; }

 private:
  // Option records onto a task (optionmapping.cpp).
  void PrepareTask(TFFmpeg& ATask);
  bool OpenInput(TFFmpeg& ATask, const String& AFileName, PInputOptions AOptions);
  bool OpenOutput(TFFmpeg& ATask, const String& AFileName, POutputOptions AOptions);

  // Scheduling (converterrun.cpp); under FTerminateLock.
  TFFmpeg* ClaimNextTask();
  void StartNextTask();
  // The refusal when AFileName is already an output of a task of the list, or an input of another
  // task (the same file however the path is written), naming both; empty otherwise.
  String OutputClash(Integer ATaskIndex, const String& AFileName) const;
  const TFileIdentity& AddedFileIdentity(const String& AFileName) const;
  // Before a batch: a task whose output another task before it also writes, or another task reads,
  // may not run (names may have changed their meaning since the tasks were built).
  void RefuseOutputClashes();
  // Counts a task's end and starts the next task in thread mode; True when the batch has ended
  // now (FAllEnded is then set and the caller dispatches the final event).
  bool CountTaskEnd();
  bool ClaimBatchEnd();
  // The final event: under FTerminateLock in thread mode; in inline mode outside it, once
  // FAllEnded has been set under it.
  // Claims the next task and gives its conversion thread, not yet started (nil when none).
  TThread* StartNextTaskSuspended();
  void DoAllTasksTerminated();
  // Thread mode: hands the event to a thread of its own (under FTerminateLock, which orders the
  // deliveries). Inline mode: calls the handler, outside FTerminateLock.
  void DeliverTerminate(const TTerminateEvent& AHandler, const TTerminateInfo& AInfo);
  // Calls ACall in the main thread when the events go there, else in this one.
  void RaiseEvent(void (TCustomFFmpegConverter::*ACall)());
  void CallProgress();
  void CallPreviewBitmap();
  // Waits for the terminate events handed to their own threads (not from one of them).
  void WaitForTerminateDeliveries();
  void ReapTerminateDeliveries(bool AAll);

  String FAbout;
  String FLastErrMsg;
  void* FData = nullptr;
  Integer FCustomMaxFiles = 20;
  std::atomic<bool> FPreview{false};
  std::atomic<bool> FPreviewBitmap{false};
  std::atomic<bool> FOverwriteOutput{false};
  std::atomic<Integer> FProgressInterval{500};
  std::atomic<TThreadPriority> FThreadPriority{tpNormal};
  std::atomic<bool> FTriggerEventInMainThread{true};
  std::atomic<Integer> FVerbose{1};
  THookInfo FHookInfo;
  TProgressInfo FProgressInfo;
  TTerminateInfo FTerminateInfo;
  TPreviewInfo FPreviewInfo;
  // One event of a kind at a time; a task waiting to pass gives up once it is being stopped.
  TEventGate FHookLock, FPreviewLock, FProgressLock;
  // No thread holding it waits for the main thread, which takes it in Stop.
  TCriticalSection FTerminateLock;
  std::unique_ptr<TAVProbe> FAVProbe;
  std::unique_ptr<TFFmpegList> FFFmpegList;
  // The files of the list's tasks as they were when an add first compared them, so that an add
  // costs the same however long the list is; the start compares the files anew.
  mutable std::unordered_map<String, TFileIdentity> FAddedFiles;
  std::atomic<Integer> FCompleteTasks{0};
  std::atomic<Integer> FCurrentTask{-1};
  std::atomic<Integer> FPendingTasks{0};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FThreadMode{false};
  std::atomic<bool> FWorking{false};
  // The final event has been dispatched for the current batch (it goes exactly once).
  bool FAllEnded = false;

  // Terminate events on their own threads, each after the one before it, so the final event of a
  // batch comes after every task's own.
  std::mutex FDeliveryLock;
  std::vector<std::unique_ptr<TConverterTerminateThread>> FDeliveries;
};

class TFFmpegConverter : public TCustomFFmpegConverter {
 public:
  using TCustomFFmpegConverter::TCustomFFmpegConverter;
  String ClassName() const override { return "TFFmpegConverter"; }
};
