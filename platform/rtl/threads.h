// Threads, locks, events and the main-thread call queue.
//
// Worker threads hand calls to the main thread through one process-wide queue: Synchronize waits
// for its call, Queue does not. The main thread serves the queue in CheckSynchronize, which the
// message loop calls whenever MainThreadWakeFd() is readable (or WakeMainThread fires). Every wait
// on the main thread must keep serving the queue, or it deadlocks against a worker: TThread::WaitFor
// does so by itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

using TThreadMethod = std::function<void()>;

inline constexpr Cardinal INFINITE = 0xFFFFFFFF;

// The id of the process's main thread (the thread that runs main()); Linux thread ids.
extern Cardinal MainThreadID;
Cardinal GetCurrentThreadId();
bool IsMainThread();

// Runs the calls waiting for the main thread, oldest first; only calls that were queued when it
// started run (calls they queue wait for the next round). With nothing pending it waits up to
// Timeout ms for a call to arrive. True when it ran at least one. Raises EThread off the main
// thread. An exception of a Queue'd call leaves here (the calls after it stay queued); that of a
// Synchronize'd call goes back to the waiting thread.
bool CheckSynchronize(Integer Timeout = 0);
// An eventfd that is readable exactly while calls wait for the main thread.
int MainThreadWakeFd();
// Called (on the queuing thread) after every call handed to the main thread, so that a loop that
// does not poll MainThreadWakeFd() can wake up. Empty by default.
void SetWakeMainThread(std::function<void()> Hook);

// What a wait on the main thread runs between two looks at what it waits for: the call queue, then
// the hook that the window layer installs at its start-up (its message loop). Off the main thread
// it does nothing. The hook is set and read on the main thread only.
void ServeMainThreadWait();
void SetMainThreadWaitHook(std::function<void()> AHook);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  // A thread cannot start inside this constructor: C++ builds the derived part afterwards. With
  // CreateSuspended false the derived constructor ends with AfterConstruction(), the class
  // library's hook where the thread starts; otherwise the owner calls Start.
  explicit TThread(bool CreateSuspended);
  // A running thread that does not free itself is told to terminate and waited for. A derived
  // class whose Execute uses its own members must do that in its own destructor.
  ~TThread() override;
  String ClassName() const override { return "TThread"; }

  void AfterConstruction();
  // Starts a thread created suspended; EThread when it runs or has run.
  void Start();
  void Resume() { Start(); }
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Waits until Execute and OnTerminate are done and returns ReturnValue. On the main thread it
  // serves the main-thread queue meanwhile. Returns at once for a thread never started. EThread when
  // called from the thread itself or on a thread that frees itself.
  Integer WaitFor();

  bool Finished() const { return FFinished; }
  bool Suspended() const { return !FStarted; }
  Integer ReturnValue() const { return FReturnValue; }
  // The exception that left Execute (nullptr when none); the thread ended normally otherwise.
  std::exception_ptr FatalException() const { return FFatalException; }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
  // tpNormal is nice 0; lower priorities raise the nice value, higher ones lower it (which needs
  // the privilege; when refused the value is kept but the thread runs at its old level).
  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority Value);
  Cardinal ThreadID() const { return FThreadID; }  // 0 before Start

  static Cardinal CurrentThreadId() { return GetCurrentThreadId(); }

  // Runs Method on the main thread and waits for it; on the main thread it runs at once. An
  // exception raised by Method is raised again here. AThread may be nullptr.
  static void Synchronize(TThread* AThread, TThreadMethod Method);
  void Synchronize(TThreadMethod Method) { Synchronize(this, std::move(Method)); }
  // Hands Method to the main thread without waiting (on the main thread it runs at once). AOwner
  // names the object the call belongs to, for RemoveQueuedEvents.
  static void Queue(const void* AOwner, TThreadMethod Method);
  void Queue(TThreadMethod Method) { Queue(this, std::move(Method)); }
  // Drops the queued (not yet run) Queue calls of AOwner; a freed object calls it.
  static void RemoveQueuedEvents(const void* AOwner);

  // Runs on the main thread after Execute (through Synchronize), before a self-freeing thread goes.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Calls OnTerminate on the main thread when assigned.
  virtual void DoTerminate();
  void SetReturnValue(Integer Value) { FReturnValue = Value; }

 private:
  void ThreadProc();
  void ApplyPriority();

  std::thread FHandle;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<bool> FStarted{false};
  bool FCreateSuspended;
  std::atomic<Cardinal> FThreadID{0};
  std::atomic<Integer> FReturnValue{0};
  std::atomic<TThreadPriority> FPriority{tpNormal};
  std::exception_ptr FFatalException;
  std::mutex FDoneLock;
  std::condition_variable FDoneSignal;
  std::atomic<bool> FDone{false};  // the thread body has ended; set under FDoneLock
};

// A recursive lock.
class TCriticalSection : public TObject {
 public:
  String ClassName() const override { return "TCriticalSection"; }
  void Enter() {
    FLock.lock();
    noteEntered();
  }
  void Leave() {
    if (--FDepth == 0) FOwner = 0;
    FLock.unlock();
  }
  bool TryEnter() {
    if (!FLock.try_lock()) return false;
    noteEntered();
    return true;
  }
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  // Lets code that may block on another thread (a wait for the main thread) see that it would do
  // so while holding this lock.
  bool HeldByCurrentThread() const { return FOwner.load() == GetCurrentThreadId(); }

 private:
  void noteEntered() {
    FOwner = GetCurrentThreadId();
    ++FDepth;
  }

  std::recursive_mutex FLock;
  std::atomic<Cardinal> FOwner{0};
  Integer FDepth = 0;  // touched only by the owner
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// An event: manual reset stays signalled until ResetEvent; auto reset lets one waiter through and
// resets itself.
class TEvent : public TObject {
 public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false)
      : FManualReset(ManualReset), FSignaled(InitialState) {}
  String ClassName() const override { return "TEvent"; }
  void SetEvent();
  void ResetEvent();
  // Timeout in ms, INFINITE to wait without limit.
  TWaitResult WaitFor(Cardinal Timeout = INFINITE);

 private:
  std::mutex FLock;
  std::condition_variable FSignal;
  bool FManualReset;
  bool FSignaled;
};

// A manual-reset event created non-signalled.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(true, false) {}
  String ClassName() const override { return "TSimpleEvent"; }
};

// Waits for AEvent without limit; on the main thread it runs ServeMainThreadWait every 20 ms
// meanwhile, because the thread that will set the event may be waiting for the main thread.
void WaitServingMainThread(TEvent& AEvent);
