// Painting of the application menu, its items and its pages' backgrounds: the skinned look cut from the
// "appmenu" element and the flat default look. The skinned menu is composed on one off-screen bitmap.
#include <algorithm>

#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/bsribbonshared.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

namespace {

bool insidePicture(TBitmap* Pic, const TRect& R) {
  return Pic != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= Pic->Width() &&
         R.Bottom <= Pic->Height();
}

}  // namespace

void TbsAppMenu::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
}

void TbsAppMenu::Paint() {
  PaintMenu(Canvas());
}

void TbsAppMenu::drawPicture(TCanvas* Cnvs, TBitmap* Pic, const TRect& R, bool Stretch) {
  LaySkinPicture(Cnvs, R, Pic, Rect(0, 0, Pic->Width(), Pic->Height()), Stretch, bsstFull);
}

void TbsAppMenu::drawPageFrame(TCanvas* Cnvs) {
  TbsDataSkinAppMenu* D = FData;
  const TRect P = FActivePage->BoundsRect();
  const TRect F =
      Rect(P.Left - D->ClRect.Left, P.Top - D->ClRect.Top, P.Right + RectWidth(D->SkinRect) - D->ClRect.Right,
           P.Bottom + RectHeight(D->SkinRect) - D->ClRect.Bottom);
  const Integer dW = RectWidth(F) - RectWidth(D->SkinRect);
  const Integer dH = RectHeight(F) - RectHeight(D->SkinRect);
  TBitmap LB, TB, RB, BB;
  ComposeSkinBorders(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                     TPoint{D->RTPoint.X + dW, D->RTPoint.Y}, TPoint{D->LBPoint.X, D->LBPoint.Y + dH},
                     TPoint{D->RBPoint.X + dW, D->RBPoint.Y + dH},
                     Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + dW, D->ClRect.Bottom + dH), &LB,
                     &TB, &RB, &BB, FDataPicture, D->SkinRect, RectWidth(F), RectHeight(F), D->LeftStretch,
                     D->TopStretch, D->RightStretch, D->BottomStretch);
  Cnvs->Draw(F.Left, F.Top, &TB);
  Cnvs->Draw(F.Left, F.Top + TB.Height(), &LB);
  Cnvs->Draw(F.Right - RB.Width(), F.Top + TB.Height(), &RB);
  Cnvs->Draw(F.Left, F.Bottom - BB.Height(), &BB);
}

void TbsAppMenu::PaintMenu(TCanvas* Cnvs) {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  if (FIndex == -1 || FData == nullptr || FDataPicture == nullptr) {
    Cnvs->SetFont(Font());
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(clBtnShadow);
    Cnvs->FillRect(Rect(0, 0, Width(), Height()));
    CalcItemRects();
    for (Integer i = 0; i < FItems->Count(); ++i)
      if (FItems->Items(i)->Visible()) DrawDefaultItem(Cnvs, i);
    return;
  }
  TbsDataSkinAppMenu* D = FData;
  TBitmap B;
  B.SetSize(Width(), Height());
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
  C->FillRect(Rect(0, 0, Width(), Height()));
  if (FDataBGPicture != nullptr && FDataBGPicture->Width() > 0 && FDataBGPicture->Height() > 0) {
    const Integer Right = FDataPageBGPicture != nullptr ? FItemWidth : Width();
    if (D->BGStretchEffect) {
      C->StretchDraw(Rect(0, 0, Right, Height()), FDataBGPicture);
    } else {
      // Whole copies from the left edge; the page background, if any, covers what reaches past the column.
      drawPicture(C, FDataBGPicture, Rect(0, 0, Right, Height()), false);
    }
  }
  if (FDataPageBGPicture != nullptr && FDataPageBGPicture->Width() > 0 && FDataPageBGPicture->Height() > 0)
    drawPicture(C, FDataPageBGPicture, Rect(FItemWidth, 0, Width(), Height()), D->BGPageStretchEffect);
  if (FActivePage != nullptr) drawPageFrame(C);
  CalcItemRects();
  const bool HasBack = !IsEmptyRect(FBackButtonRect);
  if (HasBack) {
    const TRect Piece = FBackButtonActive && !IsEmptyRect(D->BackButtonActiveRect) ? D->BackButtonActiveRect
                                                                                   : D->BackButtonRect;
    if (insidePicture(FDataPicture, Piece)) {
      TBitmap Back;
      CutSkinPiece(&Back, FDataPicture, Piece, false, 0);
      C->Draw(FBackButtonRect.Left, FBackButtonRect.Top, &Back);
    }
  }
  HDC DC = C->Handle();
  const int Saved = SaveDC(DC);
  // Items scrolled upwards slide under the back button's row, never over it.
  if (HasBack) ExcludeClipRect(DC, 0, 0, FItemWidth, FBackButtonRect.Bottom + 2);
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->Visible()) DrawSkinItem(C, i);
  RestoreDC(DC, Saved);
  if (!IsEmptyRect(D->TopLineRect) && insidePicture(FDataPicture, D->TopLineRect)) {
    TBitmap Line;
    ComposeSkinImageH(D->TopLineOffset1, D->TopLineOffset2, &Line, FDataPicture, D->TopLineRect, Width(),
                      RectHeight(D->TopLineRect), true);
    C->Draw(0, 0, &Line);
  }
  if (CanShowGripper() && insidePicture(FDataPicture, D->GripperRect)) {
    TBitmap Grip;
    CutSkinPiece(&Grip, FDataPicture, D->GripperRect, true, D->GripperTransparentColor);
    C->Draw(Width() - Grip.Width(), Height() - Grip.Height(), &Grip);
  }
  Cnvs->Draw(0, 0, &B);
}

// ---- items ----

void TbsAppMenu::applyItemFont(TCanvas* Cnvs, bool PageItem, bool Highlighted, bool Enabled) {
  TbsDataSkinAppMenu* D = FData;
  if (FUseSkinFont) {
    Cnvs->Font()->SetName(D->FontName);
    Cnvs->Font()->SetStyle(D->FontStyle);
  } else {
    Cnvs->Font()->SetName(Font()->Name());
    Cnvs->Font()->SetStyle(Font()->Style());
  }
  Cnvs->Font()->SetHeight(PageItem ? D->FontPageHeight : D->FontHeight);
  TColor Colour = PageItem ? (Highlighted ? D->ActiveFontPageColor : D->FontPageColor)
                           : (Highlighted ? D->ActiveFontColor : D->FontColor);
  if (!Highlighted && !Enabled) Colour = D->DisabledFontColor;
  Cnvs->Font()->SetColor(Colour);
  Cnvs->Brush()->SetStyle(bsClear);
}

void TbsAppMenu::drawItemText(TCanvas* Cnvs, TbsAppMenuItem* Item, const TRect& Box, Integer Spacing,
                              bool Single) {
  const bool PageItem = Item->Page() != nullptr;
  TCustomImageList* Images = PageItem ? FItemPageImageList : FItemImageList;
  TRect R = Box;
  R.Left += PageItem || Single ? 20 : 10;
  if (Single && FItemImageList != nullptr) R.Left += 3;
  if (Images != nullptr && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count()) {
    if (Single) R.Left = std::max(R.Left - (Images->Width() + 3), Integer(0));
    DrawCaptionWithImage(Cnvs, R, 0, Spacing, blGlyphLeft, Item->Caption(), Item->ImageIndex(), Images, false,
                         Item->Enabled(), false, 0);
  } else {
    DrawTextLeftEx(Cnvs, Item->Caption(), R);
  }
}

void TbsAppMenu::DrawSkinItem(TCanvas* Cnvs, Integer Index) {
  TbsAppMenuItem* I = FItems->Items(Index);
  TbsDataSkinAppMenu* D = FData;
  const bool PageItem = I->Page() != nullptr;
  const bool PageShown = PageItem && I->Page() == FActivePage;
  bool Highlighted = I->Active || PageShown || (Index == FItemIndex && I->Enabled());
  // A page item half under the top of the column or past the bottom of the shown page stays plain.
  if (Highlighted && PageItem &&
      (I->ItemRect.Top < 30 ||
       (FActivePage != nullptr && I->ItemRect.Bottom > FActivePage->BoundsRect().Bottom - 5)))
    Highlighted = false;
  const bool Single = SingleStyle();
  const TRect& IR = I->ItemRect;
  if (!Highlighted) {
    applyItemFont(Cnvs, PageItem, false, I->Enabled());
    drawItemText(Cnvs, I, IR, 3, Single);
    return;
  }
  TBitmap B;
  if (PageItem) {
    const TRect Piece = PageShown ? D->PageItemActiveRect : D->PageItemRect;
    ComposeSkinImageH(D->PageItemOffset1, D->PageItemOffset2, &B, FDataPicture, Piece, RectWidth(IR),
                      RectHeight(Piece), true);
    applyItemFont(B.Canvas(), true, true, I->Enabled());
    drawItemText(B.Canvas(), I, Rect(0, 0, B.Width(), RectHeight(D->PageItemRect)), 3, Single);
  } else {
    ComposeSkinImageH(D->ItemOffset1, D->ItemOffset2, &B, FDataPicture, D->ItemRect, RectWidth(IR),
                      RectHeight(IR), true);
    applyItemFont(B.Canvas(), false, true, I->Enabled());
    drawItemText(B.Canvas(), I, Rect(0, 0, B.Width(), B.Height()), 3, Single);
  }
  Cnvs->Draw(IR.Left, IR.Top, &B);
}

void TbsAppMenu::DrawDefaultItem(TCanvas* Cnvs, Integer Index) {
  TbsAppMenuItem* I = FItems->Items(Index);
  const bool PageShown = I->Page() != nullptr && I->Page() == FActivePage;
  const bool Selected = Index == FItemIndex && !designing();
  const TRect& IR = I->ItemRect;
  if (!I->Active && !PageShown && !Selected) {
    Cnvs->Brush()->SetStyle(bsClear);
    Cnvs->Font()->SetColor(I->Enabled() ? clBtnHighlight : cl3DDkShadow);
    drawItemText(Cnvs, I, IR, 5, false);
    return;
  }
  TBitmap B;
  B.SetSize(RectWidth(IR), RectHeight(IR) + 2);
  TCanvas* C = B.Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, B.Width(), B.Height()));
  if (I->Page() == nullptr) {
    C->Brush()->SetColor(cl3DDkShadow);
    C->FrameRect(Rect(0, 0, B.Width(), B.Height()));
  }
  C->SetFont(Cnvs->Font());
  C->Font()->SetColor(clBtnText);
  C->Brush()->SetStyle(bsClear);
  drawItemText(C, I, Rect(0, 0, B.Width(), RectHeight(IR)), 5, false);
  if (PageShown) DrawBigArrow(C, Rect(B.Width() - 5, 0, B.Width(), B.Height()), clWindow, 1);
  Cnvs->Draw(IR.Left, IR.Top, &B);
}

// ---- pages and caption ----

void TbsAppMenu::DrawPageBackground(TCanvas* Cnvs, const TRect& R) {
  GetSkinData();
  if (FIndex == -1 || FData == nullptr || FDataPicture == nullptr) {
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(clWindow);
    Cnvs->FillRect(R);
    return;
  }
  TRect Cl = FData->ClRect;
  OffsetRect(&Cl, FData->SkinRect.Left, FData->SkinRect.Top);
  LaySkinPicture(Cnvs, R, FDataPicture, Cl, FData->StretchEffect, FData->StretchType);
}

void TbsAppMenu::DrawAppMenuCaption(TCanvas* Cnvs, const TRect& R) {
  GetSkinData();
  if (FIndex == -1 || FData == nullptr || !insidePicture(FDataPicture, FData->CaptionRect)) return;
  TBitmap B;
  CutSkinPiece(&B, FDataPicture, FData->CaptionRect, false, 0);
  TRect Dest = R;
  OffsetRect(&Dest, FData->CaptionLeftOffset, 0);
  Dest.Top = FData->CaptionTopOffset;
  Cnvs->StretchDraw(Dest, &B);
}
