#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

HRGN regionOf(const std::vector<TRect>& rects) {
  std::vector<Byte> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(TRect));
  RGNDATAHEADER h;
  h.nCount = DWORD(rects.size());
  std::memcpy(block.data(), &h, sizeof h);
  if (!rects.empty()) std::memcpy(block.data() + sizeof h, rects.data(), rects.size() * sizeof(TRect));
  return ExtCreateRegion(nullptr, DWORD(block.size()), reinterpret_cast<RGNDATA*>(block.data()));
}

std::vector<TRect> rectsOf(HRGN rgn) {
  DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<Byte> block(size);
  EXPECT_EQ(GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(block.data())), size);
  RGNDATAHEADER h;
  std::memcpy(&h, block.data(), sizeof h);
  std::vector<TRect> rects(h.nCount);
  if (!rects.empty()) std::memcpy(rects.data(), block.data() + sizeof h, rects.size() * sizeof(TRect));
  return rects;
}

// Each mode as its truth table: whether a point is in the result when it is in neither operand, in B
// only, in A only, in both.
struct ModeTable {
  Integer Mode;
  bool Result[4];
};
constexpr ModeTable Modes[] = {
    {RGN_AND, {false, false, false, true}}, {RGN_OR, {false, true, true, true}},
    {RGN_XOR, {false, true, true, false}},  {RGN_DIFF, {false, false, true, false}},
    {RGN_COPY, {false, false, true, true}},
};

struct ShapePair {
  const char* Name;
  std::vector<TRect> A, B;
};

}  // namespace

// Every combine mode agrees pixel by pixel with the boolean of its operands, and the result is
// canonical: rebuilding it from its own rectangles, in reverse order, gives an equal region.
TEST(RegionTest, CombineMatchesPixelwiseOperationAndIsCanonical) {
  const std::vector<ShapePair> pairs = {
      {"overlapping squares", {{0, 0, 10, 10}}, {{5, 5, 15, 15}}},
      {"disjoint", {{0, 0, 4, 4}}, {{8, 8, 12, 12}}},
      {"touching edge", {{0, 0, 5, 10}}, {{5, 0, 10, 10}}},
      {"L against bar", {{0, 0, 3, 12}, {0, 9, 12, 12}}, {{2, 2, 14, 10}}},
      {"holes", {{0, 0, 16, 16}}, {{2, 2, 4, 4}, {8, 2, 12, 14}, {1, 10, 5, 12}}},
      {"empty operand", {{3, 3, 9, 9}}, {}},
  };
  for (const auto& pair : pairs) {
    for (const ModeTable& table : Modes) {
      const Integer mode = table.Mode;
      SCOPED_TRACE(std::string(pair.Name) + " mode " + std::to_string(mode));
      HRGN a = regionOf(pair.A), b = regionOf(pair.B), r = CreateRectRgn(0, 0, 0, 0);
      Integer type = CombineRgn(r, a, b, mode);
      bool any = false;
      for (Integer y = -2; y < 18; ++y)
        for (Integer x = -2; x < 18; ++x) {
          bool expected = table.Result[2 * PtInRegion(a, x, y) + PtInRegion(b, x, y)];
          ASSERT_EQ(PtInRegion(r, x, y), expected) << x << "," << y;
          any |= expected;
        }
      std::vector<TRect> rects = rectsOf(r);
      EXPECT_EQ(type, !any ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION);
      std::vector<TRect> reversed(rects.rbegin(), rects.rend());
      HRGN rebuilt = regionOf(reversed);
      EXPECT_TRUE(EqualRgn(r, rebuilt));
      EXPECT_EQ(rectsOf(rebuilt), rects);
      for (HRGN h : {a, b, r, rebuilt}) DeleteObject(h);
    }
  }
}

// A mask's runs (one rectangle per row run, as the skin's mask scan makes them) merge into bands:
// equal rows become one band, a change of runs starts a new one.
TEST(RegionTest, ExtCreateRegionMergesRowRunsIntoBands) {
  std::vector<TRect> runs = {
      {0, 0, 3, 1}, {5, 0, 8, 1},  // row 0: two runs
      {0, 1, 3, 2}, {5, 1, 8, 2},  // row 1: the same runs
      {0, 2, 8, 3},                // row 2: one run
      {2, 3, 4, 4}, {4, 3, 6, 4},  // row 3: touching runs join
  };
  HRGN r = regionOf(runs);
  std::vector<TRect> expected = {{0, 0, 3, 2}, {5, 0, 8, 2}, {0, 2, 8, 3}, {2, 3, 6, 4}};
  EXPECT_EQ(rectsOf(r), expected);
  TRect box;
  EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
  EXPECT_EQ(box, (TRect{0, 0, 8, 4}));
  DeleteObject(r);
}

TEST(RegionTest, ExtCreateRegionRefusesBadBlocksAndAppliesTranslation) {
  std::vector<Byte> block(sizeof(RGNDATAHEADER) + 2 * sizeof(TRect));
  RGNDATAHEADER h;
  h.nCount = 2;
  std::memcpy(block.data(), &h, sizeof h);
  TRect rects[2] = {{0, 0, 2, 2}, {4, 0, 6, 2}};
  std::memcpy(block.data() + sizeof h, rects, sizeof rects);
  auto* data = reinterpret_cast<RGNDATA*>(block.data());

  EXPECT_EQ(ExtCreateRegion(nullptr, DWORD(block.size() - 1), data), nullptr);  // second rectangle cut off
  EXPECT_EQ(ExtCreateRegion(nullptr, 8, data), nullptr);
  EXPECT_EQ(ExtCreateRegion(nullptr, DWORD(block.size()), nullptr), nullptr);
  XFORM rotate;
  rotate.eM12 = 1;
  EXPECT_EQ(ExtCreateRegion(&rotate, DWORD(block.size()), data), nullptr);
  RGNDATAHEADER wrongType = h;
  wrongType.iType = 2;
  std::memcpy(block.data(), &wrongType, sizeof wrongType);
  EXPECT_EQ(ExtCreateRegion(nullptr, DWORD(block.size()), data), nullptr);
  std::memcpy(block.data(), &h, sizeof h);

  XFORM shift;
  shift.eDx = 10;
  shift.eDy = -1;
  HRGN r = ExtCreateRegion(&shift, DWORD(block.size()), data);
  ASSERT_NE(r, nullptr);
  std::vector<TRect> expected = {{10, -1, 12, 1}, {14, -1, 16, 1}};
  EXPECT_EQ(rectsOf(r), expected);
  DeleteObject(r);
}

TEST(RegionTest, PointAndRectangleTestsUseExclusiveEdges) {
  HRGN r = regionOf({{0, 0, 10, 10}, {20, 0, 30, 10}});
  struct Probe {
    Integer X, Y;
    bool In;
  } probes[] = {{0, 0, true},   {9, 9, true},  {10, 5, false}, {5, 10, false},
                {19, 0, false}, {20, 0, true}, {-1, 0, false}};
  for (const auto& p : probes) EXPECT_EQ(PtInRegion(r, p.X, p.Y), p.In) << p.X << "," << p.Y;
  TRect gap{10, 0, 20, 10}, straddle{9, 9, 21, 11}, reversed{21, 11, 9, 9}, below{0, 10, 30, 20};
  EXPECT_FALSE(RectInRegion(r, &gap));
  EXPECT_TRUE(RectInRegion(r, &straddle));
  EXPECT_TRUE(RectInRegion(r, &reversed));
  EXPECT_FALSE(RectInRegion(r, &below));
  DeleteObject(r);
}

TEST(RegionTest, EditingCallsAndFailures) {
  HRGN a = CreateRectRgn(10, 10, 0, 0);  // reversed corners are ordered
  TRect box;
  EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(OffsetRgn(a, 5, -5), SIMPLEREGION);
  GetRgnBox(a, &box);
  EXPECT_EQ(box, (TRect{5, -5, 15, 5}));

  // The destination may be an operand.
  HRGN b = CreateRectRgn(10, 0, 20, 5);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  GetRgnBox(a, &box);
  EXPECT_EQ(box, (TRect{5, -5, 20, 5}));
  EXPECT_EQ(rectsOf(a), (std::vector<TRect>{{5, -5, 15, 0}, {5, 0, 20, 5}}));

  // Failures leave the destination alone.
  EXPECT_EQ(CombineRgn(a, b, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(CombineRgn(a, b, b, 9), ERROR);
  EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);

  EXPECT_TRUE(SetRectRgn(a, 0, 0, 0, 0));
  EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
  EXPECT_EQ(box, (TRect{}));
  EXPECT_EQ(GetRegionData(a, 0, nullptr), sizeof(RGNDATAHEADER));

  DeleteObject(a);
  DeleteObject(b);
  EXPECT_FALSE(PtInRegion(a, 0, 0));  // a deleted handle is refused, not read
  EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);
  EXPECT_FALSE(DeleteObject(a));
}

TEST(RegionTest, EllipticAndRoundRegionsStayInsideTheirBox) {
  HRGN e = CreateEllipticRgn(0, 0, 20, 10);
  TRect box;
  GetRgnBox(e, &box);
  EXPECT_EQ(box, (TRect{0, 0, 20, 10}));
  EXPECT_TRUE(PtInRegion(e, 10, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));
  EXPECT_FALSE(PtInRegion(e, 19, 9));
  HRGN rr = CreateRoundRectRgn(0, 0, 20, 20, 6, 6);
  EXPECT_TRUE(PtInRegion(rr, 0, 10));
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_TRUE(PtInRegion(rr, 3, 0));
  DeleteObject(e);
  DeleteObject(rr);
}

TEST(RectHelpersTest, Table) {
  struct Case {
    TRect A, B;
    bool Intersects;
    TRect Intersection, Union, Difference;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, true, {5, 5, 10, 10}, {0, 0, 15, 15}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {}, {0, 0, 20, 10}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {0, 0, 10, 4}, true, {0, 0, 10, 4}, {0, 0, 10, 10}, {0, 4, 10, 10}},
      {{0, 0, 10, 10}, {6, -5, 20, 20}, true, {6, 0, 10, 10}, {0, -5, 20, 20}, {0, 0, 6, 10}},
      {{0, 0, 10, 10}, {3, 3, 5, 5}, true, {3, 3, 5, 5}, {0, 0, 10, 10}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {4, 4, 4, 9}, false, {}, {0, 0, 10, 10}, {0, 0, 10, 10}},
  };
  for (const auto& c : cases) {
    TRect r{1, 1, 1, 1};
    EXPECT_EQ(IntersectRect(&r, &c.A, &c.B), c.Intersects);
    EXPECT_EQ(r, c.Intersection);
    EXPECT_TRUE(UnionRect(&r, &c.A, &c.B));
    EXPECT_EQ(r, c.Union);
    SubtractRect(&r, &c.A, &c.B);
    EXPECT_EQ(r, c.Difference);
  }
  TRect r{0, 0, 10, 10};
  InflateRect(&r, 2, -1);
  EXPECT_EQ(r, (TRect{-2, 1, 12, 9}));
  OffsetRect(&r, 2, -1);
  EXPECT_EQ(r, (TRect{0, 0, 14, 8}));
  EXPECT_TRUE(PtInRect(&r, {0, 0}));
  EXPECT_FALSE(PtInRect(&r, {14, 0}));
  TRect inverted{5, 0, 0, 5};
  EXPECT_TRUE(IsRectEmpty(&inverted));
}
