// Painting of the ribbon and of its pages' backgrounds: the skinned look cut from the "officetab"
// element and the flat default look. The strip is composed off-screen and copied once per paint.
#include <algorithm>

#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/bsribbonshared.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsbuttons.h"

namespace {

// Caption of tab rectangle R (already inset): left-aligned when wider than the tab allows, else centred.
void tabCaption(TCanvas* Cnvs, const String& S, const TRect& R, Integer TabWidth) {
  TRect M = Rect(0, 0, 0, 0);
  DrawText(Cnvs->Handle(), S, &M, DT_CALCRECT | DT_SINGLELINE);
  if (RectWidth(M) > TabWidth - 6)
    DrawTextLeft(Cnvs, S, R);
  else
    DrawTextCenteredEx(Cnvs, S, R);
}

String captionOf(TbsRibbonTab* T) {
  return T->Page() != nullptr ? T->Page()->Caption() : String();
}

}  // namespace

void TbsRibbon::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC != nullptr) {
    TCanvas C;
    C.SetHandle(DC);
    PaintRibbon(&C);
    C.SetHandle(nullptr);
    WMEraseReady = true;
  }
  Message.Result = 1;
}

void TbsRibbon::Paint() {
  if (WMEraseReady) {
    WMEraseReady = false;
    return;
  }
  PaintRibbon(Canvas());
}

void TbsRibbon::PaintRibbon(TCanvas* Cnvs) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  if (FIndex != -1 && FData != nullptr && FDataPicture != nullptr)
    PaintSkinned(Cnvs);
  else
    PaintDefault(Cnvs);
}

void TbsRibbon::PaintDefault(TCanvas* Cnvs) {
  const Integer TH = GetTabsHeight();
  Cnvs->Brush()->SetStyle(bsSolid);
  Cnvs->Brush()->SetColor(clBtnShadow);
  Cnvs->FillRect(Rect(0, TH + 2, Width(), Height()));
  TBitmap B;
  B.SetSize(Width(), TH + 2);
  B.Canvas()->Brush()->SetColor(clBtnShadow);
  B.Canvas()->FillRect(Rect(0, 0, Width(), TH + 2));
  if (FTabs->Count() == 0) {
    Integer L, T, W, H;
    GetPageRect(L, T, W, H);
    Cnvs->Brush()->SetColor(clBtnFace);
    Cnvs->FillRect(Rect(L, T, L + W, T + H));
  }
  B.Canvas()->SetFont(Font());
  DrawStripItems(B.Canvas(), false);
  Cnvs->Draw(0, 0, &B);
}

void TbsRibbon::DrawStripItems(TCanvas* Cnvs, bool Skinned) {
  CalcItemRects(Cnvs);
  if (anyTabVisible())
    for (Integer i = 0; i < FTabs->Count(); ++i) {
      if (!FTabs->Items(i)->Visible()) continue;
      if (Skinned)
        DrawSkinTab(Cnvs, i);
      else
        DrawDefaultTab(Cnvs, i);
    }
  if (FButtons->Count() > 0 && FButtonsImageList != nullptr)
    for (Integer i = 0; i < FButtons->Count(); ++i) DrawButton(Cnvs, i);
  for (Integer i = 0; i < FMDIButtons->Count(); ++i) DrawMDIButton(Cnvs, i);
}

void TbsRibbon::PaintSkinned(TCanvas* Cnvs) {
  TbsDataSkinTabControl* D = FData;
  Integer PL, PT, PW, PH;
  GetPageRect(PL, PT, PW, PH);
  const TRect P = Rect(PL, PT, PL + PW, PT + PH);
  const TRect F =
      Rect(P.Left - D->ClRect.Left, P.Top - D->ClRect.Top, P.Right + RectWidth(D->SkinRect) - D->ClRect.Right,
           P.Bottom + RectHeight(D->SkinRect) - D->ClRect.Bottom);
  const Integer dW = RectWidth(F) - RectWidth(D->SkinRect);
  const Integer dH = RectHeight(F) - RectHeight(D->SkinRect);
  const TPoint NewLT = D->LTPoint;
  const TPoint NewRT{D->RTPoint.X + dW, D->RTPoint.Y};
  const TPoint NewLB{D->LBPoint.X, D->LBPoint.Y + dH};
  const TPoint NewRB{D->RBPoint.X + dW, D->RBPoint.Y + dH};
  const TRect NewCl = Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + dW, D->ClRect.Bottom + dH);
  TBitmap LB, TB, RB, BB;
  ComposeSkinBorders(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, NewLT, NewRT, NewLB, NewRB,
                     NewCl, &LB, &TB, &RB, &BB, FDataPicture, D->SkinRect, RectWidth(F), RectHeight(F),
                     D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch);
  const Integer TH = GetTabsHeight();
  TBitmap T;
  T.SetSize(Width(), TB.Height() + TH);
  T.Canvas()->Draw(0, T.Height() - TB.Height(), &TB);
  const TRect Strip = Rect(0, 0, Width(), T.Height() - TB.Height());
  if (IsEmptyRect(D->TabsBGRect)) {
    T.Canvas()->Brush()->SetColor(FSD->SkinColors()->cBtnShadow());
    T.Canvas()->FillRect(Strip);
  } else {
    T.Canvas()->CopyRect(Strip, FDataPicture->Canvas(), D->TabsBGRect);
  }
  if (FUseSkinFont) {
    T.Canvas()->Font()->SetName(D->FontName);
    T.Canvas()->Font()->SetStyle(D->FontStyle);
    T.Canvas()->Font()->SetHeight(D->FontHeight);
  } else {
    T.Canvas()->SetFont(Font());
  }
  DrawStripItems(T.Canvas(), true);
  Cnvs->Draw(F.Left, F.Top + TB.Height(), &LB);
  Cnvs->Draw(F.Left + RectWidth(F) - RB.Width(), F.Top + TB.Height(), &RB);
  Cnvs->Draw(F.Left, F.Top + RectHeight(F) - BB.Height(), &BB);
  Cnvs->Draw(0, 0, &T);
  if (!anyTabVisible()) PaintEmptyPageArea(Cnvs, P);
}

void CutSkinPiece(TBitmap* B, TBitmap* Source, const TRect& Piece, bool Transparent, TColor Key) {
  B->SetSize(RectWidth(Piece), RectHeight(Piece));
  B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Source->Canvas(), Piece);
  if (!Transparent) return;
  B->SetTransparent(true);
  B->SetTransparentMode(tmFixed);
  B->SetTransparentColor(Key);
}

void LaySkinPicture(TCanvas* Cnvs, const TRect& R, TBitmap* Source, const TRect& SourceRect, bool Stretch,
                    TbsStretchType StretchType) {
  const Integer SW = RectWidth(SourceRect), SH = RectHeight(SourceRect);
  if (SW <= 0 || SH <= 0) return;
  TBitmap Piece;
  Piece.SetSize(SW, SH);
  Piece.Canvas()->CopyRect(Rect(0, 0, SW, SH), Source->Canvas(), SourceRect);
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (Stretch) {
    switch (StretchType) {
      case bsstFull:
        Cnvs->StretchDraw(R, &Piece);
        break;
      case bsstHorz:
        for (Integer X = R.Left; X < R.Right; X += SW)
          Cnvs->StretchDraw(Rect(X, R.Top, X + SW, R.Bottom), &Piece);
        break;
      default:
        for (Integer Y = R.Top; Y < R.Bottom; Y += SH)
          Cnvs->StretchDraw(Rect(R.Left, Y, R.Right, Y + SH), &Piece);
        break;
    }
    return;
  }
  for (Integer i = 0; i <= W / SW; ++i)
    for (Integer j = 0; j <= H / SH; ++j) Cnvs->Draw(R.Left + i * SW, R.Top + j * SH, &Piece);
}

void TbsRibbon::LayoutPicture(TCanvas* Cnvs, const TRect& R, TBitmap* Source, const TRect& SourceRect) {
  LaySkinPicture(Cnvs, R, Source, SourceRect, FData->StretchEffect, FData->StretchType);
}

void TbsRibbon::DrawPageBackground(TCanvas* Cnvs, const TRect& R) {
  GetSkinData();
  if (FData == nullptr || FIndex == -1) {
    Cnvs->Brush()->SetColor(clBtnFace);
    Cnvs->FillRect(R);
    return;
  }
  if (FData->BGPictureIndex != -1) {
    if (TBitmap* BG = SkinPictureAt(FSD, FData->BGPictureIndex)) {
      LayoutPicture(Cnvs, R, BG, Rect(0, 0, BG->Width(), BG->Height()));
      return;
    }
  }
  if (FDataPicture != nullptr) {
    TRect Cl = FData->ClRect;
    OffsetRect(&Cl, FData->SkinRect.Left, FData->SkinRect.Top);
    LayoutPicture(Cnvs, R, FDataPicture, Cl);
  }
}

void TbsRibbon::PaintEmptyPageArea(TCanvas* Cnvs, const TRect& R) {
  if (Width() < 1 || Height() < 1) return;
  HDC DC = Cnvs->Handle();
  const int Saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  DrawPageBackground(Cnvs, R);
  RestoreDC(DC, Saved);
}

void TbsRibbon::DrawDefaultTab(TCanvas* Cnvs, Integer Index) {
  TbsRibbonTab* T = FTabs->Items(Index);
  const TRect& IR = T->ItemRect;
  const String S = captionOf(T);
  if (Index == FTabIndex) {
    TBitmap B;
    B.SetSize(RectWidth(IR), RectHeight(IR) + 2);
    B.Canvas()->Brush()->SetColor(clBtnFace);
    B.Canvas()->FillRect(Rect(0, 0, B.Width(), B.Height()));
    B.Canvas()->SetFont(Cnvs->Font());
    B.Canvas()->Font()->SetColor(clBtnText);
    if (FTabBoldStyle) B.Canvas()->Font()->SetStyle(B.Canvas()->Font()->Style() + TFontStyles{fsBold});
    B.Canvas()->Brush()->SetStyle(bsClear);
    tabCaption(B.Canvas(), S, Rect(3, 0, B.Width() - 3, B.Height() - 1), T->Width);
    Cnvs->Draw(IR.Left, IR.Top, &B);
    return;
  }
  Cnvs->Brush()->SetStyle(bsClear);
  Cnvs->Font()->SetColor(clBtnHighlight);
  tabCaption(Cnvs, S, Rect(IR.Left + 3, IR.Top, IR.Right - 3, IR.Bottom), T->Width);
  if (FShowDivider) {
    Cnvs->Pen()->SetColor(cl3DDkShadow);
    Cnvs->MoveTo(IR.Right, IR.Top);
    Cnvs->LineTo(IR.Right, IR.Bottom + 1);
  }
}

void TbsRibbon::DrawPictureTab(TCanvas* Cnvs, Integer Index, const TRect& Piece, TColor FontColor, bool Bold,
                               Integer BottomInset) {
  TbsRibbonTab* T = FTabs->Items(Index);
  TBitmap B;
  ComposeSkinImageH(FData->TabLeftOffset, FData->TabRightOffset, &B, FDataPicture, Piece,
                    RectWidth(T->ItemRect), RectHeight(Piece), FData->TabStretchEffect);
  B.Canvas()->SetFont(Cnvs->Font());
  B.Canvas()->Font()->SetColor(FontColor);
  if (Bold) B.Canvas()->Font()->SetStyle(B.Canvas()->Font()->Style() + TFontStyles{fsBold});
  B.Canvas()->Brush()->SetStyle(bsClear);
  tabCaption(B.Canvas(), captionOf(T), Rect(3, 0, B.Width() - 3, B.Height() - BottomInset), T->Width);
  Cnvs->Draw(T->ItemRect.Left, T->ItemRect.Top, &B);
}

void TbsRibbon::DrawSkinTab(TCanvas* Cnvs, Integer Index) {
  TbsRibbonTab* T = FTabs->Items(Index);
  TbsDataSkinTabControl* D = FData;
  // While the application menu covers the pages no tab shows as selected.
  const bool MenuShown = AppMenuShown();
  if (Index == FTabIndex && Focused() && !IsEmptyRect(D->FocusTabRect) && !MenuShown) {
    DrawPictureTab(Cnvs, Index, D->FocusTabRect, D->FocusFontColor, FTabBoldStyle, 1);
    return;
  }
  if (Index == FTabIndex && !IsEmptyRect(D->ActiveTabRect) && !MenuShown) {
    DrawPictureTab(Cnvs, Index, D->ActiveTabRect, D->ActiveFontColor, FTabBoldStyle, 1);
    return;
  }
  if (T->Active && !IsEmptyRect(D->MouseInTabRect)) {
    DrawPictureTab(Cnvs, Index, D->MouseInTabRect, D->MouseInFontColor, false, 0);
    return;
  }
  const TRect& IR = T->ItemRect;
  Cnvs->Brush()->SetStyle(bsClear);
  Cnvs->Font()->SetColor(T->Active ? D->MouseInFontColor : D->FontColor);
  tabCaption(Cnvs, captionOf(T), Rect(IR.Left + 3, IR.Top, IR.Right - 3, IR.Bottom), T->Width);
  if (!FShowDivider) return;
  if (IsEmptyRect(D->DividerRect)) {
    Cnvs->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
    Cnvs->MoveTo(IR.Right, IR.Top);
    Cnvs->LineTo(IR.Right, IR.Bottom);
    return;
  }
  TBitmap B;
  CutSkinPiece(&B, FDataPicture, D->DividerRect, D->DividerTransparent, D->DividerTransparentColor);
  Cnvs->Draw(IR.Right - B.Width(), IR.Bottom - B.Height(), &B);
}

void TbsRibbon::DrawMDIButton(TCanvas* Cnvs, Integer Index) {
  TbsRibbonButtonItem* Btn = FMDIButtons->Items(Index);
  const TRect& IR = Btn->ItemRect;
  if (FData == nullptr || FDataPicture == nullptr || FIndex == -1) {
    const TColor C = Btn->Active || Btn->Down ? clBtnHighlight : clBtnText;
    const Integer X = IR.Left + RectWidth(IR) / 2 - 5, Y = IR.Top + RectHeight(IR) / 2 - 4;
    if (Btn->Code == 1)
      DrawCloseGlyph(Cnvs, X, Y, C);
    else if (Btn->Code == 2)
      DrawRestoreGlyph(Cnvs, X, Y, C);
    else
      DrawMinimizeGlyph(Cnvs, X, Y, C);
    return;
  }
  TbsDataSkinTabControl* D = FData;
  TRect Normal = D->MDIMinRect, Active = D->MDIMinActiveRect, Down = D->MDIMinDownRect;
  if (Btn->Code == 1) {
    Normal = D->MDICloseRect;
    Active = D->MDICloseActiveRect;
    Down = D->MDICloseDownRect;
  } else if (Btn->Code == 2) {
    Normal = D->MDIRestoreRect;
    Active = D->MDIRestoreActiveRect;
    Down = D->MDIRestoreDownRect;
  }
  if (IsEmptyRect(Active)) Active = Normal;
  if (IsEmptyRect(Down)) Down = Active;
  const TRect Piece = Btn->Active && Btn->Down ? Down : Btn->Active ? Active : Normal;
  if (IsEmptyRect(Piece)) return;
  TBitmap B;
  CutSkinPiece(&B, FDataPicture, Piece, D->MDIButtonsTransparent, D->MDIButtonsTransparentColor);
  Cnvs->Draw(IR.Left, IR.Top, &B);
}

void TbsRibbon::DrawButton(TCanvas* Cnvs, Integer Index) {
  TbsRibbonButtonItem* Btn = FButtons->Items(Index);
  if (!Btn->Visible()) return;
  const TRect& IR = Btn->ItemRect;
  if (FData == nullptr || FDataPicture == nullptr || FIndex == -1) {
    if (Btn->Active && Btn->Down) {
      Cnvs->Brush()->SetColor(cl3DDkShadow);
      Cnvs->FillRect(IR);
    } else if (Btn->Active) {
      Cnvs->Brush()->SetColor(clBtnFace);
      Cnvs->FillRect(IR);
    }
  } else {
    const bool Pressed = (Btn->Active && Btn->Down) || Index == FPopupButton;
    if (Pressed || Btn->Active) {
      Integer I = FSD->GetControlIndex("officeribbonbutton");
      if (I == -1) I = FSD->GetControlIndex("resizetoolbutton");
      auto* E = I != -1 ? dynamic_cast<TbsDataSkinButtonControl*>(FSD->Ctrls(I)) : nullptr;
      TBitmap* Pic = E != nullptr ? SkinPictureAt(FSD, E->PictureIndex) : nullptr;
      if (Pic != nullptr) {
        const TRect Src = Pressed ? E->DownSkinRect : E->ActiveSkinRect;
        if (!IsEmptyRect(Src)) {
          TBitmap B;
          B.SetSize(RectWidth(IR), RectHeight(IR));
          ComposeStretchedSkinImage(&B, Pic, Src, E->ClRect, true);
          Cnvs->Draw(IR.Left, IR.Top, &B);
        }
      }
    }
  }
  if (Btn->ImageIndex() >= 0 && Btn->ImageIndex() < FButtonsImageList->Count())
    FButtonsImageList->Draw(Cnvs, IR.Left + RectWidth(IR) / 2 - FButtonsImageList->Width() / 2,
                            IR.Top + RectHeight(IR) / 2 - FButtonsImageList->Height() / 2, Btn->ImageIndex(),
                            Btn->Enabled());
}

// ---- page background ----

void TbsRibbonPage::WMEraseBkgnd(TMessage& Message) {
  Message.Result = 1;
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC == nullptr || Ribbon == nullptr || Width() <= 0 || Height() <= 0) return;
  TCanvas C;
  C.SetHandle(DC);
  Ribbon->DrawPageBackground(&C, Rect(0, 0, Width(), Height()));
  C.SetHandle(nullptr);
}
