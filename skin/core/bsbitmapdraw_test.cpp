#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/graphics/picture.h"
#include "skin/core/bskernels.h"
#include "skin/core/testkit/bsbitmaptestkit.h"

namespace {

TEST(BitmapDraw, SourceRectangleAtItsOwnSizeOnAPlainDC) {
  auto src = gridBitmap(20, 20);
  TSectionDC target(40, -40);  // top-down: not taken for a direct section
  src->Draw(target.DC, 10, 20, Rect(5, 5, 15, 10));
  EXPECT_EQ(target.At(10, 20), gridAt(5, 5));
  EXPECT_EQ(target.At(19, 24), gridAt(14, 9));
  EXPECT_EQ(target.At(20, 20), 0u);
  EXPECT_EQ(target.At(10, 25), 0u);
  EXPECT_EQ(target.At(9, 20), 0u);
}

TEST(BitmapDraw, DCOfAnotherSkinBitmapIsDrawnInMemoryThroughItsWindowOrigin) {
  auto src = gridBitmap(2, 2);
  src->SetAlphaBlend(true);
  *src->GetPixelPtr(1, 1) = 0x80FF0000;
  auto target = makeBitmap(4, 4, std::vector<TbsColor>(16, 0xFF0000FF));
  SetWindowOrgEx(target->DC(), 3, 4, nullptr);
  src->Draw(target->DC(), 3, 4);
  EXPECT_EQ(*target->GetPixelPtr(0, 0), gridAt(0, 0));
  // The in-memory blend is the row kernel's, not the platform's.
  EXPECT_EQ(*target->GetPixelPtr(1, 1), PixelBlend(0x80FF0000, 0xFF0000FF));
  EXPECT_EQ(*target->GetPixelPtr(2, 2), 0xFF0000FFu);
}

TEST(BitmapDraw, FlagsChooseTheMode) {
  auto src = makeBitmap(3, 1, {0x007F007F, 0x80FF0000, 0x00000001});
  struct TCase {
    bool alpha, key;
    std::vector<TbsColor> expected;
  } cases[] = {
      {false, false, {0x007F007F, 0x80FF0000, 0x00000001}},
      {true, true, {0xFF0000FF, PixelBlend(0x80FF0000, 0xFF0000FF), 0xFF0000FF}},
      {false, true, {0xFF0000FF, 0xFFFF0000, 0xFF000001}},
  };
  for (const auto& c : cases) {
    src->SetAlphaBlend(c.alpha);
    src->SetTransparent(c.key);
    auto dst = makeBitmap(3, 1, std::vector<TbsColor>(3, 0xFF0000FF));
    src->Draw(dst.get(), 0, 0);
    EXPECT_EQ(pixelsOf(*dst), c.expected) << c.alpha << c.key;
  }
}

TEST(BitmapDraw, StretchedDrawIntoABitmap) {
  auto src = makeBitmap(3, 1, {0xFF00000A, 0xFF00000B, 0xFF00000C});
  auto dst = makeBitmap(5, 1);
  src->Draw(dst.get(), Rect(0, 0, 5, 1));
  EXPECT_EQ(pixelsOf(*dst),
            (std::vector<TbsColor>{0xFF00000A, 0xFF00000A, 0xFF00000B, 0xFF00000B, 0xFF00000C}));
}

TEST(BitmapTile, TilesAreCutNeverStretched) {
  auto src = gridBitmap(10, 10);
  auto dst = makeBitmap(25, 10);
  src->Tile(dst.get(), Rect(0, 0, 25, 10), Rect(0, 0, 10, 10));
  for (Integer x : {0, 9, 10, 19, 20, 24}) EXPECT_EQ(*dst->GetPixelPtr(x, 3), gridAt(x % 10, 3)) << x;
  // A source part of the sheet repeats from its own origin.
  auto part = makeBitmap(7, 3);
  src->Tile(part.get(), Rect(1, 0, 7, 3), Rect(2, 4, 5, 6));
  EXPECT_EQ(*part->GetPixelPtr(1, 0), gridAt(2, 4));
  EXPECT_EQ(*part->GetPixelPtr(4, 1), gridAt(2, 5));
  EXPECT_EQ(*part->GetPixelPtr(6, 2), gridAt(4, 4));
  EXPECT_EQ(*part->GetPixelPtr(3, 2), gridAt(4, 4));
  EXPECT_EQ(*part->GetPixelPtr(0, 0), 0u);
}

TEST(BitmapTile, EmptySourceOrTargetDrawsNothing) {
  auto src = gridBitmap(4, 4);
  auto dst = makeBitmap(8, 8);
  src->Tile(dst.get(), Rect(0, 0, 8, 8), Rect(2, 2, 2, 4));
  src->Tile(dst.get(), Rect(8, 8, 0, 0), Rect(0, 0, 4, 4));
  TSectionDC plain(8, 8);
  src->Tile(plain.DC, Rect(0, 0, 8, 8), Rect(0, 0, 0, 0));
  for (Integer i = 0; i < 64; ++i) {
    EXPECT_EQ(dst->Bits()[i], 0u);
    EXPECT_EQ(plain.Bits[i], 0u);
  }
}

TEST(BitmapTile, ClipDrawsOnlyTilesThatMeetItAndDrawsThemWhole) {
  auto src = gridBitmap(10, 10);
  auto all = makeBitmap(25, 10);
  src->TileClip(all.get(), Rect(0, 0, 25, 10), Rect(0, 0, 0, 0), Rect(0, 0, 10, 10));
  EXPECT_EQ(*all->GetPixelPtr(24, 9), gridAt(4, 9));
  auto some = makeBitmap(25, 10);
  src->TileClip(some.get(), Rect(0, 0, 25, 10), Rect(12, 0, 13, 1), Rect(0, 0, 10, 10));
  EXPECT_EQ(*some->GetPixelPtr(9, 0), 0u);
  EXPECT_EQ(*some->GetPixelPtr(10, 0), gridAt(0, 0));
  EXPECT_EQ(*some->GetPixelPtr(19, 9), gridAt(9, 9));
  EXPECT_EQ(*some->GetPixelPtr(20, 0), 0u);
  // The DC form goes through the full dispatch, registry included.
  auto viaDC = makeBitmap(25, 10);
  src->TileClip(viaDC->DC(), Rect(0, 0, 25, 10), Rect(12, 0, 13, 1), Rect(0, 0, 10, 10));
  EXPECT_EQ(*viaDC->GetPixelPtr(19, 9), gridAt(9, 9));
  EXPECT_EQ(*viaDC->GetPixelPtr(9, 9), 0u);
}

TEST(BitmapTile, DCFormsReachSectionsPlainDCsAndSkinBitmaps) {
  auto src = gridBitmap(3, 2);
  // A bottom-up 32-bit section is written directly, through the DC's window origin.
  TSectionDC section(8, 4);
  SetWindowOrgEx(section.DC, 1, 0, nullptr);
  src->Tile(section.DC, Rect(1, 0, 8, 4), Rect(0, 0, 3, 2));
  EXPECT_EQ(section.At(0, 0), gridAt(0, 0));
  EXPECT_EQ(section.At(3, 3), gridAt(0, 1));
  EXPECT_EQ(section.At(6, 1), gridAt(0, 1));
  EXPECT_EQ(section.At(7, 0), 0u);  // logical 8 lies outside DstRect
  // A top-down section goes through the DC kernels and gets the same picture.
  TSectionDC plain(7, -4);
  src->Tile(plain.DC, Rect(0, 0, 7, 4), Rect(0, 0, 3, 2));
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 7; ++x) EXPECT_EQ(plain.At(x, y), section.At(x, y)) << x << "," << y;
  auto skin = makeBitmap(7, 4);
  src->Tile(skin->DC(), Rect(0, 0, 7, 4), Rect(0, 0, 3, 2));
  EXPECT_EQ(*skin->GetPixelPtr(6, 3), gridAt(0, 1));
}

TEST(BitmapMerge, SourceGoesUnderTheTarget) {
  auto src = makeBitmap(3, 1, {0xFF112233, 0xFF445566, 0xFF778899});
  auto dst = makeBitmap(3, 1, {0x00ABCDEF, 0x80FF0000, 0xFF000000});
  dst->MergeDraw(src.get(), 0, 0, Rect(0, 0, 3, 1));
  EXPECT_EQ(*dst->GetPixelPtr(0, 0), 0xFF112233u);
  EXPECT_EQ(*dst->GetPixelPtr(1, 0), PixelBlend(0x80FF0000, 0xFF445566));
  EXPECT_EQ(*dst->GetPixelPtr(2, 0), 0xFF000000u);
  // A negative source left edge moves the target right; outside positions are skipped.
  auto shifted = makeBitmap(3, 1);
  shifted->MergeDraw(src.get(), 0, 0, Rect(-1, 0, 9, 1));
  EXPECT_EQ(pixelsOf(*shifted), (std::vector<TbsColor>{0, 0xFF112233, 0xFF445566}));
}

TEST(BitmapFill, BlendedOrWritten) {
  auto blended = makeBitmap(3, 2, std::vector<TbsColor>(6, 0xFF0000FF));
  blended->SetAlphaBlend(true);
  blended->FillRect(Rect(-4, 1, 2, 9), 0x00FFFFFF);
  EXPECT_EQ(pixelsOf(*blended), std::vector<TbsColor>(6, 0xFF0000FF));
  blended->FillRect(Rect(-4, 1, 2, 9), 0x80FF0000);
  EXPECT_EQ(*blended->GetPixelPtr(0, 1), PixelBlend(0x80FF0000, 0xFF0000FF));
  EXPECT_EQ(*blended->GetPixelPtr(2, 1), 0xFF0000FFu);
  EXPECT_EQ(*blended->GetPixelPtr(0, 0), 0xFF0000FFu);

  auto written = makeBitmap(2, 1);
  written->FillRect(Rect(1, 0, 5, 1), 0x00ABCDEF);
  EXPECT_EQ(*written->GetPixelPtr(1, 0), 0x00ABCDEFu);
  EXPECT_EQ(*written->GetPixelPtr(0, 0), 0u);
}

TEST(BitmapReflection, FlipsAndFadesAlphaToZeroAtHalfHeight) {
  struct TCase {
    void (TbsBitmap::*fn)();
    Integer rows;
    std::vector<TbsColor> alphas;
  } cases[] = {
      {&TbsBitmap::Reflection3, 4, {100, 50, 0, 0}},
      {&TbsBitmap::Reflection2, 4, {50, 25, 0, 0}},
      {&TbsBitmap::Reflection, 4, {66, 33, 0, 0}},
      {&TbsBitmap::Reflection3, 5, {100, 60, 20, 0, 0}},  // x = 1, 0.6, 0.2, -0.2, -0.6
  };
  for (const auto& c : cases) {
    auto b = makeBitmap(1, c.rows);
    for (Integer y = 0; y < c.rows; ++y) *b->GetPixelPtr(0, y) = 0xC8000000 | TbsColor(y);
    ((*b).*c.fn)();
    for (Integer y = 0; y < c.rows; ++y) {
      EXPECT_EQ(*b->GetPixelPtr(0, y) >> 24, c.alphas[size_t(y)]) << "row " << y;
      EXPECT_EQ(*b->GetPixelPtr(0, y) & 0xFF, TbsColor(c.rows - 1 - y));
    }
  }
}

TEST(BitmapColourEffects, TransparentPixelsAndZeroDeltasAreLeftAlone) {
  auto b = makeBitmap(2, 1, {0x00102030, 0x80102030});
  b->ChangeBitmapBrightness(16);
  EXPECT_EQ(*b->GetPixelPtr(0, 0), 0x00102030u);
  EXPECT_EQ(*b->GetPixelPtr(1, 0), 0x80203040u);
  b->ChangeBitmapBrightness(0);
  b->ChangeBitmapSat(0);
  b->ChangeBitmapHue(0);
  EXPECT_EQ(*b->GetPixelPtr(1, 0), 0x80203040u);
  auto red = makeBitmap(1, 1, {0x40FF0000});
  red->SetBitmapHue(85);
  EXPECT_EQ(*red->Bits(), 0x4000FF00u);
  red->ChangeBitmapHue(85);
  EXPECT_EQ(*red->Bits(), 0x400000FFu);
}

TEST(BitmapAssignTo, PlatformBitmapAndPicture) {
  auto src = makeBitmap(2, 1, {0xFF102030, 0xFF405060});
  TBitmap bmp;
  bmp.Assign(src.get());
  ASSERT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);
  const TbsColor* line = reinterpret_cast<const TbsColor*>(bmp.ScanLine(0));
  EXPECT_EQ(line[1] & 0xFFFFFF, 0x405060u);
  TPicture picture;
  picture.Assign(src.get());
  ASSERT_EQ(picture.Width(), 2);
  EXPECT_EQ(reinterpret_cast<const TbsColor*>(picture.Bitmap()->ScanLine(0))[0] & 0xFFFFFF, 0x102030u);
  TStringList other;
  EXPECT_THROW(other.Assign(src.get()), EConvertError);
}

}  // namespace
