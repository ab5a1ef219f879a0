#include "skin/controls/panels/bsskinsplitter.h"

#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

namespace {

bool rectInside(const TRect& R, const TBitmap* B) {
  return B != nullptr && !IsEmptyRect(R) && R.Left >= 0 && R.Top >= 0 && R.Right <= B->Width() &&
         R.Bottom <= B->Height();
}

Integer elementIndex(TbsSkinData* SD, const String& Name) {
  return SD == nullptr || SD->Empty ? -1 : SD->GetControlIndex(Name);
}

}  // namespace

// ---- splitter ----

TbsSkinSplitter::TbsSkinSplitter(TComponent* AOwner) : TSplitter(AOwner) {
  FControlStyle.Include(csOpaque);
}

TbsSkinSplitter::~TbsSkinSplitter() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  ChangeSkinData();
}

void TbsSkinSplitter::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Repaint();
}

void TbsSkinSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TSplitter::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::GetSkinData() {
  FIndex = elementIndex(FSD, FSkinDataName);
  FSkinPicture = nullptr;
  if (FIndex == -1) return;
  auto* R = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->Ctrls(FIndex));
  if (R == nullptr) return;
  LTPt = R->LTPoint;
  RTPt = R->RTPoint;
  LBPt = R->LBPoint;
  SkinRect = R->SkinRect;
  StretchEffect = R->StretchEffect;
  FSkinPicture = SkinPictureAt(FSD, R->PictureIndex);
  GripperRect = R->GripperRect;
  GripperTransparent = R->GripperTransparent;
  GripperTransparentColor = R->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData() {
  GetSkinData();
  const bool Own = FIndex == -1 || FTransparent;
  if (Align() == alTop || Align() == alBottom)
    SetHeight(Own ? FDefaultSize : RectHeight(SkinRect));
  else
    SetWidth(Own ? FDefaultSize : RectWidth(SkinRect));
  Repaint();
}

void TbsSkinSplitter::RequestAlign() {
  TSplitter::RequestAlign();
  if (ComponentState().Contains(csDesigning))
    FSkinDataName = Align() == alTop || Align() == alBottom ? "hsplitter" : "vsplitter";
}

void TbsSkinSplitter::Paint() {
  if (FTransparent || Width() < 1 || Height() < 1) return;
  GetSkinData();
  // An element whose bar cannot be read from its picture draws as the platform splitter.
  if (FIndex == -1 || Align() == alNone || Align() == alClient || !rectInside(SkinRect, FSkinPicture)) {
    TSplitter::Paint();
    return;
  }
  TBitmap B;
  const Integer SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
  if (Align() == alTop || Align() == alBottom)
    ComposeSkinImageH(LTPt.X, SW - RTPt.X, &B, FSkinPicture, SkinRect, Width(), SH, StretchEffect);
  else
    ComposeSkinImageV(LTPt.Y, SH - LBPt.Y, &B, FSkinPicture, SkinRect, SW, Height(), StretchEffect);
  if (rectInside(GripperRect, FSkinPicture)) {
    TBitmap G;
    G.SetPixelFormat(pf24bit);
    G.SetSize(RectWidth(GripperRect), RectHeight(GripperRect));
    G.Canvas()->CopyRect(Rect(0, 0, G.Width(), G.Height()), FSkinPicture->Canvas(), GripperRect);
    if (GripperTransparent) {
      G.SetTransparentColor(GripperTransparentColor);
      G.SetTransparent(true);
    }
    B.Canvas()->Draw(B.Width() / 2 - G.Width() / 2, B.Height() / 2 - G.Height() / 2, &G);
  }
  Canvas()->Draw(0, 0, &B);
}

// ---- bevel ----

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

TbsSkinBevel::~TbsSkinBevel() {
  if (FSD) FSD->RemoveFreeNotification(this);
}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
  if (FSD != Value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
  }
  ChangeSkinData();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetDividerMode(bool Value) {
  FDividerMode = Value;
  Repaint();
}

void TbsSkinBevel::ChangeSkinData() {
  FIndex = elementIndex(FSD, FSkinDataName);
  if (FIndex == -1) {
    LightColor = clBtnHighlight;
    DarkColor = clBtnShadow;
  } else if (auto* R = dynamic_cast<TbsDataSkinBevel*>(FSD->Ctrls(FIndex))) {
    LightColor = R->LightColor;
    DarkColor = R->DarkColor;
  }
  Repaint();
}

void TbsSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TBevel::SetBounds(ALeft, AdjustedChildTop(Parent(), ATop, AHeight), AWidth, AHeight);
}

void TbsSkinBevel::Paint() {
  TCanvas* C = Canvas();
  const Integer W = Width(), H = Height();
  if (ComponentState().Contains(csDesigning)) {
    if (Shape() == bsSpacer) {
      C->Pen()->SetStyle(psDot);
      C->Pen()->SetMode(pmXor);
      C->Pen()->SetColor(TColor(RGB(206, 216, 255)));
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(0, 0, W, H);
      return;
    }
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(bsSolid);
  }
  C->Pen()->SetWidth(1);
  const TColor First = Style() == bsLowered ? DarkColor : LightColor;
  const TColor Second = Style() == bsLowered ? LightColor : DarkColor;
  auto line = [C](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  // Left and top edges in the first colour, right and bottom in the second.
  auto bevelRect = [&](Integer L, Integer T, Integer R, Integer B, TColor C1, TColor C2) {
    C->Pen()->SetColor(C1);
    C->Polyline({Point(L, B), Point(L, T), Point(R, T)});
    C->Pen()->SetColor(C2);
    C->Polyline({Point(R, T), Point(R, B), Point(L, B)});
  };
  if (FDividerMode) {
    switch (Shape()) {
      case bsBox:
      case bsFrame:
      case bsLeftLine:
      case bsRightLine:
        bevelRect(W / 2 - 1, 2, W / 2, H - 2, First, Second);
        break;
      case bsTopLine:
      case bsBottomLine:
        bevelRect(2, H / 2 - 1, W - 2, H / 2, First, Second);
        break;
      case bsSpacer:
        break;
    }
    return;
  }
  switch (Shape()) {
    case bsBox:
      bevelRect(0, 0, W - 1, H - 1, First, Second);
      break;
    case bsFrame:
      bevelRect(1, 1, W - 1, H - 1, Second, Second);
      bevelRect(0, 0, W - 2, H - 2, First, First);
      break;
    case bsTopLine:
      line(First, 0, 0, W, 0);
      line(Second, 0, 1, W, 1);
      break;
    case bsBottomLine:
      line(First, 0, H - 2, W, H - 2);
      line(Second, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      line(First, 0, 0, 0, H);
      line(Second, 1, 0, 1, H);
      break;
    case bsRightLine:
      line(First, W - 2, 0, W - 2, H);
      line(Second, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}
