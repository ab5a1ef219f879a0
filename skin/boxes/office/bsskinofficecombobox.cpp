#include "skin/boxes/office/bsskinofficecombobox.h"

#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bssystem.h"

// ---- TbsPopupOfficeListBox ----

// A short busy fade that processes no messages: about 15 steps, each after more than 5 ms.
void TbsPopupOfficeListBox::fadeIn(TbsSkinCustomOfficeComboBox* Combo) {
  Application->ProcessMessages();
  Combo->FLBDown = false;
  FadeInDropDown(Handle(), Combo->AlphaBlendValue(), GetTickCount(), false);
}

// ---- TbsSkinCustomOfficeComboBox ----

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(TComponent* AOwner)
    : TbsComboBoxBase(AOwner, 41, false, 7) {
  hookListWindow(FListBox);
  FListBox->SetMouseMoveChangeIndex(true);
  CalcRects();
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

// ---- drop-down ----

void TbsSkinCustomOfficeComboBox::DropDown() {
  if (!beginDropDown()) return;
  FListBox->OnDrawItem = OnDrawItem;
  markDroppedDown();
  FListBox->SetSkinData(FSD);
  if (FListBoxHeight > 0)
    FListBox->SetHeight(FListBoxHeight);
  else if (FDropDownCount > 0)
    FListBox->SetHeight(FListBox->CalcHeight(FDropDownCount));
  FListBox->Show(DropDownOrigin(this, Left() + Width() - FListBox->Width(), FListBox->Height()));
}

void TbsSkinCustomOfficeComboBox::TrackListBox(Integer X, Integer Y) {
  const TPoint P = FListBox->ScreenToClient(ClientToScreen(Point(X, Y)));
  if (!trackListPoint(P.Y, FListBox->Height())) return;
  // The list's own hover selection, without events.
  FListBox->MouseMove({}, P.X, P.Y);
  WasInLB = true;
  if (!FLBDown) {
    FLBDown = true;
    WasInLB = false;
  }
}

bool TbsSkinCustomOfficeComboBox::moveTracksList(Integer X, Integer Y) {
  if (FListBox->Visible()) TrackListBox(X, Y);
  return false;
}

void TbsSkinCustomOfficeComboBox::autoScroll(bool Up) {
  if (Up)
    FListBox->FindUp();
  else
    FListBox->FindDown();
}

void TbsSkinCustomOfficeComboBox::stepByKey(TbsComboStep Step) {
  // With the list closed the step selects at once; an open list only moves its highlight.
  const bool Select = !FListBox->Visible();
  switch (Step) {
    case TbsComboStep::Up:
      FListBox->FindUp();
      break;
    case TbsComboStep::Down:
      FListBox->FindDown();
      break;
    case TbsComboStep::PageUp:
      FListBox->FindPageUp();
      break;
    case TbsComboStep::PageDown:
      FListBox->FindPageDown();
      break;
    case TbsComboStep::First:
      FListBox->FindFirst();
      break;
    case TbsComboStep::Last:
      FListBox->FindLast();
      break;
  }
  if (Select) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      // Towards the user (a negative delta) goes down the list, as the list box's own wheel does.
      TbsComboBoxBase::Dispatch(Message);
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        FListBox->FindUp();
      else
        FListBox->FindDown();
      if (!FListBox->Visible()) SetItemIndex(FListBox->ItemIndex());
      return;
    case CM_CANCELMODE: {
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (Sender == nullptr || (Sender != this && Sender != FListBox && Sender != FListBox->ScrollBar))
        CloseUp(false);
      return;
    }
    default:
      TbsComboBoxBase::Dispatch(Message);
  }
}

void TbsSkinCustomOfficeComboBox::CMEnabledChanged(TMessage& Message) {
  TbsComboBoxBase::CMEnabledChanged(Message);
  Repaint();
}

void TbsSkinCustomOfficeComboBox::WMEraseBkgnd(TMessage& Message) {
  TbsComboBoxBase::WMEraseBkgnd(Message);
  Message.Result = 1;
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
  TbsComboBoxBase::ChangeSkinData();
  CalcRects();
  Repaint();
  FListBox->SetSkinDataName(FIndex == -1 ? String() : FListBox->SkinDataName());
  FListBox->SetSkinData(FSD);
  CalcRects();
}
