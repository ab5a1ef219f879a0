#include "skin/controls/base/bsskincontrol.h"

#include "skin/core/bsdraw.h"
#include "skin/core/bsregions.h"

// ---- TbsSkinControl ----

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TbsSkinControl::~TbsSkinControl() {
  if (FSD) FSD->RemoveFreeNotification(this);
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
}

void TbsSkinControl::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  if (Value != nullptr && !Value->Empty && !designing()) ChangeSkinData();
}

void TbsSkinControl::SetSkinDataName(const String& Value) {
  // The element is taken at the next paint or skin change.
  FSkinDataName = Value;
}

void TbsSkinControl::SetHintImageList(TCustomImageList* Value) {
  if (FHintImageList == Value) return;
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  FHintImageList = Value;
  if (FHintImageList) FHintImageList->FreeNotification(this);
}

void TbsSkinControl::GetSkinData() {
  if (FSD == nullptr || FSD->Empty)
    FIndex = -1;
  else
    FIndex = FSD->GetControlIndex(FSkinDataName);
}

void TbsSkinControl::ChangeSkinData() {
  GetSkinData();
  Repaint();
}

void TbsSkinControl::BeforeChangeSkinData() {
  FIndex = -1;
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

void TbsSkinControl::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  TBitmap B;
  B.SetSize(Width(), Height());
  if (FIndex == -1)
    CreateControlDefaultImage(&B);
  else
    CreateControlSkinImage(&B);
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
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

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner)
    : TbsSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetStyle({});
  FDefaultFont->SetHeight(13);
  FDefaultFont->OnChange = [this](TObject* Sender) { OnDefaultFontChange(Sender); };
}

TbsSkinCustomControl::~TbsSkinCustomControl() {
  FDefaultFont->OnChange = nullptr;
}

void TbsSkinCustomControl::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  DefaultFontChanged();
}

void TbsSkinCustomControl::OnDefaultFontChange(TObject*) {
  DefaultFontChanged();
  if (FIndex == -1) Repaint();
}

void TbsSkinCustomControl::SetDefaultWidth(Integer Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TbsSkinCustomControl::SetDefaultHeight(Integer Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TbsSkinCustomControl::GetSkinData() {
  TbsSkinControl::GetSkinData();
  if (FIndex == -1) return;
  auto* Record = dynamic_cast<TbsDataSkinCustomControl*>(FSD->Ctrls(FIndex));
  if (Record == nullptr) {
    ResizeMode = 0;
    Picture = nullptr;
    MaskPicture = nullptr;
    return;
  }
  CopyGeometry(Record);
  Picture = SkinPictureAt(FSD, Record->PictureIndex);
  MaskPicture = SkinPictureAt(FSD, Record->MaskPictureIndex);
  ResizeMode = GetResizeMode();
}

void TbsSkinCustomControl::CalcSize(Integer& AWidth, Integer& AHeight) {
  CalcGeometry(AWidth, AHeight, FIndex != -1);
}

void TbsSkinCustomControl::GetNewPartRect(const TRect& R, TRect& NewR) const {
  TbsSkinGeometry::GetNewPartRect(R, NewR, FWidth, FHeight);
}

void TbsSkinCustomControl::CreateSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R) {
  // The border strips do the work of a nine-slice element in that mode.
  if (ResizeMode == 1 && FForceBackground) return;
  if (ResizeMode == -1) return;
  if (!ComposeImage(Dest, Source, R, Width(), Height())) CreateControlDefaultImage(Dest);
}

void TbsSkinCustomControl::CreateControlDefaultImage(TBitmap* B) {
  B->Canvas()->Brush()->SetColor(clBtnFace);
  B->Canvas()->FillRect(Rect(0, 0, Width(), Height()));
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
