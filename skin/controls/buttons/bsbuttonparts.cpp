#include "skin/controls/buttons/bsbuttonparts.h"

#include "skin/core/bscompose.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinimagesmenu.h"
#include "skin/menus/bsskinmenu.h"

namespace {

constexpr TColor DefaultFrameColor = TColor(0xB76B3B);     // RGB(59, 107, 183)
constexpr TColor DefaultHotFillColor = TColor(0xF3D4C1);   // RGB(193, 212, 243)
constexpr TColor DefaultDownFillColor = TColor(0xE4BCA2);  // RGB(162, 188, 228)

}  // namespace

void DrawButtonFace(TCanvas* C, const TRect& R, TbsButtonFace Face) {
  TColor Fill = clBtnFace, Frame = clBtnShadow;
  switch (Face) {
    case bfNormal:
      break;
    case bfTool:
      Frame = DarkerColor(clBtnFace, 15);
      break;
    case bfFlat:
      break;
    case bfHover:
      Fill = DefaultHotFillColor;
      Frame = DefaultFrameColor;
      break;
    case bfDown:
      Fill = DefaultDownFillColor;
      Frame = DefaultFrameColor;
      break;
  }
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Fill);
  C->FillRect(R);
  if (Face == bfFlat) return;
  C->Brush()->SetColor(Frame);
  C->FrameRect(R);
}

void DrawMarkerPicture(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& M,
                       TColor TransparentColor) {
  TBitmap B;
  B.SetSize(RectWidth(M), RectHeight(M));
  B.Canvas()->CopyRect(Rect(0, 0, B.Width(), B.Height()), Picture->Canvas(), M);
  B.SetTransparent(true);
  B.SetTransparentMode(tmFixed);
  B.SetTransparentColor(TransparentColor);
  C->Draw(R.Left + RectWidth(R) / 2 - B.Width() / 2, R.Top + RectHeight(R) / 2 - B.Height() / 2, &B);
}

// ---- the menu buttons' drop-down part ----

bool IsArrowlessMenuElement(const String& SkinDataName) {
  return SkinDataName == "resizebutton" || SkinDataName == "resizetoolbutton" ||
         SkinDataName == "toolbutton" || SkinDataName == "bigtoolbutton";
}

TRect ElementTrackButtonRect(TbsSkinData* SkinData, Integer Index) {
  if (auto* R = dynamic_cast<TbsDataSkinMenuButtonControl*>(SkinData->Ctrls(Index)))
    return R->TrackButtonRect;
  return TRect{};
}

TRect PlacedTrackButtonRect(const TbsSkinGeometry& G, const TRect& TrackButtonRect, Integer AWidth,
                            Integer AHeight) {
  TRect R = TrackButtonRect;
  if (G.ResizeMode == 2) OffsetRect(&R, AWidth - RectWidth(G.SkinRect), 0);
  if (G.ResizeMode == 3) OffsetRect(&R, 0, AHeight - RectHeight(G.SkinRect));
  return R;
}

void DrawMenuButtonPart(const TbsSkinGeometry& G, TCanvas* C, const TRect& Part, const TRect& Src,
                        bool Resize) {
  const Integer W = RectWidth(Part), H = RectHeight(Part);
  TBitmap P;
  P.SetSize(W, H);
  if (Resize) {
    const Integer dW = W - RectWidth(G.SkinRect), dH = H - RectHeight(G.SkinRect);
    ComposeSkinImage(G.LTPt, G.RTPt, G.LBPt, G.RBPt, G.ClRect, G.LTPt, TPoint{G.RTPt.X + dW, G.RTPt.Y},
                     TPoint{G.LBPt.X, G.LBPt.Y + dH}, TPoint{G.RBPt.X + dW, G.RBPt.Y + dH},
                     Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dW, G.ClRect.Bottom + dH), &P,
                     G.Picture, Src, W, H, true, G.LeftStretch, G.TopStretch, G.RightStretch, G.BottomStretch,
                     G.StretchEffect, G.StretchType);
  } else {
    ComposeStretchedSkinImage(&P, G.Picture, Src, G.ClRect, true);
  }
  C->Draw(Part.Left, Part.Top, &P);
}

void TrackButtonMenus(TControl* Button, const std::shared_ptr<bool>& Alive,
                      TbsSkinPopupMenu* const& PopupMenu, TbsSkinImagesMenu* const& ImagesMenu,
                      const TNotifyEvent& OnShow, const std::function<void()>& BeforeShow,
                      std::function<void(TObject*)> MenuClosed) {
  const TPoint P = Button->ClientOrigin();
  const TRect R = Rect(P.X, P.Y, P.X + Button->Width(), P.Y + Button->Height());
  // A copy: the handlers may free the button and with it the flag the caller holds.
  auto Live = Alive;
  if (PopupMenu != nullptr) {
    if (BeforeShow) BeforeShow();
    if (OnShow) OnShow(Button);
    if (!*Live) return;
    PopupMenu->PopupFromRect2(Button, R, false);
    if (!*Live) return;
  }
  if (ImagesMenu != nullptr) {
    if (BeforeShow) BeforeShow();
    if (OnShow) OnShow(Button);
    if (!*Live || ImagesMenu == nullptr) return;
    ImagesMenu->OnInternalMenuClose = [Live, Closed = std::move(MenuClosed)](TObject* Sender) {
      if (*Live) Closed(Sender);
    };
    ImagesMenu->PopupFromRect(R);
  }
}

void LinkSkinImagesMenu(TComponent* Button, TbsSkinImagesMenu*& Field, TbsSkinImagesMenu* Value,
                        std::function<void()> Repaint) {
  if (Field != nullptr) Field->RemoveFreeNotification(Button);
  Field = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(Button);
  Value->OnInternalChange = [Repaint = std::move(Repaint)](TObject*) { Repaint(); };
}
