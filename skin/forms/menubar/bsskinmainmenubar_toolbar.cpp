// Tool-bar mode of the main menu bar: the bar shows a tool panel and its items look like tool
// buttons, both composed from resizable control elements of the skin.
#include "platform/gdi/text.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/forms/menubar/bsskinmainmenubar.h"

namespace {

// The element's right-hand points and client edge follow the new width, the bottom ones the new height.
void composeResized(TbsSkinData* SD, const TbsDataSkinCustomControl* D, const TRect& Src, TBitmap* B) {
  if (D->PictureIndex < 0 || D->PictureIndex >= SD->PictureCount()) return;
  const Integer dW = B->Width() - RectWidth(D->SkinRect), dH = B->Height() - RectHeight(D->SkinRect);
  const TPoint NRT(D->RTPoint.X + dW, D->RTPoint.Y), NLB(D->LBPoint.X, D->LBPoint.Y + dH),
      NRB(D->RBPoint.X + dW, D->RBPoint.Y + dH);
  const TRect NCl(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + dW, D->ClRect.Bottom + dH);
  ComposeSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint, NRT, NLB, NRB, NCl,
                   B, SD->Picture(D->PictureIndex), Src, B->Width(), B->Height(), true, D->LeftStretch,
                   D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect, D->StretchType);
}

template <class T>
T* controlElement(TbsSkinData* SD, const String& Name) {
  if (SD == nullptr || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<T*>(SD->Ctrls(I));
}

}  // namespace

void TbsSkinMainMenuBar::CreateToolBarImage(TBitmap* B) {
  auto* D = controlElement<TbsDataSkinCustomControl>(FSD, "resizetoolpanel");
  if (D == nullptr) D = controlElement<TbsDataSkinCustomControl>(FSD, "panel");
  if (D != nullptr) composeResized(FSD, D, D->SkinRect, B);
}

void TbsSkinMainMenuBarItem::toolButtonImage(TBitmap* B, TCanvas* Target, bool A, bool D) {
  B->SetSize(RectWidth(ObjectRect), RectHeight(ObjectRect));
  auto* E = controlElement<TbsDataSkinButtonControl>(Parent->SkinData(), "resizetoolbutton");
  if (E == nullptr) return;
  const TRect Active = IsEmptyRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
  const TRect Src = D ? (IsEmptyRect(E->DownSkinRect) ? Active : E->DownSkinRect) : A ? Active : E->SkinRect;
  if (!A && !D && Parent->ToolBarModeItemTransparent())
    B->Canvas()->CopyRect(TRect(0, 0, B->Width(), B->Height()), Target, ObjectRect);
  else
    composeResized(Parent->SkinData(), E, Src, B);
  TCanvas* C = B->Canvas();
  C->Brush()->SetStyle(bsClear);
  if (Parent->UseSkinFont()) {
    C->Font()->SetName(E->FontName);
    C->Font()->SetStyle(E->FontStyle);
    C->Font()->SetHeight(E->FontHeight);
  } else {
    C->Font()->Assign(Parent->DefItemFont());
  }
  C->Font()->SetColor(D                     ? E->DownFontColor
                      : A                   ? E->ActiveFontColor
                      : MenuItem->Enabled() ? E->FontColor
                                            : UnEnabledFontColor);
  const Integer dW = B->Width() - RectWidth(E->SkinRect), dH = B->Height() - RectHeight(E->SkinRect);
  TRect Cl(E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + dW, E->ClRect.Bottom + dH);
  if (imageWidth() > 0) {
    drawImage(C, Cl.Left + 2, RectHeight(Cl) / 2 + Cl.Top);
    Cl.Left += imageWidth() + 5;
  }
  TRect TR(0, 0, 0, 0);
  DrawText(bsCanvasDC(C), MenuItem->Caption(), &TR, DT_CALCRECT | DT_CENTER);
  TRect R(Cl.Left, Cl.Top, Cl.Right, Cl.Bottom);
  if (!Parent->UseSkinSize()) {
    R.Top = B->Height() / 2 - RectHeight(TR) / 2;
    R.Bottom = R.Top + RectHeight(TR);
  }
  DrawText(bsCanvasDC(C), MenuItem->Caption(), &R, captionFlags());
}
