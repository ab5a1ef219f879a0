// Layout and drawing of text with the test font (7-pixel advance, 13-pixel line at height -11): DrawText
// flags, prefixes, ellipses, TextOut alignment, clipping, tabs and the alpha rule.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/testkit/gdi_test_util.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;  // with alpha 255, so text writes show as alpha 0
constexpr uint32_t kBlack = 0x00000000;

class TextCanvas : public ::testing::Test {
 protected:
  static constexpr Integer W = 200, H = 60;

  void SetUp() override {
    Clear();
    Font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "NerivoTest");
    OldFont = SelectObject(DC, Font);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, RGB(0, 0, 0));
  }

  void TearDown() override {
    SelectObject(DC, OldFont);
    DeleteObject(Font);
  }

  void Clear() { Surface.Fill(kWhite); }
  uint32_t Px(Integer x, Integer y) const { return Surface.At(x, y); }
  // Columns of row y that were written (differ from the white background).
  String Row(Integer y, Integer from, Integer to) const {
    String s;
    for (Integer x = from; x < to; ++x) s += Px(x, y) == kWhite ? '.' : '#';
    return s;
  }

  TRect Calc(const String& text, UINT flags, TRect r = {0, 0, 0, 0}) {
    DrawText(DC, text, &r, flags | DT_CALCRECT);
    return r;
  }

  TTestSurface Surface{W, H};
  const HDC DC = Surface.DC();
  HFONT Font = nullptr;
  HGDIOBJ OldFont = nullptr;
};

struct CalcCase {
  const char* Name;
  const char* Text;
  UINT Flags;
  TRect In;
  TRect Out;
  Integer Height;
};

TEST_F(TextCanvas, CalcRectFollowsThePlatformRules) {
  const CalcCase cases[] = {
      {"one line", "abc", 0, {0, 0, 0, 0}, {0, 0, 21, 13}, 13},
      {"left and top stay, also centred", "abc", DT_CENTER, {10, 5, 100, 6}, {10, 5, 31, 18}, 13},
      {"empty text has no line", "", 0, {5, 5, 50, 50}, {5, 5, 5, 5}, 0},
      {"a lone prefix is empty text", "&", 0, {0, 0, 0, 0}, {0, 0, 0, 0}, 0},
      {"prefix takes no room", "a&bc", 0, {0, 0, 0, 0}, {0, 0, 21, 13}, 13},
      {"double ampersand is one character", "a&&b", 0, {0, 0, 0, 0}, {0, 0, 21, 13}, 13},
      {"no prefix keeps both", "a&&b", DT_NOPREFIX, {0, 0, 0, 0}, {0, 0, 28, 13}, 13},
      {"line feed", "a\nbb", 0, {0, 0, 0, 0}, {0, 0, 14, 26}, 26},
      {"CR LF, CR and a final break", "a\r\nbb\rc\n", 0, {0, 0, 0, 0}, {0, 0, 14, 52}, 52},
      {"single line ignores breaks", "a\r\nb", DT_SINGLELINE, {0, 0, 0, 0}, {0, 0, 14, 13}, 13},
      {"words fill the width", "aa bb cc", DT_WORDBREAK, {0, 0, 35, 0}, {0, 0, 35, 26}, 26},
      {"one pixel less wraps each word", "aa bb cc", DT_WORDBREAK, {0, 0, 34, 0}, {0, 0, 14, 39}, 39},
      {"a long word is never split", "a verylongword b", DT_WORDBREAK, {0, 0, 35, 0}, {0, 0, 84, 39}, 39},
      {"blanks at a break are dropped", "aa   bb", DT_WORDBREAK, {0, 0, 28, 0}, {0, 0, 14, 26}, 26},
      {"zero width: a word per line", "ab cd", DT_WORDBREAK, {0, 0, 0, 0}, {0, 0, 14, 26}, 26},
      {"single line does not wrap", "aa bb", DT_WORDBREAK | DT_SINGLELINE, {0, 0, 7, 0}, {0, 0, 35, 13}, 13},
      {"CJK wraps between characters", "中文字体", DT_WORDBREAK, {0, 0, 14, 0}, {0, 0, 14, 26}, 26},
      {"no line starts with a comma", "中文，字", DT_WORDBREAK, {0, 0, 14, 0}, {0, 0, 14, 39}, 39},
      {"tab expands to 8 average widths", "a\tb", DT_EXPANDTABS, {0, 0, 0, 0}, {0, 0, 63, 13}, 13},
      {"tab without expansion is a space", "a\tb", 0, {0, 0, 0, 0}, {0, 0, 21, 13}, 13},
      {"tabs restart on each line", "a\nbb\tc", DT_EXPANDTABS, {0, 0, 0, 0}, {0, 0, 63, 26}, 26},
      {"ellipsis narrows to the rectangle", "abcdefghij", DT_END_ELLIPSIS, {0, 0, 50, 0}, {0, 0, 49, 13}, 13},
      {"malformed bytes count one each",
       "\xff\xfe"
       "ab",
       0,
       {0, 0, 0, 0},
       {0, 0, 28, 13},
       13},
  };
  for (const CalcCase& c : cases) {
    TRect r = c.In;
    Integer h = DrawText(DC, c.Text, &r, c.Flags | DT_CALCRECT);
    EXPECT_EQ(r, c.Out) << c.Name << ": " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    EXPECT_EQ(h, c.Height) << c.Name;
  }
  EXPECT_EQ(Row(5, 0, 100), String(100, '.')) << "DT_CALCRECT draws nothing";
}

TEST_F(TextCanvas, LinesArePlacedByTheAlignmentFlags) {
  // A glyph box spans 6 columns and rows 2..10 of its 13-row cell.
  struct Case {
    const char* Name;
    UINT Flags;
    Integer BoxLeft, BoxTop, Result;
  } cases[] = {
      {"left top", DT_LEFT, 0, 2, 13},
      {"centred", DT_CENTER, 46, 2, 13},
      {"right", DT_RIGHT, 93, 2, 13},
      {"single line, vertically centred", DT_SINGLELINE | DT_VCENTER, 0, 15, 26},
      {"single line, bottom", DT_SINGLELINE | DT_BOTTOM, 0, 29, 40},
      {"vertical centring needs a single line", DT_VCENTER, 0, 2, 13},
  };
  for (const Case& c : cases) {
    Clear();
    TRect r{0, 0, 100, 40};
    EXPECT_EQ(DrawText(DC, "a", &r, c.Flags), c.Result) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft, c.BoxTop), kBlack) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft + 5, c.BoxTop + 8), kBlack) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft, c.BoxTop - 1), kWhite) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft, c.BoxTop + 9), kWhite) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft + 6, c.BoxTop), kWhite) << c.Name;
    if (c.BoxLeft > 0) {
      EXPECT_EQ(Px(c.BoxLeft - 1, c.BoxTop), kWhite) << c.Name;
    }
  }
}

TEST_F(TextCanvas, WrappedLinesAreDrawnWhereCalcRectPutsThem) {
  TRect r{0, 0, 34, 60};
  EXPECT_EQ(DrawText(DC, "aa bb", &r, DT_WORDBREAK | DT_CENTER), 26);
  // "aa" and "bb" are 14 wide, centred in 34: from x = 10 on rows 2 and 15.
  EXPECT_EQ(Row(2, 0, 34), String(10, '.') + "######.######" + String(11, '.'));
  EXPECT_EQ(Row(15, 0, 34), Row(2, 0, 34));
}

TEST_F(TextCanvas, PrefixUnderlinesItsCharacter) {
  // The underline row of the test font at this height is 12, under the whole advance of the character.
  TRect r{0, 0, 100, 20};
  DrawText(DC, "a&bc", &r, 0);
  EXPECT_EQ(Row(12, 0, 21), String(".......#######......."));
  EXPECT_EQ(Row(5, 0, 21), String("######.######.######."));

  Clear();
  DrawText(DC, "a&bc", &r, DT_HIDEPREFIX);
  EXPECT_EQ(Row(12, 0, 21), String(21, '.'));
  EXPECT_EQ(Row(5, 0, 21), String("######.######.######."));

  Clear();
  DrawText(DC, "&&b", &r, 0);
  EXPECT_EQ(Row(12, 0, 14), String(14, '.')) << "a literal & underlines nothing";
}

struct EllipsisCase {
  const char* Name;
  const char* Text;
  UINT Flags;
  Integer Width;
  const char* Shown;
};

TEST_F(TextCanvas, EllipsesShortenTheModifiedString) {
  const EllipsisCase cases[] = {
      {"end", "abcdefghij", DT_END_ELLIPSIS, 49, "abcd..."},
      {"word ellipsis cuts the same way", "abcdefghij", DT_WORD_ELLIPSIS, 49, "abcd..."},
      {"fitting text is unchanged", "abcdefg", DT_END_ELLIPSIS, 49, "abcdefg"},
      {"code points, not bytes", "中文字体测试文本", DT_END_ELLIPSIS, 49, "中文字体..."},
      {"prefix kept in the source", "&Open file", DT_END_ELLIPSIS, 49, "&Open..."},
      {"a dropped final prefix goes too", "abcdefghij&", DT_END_ELLIPSIS, 49, "abcd..."},
      {"each line on its own", "abcdefghij\nxy\nklmnopq", DT_END_ELLIPSIS, 49, "abcd...\nxy\nklmnopq"},
      {"path keeps the last part", "/usr/share/fonts/file.txt", DT_PATH_ELLIPSIS, 140,
       "/usr/sha.../file.txt"},
      {"backslash paths too", "C:\\Nerivo\\out\\a.avi", DT_PATH_ELLIPSIS, 98, "C:\\Ne...\\a.avi"},
      {"path without separator cuts the end", "abcdefghij", DT_PATH_ELLIPSIS, 49, "abcd..."},
      {"ellipsis alone when nothing fits", "abcdefghij", DT_END_ELLIPSIS, 10, "..."},
      {"wrapped: only the end gets one", "aa verylongword bb verylongword", DT_WORDBREAK | DT_END_ELLIPSIS,
       35, "aa verylongword bb ve..."},
      {"wrapped: every long word", "aa verylongword bb verylongword", DT_WORDBREAK | DT_WORD_ELLIPSIS, 35,
       "aa ve... bb ve..."},
  };
  for (const EllipsisCase& c : cases) {
    String text = c.Text;
    TRect r{0, 0, c.Width, 60};
    UINT single = std::strchr(c.Text, '\n') || (c.Flags & DT_WORDBREAK) ? 0 : DT_SINGLELINE;
    DrawTextEx(DC, &text, &r, c.Flags | DT_MODIFYSTRING | single, nullptr);
    EXPECT_EQ(text, c.Shown) << c.Name;
  }
  String text = "abcdefghij";
  TRect r{0, 0, 49, 20};
  DrawTextEx(DC, &text, &r, DT_END_ELLIPSIS, nullptr);
  EXPECT_EQ(text, "abcdefghij") << "without DT_MODIFYSTRING the text stays";
  Clear();
  DrawText(DC, "abcdefghij", &r, DT_END_ELLIPSIS);
  // "abcd" then three dots drawn as boxes; nothing beyond the rectangle.
  String boxes;
  for (int k = 0; k < 7; ++k) boxes += "######.";
  EXPECT_EQ(Row(5, 0, 56), boxes + String(7, '.'));
}

TEST_F(TextCanvas, DrawTextParamsAddMarginsAndReportTheLength) {
  DRAWTEXTPARAMS p;
  p.iLeftMargin = 3;
  p.iRightMargin = 4;
  String text = "ab中";
  TRect r{0, 0, 0, 0};
  EXPECT_EQ(DrawTextEx(DC, &text, &r, DT_CALCRECT, &p), 13);
  EXPECT_EQ(r, Rect(0, 0, 28, 13));
  EXPECT_EQ(p.uiLengthDrawn, 3u);
  r = Rect(0, 0, 100, 20);
  DrawTextEx(DC, &text, &r, 0, &p);
  EXPECT_EQ(Row(5, 0, 12), String("...######.##"));
  p.iTabLength = 2;
  text = "a\tb";
  r = Rect(0, 0, 0, 0);
  DrawTextEx(DC, &text, &r, DT_CALCRECT | DT_EXPANDTABS, &p);
  EXPECT_EQ(r.Right, 3 + 21 + 4) << "tab stops every 2 average widths";
}

TEST_F(TextCanvas, DrawingStaysInsideTheRectangleUnlessNoClip) {
  TRect r{0, 0, 10, 13};
  DrawText(DC, "abc", &r, 0);
  EXPECT_EQ(Row(5, 0, 21), String("######.###..........."));
  Clear();
  DrawText(DC, "abc", &r, DT_NOCLIP);
  EXPECT_EQ(Row(5, 0, 21), String("######.######.######."));
}

TEST_F(TextCanvas, OpaqueModeFillsTheTextCell) {
  SetBkMode(DC, OPAQUE);
  SetBkColor(DC, RGB(255, 0, 0));
  TRect r{0, 0, 100, 20};
  DrawText(DC, "ab", &r, 0);
  EXPECT_EQ(Px(6, 5), 0x00FF0000u) << "gap column in the background colour";
  EXPECT_EQ(Px(0, 0), 0x00FF0000u);
  EXPECT_EQ(Px(13, 12), 0x00FF0000u);
  EXPECT_EQ(Px(14, 5), kWhite) << "nothing right of the text";
  EXPECT_EQ(Px(0, 13), kWhite) << "nothing below the cell";
}

TEST_F(TextCanvas, TextWritesLeaveAlphaZero) {
  SetTextColor(DC, RGB(10, 20, 30));
  EXPECT_TRUE(TextOut(DC, 0, 0, "a"));
  EXPECT_EQ(Px(0, 2), 0x000A141Eu);
  EXPECT_EQ(Px(6, 2), kWhite);
}

TEST_F(TextCanvas, TextOutAlignsOnTheReferencePoint) {
  struct Case {
    const char* Name;
    UINT Align;
    Integer BoxLeft, BoxTop;
  } cases[] = {
      {"left top", TA_LEFT | TA_TOP, 50, 22},
      {"centre baseline", TA_CENTER | TA_BASELINE, 43, 11},
      {"right bottom", TA_RIGHT | TA_BOTTOM, 36, 9},
  };
  for (const Case& c : cases) {
    Clear();
    SetTextAlign(DC, c.Align);
    TextOut(DC, 50, 20, "ab");
    EXPECT_EQ(Px(c.BoxLeft, c.BoxTop), kBlack) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft - 1, c.BoxTop), kWhite) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft, c.BoxTop - 1), kWhite) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft + 12, c.BoxTop + 8), kBlack) << c.Name;
    EXPECT_EQ(Px(c.BoxLeft + 13, c.BoxTop + 8), kWhite) << c.Name;
  }
}

TEST_F(TextCanvas, ExtTextOutClipsAndOpaquesItsRectangle) {
  TRect clip{0, 0, 10, 13};
  ExtTextOut(DC, 0, 0, ETO_CLIPPED, &clip, "abc");
  EXPECT_EQ(Row(5, 0, 21), String("######.###..........."));

  Clear();
  SetBkColor(DC, RGB(0, 0, 255));
  TRect box{0, 0, 30, 20};
  ExtTextOut(DC, 0, 0, ETO_OPAQUE, &box, "a");
  EXPECT_EQ(Px(29, 19), 0x000000FFu) << "filled even in TRANSPARENT mode";
  EXPECT_EQ(Px(0, 2), kBlack);
  EXPECT_EQ(Px(30, 19), kWhite);
}

TEST_F(TextCanvas, TabbedTextUsesItsStops) {
  const Integer stops[] = {40, 0};  // a list box's "40" and "12a"
  EXPECT_EQ(TabbedTextOut(DC, 0, 0, "a\tb\tc", 2, stops, 0), LONG((13 << 16) | 63));
  EXPECT_EQ(Row(5, 38, 63),
            ".." + String(6, '#') + String(10, '.') + String(6, '#') + ".");  // b at 40, c on the 56 grid

  const Integer every20[] = {20};
  EXPECT_EQ(GetTabbedTextExtent(DC, "a\tb\tc", 1, every20), DWORD((13 << 16) | 47));
  EXPECT_EQ(GetTabbedTextExtent(DC, "a\tb", 0, nullptr), DWORD((13 << 16) | 63));

  Clear();
  TabbedTextOut(DC, 10, 20, "a\tb", 1, every20, 5);  // stops at 25, 45, ... from the origin 5
  EXPECT_EQ(Row(25, 23, 33), String("..######.."));
}

TEST_F(TextCanvas, ExtentsCountCodePoints) {
  TSize size;
  EXPECT_TRUE(GetTextExtentPoint32(DC, "中文ab", &size));
  EXPECT_EQ(size, (TSize{28, 13}));
  EXPECT_TRUE(GetTextExtentPoint32(DC, "", &size));
  EXPECT_EQ(size, (TSize{0, 13}));
  Integer fit = -1;
  std::vector<Integer> dx;
  EXPECT_TRUE(GetTextExtentExPoint(DC, "abcd", 20, &fit, &dx, &size));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx, (std::vector<Integer>{7, 14, 21, 28}));
}

TEST_F(TextCanvas, BadInputFailsQuietly) {
  EXPECT_EQ(DrawText(DC, "abc", nullptr, 0), 0);
  TRect r{0, 0, 50, 50};
  EXPECT_EQ(DrawText(nullptr, "abc", &r, 0), 0);
  HDC dead = CreateCompatibleDC(nullptr);
  DeleteDC(dead);
  EXPECT_FALSE(TextOut(dead, 0, 0, "abc"));
  TSize size;
  EXPECT_FALSE(GetTextExtentPoint32(dead, "abc", &size));
  EXPECT_EQ(TabbedTextOut(dead, 0, 0, "a\tb", 0, nullptr, 0), 0);
  // Unterminated sequences and stray continuation bytes each stand for one replacement character.
  EXPECT_EQ(Calc("\xe4\xb8", 0), Rect(0, 0, 14, 13));
  EXPECT_EQ(Calc("a\x80", DT_WORDBREAK), Rect(0, 0, 14, 13));
  r = Rect(0, 0, -20, -20);
  EXPECT_EQ(DrawText(DC, "a b c", &r, DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS), 39);
}

}  // namespace
