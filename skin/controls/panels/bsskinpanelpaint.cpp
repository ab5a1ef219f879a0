// The panel's looks: flat default with its caption bar, skinned with the skinned caption, the caption
// strip used when the caption height is not the skin's, the two transparent looks over the parent's
// background, and the client-texture and background-picture looks.
#include "platform/gdi/text.h"
#include "skin/controls/panels/bsskinpanel.h"

namespace {

bool rectInside(const TRect& R, const TBitmap* B) {
  return B != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() &&
         R.Bottom <= B->Height();
}

// The default caption check box: a 13 x 13 white square with a tick when checked.
void drawDefaultCheck(TCanvas* C, Integer X, Integer Y, bool AChecked) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(X, Y, X + 13, Y + 13));
  if (AChecked) DrawCheckMark(C, X + 3, Y + 2, clBtnText);
}

}  // namespace

bool TbsSkinPanel::hasListImage() const {
  return FGlyph->Empty() && FCaptionImageList != nullptr && FCaptionImageIndex >= 0 &&
         FCaptionImageIndex < FCaptionImageList->Count();
}

Integer TbsSkinPanel::captionWidth(TCanvas* C) const {
  Integer W = C->TextWidth(Caption());
  if (!FGlyph->Empty()) W += FGlyph->Width() / FNumGlyphs + FSpacing;
  return W;
}

bool TbsSkinPanel::checkPicture(TBitmap& Out, bool AChecked) const {
  const TRect R = AChecked ? CheckImageRect : UnCheckImageRect;
  if (!rectInside(R, Picture)) return false;
  Out.SetPixelFormat(pf24bit);
  Out.SetSize(RectWidth(R), RectHeight(R));
  Out.Canvas()->CopyRect(Rect(0, 0, Out.Width(), Out.Height()), Picture->Canvas(), R);
  Out.SetTransparent(true);
  return true;
}

// ---- Paint ----

void TbsSkinPanel::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  if (FEmptyDrawing && !designing()) return;
  GetSkinData();
  const bool Skinned = FIndex != -1;
  if (Skinned && ((!FUseSkinSize && FCaptionMode) || FTransparentMode)) {
    TBitmap B;
    B.SetSize(Width(), Height());
    if (!FTransparentMode) {
      drawCaptionStrip(&B);
    } else {
      DrawParentBackground(this, B.Canvas());
      if (FCaptionMode) {
        drawTransparentFrame(&B);
      } else if (FBorderStyle != bvNone) {
        B.Canvas()->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
        B.Canvas()->Pen()->SetWidth(1);
        B.Canvas()->Brush()->SetStyle(bsClear);
        B.Canvas()->Rectangle(0, 0, Width(), Height());
      }
      PaintClient(B.Canvas());
    }
    Canvas()->Draw(0, 0, &B);
    return;
  }
  if (!Skinned || (!FForceBackground && StretchEffect)) {
    TbsSkinCustomControl::Paint();
    return;
  }
  if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && FForceBackground) {
    drawClientTile(Canvas(), StretchEffect);
    return;
  }
  TBitmap* P = BGPictureIndex == -1 ? nullptr : SkinPictureAt(FSD, BGPictureIndex);
  if (P == nullptr || P->Width() <= 0 || P->Height() <= 0) {
    TbsSkinCustomControl::Paint();
    return;
  }
  drawBackgroundPicture(Canvas(), P);
}

void TbsSkinPanel::drawClientTile(TCanvas* C, bool Stretched) {
  const Integer w = RectWidth(ClRect), h = RectHeight(ClRect);
  TRect Src = ClRect;
  OffsetRect(&Src, SkinRect.Left, SkinRect.Top);
  if (w <= 0 || h <= 0 || !rectInside(Src, Picture)) {
    // Nothing to tile: the flat face.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Width(), Height()));
    return;
  }
  TBitmap Tile;
  Tile.SetSize(w, h);
  Tile.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), Src);
  if (Stretched && StretchType == bsstFull) {
    C->StretchDraw(Rect(0, 0, Width(), Height()), &Tile);
  } else if (Stretched && StretchType == bsstHorz) {
    for (Integer i = 0; i <= Width() / w; ++i) C->StretchDraw(Rect(i * w, 0, (i + 1) * w, Height()), &Tile);
  } else if (Stretched && StretchType == bsstVert) {
    for (Integer j = 0; j <= Height() / h; ++j) C->StretchDraw(Rect(0, j * h, Width(), (j + 1) * h), &Tile);
  } else {
    for (Integer i = 0; i <= Width() / w; ++i)
      for (Integer j = 0; j <= Height() / h; ++j) C->Draw(i * w, j * h, &Tile);
  }
}

void TbsSkinPanel::drawBackgroundPicture(TCanvas* C, TBitmap* P) {
  const Integer pw = P->Width(), ph = P->Height();
  if (StretchEffect && StretchType == bsstFull) {
    C->StretchDraw(NewClRect, P);
  } else if (StretchEffect && StretchType == bsstHorz) {
    for (Integer i = 0; i <= Width() / pw; ++i) C->StretchDraw(Rect(i * pw, 0, (i + 1) * pw, Height()), P);
  } else if (StretchEffect && StretchType == bsstVert) {
    for (Integer j = 0; j <= Height() / ph; ++j) C->StretchDraw(Rect(0, j * ph, Width(), (j + 1) * ph), P);
  } else {
    for (Integer i = 0; i <= Width() / pw; ++i)
      for (Integer j = 0; j <= Height() / ph; ++j) C->Draw(i * pw, j * ph, P);
  }
}

void TbsSkinPanel::PaintskinTo(TCanvas* C, Integer X, Integer Y) {
  if (Width() <= 0 || Height() <= 0) return;
  TBitmap B;
  CreateControlImage(&B);
  C->Draw(X, Y, &B);
}

// ---- default look ----

void TbsSkinPanel::CreateControlDefaultImage(TBitmap* B) {
  TbsSkinCustomControl::CreateControlDefaultImage(B);
  TCanvas* C = B->Canvas();
  TRect R = Rect(0, 0, Width(), Height());
  switch (FBorderStyle) {
    case bvFrame:
      Frame3D(C, R, clBtnShadow, clBtnShadow, 1);
      break;
    case bvRaised:
      Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
      break;
    case bvLowered:
      Frame3D(C, R, clBtnShadow, clBtnHighlight, 1);
      break;
    case bvNone:
      break;
  }
  if (!FCaptionMode) return;
  const Integer CH = FDefaultCaptionHeight;
  if (FBorderStyle == bvFrame)
    R = FRibbonStyle ? Rect(0, Height() - CH, Width(), Height()) : Rect(0, 0, Width(), CH);
  else
    R = FRibbonStyle ? Rect(1, Height() - CH - 1, Width() - 1, Height() - 1) : Rect(1, 1, Width() - 1, CH);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnShadow);
  C->FillRect(R);
  if (FCheckedMode) R.Left += 20;
  if (FRollUpMode) R.Right -= 10;
  C->SetFont(FDefaultFont.get());
  if (FSD != nullptr && FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  const String Text = Caption();
  const Integer W = captionWidth(C);
  const Integer Y = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2 - 1;
  Integer X = R.Left + 4;
  if (FDefaultAlignment == taRightJustify)
    X = R.Right - W;
  else if (FDefaultAlignment == taCenter)
    X = R.Left + 4 + RectWidth(R) / 2 - W / 2;
  if (FCheckedMode) drawDefaultCheck(C, 5, R.Top + RectHeight(R) / 2 - 6, FChecked);
  Integer IX = X, IY = 0;
  const bool List = hasListImage(), Glyph = !List && !FGlyph->Empty();
  if (List) {
    IY = R.Top + RectHeight(R) / 2 - FCaptionImageList->Height() / 2;
    X += FCaptionImageList->Width() + FSpacing;
  } else if (Glyph) {
    IY = R.Top + RectHeight(R) / 2 - FGlyph->Height() / 2;
    X += FGlyph->Width() / FNumGlyphs + FSpacing;
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, X, Y, Text);
  if (List)
    FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
  else if (Glyph)
    DrawGlyphFrame(C, IX, IY, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
  if (FRollUpMode) DrawArrow(C, Rect(R.Right, R.Top, R.Right + 6, R.Bottom), clBtnText, FRollUpState ? 4 : 3);
}

// ---- skinned look ----

void TbsSkinPanel::CreateControlSkinImage(TBitmap* B) {
  if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
    drawClientTile(B->Canvas(), false);
    return;
  }
  TbsSkinCustomControl::CreateControlSkinImage(B);
  if (FUseSkinSize) {
    if (ResizeMode < 1)
      NewCaptionRect = CaptionRect;
    else if (!FTransparentMode)
      GetNewPartRect(CaptionRect, NewCaptionRect);
  }
  if (!Caption().empty() && !IsEmptyRect(CaptionRect)) drawSkinCaption(B);
}

void TbsSkinPanel::drawSkinCaption(TBitmap* B) {
  TCanvas* C = B->Canvas();
  TRect R = NewCaptionRect;
  const String Text = Caption();
  if (FRollUpMode) R.Right -= 12;
  if (FCheckedMode) {
    const Integer cw = RectWidth(CheckImageRect), ch = RectHeight(CheckImageRect);
    TBitmap Pic;
    if (checkPicture(Pic, FChecked))
      C->Draw(R.Left, R.Top + RectHeight(R) / 2 - ch / 2, &Pic);
    else
      drawDefaultCheck(C, R.Left, R.Top + RectHeight(R) / 2 - 6, FChecked);
    R.Left += (cw > 0 ? cw : 13) + 2;
  }
  ApplySkinFont(C, FontName, FontHeight, FontStyle);
  C->Font()->SetColor(FontColor);
  const Integer TW = C->TextWidth(Text), W = captionWidth(C);
  Integer TY = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2;
  if (C->Font()->Height() % 2 != 0) --TY;
  Integer TX = R.Left;
  if (Alignment == taRightJustify)
    TX = R.Right - W;
  else if (Alignment == taCenter)
    TX = R.Left + RectWidth(R) / 2 - W / 2;
  C->Brush()->SetStyle(bsClear);
  const bool List = hasListImage(), Glyph = !List && !FGlyph->Empty();
  Integer IX = 0, IY = 0;
  if (List || Glyph) {
    const Integer IW = List ? FCaptionImageList->Width() : FGlyph->Width() / FNumGlyphs;
    const Integer IH = List ? FCaptionImageList->Height() : FGlyph->Height();
    IY = R.Top + RectHeight(R) / 2 - IH / 2;
    if (FImagePosition == bsipLeft) {
      IX = R.Left + 2;
      const Integer MinX = IX + IW + FSpacing;
      if (Alignment == taRightJustify)
        TX = IntMax(R.Right - TW, MinX);
      else if (Alignment == taCenter)
        TX = IntMax(R.Left + RectWidth(R) / 2 - TW / 2, MinX);
      else
        TX = MinX;
    } else {
      IX = TX;
      TX += IW + FSpacing;
    }
  }
  if (FRollUpMode) {
    const TRect M = Rect(R.Right, R.Top, R.Right + 10, R.Bottom);
    if (rectInside(MarkFrameRect, Picture))
      C->CopyRect(
          Rect(M.Left, M.Top, M.Left + RectWidth(MarkFrameRect), CaptionRect.Top + RectHeight(MarkFrameRect)),
          Picture->Canvas(), MarkFrameRect);
    DrawArrow(C, M, FontColor, FRollUpState ? 4 : 3);
  }
  if (rectInside(FrameRect, Picture)) {
    const Integer E = RectWidth(FrameRect) - RectWidth(FrameTextRect);
    TBitmap Strip;
    ComposeSkinImageH(FrameLeftOffset, FrameRightOffset, &Strip, Picture, FrameRect, E + TW,
                      RectHeight(FrameRect), false);
    Integer SX = TX;
    if (Alignment == taLeftJustify) {
      TX = SX + FrameTextRect.Left;
    } else if (Alignment == taRightJustify) {
      SX = TX - E;
      TX = SX + FrameTextRect.Left;
      IX -= E;
    } else {
      SX = TX - FrameTextRect.Left - 2;
      IX -= FrameTextRect.Left;
      TX -= 2;
    }
    C->Draw(SX, CaptionRect.Top, &Strip);
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, TX, TY, Text);
  if (List)
    FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
  else if (Glyph)
    DrawGlyphFrame(C, IX, IY, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
}

void TbsSkinPanel::drawCaptionStrip(TBitmap* B) {
  TCanvas* C = B->Canvas();
  // Where nothing can be drawn the panel shows the flat face rather than an uninitialised bitmap.
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, Width(), Height()));
  const String Own = FSkinDataName;
  FSkinDataName = "panel";
  GetSkinData();
  if (FIndex == -1) {
    FSkinDataName = Own;
    GetSkinData();
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (CanCompose(Picture, SkinRect))
    ComposeSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                     NewClRect, B, Picture, SkinRect, Width(), Height(), true, LeftStretch, TopStretch,
                     RightStretch, BottomStretch, StretchEffect, StretchType);
  FSkinDataName = Own;
  GetSkinData();
  TRect Src = CaptionRect;
  InflateRect(&Src, -1, -1);
  OffsetRect(&Src, SkinRect.Left, SkinRect.Top);
  const Integer SW = RectWidth(NewClRect), SH = FDefaultCaptionHeight - NewClRect.Top - 1;
  if (SW > 0 && SH > 0 && rectInside(Src, Picture))
    C->CopyRect(Rect(NewClRect.Left, NewClRect.Top, NewClRect.Left + SW, NewClRect.Top + SH),
                Picture->Canvas(), Src);
  NewCaptionRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, FDefaultCaptionHeight - 1);
  CreateControlSkinImage(B);
}

void TbsSkinPanel::drawTransparentFrame(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsClear);
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetStyle(FontStyle);
  } else {
    C->SetFont(FDefaultFont.get());
  }
  const String Text = Caption();
  const Integer H = C->TextHeight(Text);
  const TRect CR = Rect(5, 0, Width(), H + 5);
  NewCaptionRect = CR;
  Integer X = 5;
  if (FCheckedMode) {
    const Integer cw = RectWidth(CheckImageRect), ch = RectHeight(CheckImageRect);
    TBitmap Pic;
    if (checkPicture(Pic, FChecked))
      C->Draw(5, (CR.Top + CR.Bottom) / 2 - ch / 2, &Pic);
    else
      drawDefaultCheck(C, 5, (CR.Top + CR.Bottom) / 2 - 6, FChecked);
    X = (cw > 0 ? cw : 13) + 10;
    C->Brush()->SetStyle(bsClear);
  }
  const bool List = hasListImage(), Glyph = !List && !FGlyph->Empty();
  const Integer IX = X;
  Integer IY = 0;
  if (List) {
    IY = (CR.Top + CR.Bottom) / 2 - FCaptionImageList->Height() / 2;
    X += FCaptionImageList->Width() + 2;
  } else if (Glyph) {
    IY = (CR.Top + CR.Bottom) / 2 - FGlyph->Height() / 2;
    X += FGlyph->Width() / FNumGlyphs + 2;
  }
  const TRect T = Rect(X, 0, Width(), H + 5);
  if (FSD->ResourceStrData() != nullptr)
    C->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    C->Font()->SetCharset(FDefaultFont->Charset());
  const Integer LabelIndex = FSD->GetControlIndex("stdlabel");
  auto* Label =
      LabelIndex == -1 ? nullptr : dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->Ctrls(LabelIndex));
  const TColor TextColor = Label != nullptr ? Label->FontColor : FSD->SkinColors()->cBtnText();
  C->Font()->SetColor(TextColor);
  DrawTextLeft(C, Text, T);
  TRect M = T;
  DrawWideText(C, Text, M, DT_CALCRECT);
  const Integer TW = Text.empty() ? 0 : RectWidth(M);
  if (List)
    FCaptionImageList->Draw(C, IX, IY, FCaptionImageIndex, Enabled());
  else if (Glyph)
    DrawGlyphFrame(C, IX, IY, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
  Integer LineStart = X + TW + 3;
  if (FRollUpMode) {
    DrawArrow(C, Rect(X + TW + 3, 0, X + TW + 10, H + 5), TextColor, FRollUpState ? 4 : 3);
    LineStart = X + TW + 12;
  }
  C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
  const Integer Y = (H + 5) / 2, R = Width() - 1, Bottom = Height() - 1;
  C->Polyline(
      {Point(LineStart, Y), Point(R, Y), Point(R, Bottom), Point(0, Bottom), Point(0, Y), Point(5, Y)});
}
