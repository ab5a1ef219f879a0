// Painting of the skinned page control: the page border, the tab row and each tab.
#include <algorithm>

#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/core/bsglyphs.h"

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
}  // namespace

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
  Cnvs->Draw(F.Left, F.Top, &T);
  Cnvs->Draw(F.Left, F.Top + T.Height(), &L);
  Cnvs->Draw(F.Right - R.Width(), F.Top + T.Height(), &R);
  Cnvs->Draw(F.Left, F.Bottom - B.Height(), &B);
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
    if (!FTabsBGTransparent && Picture && TW > 0 && TH > 0)
      for (Integer X = 0; X <= B.Width() / TW; ++X)
        for (Integer Y = 0; Y <= B.Height() / TH; ++Y)
          B.Canvas()->CopyRect(Bounds(X * TW, Y * TH, TW, TH), Picture->Canvas(), Tile);
    else if (FTabsBGTransparent)
      B.Canvas()->CopyRect(Rect(0, 0, B.Width(), B.Height()), Cnvs,
                           Bounds(At.X, At.Y, B.Width(), B.Height()));
    for (Integer I = 0; I < TabCount(); ++I) {
      if (I == TabIndex()) continue;
      TRect R;
      GetTabRect(I, R);
      OffsetRect(&R, Into.X, Into.Y);
      DrawSkinTab(visiblePageAt(I), R, false, I == FActiveTabIndex, B.Canvas());
    }
    Cnvs->Draw(At.X, At.Y, &B);
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

void TbsSkinPageControl::DrawSkinTab(Integer PageIndex, const TRect& R, bool ASelected, bool AMouseIn,
                                     TCanvas* Cnvs) {
  if (FHideTabs || PageIndex < 0 || PageIndex >= PageCount()) return;
  TTabSheet* Page = Pages(PageIndex);
  const bool HasImage = FImages && Page->ImageIndex() >= 0 && Page->ImageIndex() < FImages->Count();
  const String S = Page->Caption();
  const bool Side = TabPosition() == tpLeft || TabPosition() == tpRight;
  const Integer W = Side ? rectHeight(R) : rectWidth(R), H = Side ? rectWidth(R) : rectHeight(R);
  if (W <= 0 || H <= 0) return;
  const bool IsFocused = HandleAllocated() && GetFocus() == Handle();
  TBitmap B;
  B.SetSize(W, H);
  TRect T = Rect(0, 0, W, H);
  TCanvas* BC = B.Canvas();
  if (FIndex == -1) {
    const bool Frame = ASelected;
    BC->Brush()->SetColor(AMouseIn && !ASelected ? DefaultHot
                          : !ASelected           ? clBtnFace
                          : IsFocused            ? DefaultFocused
                                                 : DefaultHot);
    BC->FillRect(T);
    if (Frame) {
      BC->Brush()->SetColor(DefaultFrame);
      BC->FrameRect(T);
      InflateRect(&T, -1, -1);
    }
    BC->Font()->Assign(Font());
  } else {
    const TRect Src = AMouseIn && !ASelected && !IsRectEmpty(&MouseInTabRect) ? MouseInTabRect
                      : ASelected && IsFocused                                ? FocusTabRect
                      : ASelected                                             ? ActiveTabRect
                                                                              : ElementTabRect;
    if (Picture && !IsRectEmpty(&Src)) {
      if (TabHeight() > 0) {
        const Integer Q = rectHeight(ElementTabRect) / 4;
        ComposeStretchedSkinImage(
            &B, Picture, Src, Rect(TabLeftOffset, Q, rectWidth(Src) - TabRightOffset, rectHeight(Src) - Q),
            true);
      } else {
        ComposeSkinImageH(TabLeftOffset, TabRightOffset, &B, Picture, Src, W, H, TabStretchEffect);
      }
    }
    T = Rect(0, 0, B.Width(), B.Height());
    if (UseSkinFont) {
      BC->Font()->SetName(FontName);
      BC->Font()->SetStyle(FontStyle);
      BC->Font()->SetHeight(FontHeight);
    } else {
      BC->Font()->Assign(Font());
    }
    BC->Font()->SetColor(AMouseIn && !ASelected   ? MouseInFontColor
                         : ASelected && IsFocused ? FocusFontColor
                         : !ASelected             ? FontColor
                                                  : ActiveFontColor);
    if (ShowFocus && IsFocused && ASelected) {
      TRect FR = T;
      InflateRect(&FR, -FocusOffsetX, -FocusOffsetY);
      BC->DrawFocusRect(FR);
    }
  }
  BC->Brush()->SetStyle(bsClear);
  SetBkMode(BC->Handle(), TRANSPARENT);
  const Integer CloseRoom = FShowCloseButtons ? FCloseSize + 2 : 0;
  const Integer TextCut = FIndex == -1 ? CloseRoom : CloseRoom + 3;
  if (OnDrawSkinTab) {
    OnDrawSkinTab(PageIndex, Rect(0, 0, B.Width(), B.Height()), ASelected, AMouseIn, BC);
  } else if (HasImage) {
    const Integer AW = B.Width() - CloseRoom, AH = B.Height();
    const Integer TW = S.empty() ? 0 : BC->TextWidth(S) + 2, TH = BC->TextHeight(S);
    const Integer IX = AW / 2 - (TW + FImages->Width() + 2) / 2, IY = AH / 2 - FImages->Height() / 2;
    FImages->Draw(BC, IX, IY, Page->ImageIndex(), Page->Enabled());
    TRect TR = Bounds(IX + FImages->Width() + 2, AH / 2 - TH / 2, TW, TH);
    if (TW > 0) DrawText(BC->Handle(), S, &TR, DT_CENTER);
  } else {
    T.Right -= TextCut;
    DrawText(BC->Handle(), S, &T, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  if (FShowCloseButtons && !FHideTabs) {
    auto* Sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page);
    if (Sheet) {
      if (!AMouseIn) Sheet->ButtonMouseIn = false;
      const Integer CY = B.Height() / 2;
      const TRect Box = Rect(B.Width() - CloseRoom, CY - 7, B.Width() - CloseRoom + 14, CY + 7);
      DrawCloseGlyph(BC, Box.Left + 2, Box.Top + 2, Sheet->ButtonMouseIn ? clWhite : clBlack);
      Sheet->ButtonRect = Box;
    }
  }
  // A taller selected image reaches down into the border by itself.
  Cnvs->Draw(R.Left, R.Top, &B);
}
