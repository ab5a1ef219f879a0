// Painting of the MDI tabs bar: the background of both looks, the tabs in their three styles, the
// close and add buttons, the child icon and the insertion mark of a drag.
#include <algorithm>

#include "platform/ui/core/application.h"
#include "platform/win/icon.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/forms/mdi/bsskinmditabsbar.h"

namespace {

constexpr TColor HotFace = TColor(0xF3D4C1);     // RGB(193, 212, 243)
constexpr TColor ActiveFace = TColor(0xE4BCA2);  // RGB(162, 188, 228)
constexpr Integer IconRoom = 20;

// The element's face at AW x AH, never left without a size.
TColor composeFace(TbsSkinData* SD, TbsDataSkinButtonControl* E, bool ADown, bool AHot, Integer AW,
                   Integer AH, TBitmap* Out) {
  const TColor C = ComposeButtonFace(SD, E, ADown, AHot, AW, AH, Out);
  if (Out->Empty()) Out->SetSize(AW, AH);
  return C;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The bar

void TbsSkinMDITabsBar::Paint() {
  TbsSkinControl::Paint();
  if (FInVisibleCount > 0 && FHideListButton == nullptr)
    CreateHideListButton();
  else if (FInVisibleCount == 0 && FHideListButton != nullptr)
    RemoveHideListButton();
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, B->Width(), B->Height()));
  drawTabs(C);
}

void TbsSkinMDITabsBar::CreateControlSkinImage(TBitmap* B) {
  drawSkinBackground(B->Canvas());
  drawTabs(B->Canvas());
}

void TbsSkinMDITabsBar::drawSkinBackground(TCanvas* C) {
  const Integer H = FTabKind == bstkButton ? Height() : Height() - FBottomOffset;
  if (transparentSkin()) {
    DrawParentBackground(this, C);
  } else if (Picture != nullptr && !IsEmptyRect(TabsBGRect) && !IsEmptyRect(TabRect)) {
    // A skin without a background strip would give the tiling no step: it is skipped then.
    TBitmap Tile;
    Tile.SetSize(RectWidth(TabRect), RectHeight(TabRect));
    Tile.Canvas()->CopyRect(Rect(0, 0, Tile.Width(), Tile.Height()), Picture->Canvas(), TabsBGRect);
    const Integer Step = RectWidth(TabsBGRect);
    for (Integer X = 0; X < Width(); X += Step) C->StretchDraw(Rect(X, 0, X + Step, H), &Tile);
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Width(), H));
  }
  if (FTabKind != bstkTab || IsEmptyRect(SkinRect) || Picture == nullptr || FBottomOffset <= 0) return;
  const Integer SW = RectWidth(SkinRect);
  const TRect Strip = Rect(SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Right - (SW - RTPoint.X),
                           SkinRect.Top + ClRect.Top);
  if (IsEmptyRect(Strip)) return;
  TBitmap B;
  ComposeSkinImageH(LTPoint.X, SW - RTPoint.X, &B, Picture, Strip, Width(), FBottomOffset, TopStretch);
  C->Draw(0, Height() - FBottomOffset, &B);
}

void TbsSkinMDITabsBar::drawTabs(TCanvas* C) {
  LayoutTabs();
  if (FShowAddButton) DrawAddButton(C);
  const Integer Dragged = IsDrag ? validIndex(DragIndex) : -1;
  for (Integer i = 0; i < TabCount(); ++i)
    if (i != Dragged && Tabs(i)->Visible) Tabs(i)->Draw(C);
  if (Dragged != -1) {
    Tabs(Dragged)->Draw(C);
    drawInsertionMark(C);
  }
}

void TbsSkinMDITabsBar::drawInsertionMark(TCanvas* C) {
  const Integer Target = GetDropIndex();
  if (Target == -1) return;
  const TRect& R = Tabs(Target)->ObjectRect;
  const Integer X = TabDX < 1 ? R.Left : R.Right, M = Height() / 2;
  C->Pen()->SetMode(pmNot);
  for (Integer x = X - 1; x <= X + 1; ++x) {
    C->MoveTo(x, 0);
    C->LineTo(x, Height());
  }
  C->Polyline({Point(X + 2, M), Point(X + 5, M - 3), Point(X + 5, M + 3), Point(X + 2, M)});
  C->Polyline({Point(X - 2, M), Point(X - 5, M - 3), Point(X - 5, M + 3), Point(X - 2, M)});
  C->Pen()->SetMode(pmCopy);
}

void TbsSkinMDITabsBar::DrawAddButton(TCanvas* Canvas) {
  if (!FShowAddButton || IsEmptyRect(FAddButtonRect)) return;
  const TRect& R = FAddButtonRect;
  if (!skinned()) {
    Canvas->Brush()->SetColor(FAddButtonActive ? HotFace : clBtnFace);
    Canvas->FillRect(R);
    DrawArrow(Canvas, R, clBtnText, 5);
    return;
  }
  TbsDataSkinButtonControl* E = SkinButtonElement(FSD, "resizetoolbutton");
  if (E == nullptr) return;
  TBitmap Face;
  const TColor Color = composeFace(FSD, E, FAddButtonDown && FAddButtonActive, FAddButtonActive, RectWidth(R),
                                   RectHeight(R), &Face);
  DrawArrow(Face.Canvas(), Rect(0, 0, Face.Width(), Face.Height()), Color, 5);
  Canvas->Draw(R.Left, R.Top, &Face);
}

void TbsSkinMDITabsBar::applyTabFont(TCanvas* C, TColor Color) const {
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
  } else {
    C->SetFont(FDefaultFont.get());
  }
  C->Font()->SetCharset(FSD->ResourceStrData() != nullptr ? FSD->ResourceStrData()->CharSet()
                                                          : FDefaultFont->Charset());
  C->Font()->SetColor(Color);
}

// ---------------------------------------------------------------------------------------------
// A tab

void TbsMDITab::Draw(TCanvas* Cnvs) {
  if (RectWidth(ObjectRect) <= 0) return;
  TbsSkinMDITabsBar* Bar = TabsBar;
  if (Bar->FTabKind == bstkButton && Bar->skinned()) {
    ButtonDraw(Cnvs);
    return;
  }
  if (Bar->skinned() && !Bar->FUseSkinSize) {
    ResizeDraw(Cnvs);
    return;
  }
  const Integer W = RectWidth(ObjectRect);
  const Integer Close = Bar->FShowCloseButtons ? Bar->FCloseSize : 0;
  TBitmap B;
  TCanvas* C = B.Canvas();
  TRect Text, CloseArea;
  if (!Bar->skinned()) {
    const Integer H = RectHeight(ObjectRect);
    B.SetSize(W, std::max<Integer>(H, 1));
    C->Brush()->SetColor(Active ? ActiveFace : MouseIn ? HotFace : clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
    C->SetFont(Bar->FDefaultFont.get());
    if (Bar->FSD != nullptr && Bar->FSD->ResourceStrData() != nullptr)
      C->Font()->SetCharset(Bar->FSD->ResourceStrData()->CharSet());
    Text = Bar->FShowCloseButtons ? Rect(2, 0, W - Close - 5, H) : Rect(2, 0, W - 2, H);
    CloseArea = Rect(Text.Right, 0, W, H);
    drawContent(&B, Text, CloseArea, true);
  } else {
    const TRect& Src = Active ? Bar->ActiveTabRect : MouseIn ? Bar->MouseInTabRect : Bar->TabRect;
    if (Bar->Picture == nullptr || IsEmptyRect(Src)) return;
    ComposeSkinImageH(Bar->TabLeftOffset, Bar->TabRightOffset, &B, Bar->Picture, Src, W, RectHeight(Src),
                      Bar->TabStretchEffect);
    const Integer H = B.Height();
    Bar->applyTabFont(C, Active ? Bar->ActiveFontColor : MouseIn ? Bar->MouseInFontColor : Bar->FontColor);
    Text = Bar->FShowCloseButtons ? Rect(2, 1, W - Close - 5, H)
                                  : Rect(Bar->TabLeftOffset, 1, W - Bar->TabRightOffset, H);
    CloseArea = Rect(Text.Right, 1, W, H);
    drawContent(&B, Text, CloseArea, false);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsMDITab::ResizeDraw(TCanvas* Cnvs) {
  TbsSkinMDITabsBar* Bar = TabsBar;
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect) + (Active ? Bar->FActiveTabOffset : 0);
  TRect Src = Bar->TabRect;
  TColor Color = Bar->FontColor;
  if (MouseIn && !Active && !IsEmptyRect(Bar->MouseInTabRect)) {
    Src = Bar->MouseInTabRect;
    Color = Bar->MouseInFontColor;
  } else if (Active) {
    Src = Bar->ActiveTabRect;
    Color = Bar->ActiveFontColor;
  }
  if (Bar->Picture == nullptr || IsEmptyRect(Src) || H <= 0) return;
  TBitmap B;
  B.SetSize(W, H);
  const Integer q = RectHeight(Bar->TabRect) / 4;
  ComposeStretchedSkinImage(
      &B, Bar->Picture, Src,
      Rect(Bar->TabLeftOffset, q, RectWidth(Src) - Bar->TabRightOffset, RectHeight(Src) - q), true);
  TCanvas* C = B.Canvas();
  Bar->applyTabFont(C, Color);
  const Integer Close = Bar->FShowCloseButtons ? Bar->FCloseSize : 0;
  const TRect Text = Bar->FShowCloseButtons ? Rect(2, 1, W - Close - 5, H) : Rect(2, 1, W - 2, H);
  drawContent(&B, Text, Rect(Text.Right, 1, W, H), true);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsMDITab::ButtonDraw(TCanvas* Cnvs) {
  TbsSkinMDITabsBar* Bar = TabsBar;
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  TbsDataSkinButtonControl* E = SkinButtonElement(Bar->FSD, "resizebutton");
  if (IsEmptyRect(ObjectRect) || E == nullptr) return;
  TBitmap B;
  const TColor Color = composeFace(Bar->FSD, E, Active, MouseIn, W, H, &B);
  TCanvas* C = B.Canvas();
  Bar->applyTabFont(C, Color);
  const Integer DW = W - RectWidth(E->SkinRect), DH = H - RectHeight(E->SkinRect);
  TRect Text = Rect(E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DW, E->ClRect.Bottom + DH);
  TRect CloseArea{};
  if (Bar->FShowCloseButtons) {
    Text.Right -= Bar->FCloseSize + 3;
    CloseArea = Rect(Text.Right, 0, Text.Right + Bar->FCloseSize + 3, H);
  }
  drawContent(&B, Text, CloseArea, true);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsMDITab::drawContent(TBitmap* B, TRect TextArea, const TRect& CloseArea, bool FireDrawParams) {
  TbsSkinMDITabsBar* Bar = TabsBar;
  TCanvas* C = B->Canvas();
  if (Bar->FShowCloseButtons) DrawCloseButton(C, CloseArea);
  if (Bar->FShowChildIcon) {
    TRect IconArea = Rect(TextArea.Left, TextArea.Top, TextArea.Left + IconRoom, TextArea.Bottom);
    DrawChildIcon(IconArea, C);
    TextArea.Left = IconArea.Right;
  }
  String S = Child->Caption();
  FitWideTextToWidth(C, S, std::max<Integer>(RectWidth(TextArea), 0));
  // Button tabs whose text area is lower than the text: the text gets its height, centred in the tab.
  if (Bar->FTabKind == bstkButton && Bar->skinned()) {
    const Integer TH = WideTextHeight(C, S);
    if (RectHeight(TextArea) < TH) {
      TextArea.Top = B->Height() / 2 - TH / 2;
      TextArea.Bottom = TextArea.Top + TH;
    }
  }
  C->Brush()->SetStyle(bsClear);
  if (FireDrawParams && Bar->OnTabGetDrawParamsEvent) Bar->OnTabGetDrawParamsEvent(this, C);
  DrawWideText(C, S, TextArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TbsMDITab::DrawCloseButton(TCanvas* Cnvs, const TRect& R) {
  TbsSkinMDITabsBar* Bar = TabsBar;
  const Integer m = R.Top + RectHeight(R) / 2;
  const bool Pressed = ButtonMouseDown && ButtonMouseIn;
  if (!Bar->skinned()) {
    ButtonRect = Rect(R.Left, m - 7, R.Left + 14, m + 7);
    DrawCloseGlyph(Cnvs, R.Left + 2, ButtonRect.Top + 2, ButtonMouseIn ? clWhite : clBlack);
    return;
  }
  if (!IsEmptyRect(Bar->CloseButtonRect)) {
    const TRect Src = Pressed         ? Bar->CloseButtonDownRect
                      : ButtonMouseIn ? Bar->ClosebuttonActiveRect
                                      : Bar->CloseButtonRect;
    const Integer w = RectWidth(Src), h = RectHeight(Src);
    ButtonRect = Rect(R.Left, m - h / 2, R.Left + w, m - h / 2 + h);
    if (Bar->Picture == nullptr) return;
    TBitmap Face;
    Face.SetSize(w, h);
    Face.Canvas()->CopyRect(Rect(0, 0, w, h), Bar->Picture->Canvas(), Src);
    if (Bar->ButtonTransparent) {
      Face.SetTransparent(true);
      Face.SetTransparentMode(tmFixed);
      Face.SetTransparentColor(Bar->ButtonTransparentColor);
    }
    Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &Face);
    return;
  }
  TbsDataSkinButtonControl* E = SkinButtonElement(Bar->FSD, "resizetoolbutton");
  if (E == nullptr) return;
  const Integer Size = Bar->FCloseSize;
  TBitmap Face;
  const TColor Color = composeFace(Bar->FSD, E, Pressed, ButtonMouseIn, Size, Size, &Face);
  DrawCloseGlyph(Face.Canvas(), Size / 2 - 5, Size / 2 - 5, Color);
  ButtonRect = Bounds(R.Left, m - Size / 2, Size, Size);
  Cnvs->Draw(ButtonRect.Left, ButtonRect.Top, &Face);
}

void TbsMDITab::DrawChildIcon(TRect& R, TCanvas* Canvas) {
  HICON Source = Child->Icon()->Handle();
  if (Source == nullptr && Application != nullptr) Source = Application->Icon()->Handle();
  if (Source == nullptr) Source = LoadIcon(nullptr, IDI_APPLICATION);
  if (Source == nullptr) return;
  Integer IW = GetSystemMetrics(SM_CXSMICON), IH = GetSystemMetrics(SM_CYSMICON);
  if (IW == 0 || IH == 0) {
    IW = GetSystemMetrics(SM_CXSIZE);
    IH = GetSystemMetrics(SM_CYSIZE);
  }
  auto* Icon = static_cast<HICON>(CopyImage(Source, IMAGE_ICON, IW, IH, 0));
  if (Icon == nullptr) return;
  if (RectWidth(R) < IW) R.Right = R.Left + IW;
  DrawIconEx(Canvas->Handle(), R.Left + (RectWidth(R) - IW) / 2, R.Top + (RectHeight(R) - IH) / 2, Icon, IW,
             IH, 0, nullptr, DI_NORMAL);
  DestroyIcon(Icon);
}
