#include "skin/controls/base/bsskincontrol.h"

#include "skin/core/bsdraw.h"
#include "skin/core/bsregions.h"

// ---- TbsSkinControl ----

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TbsSkinControlBase(AOwner) {}

void TbsSkinControl::SetSkinDataName(const String& Value) {
  // The element is taken at the next paint or skin change.
  FSkinDataName = Value;
}

void TbsSkinControl::CheckControlsBackground() {
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W != nullptr && W->HandleAllocated())
      SendMessage(W->Handle(), WM_CHECKPARENTBG, 0, 0);
    else
      C->Perform(WM_CHECKPARENTBG, 0, 0);
  }
}

void TbsSkinControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CHECKPARENTBG)
    CheckParentBackground();
  else
    TCustomControl::Dispatch(Message);
}

void TbsSkinControl::WMPaint(TMessage& Message) {
  FromWMPaint = true;
  try {
    TCustomControl::WMPaint(Message);
  } catch (...) {
    FromWMPaint = false;
    throw;
  }
  FromWMPaint = false;
}

void TbsSkinControl::WMEraseBkgnd(TMessage& Message) {
  // Every paint covers the whole control; erasing first would only flicker.
  Message.Result = 1;
}

// ---- TbsSkinCustomControl ----

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : TbsSkinCustomControlBase(AOwner) {}

void TbsSkinCustomControl::GetSkinData() {
  const TbsDataSkinCustomControl* Record = TakeSkinGeometry();
  if (FIndex == -1) return;
  if (Record == nullptr) {
    MaskPicture = nullptr;
    return;
  }
  MaskPicture = SkinPictureAt(FSD, Record->MaskPictureIndex);
  ResizeMode = GetResizeMode();
}

void TbsSkinCustomControl::CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R) {
  // The border strips do the work of a nine-slice element in that mode.
  if (ResizeMode == 1 && FForceBackground) return;
  if (ResizeMode == -1) return;
  if (!ComposeImage(Dest, Source, R, Width(), Height())) CreateControlDefaultImage(Dest);
}

void TbsSkinCustomControl::CreateControlSkinImage(TBitmap* B) {
  CreateSkinImage(B, Picture, SkinRect);
}

void TbsSkinCustomControl::ChangeSkinData() {
  GetSkinData();
  bool SizeChanged = false;
  if (FIndex == -1) {
    const Integer W = FDefaultWidth > 0 ? FDefaultWidth : Width();
    const Integer H = FDefaultHeight > 0 ? FDefaultHeight : Height();
    if (W != Width() || H != Height()) SetBounds(Left(), Top(), W, H);
  } else {
    Integer W = Width(), H = Height();
    CalcSize(W, H);
    SizeChanged = W != Width() || H != Height();
    if (SizeChanged) SetBounds(Left(), Top(), W, H);
  }
  if (FIndex == -1 || !SizeChanged) {
    SetControlRegion();
    Repaint();
  }
}

void TbsSkinCustomControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  GetSkinData();
  const bool Changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
  if (Changed) {
    CalcSize(AWidth, AHeight);
    if (ResizeMode == 0) NewClRect = ClRect;
  }
  ATop = AdjustedChildTop(Parent(), ATop, AHeight);
  TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (Changed) {
    SetControlRegion();
    Repaint();
  }
  if (FIndex != -1 && StretchEffect) CheckControlsBackground();
}

void TbsSkinCustomControl::SetControlRegion() {
  if (Parent() == nullptr) return;
  if (MaskPicture == nullptr || FIndex == -1) {
    if (FRgn != nullptr) SetWindowRgn(Handle(), nullptr, true);
    FRgn = nullptr;
    return;
  }
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  HRGN Rgn = nullptr;
  switch (ResizeMode) {
    case 0:
      RegionFromMask(Rgn, MaskPicture);
      break;
    case 1:
      ComposeSkinRegion(Rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                        NewClRect, MaskPicture, Width(), Height());
      break;
    case 2: {
      const TPoint P{RTPt.X + Width() - RectWidth(SkinRect), RTPt.Y};
      ComposeSkinRegion(Rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, P, LTPt, P, NewClRect, MaskPicture,
                        Width(), Height());
      break;
    }
    case 3: {
      const TPoint P{LBPt.X, LBPt.Y + Height() - RectHeight(SkinRect)};
      ComposeSkinRegion(Rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, P, P, NewClRect, MaskPicture,
                        Width(), Height());
      break;
    }
    default:
      break;
  }
  FRgn = Rgn;
  // The window takes the new region and frees the one it held.
  SetWindowRgn(Handle(), FRgn, true);
}

void TbsSkinCustomControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  GetSkinData();
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  if (FIndex == -1 || !FForceBackground || ResizeMode != 1 || !CanCompose(Picture, SkinRect)) {
    TbsSkinControl::Paint();
    return;
  }
  paintBorderStrips();
}

void TbsSkinCustomControl::paintBorderStrips() {
  TBitmap Left, Top, Right, Bottom;
  ComposeSkinBorders(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                     NewClRect, &Left, &Top, &Right, &Bottom, Picture, SkinRect, Width(), Height(),
                     LeftStretch, TopStretch, RightStretch, BottomStretch);
  CreateControlSkinImage(&Top);
  TCanvas* C = Canvas();
  const Integer w = RectWidth(ClRect), h = RectHeight(ClRect);
  // An element whose client part has no area has nothing to tile.
  if (FDrawbackground && w > 0 && h > 0) {
    TBitmap Tile;
    Tile.SetSize(w, h);
    Tile.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(),
                            Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top,
                                 SkinRect.Left + ClRect.Right, SkinRect.Top + ClRect.Bottom));
    HDC DC = C->Handle();
    const Integer Saved = SaveDC(DC);
    IntersectClipRect(DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    const Integer CW = RectWidth(NewClRect), CH = RectHeight(NewClRect);
    if (StretchEffect && !IsEmptyRect(NewClRect)) {
      if (StretchType == bsstFull) {
        C->StretchDraw(NewClRect, &Tile);
      } else if (StretchType == bsstHorz) {
        for (Integer i = 0; i <= CW / w; ++i)
          C->StretchDraw(Bounds(NewClRect.Left + i * w, NewClRect.Top, w, CH), &Tile);
      } else {
        for (Integer j = 0; j <= CH / h; ++j)
          C->StretchDraw(Bounds(NewClRect.Left, NewClRect.Top + j * h, CW, h), &Tile);
      }
    } else if (!StretchEffect) {
      for (Integer i = 0; i <= CW / w; ++i)
        for (Integer j = 0; j <= CH / h; ++j) C->Draw(NewClRect.Left + i * w, NewClRect.Top + j * h, &Tile);
    }
    RestoreDC(DC, Saved);
  }
  C->Draw(0, 0, &Top);
  C->Draw(0, Top.Height(), &Left);
  C->Draw(Width() - Right.Width(), Top.Height(), &Right);
  C->Draw(0, Height() - Bottom.Height(), &Bottom);
}
