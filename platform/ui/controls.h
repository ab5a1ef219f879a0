// The control framework: TControl (bounds, alignment, anchors, constraints, visibility, text, font,
// colour, mouse and key events), TWinControl (a window of the platform, created lazily, with its
// child controls, focus, keyboard preprocessing and painting of windowless children),
// TGraphicControl (windowless, painted by its parent) and TCustomControl (windowed with a canvas).
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/rtl/classes.h"
#include "platform/ui/graphics.h"
#include "platform/win/win.h"

// A small set over an enumeration with at most 64 members (the class library's "set of").
template <typename E>
class TSetOf {
 public:
  constexpr TSetOf() = default;
  constexpr TSetOf(std::initializer_list<E> items) {
    for (auto i : items) FBits |= bit(i);
  }
  constexpr bool Contains(E i) const { return (FBits & bit(i)) != 0; }
  constexpr void Include(E i) { FBits |= bit(i); }
  constexpr void Exclude(E i) { FBits &= ~bit(i); }
  constexpr bool Empty() const { return FBits == 0; }
  friend constexpr TSetOf operator+(TSetOf a, TSetOf b) { return fromBits(a.FBits | b.FBits); }
  friend constexpr TSetOf operator-(TSetOf a, TSetOf b) { return fromBits(a.FBits & ~b.FBits); }
  friend constexpr TSetOf operator*(TSetOf a, TSetOf b) { return fromBits(a.FBits & b.FBits); }
  friend constexpr bool operator==(TSetOf, TSetOf) = default;

 private:
  static constexpr uint64_t bit(E i) { return uint64_t(1) << static_cast<int>(i); }
  static constexpr TSetOf fromBits(uint64_t bits) {
    TSetOf s;
    s.FBits = bits;
    return s;
  }
  uint64_t FBits = 0;
};

// ---- shared vocabulary ----
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSetOf<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSetOf<TAnchorKind>;

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSetOf<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
  csPaletteChange
};
using TControlState = TSetOf<TControlStateItem>;

// Cursor numbers of the class library (negative: the stock cursors).
using TCursor = Integer;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;

// Modal results.
using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

TShiftState KeysToShiftState(WPARAM Keys);        // MK_ flags of a mouse message
TShiftState KeyDataToShiftState(LPARAM KeyData);  // the key state as of the message
TShiftState GetShiftState();                      // the same, without a message

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TCanResizeEvent =
    std::function<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;

class TControl;
class TWinControl;
class TPopupMenu;
class TCustomForm;

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
 public:
  explicit TSizeConstraints(TControl* Control) : FControl(Control) {}
  String ClassName() const override { return "TSizeConstraints"; }
  void Assign(TPersistent* Source) override;

  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value);
  Integer MinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer Value);
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value);
  Integer MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(Integer Value);

  // Applies the limits to a proposed size.
  void Constrain(Integer& Width, Integer& Height) const;
  TNotifyEvent OnChange;

 private:
  void changed();
  TControl* FControl;
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// A canvas on a control: its DC is the control's own (windowed) or its parent's, moved and clipped to
// the control (windowless). A DC taken outside painting is released by FreeHandle or at idle time.
class TControlCanvas : public TCanvas {
 public:
  ~TControlCanvas() override;
  String ClassName() const override { return "TControlCanvas"; }
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();
  // Releases every DC that control canvases took outside painting.
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// The control under the capture, windowed or not (null when nothing of ours holds it).
TControl* GetCaptureControl();
// Captures the mouse for Control (a windowless one through its parent's window); null releases.
void SetCaptureControl(TControl* Control);
// The control whose window is Handle.
TWinControl* FindControl(HWND Handle);
// The deepest control at a screen point.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// The form a control lies on (the top of its parent chain when that is a form), or null.
TCustomForm* GetParentForm(TControl* Control);
// Part of a hint before "|" and after it (the whole hint when there is none).
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  String ClassName() const override { return "TControl"; }

  // ---- tree ----
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  HWND ParentWindow() const { return FParentWindow; }
  virtual void SetParentWindow(HWND Value) { FParentWindow = Value; }

  // ---- messages ----
  // The message entry of the control; replaceable (subclassing), WndProc by default.
  TWndMethod WindowProc;
  LRESULT Perform(Cardinal Msg, WPARAM WParam, LPARAM LParam);
  virtual void WndProc(TMessage& Message);
  // Hands a message to its handler method; unknown messages go to DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // ---- bounds ----
  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(Integer Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(Integer Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(Integer Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect GetClientRect();
  TRect ClientRect() { return GetClientRect(); }
  Integer ClientWidth() { return ClientRect().Right; }
  Integer ClientHeight() { return ClientRect().Bottom; }
  void SetClientWidth(Integer Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(Integer Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(Integer AWidth, Integer AHeight);
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(TPoint P);
  TPoint ScreenToClient(TPoint P);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }

  // ---- state ----
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show();
  void Hide();
  // Visible here and in every parent up to a window without a parent.
  virtual bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  String Caption() const { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  String Text() const { return GetText(); }
  void SetText(const String& Value);

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // ---- painting ----
  virtual void Invalidate();
  virtual void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // ---- actions ----
  virtual void Click();
  virtual void DblClick();

  // ---- events ----
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;

 protected:
  friend class TWinControl;
  friend class TApplication;
  friend class TControlCanvas;

  virtual String GetText() const { return FText; }
  virtual void SetZOrder(bool TopMost);
  virtual void Changed() {}
  virtual void Resize();
  virtual void RequestAlign();
  virtual void VisibleChanging() {}
  // The DC the control draws on outside painting; WindowHandle receives the window it belongs to.
  virtual HDC GetDeviceContext(HWND& WindowHandle);
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void UpdateAnchorRules();
  void SendCancelMode(TControl* Sender);
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
  // Brings a requested size within the constraints and past CanResize; false when the bounds end up
  // as they are, so there is nothing to do.
  bool adjustBounds(Integer ALeft, Integer ATop, Integer& AWidth, Integer& AHeight);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  // ---- message handlers ----
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonDblClk(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMHintShow(TMessage& Message) { DefaultHandler(Message); }

  TWinControl* FParent = nullptr;
  HWND FParentWindow = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TRect FAnchorRules;         // distances to the parent's client edges when the anchors were taken
  TSize FOriginalParentSize;  // the parent's client size at that moment
  bool FAnchorMove = false;   // bounds set by the parent's alignment
  std::unique_ptr<TSizeConstraints> FConstraints;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  bool FVisible = true;
  bool FEnabled = true;
  String FText;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TPopupMenu* FPopupMenu = nullptr;
  bool FDestroyingControl = false;

 private:
  void doMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void doMouseUp(TMessage& Message, TMouseButton Button);
  void fontChanged(TObject* Sender);
};

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  String WinClassName;
};

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

 private:
  void insertIntoLists(TControl* AControl);
  void removeFromLists(TControl* AControl);
  void doAlign(TControl* AControl, TAlign AAlign, TRect& Rect);
  void anchorPosition(TControl* Control);
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  String ClassName() const override { return "TGraphicControl"; }
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void Dispatch(TMessage& Message) override;
  virtual void Paint() {}
  virtual void WMPaint(TMessage& Message);

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  String ClassName() const override { return "TCustomControl"; }
  TCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// The window of a control that is being created (its first messages arrive before the handle is
// known) and the procedure that routes a window's messages to its control.
LRESULT ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- the hint window ----
// The tooltip window of the application's hint machinery; replaceable through HintWindowClass.
class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);
  String ClassName() const override { return "THintWindow"; }

  // Shows Hint in Rect (screen coordinates), topmost, without taking the activation.
  virtual void ActivateHint(TRect Rect, const String& AHint);
  // The size a hint needs (at (0, 0)), text wrapped at MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint);
  // Hides the window and forgets its handle.
  virtual void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // Visible shows and hides the window by itself, without taking the activation.
  bool TopLevelWindow() const override { return true; }
};

using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
// The class the application makes its hint window from; the skin library replaces it.
extern THintWindowClass HintWindowClass;
