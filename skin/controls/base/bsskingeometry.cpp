#include "skin/controls/base/bsskingeometry.h"

#include "platform/ui/core/control.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbuttons.h"

void TbsSkinGeometry::CopyGeometry(const TbsDataSkinCustomControl* Record) {
  LTPt = Record->LTPoint;
  RTPt = Record->RTPoint;
  LBPt = Record->LBPoint;
  RBPt = Record->RBPoint;
  SkinRect = Record->SkinRect;
  StretchEffect = Record->StretchEffect;
  StretchType = Record->StretchType;
  LeftStretch = Record->LeftStretch;
  TopStretch = Record->TopStretch;
  RightStretch = Record->RightStretch;
  BottomStretch = Record->BottomStretch;
  ClRect = Record->ClRect;
  ResizeMode = GetResizeMode();
}

Integer TbsSkinGeometry::GetResizeMode() const {
  if (IsEmptyRect(SkinRect)) return -1;
  if (RBPt.X != 0 && RBPt.Y != 0) return 1;
  if (RTPt.X != 0 || RTPt.Y != 0) return 2;
  if (LBPt.X != 0 || LBPt.Y != 0) return 3;
  return 0;
}

void TbsSkinGeometry::CalcGeometry(Integer& AWidth, Integer& AHeight, bool Resolved) {
  if (ResizeMode == -1 || (ResizeMode == 0 && !Resolved)) return;
  const Integer dW = AWidth - RectWidth(SkinRect);
  const Integer dH = AHeight - RectHeight(SkinRect);
  switch (ResizeMode) {
    case 0:
      AWidth = RectWidth(SkinRect);
      AHeight = RectHeight(SkinRect);
      NewClRect = ClRect;
      break;
    case 1:
      NewLTPoint = LTPt;
      NewRTPoint = TPoint{RTPt.X + dW, RTPt.Y};
      NewLBPoint = TPoint{LBPt.X, LBPt.Y + dH};
      NewRBPoint = TPoint{RBPt.X + dW, RBPt.Y + dH};
      NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom + dH);
      break;
    case 2:
      NewLTPoint = LTPt;
      AHeight = RectHeight(SkinRect);
      NewRTPoint = TPoint{RTPt.X + dW, RTPt.Y};
      NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dW, ClRect.Bottom);
      break;
    case 3:
      NewLTPoint = LTPt;
      AWidth = RectWidth(SkinRect);
      NewLBPoint = TPoint{LBPt.X, LBPt.Y + dH};
      NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dH);
      break;
    default:
      break;
  }
}

namespace {

TRect moved(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

void TbsSkinGeometry::GetNewPartRect(const TRect& R, TRect& NewR, Integer AWidth, Integer AHeight) const {
  NewR = R;
  const Integer W = RectWidth(SkinRect), H = RectHeight(SkinRect);
  const Integer dW = AWidth - W, dH = AHeight - H;
  switch (ResizeMode) {
    case 1: {
      const TRect LTA = Rect(0, 0, LTPt.X, LTPt.Y);
      const TRect RTA = Rect(RTPt.X, 0, W, RTPt.Y);
      const TRect LBA = Rect(0, LBPt.Y, LBPt.X, H);
      const TRect RBA = Rect(RBPt.X, RBPt.Y, W, H);
      if (RectInsideRect(R, LTA)) return;
      if (RectInsideRect(R, RTA)) {
        NewR = moved(R, dW, 0);
        return;
      }
      if (RectInsideRect(R, LBA)) {
        NewR = moved(R, 0, dH);
        return;
      }
      if (RectInsideRect(R, RBA)) {
        NewR = moved(R, dW, dH);
        return;
      }
      const TPoint TL{R.Left, R.Top}, BR{R.Right, R.Bottom};
      if (PointInsideRect(LTA, TL) && PointInsideRect(RBA, BR)) {
        NewR.Right += dW;
        NewR.Bottom += dH;
      } else if (PointInsideRect(LTA, TL) && PointInsideRect(RTA, BR)) {
        NewR.Right += dW;
      } else if (PointInsideRect(LBA, TL) && PointInsideRect(RBA, BR)) {
        NewR.Right += dW;
        NewR = moved(NewR, 0, dH);
      } else if (PointInsideRect(LTA, TL) && PointInsideRect(LBA, BR)) {
        NewR.Bottom += dH;
      } else if (PointInsideRect(RTA, TL) && PointInsideRect(RBA, BR)) {
        NewR = moved(NewR, dW, 0);
        NewR.Bottom += dH;
      }
      return;
    }
    case 2:
      if (R.Left <= LTPt.X && R.Right >= RTPt.X)
        NewR.Right += dW;
      else if (R.Left >= RTPt.X && R.Right > RTPt.X)
        NewR = moved(R, dW, 0);
      return;
    case 3:
      if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
        NewR.Bottom += dH;
      else if (R.Top >= LBPt.Y && R.Bottom > LBPt.Y)
        NewR = moved(R, 0, dH);
      return;
    default:
      return;
  }
}

namespace {

bool within(Integer V, Integer Lo, Integer Hi) {
  return V >= Lo && V <= Hi;
}

bool pointWithin(const TPoint& P, Integer W, Integer H) {
  return within(P.X, 0, W) && within(P.Y, 0, H);
}

}  // namespace

bool TbsSkinGeometry::CanCompose(TBitmap* Source, const TRect& R) const {
  if (Source == nullptr || Source->Empty() || IsEmptyRect(R)) return false;
  if (R.Left < 0 || R.Top < 0 || R.Right > Source->Width() || R.Bottom > Source->Height()) return false;
  const Integer W = RectWidth(R), H = RectHeight(R);
  switch (ResizeMode) {
    case 0:
      return true;
    case 1:
      return pointWithin(LTPt, W, H) && pointWithin(RTPt, W, H) && pointWithin(LBPt, W, H) &&
             pointWithin(RBPt, W, H) && within(ClRect.Left, 0, W) && within(ClRect.Right, ClRect.Left, W) &&
             within(ClRect.Top, 0, H) && within(ClRect.Bottom, ClRect.Top, H) && LTPt.X <= RTPt.X &&
             LBPt.X <= RBPt.X && LTPt.Y <= LBPt.Y && RTPt.Y <= RBPt.Y;
    case 2:
      return within(LTPt.X, 0, W) && within(RTPt.X, LTPt.X, W);
    case 3:
      return within(LTPt.Y, 0, H) && within(LBPt.Y, LTPt.Y, H);
    default:
      return false;
  }
}

bool TbsSkinGeometry::ComposeImage(TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AWidth,
                                   Integer AHeight) const {
  if (!CanCompose(Source, R)) return false;
  switch (ResizeMode) {
    case 0:
      Dest->SetSize(RectWidth(R), RectHeight(R));
      Dest->Canvas()->CopyRect(Rect(0, 0, RectWidth(R), RectHeight(R)), Source->Canvas(), R);
      return true;
    case 1:
      ComposeSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                       NewClRect, Dest, Source, R, AWidth, AHeight, true, LeftStretch, TopStretch,
                       RightStretch, BottomStretch, StretchEffect, StretchType);
      return true;
    case 2:
      ComposeSkinImageH(LTPt.X, RectWidth(SkinRect) - RTPt.X, Dest, Source, R, AWidth, AHeight,
                        StretchEffect);
      return true;
    case 3:
      ComposeSkinImageV(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, Dest, Source, R, AWidth, AHeight,
                        StretchEffect);
      return true;
    default:
      return false;
  }
}

TBitmap* SkinPictureAt(TbsSkinData* SkinData, Integer Index) {
  if (SkinData == nullptr || Index < 0 || Index >= SkinData->PictureCount()) return nullptr;
  return SkinData->Picture(Index);
}

TbsDataSkinButtonControl* SkinButtonElement(TbsSkinData* SkinData, const String& Name) {
  if (SkinData == nullptr || SkinData->Empty) return nullptr;
  const Integer I = SkinData->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(SkinData->Ctrls(I));
}

TColor ComposeButtonFace(TbsSkinData* SkinData, TbsDataSkinButtonControl* E, bool ADown, bool AActive,
                         Integer AW, Integer AH, TBitmap* Out) {
  const TRect Active = IsEmptyRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
  const TRect Down = IsEmptyRect(E->DownSkinRect) ? Active : E->DownSkinRect;
  const TRect Src = ADown ? Down : AActive ? Active : E->SkinRect;
  TBitmap* Picture = SkinPictureAt(SkinData, E->PictureIndex);
  if (Picture != nullptr && !IsEmptyRect(Src)) {
    const Integer DW = AW - RectWidth(E->SkinRect), DH = AH - RectHeight(E->SkinRect);
    ComposeSkinImage(E->LTPoint, E->RTPoint, E->LBPoint, E->RBPoint, E->ClRect, E->LTPoint,
                     Point(E->RTPoint.X + DW, E->RTPoint.Y), Point(E->LBPoint.X, E->LBPoint.Y + DH),
                     Point(E->RBPoint.X + DW, E->RBPoint.Y + DH),
                     Rect(E->ClRect.Left, E->ClRect.Top, E->ClRect.Right + DW, E->ClRect.Bottom + DH), Out,
                     Picture, Src, AW, AH, true, E->LeftStretch, E->TopStretch, E->RightStretch,
                     E->BottomStretch, E->StretchEffect, E->StretchType);
  }
  return ADown ? E->DownFontColor : AActive ? E->ActiveFontColor : E->FontColor;
}

Integer AdjustedChildTop(TControl* Parent, Integer ATop, Integer AHeight) {
  auto* Adjusting = dynamic_cast<IbsAdjustingParent*>(Parent);
  if (Adjusting == nullptr || !Adjusting->AdjustControls()) return ATop;
  const TRect R = Adjusting->GetSkinClientRect();
  return R.Top + RectHeight(R) / 2 - AHeight / 2;
}
