#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/testkit/gdi_test_util.h"

namespace {

// A source row of distinct values 1, 2, 3, ... (in the blue byte) lets a copy show which sample went where.
std::vector<Integer> stretchRow(Integer srcW, Integer dstX, Integer dstW, Integer srcX = 0,
                                Integer srcWArg = 0) {
  TTestSurface src(srcW, 1), dst(std::abs(dstW) + 2, 1);
  for (Integer x = 0; x < srcW; ++x) src.Set(x, 0, Bgra(Byte(x + 1), 0, 0, 0xFF));
  EXPECT_TRUE(
      StretchBlt(dst.DC(), dstX, 0, dstW, 1, src.DC(), srcX, 0, srcWArg ? srcWArg : srcW, 1, SRCCOPY));
  std::vector<Integer> out;
  for (Integer x = 0; x < dst.Width(); ++x) out.push_back(Integer(dst.At(x, 0) & 0xFF) - 1);
  return out;
}

}  // namespace

// Destination pixel i takes source pixel floor((2i + 1) * srcW / (2 * dstW)); -1 marks untouched pixels.
TEST(StretchBltTest, PinnedNearestSampleMaps) {
  EXPECT_EQ(stretchRow(3, 0, 5), (std::vector<Integer>{0, 0, 1, 2, 2, -1, -1}));
  EXPECT_EQ(stretchRow(8, 0, 11), (std::vector<Integer>{0, 1, 1, 2, 3, 4, 4, 5, 6, 6, 7, -1, -1}));
  EXPECT_EQ(stretchRow(5, 0, 3), (std::vector<Integer>{0, 2, 4, -1, -1}));
  // A negative destination width covers x+w+1 .. x and mirrors.
  EXPECT_EQ(stretchRow(3, 4, -5), (std::vector<Integer>{2, 2, 1, 0, 0, -1, -1}));
  // A negative source width mirrors too: source x+w+1 .. x.
  EXPECT_EQ(stretchRow(3, 0, 5, 2, -3), (std::vector<Integer>{2, 2, 1, 0, 0, -1, -1}));
}

TEST(StretchBltTest, RowsFollowTheSameRuleAndHalftoneStretchesLikeColorOnColor) {
  TTestSurface src(1, 3), dst(1, 5);
  for (Integer y = 0; y < 3; ++y) src.Set(0, y, Bgra(Byte(10 * (y + 1)), 0, 0));
  SetStretchBltMode(dst.DC(), HALFTONE);
  EXPECT_EQ(GetStretchBltMode(dst.DC()), HALFTONE);
  ASSERT_TRUE(StretchBlt(dst.DC(), 0, 0, 1, 5, src.DC(), 0, 0, 1, 3, SRCCOPY));
  std::vector<uint32_t> column;
  for (Integer y = 0; y < 5; ++y) column.push_back(dst.At(0, y));
  EXPECT_EQ(column, (std::vector<uint32_t>{10, 10, 20, 30, 30}));
}

// The raster ops by name: s = source, d = destination, p = brush.
TEST(BitBltTest, RasterOpsTable) {
  const uint32_t s = Bgra(0xF0, 0x0F, 0x55, 0x80), d = Bgra(0xCC, 0x33, 0xAA, 0x40);
  const uint32_t p = Bgra(0x12, 0x34, 0x56, 0);
  struct Case {
    const char* Name;
    DWORD Rop;
    uint32_t Expected;
  } cases[] = {
      {"SRCCOPY", SRCCOPY, s},
      {"SRCAND", SRCAND, s & d},
      {"SRCPAINT", SRCPAINT, s | d},
      {"SRCINVERT", SRCINVERT, s ^ d},
      {"NOTSRCCOPY", NOTSRCCOPY, ~s},
      {"MERGECOPY", MERGECOPY, s & p},
      // Ops that read no source are brush writes: alpha 0.
      {"DSTINVERT", DSTINVERT, ~d & 0xFFFFFF},
      {"PATCOPY", PATCOPY, p},
      {"PATINVERT", PATINVERT, (p ^ d) & 0xFFFFFF},
      {"BLACKNESS", BLACKNESS, 0},
      {"WHITENESS", WHITENESS, 0xFFFFFF},
  };
  TTestSurface src(2, 2);
  src.Fill(s);
  for (const auto& c : cases) {
    TTestSurface dst(4, 4);
    dst.Fill(d);
    HBRUSH brush = CreateSolidBrush(RGB(0x56, 0x34, 0x12));
    HGDIOBJ old = SelectObject(dst.DC(), brush);
    EXPECT_TRUE(BitBlt(dst.DC(), 1, 1, 2, 2, src.DC(), 0, 0, c.Rop)) << c.Name;
    EXPECT_EQ(dst.At(1, 1), c.Expected) << c.Name;
    EXPECT_EQ(dst.At(2, 2), c.Expected) << c.Name;
    EXPECT_EQ(dst.At(0, 0), d) << c.Name;
    EXPECT_EQ(dst.At(3, 3), d) << c.Name;
    SelectObject(dst.DC(), old);
    DeleteObject(brush);
  }
}

TEST(BitBltTest, SourceOutsideItsSurfaceLeavesDestinationAlone) {
  TTestSurface src(2, 2), dst(4, 4);
  src.Fill(Bgra(1, 2, 3, 4));
  dst.Fill(Bgra(9, 9, 9, 9));
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 0, 4, 4, src.DC(), -1, 0, SRCCOPY));
  EXPECT_EQ(dst.At(0, 0), Bgra(9, 9, 9, 9));  // source x = -1
  EXPECT_EQ(dst.At(1, 0), Bgra(1, 2, 3, 4));
  EXPECT_EQ(dst.At(2, 1), Bgra(1, 2, 3, 4));
  EXPECT_EQ(dst.At(3, 0), Bgra(9, 9, 9, 9));  // source x = 2
  EXPECT_EQ(dst.At(1, 2), Bgra(9, 9, 9, 9));  // source y = 2
}

TEST(BitBltTest, OverlappingCopyWithinOneSurface) {
  TTestSurface s(6, 1);
  for (Integer x = 0; x < 6; ++x) s.Set(x, 0, uint32_t(x + 1));
  ASSERT_TRUE(BitBlt(s.DC(), 1, 0, 5, 1, s.DC(), 0, 0, SRCCOPY));
  std::vector<uint32_t> row;
  for (Integer x = 0; x < 6; ++x) row.push_back(s.At(x, 0));
  EXPECT_EQ(row, (std::vector<uint32_t>{1, 1, 2, 3, 4, 5}));
}

TEST(BitBltTest, FormatConversions) {
  // 24 → 32: alpha 0. 32 → 24: alpha dropped.
  TTestSurface s24(1, 1, 24), d32(1, 1), s32(1, 1), d24(1, 1, 24);
  s24.Set(0, 0, 0x112233);
  d32.Fill(0xFFFFFFFF);
  BitBlt(d32.DC(), 0, 0, 1, 1, s24.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(d32.At(0, 0), 0x00112233u);
  s32.Set(0, 0, 0x80445566);
  BitBlt(d24.DC(), 0, 0, 1, 1, s32.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(d24.At(0, 0), 0x445566u);

  // Palette → 32 takes the table colour; 32 → palette takes the nearest entry.
  std::vector<RGBQUAD> palette = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  TTestSurface s8(2, 1, 8, true, palette), d8(2, 1, 8, true, palette);
  s8.Set(0, 0, 1);
  s8.Set(1, 0, 3);
  TTestSurface d(2, 1);
  BitBlt(d.DC(), 0, 0, 2, 1, s8.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(d.At(0, 0), Bgra(0, 0, 255));
  EXPECT_EQ(d.At(1, 0), Bgra(255, 0, 0));
  TTestSurface colours(2, 1);
  colours.Set(0, 0, Bgra(10, 200, 30, 0xFF));  // nearest: green (index 2)
  colours.Set(1, 0, Bgra(200, 20, 20, 0));     // nearest: blue (index 3)
  BitBlt(d8.DC(), 0, 0, 2, 1, colours.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(d8.At(0, 0), 2u);
  EXPECT_EQ(d8.At(1, 0), 3u);

  // 4-bit and 1-bit sections read through their tables.
  TTestSurface s4(3, 1, 4, true, palette), s1(9, 1, 1, true, {{0, 0, 0, 0}, {255, 255, 255, 0}});
  s4.Row(0)[0] = 0x13;  // pixels 1, 3
  s4.Row(0)[1] = 0x20;  // pixel 2
  s1.Row(0)[1] = 0x80;  // pixel 8 set
  TTestSurface wide(9, 2);
  BitBlt(wide.DC(), 0, 0, 3, 1, s4.DC(), 0, 0, SRCCOPY);
  BitBlt(wide.DC(), 0, 1, 9, 1, s1.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(wide.At(0, 0), Bgra(0, 0, 255));
  EXPECT_EQ(wide.At(1, 0), Bgra(255, 0, 0));
  EXPECT_EQ(wide.At(2, 0), Bgra(0, 255, 0));
  EXPECT_EQ(wide.At(7, 1), 0u);
  EXPECT_EQ(wide.At(8, 1), Bgra(255, 255, 255));
}

// Plain copies between 24- and 32-bit surfaces, whole and in part, stretched, mirrored and
// upside down: each pixel lands where the sample rule puts it, converted by the format rule.
TEST(BitBltTest, TrueColourRowsCopyAcrossFormats) {
  struct Case {
    Integer SrcBits, DstBits;
    bool SrcTopDown;
    Integer DstX, DstW, SrcX, SrcW;  // one row; the destination surface is 7 wide
  };
  const Case cases[] = {
      {24, 32, true, 1, 5, 0, 5},  {32, 24, true, 1, 5, 0, 5},   {24, 24, true, 0, 7, 0, 7},
      {24, 32, false, 0, 7, 1, 3}, {32, 24, false, 6, -5, 0, 5}, {24, 32, true, 0, 7, -2, 7},
      {24, 24, true, 2, 3, 4, 3},  {32, 32, true, 0, 7, 0, 7},   {32, 24, true, 0, 3, 0, 6},
  };
  const uint32_t Untouched = 0xEEDDCCBB;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.SrcBits << " -> " << c.DstBits << " dst " << c.DstX << "," << c.DstW
                                    << " src " << c.SrcX << "," << c.SrcW);
    TTestSurface src(5, 2, c.SrcBits, c.SrcTopDown), dst(7, 2, c.DstBits);
    auto pixel = [](Integer x, Integer y) {
      return 0x80000000u | uint32_t(0x10 * (y + 1) << 16) | (0x0102u * (x + 1));
    };
    for (Integer y = 0; y < 2; ++y)
      for (Integer x = 0; x < 5; ++x) src.Set(x, y, pixel(x, y) & (c.SrcBits == 32 ? 0xFFFFFFFF : 0xFFFFFF));
    dst.Fill(Untouched & (c.DstBits == 32 ? 0xFFFFFFFF : 0xFFFFFF));
    ASSERT_TRUE(StretchBlt(dst.DC(), c.DstX, 1, c.DstW, 1, src.DC(), c.SrcX, 1, c.SrcW, 1, SRCCOPY));
    // Destination pixel i of the span takes source pixel floor((2i + 1) * |sw| / (2 * |dw|)), mirrored
    // when one width is negative; a source pixel outside the surface leaves its pixel alone.
    const Integer dw = std::abs(c.DstW), left = c.DstW < 0 ? c.DstX + c.DstW + 1 : c.DstX;
    const bool mirror = (c.DstW < 0) != (c.SrcW < 0);
    const Integer srcLeft = c.SrcW < 0 ? c.SrcX + c.SrcW + 1 : c.SrcX, sw = std::abs(c.SrcW);
    for (Integer x = 0; x < 7; ++x) {
      uint32_t expected = Untouched;
      if (x >= left && x < left + dw) {
        const Integer i = x - left, k = Integer((2 * i + 1) * sw / (2 * dw));
        const Integer sx = srcLeft + (mirror ? sw - 1 - k : k);
        if (sx >= 0 && sx < 5) expected = pixel(sx, 1) & (c.SrcBits == 24 ? 0x00FFFFFF : 0xFFFFFFFF);
      }
      if (c.DstBits == 24) expected &= 0xFFFFFF;
      EXPECT_EQ(dst.At(x, 1), expected) << "x " << x;
      EXPECT_EQ(dst.At(x, 0), Untouched & (c.DstBits == 32 ? 0xFFFFFFFF : 0xFFFFFF)) << "row 0, x " << x;
    }
  }
  // A 24-bit surface scrolls within itself like a 32-bit one.
  TTestSurface s(6, 1, 24);
  for (Integer x = 0; x < 6; ++x) s.Set(x, 0, uint32_t(0x010101 * (x + 1)));
  ASSERT_TRUE(BitBlt(s.DC(), 1, 0, 5, 1, s.DC(), 0, 0, SRCCOPY));
  std::vector<uint32_t> row;
  for (Integer x = 0; x < 6; ++x) row.push_back(s.At(x, 0));
  EXPECT_EQ(row, (std::vector<uint32_t>{0x010101, 0x010101, 0x020202, 0x030303, 0x040404, 0x050505}));
}

// Monochrome device bitmaps: to mono, the source DC's background colour becomes 1; from mono, 0 takes
// the destination's text colour and 1 its background colour.
TEST(BitBltTest, MonochromeDeviceBitmapRules) {
  TTestSurface colour(3, 1);
  colour.Set(0, 0, Bgra(0, 0xFF, 0xFF, 0xFF));  // yellow with alpha: alpha is ignored in the compare
  colour.Set(1, 0, Bgra(0, 0, 0));
  colour.Set(2, 0, Bgra(0xFF, 0xFF, 0xFF));
  SetBkColor(colour.DC(), RGB(255, 255, 0));
  HDC monoDC = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(monoDC, 3, 1);  // the default 1x1 bitmap is monochrome
  BITMAP info;
  ASSERT_EQ(GetObject(mono, sizeof info, &info), Integer(sizeof info));
  EXPECT_EQ(info.bmBitsPixel, 1);
  HGDIOBJ old = SelectObject(monoDC, mono);
  BitBlt(monoDC, 0, 0, 3, 1, colour.DC(), 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(monoDC, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(monoDC, 1, 0), 0u);
  EXPECT_EQ(GetPixel(monoDC, 2, 0), 0u);  // white, but not the background colour

  TTestSurface back(3, 1);
  SetTextColor(back.DC(), RGB(1, 2, 3));
  SetBkColor(back.DC(), RGB(4, 5, 6));
  BitBlt(back.DC(), 0, 0, 3, 1, monoDC, 0, 0, SRCCOPY);
  EXPECT_EQ(back.At(0, 0), Bgra(6, 5, 4));
  EXPECT_EQ(back.At(1, 0), Bgra(3, 2, 1));
  SelectObject(monoDC, old);
  DeleteObject(mono);
  DeleteDC(monoDC);
}

TEST(TransparentBltTest, SkipsKeyColourOnRgbAndStretches) {
  TTestSurface src(2, 1), dst(4, 1);
  src.Set(0, 0, Bgra(0x7F, 0, 0x7F, 0xFF));  // the key, with an alpha byte
  src.Set(1, 0, Bgra(1, 2, 3, 0));
  dst.Fill(Bgra(9, 9, 9, 9));
  ASSERT_TRUE(TransparentBlt(dst.DC(), 0, 0, 4, 1, src.DC(), 0, 0, 2, 1, RGB(0x7F, 0, 0x7F)));
  EXPECT_EQ(dst.At(0, 0), Bgra(9, 9, 9, 9));
  EXPECT_EQ(dst.At(1, 0), Bgra(9, 9, 9, 9));
  EXPECT_EQ(dst.At(2, 0), Bgra(1, 2, 3, 0));
  EXPECT_EQ(dst.At(3, 0), Bgra(1, 2, 3, 0));
  EXPECT_FALSE(TransparentBlt(dst.DC(), 0, 0, -4, 1, src.DC(), 0, 0, 2, 1, 0));
  EXPECT_FALSE(TransparentBlt(dst.DC(), 0, 0, 4, 1, src.DC(), 1, 0, 2, 1, 0));  // source outside
}

// dst = src + dst * (255 - srcA) / 255 with the division rounded to nearest and the sum saturated.
TEST(AlphaBlendTest, FormulaTable) {
  struct Case {
    uint32_t Src, Dst;
    Byte Constant, Format;
    uint32_t Expected;
  } cases[] = {
      // Premultiplied source, constant 255.
      {Bgra(0, 0, 0, 0), Bgra(10, 20, 30, 40), 255, AC_SRC_ALPHA, Bgra(10, 20, 30, 40)},
      {Bgra(1, 2, 3, 255), Bgra(10, 20, 30, 40), 255, AC_SRC_ALPHA, Bgra(1, 2, 3, 255)},
      {Bgra(64, 0, 128, 128), Bgra(255, 100, 1, 255), 255, AC_SRC_ALPHA, Bgra(191, 50, 128, 255)},
      {Bgra(0, 0, 0, 1), Bgra(255, 128, 2, 0), 255, AC_SRC_ALPHA, Bgra(254, 127, 2, 1)},
      // Not premultiplied (colour above alpha): saturates at 255.
      {Bgra(200, 0, 0, 100), Bgra(200, 0, 0, 0), 255, AC_SRC_ALPHA, Bgra(255, 0, 0, 100)},
      // Constant alpha alone: s * k + d * (255 - k).
      {Bgra(255, 0, 100, 0), Bgra(0, 255, 100, 255), 128, 0, Bgra(128, 127, 100, 127)},
      // Both: the source is scaled by the constant first, its alpha too.
      {Bgra(100, 100, 100, 200), Bgra(50, 50, 50, 50), 128, AC_SRC_ALPHA, Bgra(80, 80, 80, 130)},
  };
  for (const auto& c : cases) {
    TTestSurface src(1, 1), dst(1, 1);
    src.Set(0, 0, c.Src);
    dst.Set(0, 0, c.Dst);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, c.Constant, c.Format};
    ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 1, 1, src.DC(), 0, 0, 1, 1, blend));
    EXPECT_EQ(dst.At(0, 0), c.Expected) << std::hex << c.Src << " over " << c.Dst;
  }
}

// Every destination value against every source alpha, compared with the rounded real quotient.
TEST(AlphaBlendTest, DivisionRoundsToNearestEverywhere) {
  TTestSurface src(256, 256), dst(256, 256);
  for (Integer y = 0; y < 256; ++y)
    for (Integer x = 0; x < 256; ++x) {
      src.Set(x, y, Bgra(0, 0, 0, Byte(y)));
      dst.Set(x, y, Bgra(Byte(x), Byte(x), Byte(x), Byte(x)));
    }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 256, 256, src.DC(), 0, 0, 256, 256, blend));
  for (Integer y = 0; y < 256; ++y)
    for (Integer x = 0; x < 256; ++x) {
      Byte expected = Byte(std::lround(x * (255 - y) / 255.0));
      ASSERT_EQ(dst.At(x, y), Bgra(expected, expected, expected, Byte(y + expected)))
          << "d=" << x << " a=" << y;
    }
}

TEST(AlphaBlendTest, RefusedCallsAndStretching) {
  TTestSurface src(2, 2), src24(2, 2, 24), dst(4, 4);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_FALSE(AlphaBlend(dst.DC(), 0, 0, 2, 2, src.DC(), 1, 0, 2, 2, blend));   // outside the source
  EXPECT_FALSE(AlphaBlend(dst.DC(), 2, 0, -2, 2, src.DC(), 0, 0, 2, 2, blend));  // negative extent
  EXPECT_FALSE(AlphaBlend(dst.DC(), 0, 0, 2, 2, src24.DC(), 0, 0, 2, 2, blend));
  BLENDFUNCTION badOp{1, 0, 255, 0};
  EXPECT_FALSE(AlphaBlend(dst.DC(), 0, 0, 2, 2, src.DC(), 0, 0, 2, 2, badOp));

  src.Set(0, 0, Bgra(0, 0, 255, 255));
  src.Set(1, 0, Bgra(255, 0, 0, 255));
  ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 4, 1, src.DC(), 0, 0, 2, 1, blend));
  EXPECT_EQ(dst.At(1, 0), Bgra(0, 0, 255, 255));
  EXPECT_EQ(dst.At(2, 0), Bgra(255, 0, 0, 255));
}

TEST(DibTest, SectionsAreRefusedBeforeAllocatingWhenTooLarge) {
  struct Case {
    Integer Width, Height, Bits;
    DWORD Compression;
    bool Made;
  } cases[] = {
      {16, 16, 32, BI_RGB, true},        {16, -16, 24, BI_RGB, true},   {16, 16, 8, BI_RGB, true},
      {16, 16, 4, BI_RGB, true},         {16, 16, 1, BI_RGB, true},     {16, 16, 16, BI_RGB, false},
      {0, 16, 32, BI_RGB, false},        {16, 0, 32, BI_RGB, false},    {-16, 16, 32, BI_RGB, false},
      {16, 16, 8, BI_RLE8, false},       {32769, 1, 32, BI_RGB, false}, {1, -32769, 32, BI_RGB, false},
      {16384, 16384, 32, BI_RGB, false},  // 1 GiB
  };
  for (const auto& c : cases) {
    std::vector<Byte> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));  // room for a colour table
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader = BITMAPINFOHEADER{};
    info->bmiHeader.biWidth = c.Width;
    info->bmiHeader.biHeight = c.Height;
    info->bmiHeader.biBitCount = WORD(c.Bits);
    info->bmiHeader.biCompression = c.Compression;
    void* bits = reinterpret_cast<void*>(1);
    HBITMAP bm = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_EQ(bm != nullptr, c.Made) << c.Width << "x" << c.Height << "x" << c.Bits;
    EXPECT_EQ(bits != nullptr, c.Made);
    DeleteObject(bm);
  }
}

TEST(DibTest, ObjectDescriptionsOfSectionsAndDeviceBitmaps) {
  TTestSurface bottomUp(5, 3, 24, false);
  DIBSECTION ds;
  ASSERT_EQ(GetObject(bottomUp.Bitmap(), sizeof ds, &ds), Integer(sizeof(DIBSECTION)));
  EXPECT_EQ(ds.dsBm.bmWidth, 5);
  EXPECT_EQ(ds.dsBm.bmHeight, 3);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);  // 15 bytes padded to 4
  EXPECT_EQ(ds.dsBmih.biHeight, 3);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 48u);
  EXPECT_EQ(ds.dsBm.bmBits, static_cast<void*>(bottomUp.Row(2)));  // bottom row first in memory
  EXPECT_EQ(GetObject(bottomUp.Bitmap(), 0, nullptr), Integer(sizeof(DIBSECTION)));

  HBITMAP ddb = CreateBitmap(5, 3, 1, 32, nullptr);
  BITMAP b;
  EXPECT_EQ(GetObject(ddb, sizeof(DIBSECTION), &ds), Integer(sizeof(BITMAP)));  // not a section
  EXPECT_EQ(GetObject(ddb, sizeof b, &b), Integer(sizeof(BITMAP)));
  EXPECT_EQ(b.bmBits, nullptr);
  DeleteObject(ddb);
}

TEST(DibTest, BufferTransfersKeepImagesUpright) {
  // A 2x3 bottom-up 24-bit buffer: rows in memory bottom first, 8 bytes per row.
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 3;
  info.bmiHeader.biBitCount = 24;
  std::vector<Byte> bits(24, 0);
  auto setPixel = [&](Integer x, Integer yFromTop, Byte v) { bits[size_t((2 - yFromTop) * 8 + x * 3)] = v; };
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 2; ++x) setPixel(x, y, Byte(10 * y + x + 1));

  TTestSurface dst(4, 4);
  EXPECT_EQ(SetDIBitsToDevice(dst.DC(), 1, 1, 2, 3, 0, 0, 0, 3, bits.data(), &info, DIB_RGB_COLORS), 3);
  EXPECT_EQ(dst.At(1, 1), 1u);
  EXPECT_EQ(dst.At(2, 1), 2u);
  EXPECT_EQ(dst.At(1, 3), 21u);
  EXPECT_EQ(dst.At(0, 0), 0u);

  // srcY of a bottom-up buffer counts from the bottom: rows 0..1 from the bottom are the lower two.
  TTestSurface stretched(2, 4);
  EXPECT_EQ(
      StretchDIBits(stretched.DC(), 0, 0, 2, 4, 0, 0, 2, 2, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY), 4);
  EXPECT_EQ(stretched.At(0, 0), 11u);
  EXPECT_EQ(stretched.At(0, 1), 11u);
  EXPECT_EQ(stretched.At(1, 3), 22u);

  // GetDIBits gives the same bottom-up layout back; 32-bit reads keep the alpha byte.
  TTestSurface image(2, 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 2; ++x) image.Set(x, y, Bgra(Byte(10 * y + x + 1), 0, 0, 0x77));
  std::vector<Byte> back(24, 0xEE);
  EXPECT_EQ(GetDIBits(image.DC(), image.Bitmap(), 0, 3, back.data(), &info, DIB_RGB_COLORS), 3);
  EXPECT_EQ(back, bits);
  BITMAPINFO info32 = info;
  info32.bmiHeader.biBitCount = 32;
  info32.bmiHeader.biHeight = -3;
  std::vector<uint32_t> top(6);
  EXPECT_EQ(GetDIBits(image.DC(), image.Bitmap(), 0, 3, top.data(), &info32, DIB_RGB_COLORS), 3);
  EXPECT_EQ(top[0], Bgra(1, 0, 0, 0x77));
  EXPECT_EQ(top[5], Bgra(22, 0, 0, 0x77));

  // A header query fills size and depth.
  BITMAPINFO query{};
  EXPECT_EQ(GetDIBits(image.DC(), image.Bitmap(), 0, 0, nullptr, &query, DIB_RGB_COLORS), 3);
  EXPECT_EQ(query.bmiHeader.biWidth, 2);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  EXPECT_EQ(query.bmiHeader.biSizeImage, 24u);
}
