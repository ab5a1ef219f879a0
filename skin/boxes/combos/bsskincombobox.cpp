#include "skin/boxes/combos/bsskincombobox.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/core/bssystem.h"

// ---- TbsPopupListBox ----

TbsSkinCustomComboBox* TbsPopupListBox::combo() const {
  return dynamic_cast<TbsSkinCustomComboBox*>(Owner());
}

void TbsPopupListBox::Show(TPoint Origin) {
  TbsSkinCustomComboBox* Combo = combo();
  HWND Wnd = Handle();
  if (Combo != nullptr)
    ApplyDropDownAlpha(Wnd, Combo->AlphaBlend(), Combo->AlphaBlendAnimation(), Combo->AlphaBlendValue(),
                       FOldAlphaBlend, FOldAlphaBlendValue);
  FLeft = Origin.X;
  FTop = Origin.Y;
  SetWindowPos(Wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FVisible = true;
  // Shows the inner list and the bars too, made while the pop-up was hidden.
  UpdateShowing();
  Invalidate();
  if (Combo != nullptr && Combo->AlphaBlend() && Combo->AlphaBlendAnimation()) fadeIn(Combo);
}

// Keeps the queue running, so a click that closes the list is handled while it fades in.
void TbsPopupListBox::fadeIn(TbsSkinCustomComboBox* Combo) {
  Application->ProcessMessages();
  const Integer Target = Combo->AlphaBlendValue();
  const Integer Step = std::max(1, Target / 15);
  Integer Alpha = 0;
  int64_t Last = 0;
  while (Alpha < Target) {
    if (int64_t(GetTickCount()) - Last > 5) {
      Last = GetTickCount();
      Alpha = std::min(Target, Alpha + Step);
      SetWindowAlpha(Handle(), Byte(Alpha));
    } else {
      Sleep(1);
    }
    Application->ProcessMessages();
  }
  FOldAlphaBlendValue = Byte(Target);
}

void TbsPopupListBox::Hide() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FVisible = false;
  UpdateShowing();
}

// ---- TbsSkinCustomComboBox ----

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
  SetTabStop(true);
  Font()->SetName("Tahoma");
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  Font()->SetHeight(13);
  SetWidth(120);
  SetHeight(20);
  FListBox = new TbsPopupListBox(this);
  FListBox->ListBox->SetTabStop(false);
  FListBox->ListBox->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) {
    ListBoxHover(S, Sh, X, Y);
  };
  FListBoxWindowProc = FListBox->ListBox->WindowProc;
  FListBox->ListBox->WindowProc = [this](TMessage& Message) { ListBoxWindowProcHook(Message); };
  FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
  CalcRects();
  FSkinDataName = "combobox";
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
  if (FEdit != nullptr) FreeEditCtrl();
  TbsPopupListBox* List = FListBox;
  FListBox = nullptr;
  delete List;
}

void TbsSkinCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && FListBox != nullptr && AComponent == FListBox->Images())
    FListBox->SetImages(nullptr);
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
  FListBox->SetImages(Value);
  if (Value) Value->FreeNotification(this);
  Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(Integer Value) {
  FListBox->SetImageIndex(Value);
  Repaint();
}

void TbsSkinCustomComboBox::SetDropDownCount(Integer Value) {
  if (Value >= 1) FDropDownCount = Value;
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
  if (Value) FUseSkinSize = false;
  FToolButtonStyle = Value;
  Repaint();
}

void TbsSkinCustomComboBox::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex != -1) return;
  Repaint();
  if (FEdit != nullptr) FEdit->SetColor(Value);
}

void TbsSkinCustomComboBox::SetOnListBoxDrawItem(TbsDrawSkinItemEvent Value) {
  OnListBoxDrawItem = Value;
  FListBox->OnDrawItem = Value;
}

void TbsSkinCustomComboBox::DefaultFontChanged() {
  Font()->Assign(FDefaultFont.get());
}

bool TbsSkinCustomComboBox::CanCancelDropDown() {
  if (!FListBox->Visible()) return false;
  TPoint P;
  GetCursorPos(&P);
  return WindowFromPoint(P) != Handle();
}

// ---- the shown text and the item ----

void TbsSkinCustomComboBox::setShownText(const String& Value) {
  if (Text() != Value) SetText(Value);
}

void TbsSkinCustomComboBox::CMTextChanged(TMessage& Message) {
  TbsSkinCustomControl::CMTextChanged(Message);
  if (FEdit != nullptr && !FromEdit) FEdit->SetText(Text());
  if (OnChange) OnChange(this);
  if (FromEdit) Change();
}

void TbsSkinCustomComboBox::SetItemIndex(Integer Value) {
  FListBox->SetItemIndex(Value);
  const Integer I = FListBox->ItemIndex();
  if (Items()->Count() > 0 && I != -1) setShownText(Items()->Strings(I));
  FOldItemIndex = I;
  if (FEdit == nullptr) Repaint();
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) return;
  if (OnClick) OnClick(this);
  Change();
}

void TbsSkinCustomComboBox::stepTo(Integer Index, bool AChange) {
  if (AChange)
    SetItemIndex(Index);
  else
    FListBox->SetItemIndex(Index);
}

void TbsSkinCustomComboBox::ComboUp(bool AChange) {
  if (ItemIndex() > 0) stepTo(ItemIndex() - 1, AChange);
}

void TbsSkinCustomComboBox::ComboDown(bool AChange) {
  if (ItemIndex() < Items()->Count() - 1) stepTo(ItemIndex() + 1, AChange);
}

void TbsSkinCustomComboBox::ComboPageUp(bool AChange) {
  stepTo(std::max(0, ItemIndex() - FDropDownCount - 1), AChange);
}

void TbsSkinCustomComboBox::ComboPageDown(bool AChange) {
  stepTo(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1), AChange);
}

void TbsSkinCustomComboBox::SearchItem(const String& S) {
  if (FListBox == nullptr || FListBox->ListBox == nullptr) return;
  String Search = S;
  if (FAutoComplete) {
    if (GetTickCount() - FLastTime >= TypeAheadPause) FFilter.clear();
    FLastTime = GetTickCount();
    FFilter += S;
    Search = FFilter;
  }
  if (Search.empty()) return;
  // One letter steps to the next item starting with it; more letters look from the top.
  const WPARAM Start = Utf8Length(Search) == 1 ? WPARAM(ItemIndex()) : WPARAM(-1);
  const LRESULT Found = FListBox->ListBox->Perform(LB_FINDSTRING, Start, LPARAM(Search.c_str()));
  if (Found >= 0) SetItemIndex(Integer(Found));
}

// ---- drop-down ----

void TbsSkinCustomComboBox::DropDown() {
  if (Items()->Count() == 0) return;
  WasInLB = false;
  if (TimerMode != 0) StopTimer();
  if (OnDropDown) OnDropDown(this);
  FListBox->SetWidth(FListBoxWidth > 0 ? FListBoxWidth : Width());
  FListBox->SetRowCount(std::min(FDropDownCount, Items()->Count()));
  const TPoint P = DropDownOrigin(this, Left(), FListBox->Height());
  if (FEdit != nullptr && FEdit->CanFocus()) FEdit->SetFocus();
  FOldItemIndex = FListBox->ItemIndex();
  if (FOldItemIndex == 0 && Items()->Count() > 1) {
    // Selecting away and back brings the first row into view.
    FListBox->SetItemIndex(1);
    FListBox->SetItemIndex(0);
  }
  FDropDown = true;
  if (FToolButtonStyle) Repaint();
  FListBox->SetTopIndex(FListBox->ItemIndex());
  FListBox->SetSkinData(FSD);
  FListBox->Show(P);
}

void TbsSkinCustomComboBox::CloseUp(bool AcceptValue) {
  if (TimerMode != 0) StopTimer();
  if (!FListBox->Visible()) return;
  FListBox->Hide();
  const Integer I = FListBox->ItemIndex();
  if (I >= 0 && I < Items()->Count() && AcceptValue) {
    if (FEdit != nullptr) {
      // The edit's change handler brings the combo's text along.
      FEdit->SetText(Items()->Strings(I));
      FEdit->SelectAll();
    } else {
      setShownText(Items()->Strings(I));
      Repaint();
    }
    if (OnClick) OnClick(this);
    Change();
  } else {
    FListBox->SetItemIndex(FOldItemIndex);
  }
  FDropDown = false;
  Repaint();
  if (OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::StartTimer() {
  if (!HandleAllocated()) return;
  KillTimer(Handle(), ScrollTimerId);
  SetTimer(Handle(), ScrollTimerId, ScrollInterval, nullptr);
}

void TbsSkinCustomComboBox::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollTimerId);
  TimerMode = 0;
}

void TbsSkinCustomComboBox::TrackListBox() {
  TbsListBox* L = FListBox->ListBox;
  TPoint P;
  GetCursorPos(&P);
  P = L->ScreenToClient(P);
  const bool CanScroll = FListBox->ScrollBar != nullptr && WasInLB;
  if (P.Y < 0 && CanScroll) {
    if (TimerMode != 1) {
      TimerMode = 1;
      StartTimer();
    }
  } else if (P.Y > L->Height() && CanScroll) {
    if (TimerMode != 2) {
      TimerMode = 2;
      StartTimer();
    }
  } else if (P.Y >= 0 && P.Y <= L->Height()) {
    if (TimerMode != 0) StopTimer();
    L->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, P.Y));
    WasInLB = true;
  }
}

void TbsSkinCustomComboBox::ListBoxHover(TObject*, TShiftState, Integer X, Integer Y) {
  const Integer I = FListBox->ItemAtPos(Point(X, Y), true);
  if (I >= 0 && I < Items()->Count()) FListBox->SetItemIndex(I);
}

void TbsSkinCustomComboBox::ListBoxWindowProcHook(TMessage& Message) {
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
      FListBoxWindowProc(Message);
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      FListBoxWindowProc(Message);
  }
}

// ---- input ----

void TbsSkinCustomComboBox::MouseDown(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(AButton, Shift, X, Y);
  if (!Focused() && FEdit == nullptr && CanFocus()) SetFocus();
  if (AButton != mbLeft) return;
  const TPoint P = Point(X, Y);
  if (Button.MouseIn || (FEdit == nullptr && PtInRect(&CBItem.R, P)) || FToolButtonStyle) {
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

void TbsSkinCustomComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  if (FLBDown) {
    TrackListBox();
    return;
  }
  const bool In = PtInRect(&Button.R, Point(X, Y));
  if (In != Button.MouseIn) {
    Button.MouseIn = In;
    Repaint();
  }
}

void TbsSkinCustomComboBox::MouseUp(TMouseButton AButton, TShiftState Shift, Integer X, Integer Y) {
  if (FLBDown && WasInLB) {
    ReleaseCapture();
    FLBDown = false;
    TPoint P;
    GetCursorPos(&P);
    CloseUp(FListBox->ListBox->HandleAllocated() && WindowFromPoint(P) == FListBox->ListBox->Handle());
  } else {
    FLBDown = false;
  }
  TbsSkinCustomControl::MouseUp(AButton, Shift, X, Y);
  if (Button.Down) {
    Button.Down = false;
    Repaint();
  }
}

void TbsSkinCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
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
      ComboPageUp(true);
      break;
    case VK_NEXT:
      ComboPageDown(true);
      break;
    case VK_LEFT:
    case VK_UP:
      if (!Alt)
        ComboUp(true);
      else if (FListBox->Visible())
        CloseUp(false);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (!Alt)
        ComboDown(true);
      else if (!FListBox->Visible())
        DropDown();
      break;
    default:
      break;
  }
}

void TbsSkinCustomComboBox::KeyPress(char32_t& Key) {
  TbsSkinCustomControl::KeyPress(Key);
  if (Key >= 32) SearchItem(Utf8Encode(Key));
}

void TbsSkinCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit != nullptr) return;
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        ComboUp(!FListBox->Visible());
      else
        ComboDown(!FListBox->Visible());
      return;
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (TimerMode == 1 && ItemIndex() > 0)
        FListBox->SetItemIndex(ItemIndex() - 1);
      else if (TimerMode == 2 && ItemIndex() < Items()->Count() - 1)
        FListBox->SetItemIndex(ItemIndex() + 1);
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
      TbsSkinCustomControl::Dispatch(Message);
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (Sender != this && Sender != FListBox && Sender != FListBox->ScrollBar &&
          Sender != FListBox->HScrollBar && Sender != FListBox->ListBox)
        CloseUp(false);
      return;
    }
    default:
      TbsSkinCustomControl::Dispatch(Message);
  }
}

void TbsSkinCustomComboBox::CMMouseEnter(TMessage& Message) {
  TbsSkinCustomControl::CMMouseEnter(Message);
  if (designing()) return;
  FMouseIn = true;
  if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect) && FEdit != nullptr && !FEdit->Focused())
    setEditFontColor(ActiveFontColor);
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomComboBox::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::CMMouseLeave(Message);
  if (designing()) return;
  FMouseIn = false;
  if (Button.MouseIn) {
    Button.MouseIn = false;
    Repaint();
  }
  if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect) && FEdit != nullptr && !FEdit->Focused())
    setEditFontColor(FontColor);
  if ((FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomComboBox::CMEnabledChanged(TMessage& Message) {
  TbsSkinCustomControl::CMEnabledChanged(Message);
  if (FEdit != nullptr) {
    if (!Enabled())
      setEditFontColor(GetDisabledFontColor());
    else
      setEditFontColor(FIndex != -1 ? FontColor : FDefaultFont->Color());
  }
  Repaint();
}

void TbsSkinCustomComboBox::WMSetFocus(TMessage& Message) {
  if (FEdit != nullptr) {
    FEdit->SetFocus();
    if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect)) {
      setEditFontColor(ActiveFontColor);
      Invalidate();
    }
    return;
  }
  TbsSkinCustomControl::WMSetFocus(Message);
  Repaint();
}

void TbsSkinCustomComboBox::WMKillFocus(TMessage& Message) {
  TbsSkinCustomControl::WMKillFocus(Message);
  if (FListBox->Visible() && FEdit == nullptr) CloseUp(false);
  Repaint();
  if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect) && FEdit != nullptr) {
    setEditFontColor(FontColor);
    Invalidate();
  }
}

void TbsSkinCustomComboBox::WMSize(TMessage& Message) {
  TbsSkinCustomControl::WMSize(Message);
  CalcRects();
  AdjustEditPos();
}

void TbsSkinCustomComboBox::WMEraseBkgnd(TMessage& Message) {
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
}

void TbsSkinCustomComboBox::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  CalcRects();
  if (FEdit != nullptr) skinEdit();
  Repaint();
  FListBox->SetSkinDataName(FIndex == -1 ? String() : ListBoxName);
  FListBox->SetSkinData(FSD);
  FListBox->UpDateScrollBar();
  CalcRects();
  AdjustEditPos();
  if (FEdit != nullptr && FIndex != -1) {
    Integer W = Width(), H = Height();
    CalcSize(W, H);
    if (W != Width()) SetWidth(W);
    if (H != Height()) SetHeight(H);
  }
}
