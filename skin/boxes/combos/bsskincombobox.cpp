#include "skin/boxes/combos/bsskincombobox.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "platform/ui/core/application.h"
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/core/bssystem.h"

// ---- TbsPopupListBox ----

// Keeps the queue running, so a click that closes the list is handled while it fades in; the first
// step comes at once.
void TbsPopupListBox::fadeIn(TbsSkinCustomComboBox* Combo) {
  Application->ProcessMessages();
  FadeInDropDown(Handle(), Combo->AlphaBlendValue(), 0, true);
}

// ---- TbsSkinCustomComboBox ----

TbsSkinCustomComboBox::TbsSkinCustomComboBox(TComponent* AOwner) : TbsComboBoxBase(AOwner, 20, true, 8) {
  FListBox->ListBox->SetTabStop(false);
  FListBox->ListBox->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) {
    ListBoxHover(S, Sh, X, Y);
  };
  hookListWindow(FListBox->ListBox);
  FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
  CalcRects();
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
  if (FEdit != nullptr) FreeEditCtrl();
}

void TbsSkinCustomComboBox::SetImages(TCustomImageList* Value) {
  TbsComboBoxBase::SetImages(Value);
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
  if (Value) {
    if (FStyle != bscbFixedStyle) SetStyle(bscbFixedStyle);
    FUseSkinSize = false;
  }
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

// ---- the shown text and the item ----

void TbsSkinCustomComboBox::setShownText(const String& Value) {
  if (Text() != Value) SetText(Value);
}

void TbsSkinCustomComboBox::CMTextChanged(TMessage& Message) {
  TbsComboBoxBase::CMTextChanged(Message);
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
  if (!beginDropDown()) return;
  FListBox->SetRowCount(std::min(FDropDownCount, Items()->Count()));
  const TPoint P = DropDownOrigin(this, Left(), FListBox->Height());
  if (FEdit != nullptr && FEdit->CanFocus()) FEdit->SetFocus();
  markDroppedDown();
  FListBox->SetTopIndex(FListBox->ItemIndex());
  FListBox->SetSkinData(FSD);
  FListBox->Show(P);
}

void TbsSkinCustomComboBox::acceptPick(Integer Index) {
  if (FEdit != nullptr) {
    // The edit's change handler brings the combo's text along.
    FEdit->SetText(Items()->Strings(Index));
    FEdit->SelectAll();
  } else {
    setShownText(Items()->Strings(Index));
    Repaint();
  }
}

// The cursor over the inner list moves its hover selection (the list's own mouse move, at X = 1).
void TbsSkinCustomComboBox::TrackListBox() {
  TbsListBox* L = FListBox->ListBox;
  TPoint P;
  GetCursorPos(&P);
  P = L->ScreenToClient(P);
  if (!trackListPoint(P.Y, L->Height())) return;
  L->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, P.Y));
  WasInLB = true;
}

bool TbsSkinCustomComboBox::moveTracksList(Integer, Integer) {
  if (!FLBDown) return false;
  TrackListBox();
  return true;
}

void TbsSkinCustomComboBox::autoScroll(bool Up) {
  if (Up && ItemIndex() > 0)
    FListBox->SetItemIndex(ItemIndex() - 1);
  else if (!Up && ItemIndex() < Items()->Count() - 1)
    FListBox->SetItemIndex(ItemIndex() + 1);
}

void TbsSkinCustomComboBox::ListBoxHover(TObject*, TShiftState, Integer X, Integer Y) {
  const Integer I = FListBox->ItemAtPos(Point(X, Y), true);
  if (I >= 0 && I < Items()->Count()) FListBox->SetItemIndex(I);
}

// ---- input ----

void TbsSkinCustomComboBox::stepByKey(TbsComboStep Step) {
  const bool AChange = !FListBox->Visible();
  switch (Step) {
    case TbsComboStep::Up:
      ComboUp(AChange);
      break;
    case TbsComboStep::Down:
      ComboDown(AChange);
      break;
    case TbsComboStep::PageUp:
      ComboPageUp(AChange);
      break;
    case TbsComboStep::PageDown:
      ComboPageDown(AChange);
      break;
    case TbsComboStep::First:
    case TbsComboStep::Last:
      if (Items()->Count() > 0) stepTo(Step == TbsComboStep::First ? 0 : Items()->Count() - 1, AChange);
      break;
  }
}

void TbsSkinCustomComboBox::KeyPress(char32_t& Key) {
  TbsComboBoxBase::KeyPress(Key);
  if (Key >= 32) SearchItem(Utf8Encode(Key));
}

void TbsSkinCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      TbsComboBoxBase::Dispatch(Message);
      if (FEdit != nullptr) return;
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        ComboUp(!FListBox->Visible());
      else
        ComboDown(!FListBox->Visible());
      return;
    case CM_CANCELMODE: {
      TbsComboBoxBase::Dispatch(Message);
      auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
      if (Sender != this && Sender != FListBox && Sender != FListBox->ScrollBar &&
          Sender != FListBox->HScrollBar && Sender != FListBox->ListBox)
        CloseUp(false);
      return;
    }
    default:
      TbsComboBoxBase::Dispatch(Message);
  }
}

void TbsSkinCustomComboBox::hoverChanged() {
  if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect) && FEdit != nullptr && !FEdit->Focused())
    setEditFontColor(FMouseIn ? ActiveFontColor : FontColor);
}

void TbsSkinCustomComboBox::CMEnabledChanged(TMessage& Message) {
  TbsComboBoxBase::CMEnabledChanged(Message);
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
  TbsComboBoxBase::WMSetFocus(Message);
}

void TbsSkinCustomComboBox::WMKillFocus(TMessage& Message) {
  TbsComboBoxBase::WMKillFocus(Message);
  if (FIndex != -1 && !IsEmptyRect(ActiveSkinRect) && FEdit != nullptr) {
    setEditFontColor(FontColor);
    Invalidate();
  }
}

void TbsSkinCustomComboBox::WMSize(TMessage& Message) {
  TbsComboBoxBase::WMSize(Message);
  AdjustEditPos();
}

void TbsSkinCustomComboBox::ChangeSkinData() {
  TbsComboBoxBase::ChangeSkinData();
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
