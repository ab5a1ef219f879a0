#include "skin/core/bsregions.h"

#include <cstring>
#include <memory>

#include "platform/rtl/exceptions.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"

static_assert(sizeof(TFBColor) == 3, "a scan pixel is three bytes");
static_assert(sizeof(RGNDATAHEADER) == 32, "the region data header is 32 bytes");
static_assert(sizeof(TRect) == 16, "a region rectangle is four 32-bit integers");

TbsFBitmap::TbsFBitmap(HBITMAP HBmp) {
  BITMAP bm;
  GetObject(HBmp, sizeof(bm), &bm);
  Width = bm.bmWidth;
  Height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  bmHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmHeader.biWidth = Width;
  bmHeader.biHeight = -Height;
  bmHeader.biPlanes = 1;
  bmHeader.biBitCount = 24;
  bmHeader.biCompression = BI_RGB;
  bmInfo.bmiHeader = bmHeader;
  Handle = CreateDIBSection(nullptr, &bmInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (Handle == nullptr) throw EOutOfResources("Can't allocate the DIB handle");
  const HDC screen = GetDC(nullptr);
  GetDIBits(screen, HBmp, 0, UINT(Height), Bits, &bmInfo, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  BuildRowTable();
}

TbsFBitmap::~TbsFBitmap() {
  if (hDC != nullptr) DeleteDC(hDC);
  if (Handle != nullptr) DeleteObject(Handle);
}

void TbsFBitmap::BuildRowTable() {
  Gap = Width % 4;
  RowInc = Width * 3 + Gap;
  Size = RowInc * Height;
  FRows.resize(size_t(Height));
  for (Integer i = 0; i < Height; ++i)
    FRows[size_t(i)] = reinterpret_cast<PBLine>(static_cast<Byte*>(Bits) + i * RowInc);
  Pixels = FRows.data();
  hDC = CreateCompatibleDC(nullptr);
  SelectObject(hDC, Handle);
}

Integer MaskToRegionData(TBitmap* Mask, Integer XOffset, Integer YOffset, std::vector<Byte>& Data) {
  if (Mask == nullptr || Mask->Empty()) return 0;
  // Runs are collected in a growing list: a mask may hold any number of them.
  std::vector<TRect> runs;
  {
    TbsFBitmap scan(Mask->Handle());
    for (Integer y = 0; y < scan.Height; ++y) {
      const PBLine row = scan.Pixels[y];
      auto black = [&](Integer x) { return row[x].r == 0 && row[x].g == 0 && row[x].b == 0; };
      Integer x = 0;
      while (x < scan.Width) {
        if (!black(x)) {
          ++x;
          continue;
        }
        const Integer x0 = x;
        while (x < scan.Width && black(x)) ++x;
        runs.push_back(Rect(x0 + XOffset, y + YOffset, x + XOffset, y + 1 + YOffset));
      }
    }
  }
  const size_t size = sizeof(RGNDATAHEADER) + sizeof(TRect) * runs.size();
  Data.assign(size, 0);
  RGNDATAHEADER header;
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = DWORD(runs.size());
  header.nRgnSize = 0;
  header.rcBound = Rect(XOffset, YOffset, XOffset + Mask->Width(), YOffset + Mask->Height());
  std::memcpy(Data.data(), &header, sizeof(header));
  if (!runs.empty()) std::memcpy(Data.data() + sizeof(header), runs.data(), sizeof(TRect) * runs.size());
  return Integer(size);
}

namespace {

HRGN regionFromData(const std::vector<Byte>& Data, Integer Size) {
  return ExtCreateRegion(nullptr, DWORD(Size), reinterpret_cast<const RGNDATA*>(Data.data()));
}

}  // namespace

void RegionFromMask(HRGN& Rgn, TBitmap* Mask) {
  std::vector<Byte> data;
  const Integer size = MaskToRegionData(Mask, 0, 0, data);
  Rgn = size > 0 ? regionFromData(data, size) : nullptr;
}

void ComposeBorderMasks(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                        const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                        const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                        TBitmap* Mask, TBitmap* TopMask, TBitmap* LeftMask, TBitmap* RightMask,
                        TBitmap* BottomMask, Integer AW, Integer) {
  const Integer bl = ClRect.Left, bt = ClRect.Top;
  const Integer br = Mask->Width() - ClRect.Right, bb = Mask->Height() - ClRect.Bottom;
  const Integer ch = RectHeight(NewClRect);
  TCanvas* src = Mask->Canvas();

  // Side strips: the edge tiled from row 0, then the parts above and below the edge at the ends.
  auto side = [&](TBitmap* B, Integer SrcLeft, Integer SrcRight, Integer Top, Integer Bottom) {
    const Integer width = SrcRight - SrcLeft;
    B->SetSize(width, ch);
    TCanvas* d = B->Canvas();
    if (Bottom != Top)
      TileDown(d, 0, ch, 0, width, src, Rect(SrcLeft, Top, SrcRight, Bottom), ch / (Bottom - Top) + 1);
    if (Top > ClRect.Top)
      CopyPiece(d, Rect(0, 0, width, Top - ClRect.Top), src, Rect(SrcLeft, ClRect.Top, SrcRight, Top));
    if (ClRect.Bottom > Bottom)
      CopyPiece(d, Rect(0, ch - (ClRect.Bottom - Bottom), width, ch), src,
                Rect(SrcLeft, Bottom, SrcRight, ClRect.Bottom));
  };
  if (bl > 0 && ch > 0) side(LeftMask, 0, bl, LTPt.Y, LBPt.Y);
  if (br > 0 && ch > 0) side(RightMask, ClRect.Right, Mask->Width(), RTPt.Y, RBPt.Y);

  // Top and bottom strips: AW div length + 1 tiles from the new left point, each cut at the new right
  // point; then the two fixed ends.
  auto band = [&](TBitmap* B, Integer SrcTop, Integer SrcBottom, Integer L, Integer R, Integer NewL,
                  Integer NewR) {
    const Integer height = SrcBottom - SrcTop;
    B->SetSize(AW, height);
    TCanvas* d = B->Canvas();
    if (R != L) TileAcross(d, NewL, NewR, 0, height, src, Rect(L, SrcTop, R, SrcBottom), AW / (R - L) + 1);
    CopyPiece(d, Rect(0, 0, L, height), src, Rect(0, SrcTop, L, SrcBottom));
    CopyPiece(d, Rect(NewR, 0, AW, height), src, Rect(R, SrcTop, Mask->Width(), SrcBottom));
  };
  if (AW > 0 && bt > 0) band(TopMask, 0, bt, LTPt.X, RTPt.X, NewLTPoint.X, NewRTPoint.X);
  if (AW > 0 && bb > 0)
    band(BottomMask, ClRect.Bottom, Mask->Height(), LBPt.X, RBPt.X, NewLBPoint.X, NewRBPoint.X);
}

void ComposeSkinRegion(HRGN& Rgn, const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt,
                       const TPoint& RBPt, const TRect& ClRect, const TPoint& NewLTPoint,
                       const TPoint& NewRTPoint, const TPoint& NewLBPoint, const TPoint& NewRBPoint,
                       const TRect& NewClRect, TBitmap* Mask, Integer AW, Integer AH) {
  if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y) {
    Rgn = nullptr;
    return;
  }
  TBitmap top, left, right, bottom;
  ComposeBorderMasks(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                     NewClRect, Mask, &top, &left, &right, &bottom, AW, AH);
  struct Strip {
    TBitmap* Bitmap;
    TPoint Offset;
  };
  const Strip strips[] = {{&top, Point(0, 0)},
                          {&bottom, Point(0, NewClRect.Bottom)},
                          {&left, Point(0, NewClRect.Top)},
                          {&right, Point(NewClRect.Right, NewClRect.Top)}};
  std::vector<HRGN> regions;
  for (const Strip& s : strips) {
    if (s.Bitmap->Width() <= 0 || s.Bitmap->Height() <= 0) continue;
    std::vector<Byte> data;
    const Integer size = MaskToRegionData(s.Bitmap, s.Offset.X, s.Offset.Y, data);
    if (size > 0) regions.push_back(regionFromData(data, size));
  }
  if (IsEmptyRect(NewClRect)) {
    Rgn = nullptr;
  } else {
    Rgn = CreateRectRgnIndirect(&NewClRect);
    for (HRGN r : regions)
      if (r != nullptr) CombineRgn(Rgn, Rgn, r, RGN_OR);
  }
  for (HRGN r : regions)
    if (r != nullptr) DeleteObject(r);
}
