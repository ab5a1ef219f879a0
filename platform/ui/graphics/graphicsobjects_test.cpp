#include "platform/ui/graphics/graphicsobjects.h"

#include <gtest/gtest.h>

#include "platform/ui/testkit/ui_test_util.h"

namespace {

// ---- colours, fonts, pens ----

TEST(Colors, SystemColoursResolveThroughTheSystemTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_LT(clHighlight, 0);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
}

struct SizeCase {
  Integer Size, Height;
};

class FontSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FontSize, PointsAt96DpiGiveNegativePixelHeight) {
  TFont font;
  font.SetSize(GetParam().Size);
  EXPECT_EQ(font.Height(), GetParam().Height);
  EXPECT_EQ(font.Size(), GetParam().Size);
  LOGFONT lf;
  ASSERT_EQ(GetObject(font.Handle(), sizeof lf, &lf), Integer(sizeof lf));
  EXPECT_EQ(lf.lfHeight, GetParam().Height);
}

// Height = -MulDiv(Size, 96, 72), halves away from zero: 7 pt is 9.33 px, 11 pt 14.67 px.
INSTANTIATE_TEST_SUITE_P(Points, FontSize,
                         testing::Values(SizeCase{7, -9}, SizeCase{8, -11}, SizeCase{9, -12},
                                         SizeCase{10, -13}, SizeCase{11, -15}, SizeCase{12, -16},
                                         SizeCase{15, -20}));

// A change handler that takes the handle gets the changed font, and that handle stays the font's.
TEST(Font, ChangeHandlersSeeTheNewHandle) {
  TFont F;
  F.SetHeight(-12);
  F.Handle();
  HFONT Seen = nullptr;
  Integer SeenHeight = 0;
  F.OnChange = [&](TObject*) {
    Seen = F.Handle();
    HDC DC = CreateCompatibleDC(nullptr);
    HGDIOBJ Prev = SelectObject(DC, Seen);
    TEXTMETRIC TM;
    GetTextMetrics(DC, &TM);
    SeenHeight = TM.tmHeight;
    SelectObject(DC, Prev);
    DeleteDC(DC);
  };
  F.SetHeight(-30);
  EXPECT_EQ(F.Handle(), Seen);
  EXPECT_GT(SeenHeight, 20);
}

TEST(Font, DefaultsAndStylesReachTheFontObject) {
  TFont font;
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetName("宋体");
  font.SetCharset(GB2312_CHARSET);
  font.SetHeight(20);
  EXPECT_EQ(changes, 4);
  LOGFONT lf;
  GetObject(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  EXPECT_EQ(LogFontFaceName(lf), "宋体");
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(lf.lfHeight, 20);

  font.SetStyle(font.Style() - TFontStyles{fsItalic, fsUnderline});
  GetObject(font.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_FALSE(lf.lfItalic || lf.lfUnderline);

  TFont copy;
  copy.SetHandle(font.Handle());
  EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsStrikeOut}));
  EXPECT_EQ(copy.Height(), 20);
  EXPECT_EQ(copy.Name(), "宋体");
}

}  // namespace
