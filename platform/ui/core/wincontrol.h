// TWinControl: a control with a window of the platform, created lazily, with its child controls,
// alignment, focus, keyboard preprocessing and the painting of windowless children.
#pragma once

#include <vector>

#include "platform/ui/core/control.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/win/win.h"

// The control whose window is Handle.
TWinControl* FindControl(HWND Handle);

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  String ClassName() const override { return "TWinControl"; }

  // ---- the window ----
  // Created on first use (with the parents' windows); EInvalidOperation when a parent is missing.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  void RecreateWnd();
  void DestroyHandle();
  WNDPROC DefWndProc() const { return FDefWndProc; }
  void SetDefWndProc(WNDPROC Value) { FDefWndProc = Value; }

  // ---- children, in z-order (bottom first) ----
  Integer ControlCount() const { return Integer(FControls.size() + FWinControls.size()); }
  TControl* Controls(Integer Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // The topmost visible child at a client point (windowless ones only unless AllowWinControls).
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false);
  bool ContainsControl(TControl* Control) const;
  void Broadcast(TMessage& Message);
  void NotifyControls(Cardinal Msg);

  // ---- alignment ----
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }

  // ---- focus and tabs ----
  Integer TabOrder() const;
  void SetTabOrder(Integer Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  virtual bool CanFocus();
  bool Focused();
  // Focuses through the form; EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  // The tab order list of this control's descendants (depth first, by TabOrder).
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // ---- painting ----
  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  void PaintControls(HDC DC, TControl* First);
  void ScrollBy(Integer DeltaX, Integer DeltaY);
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  TRect GetClientRect() override;
  TPoint ClientOrigin() override;
  bool Showing() const override;
  void SetParentWindow(HWND Value) override;

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT ControlWndProc(HWND, UINT, WPARAM, LPARAM);

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  // Runs on the new window once it exists (before the children get theirs).
  virtual void CreateWindowCreated() {}

  void Loaded() override;
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) { (void)Rect; }
  virtual bool CustomAlignInsertBefore(TControl* C1, TControl* C2) { return C1->Top() < C2->Top(); }
  virtual void CustomAlignPosition(TControl* Control, Integer& NewLeft, Integer& NewTop, Integer& NewWidth,
                                   Integer& NewHeight, TRect& AlignRect) {
    (void)Control, (void)NewLeft, (void)NewTop, (void)NewWidth, (void)NewHeight, (void)AlignRect;
  }
  void AlignControl(TControl* AControl);
  void SetZOrder(bool TopMost) override;
  void UpdateBounds();
  void UpdateShowing();
  // A window without a parent that shows by itself (a form).
  virtual bool TopLevelWindow() const { return false; }
  HDC GetDeviceContext(HWND& WindowHandle) override;

  virtual void PaintWindow(HDC DC);
  virtual void PaintHandler(TMessage& Message);
  bool IsControlMouseMsg(TMessage& Message);
  // A notification from a child window (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM,
  // WM_CTLCOLOR*) goes back to the child's control as CN_* first; its answer is the result and the
  // parent's own handling does not run. False when no control of ours sent it.
  bool ReflectNotification(TMessage& Message);
  // Fits around the visible children: the right- and bottom-most edges of those that are not aligned
  // to the far side, plus the room right- and bottom-aligned ones take, plus the frame.
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

  // Keys: true when the key was taken (OnKeyDown consumed it or it became 0).
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual bool IsMenuKey(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();

  // ---- message handlers ----
  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMSysKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMSysKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMChildKey(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  void CMVisibleChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;        // windowless children, bottom first
  std::vector<TWinControl*> FWinControls;  // windowed children, bottom first
  std::vector<TWinControl*> FTabList;
  Integer FAlignLevel = 0;
  bool FTabStop = false;
  bool FShowing = false;
  bool FDoubleBuffered = false;
  bool FCreatingWindow = false;
  bool FAutoSizing = false;

 private:
  void insertIntoLists(TControl* AControl);
  void removeFromLists(TControl* AControl);
  void doAlign(TControl* AControl, TAlign AAlign, TRect& Rect);
  void anchorPosition(TControl* Control);
};

// The window of a control that is being created (its first messages arrive before the handle is
// known) and the procedure that routes a window's messages to its control.
LRESULT ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
