// A named rectangle of a skin sheet bitmap, with where its transparent pixels lie.
#pragma once

#include "skin/core/bsbitmap.h"

class TbsBitmapLink : public TPersistent {
 public:
  TbsBitmapLink() = default;
  String ClassName() const override { return "TbsBitmapLink"; }

  // From another link: the image reference, rectangle, name and the three flags.
  void Assign(TPersistent* Source) override;
  // Name (stream string) and the rectangle; the image and the flags are not stored.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);

  // A pixel counts as transparent when its alpha is below 255 and it is not exactly 0x33333333;
  // positions outside the sheet count as transparent.
  void CheckingMasked();
  // Without margins sets Masked for any transparent pixel; with margins sorts them into corners
  // (MaskedAngles), edge bands (MaskedBorder) and the centre (Masked).
  void CheckingMasked(const TRect& Margin);

  // The rectangle of the image at (X, Y), when there is something to draw.
  void Draw(TCanvas* Canvas, Integer X, Integer Y);
  void Draw(TbsBitmap* Bitmap, Integer X, Integer Y);

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  Integer Left() const { return FRect.Left; }
  void SetLeft(Integer Value) { FRect.Left = Value; }
  Integer Top() const { return FRect.Top; }
  void SetTop(Integer Value) { FRect.Top = Value; }
  Integer Right() const { return FRect.Right; }
  void SetRight(Integer Value) { FRect.Right = Value; }
  Integer Bottom() const { return FRect.Bottom; }
  void SetBottom(Integer Value) { FRect.Bottom = Value; }

  // Not owned.
  TbsBitmap* Image() const { return FImage; }
  void SetImage(TbsBitmap* Value) { FImage = Value; }
  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& Value) { FRect = Value; }
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value) { FMasked = Value; }
  bool MaskedBorder() const { return FMaskedBorder; }
  void SetMaskedBorder(bool Value) { FMaskedBorder = Value; }
  bool MaskedAngles() const { return FMaskedAngles; }
  void SetMaskedAngles(bool Value) { FMaskedAngles = Value; }
  // Image set and width x height of the rectangle above 0.
  bool Assigned() const;

 private:
  bool transparentAt(Integer X, Integer Y) const;
  bool drawable() const;

  TbsBitmap* FImage = nullptr;
  TRect FRect;
  String FName;
  bool FMaskedBorder = false;
  bool FMaskedAngles = false;
  bool FMasked = false;
};
