// The caption drawn into the 32-bit image of a layered border. Every part keeps the alpha the image
// already has and makes opaque only what it covers.
#include <algorithm>
#include <functional>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bsblur.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bskernels.h"
#include "skin/core/bspngimagelist.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bstextglow.h"
#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/forms/frame/bsquickbuttons.h"
#include "skin/forms/frame/bsskincaptionobject.h"

namespace {

Byte alphaOf(TbsColor C) {
  return Byte(C >> 24);
}
TbsColor withAlpha(TbsColor C, Byte A) {
  return (C & 0x00FFFFFF) | (TbsColor(A) << 24);
}

// R clipped to Target.
TRect clipTo(const TbsBitmap* Target, const TRect& R) {
  return TRect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Target->Width()),
               std::min(R.Bottom, Target->Height()));
}

// Paint(Canvas, OnMask) draws in Target's coordinates, once in white on a grey mask of Target's alpha
// and once in its colours on a copy of area R; the copy takes the mask's grey as its alpha and goes back,
// so only what was painted turns opaque.
void paintAlphaPreserving(TbsBitmap* Target, const TRect& Area,
                          const std::function<void(TCanvas*, bool OnMask)>& Paint) {
  const TRect R = clipTo(Target, Area);
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (W <= 0 || H <= 0) return;
  TbsBitmap B, M;
  B.SetSize(W, H);
  M.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const TbsColor C = *Target->GetPixelPtr(R.Left + X, R.Top + Y);
      const Byte A = alphaOf(C);
      *B.GetPixelPtr(X, Y) = withAlpha(C, 255);
      *M.GetPixelPtr(X, Y) = 0xFF000000 | (TbsColor(A) << 16) | (TbsColor(A) << 8) | A;
    }
  for (TbsBitmap* Bmp : {&M, &B}) {
    TCanvas* C = Bmp->Canvas();
    SetWindowOrgEx(C->Handle(), R.Left, R.Top, nullptr);
    Paint(C, Bmp == &M);
    SetWindowOrgEx(C->Handle(), 0, 0, nullptr);
  }
  AlphaFromMask(&B, &M);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) *Target->GetPixelPtr(R.Left + X, R.Top + Y) = *B.GetPixelPtr(X, Y);
}

}  // namespace

void TbsSkinCaptionObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) {
  if (!HasSkin() || !ABitMap) return;
  (void)Cnvs;
  Active = Parent->Mode().FormActive;
  TRect TR(0, 0, RectWidth(ObjectRect), RectHeight(ObjectRect));
  if (HasQuickButtons()) {
    const Integer Count = Parent->QuickButtons()->Count();
    const Integer IW = Parent->QuickImageList()->Width();
    const TRect DSrc = DividerSource();
    Integer X = ObjectRect.Left + 5;
    if (IsEmptyRect(DividerRect) || !ActivePicture) {
      TR.Left += Count * (IW + 8) + 5;
    } else {
      const Integer DW = RectWidth(DSrc), DH = RectHeight(DSrc);
      const Integer DX = ObjectRect.Left + 3, DY = ObjectRect.Top + RectHeight(ObjectRect) / 2 - DH / 2;
      for (Integer Y = 0; Y < DH; ++Y)
        for (Integer X2 = 0; X2 < DW; ++X2) {
          const TColor P = ActivePicture->Canvas()->Pixels(DSrc.Left + X2, DSrc.Top + Y);
          if (DividerTransparent && (P & 0xFFFFFF) == (ColorToRGB(DividerTransparentColor) & 0xFFFFFF))
            continue;
          if (DX + X2 < 0 || DY + Y < 0 || DX + X2 >= ABitMap->Width() || DY + Y >= ABitMap->Height())
            continue;
          TbsColor* T = ABitMap->GetPixelPtr(DX + X2, DY + Y);
          *T = withAlpha(ColorToBsColor(P, 0), alphaOf(*T));
        }
      TR.Left += DW + Count * (IW + 8) + 6;
      X = ObjectRect.Left + DW + 6;
    }
    const Integer Y =
        ObjectRect.Top + RectHeight(ObjectRect) / 2 - Parent->QuickImageList()->Height() / 2 - 2;
    DrawAlphaQuickButtons(ABitMap, X, Y);
  }
  if (VistaGlowEffect) {
    TR.Left += 6;
    TR.Right -= 6;
  } else if (GlowEffect) {
    TR.Left += 3;
    TR.Right -= 3;
  }
  DrawAlphaText(ABitMap, TR);
}

void TbsSkinCaptionObject::DrawAlphaQuickButtons(TbsBitmap* Target, Integer X, Integer Y) {
  TCustomImageList* IL = Parent->QuickImageList();
  TbsQuickButtonItems* Items = Parent->QuickButtons();
  auto* PngList = dynamic_cast<TbsPngImageList*>(IL);
  for (Integer i = 0; i < Items->Count(); ++i) {
    TbsQuickButtonItem* Item = Items->Items(i);
    if (!Item->Visible()) continue;
    Item->ItemRect = TRect(X, Y, X + IL->Width() + 4, Y + IL->Height() + 4);
    X += IL->Width() + 8;
    const TRect IR = Item->ItemRect;
    if (Item->ImageIndex() < 0) continue;
    if (Item->Active) {
      TbsDataSkinButtonControl* E = QuickButtonElement();
      TBitmap* Pic = E ? SkinPicture(E->PictureIndex) : nullptr;
      const TRect Src = E ? (Item->Down ? E->DownSkinRect : E->ActiveSkinRect) : TRect();
      if (Pic && !IsEmptyRect(Src)) {
        TBitmap Face;
        Face.SetSize(RectWidth(IR), RectHeight(IR));
        ComposeStretchedSkinImage(&Face, Pic, Src, E->ClRect, true);
        TbsBitmap B;
        B.Assign(&Face);
        TBitmap* MaskPic = SkinPicture(QuickButtonAlphaMaskPictureIndex);
        if (MaskPic && IsMsImg32Loaded()) {
          TBitmap MaskFace;
          MaskFace.SetSize(RectWidth(IR), RectHeight(IR));
          ComposeStretchedSkinImage(&MaskFace, MaskPic, Src, E->ClRect, true);
          TbsBitmap M;
          M.Assign(&MaskFace);
          AlphaFromMaskPremultiplied(&B, &M);
          BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
          AlphaBlend(Target->Canvas()->Handle(), IR.Left, IR.Top, B.Width(), B.Height(), B.Canvas()->Handle(),
                     0, 0, B.Width(), B.Height(), Blend);
        } else {
          for (Integer YY = 0; YY < B.Height(); ++YY)
            for (Integer XX = 0; XX < B.Width(); ++XX)
              if (IR.Left + XX >= 0 && IR.Top + YY >= 0 && IR.Left + XX < Target->Width() &&
                  IR.Top + YY < Target->Height())
                *Target->GetPixelPtr(IR.Left + XX, IR.Top + YY) = withAlpha(*B.GetPixelPtr(XX, YY), 255);
        }
      }
    }
    if (Item->ImageIndex() >= IL->Count()) continue;
    const Integer IX = IR.Left + RectWidth(IR) / 2 - IL->Width() / 2;
    const Integer IY = IR.Top + RectHeight(IR) / 2 - IL->Height() / 2;
    if (PngList && Item->Enabled()) {
      // Straight-alpha image over the target; the result's alpha is the union of both.
      const TRawImage& Img = PngList->Images(Item->ImageIndex());
      for (Integer YY = 0; YY < Img.Height; ++YY)
        for (Integer XX = 0; XX < Img.Width; ++XX) {
          if (IX + XX < 0 || IY + YY < 0 || IX + XX >= Target->Width() || IY + YY >= Target->Height())
            continue;
          const Byte* P = Img.Bits.data() + YY * Img.RowBytes() + 4 * XX;
          const Integer A = P[3];
          TbsColor* T = Target->GetPixelPtr(IX + XX, IY + YY);
          auto mix = [&](Integer Shift, Byte Src) {
            const Integer D = Integer((*T >> Shift) & 0xFF);
            return TbsColor((Src * A + D * (255 - A)) / 255) << Shift;
          };
          const Byte OldA = alphaOf(*T);
          const Byte NewA = Byte(OldA + A - OldA * A / 255);
          *T = mix(0, P[0]) | mix(8, P[1]) | mix(16, P[2]) | (TbsColor(NewA) << 24);
        }
      continue;
    }
    // Other lists, and disabled PNG images (which keep the old alpha), go through the key colour.
    TBitmap Keyed;
    Keyed.SetSize(IL->Width(), IL->Height());
    Keyed.Canvas()->Brush()->SetColor(TColor(RGB(127, 0, 127)));
    Keyed.Canvas()->FillRect(TRect(0, 0, IL->Width(), IL->Height()));
    IL->Draw(Keyed.Canvas(), 0, 0, Item->ImageIndex(), Item->Enabled());
    for (Integer YY = 0; YY < IL->Height(); ++YY)
      for (Integer XX = 0; XX < IL->Width(); ++XX) {
        const TColor P = Keyed.Canvas()->Pixels(XX, YY);
        if ((P & 0xFFFFFF) == RGB(127, 0, 127)) continue;
        if (IX + XX < 0 || IY + YY < 0 || IX + XX >= Target->Width() || IY + YY >= Target->Height()) continue;
        TbsColor* T = Target->GetPixelPtr(IX + XX, IY + YY);
        *T = withAlpha(ColorToBsColor(P, 0), PngList ? alphaOf(*T) : Byte(255));
      }
  }
}

void TbsSkinCaptionObject::DrawAlphaText(TbsBitmap* Target, const TRect& TR) {
  TCanvas* Cnvs = Target->Canvas();
  ApplyFontRule(Cnvs, Active ? ActiveFontColor : FontColor);
  const Integer X0 = ObjectRect.Left, Y0 = ObjectRect.Top;
  if (Parent->CaptionPaintEvent()) {
    Parent->CaptionPaintEvent()(Cnvs, ObjectRect, Active);
    return;
  }
  String S = CaptionString();
  if (S.empty()) return;
  FitWideTextToWidth(Cnvs, S, RectWidth(TR));
  const Integer W = WideTextWidth(Cnvs, S), H = WideTextHeight(Cnvs, S);
  Integer Y = TR.Top + RectHeight(TR) / 2 - H / 2;
  Integer X;
  if (!AnyQuickButtons() && Alignment == taLeftJustify)
    X = TR.Left;
  else if (!AnyQuickButtons() && Alignment == taRightJustify)
    X = TR.Right - W;
  else
    X = TR.Left + RectWidth(TR) / 2 - W / 2;
  X += X0;
  Y += Y0;
  if (H % 2 != 0) Y -= 1;
  Cnvs->Brush()->SetStyle(bsClear);
  TFont Font;
  Font.Assign(Cnvs->Font());
  auto plain = [&](Integer PX, Integer PY, TColor Colour) {
    TRect R(PX, PY, PX, PY);
    DrawWideText(Cnvs, S, R, DT_CALCRECT);
    paintAlphaPreserving(Target, R, [&](TCanvas* C, bool OnMask) {
      C->Font()->Assign(&Font);
      C->Font()->SetColor(OnMask ? TColor(clWhite) : Colour);
      C->Brush()->SetStyle(bsClear);
      TRect RR = R;
      DrawWideText(C, S, RR, DT_VCENTER);
    });
  };
  if (Light) plain(X - 1, Y - 1, Active ? ActiveLightColor : LightColor);
  if (Shadow) plain(X + 1, Y + 1, Active ? ActiveShadowColor : ShadowColor);
  const TColor TextColour = Active ? ActiveFontColor : FontColor;
  if (!ReflectionEffect && !VistaGlowEffect && !GlowEffect) {
    plain(X, Y, TextColour);
    return;
  }
  TRect R(X, Y, X, Y);
  DrawWideText(Cnvs, S, R, DT_CALCRECT);
  TRect Big = R;
  InflateRect(&Big, 6, 6);
  paintAlphaPreserving(Target, Big, [&](TCanvas* C, bool White) {
    C->Font()->Assign(&Font);
    C->Font()->SetColor(White ? TColor(clWhite) : TextColour);
    C->Brush()->SetStyle(bsClear);
    if (ReflectionEffect)
      DrawReflectionText(C, R, S, DT_VCENTER, ReflectionOffset,
                         White ? TColor(clWhite) : (Active ? ReflectionActiveColor : ReflectionColor));
    else if (VistaGlowEffect)
      DrawVistaGlowTextNarrow(C, R, S, DT_VCENTER,
                              White ? TColor(clWhite) : (Active ? GlowActiveColor : GlowColor));
    else
      DrawGlowTextWide(C, R, S, DT_VCENTER, GlowOffset,
                       White ? TColor(clWhite) : (Active ? GlowActiveColor : GlowColor), GlowSize);
  });
}
