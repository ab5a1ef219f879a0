// Painting of the skinned page control: the page border, the tab row and each tab.
#include <algorithm>

#include "skin/controls/base/bsskingeometry.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bseffectbmp.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsbuttons.h"

namespace {
Integer rectWidth(const TRect& R) {
  return R.Right - R.Left;
}
Integer rectHeight(const TRect& R) {
  return R.Bottom - R.Top;
}
constexpr TColor DefaultHot = TColor(0xF3D4C1);      // RGB(193, 212, 243)
constexpr TColor DefaultFrame = TColor(0xB76B3B);    // RGB(59, 107, 183)
constexpr TColor DefaultFocused = TColor(0xE4BCA2);  // RGB(162, 188, 228)

enum TTurn { turnLeft, turnRight, turnFlip };

std::unique_ptr<TbsEffectBmp> turned(TBitmap* B, TTurn Turn) {
  auto E = TbsEffectBmp::CreateFromhWnd(B->Handle());
  if (!E) return nullptr;
  auto D = Turn == turnFlip ? std::make_unique<TbsEffectBmp>(E->Width, E->Height)
                            : std::make_unique<TbsEffectBmp>(E->Height, E->Width);
  if (Turn == turnLeft)
    E->Rotate90_1(D.get());
  else if (Turn == turnRight)
    E->Rotate90_2(D.get());
  else
    E->FlipVert(D.get());
  return D;
}

void turnInPlace(TBitmap* B, TTurn Turn) {
  if (B->Empty()) return;
  auto D = turned(B, Turn);
  if (!D) return;
  B->SetSize(D->Width, D->Height);
  D->Draw(B->Canvas()->Handle(), 0, 0);
}

void drawTurned(TCanvas* Cnvs, TBitmap* B, Integer X, Integer Y, TTurn Turn) {
  if (B->Empty()) return;
  if (auto D = turned(B, Turn)) D->Draw(Cnvs->Handle(), X, Y);
}

// Tile unscaled from the origin, or stretched by the element's rule, over W x H.
void drawBackgroundTile(TCanvas* C, TBitmap* Tile, Integer W, Integer H, bool Stretch, TbsStretchType Type) {
  const Integer TW = Tile->Width(), TH = Tile->Height();
  if (TW <= 0 || TH <= 0 || W <= 0 || H <= 0) return;
  if (!Stretch) {
    for (Integer X = 0; X <= W / TW; ++X)
      for (Integer Y = 0; Y <= H / TH; ++Y) C->Draw(X * TW, Y * TH, Tile);
    return;
  }
  switch (Type) {
    case bsstFull:
      C->StretchDraw(Rect(0, 0, W, H), Tile);
      break;
    case bsstHorz:
      for (Integer X = 0; X <= W / TW; ++X) C->StretchDraw(Bounds(X * TW, 0, TW, H), Tile);
      break;
    case bsstVert:
      for (Integer Y = 0; Y <= H / TH; ++Y) C->StretchDraw(Bounds(0, Y * TH, W, TH), Tile);
      break;
  }
}

// The image centred with the caption beside it, AY lower than the middle.
void drawTabImageAndText(TCanvas* C, Integer AW, Integer AH, const String& S, TCustomImageList* IL,
                         Integer ImageIndex, bool AEnabled, Integer AY) {
  Integer TW = 0, TH = 0;
  if (!S.empty()) {
    TRect M = Rect(0, 0, 0, 0);
    DrawText(bsCanvasDC(C), S, &M, DT_CALCRECT);
    TW = rectWidth(M) + 2;
    TH = rectHeight(M);
  }
  const Integer IX = AW / 2 - (TW + IL->Width() + 2) / 2, IY = AH / 2 + AY - IL->Height() / 2;
  TRect TR = Rect(IX + IL->Width() + 2, AH / 2 + AY - TH / 2, 0, 0);
  TR.Right = TR.Left + TW;
  TR.Bottom = TR.Top + TH;
  if (TW > 0) DrawText(bsCanvasDC(C), S, &TR, DT_CENTER);
  IL->Draw(C, IX, IY, ImageIndex, AEnabled);
}
}  // namespace

void DrawRotated90Left(TCanvas* Cnvs, TBitmap* B, Integer X, Integer Y) {
  drawTurned(Cnvs, B, X, Y, turnLeft);
}
void DrawRotated90Right(TCanvas* Cnvs, TBitmap* B, Integer X, Integer Y) {
  drawTurned(Cnvs, B, X, Y, turnRight);
}
void RotateBitmap90Left(TBitmap* B) {
  turnInPlace(B, turnLeft);
}
void RotateBitmap90Right(TBitmap* B) {
  turnInPlace(B, turnRight);
}
void FlipBitmapVert(TBitmap* B) {
  turnInPlace(B, turnFlip);
}

void TbsSkinPageControl::Paint() {
  if (FWidth <= 0 || FHeight <= 0) return;
  GetSkinData();
  TCanvas* C = Canvas();
  if (FIndex == -1)
    PaintDefault(C);
  else
    DrawSkinBorder(C);
  DrawTabs(C);
}

void TbsSkinPageControl::PaintDefault(TCanvas* Cnvs) {
  Cnvs->Brush()->SetStyle(bsSolid);
  Cnvs->Brush()->SetColor(clBtnFace);
  Cnvs->FillRect(ClientRect());
  if (FHideBorder) return;
  TRect R = DisplayRect();
  InflateRect(&R, 1, 1);
  Cnvs->Brush()->SetColor(clBtnShadow);
  Cnvs->FrameRect(R);
}

TRect TbsSkinPageControl::frameRect() {
  const TRect D = DisplayRect();
  return Rect(D.Left - ClRect.Left, D.Top - ClRect.Top, D.Right + (rectWidth(SkinRect) - ClRect.Right),
              D.Bottom + (rectHeight(SkinRect) - ClRect.Bottom));
}

void TbsSkinPageControl::DrawSkinBorder(TCanvas* Cnvs) {
  if (FHideBorder || !Picture) return;
  const TRect F = frameRect();
  const Integer DW = rectWidth(F) - rectWidth(SkinRect), DH = rectHeight(F) - rectHeight(SkinRect);
  TBitmap L, T, R, B;
  TRect NewCl = ClRect;
  NewCl.Right += DW;
  NewCl.Bottom += DH;
  ComposeSkinBorders(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, Point(RTPoint.X + DW, RTPoint.Y),
                     Point(LBPoint.X, LBPoint.Y + DH), Point(RBPoint.X + DW, RBPoint.Y + DH), NewCl, &L, &T,
                     &R, &B, Picture, SkinRect, rectWidth(F), rectHeight(F), LeftStretch, TopStretch,
                     RightStretch, BottomStretch);
  // The selected tab overlaps the border: keep the border off its place.
  const HDC DC = Cnvs->Handle();
  const Integer Saved = SaveDC(DC);
  const TRect A = GetActiveTabBorderRect();
  if (!IsRectEmpty(&A) && !FHideTabs && Style() == tsTabs)
    ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
  Cnvs->Draw(F.Left, F.Top, &T);
  Cnvs->Draw(F.Left, F.Top + T.Height(), &L);
  Cnvs->Draw(F.Right - R.Width(), F.Top + T.Height(), &R);
  Cnvs->Draw(F.Left, F.Bottom - B.Height(), &B);
  RestoreDC(DC, Saved);
}

TRect TbsSkinPageControl::GetActiveTabBorderRect() {
  if (TabIndex() < 0 || TabIndex() >= PageCount() || TabCount() == 0 || !ActivePage()) return TRect{};
  TRect R;
  GetTabRect(TabIndex(), R);
  const Integer D = rectHeight(ActiveTabRect) - rectHeight(ElementTabRect);
  switch (TabPosition()) {
    case tpTop:
      R.Bottom += D;
      break;
    case tpBottom:
      R.Top -= D;
      break;
    case tpLeft:
      R.Right += D;
      break;
    case tpRight:
      R.Left -= D;
      break;
  }
  return R;
}

void TbsSkinPageControl::DrawTabs(TCanvas* Cnvs) {
  if (FHideTabs || PageCount() == 0) return;
  if (FIndex == -1) {
    for (Integer I = 0; I < TabCount(); ++I) {
      TRect R;
      GetTabRect(I, R);
      DrawSkinTab(visiblePageAt(I), R, I == TabIndex(), I == FActiveTabIndex, Cnvs);
    }
    return;
  }
  GetSkinData();
  const TRect F = frameRect();
  // The unselected tabs go into one row bitmap over the area outside the frame on the tabs' side.
  TBitmap B;
  TPoint At = Point(0, 0), Into = Point(0, 0);
  switch (TabPosition()) {
    case tpTop:
      B.SetSize(FWidth, std::max(0, F.Top));
      break;
    case tpBottom:
      B.SetSize(FWidth, std::max(0, FHeight - F.Bottom));
      At = Point(0, FHeight - B.Height());
      Into = Point(0, -F.Bottom);
      break;
    case tpLeft:
      B.SetSize(std::max(0, F.Left), FHeight);
      break;
    case tpRight:
      B.SetSize(std::max(0, FWidth - F.Right), FHeight);
      At = Point(FWidth - B.Width(), 0);
      Into = Point(-F.Right, 0);
      break;
  }
  if (B.Width() > 0 && B.Height() > 0) {
    TRect Tile = TabsBGRect;
    if (IsRectEmpty(&Tile)) {
      Tile = ClRect;
      OffsetRect(&Tile, SkinRect.Left, SkinRect.Top);
    }
    const Integer TW = rectWidth(Tile), TH = rectHeight(Tile);
    if (FTabsBGTransparent)
      DrawParentBackgroundAt(this, Bounds(At.X, At.Y, B.Width(), B.Height()), B.Canvas());
    else if (Picture && TW > 0 && TH > 0)
      for (Integer X = 0; X <= B.Width() / TW; ++X)
        for (Integer Y = 0; Y <= B.Height() / TH; ++Y)
          B.Canvas()->CopyRect(Bounds(X * TW, Y * TH, TW, TH), Picture->Canvas(), Tile);
    for (Integer I = 0; I < TabCount(); ++I) {
      if (I == TabIndex()) continue;
      TRect R;
      GetTabRect(I, R);
      OffsetRect(&R, Into.X, Into.Y);
      DrawSkinTab(visiblePageAt(I), R, false, I == FActiveTabIndex, B.Canvas());
    }
    const HDC DC = Cnvs->Handle();
    const Integer Saved = SaveDC(DC);
    const TRect A = GetActiveTabBorderRect();
    if (!IsRectEmpty(&A)) ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
    Cnvs->Draw(At.X, At.Y, &B);
    RestoreDC(DC, Saved);
  }
  if (TabIndex() >= 0 && TabIndex() < TabCount()) {
    TRect R;
    GetTabRect(TabIndex(), R);
    const Integer D = rectHeight(ActiveTabRect) - rectHeight(ElementTabRect);
    if (D != 0 && Style() == tsTabs) {
      if (TabPosition() == tpBottom) OffsetRect(&R, 0, -D);
      if (TabPosition() == tpRight) OffsetRect(&R, -D, 0);
    }
    DrawSkinTab(visiblePageAt(TabIndex()), R, true, TabIndex() == FActiveTabIndex, Cnvs);
  }
}

void TbsSkinPageControl::DrawButtonTab(TBitmap* B, bool ADown, bool AActive) {
  TbsDataSkinButtonControl* E = SkinButtonElement(FSD, ButtonTabSkinDataName);
  if (!E) return;
  B->Canvas()->Font()->SetColor(ComposeButtonFace(FSD, E, ADown, AActive, B->Width(), B->Height(), B));
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* Cnvs, const TRect& CR, Integer PageIndex, Integer AW,
                                         Integer AH) {
  auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Pages(PageIndex));
  if (!Sheet) return;
  const bool Hot = Sheet->ButtonMouseIn, Pressed = Hot && Sheet->ButtonMouseDown;
  const Integer CY = CR.Top + rectHeight(CR) / 2;
  TRect Placed;
  if (FIndex == -1) {
    Placed = Rect(CR.Left, CY - 7, CR.Left + 14, CY + 7);
    DrawCloseGlyph(Cnvs, Placed.Left + 2, Placed.Top + 2, Hot ? clWhite : clBlack);
  } else if (IsRectEmpty(&CloseButtonRect)) {
    TbsDataSkinButtonControl* E = SkinButtonElement(FSD, "resizetoolbutton");
    if (!E) return;  // no button to show: ButtonRect keeps what it had
    TBitmap Face;
    const TColor C = ComposeButtonFace(FSD, E, Pressed, Hot, FCloseSize, FCloseSize, &Face);
    if (Face.Empty()) Face.SetSize(FCloseSize, FCloseSize);
    DrawCloseGlyph(Face.Canvas(), Face.Width() / 2 - 5, Face.Height() / 2 - 5, C);
    Placed = Bounds(CR.Left, CY - Face.Height() / 2, Face.Width(), Face.Height());
    Cnvs->Draw(Placed.Left, Placed.Top, &Face);
  } else {
    const TRect Src = Pressed ? CloseButtonDownRect : Hot ? ClosebuttonActiveRect : CloseButtonRect;
    Placed = Bounds(CR.Left, CY - rectHeight(Src) / 2, rectWidth(Src), rectHeight(Src));
    if (!Picture) return;
    if (ButtonTransparent) {
      TBitmap Face;
      Face.SetSize(rectWidth(Src), rectHeight(Src));
      Face.Canvas()->CopyRect(Rect(0, 0, Face.Width(), Face.Height()), Picture->Canvas(), Src);
      Face.SetTransparent(true);
      Face.SetTransparentMode(tmFixed);
      Face.SetTransparentColor(ButtonTransparentColor);
      Cnvs->Draw(Placed.Left, Placed.Top, &Face);
    } else {
      Cnvs->CopyRect(Placed, Picture->Canvas(), Src);
    }
  }
  // A tab drawn lying down and turned afterwards is hit where the button ends up.
  if (!FTextInHorizontal && TabPosition() == tpLeft)
    Placed = Rect(Placed.Top, AW - Placed.Right, Placed.Bottom, AW - Placed.Left);
  else if (!FTextInHorizontal && TabPosition() == tpRight)
    Placed = Rect(AH - Placed.Bottom, Placed.Left, AH - Placed.Top, Placed.Right);
  Sheet->ButtonRect = Placed;
}

void TbsSkinPageControl::DrawSkinTab(Integer PageIndex, const TRect& R, bool ASelected, bool AMouseIn,
                                     TCanvas* Cnvs) {
  if (FHideTabs || PageIndex < 0 || PageIndex >= PageCount()) return;
  TTabSheet* Page = Pages(PageIndex);
  const TTabPosition Pos = TabPosition();
  const bool Side = Pos == tpLeft || Pos == tpRight;
  const Integer W = Side ? rectHeight(R) : rectWidth(R), H = Side ? rectWidth(R) : rectHeight(R);
  if (W <= 0 || H <= 0) return;
  const bool IsFocused = HandleAllocated() && GetFocus() == Handle();
  TBitmap B;
  B.SetSize(W, H);
  TRect T = Rect(0, 0, W, H);
  if (FIndex == -1) {
    B.Canvas()->Brush()->SetColor(AMouseIn && !ASelected ? DefaultHot
                                  : !ASelected           ? clBtnFace
                                  : IsFocused            ? DefaultFocused
                                                         : DefaultHot);
    B.Canvas()->FillRect(T);
    if (ASelected) {
      B.Canvas()->Brush()->SetColor(DefaultFrame);
      B.Canvas()->FrameRect(T);
      InflateRect(&T, -1, -1);
    }
    B.Canvas()->Font()->Assign(Font());
  } else {
    composeSkinTab(&B, R, ASelected, AMouseIn, IsFocused);
    T = Rect(0, 0, B.Width(), B.Height());
  }
  if (FTextInHorizontal && Pos == tpLeft) RotateBitmap90Left(&B);
  if (FTextInHorizontal && Pos == tpRight) RotateBitmap90Right(&B);
  if (FTextInHorizontal && Side) T = Rect(0, 0, B.Width(), B.Height());
  TCanvas* BC = B.Canvas();
  if (FIndex != -1 && ShowFocus && IsFocused && ASelected) {
    TRect FR = T;
    InflateRect(&FR, -FocusOffsetX, -FocusOffsetY);
    DrawDottedFocusRect(BC, FR);
  }
  BC->Brush()->SetStyle(bsClear);
  SetBkMode(BC->Handle(), TRANSPARENT);
  Integer Y = 0;
  const bool HasImage = FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
  if (FIndex != -1 && !ASelected && rectHeight(ActiveTabRect) != rectHeight(ElementTabRect)) {
    const Integer D = Pos == tpTop || Pos == tpLeft ? 2 : -2;
    T.Top += D;
    if (HasImage) Y = D;
  }
  const Integer C = FShowCloseButtons ? FCloseSize + 2 : 0;
  const Integer Cut = FIndex == -1 ? C : C + 3;
  const String S = Page->Caption();
  if (OnDrawSkinTab) {
    OnDrawSkinTab(PageIndex, Rect(0, 0, B.Width(), B.Height()), ASelected, AMouseIn, BC);
  } else if (HasImage || FTabExtededDraw) {
    TRect CR = T;
    CR.Right -= C;
    if (FTabExtededDraw)
      DrawCaptionWithImage(BC, CR, FTabMargin, FTabSpacing, FTabLayout, S, Page->ImageIndex(), FImages, false,
                           Page->Enabled(), false, 0);
    else
      drawTabImageAndText(BC, B.Width() - C, B.Height(), S, FImages, Page->ImageIndex(), Page->Enabled(), Y);
  } else {
    T.Right -= Cut;
    DrawText(bsCanvasDC(BC), S, &T, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    T.Right += Cut;
  }
  T.Right -= Cut;
  if (FShowCloseButtons) {
    if (auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page); Sheet && !AMouseIn)
      Sheet->ButtonMouseIn = false;
    DrawCloseButton(BC, Rect(T.Right, T.Top + Y, B.Width(), T.Bottom), PageIndex, B.Width(), B.Height());
  }
  if (!FTextInHorizontal && Pos == tpLeft)
    DrawRotated90Left(Cnvs, &B, R.Left, R.Top);
  else if (!FTextInHorizontal && Pos == tpRight)
    DrawRotated90Right(Cnvs, &B, R.Left, R.Top);
  else
    Cnvs->Draw(R.Left, R.Top, &B);  // a taller selected image reaches into the border by itself
}

// The skinned face of one tab, lying down, its font and text colour set.
void TbsSkinPageControl::composeSkinTab(TBitmap* B, const TRect& R, bool ASelected, bool AMouseIn,
                                        bool IsFocused) {
  const TTabPosition Pos = TabPosition();
  TCanvas* BC = B->Canvas();
  const bool ButtonStyle = Style() != tsTabs;
  if (ButtonStyle) {
    DrawButtonTab(B, ASelected, AMouseIn);
  } else {
    const TRect Src = AMouseIn && !ASelected && !IsRectEmpty(&MouseInTabRect) ? MouseInTabRect
                      : ASelected && IsFocused                                ? FocusTabRect
                      : ASelected                                             ? ActiveTabRect
                                                                              : ElementTabRect;
    if (Picture && !IsRectEmpty(&Src)) {
      if (TabHeight() > 0) {
        const Integer TH = rectHeight(ElementTabRect);
        Integer Grow = 0;
        if (ASelected && rectHeight(ActiveTabRect) > TH)
          Grow = rectHeight(ActiveTabRect) - TH;
        else if (ASelected && IsFocused && rectHeight(FocusTabRect) > TH)
          Grow = rectHeight(FocusTabRect) - TH;
        B->SetSize(B->Width(), B->Height() + Grow);
        const Integer Q = TH / 4;
        ComposeStretchedSkinImage(
            B, Picture, Src, Rect(TabLeftOffset, Q, rectWidth(Src) - TabRightOffset, rectHeight(Src) - Q),
            true);
      } else {
        ComposeSkinImageH(TabLeftOffset, TabRightOffset, B, Picture, Src, B->Width(), B->Height(),
                          TabStretchEffect);
      }
    }
    // The first selected tab joins the border with the skin's own corner piece.
    if (Picture && ASelected && R.Left == 0 && !IsRectEmpty(&TabLeftBottomActiveRect) && !MultiLine() &&
        (Pos == tpTop || Pos == tpBottom)) {
      const TRect P = IsFocused ? TabLeftBottomFocusRect : TabLeftBottomActiveRect;
      BC->CopyRect(Bounds(0, B->Height() - rectHeight(P), rectWidth(P), rectHeight(P)), Picture->Canvas(), P);
    }
  }
  if (Pos == tpBottom) FlipBitmapVert(B);
  const TColor ButtonColor = BC->Font()->Color();
  if (UseSkinFont) {
    BC->Font()->SetName(FontName);
    BC->Font()->SetStyle(FontStyle);
    BC->Font()->SetHeight(FontHeight);
  } else {
    BC->Font()->Assign(Font());
  }
  if (ButtonStyle)
    BC->Font()->SetColor(ButtonColor);
  else
    BC->Font()->SetColor(AMouseIn && !ASelected   ? MouseInFontColor
                         : ASelected && IsFocused ? FocusFontColor
                         : !ASelected             ? FontColor
                                                  : ActiveFontColor);
}

void TbsSkinPageControl::DrawBackground(HDC DC) {
  TCanvas C;
  C.SetHandle(DC);
  TBitmap Tile;
  TBitmap* BG = BGPictureIndex == -1 ? nullptr : SkinPictureAt(FSD, BGPictureIndex);
  if (BG) {
    drawBackgroundTile(&C, BG, FWidth, FHeight, StretchEffect, StretchType);
  } else if (Picture) {
    TRect Part = ClRect;
    OffsetRect(&Part, SkinRect.Left, SkinRect.Top);
    Tile.SetSize(rectWidth(Part), rectHeight(Part));
    Tile.Canvas()->CopyRect(Rect(0, 0, Tile.Width(), Tile.Height()), Picture->Canvas(), Part);
    drawBackgroundTile(&C, &Tile, FWidth, FHeight, StretchEffect, StretchType);
  }
  C.SetHandle(nullptr);
}

// ---- tab sheets ----

void TbsSkinCustomTabSheet::PaintBG(HDC DC) {
  if (FWidth <= 0 || FHeight <= 0 || !Parent()) return;
  auto* PC = dynamic_cast<TbsSkinPageControl*>(PageControl());
  if (PC) PC->GetSkinData();
  TCanvas C;
  C.SetHandle(DC);
  const bool Skinned = PC && PC->SkinData() && !PC->SkinData()->Empty && PC->SkinIndex() != -1;
  TBitmap* BG =
      Skinned && PC->BGPictureIndex != -1 ? SkinPictureAt(PC->SkinData(), PC->BGPictureIndex) : nullptr;
  if (!FWallPaper->Empty()) {
    drawBackgroundTile(&C, FWallPaper.get(), FWidth, FHeight, false, bsstFull);
  } else if (BG) {
    drawBackgroundTile(&C, BG, FWidth, FHeight, PC->StretchEffect, PC->StretchType);
  } else if (!Skinned || !PC->Picture) {
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(Rect(0, 0, FWidth, FHeight));
  } else {
    TRect Part = PC->ClRect;
    OffsetRect(&Part, PC->SkinRect.Left, PC->SkinRect.Top);
    TBitmap Tile;
    Tile.SetSize(rectWidth(Part), rectHeight(Part));
    Tile.Canvas()->CopyRect(Rect(0, 0, Tile.Width(), Tile.Height()), PC->Picture->Canvas(), Part);
    // A stretched client part spans the whole page control; the sheet shows its top-left part.
    if (PC->StretchEffect)
      drawBackgroundTile(&C, &Tile, PC->Width(), PC->Height(), true, PC->StretchType);
    else
      drawBackgroundTile(&C, &Tile, FWidth, FHeight, false, bsstFull);
  }
  C.SetHandle(nullptr);
}
