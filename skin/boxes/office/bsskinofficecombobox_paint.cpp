// How the closed office combo box lays out its button and item area and paints itself: the default
// look, the skinned look with free height, with the element's height (UseSkinSize), and as a tool button.
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

template <class T>
T* elementNamed(TbsSkinData* SD, const String& Name) {
  if (SD == nullptr || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<T*>(SD->Ctrls(I));
}

TbsDataSkinButtonControl* firstButtonElement(TbsSkinData* SD, std::initializer_list<const char*> Names) {
  for (const char* N : Names)
    if (auto* B = elementNamed<TbsDataSkinButtonControl>(SD, N)) return B;
  return nullptr;
}

// A button element's state picture composed nine-slice to Dest's size.
void composeButton(TBitmap* Dest, TbsSkinData* SD, TbsDataSkinButtonControl* El, const TRect& State) {
  TBitmap* Pic = SkinPictureAt(SD, El->PictureIndex);
  if (Pic == nullptr || IsEmptyRect(State)) return;
  const Integer DW = Dest->Width() - RectWidth(El->SkinRect);
  const Integer DH = Dest->Height() - RectHeight(El->SkinRect);
  ComposeSkinImage(El->LTPoint, El->RTPoint, El->LBPoint, El->RBPoint, El->ClRect, El->LTPoint,
                   Point(El->RTPoint.X + DW, El->RTPoint.Y), Point(El->LBPoint.X, El->LBPoint.Y + DH),
                   Point(El->RBPoint.X + DW, El->RBPoint.Y + DH),
                   Rect(El->ClRect.Left, El->ClRect.Top, El->ClRect.Right + DW, El->ClRect.Bottom + DH), Dest,
                   Pic, State, Dest->Width(), Dest->Height(), true, El->LeftStretch, El->TopStretch,
                   El->RightStretch, El->BottomStretch, El->StretchEffect, El->StretchType);
}

// The glyph part of the skin picture centred in R, keyed on the fixed colour.
void drawMarker(TCanvas* C, TBitmap* Pic, const TRect& Src, const TRect& R, TColor Key, Integer Down) {
  TBitmap G;
  if (!LoadMarkerGlyph(&G, Pic, Src, Key)) return;
  C->Draw(R.Left + (RectWidth(R) - G.Width()) / 2, R.Top + (RectHeight(R) - G.Height()) / 2 + Down, &G);
}

}  // namespace

// Title (optionally), then the caption, or the image and caption, into R.
void TbsSkinCustomOfficeComboBox::drawItemContents(TCanvas* C, Integer Index, TRect R, bool WithTitle) {
  TbsSkinOfficeItem* Item = Items()->Items(Index);
  if (WithTitle && FShowItemText && FShowItemTitle && !Item->Title().empty()) {
    const TFontStyles Style = C->Font()->Style();
    C->Font()->SetStyle(Style + TFontStyles{fsBold});
    TRect T = R;
    T.Bottom = T.Top + C->TextHeight(Item->Title());
    DrawWideText(C, Item->Title(), T, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    C->Font()->SetStyle(Style);
    R.Top = T.Bottom - 2;
  }
  if (FShowItemText && !FShowItemImage) {
    TextRectLeftIndent(C, Item->Caption(), R, 2);
  } else if (FShowItemImage) {
    DrawCaptionWithImageLeft(C, R, 0, 2, blGlyphLeft, FShowItemText ? Item->Caption() : String(),
                             Item->ImageIndex(), Images(), false, Enabled(), false, clBlack);
  }
}

// ---- default look ----

void TbsSkinCustomOfficeComboBox::paintFrame(TBitmap* B, bool InnerFrame) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, Width(), Height()));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, Width(), Height()));
  C->Brush()->SetColor(FDefaultColor);
  if (InnerFrame) C->FrameRect(Rect(1, 1, Width() - 1, Height() - 1));
  C->FillRect(Rect(2, 2, Width() - 2, Height() - 2));
}

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawDefaultToolButton(C);
    return;
  }
  paintFrame(B, true);
  DrawButton(C);
  DrawDefaultItem(C);
}

void TbsSkinCustomOfficeComboBox::drawDefaultItemContents(TCanvas* C, Integer Index, const TRect& R, Integer,
                                                          Integer) {
  C->Brush()->SetStyle(bsClear);
  if (OnDrawItem)
    OnDrawItem(C, Index, R);
  else
    drawItemContents(C, Index, R, true);
}

void TbsSkinCustomOfficeComboBox::DrawDefaultToolButton(TCanvas* C) {
  const TRect R = Rect(0, 0, Width(), Height());
  DrawDefaultToolButtonFrame(C, R, FDropDown, FMouseIn || Focused());
  C->SetFont(FDefaultFont.get());
  C->Brush()->SetStyle(bsClear);
  if (const Integer I = shownIndex(); I != -1) {
    if (OnDrawItem)
      OnDrawItem(C, I, Rect(2, 2, Width() - 17, Height() - 2));
    else
      drawItemContents(C, I, Rect(2, 2, Width() - 17, Height() - 2), true);
  }
  DrawSmallDownArrow(C, Rect(Width() - 15, 0, Width(), Height()), C->Font()->Color());
}

// ---- skinned look ----

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawSkinToolButton(C);
    return;
  }
  const bool Hot = FMouseIn || Focused();
  if (!FUseSkinSize) {
    const TRect Src = !IsEmptyRect(ActiveSkinRect) && Hot ? ActiveSkinRect : SkinRect;
    if (Picture != nullptr) ComposeStretchedSkinImage(B, Picture, Src, ClRect, true);
    DrawResizeButton(C);
    DrawSkinItem(B);
    return;
  }
  TbsComboBoxBase::CreateControlSkinImage(B);
  if (Hot && !IsEmptyRect(ActiveSkinRect) && Picture != nullptr) {
    TBitmap H;
    ComposeSkinImageH(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, &H, Picture, ActiveSkinRect, Width(),
                      Height(), StretchEffect);
    C->Draw(0, 0, &H);
  }
  DrawButton(C);
  DrawResizeSkinItem(B);
}

void TbsSkinCustomOfficeComboBox::DrawResizeButton(TCanvas* C) {
  auto* El = firstButtonElement(FSD, {"combobutton", "editbutton", "resizebutton"});
  if (El == nullptr || RectWidth(Button.R) <= 0 || RectHeight(Button.R) <= 0) return;
  TRect State = El->SkinRect;
  TColor Arrow = El->FontColor;
  const TRect Hover = IsEmptyRect(El->ActiveSkinRect) ? El->SkinRect : El->ActiveSkinRect;
  const bool Pressed = Button.Down && Button.MouseIn;
  if (Pressed) {
    State = IsEmptyRect(El->DownSkinRect) ? Hover : El->DownSkinRect;
    Arrow = El->DownFontColor;
  } else if (Button.MouseIn) {
    State = Hover;
    Arrow = El->ActiveFontColor;
  }
  TBitmap BB;
  BB.SetSize(RectWidth(Button.R), RectHeight(Button.R));
  composeButton(&BB, FSD, El, State);
  const TRect All = Rect(0, 0, BB.Width(), BB.Height());
  if (IsEmptyRect(El->MenuMarkerRect)) {
    if (Enabled())
      DrawArrow(BB.Canvas(), Rect(0, Pressed ? 2 : 0, BB.Width(), BB.Height() + (Pressed ? 2 : 0)), Arrow, 4);
  } else {
    TRect Src = El->MenuMarkerRect;
    if (Pressed && !IsEmptyRect(El->MenuMarkerDownRect))
      Src = El->MenuMarkerDownRect;
    else if (Button.MouseIn && !IsEmptyRect(El->MenuMarkerActiveRect))
      Src = El->MenuMarkerActiveRect;
    drawMarker(BB.Canvas(), Picture, Src, All, El->MenuMarkerTransparentColor, Pressed ? 1 : 0);
  }
  C->Draw(Button.R.Left, Button.R.Top, &BB);
}

void TbsSkinCustomOfficeComboBox::DrawSkinItem(TBitmap* Control) {
  if (RectWidth(CBItem.R) <= 0 || RectHeight(CBItem.R) <= 0) return;
  TBitmap B;
  B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
  auto underneath = [&] {
    B.Canvas()->CopyRect(Rect(0, 0, B.Width(), B.Height()), Control->Canvas(), CBItem.R);
  };
  // The stretch client of a state picture: ItemTextRect pulled in by how much larger SItemRect is.
  auto pulledIn = [&](const TRect& State) {
    TRect R = ItemTextRect;
    R.Right -= RectWidth(SItemRect) - RectWidth(State);
    R.Bottom -= RectHeight(SItemRect) - RectHeight(State);
    return R;
  };
  const bool Focus = Focused();
  if (Focus) {
    if (!IsEmptyRect(FocusItemRect) && Picture != nullptr) {
      TRect Cl = ItemTextRect;
      InflateRect(&Cl, -1, -1);
      Cl.Right -= RectWidth(SItemRect) - RectWidth(FocusItemRect);
      Cl.Bottom -= RectHeight(SItemRect) - RectHeight(FocusItemRect);
      ComposeStretchedSkinImage(&B, Picture, FocusItemRect, Cl, true);
    } else {
      underneath();
    }
  } else if (!IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect) && FMouseIn && Picture != nullptr) {
    ComposeStretchedSkinImage(&B, Picture, ActiveItemRect, pulledIn(ActiveItemRect), true);
  } else if (!IsEmptyRect(SItemRect) && Picture != nullptr) {
    ComposeStretchedSkinImage(&B, Picture, SItemRect, ItemTextRect, true);
  } else {
    underneath();
  }
  TRect R = ItemTextRect;
  R.Right += RectWidth(CBItem.R) - (IsEmptyRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  R.Bottom += Height() - RectHeight(SkinRect);
  TCanvas* BC = B.Canvas();
  ApplySkinFont(BC, FontName, FontHeight, FontStyle);
  if (Focus)
    BC->Font()->SetColor(FocusFontColor);
  else if (FMouseIn && !IsEmptyRect(ActiveSkinRect))
    BC->Font()->SetColor(ActiveFontColor);
  else
    BC->Font()->SetColor(FontColor);
  BC->Brush()->SetStyle(bsClear);
  if (const Integer I = shownIndex(); I != -1) {
    if (Focus && ShowFocus) {
      BC->Brush()->SetStyle(bsSolid);
      BC->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
      BC->DrawFocusRect(Rect(0, 0, B.Width(), B.Height()));
      BC->Brush()->SetStyle(bsClear);
    }
    R.Left += 1;
    if (OnDrawItem)
      OnDrawItem(BC, I, R);
    else
      drawItemContents(BC, I, R, true);
  }
  Control->Canvas()->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinCustomOfficeComboBox::DrawResizeSkinItem(TBitmap* Control) {
  if (RectWidth(CBItem.R) <= 0 || RectHeight(CBItem.R) <= 0) return;
  const bool Focus = Focused();
  TRect State = SItemRect;
  bool Stretch = ItemStretchEffect;
  if (Focus) {
    State = FocusItemRect;
    Stretch = FocusItemStretchEffect;
  } else if (!IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect) && FMouseIn) {
    State = ActiveItemRect;
  }
  TBitmap B;
  const Integer H = !IsEmptyRect(SItemRect) ? RectHeight(SItemRect) : RectHeight(FocusItemRect);
  if (Picture != nullptr && !IsEmptyRect(State)) {
    ComposeSkinImageH(ItemLeftOffset, ItemRightOffset, &B, Picture, State, RectWidth(CBItem.R), H, Stretch);
  } else {
    B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
    B.Canvas()->CopyRect(Rect(0, 0, B.Width(), B.Height()), Control->Canvas(), CBItem.R);
  }
  TRect R = ItemTextRect;
  R.Right += RectWidth(CBItem.R) - (IsEmptyRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  TCanvas* BC = B.Canvas();
  ApplySkinFont(BC, FontName, FontHeight, FontStyle);
  if (!Enabled()) {
    auto* Edit = elementNamed<TbsDataSkinEditControl>(FSD, "edit");
    BC->Font()->SetColor(Edit != nullptr ? Edit->DisabledFontColor : clGrayText);
  } else if (Focus) {
    BC->Font()->SetColor(FocusFontColor);
  } else if (FMouseIn && !IsEmptyRect(ActiveSkinRect)) {
    BC->Font()->SetColor(ActiveFontColor);
  } else {
    BC->Font()->SetColor(FontColor);
  }
  BC->Brush()->SetStyle(bsClear);
  if (const Integer I = shownIndex(); I != -1) {
    R.Left += 1;
    if (OnDrawItem)
      OnDrawItem(BC, I, R);
    else
      drawItemContents(BC, I, R, false);
  }
  Control->Canvas()->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinCustomOfficeComboBox::DrawSkinToolButton(TCanvas* C) {
  auto* El = firstButtonElement(FSD, {"resizetoolbutton", "resizebutton"});
  if (El == nullptr) return;
  const bool Hot = FMouseIn || Focused();
  TRect State = El->SkinRect;
  if (FDropDown && !IsEmptyRect(El->DownSkinRect))
    State = El->DownSkinRect;
  else if (!FDropDown && Hot && !IsEmptyRect(El->ActiveSkinRect))
    State = El->ActiveSkinRect;
  TBitmap B;
  B.SetSize(Width(), Height());
  composeButton(&B, FSD, El, State);
  C->Draw(0, 0, &B);
  ApplySkinFont(C, El->FontName, El->FontHeight, El->FontStyle);
  if (FDropDown)
    C->Font()->SetColor(El->DownFontColor);
  else if (Hot)
    C->Font()->SetColor(El->ActiveFontColor);
  else
    C->Font()->SetColor(Enabled() ? El->FontColor : El->DisabledFontColor);
  C->Brush()->SetStyle(bsClear);
  if (const Integer I = shownIndex(); I != -1) {
    if (OnDrawItem)
      OnDrawItem(C, I, Rect(3, 2, Width() - 17, Height() - 2));
    else
      drawItemContents(C, I, Rect(3, 2, Width() - 17, Height() - 2), true);
  }
  const TRect ArrowArea = Rect(Width() - 15, 0, Width(), Height());
  if (!IsEmptyRect(El->MenuMarkerRect)) {
    TRect Src = El->MenuMarkerRect;
    if (FDropDown && !IsEmptyRect(El->MenuMarkerDownRect))
      Src = El->MenuMarkerDownRect;
    else if (Hot && !IsEmptyRect(El->MenuMarkerActiveRect))
      Src = El->MenuMarkerActiveRect;
    drawMarker(C, Picture, Src, ArrowArea, El->MenuMarkerTransparentColor, 0);
  } else {
    DrawSmallDownArrow(C, ArrowArea, FDropDown ? El->DownFontColor : C->Font()->Color());
  }
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
  TBitmap B;
  B.SetSize(Width(), Height());
  GetSkinData();
  CalcRects();
  const String Old = Text();
  SetText(AText);
  TCanvas* BC = B.Canvas();
  if (FToolButtonStyle) {
    if (FIndex == -1)
      DrawDefaultToolButton(BC);
    else
      DrawSkinToolButton(BC);
    BC->Brush()->SetStyle(bsClear);
    TextRectLeft(BC, AText, Rect(3, 2, Width() - 17, Height() - 2));
  } else {
    if (FIndex == -1) {
      paintFrame(&B, false);
      DrawButton(BC);
      BC->SetFont(FDefaultFont.get());
    } else {
      if (Picture != nullptr) {
        const TRect Src = !IsEmptyRect(ActiveSkinRect) && (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
        if (FUseSkinSize)
          TbsComboBoxBase::CreateControlSkinImage(&B);
        else
          ComposeStretchedSkinImage(&B, Picture, Src, ClRect, true);
      }
      if (FUseSkinSize)
        DrawButton(BC);
      else
        DrawResizeButton(BC);
      BC->Font()->SetStyle(FontStyle);
      BC->Font()->SetColor(FontColor);
      BC->Font()->SetHeight(FontHeight);
      BC->Font()->SetName(FontName);
    }
    BC->Brush()->SetStyle(bsClear);
    TextRectLeft(BC, AText, CBItem.R);
  }
  SetText(Old);
  C->Draw(X, Y, &B);
}
