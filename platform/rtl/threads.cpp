#include "platform/rtl/threads.h"

#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <system_error>

#include "platform/rtl/consts.h"

// On Linux the main thread's id is the process id, so this is right whichever thread computes it.
Cardinal MainThreadID = Cardinal(getpid());

namespace {

template <typename... Args>
String printfText(const char* pattern, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

struct TMainThreadCall {
  const void* Owner = nullptr;
  TThreadMethod Method;
  bool Waiting = false;  // a Synchronize caller waits for Done
  bool Done = false;
  std::exception_ptr Error;
  UInt64 Sequence = 0;
};

struct TMainThreadQueue {
  std::mutex Lock;
  std::condition_variable Arrived;    // a call was queued, or a thread the main thread waits for ended
  std::condition_variable Completed;  // a Synchronize'd call has run
  std::deque<std::shared_ptr<TMainThreadCall>> Calls;
  UInt64 NextSequence = 1;
  int WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  std::function<void()> WakeHook;

  // Both under Lock: the fd is readable exactly while Calls is not empty.
  void raiseWake() {
    const uint64_t one = 1;
    if (WakeFd >= 0) (void)!write(WakeFd, &one, sizeof one);
  }
  void clearWake() {
    uint64_t count = 0;
    if (WakeFd >= 0) (void)!read(WakeFd, &count, sizeof count);
  }
};

// Left alive at exit on purpose: detached threads may still queue calls while statics go.
TMainThreadQueue& mainQueue() {
  static TMainThreadQueue* queue = new TMainThreadQueue;
  return *queue;
}

void postToMainThread(const std::shared_ptr<TMainThreadCall>& call) {
  TMainThreadQueue& q = mainQueue();
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> guard(q.Lock);
    call->Sequence = q.NextSequence++;
    if (q.Calls.empty()) q.raiseWake();
    q.Calls.push_back(call);
    hook = q.WakeHook;
  }
  q.Arrived.notify_all();
  if (hook) hook();
}

// Blocks the main thread until a call is queued or Stop becomes true.
void waitForMainThreadWork(const std::atomic<bool>& Stop) {
  TMainThreadQueue& q = mainQueue();
  std::unique_lock<std::mutex> lock(q.Lock);
  q.Arrived.wait(lock, [&] { return !q.Calls.empty() || Stop.load(); });
}

void wakeMainThreadWaiters() {
  TMainThreadQueue& q = mainQueue();
  { std::lock_guard<std::mutex> guard(q.Lock); }
  q.Arrived.notify_all();
}

int niceValue(TThreadPriority Priority) {
  static const int kNice[] = {19, 10, 5, 0, -5, -10, -20};
  if (Priority > tpNormal) return kNice[Priority];
  // Normal and below never make a thread more favoured than its process: a program started under
  // `nice` keeps its workers there, even with the privilege to raise them.
  errno = 0;
  const int process = getpriority(PRIO_PROCESS, id_t(getpid()));
  if (errno != 0) return kNice[Priority];
  return std::max(kNice[Priority], process);
}

}  // namespace

Cardinal GetCurrentThreadId() {
  return Cardinal(gettid());
}

bool IsMainThread() {
  const Cardinal mainId = MainThreadID ? MainThreadID : Cardinal(getpid());
  return GetCurrentThreadId() == mainId;
}

bool CheckSynchronize(Integer Timeout) {
  if (!IsMainThread()) throw EThread(printfText(SCheckSynchronizeError, GetCurrentThreadId()));
  TMainThreadQueue& q = mainQueue();
  std::unique_lock<std::mutex> lock(q.Lock);
  if (q.Calls.empty() && Timeout > 0)
    q.Arrived.wait_for(lock, std::chrono::milliseconds(Timeout), [&] { return !q.Calls.empty(); });
  if (q.Calls.empty()) return false;
  // Taken one at a time, so that a call may still remove later ones (RemoveQueuedEvents).
  const UInt64 last = q.NextSequence - 1;
  bool ran = false;
  while (!q.Calls.empty() && q.Calls.front()->Sequence <= last) {
    std::shared_ptr<TMainThreadCall> call = q.Calls.front();
    q.Calls.pop_front();
    if (q.Calls.empty()) q.clearWake();
    lock.unlock();
    ran = true;
    if (call->Waiting) {
      try {
        call->Method();
      } catch (...) {
        call->Error = std::current_exception();
      }
      lock.lock();
      call->Done = true;
      q.Completed.notify_all();
    } else {
      call->Method();  // its exception is the main thread's own
      lock.lock();
    }
  }
  return ran;
}

int MainThreadWakeFd() {
  return mainQueue().WakeFd;
}

void SetWakeMainThread(std::function<void()> Hook) {
  TMainThreadQueue& q = mainQueue();
  std::lock_guard<std::mutex> guard(q.Lock);
  q.WakeHook = std::move(Hook);
}

namespace {

std::function<void()>& mainThreadWaitHook() {
  static std::function<void()> hook;
  return hook;
}

}  // namespace

void ServeMainThreadWait() {
  if (!IsMainThread()) return;
  CheckSynchronize(0);
  // A copy: the hook may replace itself.
  if (std::function<void()> hook = mainThreadWaitHook()) hook();
}

void SetMainThreadWaitHook(std::function<void()> AHook) {
  mainThreadWaitHook() = std::move(AHook);
}

void WaitServingMainThread(TEvent& AEvent) {
  if (!IsMainThread()) {
    AEvent.WaitFor();
    return;
  }
  while (AEvent.WaitFor(20) == wrTimeout) ServeMainThreadWait();
}

// TThread

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {}

TThread::~TThread() {
  const bool self = FHandle.joinable() && FHandle.get_id() == std::this_thread::get_id();
  if (FStarted && !FDone && !self && !FFreeOnTerminate) {
    Terminate();
    WaitFor();
  }
  if (FHandle.joinable()) {
    if (self)
      FHandle.detach();
    else
      FHandle.join();
  }
  RemoveQueuedEvents(this);
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended && !FStarted) Start();
}

void TThread::Start() {
  if (FStarted.exchange(true)) throw EThread("Cannot call Start on a running or suspended thread");
  std::promise<void> go;
  std::promise<void> running;
  std::future<void> isRunning = running.get_future();
  try {
    FHandle = std::thread([this, goSignal = go.get_future(), runningSignal = std::move(running)]() mutable {
      goSignal.wait();  // FHandle is assigned before the thread may free itself
      FThreadID = GetCurrentThreadId();
      if (FPriority != tpNormal) ApplyPriority();
      runningSignal.set_value();
      ThreadProc();
    });
  } catch (const std::system_error& e) {
    FStarted = false;
    throw EThread(printfText(SThreadCreateError, e.what()));
  }
  go.set_value();
  isRunning.wait();
}

void TThread::ThreadProc() {
  try {
    if (!FTerminated) Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  const bool freeThread = FFreeOnTerminate;
  FFinished = true;
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  if (freeThread) {
    delete this;
    return;
  }
  {
    std::lock_guard<std::mutex> guard(FDoneLock);
    FDone = true;
    FDoneSignal.notify_all();
  }
  // From here on the owner may free this object; touch nothing of it.
  wakeMainThreadWaiters();
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

Integer TThread::WaitFor() {
  if (FHandle.joinable() && FHandle.get_id() == std::this_thread::get_id())
    throw EThread(printfText(SThreadError, std::strerror(EDEADLK), EDEADLK));
  if (FFreeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
  if (!FStarted) return FReturnValue;
  if (IsMainThread()) {
    while (!FDone)
      if (!CheckSynchronize(0)) waitForMainThreadWork(FDone);
  }
  std::unique_lock<std::mutex> lock(FDoneLock);
  FDoneSignal.wait(lock, [this] { return FDone.load(); });
  if (FHandle.joinable()) FHandle.join();
  return FReturnValue;
}

void TThread::SetPriority(TThreadPriority Value) {
  FPriority = Value;
  if (FThreadID != 0 && !FFinished) ApplyPriority();
}

void TThread::ApplyPriority() {
  // Refused when raising priority without the privilege: the thread keeps its level.
  (void)setpriority(PRIO_PROCESS, id_t(FThreadID.load()), niceValue(FPriority));
}

void TThread::Synchronize(TThread* /*AThread*/, TThreadMethod Method) {
  if (!Method) return;
  if (IsMainThread()) {
    Method();
    return;
  }
  auto call = std::make_shared<TMainThreadCall>();
  call->Method = std::move(Method);
  call->Waiting = true;
  postToMainThread(call);
  TMainThreadQueue& q = mainQueue();
  {
    std::unique_lock<std::mutex> lock(q.Lock);
    q.Completed.wait(lock, [&] { return call->Done; });
  }
  if (call->Error) std::rethrow_exception(call->Error);
}

void TThread::Queue(const void* AOwner, TThreadMethod Method) {
  if (!Method) return;
  if (IsMainThread()) {
    Method();
    return;
  }
  auto call = std::make_shared<TMainThreadCall>();
  call->Owner = AOwner;
  call->Method = std::move(Method);
  postToMainThread(call);
}

void TThread::RemoveQueuedEvents(const void* AOwner) {
  TMainThreadQueue& q = mainQueue();
  std::lock_guard<std::mutex> guard(q.Lock);
  if (q.Calls.empty()) return;
  std::erase_if(q.Calls, [&](const std::shared_ptr<TMainThreadCall>& call) {
    return !call->Waiting && call->Owner == AOwner;
  });
  if (q.Calls.empty()) q.clearWake();
}

// TEvent

void TEvent::SetEvent() {
  std::lock_guard<std::mutex> guard(FLock);
  FSignaled = true;
  if (FManualReset)
    FSignal.notify_all();
  else
    FSignal.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> guard(FLock);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal Timeout) {
  std::unique_lock<std::mutex> lock(FLock);
  auto signaled = [this] { return FSignaled; };
  if (Timeout == INFINITE)
    FSignal.wait(lock, signaled);
  else if (!FSignal.wait_for(lock, std::chrono::milliseconds(Timeout), signaled))
    return wrTimeout;
  if (!FManualReset) FSignaled = false;
  return wrSignaled;
}
