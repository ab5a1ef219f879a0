// The edit style of the combo box: the inner edit that shows and edits the text, its keys, its
// auto-completion against the list and its look after the skin.
#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/rtl/strings.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsstrings.h"

namespace {
constexpr Cardinal AutoCompleteStep = 200;
}  // namespace

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value) {
  if (Value == FStyle && designing()) return;
  FStyle = Value;
  if (Value == bscbEditStyle) {
    // A second edit-style assignment replaces the edit rather than leaving two.
    if (FEdit != nullptr) FreeEditCtrl();
    CreateEditCtrl();
    if (!designing()) {
      FEdit->SetTabStop(TabStop());
      SetTabStop(false);
    }
    FEdit->SetText(Text());
    if (Focused()) FEdit->SetFocus();
  } else if (FEdit != nullptr) {
    const bool HadTabStop = FEdit->TabStop();
    FreeEditCtrl();
    if (!designing() && HadTabStop) SetTabStop(true);
  }
  CalcRects();
  if (HandleAllocated()) RecreateWnd();
  AdjustEditPos();
  Repaint();
}

void TbsSkinCustomComboBox::SetCharCase(TEditCharCase Value) {
  FCharCase = Value;
  if (FEdit != nullptr) FEdit->SetCharCase(Value);
}

void TbsSkinCustomComboBox::SetHideSelection(bool Value) {
  FHideSelection = Value;
  if (FEdit != nullptr) FEdit->SetHideSelection(Value);
}

void TbsSkinCustomComboBox::SetSelStart(Integer Value) {
  if (FEdit != nullptr) FEdit->SetSelStart(Value);
}

void TbsSkinCustomComboBox::SetSelLength(Integer Value) {
  if (FEdit != nullptr) FEdit->SetSelLength(Value);
}

void TbsSkinCustomComboBox::setEditFontColor(TColor Value) {
  if (FEdit != nullptr) FEdit->Font()->SetColor(Value);
}

void TbsSkinCustomComboBox::CreateEditCtrl() {
  FEdit = FNumEdit ? new TbsSkinNumEdit(this) : new TbsCustomEdit(this);
  FEdit->SetParent(this);
  FEdit->SetColor(FDefaultColor);
  FEdit->SetAutoSize(false);
  FEdit->SetHideSelection(FHideSelection);
  FEdit->SetVisible(true);
  FEdit->SetEditTransparent(false);
  FEdit->OnChange = [this](TObject* Sender) { EditChange(Sender); };
  FEditWindowProc = FEdit->WindowProc;
  FEdit->WindowProc = [this](TMessage& Message) { EditWindowProcHook(Message); };
  FEdit->OnEditCancelMode = [this](TControl* C) { EditCancelMode(C); };
  FEdit->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
  };
  FEdit->OnKeyPress = [this](TObject*, char32_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
  };
  FEdit->OnKeyUp = [this](TObject*, Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
  };
  FEdit->SetCharCase(FCharCase);
  TFont* F = FEdit->Font();
  if (FIndex == -1) {
    F->SetName(Font()->Name());
    F->SetStyle(Font()->Style());
    F->SetColor(Font()->Color());
    F->SetHeight(Font()->Height());
  } else {
    F->SetStyle(FontStyle);
    F->SetColor(FontColor);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
  }
  FEdit->SetEditTransparent(FIndex != -1);
  CalcRects();
}

void TbsSkinCustomComboBox::FreeEditCtrl() {
  TbsCustomEdit* E = FEdit;
  FEdit = nullptr;
  E->SetVisible(false);
  delete E;
}

void TbsSkinCustomComboBox::AdjustEditPos() {
  if (FEdit == nullptr) return;
  HDC DC = GetDC(nullptr);
  HFONT Old = HFONT(SelectObject(DC, FEdit->Font()->Handle()));
  TEXTMETRIC TM{};
  GetTextMetrics(DC, &TM);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  const Integer H = TM.tmHeight;
  FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + RectHeight(CBItem.R) / 2 - H / 2, RectWidth(CBItem.R), H);
}

void TbsSkinCustomComboBox::Invalidate() {
  TbsComboBoxBase::Invalidate();
  if (FIndex != -1 && FEdit != nullptr && FEdit->HandleAllocated()) FEdit->RePaintBuffered();
}

void TbsSkinCustomComboBox::EditChange(TObject*) {
  FromEdit = true;
  const String T = FEdit->Text();
  if (FListBox != nullptr && !T.empty()) {
    TbsListBox* L = FListBox->ListBox;
    const LRESULT I = L->Perform(LB_FINDSTRING, WPARAM(-1), LPARAM(T.c_str()));
    if (I >= 0) L->Perform(FAutoComplete ? LB_SETCURSEL : LB_SETTOPINDEX, WPARAM(I), 0);
  }
  setShownText(T);
  FromEdit = false;
}

void TbsSkinCustomComboBox::EditCancelMode(TControl* C) {
  if (C != this && C != FListBox && C != FListBox->ScrollBar && C != FListBox->HScrollBar &&
      C != FListBox->ListBox && C != FEdit)
    CloseUp(false);
}

void TbsSkinCustomComboBox::EditComboUp(bool ANotify) {
  if (ItemIndex() <= 0) return;
  FListBox->SetItemIndex(ItemIndex() - 1);
  if (!ANotify) return;
  setShownText(Items()->Strings(ItemIndex()));
  FEdit->SelectAll();
  if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::EditComboDown(bool ANotify) {
  if (ItemIndex() >= Items()->Count() - 1) return;
  FListBox->SetItemIndex(ItemIndex() + 1);
  if (!ANotify) return;
  setShownText(Items()->Strings(ItemIndex()));
  FEdit->SelectAll();
  if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::AutoCompleteText() {
  if (FListBox == nullptr || FListBox->ListBox == nullptr || FEdit == nullptr) return;
  if (GetTickCount() - FLastTime <= AutoCompleteStep) return;
  FLastTime = GetTickCount();
  const String Typed = Text();
  if (Typed.empty()) return;
  const Integer TypedLength = Utf8Length(Typed);
  // From the top even for one letter: the edit's change has already selected the first match, so
  // looking on after it would complete to the second.
  const LRESULT Found = FListBox->ListBox->Perform(LB_FINDSTRING, WPARAM(-1), LPARAM(Typed.c_str()));
  if (Found < 0) return;
  SetItemIndex(Integer(Found));
  // The completed tail stays selected, so typing on overwrites it.
  SetSelStart(TypedLength);
  SetSelLength(Utf8Length(Text()) - TypedLength);
}

void TbsSkinCustomComboBox::editKeyUp(TMessage& Message) {
  const Byte Charset = textCharset();
  const bool Ime = Charset == SHIFTJIS_CHARSET || Charset == GB2312_CHARSET || Charset == CHINESEBIG5_CHARSET;
  const WPARAM Key = Message.WParam;
  if (Ime) {
    if (Key == VK_DELETE || Key == VK_BACK) {
      FEditWindowProc(Message);
      return;
    }
    FEdit->SetSelLength(0);
    FEditWindowProc(Message);
    if (FAutoComplete) AutoCompleteText();
    return;
  }
  FEditWindowProc(Message);
  if (Message.Msg == WM_KEYUP && Key >= 48 && FAutoComplete) AutoCompleteText();
}

void TbsSkinCustomComboBox::EditWindowProcHook(TMessage& Message) {
  const bool Open = FListBox->Visible();
  const bool Skinned = FIndex != -1 && !IsEmptyRect(ActiveSkinRect);
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (Skinned) {
        setEditFontColor(ActiveFontColor);
        Invalidate();
      }
      break;
    case WM_KILLFOCUS:
      if (Open) CloseUp(false);
      if (Skinned) {
        setEditFontColor(FontColor);
        Invalidate();
      }
      break;
    case WM_KEYDOWN:
      FListClosedByKey = Open && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE);
      switch (Message.WParam) {
        case VK_RETURN:
          if (Open) CloseUp(true);
          break;
        case VK_ESCAPE:
          if (Open) CloseUp(false);
          break;
        case VK_PRIOR:
          if (Open) FListBox->SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1));
          break;
        case VK_NEXT:
          if (Open) FListBox->SetItemIndex(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
          break;
        case VK_UP:
          EditComboUp(!Open);
          return;
        case VK_DOWN:
          EditComboDown(!Open);
          return;
        case VK_HOME:
        case VK_END:
          // The open list's first or last row; closed, the caret's keys.
          if (!Open) break;
          FListBox->SetItemIndex(Message.WParam == VK_HOME ? 0 : Items()->Count() - 1);
          return;
        default:
          break;
      }
      break;
    case CM_WANTSPECIALKEY:
      if (Open && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CHAR:
      if (FListClosedByKey && (Message.WParam == 13 || Message.WParam == 27)) {
        FListClosedByKey = false;
        return;
      }
      break;
    case WM_KEYUP:
      editKeyUp(Message);
      return;
    case WM_SYSKEYUP: {
      const Byte Charset = textCharset();
      if (Charset == SHIFTJIS_CHARSET || Charset == GB2312_CHARSET || Charset == CHINESEBIG5_CHARSET) {
        editKeyUp(Message);
        return;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (Open) CloseUp(false);
      break;
    case WM_MOUSEWHEEL:
      if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
        EditComboUp(!Open);
      else
        EditComboDown(!Open);
      break;
    default:
      break;
  }
  FEditWindowProc(Message);
}

void TbsSkinCustomComboBox::skinEdit() {
  TFont* F = FEdit->Font();
  const bool Skinned = FIndex != -1;
  if (Skinned && FUseSkinFont) {
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
    F->SetColor(FontColor);
  } else {
    F->Assign(FDefaultFont.get());
    if (Skinned) F->SetColor(FontColor);
  }
  if (Skinned && !IsEmptyRect(ActiveSkinRect) && (FEdit->Focused() || FMouseIn)) F->SetColor(ActiveFontColor);
  F->SetCharset(textCharset());
  FEdit->SetEditTransparent(Skinned);
  if (!Enabled()) F->SetColor(GetDisabledFontColor());
}
