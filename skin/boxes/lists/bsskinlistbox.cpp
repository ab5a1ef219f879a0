// The skinned list box: properties, the skin element's copies, layout of the inner list and the
// skinned scroll bars that mirror its scroll state, and the input hooks.
#include "skin/boxes/lists/bsskinlistbox.h"

#include <algorithm>

#include "platform/win/scrollbar.h"
#include "skin/core/bsskinrecordslists.h"

namespace {
// The default look's bar thickness, and the marker of a bar that shares the corner with another.
constexpr Integer DefaultBarSize = 19;
}  // namespace

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner),
      FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()),
      FDefaultCaptionFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents,  csOpaque,
                   csDoubleClicks, csReplicatable, csAcceptsControls};
  FForceBackground = true;
  FDrawbackground = false;
  FDefaultCaptionFont->SetName("Tahoma");
  FDefaultCaptionFont->SetHeight(13);
  FDefaultCaptionFont->OnChange = [this](TObject*) {
    if (FIndex == -1 && FCaptionMode) Repaint();
  };
  Font()->SetName("Tahoma");
  Font()->SetHeight(13);
  Font()->SetColor(clWindowText);
  Font()->SetStyle({});
  ListBox = new TbsListBox(this);
  ListBox->SkinListBox = this;
  ListBox->SetStyle(lbOwnerDrawFixed);
  ListBox->SetItemHeight(20);
  ListBox->SetParent(this);
  ListBox->SetVisible(true);
  SetWidth(120);
  SetHeight(120);
  FSkinDataName = "listbox";
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
  FDefaultCaptionFont->OnChange = nullptr;
  delete ScrollBar;
  ScrollBar = nullptr;
  // The list must not call back into a control that is going away.
  ListBox->SkinListBox = nullptr;
  delete ListBox;
  ListBox = nullptr;
  if (HScrollBar) HScrollBar->OnChange = nullptr;
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == ScrollBar) ScrollBar = nullptr;
  if (AComponent == HScrollBar) HScrollBar = nullptr;
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& Params) {
  TbsSkinCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

// ---- properties ----

void TbsSkinCustomListBox::SetItems(TStrings* Value) {
  ListBox->Items()->Assign(Value);
  UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value) {
  if (ScrollBar) HideVScrollBar();
  ListBox->SetSorted(Value);
}

void TbsSkinCustomListBox::SetColumns(Integer Value) {
  ListBox->SetColumns(Value);
  // A bar of the other direction would mirror the wrong range: it is made anew.
  if (ScrollBar && (ScrollBar->Kind() == sbHorizontal) != (Columns() > 0)) HideVScrollBar();
  UpDateScrollBar();
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value) {
  if (FShowCaptionButtons == Value) return;
  FShowCaptionButtons = Value;
  Repaint();
}

void TbsSkinCustomListBox::SetTabWidths(TStrings* Value) {
  FTabWidths->Assign(Value);
  if (FTabWidths->Count() > 0) ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value) {
  FHorizontalExtent = Value;
  UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(Integer Value) {
  FRowCount = Value;
  if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
  UpDateScrollBar();
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(TbsNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TbsSkinCustomListBox::SetSpacing(Integer Value) {
  FSpacing = Value;
  Repaint();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(Integer Value) {
  FDefaultItemHeight = Value;
  if (FIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(FDefaultItemHeight);
}

void TbsSkinCustomListBox::DefaultFontChanged() {
  if (FIndex == -1) Font()->Assign(DefaultFont());
}

// ---- the skin ----

void TbsSkinCustomListBox::GetSkinData() {
  TbsSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinListBox*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  FontName = R->FontName;
  FontStyle = R->FontStyle;
  FontHeight = R->FontHeight;
  SItemRect = R->SItemRect;
  ActiveItemRect = IsEmptyRect(R->ActiveItemRect) ? R->SItemRect : R->ActiveItemRect;
  FocusItemRect = IsEmptyRect(R->FocusItemRect) ? R->SItemRect : R->FocusItemRect;
  ItemLeftOffset = R->ItemLeftOffset;
  ItemRightOffset = R->ItemRightOffset;
  ItemTextRect = R->ItemTextRect;
  FontColor = R->FontColor;
  ActiveFontColor = R->ActiveFontColor;
  FocusFontColor = R->FocusFontColor;
  CaptionRect = R->CaptionRect;
  CaptionFontName = R->CaptionFontName;
  CaptionFontStyle = R->CaptionFontStyle;
  CaptionFontHeight = R->CaptionFontHeight;
  CaptionFontColor = R->CaptionFontColor;
  UpButtonRect = R->UpButtonRect;
  ActiveUpButtonRect = R->ActiveUpButtonRect;
  DownUpButtonRect = IsEmptyRect(R->DownUpButtonRect) ? R->ActiveUpButtonRect : R->DownUpButtonRect;
  DownButtonRect = R->DownButtonRect;
  ActiveDownButtonRect = R->ActiveDownButtonRect;
  DownDownButtonRect = IsEmptyRect(R->DownDownButtonRect) ? R->ActiveDownButtonRect : R->DownDownButtonRect;
  CheckButtonRect = R->CheckButtonRect;
  ActiveCheckButtonRect = R->ActiveCheckButtonRect;
  DownCheckButtonRect =
      IsEmptyRect(R->DownCheckButtonRect) ? R->ActiveCheckButtonRect : R->DownCheckButtonRect;
  VScrollBarName = R->VScrollBarName;
  HScrollBarName = R->HScrollBarName;
  BothScrollBarName = R->BothScrollBarName;
  ShowFocus = R->ShowFocus;
  DisabledButtonsRect = R->DisabledButtonsRect;
  ButtonsArea = R->ButtonsArea;
}

void TbsSkinCustomListBox::ChangeSkinData() {
  TbsSkinCustomControl::ChangeSkinData();
  FStopUpDateHScrollBar = true;
  if (FIndex == -1) {
    ListBox->SetItemHeight(FDefaultItemHeight);
    ListBox->Font()->Assign(DefaultFont());
  } else if (FUseSkinItemHeight) {
    ListBox->SetItemHeight(RectHeight(SItemRect));
  }
  // The horizontal bar goes while the skin changes; the final update builds it with the new names.
  UpDateScrollBar();
  if (ScrollBar) {
    if (FIndex == -1)
      ScrollBar->SetSkinDataName("");
    else
      ScrollBar->SetSkinDataName(Columns() < 1 ? VScrollBarName : HScrollBarName);
    ScrollBar->SetSkinData(SkinData());
  }
  if (HScrollBar) skinHScrollBar();
  if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
  AdjustListBox();
  FStopUpDateHScrollBar = false;
  UpDateScrollBar();
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FIndex == -1) Repaint();
}

void TbsSkinCustomListBox::WMSize(TMessage& Message) {
  TbsSkinCustomControl::WMSize(Message);
  AdjustListBox();
  UpDateScrollBar();
  if (ScrollBar) ScrollBar->Repaint();
}

void TbsSkinCustomListBox::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    WMTimer(Message);
    return;
  }
  TbsSkinCustomControl::Dispatch(Message);
}

// ---- geometry ----

Integer TbsSkinCustomListBox::CalcHeight(Integer AItemsCount) {
  Integer H;
  if (FIndex == -1) {
    H = AItemsCount * ListBox->ItemHeight() + 4;
    if (FCaptionMode) H += FDefaultCaptionHeight;
  } else {
    H = RectHeight(SkinRect) - RectHeight(ClRect) + AItemsCount * ListBox->ItemHeight();
  }
  if (HScrollBar) H += HScrollBar->Height();
  return H;
}

void TbsSkinCustomListBox::AdjustListBox() {
  if (ListBox == nullptr) return;
  const Integer W = Width(), H = Height();
  Integer CapH = 1;
  if (FIndex != -1) {
    NewClRect = ClRect;
    NewClRect.Right += W - RectWidth(SkinRect);
    NewClRect.Bottom += H - RectHeight(SkinRect);
  } else if (FCaptionMode) {
    CapH = FDefaultCaptionHeight;
  }
  Integer HH = 0;
  if (Columns() == 0 && HScrollBar && HScrollBar->Visible()) {
    if (FIndex == -1) {
      HScrollBar->SetBounds(1, H - 20, W - 2, DefaultBarSize);
      HH = HScrollBar->Height() - 1;
    } else {
      HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - HScrollBar->Height(), RectWidth(NewClRect),
                            HScrollBar->Height());
      HH = HScrollBar->Height();
    }
  }
  if (ScrollBar && ScrollBar->Visible()) {
    if (FIndex == -1 && Columns() <= 0) {
      ScrollBar->SetBounds(W - 20, CapH, DefaultBarSize, H - CapH - 1 - HH);
      ListRect = Rect(2, CapH + 1, ScrollBar->Left(), H - 2 - HH);
    } else if (FIndex == -1) {
      ScrollBar->SetBounds(1, H - 20, W - 2, DefaultBarSize);
      ListRect = Rect(2, CapH + 1, W - 2, ScrollBar->Top());
    } else if (Columns() <= 0) {
      ScrollBar->SetBounds(NewClRect.Right - ScrollBar->Width(), NewClRect.Top, ScrollBar->Width(),
                           RectHeight(NewClRect) - HH);
      ListRect = NewClRect;
      ListRect.Right -= ScrollBar->Width();
      ListRect.Bottom -= HH;
    } else {
      ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - ScrollBar->Height(), RectWidth(NewClRect),
                           ScrollBar->Height());
      ListRect = NewClRect;
      ListRect.Bottom -= ScrollBar->Height();
    }
  } else if (FIndex == -1) {
    ListRect = Rect(2, CapH + 1, W - 2, H - 2 - HH);
  } else {
    ListRect = NewClRect;
    ListRect.Bottom -= HH;
  }
  ListBox->SetBounds(ListRect.Left, ListRect.Top, RectWidth(ListRect), RectHeight(ListRect));
}

// ---- the skinned bars ----

Integer TbsSkinCustomListBox::GetItemWidth(Integer Index, TCanvas* Cnvs) {
  return Cnvs->TextWidth(Items()->Strings(Index));
}

Integer TbsSkinCustomListBox::GetVisibleTextWidth() {
  Integer Page =
      FIndex == -1 ? ListBox->Width() - 4 : ListBox->Width() + RectWidth(ItemTextRect) - RectWidth(SItemRect);
  if (FImages) Page -= FImages->Width() + 4;
  return Page;
}

void TbsSkinCustomListBox::UpDateScrollBar() {
  if (ListBox == nullptr) return;
  HWND LB = ListBox->HandleAllocated() ? ListBox->Handle() : nullptr;
  const Integer N = ListBox->Count();
  Integer Min = 0, Max = 0;
  if (Columns() >= 1) {
    Integer Pos = 0;
    if (LB) {
      GetScrollRange(LB, SB_HORZ, &Min, &Max);
      Pos = GetScrollPos(LB, SB_HORZ);
    }
    const Integer IH = std::max(1, ListBox->ItemHeight());
    if (Max > Min && Pos <= Max && Columns() <= Max && (ListBox->Height() / IH) * Columns() < N) {
      if (ScrollBar == nullptr) ShowVScrollBar();
      ScrollBar->SetRange(Min, Max, Pos, Columns());
      return;
    }
  } else {
    if (!FHorizontalExtent || FStopUpDateHScrollBar) {
      if (HScrollBar && HScrollBar->Visible()) HideHScrollBar();
    } else if (LB) {
      TCanvas* C = ListBox->Canvas();
      if (FIndex != -1 && UseSkinFont()) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
      } else {
        C->Font()->Assign(ListBox->Font());
      }
      Integer Widest = 0;
      for (Integer I = 0; I < N; ++I) Widest = std::max(Widest, GetItemWidth(I, C));
      const Integer Page = GetVisibleTextWidth();
      if (Page < Widest) {
        if (HScrollBar == nullptr) ShowHScrollBar();
        HScrollBar->SetRange(0, Widest, HScrollBar->Position(), Page);
        HScrollBar->SetSmallChange(C->TextWidth("0"));
        HScrollBar->SetLargeChange(C->TextWidth("0"));
      } else if (HScrollBar && HScrollBar->Visible()) {
        HideHScrollBar();
      }
    }
    if (!(FRowCount > 0 && FRowCount == N)) {
      Integer Pos = 0;
      if (LB) {
        GetScrollRange(LB, SB_VERT, &Min, &Max);
        Pos = GetScrollPos(LB, SB_VERT);
      }
      const Integer Page = ListBox->Height() / std::max(1, ListBox->ItemHeight());
      if (Max > Min && Pos <= Max && Page < N) {
        if (ScrollBar == nullptr) ShowVScrollBar();
        ScrollBar->SetRange(Min, Max, Pos, Page);
        ScrollBar->SetLargeChange(Page);
        return;
      }
    }
  }
  if (ScrollBar && ScrollBar->Visible()) HideVScrollBar();
}

void TbsSkinCustomListBox::skinHScrollBar() {
  if (FIndex == -1) {
    HScrollBar->SetSkinDataName("");
    if (ScrollBar) {
      HScrollBar->SetBoth(true);
      HScrollBar->SetBothMarkerWidth(DefaultBarSize);
    }
  } else {
    // Beside the main bar it takes the look that shares the corner.
    const String& Name = ScrollBar ? BothScrollBarName : HScrollBarName;
    HScrollBar->SetBothSkinDataName(Name);
    HScrollBar->SetSkinDataName(Name);
    HScrollBar->SetBoth(ScrollBar != nullptr);
  }
  HScrollBar->SetSkinData(SkinData());
}

void TbsSkinCustomListBox::ShowVScrollBar() {
  ScrollBar = new TbsSkinScrollBar(this);
  ScrollBar->SetKind(Columns() <= 0 ? sbVertical : sbHorizontal);
  ScrollBar->SetHeight(100);
  ScrollBar->SetWidth(20);
  ScrollBar->SetPageSize(0);
  ScrollBar->SetMin(0);
  ScrollBar->SetPosition(0);
  ScrollBar->OnChange = [this](TObject* Sender) { SBChange(Sender); };
  if (FIndex == -1)
    ScrollBar->SetSkinDataName("");
  else
    ScrollBar->SetSkinDataName(Columns() <= 0 ? VScrollBarName : HScrollBarName);
  ScrollBar->SetSkinData(SkinData());
  // The two bars now share the bottom-right corner.
  if (HScrollBar) skinHScrollBar();
  ScrollBar->SetParent(this);
  AdjustListBox();
  ScrollBar->SetVisible(true);
  Repaint();
}

void TbsSkinCustomListBox::ShowHScrollBar() {
  HScrollBar = new TbsSkinScrollBar(this);
  HScrollBar->SetKind(sbHorizontal);
  HScrollBar->SetHeight(100);
  HScrollBar->SetWidth(20);
  HScrollBar->SetPageSize(0);
  HScrollBar->SetMin(0);
  HScrollBar->SetPosition(0);
  HScrollBar->OnChange = [this](TObject* Sender) { HSBChange(Sender); };
  skinHScrollBar();
  HScrollBar->SetParent(this);
  HScrollBar->SetVisible(true);
  AdjustListBox();
  Repaint();
}

void TbsSkinCustomListBox::HideVScrollBar() {
  if (ScrollBar == nullptr) return;
  ScrollBar->SetVisible(false);
  TbsSkinScrollBar* Bar = ScrollBar;
  ScrollBar = nullptr;
  delete Bar;
  AdjustListBox();
}

void TbsSkinCustomListBox::HideHScrollBar() {
  if (HScrollBar == nullptr) return;
  ListBox->SetHorizontalExtentValue(0);
  HScrollBar->SetVisible(false);
  TbsSkinScrollBar* Bar = HScrollBar;
  HScrollBar = nullptr;
  delete Bar;
  AdjustListBox();
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::SBChange(TObject*) {
  if (ScrollBar == nullptr) return;
  ListBox->Perform(Columns() <= 0 ? WM_VSCROLL : WM_HSCROLL,
                   MAKEWPARAM(SB_THUMBPOSITION, Integer(Word(ScrollBar->Position()))), 0);
}

void TbsSkinCustomListBox::HSBChange(TObject*) {
  if (HScrollBar == nullptr) return;
  ListBox->SetHorizontalExtentValue(HScrollBar->Position());
  ListBox->Invalidate();
}

void TbsSkinCustomListBox::Clear() {
  ListBox->Clear();
  UpDateScrollBar();
}

// ---- hooks ----

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
  if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
  if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(Word& Key, TShiftState Shift) {
  if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(char32_t& Key) {
  if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

void TbsSkinCustomListBox::ListBoxWProc(TMessage&, bool& PassOn) {
  PassOn = true;
}
