// Image lists: numbered images of one size, drawn enabled or with the disabled look.
#pragma once

#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/rtl/component.h"
#include "platform/ui/graphics/colors.h"

class TBitmap;
class TCanvas;

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
