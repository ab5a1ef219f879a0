// Sending and posting, the queue and its retrieval order, the message loops, timers and the
// object instances that turn methods into window procedures.
#include <algorithm>
#include <array>
#include <condition_variable>
#include <utility>

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/threads.h"
#include "platform/win/window_internal.h"

// ---- delivery ----
LRESULT WinDeliver(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!WinIsLive(w)) return 0;
  TWinState& s = WS();
  if (!s.Hooks.empty()) {
    auto hooks = s.Hooks;
    for (auto& [id, hook] : hooks) hook(w, msg, wParam, lParam);
    if (!WinIsLive(w)) return 0;
  }
  WNDPROC proc = w->Proc;
  if (!proc) return 0;
  struct TDepth {
    Integer& d;
    explicit TDepth(Integer& x) : d(x) { ++d; }
    ~TDepth() { --d; }
  } depth(s.SendDepth);
  return proc(w, msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(wnd, msg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!IsMainThread()) {
    LRESULT r = 0;
    TThread::Synchronize(nullptr, [&] { r = SendMessage(wnd, msg, wParam, lParam); });
    return r;
  }
  if (wnd == HWND_BROADCAST) {
    std::vector<HWND> tops = WS().TopLevels;
    for (HWND t : tops) WinDeliver(t, msg, wParam, lParam);
    return 0;
  }
  return WinDeliver(wnd, msg, wParam, lParam);
}

bool InSendMessage() {
  return WS().SendDepth > 0;
}

bool SendNotifyMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!IsMainThread()) return PostMessage(wnd, msg, wParam, lParam);
  if (wnd != HWND_BROADCAST && !WinIsLive(wnd)) return false;
  SendMessage(wnd, msg, wParam, lParam);
  return true;
}

Integer WinAddCallWndProcHook(TCallWndProcHook hook) {
  TWinState& s = WS();
  Integer id = s.NextHookId++;
  s.Hooks.emplace_back(id, std::move(hook));
  return id;
}

void WinRemoveCallWndProcHook(Integer id) {
  auto& h = WS().Hooks;
  h.erase(std::remove_if(h.begin(), h.end(), [id](const auto& e) { return e.first == id; }), h.end());
}

// ---- posting ----
namespace {

// Queues of threads other than the main one, made at their first PeekMessage / GetMessage.
struct TThreadQueue {
  std::deque<MSG> Posted;
  bool QuitPending = false;
  Integer QuitCode = 0;
  std::condition_variable Signal;
};
std::mutex& threadQueuesLock() {
  static std::mutex m;
  return m;
}
std::map<DWORD, std::unique_ptr<TThreadQueue>>& threadQueues() {
  static std::map<DWORD, std::unique_ptr<TThreadQueue>> q;
  return q;
}

void wakeMain() {
  TWinState& s = WS();
  if (!IsMainThread() && s.Backend) s.Backend->WakeUp();
}

MSG makeMsg(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = wnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = WS().CursorPos.load();
  return m;
}

}  // namespace

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinState& s = WS();
  if (!wnd) return PostThreadMessage(GetCurrentThreadId(), msg, wParam, lParam);
  if (wnd == HWND_BROADCAST) {
    if (!IsMainThread()) {
      TThread::Queue(nullptr, [=] { PostMessage(HWND_BROADCAST, msg, wParam, lParam); });
      return true;
    }
    for (HWND t : s.TopLevels) PostMessage(t, msg, wParam, lParam);
    return true;
  }
  {
    std::lock_guard<std::mutex> guard(s.QueueLock);
    // Liveness is read under the queue lock from other threads; the set only changes on the main thread.
    if (IsMainThread() && !WinIsLive(wnd)) return false;
    s.Posted.push_back(makeMsg(wnd, msg, wParam, lParam));
  }
  wakeMain();
  return true;
}

bool PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinState& s = WS();
  if (threadId == MainThreadID) {
    {
      std::lock_guard<std::mutex> guard(s.QueueLock);
      s.Posted.push_back(makeMsg(nullptr, msg, wParam, lParam));
    }
    wakeMain();
    return true;
  }
  std::lock_guard<std::mutex> guard(threadQueuesLock());
  auto it = threadQueues().find(threadId);
  if (it == threadQueues().end()) return false;
  MSG m;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  it->second->Posted.push_back(m);
  it->second->Signal.notify_all();
  return true;
}

void PostQuitMessage(Integer exitCode) {
  if (!IsMainThread()) {
    std::lock_guard<std::mutex> guard(threadQueuesLock());
    auto& q = threadQueues()[GetCurrentThreadId()];
    if (!q) q = std::make_unique<TThreadQueue>();
    q->QuitPending = true;
    q->QuitCode = exitCode;
    return;
  }
  TWinState& s = WS();
  std::lock_guard<std::mutex> guard(s.QueueLock);
  s.QuitPending = true;
  s.QuitCode = exitCode;
}

// ---- timers ----
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  TWinState& s = WS();
  if (wnd && !WinIsLive(wnd)) return 0;
  elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, 0x7FFFFFFF);
  if (!wnd) {
    bool exists = std::any_of(s.Timers.begin(), s.Timers.end(),
                              [&](const TTimerEntry& t) { return !t.Wnd && t.Id == id && id != 0; });
    if (!exists) id = s.NextTimerId++;
  }
  UInt64 due = GetTickCount64() + elapse;
  for (TTimerEntry& t : s.Timers) {
    if (t.Wnd == wnd && t.Id == id) {
      t.Elapse = elapse;
      t.Proc = proc;
      t.Due = due;
      return wnd ? (id ? id : 1) : id;
    }
  }
  s.Timers.push_back({wnd, id, elapse, proc, due});
  return wnd ? (id ? id : 1) : id;
}

bool KillTimer(HWND wnd, UINT_PTR id) {
  auto& t = WS().Timers;
  auto it =
      std::find_if(t.begin(), t.end(), [&](const TTimerEntry& e) { return e.Wnd == wnd && e.Id == id; });
  if (it == t.end()) return false;
  t.erase(it);
  return true;
}

void WinRemoveTimersOf(HWND wnd) {
  auto& t = WS().Timers;
  t.erase(std::remove_if(t.begin(), t.end(), [&](const TTimerEntry& e) { return e.Wnd == wnd; }), t.end());
}

// ---- retrieval ----
namespace {

bool matchesWindow(HWND msgWnd, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(intptr_t(-1))) return msgWnd == nullptr;
  return msgWnd == filter || IsChild(filter, msgWnd);
}

bool matchesRange(UINT msg, UINT lo, UINT hi) {
  if (lo == 0 && hi == 0) return true;
  if (msg == WM_QUIT) return true;
  return msg >= lo && msg <= hi;
}

bool rangeTakesInput(UINT lo, UINT hi) {
  if (lo == 0 && hi == 0) return true;
  auto overlaps = [&](UINT a, UINT b) { return lo <= b && hi >= a; };
  return overlaps(WM_MOUSEFIRST, WM_MOUSELAST) || overlaps(WM_KEYFIRST, WM_KEYLAST) ||
         overlaps(WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK);
}

bool takePosted(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
  TWinState& s = WS();
  std::lock_guard<std::mutex> guard(s.QueueLock);
  for (auto it = s.Posted.begin(); it != s.Posted.end();) {
    if (it->hwnd && !WinIsLive(it->hwnd)) {
      it = s.Posted.erase(it);
      continue;
    }
    if (matchesWindow(it->hwnd, filter) && matchesRange(it->message, lo, hi)) {
      *out = *it;
      if (remove) s.Posted.erase(it);
      return true;
    }
    ++it;
  }
  return false;
}

TTimerEntry* dueTimer(HWND filter, UINT lo, UINT hi) {
  if (!matchesRange(WM_TIMER, lo, hi)) return nullptr;
  UInt64 now = GetTickCount64();
  TTimerEntry* best = nullptr;
  for (TTimerEntry& t : WS().Timers) {
    if (t.Due > now || !matchesWindow(t.Wnd, filter)) continue;
    if (t.Wnd && !WinIsLive(t.Wnd)) continue;
    if (!best || t.Due < best->Due) best = &t;
  }
  return best;
}

bool peekOtherThread(MSG* msg, UINT lo, UINT hi, bool remove) {
  std::lock_guard<std::mutex> guard(threadQueuesLock());
  auto& q = threadQueues()[GetCurrentThreadId()];
  if (!q) q = std::make_unique<TThreadQueue>();
  for (auto it = q->Posted.begin(); it != q->Posted.end(); ++it) {
    if (matchesRange(it->message, lo, hi)) {
      *msg = *it;
      if (remove) q->Posted.erase(it);
      return true;
    }
  }
  if (q->QuitPending) {
    *msg = MSG();
    msg->message = WM_QUIT;
    msg->wParam = WPARAM(q->QuitCode);
    if (remove) q->QuitPending = false;
    return true;
  }
  return false;
}

void recordRetrieved(const MSG& m) {
  TWinState& s = WS();
  s.LastMessagePos = DWORD(MAKELPARAM(m.pt.X, m.pt.Y));
  s.LastMessageTime = LONG(m.time);
}

}  // namespace

bool WinRunDeferredActions() {
  TWinState& s = WS();
  if (s.Deferred.empty()) return false;
  std::deque<std::function<void()>> batch;
  batch.swap(s.Deferred);
  for (auto& action : batch) action();
  return true;
}

void WinDeferAction(std::function<void()> action) {
  WS().Deferred.push_back(std::move(action));
}

bool PeekMessage(MSG* msg, HWND wnd, UINT lo, UINT hi, UINT removeFlags) {
  if (!msg) return false;
  bool remove = removeFlags & PM_REMOVE;
  if (!IsMainThread()) return peekOtherThread(msg, lo, hi, remove);
  TWinState& s = WS();
  WinRunDeferredActions();
  CheckSynchronize(0);
  Backend().WaitForEvents(0, MainThreadWakeFd());

  if (takePosted(msg, wnd, lo, hi, remove)) {
    recordRetrieved(*msg);
    return true;
  }
  if (!wnd && rangeTakesInput(lo, hi)) {
    while (!s.Input.empty()) {
      TRawInput in = s.Input.front();
      s.Input.pop_front();
      MSG cooked;
      if (!WinCookInput(in, &cooked)) continue;
      if (!remove || !matchesRange(cooked.message, lo, hi)) {
        std::lock_guard<std::mutex> guard(s.QueueLock);
        s.Posted.push_front(cooked);
      }
      if (!matchesRange(cooked.message, lo, hi)) continue;
      *msg = cooked;
      recordRetrieved(*msg);
      return true;
    }
  }
  {
    std::lock_guard<std::mutex> guard(s.QueueLock);
    if (s.QuitPending) {
      *msg = MSG();
      msg->message = WM_QUIT;
      msg->wParam = WPARAM(s.QuitCode);
      msg->time = GetTickCount();
      if (remove) s.QuitPending = false;
      return true;
    }
  }
  if (matchesRange(WM_PAINT, lo, hi)) {
    if (HWND p = WinFindPaintWindow(wnd)) {
      *msg = makeMsg(p, WM_PAINT, 0, 0);
      recordRetrieved(*msg);
      return true;
    }
  }
  if (TTimerEntry* t = dueTimer(wnd, lo, hi)) {
    *msg = makeMsg(t->Wnd, WM_TIMER, t->Id, reinterpret_cast<LPARAM>(t->Proc));
    if (remove) t->Due = GetTickCount64() + t->Elapse;
    recordRetrieved(*msg);
    return true;
  }
  return false;
}

void WinWaitForWork() {
  TWinState& s = WS();
  if (!s.Deferred.empty() || !s.Input.empty()) return;
  {
    std::lock_guard<std::mutex> guard(s.QueueLock);
    if (!s.Posted.empty() || s.QuitPending) return;
  }
  if (WinFindPaintWindow(nullptr)) return;
  Cardinal timeout = INFINITE;
  UInt64 now = GetTickCount64();
  for (const TTimerEntry& t : s.Timers) {
    UInt64 wait = t.Due > now ? t.Due - now : 0;
    timeout = Cardinal(std::min<UInt64>(timeout, wait));
  }
  Backend().WaitForEvents(timeout, MainThreadWakeFd());
}

bool GetMessage(MSG* msg, HWND wnd, UINT lo, UINT hi) {
  if (!msg) return false;
  if (!IsMainThread()) {
    for (;;) {
      if (peekOtherThread(msg, lo, hi, true)) return msg->message != WM_QUIT;
      std::unique_lock<std::mutex> lock(threadQueuesLock());
      auto& q = threadQueues()[GetCurrentThreadId()];
      q->Signal.wait(lock, [&] { return !q->Posted.empty() || q->QuitPending; });
    }
  }
  for (;;) {
    if (PeekMessage(msg, wnd, lo, hi, PM_REMOVE)) return msg->message != WM_QUIT;
    WinWaitForWork();
  }
}

bool WaitMessage() {
  if (!IsMainThread()) return false;
  WinWaitForWork();
  return true;
}

DWORD GetMessagePos() {
  return WS().LastMessagePos;
}
LONG GetMessageTime() {
  return WS().LastMessageTime;
}

// ---- translation and dispatch ----
namespace {

DWORD characterOfKey(Word vk) {
  const Byte* ks = WS().KeyState;
  bool shift = ks[VK_SHIFT] & 0x80;
  bool ctrl = ks[VK_CONTROL] & 0x80;
  bool alt = ks[VK_MENU] & 0x80;
  bool caps = ks[VK_CAPITAL] & 0x01;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl && !alt) return DWORD(vk - 'A' + 1);
    return (shift != caps) ? DWORD(vk) : DWORD(vk - 'A' + 'a');
  }
  if (ctrl && !alt) return 0;
  if (vk >= '0' && vk <= '9') return shift ? DWORD(")!@#$%^&*("[vk - '0']) : DWORD(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return DWORD('0' + (vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return 8;
    case VK_TAB:
      return '\t';
    case VK_MULTIPLY:
      return '*';
    case VK_ADD:
      return '+';
    case VK_SUBTRACT:
      return '-';
    case VK_DECIMAL:
      return '.';
    case VK_DIVIDE:
      return '/';
    case VK_OEM_1:
      return shift ? ':' : ';';
    case VK_OEM_PLUS:
      return shift ? '+' : '=';
    case VK_OEM_COMMA:
      return shift ? '<' : ',';
    case VK_OEM_MINUS:
      return shift ? '_' : '-';
    case VK_OEM_PERIOD:
      return shift ? '>' : '.';
    case VK_OEM_2:
      return shift ? '?' : '/';
    case VK_OEM_3:
      return shift ? '~' : '`';
    case VK_OEM_4:
      return shift ? '{' : '[';
    case VK_OEM_5:
      return shift ? '|' : '\\';
    case VK_OEM_6:
      return shift ? '}' : ']';
    case VK_OEM_7:
      return shift ? '"' : '\'';
    default:
      return 0;
  }
}

}  // namespace

bool TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
  DWORD ch = msg->lPrivate ? msg->lPrivate : characterOfKey(Word(msg->wParam));
  if (!ch) return false;
  MSG c = *msg;
  c.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  c.wParam = ch;
  c.lPrivate = 0;
  TWinState& s = WS();
  std::lock_guard<std::mutex> guard(s.QueueLock);
  s.Posted.push_front(c);
  return true;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    const auto& timers = WS().Timers;
    bool live = std::any_of(timers.begin(), timers.end(), [&](const TTimerEntry& t) {
      return t.Wnd == msg->hwnd && t.Id == msg->wParam && t.Proc == proc;
    });
    if (!live || (msg->hwnd && !WinIsLive(msg->hwnd))) return 0;
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd || !WinIsLive(msg->hwnd)) return 0;
  if (msg->message == WM_PAINT) {
    HWND w = msg->hwnd;
    Integer before = w->PaintChanges;
    LRESULT r = WinDeliver(w, WM_PAINT, msg->wParam, msg->lParam);
    // A handler that neither paints nor validates would get WM_PAINT for ever.
    if (WinIsLive(w) && w->PaintChanges == before && NeedsPaint(w)) {
      ValidateRect(w, nullptr);
      w->FrameNeeded = false;
      w->InternalPaint = false;
    }
    return r;
  }
  return WinDeliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// ---- loops ----
void SetApplicationMessageFilter(TMessageFilter filter) {
  WS().Filter = std::move(filter);
}

bool WinProcessMessage(bool* quit) {
  MSG m;
  if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) return false;
  if (m.message == WM_QUIT) {
    if (quit) {
      *quit = true;
      return true;
    }
    PostQuitMessage(Integer(m.wParam));
    return false;
  }
  TWinState& s = WS();
  if (s.Filter) {
    TMessageFilter filter = s.Filter;
    if (filter(m)) return true;
  }
  TranslateMessage(&m);
  DispatchMessage(&m);
  return true;
}

void WinProcessMessages() {
  for (;;) {
    bool quit = false;
    if (!WinProcessMessage(&quit)) return;
    if (quit) {
      PostQuitMessage(WS().QuitCode);
      return;
    }
  }
}

namespace {

// Every program with windows has this file linked: from start-up on, a wait of the main thread
// (stopping a worker, closing) keeps its windows answering.
const bool GMainThreadWaitServed = [] {
  SetMainThreadWaitHook(WinProcessMessages);
  return true;
}();

}  // namespace

void SetModalLoopHook(TModalLoopHook hook) {
  WS().ModalHook = std::move(hook);
}

void WinNotifyModalLoopStarted(HWND wnd) {
  TWinState& s = WS();
  if (s.ModalHook) {
    TModalLoopHook hook = s.ModalHook;
    hook(wnd);
  }
}

bool WinRunModalLoop(const std::function<bool()>& done, HWND owner) {
  WinNotifyModalLoopStarted(owner);
  while (!done()) {
    bool quit = false;
    if (WinProcessMessage(&quit)) {
      if (quit) {
        PostQuitMessage(WS().QuitCode);
        return false;
      }
      continue;
    }
    if (done()) break;
    WinWaitForWork();
  }
  return true;
}

void WinResetMessageState() {
  TWinState& s = WS();
  {
    std::lock_guard<std::mutex> guard(s.QueueLock);
    s.Posted.clear();
    s.QuitPending = false;
    s.QuitCode = 0;
  }
  s.Timers.clear();
  s.NextTimerId = 1;
  s.Deferred.clear();
}

// ---- object instances ----
namespace {

constexpr size_t ObjectInstanceCount = 4096;

struct TInstancePool {
  std::array<TWndMethod, ObjectInstanceCount> Methods;
  std::vector<size_t> Free;
  TInstancePool() {
    Free.reserve(ObjectInstanceCount);
    for (size_t i = ObjectInstanceCount; i > 0; --i) Free.push_back(i - 1);
  }
};

TInstancePool& pool() {
  static TInstancePool* p = new TInstancePool;  // window procedures may run during static destruction
  return *p;
}

template <size_t N>
LRESULT instanceProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // Copied: the method may free its own instance.
  TWndMethod method = pool().Methods[N];
  if (method) method(m);
  return m.Result;
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> instanceTable(std::index_sequence<I...>) {
  return {&instanceProc<I>...};
}

const std::array<WNDPROC, ObjectInstanceCount>& instances() {
  static const auto table = instanceTable(std::make_index_sequence<ObjectInstanceCount>());
  return table;
}

}  // namespace

WNDPROC MakeObjectInstance(TWndMethod method) {
  TInstancePool& p = pool();
  if (p.Free.empty()) throw EOutOfResources("Out of window procedure instances");
  size_t slot = p.Free.back();
  p.Free.pop_back();
  p.Methods[slot] = std::move(method);
  return instances()[slot];
}

void FreeObjectInstance(WNDPROC proc) {
  const auto& table = instances();
  auto it = std::find(table.begin(), table.end(), proc);
  if (it == table.end()) return;
  size_t slot = size_t(it - table.begin());
  TInstancePool& p = pool();
  if (!p.Methods[slot]) return;
  p.Methods[slot] = nullptr;
  p.Free.push_back(slot);
}
