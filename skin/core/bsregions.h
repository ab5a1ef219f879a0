// Window regions from skin masks. In a mask pure black (red, green and blue all 0) belongs to the shape;
// every other colour is cut away. A mask is read through a 24-bit scan copy, run by run, and turned into
// a region with one ExtCreateRegion call.
#pragma once

#include <vector>

#include "platform/ui/graphics/bitmap.h"

struct TFBColor {
  Byte b, g, r;
};
using PBLine = TFBColor*;
using PPLines = PBLine*;

// A 24-bit top-down copy of a platform bitmap with direct row access.
class TbsFBitmap : public TObject {
 public:
  explicit TbsFBitmap(HBITMAP HBmp);
  ~TbsFBitmap() override;
  String ClassName() const override { return "TbsFBitmap"; }

  void* Bits = nullptr;
  PPLines Pixels = nullptr;  // Height row pointers, row 0 at the top
  Integer Gap = 0;           // padding at the end of each row
  Integer RowInc = 0;        // bytes per row (4-byte aligned)
  Integer Size = 0;
  Integer Width = 0;
  Integer Height = 0;
  HBITMAP Handle = nullptr;
  HDC hDC = nullptr;
  BITMAPINFO bmInfo;
  BITMAPINFOHEADER bmHeader;

 private:
  void BuildRowTable();
  std::vector<PBLine> FRows;
};

// Byte size of the RGNDATA block of Mask's black runs at (XOffset, YOffset): a 32-byte header then one
// rectangle per run, row by row, left to right. 0, Data untouched, for an empty mask.
Integer MaskToRegionData(TBitmap* Mask, Integer XOffset, Integer YOffset, std::vector<Byte>& Data);
// Rgn := the region of Mask at (0, 0); null for an empty mask.
void RegionFromMask(HRGN& Rgn, TBitmap* Mask);
// The mask's four border strips for an AW-wide image (AH unused); strips are tiled, never stretched.
void ComposeBorderMasks(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                        const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                        const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                        TBitmap* Mask, TBitmap* TopMask, TBitmap* LeftMask, TBitmap* RightMask,
                        TBitmap* BottomMask, Integer AW, Integer AH);
// Rgn := NewClRect united with the shapes of the border strips; null for an empty NewClRect or points
// that run backwards. The caller owns Rgn.
void ComposeSkinRegion(HRGN& Rgn, const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt,
                       const TPoint& RBPt, const TRect& ClRect, const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                       const TRect& NewClRect, TBitmap* Mask, Integer AW, Integer AH);
