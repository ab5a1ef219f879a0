#include "skin/boxes/office/bsskinofficecombobox.h"

#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bssystem.h"

namespace {
constexpr UINT_PTR ScrollTimer = 1;
constexpr UINT AutoScrollInterval = 25;
}  // namespace

// ---- TbsPopupOfficeListBox ----

TbsSkinCustomOfficeComboBox* TbsPopupOfficeListBox::combo() const {
  return dynamic_cast<TbsSkinCustomOfficeComboBox*>(Owner());
}

void TbsPopupOfficeListBox::Show(TPoint Origin) {
  TbsSkinCustomOfficeComboBox* Combo = combo();
  HWND Wnd = Handle();
  if (Combo != nullptr)
    ApplyDropDownAlpha(Wnd, Combo->AlphaBlend(), Combo->AlphaBlendAnimation(), Combo->AlphaBlendValue(),
                       FOldAlphaBlend, FOldAlphaBlendValue);
  FLeft = Origin.X;
  FTop = Origin.Y;
  SetWindowPos(Wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FVisible = true;
  FShowing = true;
  Invalidate();
  if (Combo != nullptr && Combo->AlphaBlend() && Combo->AlphaBlendAnimation()) fadeIn(Combo);
}

// A short busy fade that processes no messages: about 15 steps, each after more than 5 ms.
void TbsPopupOfficeListBox::fadeIn(TbsSkinCustomOfficeComboBox* Combo) {
  Application->ProcessMessages();
  Combo->FLBDown = false;
  const Integer Target = Combo->AlphaBlendValue();
  const Integer Step = std::max(1, Target / 15);
  Integer Alpha = 0;
  Cardinal Last = GetTickCount();
  while (Alpha < Target) {
    if (GetTickCount() - Last > 5) {
      Alpha = std::min(Target, Alpha + Step);
      SetWindowAlpha(Handle(), Byte(Alpha));
      Last = GetTickCount();
    } else {
      Sleep(1);
    }
  }
  FOldAlphaBlendValue = Byte(Target);
}

void TbsPopupOfficeListBox::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FVisible = false;
  FShowing = false;
}

// ---- TbsSkinCustomOfficeComboBox ----

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
  SetTabStop(true);
  Font()->SetName("Tahoma");
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  Font()->SetHeight(13);
  SetWidth(120);
  SetHeight(41);
  FSkinDataName = "combobox";
  FListBox = new TbsPopupOfficeListBox(this);
  FListBoxWindowProc = FListBox->WindowProc;
  FListBox->WindowProc = [this](TMessage& Message) { ListBoxWindowProcHook(Message); };
  FListBox->SetMouseMoveChangeIndex(true);
  CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
  TbsPopupOfficeListBox* List = FListBox;
  FListBox = nullptr;
  delete List;
}

void TbsSkinCustomOfficeComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FListBox != nullptr && AComponent == FListBox->Images())
    FListBox->SetImages(nullptr);
}

void TbsSkinCustomOfficeComboBox::SetImages(TCustomImageList* Value) {
  FListBox->SetImages(Value);
  if (Value) Value->FreeNotification(this);
}

void TbsSkinCustomOfficeComboBox::SetItemIndex(Integer Value) {
  FListBox->SetItemIndex(Value);
  FOldItemIndex = FListBox->ItemIndex();
  Repaint();
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  if (OnClick) OnClick(this);
  Change();
}

void TbsSkinCustomOfficeComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value) {
  if (FShowItemTitle == Value) return;
  FShowItemTitle = Value;
  Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value) {
  if (FShowItemImage == Value) return;
  FShowItemImage = Value;
  Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value) {
  if (FShowItemText == Value) return;
  FShowItemText = Value;
  Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDropDownCount(Integer Value) {
  if (Value >= 0) FDropDownCount = Value;
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value) {
  if (FToolButtonStyle == Value) return;
  FToolButtonStyle = Value;
  if (Value) FUseSkinSize = false;
  Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) Invalidate();
}

void TbsSkinCustomOfficeComboBox::DefaultFontChanged() {
  Font()->Assign(FDefaultFont.get());
}

bool TbsSkinCustomOfficeComboBox::CanCancelDropDown() {
  if (!FListBox->Visible()) return false;
  TPoint P;
  GetCursorPos(&P);
  return WindowFromPoint(P) != Handle();
}

// ---- drop-down ----

void TbsSkinCustomOfficeComboBox::DropDown() {
  if (Items()->Count() == 0) return;
  WasInLB = false;
  if (TimerMode != 0) StopTimer();
  if (OnDropDown) OnDropDown(this);
  FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
  FListBox->OnDrawItem = OnDrawItem;
  FOldItemIndex = FListBox->ItemIndex();
  if (FOldItemIndex == 0 && Items()->Count() > 1) {
    // Selecting away and back scrolls the list to its top.
    FListBox->SetItemIndex(1);
    FListBox->SetItemIndex(0);
  }
  FDropDown = true;
  if (FToolButtonStyle) Repaint();
  FListBox->SetSkinData(FSD);
  if (FListBoxHeight > 0)
    FListBox->SetHeight(FListBoxHeight);
  else if (FDropDownCount > 0)
    FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
  FListBox->Show(DropDownOrigin(this, Left() + Width() - FListBox->Width(), FListBox->Height()));
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Value) {
  if (TimerMode != 0) StopTimer();
  if (!FListBox->Visible()) return;
  FListBox->Hide();
  const Integer I = FListBox->ItemIndex();
  if (I >= 0 && I < Items()->Count() && Value) {
    Repaint();
    if (OnClick) OnClick(this);
    Change();
  } else {
    FListBox->SetItemIndex(FOldItemIndex);
  }
  FDropDown = false;
  Repaint();
  if (Value && OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomOfficeComboBox::StartTimer() {
  if (!HandleAllocated()) return;
  KillTimer(Handle(), ScrollTimer);
  SetTimer(Handle(), ScrollTimer, AutoScrollInterval, nullptr);
}

void TbsSkinCustomOfficeComboBox::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimer);
  TimerMode = 0;
}

void TbsSkinCustomOfficeComboBox::TrackListBox(Integer X, Integer Y) {
  const TPoint P = FListBox->ScreenToClient(ClientToScreen(Point(X, Y)));
  const bool CanScroll = FListBox->ScrollBar != nullptr && WasInLB;
  Integer Mode = 0;
  if (P.Y < 0 && CanScroll)
    Mode = 1;
  else if (P.Y > FListBox->Height() && CanScroll)
    Mode = 2;
  if (Mode != 0) {
    if (Mode != TimerMode) {
      TimerMode = Mode;
      StartTimer();
    }
  } else if (P.Y >= 0 && P.Y <= FListBox->Height()) {
    if (TimerMode != 0) StopTimer();
    FListBox->MouseMove({}, P.X, P.Y);
    WasInLB = true;
    if (!FLBDown) {
      FLBDown = true;
      WasInLB = false;
    }
  }
}

void TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook(TMessage& Message) {
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

// ---- input ----

void TbsSkinCustomOfficeComboBox::MouseDown(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(AButton, Shift, X, Y);
  if (!Focused() && CanFocus()) SetFocus();
  if (AButton != mbLeft) return;
  const TPoint P = Point(X, Y);
  if (Button.MouseIn || PtInRect(&CBItem.R, P) || FToolButtonStyle) {
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

void TbsSkinCustomOfficeComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (FListBox->Visible()) TrackListBox(X, Y);
  const bool In = PtInRect(&Button.R, Point(X, Y));
  if (In != Button.MouseIn) {
    Button.MouseIn = In;
    Repaint();
  }
}

void TbsSkinCustomOfficeComboBox::MouseUp(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  if (FLBDown && WasInLB) {
    ReleaseCapture();
    FLBDown = false;
    TPoint P;
    GetCursorPos(&P);
    CloseUp(FListBox->HandleAllocated() && WindowFromPoint(P) == FListBox->Handle());
  } else {
    FLBDown = false;
  }
  TbsSkinCustomControl::MouseUp(AButton, Shift, X, Y);
  if (Button.Down) {
    Button.Down = false;
    Repaint();
  }
}

void TbsSkinCustomOfficeComboBox::selectWith(void (TbsSkinOfficeListBox::*Find)()) {
  (FListBox->*Find)();
  SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  const bool Alt = Shift.Contains(ssAlt);
  switch (Key) {
    case VK_RETURN:
      if (FListBox->Visible()) CloseUp(true);
      break;
    case VK_ESCAPE:
      if (FListBox->Visible()) CloseUp(false);
      break;
    case VK_PRIOR:
      selectWith(&TbsSkinOfficeListBox::FindPageUp);
      break;
    case VK_NEXT:
      selectWith(&TbsSkinOfficeListBox::FindPageDown);
      break;
    case VK_LEFT:
    case VK_UP:
      if (!Alt)
        selectWith(&TbsSkinOfficeListBox::FindUp);
      else if (FListBox->Visible())
        CloseUp(false);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (!Alt)
        selectWith(&TbsSkinOfficeListBox::FindDown);
      else if (!FListBox->Visible())
        DropDown();
      break;
    default:
      break;
  }
}

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      TbsSkinCustomControl::Dispatch(Message);
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
        FListBox->FindUp();
      else
        FListBox->FindDown();
      if (!FListBox->Visible()) SetItemIndex(FListBox->ItemIndex());
      return;
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (TimerMode == 1)
        FListBox->FindUp();
      else if (TimerMode == 2)
        FListBox->FindDown();
      return;
    case CM_WANTSPECIALKEY:
      switch (Message.WParam) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
          Message.Result = 1;
          return;
        default:
          TbsSkinCustomControl::Dispatch(Message);
          return;
      }
    case CM_CANCELMODE: {
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (Sender == nullptr || (Sender != this && Sender != FListBox && Sender != FListBox->ScrollBar))
        CloseUp(false);
      return;
    }
    default:
      TbsSkinCustomControl::Dispatch(Message);
  }
}

void TbsSkinCustomOfficeComboBox::CMMouseEnter(TMessage& Message) {
  TbsSkinCustomControl::CMMouseEnter(Message);
  if (designing()) return;
  FMouseIn = true;
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomOfficeComboBox::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (designing()) return;
  FMouseIn = false;
  if (Button.MouseIn) {
    Button.MouseIn = false;
    Repaint();
  }
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomOfficeComboBox::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  Repaint();
}

void TbsSkinCustomOfficeComboBox::WMSetFocus(TMessage& Message) {
  TbsSkinCustomControl::WMSetFocus(Message);
  Repaint();
}

void TbsSkinCustomOfficeComboBox::WMKillFocus(TMessage& Message) {
  TbsSkinCustomControl::WMKillFocus(Message);
  if (FListBox->Visible()) CloseUp(false);
  Repaint();
}

void TbsSkinCustomOfficeComboBox::WMSize(TMessage& Message) {
  TbsSkinCustomControl::WMSize(Message);
  CalcRects();
}

void TbsSkinCustomOfficeComboBox::WMEraseBkgnd(TMessage& Message) {
  if (!FromWMPaint && Message.WParam != 0 && Width() > 0 && Height() > 0) {
    GetSkinData();
    TBitmap B;
    B.SetSize(Width(), Height());
    if (FIndex == -1)
      CreateControlDefaultImage(&B);
    else
      CreateControlSkinImage(&B);
    BitBlt(HDC(Message.WParam), 0, 0, Width(), Height(), B.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  Message.Result = 1;
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  CalcRects();
  Repaint();
  FListBox->SetSkinDataName(FIndex == -1 ? String() : FListBox->SkinDataName());
  FListBox->SetSkinData(FSD);
  CalcRects();
}
