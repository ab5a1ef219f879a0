#include "platform/win/backends/headless/headless.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/threads.h"

THeadlessBackend::THeadlessBackend() {
  FWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

THeadlessBackend::~THeadlessBackend() {
  if (FWakeFd >= 0) close(FWakeFd);
}

THeadlessBackend* HeadlessBackend() {
  return dynamic_cast<THeadlessBackend*>(&WinBackend());
}

std::unique_ptr<TWindowBackend> CreateHeadlessBackend() {
  return std::make_unique<THeadlessBackend>();
}

void THeadlessBackend::CreateNativeWindow(HWND wnd, const TNativeWindowInfo& info) {
  TNativeState& s = FWindows[wnd];
  s.Bounds = info.Bounds;
  s.Title = info.Title;
  s.Style = info.Style;
  s.ExStyle = info.ExStyle;
  FStack.insert(FStack.begin(), wnd);
}

void THeadlessBackend::DestroyNativeWindow(HWND wnd) {
  FWindows.erase(wnd);
  FStack.erase(std::remove(FStack.begin(), FStack.end(), wnd), FStack.end());
  if (FActive == wnd) FActive = nullptr;
  if (FCapture == wnd) FCapture = nullptr;
}

void THeadlessBackend::ShowNativeWindow(HWND wnd, bool visible) {
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) it->second.Visible = visible;
}

void THeadlessBackend::MoveNativeWindow(HWND wnd, const TRect& bounds) {
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) it->second.Bounds = bounds;
}

void THeadlessBackend::RestackNativeWindow(HWND wnd, HWND above) {
  FStack.erase(std::remove(FStack.begin(), FStack.end(), wnd), FStack.end());
  auto at = above ? std::find(FStack.begin(), FStack.end(), above) : FStack.end();
  FStack.insert(at == FStack.end() ? FStack.begin() : at + 1, wnd);
}

void THeadlessBackend::SetNativeTitle(HWND wnd, const String& title) {
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) it->second.Title = title;
}

void THeadlessBackend::SetNativeStyle(HWND wnd, DWORD style, DWORD exStyle) {
  auto it = FWindows.find(wnd);
  if (it == FWindows.end()) return;
  it->second.Style = style;
  it->second.ExStyle = exStyle;
}

void THeadlessBackend::ActivateNativeWindow(HWND wnd) {
  FActive = wnd;
}

void THeadlessBackend::SetNativeState(HWND wnd, Integer state) {
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) it->second.State = state;
}

void THeadlessBackend::SetNativeIcon(HWND wnd, const std::vector<TNativeIconImage>& images) {
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) it->second.Icon = images;
}

void THeadlessBackend::GetScreenArea(TRect* screen, TRect* workArea) {
  *screen = FScreen;
  *workArea = FWorkArea;
}

void THeadlessBackend::SetScreenArea(const TRect& screen, const TRect& workArea) {
  FScreen = screen;
  FWorkArea = workArea;
  if (HeadlessBackend() == this) WinNativeScreenChanged();
}

void THeadlessBackend::PresentSurface(HWND wnd, HBITMAP, const TRect& dirty) {
  FPresents.push_back({wnd, dirty});
}

void THeadlessBackend::SetNativeShape(HWND wnd, HRGN shape) {
  TShapeRecord rec;
  rec.Wnd = wnd;
  rec.HasShape = shape != nullptr;
  if (shape) {
    DWORD size = GetRegionData(shape, 0, nullptr);
    std::vector<char> buf(size);
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    if (size && GetRegionData(shape, size, data) == size) {
      const auto* rects = reinterpret_cast<const TRect*>(data->Buffer);
      rec.Rects.assign(rects, rects + data->rdh.nCount);
    }
  }
  auto it = FWindows.find(wnd);
  if (it != FWindows.end()) {
    it->second.HasShape = rec.HasShape;
    it->second.Shape = rec.Rects;
  }
  FShapes.push_back(std::move(rec));
}

void THeadlessBackend::PresentLayered(HWND wnd, HBITMAP surface, const TLayeredPush& push) {
  TLayeredRecord rec;
  rec.Wnd = wnd;
  rec.Push = push;
  BITMAP bm;
  if (surface && GetObject(surface, sizeof(bm), &bm) && bm.bmBits && bm.bmBitsPixel == 32) {
    const auto* px = static_cast<const uint32_t*>(bm.bmBits);
    rec.Pixels.assign(px, px + size_t(bm.bmWidth) * size_t(std::abs(bm.bmHeight)));
  }
  FLayered.push_back(std::move(rec));
}

bool THeadlessBackend::WaitForEvents(Cardinal timeoutMs, int wakeFd) {
  auto drain = [this] {
    uint64_t v;
    return read(FWakeFd, &v, sizeof(v)) == sizeof(v);
  };
  pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
  int count = wakeFd >= 0 ? 2 : 1;
  if (poll(fds, nfds_t(count), 0) > 0) {
    drain();
    return true;
  }
  if (timeoutMs == 0) return false;
  if (timeoutMs != INFINITE && CurrentClock()) {
    // Idle time passes at once on the fake clock.
    CurrentClock()->Sleep(timeoutMs);
    return false;
  }
  int wait = timeoutMs == INFINITE ? int(FIdleLimit) : int(timeoutMs);
  int got = poll(fds, nfds_t(count), wait);
  if (got > 0) {
    drain();
    return true;
  }
  if (timeoutMs == INFINITE) {
    throw EInvalidOperation("The headless backend waited without anything that could wake it");
  }
  return false;
}

void THeadlessBackend::WakeUp() {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(FWakeFd, &one, sizeof(one));
}

uintptr_t THeadlessBackend::CreateNativeChild(HWND wnd, HWND, const TRect&) {
  uintptr_t id = FNextChildId++;
  FWindows[wnd].NativeChild = id;
  return id;
}

void THeadlessBackend::PlaceNativeChild(HWND wnd, const TRect& boundsInTopLevel, bool visible) {
  auto it = FWindows.find(wnd);
  if (it == FWindows.end()) return;
  it->second.Bounds = boundsInTopLevel;
  it->second.Visible = visible;
}

void THeadlessBackend::DestroyNativeChild(HWND wnd) {
  FWindows.erase(wnd);
}

const THeadlessBackend::TNativeState* THeadlessBackend::Native(HWND wnd) const {
  auto it = FWindows.find(wnd);
  return it == FWindows.end() ? nullptr : &it->second;
}

std::vector<HWND> THeadlessBackend::NativeStack() const {
  return FStack;
}

void THeadlessBackend::ClearRecords() {
  FLayered.clear();
  FShapes.clear();
  FPresents.clear();
}
