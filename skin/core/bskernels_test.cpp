#include "skin/core/bskernels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TBlendCase {
  TbsColor F, B, Plain, MMX;
};

// Both blend formulas side by side: the plain pair weighs the background by 255 - a and forces alpha
// 255; the MMX pair weighs it by 256 - a and blends alpha like a colour.
const TBlendCase BlendCases[] = {
    {0x80FF0000, 0xFF0000FF, 0xFF7F007E, 0xBF7F007F},
    {0x01000000, 0xFFFFFFFF, 0xFFFDFDFD, 0xFEFEFEFE},
    {0xFE102030, 0x00000000, 0xFF0F1F2F, 0xFC0F1F2F},
};

TEST(BlendKernels, PixelBlendFormulasGiveKnownPixels) {
  for (const auto& c : BlendCases) {
    EXPECT_EQ(bsrow::PixelBlendPlain(c.F, c.B), c.Plain) << std::hex << c.F << " over " << c.B;
    EXPECT_EQ(bsrow::PixelBlendMMX(c.F, c.B), c.MMX) << std::hex << c.F << " over " << c.B;
  }
}

TEST(BlendKernels, PlainPixelBlendShortcutsAndMMXFormulaAtTheEnds) {
  const TbsColor b = 0x40123456;
  EXPECT_EQ(bsrow::PixelBlendPlain(0x00ABCDEF, b), b);
  EXPECT_EQ(bsrow::PixelBlendPlain(0xFFABCDEF, b), 0xFFABCDEFu);
  // No shortcut in the MMX form: alpha 0 gives B through the formula, alpha 255 still mixes in B.
  EXPECT_EQ(bsrow::PixelBlendMMX(0x00ABCDEF, b), b);
  EXPECT_EQ(bsrow::PixelBlendMMX(0xFF000000, 0xFFFFFFFF), 0xFF000000u);
  EXPECT_EQ(bsrow::PixelBlendMMX(0xFFFFFFFF, 0x00000000), 0xFEFEFEFEu);
}

// A row long enough for the vector path plus a tail, with every alpha class.
std::vector<TbsColor> blendSources() {
  std::vector<TbsColor> s;
  for (Cardinal i = 0; i < 37; ++i) {
    const Cardinal a = i % 5 == 0 ? 0 : (i % 5 == 1 ? 255 : (i * 53) & 0xFF);
    s.push_back((a << 24) | ((i * 7919u) & 0xFFFFFF));
  }
  return s;
}

TEST(BlendKernels, RowBlendKeepsSkipsAndBlendsInBothForms) {
  const std::vector<TbsColor> src = blendSources();
  std::vector<TbsColor> bg(src.size());
  for (size_t i = 0; i < bg.size(); ++i) bg[i] = 0x80000000u | Cardinal(i * 104729u & 0xFFFFFF);

  const std::pair<TRowBlendProc, TPixelBlendProc> forms[] = {{bsrow::RowBlendPlain, bsrow::PixelBlendPlain},
                                                             {bsrow::RowBlendMMX, bsrow::PixelBlendMMX}};
  for (auto [row, pixel] : forms) {
    std::vector<TbsColor> dst = bg;
    row(src.data(), dst.data(), Integer(dst.size()));
    for (size_t i = 0; i < src.size(); ++i) {
      const Cardinal a = src[i] >> 24;
      const TbsColor expected = a == 0 ? bg[i] : (a == 255 ? src[i] : pixel(src[i], bg[i]));
      EXPECT_EQ(dst[i], expected) << "pixel " << i;
    }
  }
}

TEST(BlendKernels, RowBlendFormsDifferOnlyWherePartialAlphaMeetsTheFormulas) {
  const TbsColor src[2] = {0x80FF0000, 0x00FFFFFF};
  TbsColor plain[2] = {0xFF0000FF, 0xFF0000FF}, mmx[2] = {0xFF0000FF, 0xFF0000FF};
  bsrow::RowBlendPlain(src, plain, 2);
  bsrow::RowBlendMMX(src, mmx, 2);
  EXPECT_EQ(plain[0], 0xFF7F007Eu);
  EXPECT_EQ(mmx[0], 0xBF7F007Fu);
  EXPECT_EQ(plain[1], mmx[1]);
}

TEST(RowKernels, KeyCopySkipsTheKeyRGBAndForcesOpaque) {
  const TbsColor src[4] = {0xFF7F007F, 0x007F007F, 0x007F0080, 0x12345678};
  TbsColor dst[4] = {1, 2, 3, 4};
  bsrow::RowKeyCopy(src, dst, 4);
  EXPECT_EQ(dst[0], 1u);
  EXPECT_EQ(dst[1], 2u);
  EXPECT_EQ(dst[2], 0xFF7F0080u);
  EXPECT_EQ(dst[3], 0xFF345678u);
}

TEST(RowKernels, NonPositiveCountsAndInvertedRectanglesDoNothing) {
  TbsColor px[6] = {9, 9, 9, 9, 9, 9};
  const TbsColor src[6] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  bsrow::RowBlendPlain(src, px, 0);
  bsrow::RowBlendMMX(src, px, -3);
  bsrow::RowCopy(src, px, 0);
  bsrow::RowFill(px, -1, 0);
  bsrow::RectFill(px, 3, 2, 2, 0, 1, 1, 0);  // X1 = 2, X2 = 1
  bsrow::RectSetAlpha(px, 3, 2, 0, 1, 2, 0, 0);
  for (TbsColor p : px) EXPECT_EQ(p, 9u);
}

TEST(RowKernels, RectFillAndSetAlphaCoverInclusiveBounds) {
  std::vector<TbsColor> px(4 * 3, 0x11223344);
  bsrow::RectFill(px.data(), 4, 3, 1, 0, 2, 1, 0xAABBCCDD);
  bsrow::RectSetAlpha(px.data(), 4, 3, 2, 1, 3, 2, 0x05);
  const TbsColor o = 0x11223344, f = 0xAABBCCDD;
  const std::vector<TbsColor> expected = {o, f, f,          o,           //
                                          o, f, 0x05BBCCDD, 0x05223344,  //
                                          o, o, 0x05223344, 0x05223344};
  EXPECT_EQ(px, expected);
}

TEST(RowKernels, SetAlphaKeepsColourAndKeyToAlphaMatchesRGBOnly) {
  TbsColor px[3] = {0xFF102030, 0x80ABCDEF, 0xFFABCDEF};
  bsrow::RowSetAlpha(px, 1, 7);
  EXPECT_EQ(px[0], 0x07102030u);
  bsrow::RowKeyToAlpha(px + 1, 2, 0x55ABCDEF);
  EXPECT_EQ(px[1], 0x00ABCDEFu);
  EXPECT_EQ(px[2], 0x00ABCDEFu);
}

TEST(RowKernels, RowCopyHandlesOverlapAndSameAddress) {
  TbsColor px[5] = {1, 2, 3, 4, 5};
  bsrow::RowCopy(px, px, 5);
  bsrow::RowCopy(px, px + 1, 4);
  const TbsColor expected[5] = {1, 1, 2, 3, 4};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(px[i], expected[i]);
}

TEST(KernelSelection, MMXRuleNeedsCPUIDFamilyFiveAndBit23) {
  struct TCase {
    bool cpuid;
    Cardinal signature, features;
    bool mmx;
  } cases[] = {
      {true, 0x0500, 1u << 23, true},   {true, 0x0600, 1u << 23, true},
      {true, 0x0400, 1u << 23, false},  {true, 0x0F00, 0, false},
      {false, 0x0600, 1u << 23, false}, {true, 0x000906EA, 0x178BFBFF, true},  // a current x86-64 processor
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectMMX(c.cpuid, c.signature, c.features), c.mmx) << std::hex << c.signature;
}

TEST(KernelSelection, VersionRuleCountsFiveThreeAsOlder) {
  struct TCase {
    Integer major, minor;
    bool later;
  } cases[] = {{5, 0, true},  {5, 1, true},   {5, 2, true}, {5, 3, false},
               {5, 9, false}, {4, 10, false}, {6, 0, true}, {10, 0, true}};
  for (const auto& c : cases)
    EXPECT_EQ(IsWindows2000OrLater(c.major, c.minor), c.later) << c.major << "." << c.minor;
}

TEST(KernelSelection, StartUpChoseTheFormsOfThisMachine) {
  EXPECT_EQ(MMXAvailable, DetectMMX());
#if defined(__x86_64__)
  EXPECT_TRUE(MMXAvailable);
#endif
  EXPECT_EQ(PixelBlend, MMXAvailable ? &bsrow::PixelBlendMMX : &bsrow::PixelBlendPlain);
  EXPECT_EQ(RowBlend, MMXAvailable ? &bsrow::RowBlendMMX : &bsrow::RowBlendPlain);
  // The platform profile has the image library's entry points and a 32-bit screen.
  EXPECT_TRUE(IsMsImg32Loaded());
  EXPECT_NE(MsImg32Handle, nullptr);
  EXPECT_EQ(ScreenColorDepth(), 32);
  EXPECT_EQ(DCKeyDraw, &bsblit::DCTransparentBltDraw);
  EXPECT_EQ(DCAlphaDraw, &bsblit::DCSoftwareDraw);
}

TEST(KernelSelection, SelectionSwitchesOnlyTheVariableSlots) {
  SelectRowKernels(false);
  EXPECT_EQ(PixelBlend, &bsrow::PixelBlendPlain);
  EXPECT_EQ(RowKeyCopy, &bsrow::RowKeyCopy);
  SelectBlitKernels(false);
  EXPECT_EQ(DCKeyDraw, &bsblit::DCSoftwareDraw);
  SelectRowKernels();
  SelectBlitKernels();
  EXPECT_EQ(PixelBlend, MMXAvailable ? &bsrow::PixelBlendMMX : &bsrow::PixelBlendPlain);
  EXPECT_EQ(DCKeyDraw, &bsblit::DCTransparentBltDraw);
}

}  // namespace
