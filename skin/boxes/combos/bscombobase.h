// What the closed skinned combo boxes share, whatever list drops down from them: the copies of the
// skin's combo box element, the layout of the button and the item area, the index the closed control
// shows, the hook in front of the open list's window, the press-drag-release that picks from the list
// with its auto-scroll timer, the key table and the default look's button and item. TPopup is the
// drop-down window (a TbsDropDownWindow); the virtual hooks are where the combo boxes differ.
#pragma once

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/core/bsskinrecordslists.h"

// The steps of the arrow and page keys, in this order (the combo boxes index tables by it).
// A key's move: with the list closed it changes the combo box's item (with its events); with the list
// open it only moves the list's highlight, which Enter then commits and Esc gives up.
enum class TbsComboStep { Up, Down, PageUp, PageDown, First, Last };

template <class TPopup>
class TbsComboBoxBase : public TbsSkinCustomControl {
 public:
  TbsComboBoxBase(TComponent* AOwner, Integer AHeight, bool AUseSkinSize, Integer ADropDownCount)
      : TbsSkinCustomControl(AOwner), FUseSkinSize(AUseSkinSize), FDropDownCount(ADropDownCount) {
    SetControlStyle(
        TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    SetTabStop(true);
    Font()->SetName("Tahoma");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(13);
    SetWidth(120);
    SetHeight(AHeight);
    FSkinDataName = "combobox";
    FListBox = new TPopup(this);
  }
  // Frees the drop-down list first.
  ~TbsComboBoxBase() override {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
    TPopup* List = FListBox;
    FListBox = nullptr;
    delete List;
  }

  Integer ItemIndex() const { return FListBox->ItemIndex(); }
  TCustomImageList* Images() const { return FListBox->Images(); }
  void SetImages(TCustomImageList* Value) {
    FListBox->SetImages(Value);
    if (Value) Value->FreeNotification(this);
  }
  TFont* ListBoxDefaultFont() const { return FListBox->DefaultFont(); }
  bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
  void SetListBoxUseSkinFont(bool Value) { FListBox->SetUseSkinFont(Value); }
  Integer DropDownCount() const { return FDropDownCount; }
  bool ToolButtonStyle() const { return FToolButtonStyle; }
  TColor DefaultColor() const { return FDefaultColor; }
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  Integer ListBoxWidth() const { return FListBoxWidth; }
  void SetListBoxWidth(Integer Value) { FListBoxWidth = Value; }
  bool HideSelection() const { return FHideSelection; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;

  virtual void Change() {}
  virtual void DropDown() = 0;
  // Hides the list; an accepted pick of a valid item goes to the combo box (acceptPick, OnClick,
  // Change), anything else gives the list back the index it had when it opened.
  void CloseUp(bool AcceptValue) {
    if (TimerMode != 0) StopTimer();
    if (!FListBox->Visible()) return;
    FListBox->Hide();
    const Integer I = FListBox->ItemIndex();
    if (I >= 0 && I < itemCount() && AcceptValue) {
      acceptPick(I);
      if (OnClick) OnClick(this);
      Change();
    } else {
      FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (OnCloseUp && closeUpNotifies(AcceptValue)) OnCloseUp(this);
  }
  bool IsPopupVisible() const { return FListBox->Visible(); }
  bool CanCancelDropDown() {
    if (!FListBox->Visible()) return false;
    TPoint P;
    GetCursorPos(&P);
    return WindowFromPoint(P) != Handle();
  }
  TPopup* ListBox() const { return FListBox; }
  const TbsCBButtonX& DropButton() const { return Button; }

  void GetSkinData() override;
  void CalcSize(Integer& W, Integer& H) override;
  void CalcRects() {
    TbsComboLayout L;
    L.Default = FIndex == -1 || FToolButtonStyle;
    L.UseSkinSize = FUseSkinSize;
    L.SkinRect = SkinRect;
    L.ClRect = ClRect;
    L.ButtonRect = ButtonRect;
    L.RightPartX = RTPt.X;
    CalcComboRects(L, Width(), Height(), Button, CBItem);
  }

 protected:
  static constexpr UINT_PTR ScrollTimerId = 1;
  static constexpr UINT ScrollInterval = 25;

  // ---- where the combo boxes differ ----
  // An inner edit box takes the focus and the item area's clicks.
  virtual bool hasInnerEdit() const { return false; }
  // Pointer moves while the left button is held: true when the list took the move (no button hover).
  virtual bool moveTracksList(Integer X, Integer Y) = 0;
  virtual void stepByKey(TbsComboStep Step) = 0;
  // Timer 1: one step up or down of the open list's own selection.
  virtual void autoScroll(bool Up) = 0;
  // An accepted pick of item Index, before OnClick and Change.
  virtual void acceptPick(Integer Index) = 0;
  // Whether a close-up that was or was not meant to accept fires OnCloseUp.
  virtual bool closeUpNotifies(bool AcceptValue) const = 0;
  // The pointer entered or left the control (FMouseIn is already set).
  virtual void hoverChanged() {}
  // Item Index of the default look, into the item bitmap's canvas C with text rectangle R.
  virtual void drawDefaultItemContents(TCanvas* C, Integer Index, const TRect& R, Integer W, Integer H) = 0;

  // Puts the open-list hook in front of Window, the list window whose clicks pick.
  void hookListWindow(TWinControl* Window) {
    FListWindow = Window;
    FListBoxWindowProc = Window->WindowProc;
    Window->WindowProc = [this](TMessage& Message) { ListBoxWindowProcHook(Message); };
  }
  // The first half of a drop-down: false without items; else the timer stops, OnDropDown fires and
  // the list takes its width.
  bool beginDropDown() {
    if (itemCount() == 0) return false;
    WasInLB = false;
    if (TimerMode != 0) StopTimer();
    if (OnDropDown) OnDropDown(this);
    FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
    return true;
  }
  // Remembers the shown index and marks the control dropped down.
  void markDroppedDown() {
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && itemCount() > 1) {
      // Selecting away and back brings the first row into view.
      FListBox->SetItemIndex(1);
      FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
  }
  // Starts or stops auto-scrolling for a pointer Y pixels below the top of the open list ListHeight
  // high; true when the pointer is over the list.
  bool trackListPoint(Integer Y, Integer ListHeight) {
    const bool CanScroll = FListBox->ScrollBar != nullptr && WasInLB;
    const Integer Mode = Y < 0 && CanScroll ? 1 : Y > ListHeight && CanScroll ? 2 : 0;
    if (Mode != 0) {
      if (Mode != TimerMode) {
        TimerMode = Mode;
        StartTimer();
      }
      return false;
    }
    if (Y < 0 || Y > ListHeight) return false;
    if (TimerMode != 0) StopTimer();
    return true;
  }
  void StartTimer() {
    if (!HandleAllocated()) return;
    KillTimer(Handle(), ScrollTimerId);
    SetTimer(Handle(), ScrollTimerId, ScrollInterval, nullptr);
  }
  void StopTimer() {
    if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
    TimerMode = 0;
  }
  Integer itemCount() const { return FListBox->Items()->Count(); }
  // The item drawn closed: the one of the opening while the list is open; -1 for none.
  Integer shownIndex() const {
    const Integer I = FListBox->Visible() ? FOldItemIndex : FListBox->ItemIndex();
    return I >= 0 && I < itemCount() ? I : -1;
  }
  // The character set of the shown text: the skin's strings' when it has them, else DefaultFont's.
  Byte textCharset() {
    if (FSD != nullptr && FSD->ResourceStrData() != nullptr) return FSD->ResourceStrData()->CharSet();
    return FDefaultFont->Charset();
  }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && FListBox != nullptr && AComponent == FListBox->Images())
      FListBox->SetImages(nullptr);
  }
  void DefaultFontChanged() override { Font()->Assign(FDefaultFont.get()); }
  void SetControlRegion() override {
    if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
  }
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override {
    TbsSkinCustomControl::WMSetFocus(Message);
    Repaint();
  }
  void WMKillFocus(TMessage& Message) override {
    TbsSkinCustomControl::WMKillFocus(Message);
    if (FListBox->Visible() && !hasInnerEdit()) CloseUp(false);
    Repaint();
  }
  void WMSize(TMessage& Message) override {
    TbsSkinCustomControl::WMSize(Message);
    CalcRects();
  }
  void WMEraseBkgnd(TMessage& Message) override;

  // The button by its state: the default look's, or the skin's state picture over the background.
  void DrawButton(TCanvas* C);
  // The default look's item on DefaultColor, or on the highlight when focused.
  void DrawDefaultItem(TCanvas* C);

  bool FDropDown = false;
  bool FToolButtonStyle = false;
  TColor FDefaultColor = clWindow;
  bool FUseSkinSize;
  bool WasInLB = false;
  Integer TimerMode = 0;
  Integer FListBoxWidth = 0;
  bool FHideSelection = true;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 0;
  bool FMouseIn = false;
  Integer FOldItemIndex = -1;
  Integer FDropDownCount;
  // A left press that can end in a pick from the list is in progress.
  bool FLBDown = false;
  TPopup* FListBox = nullptr;
  TWndMethod FListBoxWindowProc;
  TbsCBItem CBItem;
  TbsCBButtonX Button;

  // Copies of the skin's combo box element.
  TRect ActiveSkinRect{};
  TColor ActiveFontColor = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TRect SItemRect{}, FocusItemRect{}, ActiveItemRect{};
  Integer ItemLeftOffset = 0, ItemRightOffset = 0;
  TRect ItemTextRect{};
  TColor FontColor = 0, FocusFontColor = 0;
  TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
  String ListBoxName;
  bool ItemStretchEffect = false, FocusItemStretchEffect = false;
  bool ShowFocus = false;

 private:
  void ListBoxWindowProcHook(TMessage& Message);

  // The hooked list window.
  TWinControl* FListWindow = nullptr;
};

template <class TPopup>
void TbsComboBoxBase<TPopup>::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* El = dynamic_cast<TbsDataSkinComboBox*>(FSD->Ctrls(FIndex));
  if (El == nullptr) return;
  ActiveSkinRect = El->ActiveSkinRect;
  ActiveFontColor = El->ActiveFontColor;
  FontName = El->FontName;
  FontStyle = El->FontStyle;
  FontHeight = El->FontHeight;
  SItemRect = El->SItemRect;
  FocusItemRect = IsEmptyRect(El->FocusItemRect) ? El->SItemRect : El->FocusItemRect;
  ActiveItemRect = El->ActiveItemRect;
  ItemLeftOffset = El->ItemLeftOffset;
  ItemRightOffset = El->ItemRightOffset;
  ItemTextRect = El->ItemTextRect;
  FontColor = El->FontColor;
  FocusFontColor = El->FocusFontColor;
  ButtonRect = El->ButtonRect;
  ActiveButtonRect = El->ActiveButtonRect;
  DownButtonRect = El->DownButtonRect;
  UnEnabledButtonRect = El->UnEnabledButtonRect;
  ListBoxName = El->ListBoxName;
  ItemStretchEffect = El->ItemStretchEffect;
  FocusItemStretchEffect = El->FocusItemStretchEffect;
  ShowFocus = El->ShowFocus;
}

// With UseSkinSize the element's geometry (the height follows it); otherwise width and height are free
// and only the right-hand part follows the width.
template <class TPopup>
void TbsComboBoxBase<TPopup>::CalcSize(Integer& W, Integer& H) {
  if (FUseSkinSize) {
    TbsSkinCustomControl::CalcSize(W, H);
    return;
  }
  if (FIndex == -1) return;
  const Integer DW = W - RectWidth(SkinRect);
  NewLTPoint = LTPt;
  NewRTPoint = Point(RTPt.X + DW, RTPt.Y);
  NewClRect = ClRect;
  NewClRect.Right += DW;
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::ListBoxWindowProcHook(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      // The release reaches the combo box, which accepts it when it happens over the list.
      FLBDown = true;
      WasInLB = true;
      SetCapture(Handle());
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      FListBoxWindowProc(Message);
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      FListBoxWindowProc(Message);
  }
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::MouseDown(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(AButton, Shift, X, Y);
  if (!Focused() && !hasInnerEdit() && CanFocus()) SetFocus();
  if (AButton != mbLeft) return;
  const TPoint P = Point(X, Y);
  if (Button.MouseIn || (!hasInnerEdit() && PtInRect(&CBItem.R, P)) || FToolButtonStyle) {
    Button.Down = true;
    Repaint();
    if (FListBox->Visible()) {
      CloseUp(false);
    } else {
      WasInLB = false;
      FLBDown = true;
      DropDown();
    }
  } else if (FListBox->Visible()) {
    CloseUp(false);
  }
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (moveTracksList(X, Y)) return;
  const bool In = PtInRect(&Button.R, Point(X, Y));
  if (In != Button.MouseIn) {
    Button.MouseIn = In;
    Repaint();
  }
}

// A release after a press in the list, or after the pointer entered it, accepts exactly when it
// happens over the list.
template <class TPopup>
void TbsComboBoxBase<TPopup>::MouseUp(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  if (FLBDown && WasInLB) {
    ReleaseCapture();
    FLBDown = false;
    TPoint P;
    GetCursorPos(&P);
    CloseUp(FListWindow->HandleAllocated() && WindowFromPoint(P) == FListWindow->Handle());
  } else {
    FLBDown = false;
  }
  TbsSkinCustomControl::MouseUp(AButton, Shift, X, Y);
  if (Button.Down) {
    Button.Down = false;
    Repaint();
  }
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  const bool Alt = Shift.Contains(ssAlt);
  switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
      if (FListBox->Visible()) {
        CloseUp(Key == VK_RETURN);
        Key = 0;
      }
      break;
    case VK_PRIOR:
      stepByKey(TbsComboStep::PageUp);
      break;
    case VK_NEXT:
      stepByKey(TbsComboStep::PageDown);
      break;
    case VK_HOME:
      stepByKey(TbsComboStep::First);
      break;
    case VK_END:
      stepByKey(TbsComboStep::Last);
      break;
    case VK_LEFT:
    case VK_UP:
      if (!Alt)
        stepByKey(TbsComboStep::Up);
      else if (FListBox->Visible())
        CloseUp(false);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (!Alt)
        stepByKey(TbsComboStep::Down);
      else if (!FListBox->Visible())
        DropDown();
      break;
    default:
      break;
  }
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (TimerMode == 1)
        autoScroll(true);
      else if (TimerMode == 2)
        autoScroll(false);
      return;
    case CM_WANTSPECIALKEY:
      switch (Message.WParam) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
          Message.Result = 1;
          return;
        case VK_RETURN:
        case VK_ESCAPE:
          // An open list closes with them; the dialog's default and cancel buttons wait.
          if (FListBox->Visible()) {
            Message.Result = 1;
            return;
          }
          TbsSkinCustomControl::Dispatch(Message);
          return;
        default:
          TbsSkinCustomControl::Dispatch(Message);
          return;
      }
    default:
      TbsSkinCustomControl::Dispatch(Message);
  }
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::CMMouseEnter(TMessage& Message) {
  TbsSkinCustomControl::CMMouseEnter(Message);
  if (designing()) return;
  FMouseIn = true;
  hoverChanged();
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (designing()) return;
  FMouseIn = false;
  if (Button.MouseIn) {
    Button.MouseIn = false;
    Repaint();
  }
  hoverChanged();
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

// Paints the control into the erase context, unless the paint comes from WM_PAINT.
template <class TPopup>
void TbsComboBoxBase<TPopup>::WMEraseBkgnd(TMessage& Message) {
  if (FromWMPaint || Message.WParam == 0 || Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  this->CreateControlImage(&B);
  BitBlt(HDC(Message.WParam), 0, 0, Width(), Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::DrawButton(TCanvas* C) {
  if (FIndex == -1 || FToolButtonStyle) {
    DrawDefaultDropButton(C, Button, Enabled());
    return;
  }
  TRect State{};
  if (!Enabled() && !IsEmptyRect(UnEnabledButtonRect))
    State = UnEnabledButtonRect;
  else if (Button.Down && Button.MouseIn)
    State = DownButtonRect;
  else if (Button.MouseIn)
    State = ActiveButtonRect;
  if (!IsEmptyRect(State) && Picture != nullptr) C->CopyRect(Button.R, Picture->Canvas(), State);
}

template <class TPopup>
void TbsComboBoxBase<TPopup>::DrawDefaultItem(TCanvas* C) {
  if (RectWidth(CBItem.R) <= 0) return;
  TBitmap B;
  B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
  TCanvas* BC = B.Canvas();
  BC->Font()->SetName(Font()->Name());
  BC->Font()->SetStyle(Font()->Style());
  BC->Font()->SetHeight(Font()->Height());
  BC->Font()->SetCharset(textCharset());
  const bool Focus = Focused();
  BC->Brush()->SetColor(Focus ? clHighlight : FDefaultColor);
  BC->Font()->SetColor(Focus ? clHighlightText : FDefaultFont->Color());
  BC->FillRect(Rect(0, 0, B.Width(), B.Height()));
  CBItem.State = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  if (const Integer I = shownIndex(); I != -1)
    drawDefaultItemContents(BC, I, Rect(2, 0, B.Width() - 2, B.Height()), B.Width(), B.Height());
  C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}
