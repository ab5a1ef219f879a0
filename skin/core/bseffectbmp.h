// A plain 24-bit top-down DIB section with direct pixel access: the face transitions of animated
// controls and the image effects of inactive windows.
#pragma once

#include <memory>

#include "platform/gdi/gdi.h"
#include "platform/rtl/object.h"
#include "platform/ui/graphics/colors.h"
#include "skin/core/bsskinvalues.h"

class TbsEffectBmp : public TObject {
 public:
  // cx x cy pixels, all 0. A size the platform refuses leaves Handle and Bits null: every operation then
  // does nothing.
  TbsEffectBmp(Integer cx, Integer cy);
  // Size and pixels of any platform bitmap, converted to 24 bits.
  static std::unique_ptr<TbsEffectBmp> CreateFromhWnd(HBITMAP hBmp);
  static std::unique_ptr<TbsEffectBmp> CreateCopy(const TbsEffectBmp* hBmp);
  ~TbsEffectBmp() override;
  String ClassName() const override { return "TbsEffectBmp"; }

  // The 3 * Width pixel bytes of row y.
  void GetScanLine(Integer y, void* Line) const;
  void Draw(HDC hDC, Integer x, Integer y);
  void Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy);
  // The cx x cy block at (x, y) put at (hx, hy), unscaled.
  void DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx, Integer cy);
  // Nearest-neighbour enlargement into Dst.
  void Resize(TbsEffectBmp* Dst);
  // BMP's block from (StartX, StartY) into Rct, right and bottom edges included, clipped on the right
  // and bottom to this bitmap.
  void CopyRect(TbsEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY);

  // ---- transitions: this bitmap holds the own image, BMP the other one, Kf the progress ----
  // Every transition except MorphRect does nothing when BMP's size differs.
  void Morph(TbsEffectBmp* BMP, Double Kf);
  void MorphRect(TbsEffectBmp* BMP, Double Kf, const TRect& Rct, Integer StartX, Integer StartY);
  void MorphHGrad(TbsEffectBmp* BMP, Double Kf);
  void MorphVGrad(TbsEffectBmp* BMP, Double Kf);
  void MorphGrad(TbsEffectBmp* BMP, Double Kf);
  void MorphLeftGrad(TbsEffectBmp* BMP, Double Kf);
  void MorphRightGrad(TbsEffectBmp* BMP, Double Kf);
  void MorphPush(TbsEffectBmp* BMP, Double Kf);
  void MorphLeftSlide(TbsEffectBmp* BMP, Double Kf);
  void MorphRightSlide(TbsEffectBmp* BMP, Double Kf);

  // ---- image effects ----
  void ChangeBrightness(Double Kf);
  void ChangeDarkness(Double Kf);
  void GrayScale();
  void Invert();
  // Neighbour indexes are kept inside the bitmap whatever the Amount.
  void SplitBlur(Integer Amount);
  void Mosaic(Integer ASize);
  void AddMonoNoise(Integer Amount);
  void AddColorNoise(Integer Amount);
  // Dst must be Height x Width (the rotations) or Width x Height (the flip); otherwise nothing.
  void Rotate90_1(TbsEffectBmp* Dst);
  void Rotate90_2(TbsEffectBmp* Dst);
  void FlipVert(TbsEffectBmp* Dst);
  void Wave(Integer XDIV, Integer YDIV, Integer RatioVal);
  // Only pixels whose mask pixel is not white change; nothing for a mask of another width or fewer rows.
  void MaskBlur(TbsEffectBmp* Msk, Integer Amount);
  void MaskAntialiasing(TbsEffectBmp* Msk, Integer Amount);
  void MaskFillColor(TbsEffectBmp* Msk, TColor C, Double kf);

  HBITMAP Handle = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  Integer Size = 0;  // row stride x Height
  Byte* Bits = nullptr;
  BITMAPINFOHEADER BmpHeader;
  BITMAPINFO BmpInfo;

 private:
  TbsEffectBmp() = default;
  void allocate(Integer cx, Integer cy);
  bool usable() const { return Bits != nullptr && Width > 0 && Height > 0; }
  bool sameSize(const TbsEffectBmp* BMP) const;
  Integer stride() const { return 3 * Width + Width % 4; }
  Byte* pixel(Integer x, Integer y) const { return Bits + ptrdiff_t(y) * stride() + 3 * x; }
  // The SplitBlur neighbours of (x, y), kept inside the bitmap.
  void blurCorners(Integer x, Integer y, Integer Amount, Integer& a, Integer& r, Integer& u,
                   Integer& l) const;
  void blurPixel(Integer x, Integer y, Integer a, Integer r, Integer u, Integer l);
};

// Uniform 0..n-1 from the process-wide generator of the effects (0 for n <= 0).
Integer EffectsRandom(Integer n);
void EffectsRandSeed(Cardinal Seed);

// From's image taken Kf of the way toward To's by the transition Kind, drawn at (0, 0) of DC: the
// face of an animated control between its normal and its active look.
void MorphDraw(HDC DC, HBITMAP From, HBITMAP To, TbsMorphKind Kind, Double Kf);
