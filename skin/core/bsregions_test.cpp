#include "skin/core/bsregions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A mask drawn from text rows: '#' is black (inside the shape), anything else white.
std::unique_ptr<TBitmap> MaskFrom(const std::vector<String>& Rows) {
  auto mask = std::make_unique<TBitmap>(Integer(Rows[0].size()), Integer(Rows.size()));
  mask->SetPixelFormat(pf24bit);
  for (Integer y = 0; y < mask->Height(); ++y)
    for (Integer x = 0; x < mask->Width(); ++x)
      mask->Canvas()->SetPixels(x, y, Rows[size_t(y)][size_t(x)] == '#' ? clBlack : clWhite);
  return mask;
}

struct Block {
  RGNDATAHEADER Header;
  std::vector<TRect> Rects;
};

Block Parse(const std::vector<Byte>& Data) {
  Block b;
  std::memcpy(&b.Header, Data.data(), sizeof(b.Header));
  b.Rects.resize(b.Header.nCount);
  if (b.Header.nCount) std::memcpy(b.Rects.data(), Data.data() + 32, 16 * b.Header.nCount);
  return b;
}

// The region's membership as text rows, for comparison with the expected shape.
std::vector<String> Shape(HRGN Rgn, Integer W, Integer H) {
  std::vector<String> rows;
  for (Integer y = 0; y < H; ++y) {
    String row;
    for (Integer x = 0; x < W; ++x) row += PtInRegion(Rgn, x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(MaskToRegionData, OneRectanglePerBlackRun) {
  auto mask = MaskFrom({
      "............",
      "#####..###..",
      "...........#",
  });
  struct Case {
    Integer X, Y;
  } offsets[] = {{0, 0}, {10, 20}};
  for (const Case& o : offsets) {
    std::vector<Byte> data;
    const Integer size = MaskToRegionData(mask.get(), o.X, o.Y, data);
    ASSERT_EQ(size, 32 + 16 * 3);
    ASSERT_EQ(data.size(), size_t(size));
    const Block b = Parse(data);
    EXPECT_EQ(b.Header.dwSize, 32u);
    EXPECT_EQ(b.Header.iType, 1u);
    EXPECT_EQ(b.Header.nRgnSize, 0u);
    EXPECT_EQ(b.Header.rcBound, Rect(o.X, o.Y, o.X + 12, o.Y + 3));
    const std::vector<TRect> expected = {Rect(o.X + 0, o.Y + 1, o.X + 5, o.Y + 2),
                                         Rect(o.X + 7, o.Y + 1, o.X + 10, o.Y + 2),
                                         Rect(o.X + 11, o.Y + 2, o.X + 12, o.Y + 3)};
    EXPECT_EQ(b.Rects, expected);
  }
}

TEST(MaskToRegionData, NoBlackGivesAnEmptyBlockAndNoMaskNothing) {
  auto white = MaskFrom({"...", "..."});
  std::vector<Byte> data;
  EXPECT_EQ(MaskToRegionData(white.get(), 0, 0, data), 32);
  EXPECT_EQ(Parse(data).Header.nCount, 0u);
  HRGN rgn = nullptr;
  RegionFromMask(rgn, white.get());
  ASSERT_NE(rgn, nullptr);
  TRect box;
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);

  TBitmap empty;
  std::vector<Byte> untouched = {1, 2, 3};
  EXPECT_EQ(MaskToRegionData(&empty, 0, 0, untouched), 0);
  EXPECT_EQ(untouched, (std::vector<Byte>{1, 2, 3}));
  rgn = reinterpret_cast<HRGN>(&untouched);
  RegionFromMask(rgn, &empty);
  EXPECT_EQ(rgn, nullptr);
}

TEST(MaskToRegionData, MoreRunsThanTheOldFixedTable) {
  // 10 002 runs on one row: a fixed table of 10 001 would overflow.
  TBitmap mask(20004, 1);
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(Rect(0, 0, 20004, 1));
  for (Integer x = 0; x < 20004; x += 2) mask.Canvas()->SetPixels(x, 0, clBlack);
  std::vector<Byte> data;
  EXPECT_EQ(MaskToRegionData(&mask, 0, 0, data), 32 + 16 * 10002);
  const Block b = Parse(data);
  EXPECT_EQ(b.Rects.back(), Rect(20002, 0, 20003, 1));
}

TEST(RegionFromMask, MakesTheMaskShape) {
  const std::vector<String> rows = {
      ".####.",
      "######",
      "##..##",
      ".#..#.",
  };
  auto mask = MaskFrom(rows);
  HRGN rgn = nullptr;
  RegionFromMask(rgn, mask.get());
  ASSERT_NE(rgn, nullptr);
  EXPECT_EQ(Shape(rgn, 6, 4), (std::vector<String>{".####.", "######", "##..##", ".#..#."}));
  DeleteObject(rgn);
}

TEST(TbsFBitmap, RowTableOverA24BitCopy) {
  auto mask = MaskFrom({"#....", "..#.."});
  TbsFBitmap scan(mask->Handle());
  EXPECT_EQ(scan.Width, 5);
  EXPECT_EQ(scan.Height, 2);
  EXPECT_EQ(scan.Gap, 1);
  EXPECT_EQ(scan.RowInc, 16);
  EXPECT_EQ(scan.Size, 32);
  EXPECT_EQ(scan.bmHeader.biHeight, -2);
  EXPECT_EQ(scan.bmHeader.biBitCount, 24);
  EXPECT_EQ(reinterpret_cast<Byte*>(scan.Pixels[1]) - reinterpret_cast<Byte*>(scan.Pixels[0]), 16);
  EXPECT_EQ(scan.Pixels[0][0].r, 0);
  EXPECT_EQ(scan.Pixels[0][1].g, 255);
  EXPECT_EQ(scan.Pixels[1][2].b, 0);
  EXPECT_NE(scan.hDC, nullptr);
}

// A 10 x 10 mask: client (3, 3, 7, 7); corners at the client's corners; the top-left 2 x 2 and the
// bottom-right pixel cut away, and a notch in the top edge.
struct SkinRegionFixture : testing::Test {
  std::unique_ptr<TBitmap> Mask = MaskFrom({
      "..########",
      "..########",
      "##########",
      "##########",
      "##########",
      "##########",
      "##########",
      "##########",
      "##########",
      "#########.",
  });
  const TRect Cl = Rect(3, 3, 7, 7);
  const TPoint LT = Point(3, 3), RT = Point(7, 3), LB = Point(3, 7), RB = Point(7, 7);

  // Grown to W x H: right and bottom points move by the difference.
  std::vector<String> Compose(Integer W, Integer H, TRect* NewCl = nullptr) {
    const Integer dx = W - 10, dy = H - 10;
    const TRect ncl = NewCl ? *NewCl : Rect(3, 3, 7 + dx, 7 + dy);
    HRGN rgn = nullptr;
    ComposeSkinRegion(rgn, LT, RT, LB, RB, Cl, LT, Point(RT.X + dx, RT.Y), Point(LB.X, LB.Y + dy),
                      Point(RB.X + dx, RB.Y + dy), ncl, Mask.get(), W, H);
    if (rgn == nullptr) return {};
    auto shape = Shape(rgn, W, H);
    DeleteObject(rgn);
    return shape;
  }
};

TEST_F(SkinRegionFixture, BordersFollowTheMaskAndTheClientIsFull) {
  Mask->Canvas()->SetPixels(4, 0, clWhite);  // a notch in the top edge (x 3..7), repeated with it
  const String full(16, '#');
  EXPECT_EQ(Compose(16, 12), (std::vector<String>{"..##.###.###.###", "..##############", full, full, full,
                                                  full, full, full, full, full, full, "###############."}));
}

TEST_F(SkinRegionFixture, NoRegionForAnEmptyClientOrBackwardPoints) {
  TRect flat = Rect(3, 3, 3, 9);
  EXPECT_TRUE(Compose(16, 12, &flat).empty());
  HRGN rgn = reinterpret_cast<HRGN>(this);
  ComposeSkinRegion(rgn, LT, RT, LB, RB, Cl, LT, Point(2, 3), LB, RB, Rect(3, 3, 7, 7), Mask.get(), 10, 10);
  EXPECT_EQ(rgn, nullptr);
  rgn = reinterpret_cast<HRGN>(this);
  ComposeSkinRegion(rgn, LT, RT, LB, RB, Cl, LT, RT, Point(3, 2), RB, Rect(3, 3, 7, 7), Mask.get(), 10, 10);
  EXPECT_EQ(rgn, nullptr);
}

TEST_F(SkinRegionFixture, WithoutTopBorderTheOtherBordersStillCount) {
  HRGN rgn = nullptr;
  ComposeSkinRegion(rgn, Point(3, 0), Point(7, 0), LB, RB, Rect(3, 0, 7, 7), Point(3, 0), Point(13, 0),
                    Point(3, 9), Point(13, 9), Rect(3, 0, 13, 9), Mask.get(), 16, 12);
  ASSERT_NE(rgn, nullptr);
  const String full(16, '#'), cut = "..##############";
  // The left edge (mask rows 0..7) repeats from the strip's top, bringing the cut corner back at row 7.
  EXPECT_EQ(Shape(rgn, 16, 12), (std::vector<String>{cut, cut, full, full, full, full, full, cut, cut, full,
                                                     full, "###############."}));
  DeleteObject(rgn);
}

TEST_F(SkinRegionFixture, MaskSmallerThanItsElementCutsWhatItLacks) {
  Mask = MaskFrom(std::vector<String>(6, String(6, '#')));
  const std::vector<String> shape = Compose(16, 12);
  ASSERT_EQ(shape.size(), 12u);
  for (Integer y = 3; y < 9; ++y) EXPECT_EQ(shape[size_t(y)].substr(3, 10), String(10, '#')) << y;
  EXPECT_EQ(shape[0][15], '.');  // from mask column 9, which the mask does not have
  EXPECT_EQ(shape[0][0], '#');
  EXPECT_EQ(shape[11], String(16, '.'));  // no bottom border rows in a 6-row mask
}

}  // namespace
