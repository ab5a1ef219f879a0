#include "skin/core/bsbitmaplinks.h"

#include "skin/core/bsstreams.h"

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const TRect& Rect) {
  auto link = std::make_unique<TbsBitmapLink>();
  link->SetImage(this);
  link->SetName(FName);
  link->SetRect(Rect);
  return link;
}

std::unique_ptr<TbsBitmapLink> TbsBitmap::GetBitmapLink(const String& Rect) {
  TRect r;
  RectFromText(Rect, r);
  return GetBitmapLink(r);
}

void TbsBitmapLink::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TbsBitmapLink*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FImage = src->FImage;
  FRect = src->FRect;
  FName = src->FName;
  FMasked = src->FMasked;
  FMaskedBorder = src->FMaskedBorder;
  FMaskedAngles = src->FMaskedAngles;
}

void TbsBitmapLink::LoadFromStream(TStream* Stream) {
  ReadStreamString(Stream, FName);
  Integer sides[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
  Stream->Read(sides, sizeof(sides));
  FRect = ::Rect(sides[0], sides[1], sides[2], sides[3]);
}

void TbsBitmapLink::SaveToStream(TStream* Stream) {
  WriteStreamString(Stream, FName);
  const Integer sides[4] = {FRect.Left, FRect.Top, FRect.Right, FRect.Bottom};
  Stream->WriteBuffer(sides, sizeof(sides));
}

bool TbsBitmapLink::Assigned() const {
  return FImage && Int64(RectWidth(FRect)) * RectHeight(FRect) > 0;
}

bool TbsBitmapLink::transparentAt(Integer X, Integer Y) const {
  TbsColor p = 0;
  if (FImage && FImage->Bits() && X >= 0 && Y >= 0 && X < FImage->Width() && Y < FImage->Height())
    p = *FImage->GetPixelPtr(X, Y);
  return (p >> 24) < 255 && p != 0x33333333;
}

void TbsBitmapLink::CheckingMasked() {
  CheckingMasked(::Rect(0, 0, 0, 0));
}

void TbsBitmapLink::CheckingMasked(const TRect& Margin) {
  FMasked = false;
  FMaskedBorder = false;
  FMaskedAngles = false;
  if (Margin.Left == 0 && Margin.Top == 0 && Margin.Right == 0 && Margin.Bottom == 0) {
    for (Integer x = FRect.Left; x < FRect.Right && !FMasked; ++x)
      for (Integer y = FRect.Top; y < FRect.Bottom; ++y)
        if (transparentAt(x, y)) {
          FMasked = true;
          break;
        }
    return;
  }
  const Integer w = RectWidth(FRect), h = RectHeight(FRect);
  const Integer l = Margin.Left, t = Margin.Top, r = Margin.Right, b = Margin.Bottom;
  const TRect corners[4] = {::Rect(0, 0, l, t), ::Rect(w - r, 0, w, t), ::Rect(w - r, h - b, w, h),
                            ::Rect(0, h - b, l, h)};
  const TRect edges[4] = {::Rect(l, 0, w - r, t), ::Rect(l, h - b, w - r, h), ::Rect(0, t, l, h - b),
                          ::Rect(w - r, t, w, h - b)};
  const TRect centre = ::Rect(l, t, w - r, h - b);
  auto inside = [](const TRect& R, TPoint P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
  };
  for (Integer x = FRect.Left; x < FRect.Right; ++x)
    for (Integer y = FRect.Top; y < FRect.Bottom; ++y) {
      if (!transparentAt(x, y)) continue;
      const TPoint p = Point(x - FRect.Left, y - FRect.Top);
      for (const TRect& c : corners)
        if (inside(c, p)) FMaskedAngles = true;
      for (const TRect& e : edges)
        if (inside(e, p)) FMaskedBorder = true;
      if (inside(centre, p)) FMasked = true;
    }
}

bool TbsBitmapLink::drawable() const {
  return FImage && !FImage->Empty() && RectWidth(FRect) > 0 && RectHeight(FRect) > 0;
}

void TbsBitmapLink::Draw(TCanvas* Canvas, Integer X, Integer Y) {
  if (drawable()) FImage->Draw(Canvas, X, Y, FRect);
}

void TbsBitmapLink::Draw(TbsBitmap* Bitmap, Integer X, Integer Y) {
  if (drawable()) FImage->Draw(Bitmap, X, Y, FRect);
}
