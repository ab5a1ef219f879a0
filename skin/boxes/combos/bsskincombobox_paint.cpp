// How the closed combo box lays out its button and item area and paints itself: the default look,
// the skinned look and the tool-button style.
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordslists.h"

namespace {}  // namespace

void TbsSkinCustomComboBox::GetSkinData() {
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

void TbsSkinCustomComboBox::CalcRects() {
  TbsComboLayout L;
  L.Default = FIndex == -1 || FToolButtonStyle;
  L.UseSkinSize = FUseSkinSize;
  L.SkinRect = SkinRect;
  L.ClRect = ClRect;
  L.ButtonRect = ButtonRect;
  L.RightPartX = RTPt.X;
  CalcComboRects(L, Width(), Height(), Button, CBItem);
}

void TbsSkinCustomComboBox::CalcSize(Integer& W, Integer& H) {
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

void TbsSkinCustomComboBox::SetControlRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::SetControlRegion();
}

Integer TbsSkinCustomComboBox::shownIndex() const {
  const Integer I = FListBox->Visible() ? FOldItemIndex : FListBox->ItemIndex();
  return I >= 0 && I < Items()->Count() ? I : -1;
}

TColor TbsSkinCustomComboBox::GetDisabledFontColor() {
  if (FIndex == -1 || FSD == nullptr) return clGrayText;
  const Integer I = FSD->GetControlIndex("edit");
  auto* El = I == -1 ? nullptr : dynamic_cast<TbsDataSkinEditControl*>(FSD->Ctrls(I));
  return El != nullptr ? El->DisabledFontColor : clGrayText;
}

// The owner-draw event, or the image and text, of item Index on an item image of W × H.
void TbsSkinCustomComboBox::drawItemContents(TCanvas* C, Integer Index, TRect TR, TOwnerDrawState State,
                                             Integer W, Integer H) {
  if (OnComboBoxDrawItem) {
    OnComboBoxDrawItem(C, Index, W, H, TR, State);
    return;
  }
  if (TCustomImageList* IL = Images()) {
    const Integer ImgIndex = ImageIndex() >= 0 ? ImageIndex() : Index;
    if (ImgIndex < IL->Count())
      IL->Draw(C, TR.Left, TR.Top + RectHeight(TR) / 2 - IL->Height() / 2, ImgIndex, true);
    TR.Left += IL->Width() + 2;
  }
  C->Brush()->SetStyle(bsClear);
  if (TabWidths()->Count() > 0)
    TbsListBox::DrawTabbedText(Items()->Strings(Index), TabWidths(), 0, TR, C);
  else
    TextRectLeft(C, Items()->Strings(Index), TR);
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawDefaultToolButton(C, nullptr);
    return;
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FDefaultColor);
  C->FillRect(Rect(0, 0, Width(), Height()));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, Width(), Height()));
  DrawButton(C);
  if (FEdit == nullptr) DrawDefaultItem(C);
}

void TbsSkinCustomComboBox::DrawButton(TCanvas* C) {
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

void TbsSkinCustomComboBox::DrawDefaultItem(TCanvas* C) {
  if (RectWidth(CBItem.R) <= 0) return;
  TBitmap B;
  B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
  TCanvas* BC = B.Canvas();
  BC->Font()->SetName(Font()->Name());
  BC->Font()->SetStyle(Font()->Style());
  BC->Font()->SetHeight(Font()->Height());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    BC->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    BC->Font()->SetCharset(FDefaultFont->Charset());
  const bool Focus = Focused();
  BC->Brush()->SetColor(Focus ? clHighlight : FDefaultColor);
  BC->Font()->SetColor(Focus ? clHighlightText : FDefaultFont->Color());
  BC->FillRect(Rect(0, 0, B.Width(), B.Height()));
  CBItem.State = Focus ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
  if (const Integer I = shownIndex(); I != -1)
    drawItemContents(BC, I, Rect(2, 0, B.Width() - 2, B.Height()), CBItem.State, B.Width(), B.Height());
  C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinCustomComboBox::DrawDefaultToolButton(TCanvas* C, const String* AText) {
  const TRect R = Rect(0, 0, Width(), Height());
  DrawDefaultToolButtonFrame(C, R, FDropDown, FMouseIn || Focused());
  C->SetFont(FDefaultFont.get());
  C->Brush()->SetStyle(bsClear);
  const Integer Shift = FDropDown ? 2 : 0;
  const TRect TR = Rect(2 + Shift, 2 + Shift, Width() - 17, Height() - 2);
  if (AText != nullptr)
    TextRectLeft(C, *AText, TR);
  else if (const Integer I = shownIndex(); I != -1)
    drawItemContents(C, I, TR, CBItem.State, Width(), Height());
  DrawSmallDownArrow(C, Rect(Width() - 15 + Shift, Shift, Width(), Height()), C->Font()->Color());
}

// ---- skinned look ----

void TbsSkinCustomComboBox::CreateControlSkinImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawDefaultToolButton(C, nullptr);
    return;
  }
  const bool Hot = FMouseIn || Focused();
  if (!FUseSkinSize) {
    const TRect Src = !IsEmptyRect(ActiveSkinRect) && Hot ? ActiveSkinRect : SkinRect;
    if (Picture != nullptr) ComposeStretchedSkinImage(B, Picture, Src, ClRect, true);
  } else if (Hot && !IsEmptyRect(ActiveSkinRect) && Picture != nullptr) {
    TBitmap H;
    ComposeSkinImageH(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, &H, Picture, ActiveSkinRect, Width(),
                      Height(), StretchEffect);
    C->Draw(0, 0, &H);
  } else {
    TbsSkinCustomControl::CreateControlSkinImage(B);
  }
  DrawButton(C);
  if (FEdit == nullptr) DrawSkinItem(C);
}

void TbsSkinCustomComboBox::DrawSkinItem(TCanvas* C) {
  if (RectWidth(CBItem.R) <= 0 || RectHeight(CBItem.R) <= 0) return;
  TBitmap B;
  B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
  TCanvas* BC = B.Canvas();
  const bool Focus = Focused();
  TRect Src = Focus                                                                        ? FocusItemRect
              : (FMouseIn && !IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect)) ? ActiveItemRect
                                                                                           : SItemRect;
  if (!IsEmptyRect(Src) && Picture != nullptr) {
    TBitmap S;
    ComposeSkinImageH(ItemLeftOffset, ItemRightOffset, &S, Picture, Src, B.Width(), B.Height(),
                      Focus ? FocusItemStretchEffect : ItemStretchEffect);
    BC->Draw(0, 0, &S);
  } else {
    BC->CopyRect(Rect(0, 0, B.Width(), B.Height()), C, CBItem.R);
  }
  TRect TR = ItemTextRect;
  TR.Right += RectWidth(CBItem.R) - (IsEmptyRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  if (!FUseSkinSize) TR.Bottom += Height() - RectHeight(SkinRect);
  if (FUseSkinFont) {
    BC->Font()->SetName(FontName);
    BC->Font()->SetStyle(FontStyle);
    BC->Font()->SetHeight(FontHeight);
  } else {
    BC->Font()->Assign(FDefaultFont.get());
  }
  TColor Color = Focus                                        ? FocusFontColor
                 : (FMouseIn && !IsEmptyRect(ActiveSkinRect)) ? ActiveFontColor
                                                              : FontColor;
  if (!Enabled() && FUseSkinSize) Color = GetDisabledFontColor();
  BC->Font()->SetColor(Color);
  if (const Integer I = shownIndex(); I != -1)
    drawItemContents(BC, I, TR, CBItem.State, B.Width(), B.Height());
  if (Focus && ShowFocus) DrawDottedFocusRect(BC, Rect(0, 0, B.Width(), B.Height()));
  C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinCustomComboBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
  TBitmap B;
  B.SetSize(Width(), Height());
  GetSkinData();
  const String Saved = Text();
  setShownText(AText);
  if (FToolButtonStyle) {
    CalcRects();
    DrawDefaultToolButton(B.Canvas(), &AText);
  } else {
    if (FIndex == -1)
      CreateControlDefaultImage(&B);
    else
      CreateControlSkinImage(&B);
    // The given text in place of the item.
    TCanvas* BC = B.Canvas();
    if (FIndex == -1) {
      BC->Brush()->SetStyle(bsSolid);
      BC->Brush()->SetColor(FDefaultColor);
      BC->FillRect(CBItem.R);
    }
    BC->Brush()->SetStyle(bsClear);
    BC->Font()->Assign(FDefaultFont.get());
    if (FIndex != -1) {
      BC->Font()->SetName(FontName);
      BC->Font()->SetStyle(FontStyle);
      BC->Font()->SetHeight(FontHeight);
      BC->Font()->SetColor(FontColor);
    }
    TextRectLeft(BC, AText, CBItem.R);
  }
  setShownText(Saved);
  C->Draw(X, Y, &B);
}
