#include "skin/core/bsblur.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<TbsBitmap> makeBitmap(Integer w, Integer h, TbsColor fill) {
  auto b = std::make_unique<TbsBitmap>();
  b->SetSize(w, h);
  b->Clear(fill);
  return b;
}

TEST(StackBlur, SingleWhitePixelSpreadsByTheTriangleKernel) {
  auto b = makeBitmap(5, 5, 0x00000000);
  *b->GetPixelPtr(2, 2) = 0x00FFFFFF;
  StackBlurBitmap(b.get(), 1);
  // Rows: 510 div 4 = 127 at the centre, 255 div 4 = 63 beside it; then columns on those.
  const Byte expected[5][5] = {
      {0, 0, 0, 0, 0}, {0, 15, 31, 15, 0}, {0, 31, 63, 31, 0}, {0, 15, 31, 15, 0}, {0, 0, 0, 0, 0}};
  for (Integer y = 0; y < 5; ++y)
    for (Integer x = 0; x < 5; ++x) {
      const TbsColor v = expected[y][x];
      EXPECT_EQ(*b->GetPixelPtr(x, y), 0xFF000000 | v << 16 | v << 8 | v) << x << "," << y;
    }
}

TEST(StackBlur, EdgesRepeatAndChannelsStaySeparate) {
  // One row: left half pure red, right half pure blue, radius 2; edges repeat so the ends keep their colour.
  auto b = makeBitmap(6, 1, 0);
  for (Integer x = 0; x < 6; ++x) *b->GetPixelPtr(x, 0) = x < 3 ? 0x00FF0000 : 0x000000FF;
  StackBlurBitmap(b.get(), 2);
  // Weights 1 2 3 2 1 (sum 9) along the row; the single row repeats vertically: 9 * v div 9 = v.
  const Integer redWeights[6] = {9, 8, 6, 3, 1, 0};
  for (Integer x = 0; x < 6; ++x) {
    const TbsColor red = TbsColor(255 * redWeights[x] / 9);
    const TbsColor blue = TbsColor(255 * (9 - redWeights[x]) / 9);
    EXPECT_EQ(*b->GetPixelPtr(x, 0), 0xFF000000 | red << 16 | blue) << x;
  }
}

TEST(StackBlur, RadiusZeroChangesNothingLargeRadiusStaysInside) {
  auto b = makeBitmap(3, 2, 0x40123456);
  StackBlurBitmap(b.get(), 0);
  StackBlurBitmap(b.get(), -4);
  EXPECT_EQ(*b->GetPixelPtr(2, 1), 0x40123456u);
  StackBlurBitmap(b.get(), 50);  // a flat picture stays flat, alpha becomes 255
  EXPECT_EQ(*b->GetPixelPtr(2, 1), 0xFF123456u);
}

TEST(AlphaMask, GreyLevelTruncatesAndColoursStay) {
  auto b = makeBitmap(3, 1, 0xFF102030);
  auto m = makeBitmap(3, 1, 0);
  *m->GetPixelPtr(0, 0) = 0x00FFFFFE;  // 764 / 3 = 254.67
  *m->GetPixelPtr(1, 0) = 0x00FFFFFF;
  *m->GetPixelPtr(2, 0) = 0xFF000000;
  AlphaFromMask(b.get(), m.get());
  EXPECT_EQ(*b->GetPixelPtr(0, 0), 0xFE102030u);
  EXPECT_EQ(*b->GetPixelPtr(1, 0), 0xFF102030u);
  EXPECT_EQ(*b->GetPixelPtr(2, 0), 0x00102030u);
}

TEST(AlphaMask, SmallerMaskChangesOnlyWhatItCovers) {
  auto b = makeBitmap(3, 2, 0xFF102030);
  auto m = makeBitmap(2, 1, 0x00808080);
  AlphaFromMask(b.get(), m.get());
  EXPECT_EQ(*b->GetPixelPtr(1, 0), 0x80102030u);
  EXPECT_EQ(*b->GetPixelPtr(2, 0), 0xFF102030u);
  EXPECT_EQ(*b->GetPixelPtr(0, 1), 0xFF102030u);
}

TEST(AlphaMask, PremultipliedVariant) {
  auto b = makeBitmap(1, 1, 0xFFFF8001);
  auto m = makeBitmap(1, 1, 0x00808080);
  AlphaFromMaskPremultiplied(b.get(), m.get());
  EXPECT_EQ(*b->GetPixelPtr(0, 0), 0x80804001u);
}

}  // namespace
