#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/testkit/gdi_test_util.h"

namespace {

constexpr uint32_t Paper = Bgra(0xEE, 0xEE, 0xEE, 0xFF);

std::set<std::pair<Integer, Integer>> changed(const TTestSurface& s, uint32_t background) {
  std::set<std::pair<Integer, Integer>> out;
  for (Integer y = 0; y < s.Height(); ++y)
    for (Integer x = 0; x < s.Width(); ++x)
      if (s.At(x, y) != background) out.insert({x, y});
  return out;
}

}  // namespace

TEST(LineTest, EndPointIsNeverDrawn) {
  struct Case {
    TPoint From, To;
  } cases[] = {{{2, 5}, {9, 5}}, {{9, 5}, {2, 5}}, {{5, 1}, {5, 9}}, {{1, 1}, {8, 8}},
               {{8, 2}, {2, 8}}, {{1, 2}, {9, 5}}, {{3, 9}, {5, 1}}, {{4, 4}, {4, 4}}};
  for (const auto& c : cases) {
    TTestSurface s(12, 12);
    s.Fill(Paper);
    MoveToEx(s.DC(), c.From.X, c.From.Y, nullptr);
    ASSERT_TRUE(LineTo(s.DC(), c.To.X, c.To.Y));
    auto pixels = changed(s, Paper);
    SCOPED_TRACE(testing::Message() << c.From.X << "," << c.From.Y << " -> " << c.To.X << "," << c.To.Y);
    EXPECT_EQ(pixels.count({c.To.X, c.To.Y}), 0u);
    size_t length = size_t(std::max(std::abs(c.To.X - c.From.X), std::abs(c.To.Y - c.From.Y)));
    EXPECT_EQ(pixels.size(), length);
    if (length) {
      EXPECT_EQ(pixels.count({c.From.X, c.From.Y}), 1u);
    }
    for (auto [x, y] : pixels) EXPECT_EQ(s.At(x, y), 0u);  // black pen, alpha 0
    TPoint pos;
    GetCurrentPositionEx(s.DC(), &pos);
    EXPECT_EQ(pos, c.To);
  }
}

TEST(LineTest, PolylineDrawsJointsOnceAndStyledPensRepeat) {
  TTestSurface s(20, 6);
  s.Fill(Paper);
  SetROP2(s.DC(), R2_XORPEN);
  HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(s.DC(), white);
  TPoint path[] = {{0, 0}, {5, 0}, {5, 3}, {0, 3}};
  ASSERT_TRUE(Polyline(s.DC(), path, 4));
  // XOR would cancel a joint drawn twice: every path pixel but the last point changed exactly once.
  auto pixels = changed(s, Paper);
  EXPECT_EQ(pixels.size(), 5u + 3u + 5u);
  EXPECT_EQ(pixels.count({5, 0}), 1u);
  EXPECT_EQ(pixels.count({0, 3}), 0u);
  EXPECT_EQ(s.At(5, 0), Bgra(0x11, 0x11, 0x11, 0));
  SelectObject(s.DC(), old);
  DeleteObject(white);

  // A dotted pen: 3 on, 3 off; gaps take the background colour in OPAQUE mode only.
  TTestSurface d(14, 2);
  d.Fill(Paper);
  HPEN dot = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
  old = SelectObject(d.DC(), dot);
  SetBkMode(d.DC(), TRANSPARENT);
  MoveToEx(d.DC(), 0, 0, nullptr);
  LineTo(d.DC(), 13, 0);
  SetBkMode(d.DC(), OPAQUE);
  SetBkColor(d.DC(), RGB(0, 0, 255));
  MoveToEx(d.DC(), 0, 1, nullptr);
  LineTo(d.DC(), 13, 1);
  const uint32_t red = Bgra(0, 0, 255), blue = Bgra(255, 0, 0);
  for (Integer x = 0; x < 13; ++x) {
    bool on = (x / 3) % 2 == 0;
    EXPECT_EQ(d.At(x, 0), on ? red : Paper) << x;
    EXPECT_EQ(d.At(x, 1), on ? red : blue) << x;
  }
  SelectObject(d.DC(), old);
  DeleteObject(dot);
}

TEST(RectangleTest, OutlineFillAndNullPen) {
  TTestSurface s(10, 10);
  s.Fill(Paper);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ oldBrush = SelectObject(s.DC(), red);
  ASSERT_TRUE(Rectangle(s.DC(), 1, 1, 6, 5));
  for (Integer y = 0; y < 10; ++y)
    for (Integer x = 0; x < 10; ++x) {
      bool inside = x >= 1 && x < 6 && y >= 1 && y < 5;
      bool edge = inside && (x == 1 || x == 5 || y == 1 || y == 4);
      uint32_t expected = !inside ? Paper : edge ? 0u : Bgra(0, 0, 255);
      ASSERT_EQ(s.At(x, y), expected) << x << "," << y;
    }
  // With a null pen the brush covers left..right-2 and top..bottom-2.
  s.Fill(Paper);
  HGDIOBJ oldPen = SelectObject(s.DC(), GetStockObject(NULL_PEN));
  Rectangle(s.DC(), 1, 1, 6, 5);
  auto pixels = changed(s, Paper);
  EXPECT_EQ(pixels.size(), 4u * 3u);
  EXPECT_EQ(pixels.count({5, 1}), 0u);
  EXPECT_EQ(pixels.count({4, 3}), 1u);
  SelectObject(s.DC(), oldPen);
  SelectObject(s.DC(), oldBrush);
  DeleteObject(red);
}

// The design-time dotted frame: pen dotted, XOR, hollow brush. Drawing it twice restores the picture.
TEST(RectangleTest, XorDottedFrameIsReversible) {
  TTestSurface s(40, 20);
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 40; ++x) s.Set(x, y, Bgra(Byte(x * 5), Byte(y * 9), 77, 0));
  TTestSurface before(40, 20);
  BitBlt(before.DC(), 0, 0, 40, 20, s.DC(), 0, 0, SRCCOPY);
  HPEN pen = CreatePen(PS_DOT, 1, RGB(206, 216, 255));
  SelectObject(s.DC(), pen);
  SelectObject(s.DC(), GetStockObject(NULL_BRUSH));
  SetROP2(s.DC(), R2_XORPEN);
  SetBkMode(s.DC(), TRANSPARENT);
  Rectangle(s.DC(), 2, 2, 30, 15);
  EXPECT_NE(s.At(2, 2), before.At(2, 2));
  EXPECT_EQ(s.At(5, 2), before.At(5, 2));  // first gap of the dots
  EXPECT_EQ(s.At(10, 10), before.At(10, 10));
  Rectangle(s.DC(), 2, 2, 30, 15);
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 40; ++x) ASSERT_EQ(s.At(x, y), before.At(x, y)) << x << "," << y;
  SelectObject(s.DC(), GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(FillTest, BrushWritesLeaveAlphaZeroAndRop2Modes) {
  TTestSurface s(6, 1);
  s.Fill(Bgra(0x10, 0x20, 0x30, 0xFF));
  TRect r{0, 0, 2, 1};
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(FillRect(s.DC(), &r, brush), 1);
  EXPECT_EQ(s.At(0, 0), Bgra(3, 2, 1, 0));
  // A system colour index + 1 in place of a brush.
  r = {2, 0, 3, 1};
  FillRect(s.DC(), &r, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_BTNFACE + 1)));
  EXPECT_EQ(s.At(2, 0), Bgra(200, 208, 212, 0));
  r = {3, 0, 4, 1};
  InvertRect(s.DC(), &r);
  EXPECT_EQ(s.At(3, 0), Bgra(0xEF, 0xDF, 0xCF, 0));
  SetROP2(s.DC(), R2_NOT);
  MoveToEx(s.DC(), 4, 0, nullptr);
  LineTo(s.DC(), 5, 0);
  EXPECT_EQ(s.At(4, 0), Bgra(0xEF, 0xDF, 0xCF, 0));
  EXPECT_EQ(SetPixel(s.DC(), 5, 0, RGB(9, 8, 7)), RGB(9, 8, 7));
  EXPECT_EQ(s.At(5, 0), Bgra(7, 8, 9, 0));
  EXPECT_EQ(GetPixel(s.DC(), 5, 0), RGB(9, 8, 7));
  EXPECT_EQ(GetPixel(s.DC(), 6, 0), CLR_INVALID);
  DeleteObject(brush);
}

TEST(FillTest, PaletteSurfacesTakeNearestEntryAndFrameRectDrawsOnce) {
  std::vector<RGBQUAD> palette = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 200, 0}};
  TTestSurface s(5, 4, 8, true, palette);
  HBRUSH reddish = CreateSolidBrush(RGB(180, 20, 10));
  TRect r{0, 0, 5, 4};
  FrameRect(s.DC(), &r, reddish);
  EXPECT_EQ(s.At(0, 0), 2u);
  EXPECT_EQ(s.At(4, 3), 2u);
  EXPECT_EQ(s.At(2, 2), 0u);
  EXPECT_EQ(GetPixel(s.DC(), 0, 0), RGB(200, 0, 0));
  DeleteObject(reddish);
}

TEST(FocusRectTest, DottedXorOnEvenPixelsAndReversible) {
  // XOR restores colours only where alpha is already 0 (pen writes clear it).
  const uint32_t paper = Bgra(0xEE, 0xEE, 0xEE, 0);
  TTestSurface s(8, 6);
  s.Fill(paper);
  TRect r{1, 1, 7, 5};
  ASSERT_TRUE(DrawFocusRect(s.DC(), &r));
  for (Integer y = 0; y < 6; ++y)
    for (Integer x = 0; x < 8; ++x) {
      bool frame = x >= 1 && x < 7 && y >= 1 && y < 5 && (x == 1 || x == 6 || y == 1 || y == 4);
      uint32_t expected = frame && (x + y) % 2 == 0 ? Bgra(0x11, 0x11, 0x11, 0) : paper;
      ASSERT_EQ(s.At(x, y), expected) << x << "," << y;
    }
  DrawFocusRect(s.DC(), &r);
  EXPECT_TRUE(changed(s, paper).empty());
}

TEST(DrawEdgeTest, RaisedAndSunkenColoursAndAdjust) {
  const uint32_t light = Bgra(200, 208, 212), dark = Bgra(64, 64, 64), white = Bgra(255, 255, 255),
                 shadow = Bgra(128, 128, 128), face = Bgra(200, 208, 212);
  TTestSurface s(6, 6);
  s.Fill(Paper);
  TRect r{0, 0, 6, 6};
  ASSERT_TRUE(DrawEdge(s.DC(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(r, (TRect{2, 2, 4, 4}));
  EXPECT_EQ(s.At(0, 0), light);
  EXPECT_EQ(s.At(0, 5), dark);  // the bottom line owns the bottom-left corner
  EXPECT_EQ(s.At(5, 0), dark);  // the right line owns the top-right corner
  EXPECT_EQ(s.At(1, 1), white);
  EXPECT_EQ(s.At(4, 4), shadow);
  EXPECT_EQ(s.At(1, 4), shadow);
  EXPECT_EQ(s.At(2, 2), face);

  s.Fill(Paper);
  r = {0, 0, 6, 6};
  DrawEdge(s.DC(), &r, EDGE_SUNKEN, BF_LEFT | BF_BOTTOM);
  EXPECT_EQ(r, (TRect{0, 0, 6, 6}));  // no BF_ADJUST
  EXPECT_EQ(s.At(0, 0), shadow);
  EXPECT_EQ(s.At(3, 5), white);
  EXPECT_EQ(s.At(1, 0), dark);  // inner left line starts at the top: no top border was drawn
  EXPECT_EQ(s.At(3, 4), light);
  EXPECT_EQ(s.At(5, 0), Paper);
}

// A window-like DC: origins and clip regions together, probed pixel by pixel.
TEST(ClipTest, OriginsAndClipRegionsApplyToEveryWrite) {
  TTestSurface s(30, 20);
  s.Fill(Paper);
  HDC dc = s.DC();
  SetViewportOrgEx(dc, 10, 5, nullptr);
  SetWindowOrgEx(dc, 2, 3, nullptr);        // logical (2, 3) is device (10, 5)
  HRGN clip = CreateRectRgn(8, 4, 20, 12);  // device coordinates
  EXPECT_EQ(SelectClipRgn(dc, clip), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(dc, 4, 4, 6, 6), COMPLEXREGION);  // logical: device 12..14 x 6..8
  TRect box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (TRect{0, 2, 12, 10}));
  TRect all{-100, -100, 100, 100};
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
  FillRect(dc, &all, brush);
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 30; ++x) {
      bool drawn = x >= 8 && x < 20 && y >= 4 && y < 12 && !(x >= 12 && x < 14 && y >= 6 && y < 8);
      ASSERT_EQ(s.At(x, y), drawn ? 0u : Paper) << x << "," << y;
    }
  EXPECT_EQ(GetPixel(dc, 4, 4), CLR_INVALID);   // excluded
  EXPECT_EQ(GetPixel(dc, 0, 2), RGB(0, 0, 0));  // device (8, 4)

  // SaveDC/RestoreDC bring back origins and clip; a blit goes through the clip too.
  Integer saved = SaveDC(dc);
  EXPECT_EQ(saved, 1);
  SelectClipRgn(dc, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  EXPECT_EQ(GetClipRgn(dc, clip), 0);
  ASSERT_TRUE(RestoreDC(dc, -1));
  TPoint org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org, (TPoint{10, 5}));
  EXPECT_EQ(GetClipRgn(dc, clip), 1);
  EXPECT_FALSE(PtInRegion(clip, 12, 6));
  EXPECT_TRUE(PtInRegion(clip, 8, 4));
  TTestSurface white(40, 40);
  white.Fill(Bgra(255, 255, 255, 0xFF));
  BitBlt(dc, 0, 2, 12, 8, white.DC(), 0, 0, SRCCOPY);  // device (8, 4) .. (20, 12)
  EXPECT_EQ(s.At(8, 4), Bgra(255, 255, 255, 0xFF));
  EXPECT_EQ(s.At(12, 6), Paper);  // excluded
  EXPECT_EQ(s.At(7, 4), Paper);
  EXPECT_FALSE(RestoreDC(dc, 1));  // already restored
  DeleteObject(clip);
  DeleteObject(brush);
}

TEST(ClipTest, SurfaceDCsHaveAnOriginAndABaseClip) {
  TTestSurface backing(40, 30);
  backing.Fill(Paper);
  HRGN base = CreateRectRgn(0, 0, 10, 10);
  HDC dc = GdiCreateSurfaceDC(backing.Bitmap(), {20, 10}, base);
  ASSERT_NE(dc, nullptr);
  TRect box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (TRect{0, 0, 10, 10}));
  HRGN more = CreateRectRgn(5, 5, 50, 50);
  SelectClipRgn(dc, more);  // cannot widen past the base clip
  TRect all{-50, -50, 50, 50};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(changed(backing, Paper).size(), 25u);
  EXPECT_EQ(backing.At(25, 15), 0u);
  EXPECT_EQ(backing.At(30, 20), Paper);
  // A DC over a surface cannot take a bitmap, and ReleaseDC frees it.
  HBITMAP other = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(dc, other), nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
  EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
  DeleteObject(other);
  DeleteObject(base);
  DeleteObject(more);

  HDC screen = GetDC(nullptr);
  GetClipBox(screen, &box);
  EXPECT_EQ(box, (TRect{0, 0, ScreenWidth, ScreenHeight}));
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(ObjectTest, SelectionOwnershipAndDeletion) {
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(4, 4, 1, 32, nullptr);
  HGDIOBJ defaultBitmap = SelectObject(a, bm);
  ASSERT_NE(defaultBitmap, nullptr);
  EXPECT_EQ(SelectObject(b, bm), nullptr);  // one DC at a time
  EXPECT_FALSE(DeleteObject(bm));           // still selected
  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  EXPECT_EQ(SelectObject(a, pen), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  LOGPEN lp;
  EXPECT_EQ(GetObject(pen, sizeof lp, &lp), Integer(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, PS_DASH);
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(GetCurrentObject(a, OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(a, defaultBitmap), bm);
  EXPECT_NE(SelectObject(b, bm), nullptr);  // free again
  SelectObject(a, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects stay
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), DWORD(OBJ_BRUSH));
  EXPECT_EQ(GetObjectType(a), DWORD(OBJ_MEMDC));
  DeleteDC(b);  // releases bm
  EXPECT_TRUE(DeleteObject(bm));
  DeleteDC(a);
  EXPECT_FALSE(DeleteDC(a));
}

TEST(CoverageTest, BlendsTextColourThroughClipAndRectangle) {
  TTestSurface s(4, 1);
  s.Fill(Bgra(0, 0, 0, 0xFF));
  const Byte coverage[] = {255, 128, 0, 255};
  TRect clip{0, 0, 3, 1};
  ASSERT_TRUE(GdiDrawCoverage(s.DC(), 0, 0, coverage, 4, 1, 4, RGB(255, 255, 255), &clip));
  EXPECT_EQ(s.At(0, 0), Bgra(255, 255, 255, 0));
  EXPECT_EQ(s.At(1, 0), Bgra(128, 128, 128, 0));
  EXPECT_EQ(s.At(2, 0), Bgra(0, 0, 0, 0xFF));  // no coverage: untouched
  EXPECT_EQ(s.At(3, 0), Bgra(0, 0, 0, 0xFF));  // outside the rectangle
}
