// TControl: bounds, alignment, anchors, constraints, visibility, text, font, colour, and the mouse and
// notification messages every control handles; the capture and the hint texts.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "platform/win/win.h"

class TControl;
class TWinControl;
class TPopupMenu;
class TCustomForm;
class TControlCanvas;

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

// The control under the capture, windowed or not (null when nothing of ours holds it).
TControl* GetCaptureControl();
// Captures the mouse for Control (a windowless one through its parent's window); null releases.
void SetCaptureControl(TControl* Control);
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
  // Sized by the control itself (to its text, picture or children; CanAutoSize says to what) whenever
  // its bounds are set; an aligned control keeps the size its alignment gives.
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

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
  // The size the control takes by itself; false when it has none to take now (the size asked stays).
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  // Applies the automatic size at once (its content changed).
  virtual void AdjustSize();
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
  bool FAutoSize = false;

 private:
  void doMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void doMouseUp(TMessage& Message, TMouseButton Button);
  void fontChanged(TObject* Sender);
};
