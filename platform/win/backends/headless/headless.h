// The headless backend: top-level windows live in-process only. It keeps the native side's view of
// them (bounds, visibility, stacking, shape, opacity) and records what the layer pushes, for tests.
#pragma once

#include <map>
#include <vector>

#include "platform/win/backend.h"

class THeadlessBackend : public TWindowBackend {
 public:
  struct TNativeState {
    TRect Bounds;
    bool Visible = false;
    Integer State = 0;
    String Title;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    bool HasShape = false;
    std::vector<TRect> Shape;  // window coordinates
    uintptr_t NativeChild = 0;
    std::vector<TNativeIconImage> Icon;
  };
  struct TLayeredRecord {
    HWND Wnd = nullptr;
    TLayeredPush Push;
    std::vector<uint32_t> Pixels;  // the surface's B, G, R, A words at the push, row by row
  };
  struct TShapeRecord {
    HWND Wnd = nullptr;
    bool HasShape = false;
    std::vector<TRect> Rects;
  };
  struct TPresentRecord {
    HWND Wnd = nullptr;
    TRect Dirty;
  };

  THeadlessBackend();
  ~THeadlessBackend() override;
  const char* Name() const override { return "headless"; }

  void CreateNativeWindow(HWND wnd, const TNativeWindowInfo& info) override;
  void DestroyNativeWindow(HWND wnd) override;
  void ShowNativeWindow(HWND wnd, bool visible) override;
  void MoveNativeWindow(HWND wnd, const TRect& bounds) override;
  void RestackNativeWindow(HWND wnd, HWND above) override;
  void SetNativeTitle(HWND wnd, const String& title) override;
  void SetNativeStyle(HWND wnd, DWORD style, DWORD exStyle) override;
  void ActivateNativeWindow(HWND wnd) override;
  void SetNativeState(HWND wnd, Integer state) override;
  void SetNativeIcon(HWND wnd, const std::vector<TNativeIconImage>& images) override;
  void GetScreenArea(TRect* screen, TRect* workArea) override;
  void PresentSurface(HWND wnd, HBITMAP surface, const TRect& dirty) override;
  void SetNativeShape(HWND wnd, HRGN shape) override;
  void PresentLayered(HWND wnd, HBITMAP surface, const TLayeredPush& push) override;
  TPoint GetNativeCursorPos() override { return FCursor; }
  void SetNativeCursorPos(TPoint screen) override { FCursor = screen; }
  void SetNativeCapture(HWND wnd) override { FCapture = wnd; }
  void SetNativeCursor(uintptr_t cursorId) override { FCursorId = cursorId; }
  // With the fake clock installed a finite wait moves the clock on by its timeout (idle time passes
  // at once). An unlimited wait watches the wake descriptor; when nothing wakes it within IdleLimit
  // real milliseconds it raises EInvalidOperation, so a test that waits for nothing fails instead of
  // hanging.
  bool WaitForEvents(Cardinal timeoutMs, int wakeFd) override;
  void WakeUp() override;
  uintptr_t CreateNativeChild(HWND wnd, HWND topLevel, const TRect& boundsInTopLevel) override;
  void PlaceNativeChild(HWND wnd, const TRect& boundsInTopLevel, bool visible) override;
  void DestroyNativeChild(HWND wnd) override;

  // ---- what tests read ----
  const TNativeState* Native(HWND wnd) const;
  std::vector<HWND> NativeStack() const;  // top first
  HWND NativeActive() const { return FActive; }
  HWND NativeCapture() const { return FCapture; }
  uintptr_t NativeCursorId() const { return FCursorId; }
  const std::vector<TLayeredRecord>& LayeredPushes() const { return FLayered; }
  const std::vector<TShapeRecord>& ShapeChanges() const { return FShapes; }
  const std::vector<TPresentRecord>& Presents() const { return FPresents; }
  void ClearRecords();
  Cardinal IdleLimit() const { return FIdleLimit; }
  void SetIdleLimit(Cardinal realMs) { FIdleLimit = realMs; }
  // The screen this backend reports (the profile's by default); the layer reads it when the backend
  // is installed and when it is reset.
  void SetScreenArea(const TRect& screen, const TRect& workArea);

 private:
  std::map<HWND, TNativeState> FWindows;
  std::vector<HWND> FStack;
  HWND FActive = nullptr;
  HWND FCapture = nullptr;
  TPoint FCursor;
  uintptr_t FCursorId = 0;
  uintptr_t FNextChildId = 0x1000;
  std::vector<TLayeredRecord> FLayered;
  std::vector<TShapeRecord> FShapes;
  std::vector<TPresentRecord> FPresents;
  Cardinal FIdleLimit = 20000;
  int FWakeFd = -1;
  TRect FScreen{0, 0, ScreenWidth, ScreenHeight};
  TRect FWorkArea{0, 0, ScreenWidth, ScreenHeight - 40};
};

// The installed backend when it is the headless one, else null.
THeadlessBackend* HeadlessBackend();
