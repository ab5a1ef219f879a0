// Image lists: numbered images of one size, drawn enabled or with the disabled look.
#pragma once

#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/rtl/component.h"
#include "platform/ui/graphics/colors.h"

class TBitmap;
class TCanvas;

class TIcon;

// DrawEx's styles and colours (the platform's image list values).
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

// Images are kept as 32-bit colours with straight alpha: pixels masked out by Add's mask or AddMasked's
// colour get alpha 0. A bitmap wider than the list adds one image per Width columns.
//
// The disabled look: each pixel's grey level L = (77 R + 150 G + 29 B + 128) >> 8, lightened to
// 128 + L / 2 (integer halves), on red, green and blue alike; alpha unchanged.
class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight);
  ~TCustomImageList() override;
  String ClassName() const override { return "TCustomImageList"; }

  Integer Width() const { return FWidth; }
  // Changing the size removes every image.
  void SetWidth(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  Integer Count() const { return Integer(FImages.size()); }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; }

  // Index of the first image added; -1 for a missing or empty Image. In Mask, every pixel that is not
  // black hides the image's pixel.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // MaskColor's pixels are hidden; clDefault takes the colour of the bottom-left pixel; clNone hides none.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  // EInvalidOperation "Invalid ImageList Index" outside 0..Count.
  void Insert(Integer Index, TBitmap* Image, TBitmap* Mask);
  // A negative Index removes all; Index >= Count raises EInvalidOperation "Invalid ImageList Index".
  void Delete(Integer Index);
  void Clear();

  // Through DoDraw, with style dsNormal.
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  // Image sized to the list and the image drawn on it at (0, 0); false for an index outside the list.
  bool GetBitmap(Integer Index, TBitmap* Image);
  // Image Index as a new icon in Image (the masked pixels let the screen through); false for an index
  // outside the list or no Image.
  bool GetIcon(Integer Index, TIcon* Image);
  // The platform's image list drawing: the top-left DX x DY of image Index (0: all of it) at (X, Y).
  // Bk fills the rectangle first (CLR_DEFAULT: BkColor, when it is a colour; CLR_NONE and
  // ILD_TRANSPARENT: nothing). ILD_BLEND25 / ILD_BLEND50 mix the image with Fg by a quarter / a half
  // (CLR_DEFAULT: the highlight colour; CLR_NONE: no mix). ILD_MASK draws the mask: black where the
  // image is, white elsewhere. Nothing for an index outside the list or a null DC.
  void DrawEx(Integer Index, HDC DC, Integer X, Integer Y, Integer DX, Integer DY, COLORREF Bk, COLORREF Fg,
              UINT Style);
  // Image Index as stored (32-bit, straight alpha). EInvalidOperation outside the list.
  const TRawImage& Images(Integer Index) const;

  TNotifyEvent OnChange;

 protected:
  // Draws image Index with its top-left at (X, Y); nothing for an index outside the list.
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style,
                      bool Enabled = true);
  virtual void Change();

 private:
  std::vector<TRawImage> split(TBitmap* Image, TBitmap* Mask, bool UseKey, COLORREF Key) const;

  std::vector<TRawImage> FImages;
  Integer FWidth = 16;
  Integer FHeight = 16;
  TColor FBkColor = clNone;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
  String ClassName() const override { return "TImageList"; }
};
