#include "skin/core/bseffectbmp.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/graphics/bitmap.h"

namespace {

// Pixels as 0xRRGGBB.
struct TPic {
  explicit TPic(Integer w, Integer h, Cardinal fill = 0) : Bmp(w, h) {
    for (Integer y = 0; y < h; ++y)
      for (Integer x = 0; x < w; ++x) Set(x, y, fill);
  }
  Byte* At(Integer x, Integer y) const { return Bmp.Bits + y * (3 * Bmp.Width + Bmp.Width % 4) + 3 * x; }
  Cardinal Get(Integer x, Integer y) const {
    const Byte* p = At(x, y);
    return Cardinal(p[2]) << 16 | Cardinal(p[1]) << 8 | p[0];
  }
  void Set(Integer x, Integer y, Cardinal v) {
    Byte* p = At(x, y);
    p[0] = Byte(v);
    p[1] = Byte(v >> 8);
    p[2] = Byte(v >> 16);
  }
  std::vector<Cardinal> Row(Integer y) const {
    std::vector<Cardinal> r;
    for (Integer x = 0; x < Bmp.Width; ++x) r.push_back(Get(x, y));
    return r;
  }
  std::vector<Cardinal> Column(Integer x) const {
    std::vector<Cardinal> c;
    for (Integer y = 0; y < Bmp.Height; ++y) c.push_back(Get(x, y));
    return c;
  }
  mutable TbsEffectBmp Bmp;
};

// Own image all 0, other image all 200: a pixel's grey value g shows the own weight t as
// g = round(200 * (1 - t)).
Byte grey(Cardinal v) {
  return Byte(v & 0xFF);
}

TEST(EffectBmp, LayoutAndCopies) {
  TbsEffectBmp b(5, 3);
  EXPECT_EQ(b.BmpHeader.biBitCount, 24);
  EXPECT_EQ(b.BmpHeader.biHeight, -3);
  EXPECT_EQ(b.Size, 16 * 3);  // 3 * 5 + 5 mod 4
  TPic p(5, 3);
  p.Set(4, 2, 0x123456);
  auto copy = TbsEffectBmp::CreateCopy(&p.Bmp);
  EXPECT_EQ(copy->Width, 5);
  EXPECT_EQ(copy->Bits[2 * 16 + 12], 0x56);
  Byte line[15];
  p.Bmp.GetScanLine(2, line);
  EXPECT_EQ(line[12], 0x56);
  EXPECT_EQ(line[14], 0x12);
}

TEST(EffectBmp, FromAPlatformBitmapAndBackOntoADC) {
  TBitmap src;
  src.SetPixelFormat(pf32bit);
  src.SetSize(3, 2);
  src.Canvas()->Brush()->SetColor(TColor(0x102030));  // 0x00BBGGRR: red 0x30
  src.Canvas()->FillRect(Rect(0, 0, 3, 2));
  src.Canvas()->Brush()->SetColor(clLime);
  src.Canvas()->FillRect(Rect(2, 1, 3, 2));
  auto e = TbsEffectBmp::CreateFromhWnd(src.Handle());
  ASSERT_EQ(e->Width, 3);
  ASSERT_EQ(e->Height, 2);
  EXPECT_EQ(e->Bits[0], 0x10);  // blue
  EXPECT_EQ(e->Bits[2], 0x30);  // red
  const Byte* lime = e->Bits + 12 + 6;
  EXPECT_EQ(lime[1], 0xFF);

  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(6, 5);
  e->Draw(target.Canvas()->Handle(), 1, 1);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), TColor(0x102030));
  EXPECT_EQ(target.Canvas()->Pixels(3, 2), clLime);
  // DrawRect: the 1 x 1 block at (2, 1) at (5, 4), unscaled and upright.
  e->DrawRect(target.Canvas()->Handle(), 5, 4, 2, 1, 1, 1);
  EXPECT_EQ(target.Canvas()->Pixels(5, 4), clLime);
  e->DrawRect(target.Canvas()->Handle(), 4, 0, 1, 0, 2, 2);
  EXPECT_EQ(target.Canvas()->Pixels(4, 0), TColor(0x102030));
  EXPECT_EQ(target.Canvas()->Pixels(5, 1), clLime);
}

TEST(EffectBmp, MorphClampsAndRefusesOtherSizes) {
  struct TCase {
    Double kf;
    Cardinal expected;
  } cases[] = {{0, 0x000000}, {1, 0xC8C8C8}, {1.7, 0xC8C8C8}, {-3, 0}, {0.5, 0x646464}, {0.3, 0x3C3C3C}};
  for (const auto& c : cases) {
    TPic own(2, 2), other(2, 2, 0xC8C8C8);
    own.Bmp.Morph(&other.Bmp, c.kf);
    EXPECT_EQ(own.Get(1, 1), c.expected) << c.kf;
  }
  TPic own(2, 2, 0x010203), wider(3, 2, 0xFFFFFF);
  for (auto fn : {&TbsEffectBmp::Morph, &TbsEffectBmp::MorphHGrad, &TbsEffectBmp::MorphVGrad,
                  &TbsEffectBmp::MorphLeftGrad, &TbsEffectBmp::MorphRightGrad, &TbsEffectBmp::MorphPush,
                  &TbsEffectBmp::MorphLeftSlide, &TbsEffectBmp::MorphRightSlide})
    (own.Bmp.*fn)(&wider.Bmp, 1);
  EXPECT_EQ(own.Get(0, 0), 0x010203u);
}

TEST(EffectBmp, MorphRectAndCopyRectDifferInTheirEdges) {
  TPic own(4, 4), other(4, 4, 0x0A0A0A);
  own.Bmp.MorphRect(&other.Bmp, 1, Rect(1, 1, 3, 3), 0, 0);
  EXPECT_EQ(own.Column(1), (std::vector<Cardinal>{0, 0x0A0A0A, 0x0A0A0A, 0}));
  TPic copied(4, 4);
  copied.Bmp.CopyRect(&other.Bmp, Rect(1, 1, 3, 3), 0, 0);  // right and bottom included
  EXPECT_EQ(copied.Column(3), (std::vector<Cardinal>{0, 0x0A0A0A, 0x0A0A0A, 0x0A0A0A}));
  TPic edge(4, 4);
  edge.Bmp.CopyRect(&other.Bmp, Rect(2, 0, 9, 0), 0, 0);  // past the right edge: up to column 3
  EXPECT_EQ(edge.Row(0), (std::vector<Cardinal>{0, 0, 0x0A0A0A, 0x0A0A0A}));
}

TEST(EffectBmp, HorizontalGradientBand) {
  TPic own(10, 1), other(10, 1, 0xC8C8C8);
  own.Bmp.MorphHGrad(&other.Bmp, 0);
  // Band at column 5; own weight 0.2 per column to the left (1.0 at 0), to the right up to 0.8 at 9.
  const Byte expected[10] = {0, 40, 80, 120, 160, 200, 160, 120, 80, 40};
  for (Integer x = 0; x < 10; ++x) EXPECT_EQ(grey(own.Get(x, 0)), expected[x]) << x;

  TPic own2(10, 1), other2(10, 1, 0xC8C8C8);
  own2.Bmp.MorphHGrad(&other2.Bmp, 0.9);  // b = 9, d = 0, step 1
  EXPECT_EQ(grey(own2.Get(0, 0)), 0);
  for (Integer x = 1; x < 10; ++x) EXPECT_EQ(grey(own2.Get(x, 0)), 200) << x;
}

TEST(EffectBmp, VerticalGradientAndTheChoiceBetweenThem) {
  TPic own(1, 10), other(1, 10, 0xC8C8C8);
  own.Bmp.MorphVGrad(&other.Bmp, 0.9);  // b = 9, d = 0, step 0: everything takes the other image
  EXPECT_EQ(own.Column(0), std::vector<Cardinal>(10, 0xC8C8C8));
  TPic tall(1, 10), tallOther(1, 10, 0xC8C8C8);
  tall.Bmp.MorphGrad(&tallOther.Bmp, 0);  // narrower than high: vertical; d = 4, step 0.25
  const Byte expected[10] = {0, 0, 50, 100, 150, 200, 150, 100, 50, 0};
  for (Integer y = 0; y < 10; ++y) EXPECT_EQ(grey(tall.Get(0, y)), expected[y]) << y;
}

TEST(EffectBmp, SideGradients) {
  TPic own(10, 1), other(10, 1, 0xC8C8C8);
  own.Bmp.MorphLeftGrad(&other.Bmp, 1);  // b = 9, linear from the other image to the own one
  EXPECT_EQ(grey(own.Get(0, 0)), 200);
  EXPECT_EQ(grey(own.Get(9, 0)), 0);
  for (Integer x = 1; x < 10; ++x) EXPECT_LT(grey(own.Get(x, 0)), grey(own.Get(x - 1, 0)));
  TPic r(10, 1), rOther(10, 1, 0xC8C8C8);
  r.Bmp.MorphRightGrad(&rOther.Bmp, 0.5);  // c = 5, step 1/5 from the right
  const Byte expected[10] = {0, 0, 0, 0, 0, 40, 80, 120, 160, 200};
  for (Integer x = 0; x < 10; ++x) EXPECT_EQ(grey(r.Get(x, 0)), expected[x]) << x;
}

struct TSlideCase {
  const char* what;
  void (TbsEffectBmp::*fn)(TbsEffectBmp*, Double);
  Double kf;
  std::vector<Cardinal> expected;  // own columns are 0..4, other columns 100..104
};

const TSlideCase SlideCases[] = {
    {"push 0", &TbsEffectBmp::MorphPush, 0, {104, 0, 1, 2, 3}},
    {"push 0.4", &TbsEffectBmp::MorphPush, 0.4, {102, 103, 104, 0, 1}},
    {"left slide 0", &TbsEffectBmp::MorphLeftSlide, 0, {104, 1, 2, 3, 4}},
    {"left slide 1", &TbsEffectBmp::MorphLeftSlide, 1, {101, 102, 103, 104, 4}},
    {"right slide 0", &TbsEffectBmp::MorphRightSlide, 0, {0, 1, 2, 3, 100}},
    {"right slide 0.4", &TbsEffectBmp::MorphRightSlide, 0.4, {0, 1, 2, 100, 101}},
};

TEST(EffectBmp, PushAndSlides) {
  for (const auto& c : SlideCases) {
    TPic own(5, 2), other(5, 2);
    for (Integer y = 0; y < 2; ++y)
      for (Integer x = 0; x < 5; ++x) {
        own.Set(x, y, Cardinal(x));
        other.Set(x, y, 100 + Cardinal(x));
      }
    (own.Bmp.*c.fn)(&other.Bmp, c.kf);
    EXPECT_EQ(own.Row(0), c.expected) << c.what;
    EXPECT_EQ(own.Row(1), c.expected) << c.what;
  }
}

TEST(EffectBmp, ToneEffectsRoundHalvesToEven) {
  TPic p(4, 1);
  p.Set(0, 0, 0x0000FF);  // blue 255
  p.Set(1, 0, 0xFF0000);  // red 255: 0.30 * 255 = 76.5 -> 76
  p.Set(2, 0, 0x00FF00);  // green: 150.45 -> 150
  p.Set(3, 0, 0x808080);
  TPic g(4, 1);
  for (Integer x = 0; x < 4; ++x) g.Set(x, 0, p.Get(x, 0));
  g.Bmp.GrayScale();
  EXPECT_EQ(g.Row(0), (std::vector<Cardinal>{0x1C1C1C, 0x4C4C4C, 0x969696, 0x808080}));
  TPic b(2, 1);
  b.Set(1, 0, 0xFF0001);
  b.Bmp.ChangeBrightness(0.5);  // 0 -> 127.5 -> 128; 255 stays; 1 -> 128
  EXPECT_EQ(b.Row(0), (std::vector<Cardinal>{0x808080, 0xFF8080}));
  b.Bmp.ChangeDarkness(2);  // clamped to 1: black
  EXPECT_EQ(b.Row(0), (std::vector<Cardinal>{0, 0}));
  b.Bmp.Invert();
  EXPECT_EQ(b.Row(0), (std::vector<Cardinal>{0xFFFFFF, 0xFFFFFF}));
}

TEST(EffectBmp, SplitBlurReadsAlreadyBlurredPixelsAbove) {
  TPic p(3, 3);
  const Cardinal values[3][3] = {{40, 80, 120}, {0, 0, 0}, {200, 160, 240}};
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 3; ++x) p.Set(x, y, values[y][x]);
  p.Bmp.SplitBlur(1);
  // Top-left: itself, the pixel right of it and the two below: (40 + 80 + 0 + 0) >> 2.
  EXPECT_EQ(grey(p.Get(0, 0)), 30);
  // The centre: the two top corners as already blurred in this pass, the bottom ones as they were.
  EXPECT_EQ(grey(p.Get(1, 1)), (grey(p.Get(0, 0)) + grey(p.Get(2, 0)) + 200 + 240) >> 2);
  // The bottom row's lower neighbour index is Height - y = 1: it reads the row above.
  EXPECT_EQ(grey(p.Get(0, 2)),
            (grey(p.Get(0, 1)) + grey(p.Get(0, 1)) + grey(p.Get(1, 1)) + grey(p.Get(1, 1))) >> 2);
}

TEST(EffectBmp, BlurAmountsZeroOrTooLargeStayInside) {
  TPic p(3, 2, 0x101010);
  p.Set(0, 0, 0xF0F0F0);
  const auto before = p.Row(0);
  p.Bmp.SplitBlur(0);
  EXPECT_EQ(p.Row(0), before);
  for (Integer amount : {3, 50, -2}) {
    TPic q(3, 2, 0x101010);
    q.Bmp.SplitBlur(amount);  // a flat image stays flat; nothing outside is read
    EXPECT_EQ(q.Row(1), std::vector<Cardinal>(3, 0x101010)) << amount;
  }
}

TEST(EffectBmp, MaskOperationsTouchOnlyNonWhiteMaskPixels) {
  TPic p(4, 1, 0x000000), mask(4, 1, 0xFFFFFF);
  p.Set(0, 0, 0x808080);
  mask.Set(1, 0, 0x000000);
  mask.Set(2, 0, 0xFFFFFE);
  p.Bmp.MaskFillColor(&mask.Bmp, clRed, 0.5);
  EXPECT_EQ(p.Row(0), (std::vector<Cardinal>{0x808080, 0x800000, 0x800000, 0}));
  TPic shortMask(4, 0 + 1, 0);
  TPic tall(4, 2, 0x202020);
  tall.Bmp.MaskFillColor(&shortMask.Bmp, clRed, 1);  // mask has fewer rows: nothing
  EXPECT_EQ(tall.Row(1), std::vector<Cardinal>(4, 0x202020));

  // Antialiasing only where a corner of the blur meets white in the mask.
  TPic img(5, 1), m(5, 1, 0);
  img.Set(4, 0, 0x404040);
  m.Set(4, 0, 0xFFFFFF);
  TPic blurred(5, 1);
  blurred.Set(4, 0, 0x404040);
  img.Bmp.MaskAntialiasing(&m.Bmp, 1);
  blurred.Bmp.MaskBlur(&m.Bmp, 1);
  EXPECT_EQ(grey(img.Get(3, 0)), grey(blurred.Get(3, 0)));
  EXPECT_NE(grey(img.Get(3, 0)), 0);
  EXPECT_EQ(grey(img.Get(0, 0)), 0);
  EXPECT_EQ(grey(img.Get(4, 0)), 0x40);  // white in the mask: kept
}

TEST(EffectBmp, GeometryRotationsAndFlip) {
  TPic p(3, 2);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x) p.Set(x, y, Cardinal(10 * y + x));
  TPic anti(2, 3), clock(2, 3), flip(3, 2), wrong(3, 3, 7);
  p.Bmp.Rotate90_1(&anti.Bmp);
  p.Bmp.Rotate90_2(&clock.Bmp);
  p.Bmp.FlipVert(&flip.Bmp);
  p.Bmp.Rotate90_1(&wrong.Bmp);
  EXPECT_EQ(anti.Row(0), (std::vector<Cardinal>{2, 12}));  // (y, W-1-x) := (x, y)
  EXPECT_EQ(anti.Row(2), (std::vector<Cardinal>{0, 10}));
  EXPECT_EQ(clock.Row(0), (std::vector<Cardinal>{10, 0}));  // (H-1-y, x) := (x, y)
  EXPECT_EQ(flip.Row(0), (std::vector<Cardinal>{10, 11, 12}));
  EXPECT_EQ(wrong.Get(0, 0), 7u);
}

TEST(EffectBmp, MosaicResizeWaveAndNoise) {
  TPic p(5, 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 5; ++x) p.Set(x, y, Cardinal(10 * y + x));
  p.Bmp.Mosaic(2);
  EXPECT_EQ(p.Row(1), (std::vector<Cardinal>{0, 0, 2, 2, 4}));
  EXPECT_EQ(p.Row(2), (std::vector<Cardinal>{20, 20, 22, 22, 24}));
  p.Bmp.Mosaic(0);  // no blocks: unchanged
  EXPECT_EQ(p.Row(2), (std::vector<Cardinal>{20, 20, 22, 22, 24}));

  TPic small(2, 1), big(5, 1, 9);
  small.Set(0, 0, 1);
  small.Set(1, 0, 2);
  small.Bmp.Resize(&big.Bmp);  // kx = 2: blocks of 3 at 0 and 2, the later wins
  EXPECT_EQ(big.Row(0), (std::vector<Cardinal>{1, 1, 2, 2, 2}));

  TPic w(4, 4, 5);
  w.Bmp.Wave(0, 3, 2);  // a zero divisor: nothing
  EXPECT_EQ(w.Row(0), std::vector<Cardinal>(4, 5));
  w.Set(3, 0, 77);
  w.Bmp.Wave(1, 1, 100);  // offsets clamp into the picture
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) EXPECT_TRUE(w.Get(x, y) == 5 || w.Get(x, y) == 77);

  EffectsRandSeed(42);
  TPic n(8, 8, 0x808080);
  n.Bmp.AddMonoNoise(20);
  bool changed = false;
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) {
      const Cardinal v = n.Get(x, y);
      const Byte b = Byte(v), g = Byte(v >> 8), r = Byte(v >> 16);
      EXPECT_TRUE(b == g && g == r);  // one draw for all three channels
      EXPECT_GE(b, 128 - 10);
      EXPECT_LE(b, 128 + 9);
      changed = changed || b != 128;
    }
  EXPECT_TRUE(changed);
  TPic quiet(2, 2, 0x808080);
  quiet.Bmp.AddColorNoise(0);
  quiet.Bmp.AddMonoNoise(1);
  EXPECT_EQ(quiet.Row(1), std::vector<Cardinal>(2, 0x808080));
}

TEST(EffectBmp, RefusedSizeGivesAnInertBitmap) {
  TbsEffectBmp none(0, 5);
  EXPECT_EQ(none.Handle, nullptr);
  EXPECT_EQ(none.Bits, nullptr);
  TbsEffectBmp other(0, 5);
  none.Morph(&other, 0.5);
  none.SplitBlur(1);
  none.GrayScale();
  none.Wave(1, 1, 1);
  none.AddColorNoise(10);
  auto copy = TbsEffectBmp::CreateCopy(&none);
  EXPECT_EQ(copy->Bits, nullptr);
}

}  // namespace
