#include <gtest/gtest.h>

#include <vector>

#include "skin/core/bskernels.h"
#include "skin/core/testkit/bsbitmaptestkit.h"

namespace {

// Source pixel i holds the value i, so a row of the target reads as its column map.
std::unique_ptr<TbsBitmap> indexRow(Integer w) {
  std::vector<TbsColor> px;
  for (Integer i = 0; i < w; ++i) px.push_back(TbsColor(i));
  return makeBitmap(w, 1, px);
}

struct TMapCase {
  Integer srcWidth, dstWidth;
  std::vector<TbsColor> truncated, nearest;
};

// kx = (sw - 1) / (dw - 1) held as a 32-bit float. 7/10 lies just below 0.7, so the fifth column of
// 8 -> 11 stays below the tie (3.4999999 -> 3) and the last one below 7; float(1/3) lies just above 1/3,
// so 2 -> 4 reaches column 1 at its last pixel (a double would stay below).
const TMapCase MapCases[] = {
    {2, 4, {0, 0, 0, 1}, {0, 0, 1, 1}},
    {3, 5, {0, 0, 1, 1, 2}, {0, 0, 1, 2, 2}},
    {8, 11, {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6}, {0, 1, 1, 2, 3, 3, 4, 5, 6, 6, 7}},
    {4, 1, {1}, {1}},
    {5, 3, {0, 2, 4}, {0, 2, 4}},
};

TEST(StretchKernels, ColumnMapsTruncateIntoBitmapsAndRoundIntoSections) {
  for (const auto& c : MapCases) {
    auto src = indexRow(c.srcWidth);
    auto dst = makeBitmap(c.dstWidth, 1);
    bsblit::BitmapStretchCopy(dst.get(), Rect(0, 0, c.dstWidth, 1), Rect(0, 0, c.dstWidth, 1), src.get(),
                              Rect(0, 0, c.srcWidth, 1));
    EXPECT_EQ(row(*dst, 0), c.truncated) << c.srcWidth << " -> " << c.dstWidth;

    TSectionDC section(c.dstWidth, 1);
    bsblit::DIBStretchCopy(section.Bits, Rect(0, 0, c.dstWidth, 1), Rect(0, 0, c.dstWidth, 1), c.dstWidth, 1,
                           src.get(), Rect(0, 0, c.srcWidth, 1));
    EXPECT_EQ(std::vector<TbsColor>(section.Bits, section.Bits + c.dstWidth), c.nearest)
        << c.srcWidth << " -> " << c.dstWidth << " (section)";
  }
}

TEST(StretchKernels, RowsMapLikeColumnsAndRepeatedRowsAreCopies) {
  auto src = makeBitmap(1, 3, {10, 11, 12});
  auto dst = makeBitmap(1, 5);
  bsblit::BitmapStretchCopy(dst.get(), Rect(0, 0, 1, 5), Rect(0, 0, 1, 5), src.get(), Rect(0, 0, 1, 3));
  std::vector<TbsColor> got;
  for (Integer y = 0; y < 5; ++y) got.push_back(*dst->GetPixelPtr(0, y));
  EXPECT_EQ(got, (std::vector<TbsColor>{10, 10, 11, 11, 12}));

  // In a bottom-up section the repeated row lies one row further on in memory.
  TSectionDC section(1, 5);
  bsblit::DIBStretchCopy(section.Bits, Rect(0, 0, 1, 5), Rect(0, 0, 1, 5), 1, 5, src.get(), Rect(0, 0, 1, 3));
  got.clear();
  for (Integer y = 0; y < 5; ++y) got.push_back(section.At(0, y));
  EXPECT_EQ(got, (std::vector<TbsColor>{10, 10, 11, 12, 12}));
}

TEST(StretchKernels, SourceOutsideOrEmptyDrawsNothing) {
  auto src = indexRow(4);
  for (TRect s : {Rect(1, 0, 5, 1), Rect(-1, 0, 3, 1), Rect(0, 0, 0, 1), Rect(2, 0, 1, 1)}) {
    auto dst = makeBitmap(6, 1, std::vector<TbsColor>(6, 99));
    bsblit::BitmapStretchCopy(dst.get(), Rect(0, 0, 6, 1), Rect(0, 0, 6, 1), src.get(), s);
    bsblit::BitmapStretchAlpha(dst.get(), Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), src.get(), s);
    EXPECT_EQ(row(*dst, 0), std::vector<TbsColor>(6, 99)) << s.Left << "," << s.Right;
  }
}

TEST(StretchKernels, DestinationHalfOutsideKeepsTheSourceAlignment) {
  auto src = indexRow(4);
  auto dst = makeBitmap(3, 1, {99, 99, 99});
  // Unscaled: target columns -2..1, only 0 and 1 exist, showing source columns 2 and 3.
  bsblit::BitmapStretchCopy(dst.get(), Rect(-2, 0, 2, 1), Rect(-2, 0, 2, 1), src.get(), Rect(0, 0, 4, 1));
  EXPECT_EQ(row(*dst, 0), (std::vector<TbsColor>{2, 3, 99}));
  // Scaled: 4 -> 7 over target columns 1..7; columns 1 and 2 show the start of the map.
  auto wide = makeBitmap(3, 1, {99, 99, 99});
  bsblit::BitmapStretchCopy(wide.get(), Rect(1, 0, 8, 1), Rect(1, 0, 8, 1), src.get(), Rect(0, 0, 4, 1));
  EXPECT_EQ(row(*wide, 0), (std::vector<TbsColor>{99, 0, 0}));
  // The clip rectangle limits the target further.
  auto clipped = makeBitmap(3, 1, {99, 99, 99});
  bsblit::BitmapStretchCopy(clipped.get(), Rect(0, 0, 3, 1), Rect(1, 0, 2, 1), src.get(), Rect(1, 0, 4, 1));
  EXPECT_EQ(row(*clipped, 0), (std::vector<TbsColor>{99, 2, 99}));
}

TEST(StretchKernels, AlphaAndKeyModesGoThroughTheirRowKernels) {
  auto src = makeBitmap(2, 1, {0x00FFFFFF, 0x80FF0000});
  auto dst = makeBitmap(4, 2, std::vector<TbsColor>(8, 0xFF0000FF));
  bsblit::BitmapStretchAlpha(dst.get(), Rect(0, 0, 4, 2), Rect(0, 0, 4, 2), src.get(), Rect(0, 0, 2, 1));
  // 2 -> 4 maps columns 0, 0, 0, 1 (kx = 1/3 as a float times 2 stays below 1).
  const TbsColor blended = PixelBlend(0x80FF0000, 0xFF0000FF);
  for (Integer y = 0; y < 2; ++y)
    EXPECT_EQ(row(*dst, y), (std::vector<TbsColor>{0xFF0000FF, 0xFF0000FF, 0xFF0000FF, blended}));

  auto keyed = makeBitmap(2, 1, {0x007F007F, 0x00123456});
  auto target = makeBitmap(4, 1, std::vector<TbsColor>(4, 7));
  bsblit::BitmapStretchKey(target.get(), Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), keyed.get(), Rect(0, 0, 2, 1));
  EXPECT_EQ(row(*target, 0), (std::vector<TbsColor>{7, 7, 7, 0xFF123456}));

  // Sections take the same kernels over their rounded map (columns 0, 0, 1, 1), every row reached.
  TSectionDC section(4, 2);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 4; ++x) section.At(x, y) = 0xFF0000FF;
  bsblit::DIBStretchAlpha(section.Bits, Rect(0, 0, 4, 2), Rect(0, 0, 4, 2), 4, 2, src.get(),
                          Rect(0, 0, 2, 1));
  for (Integer y = 0; y < 2; ++y)
    EXPECT_EQ(std::vector<TbsColor>(&section.At(0, y), &section.At(0, y) + 4),
              (std::vector<TbsColor>{0xFF0000FF, 0xFF0000FF, blended, blended}))
        << "row " << y;
  TSectionDC keyedSection(4, 1);
  for (Integer x = 0; x < 4; ++x) keyedSection.At(x, 0) = 7;
  bsblit::DIBStretchKey(keyedSection.Bits, Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), 4, 1, keyed.get(),
                        Rect(0, 0, 2, 1));
  EXPECT_EQ(std::vector<TbsColor>(keyedSection.Bits, keyedSection.Bits + 4),
            (std::vector<TbsColor>{7, 7, 0xFF123456, 0xFF123456}));
}

TEST(AreaKernels, CopyRowsAndRefuseBitmapsWithoutPixels) {
  auto src = makeBitmap(3, 2, {1, 2, 3, 4, 5, 6});
  auto dst = makeBitmap(3, 3);
  bsblit::BitmapAreaCopy(dst.get(), Rect(1, 1, 3, 3), src.get(), 1, 0);
  EXPECT_EQ(row(*dst, 1), (std::vector<TbsColor>{0, 2, 3}));
  EXPECT_EQ(row(*dst, 2), (std::vector<TbsColor>{0, 5, 6}));
  TbsBitmap empty;
  EXPECT_THROW(bsblit::BitmapAreaKey(&empty, Rect(0, 0, 1, 1), src.get(), 0, 0), EAssertionFailed);
  EXPECT_THROW(
      bsblit::DIBStretchKey(nullptr, Rect(0, 0, 1, 1), Rect(0, 0, 1, 1), 1, 1, src.get(), Rect(0, 0, 1, 1)),
      EAssertionFailed);
}

TEST(DCKernels, GetDCBitsDescribesSectionsOnly) {
  TSectionDC bottomUp(4, 3);
  Integer w = -1, h = -1, bits = -1;
  EXPECT_EQ(bsblit::GetDCBits(bottomUp.DC, w, h, bits), bottomUp.Bits);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(bits, 32);
  auto skin = makeBitmap(2, 5);
  EXPECT_EQ(bsblit::GetDCBits(skin->DC(), w, h, bits), static_cast<void*>(skin->Bits()));
  EXPECT_EQ(h, -5);                         // top-down
  HDC fresh = CreateCompatibleDC(nullptr);  // its default bitmap is no section
  EXPECT_EQ(bsblit::GetDCBits(fresh, w, h, bits), nullptr);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(bits, 0);
  DeleteDC(fresh);
}

TEST(DCKernels, SoftwareDrawBlendsOverTheTargetAndKeepsItUnderAlphaZero) {
  TSectionDC target(3, 1);
  for (Integer x = 0; x < 3; ++x) target.At(x, 0) = 0xFF0000FF;
  auto src = makeBitmap(3, 1, {0x00FFFFFF, 0x80FF0000, 0xFF00FF00});
  src->SetAlphaBlend(true);
  DCAlphaDraw(target.DC, 0, 0, 3, 1, src.get(), 0, 0, 3, 1);
  EXPECT_EQ(target.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(target.At(1, 0), PixelBlend(0x80FF0000, 0xFF0000FF));
  EXPECT_EQ(target.At(2, 0), 0xFF00FF00u);
  DCAlphaDraw(target.DC, 0, 0, 0, 1, src.get(), 0, 0, 3, 1);  // zero width: nothing
  EXPECT_EQ(target.At(0, 0), 0xFF0000FFu);
}

TEST(DCKernels, KeyDrawFormsAgreeAndStretchCopySetsColorOnColor) {
  auto src = makeBitmap(2, 1, {0xFF7F007F, 0xFF123456});
  src->SetTransparent(true);
  for (TDCDrawProc kernel : {&bsblit::DCSoftwareDraw, &bsblit::DCTransparentBltDraw}) {
    TSectionDC target(2, 1);
    target.At(0, 0) = 0xFFABCDEF;
    target.At(1, 0) = 0xFFABCDEF;
    kernel(target.DC, 0, 0, 2, 1, src.get(), 0, 0, 2, 1);
    EXPECT_EQ(target.At(0, 0) & 0xFFFFFF, 0xABCDEFu);
    EXPECT_EQ(target.At(1, 0) & 0xFFFFFF, 0x123456u);
  }
  TSectionDC target(4, 1);
  bsblit::DCStretchCopy(target.DC, 0, 0, 4, 1, src.get(), 0, 0, 2, 1);
  EXPECT_EQ(GetStretchBltMode(target.DC), COLORONCOLOR);
  EXPECT_EQ(target.At(3, 0), 0xFF123456u);
}

}  // namespace
