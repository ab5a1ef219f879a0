// Logical fonts: the test font's metrics and pixels, face mapping onto the installed fonts, real-font
// rendering (anti-aliasing, mono, bold, italic, CJK fallback) and the font object itself.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "platform/gdi/testkit/gdi_test_util.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A 32-bit white surface (alpha 255) with a DC and one selected font.
class Canvas {
 public:
  static constexpr Integer W = 160, H = 80;

  Canvas() {
    Clear();
    SetBkMode(DC, TRANSPARENT);
  }
  ~Canvas() { Use(nullptr); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Selects a new font made from lf (null: back to the DC's original font) and frees the previous one.
  void Use(const LOGFONT* lf) {
    HFONT font = lf ? CreateFontIndirect(lf) : nullptr;
    if (FFont) {
      SelectObject(DC, FOldFont);
      DeleteObject(FFont);
    }
    FFont = font;
    if (font) FOldFont = SelectObject(DC, font);
  }
  void Use(const String& face, Integer height, Integer weight = FW_NORMAL, bool italic = false,
           Byte quality = DEFAULT_QUALITY, Byte charset = DEFAULT_CHARSET) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfQuality = quality;
    lf.lfCharSet = charset;
    SetLogFontFaceName(lf, face);
    Use(&lf);
  }

  uint32_t Px(Integer x, Integer y) const { return FSurface.At(x, y); }
  void Clear() { FSurface.Fill(kWhite); }

  struct Ink {
    Integer Written = 0;  // pixels changed
    Integer Partial = 0;  // changed, but neither background nor text colour (anti-aliasing)
    Int64 Darkness = 0;   // sum of 255 - green over the surface
    bool AlphaZero = true;
  };
  Ink Measure() const {
    Ink ink;
    for (Integer y = 0; y < H; ++y)
      for (Integer x = 0; x < W; ++x) {
        uint32_t p = Px(x, y);
        if (p == kWhite) continue;
        ++ink.Written;
        if ((p & 0xFFFFFF) != 0) ++ink.Partial;
        ink.Darkness += 255 - ((p >> 8) & 0xFF);
        if (p >> 24) ink.AlphaZero = false;
      }
    return ink;
  }
  Integer Width(const String& text) {
    TSize size{-1, -1};
    GetTextExtentPoint32(DC, text, &size);
    return size.cx;
  }
  TEXTMETRIC Metrics() {
    TEXTMETRIC tm;
    EXPECT_TRUE(GetTextMetrics(DC, &tm));
    return tm;
  }

 private:
  TTestSurface FSurface{W, H};

 public:
  const HDC DC = FSurface.DC();

 private:
  HFONT FFont = nullptr;
  HGDIOBJ FOldFont = nullptr;
};

TEST(TestFont, MetricsFollowTheHeight) {
  struct Case {
    LONG Height, Width;
    LONG TmHeight, Ascent, Descent, Leading, Advance;
  } cases[] = {
      {0, 0, 13, 11, 2, 2, 7},  // the default height
      {-11, 0, 13, 11, 2, 2, 7},
      {-12, 0, 15, 12, 3, 3, 8},
      {13, 0, 13, 11, 2, 2, 7},  // a cell height
      {14, 0, 13, 11, 2, 2, 7},  // the largest cell that fits
      {20, 0, 20, 16, 4, 4, 11},
      {-1, 0, 1, 1, 0, 0, 1},
      {-11, 5, 13, 11, 2, 2, 5},  // an explicit width
      {-11, -9, 13, 11, 2, 2, 9},
      {-5000000, 0, 1280, 1024, 256, 256, 683},  // bounded
      {INT_MIN, INT_MIN, 1280, 1024, 256, 256, 1024},
      {INT_MAX, 0, 1023, 819, 204, 204, 546},
  };
  Canvas c;
  for (const Case& k : cases) {
    LOGFONT lf;
    lf.lfHeight = k.Height;
    lf.lfWidth = k.Width;
    SetLogFontFaceName(lf, "NerivoTest");
    c.Use(&lf);
    TEXTMETRIC tm = c.Metrics();
    SCOPED_TRACE(testing::Message() << "height " << k.Height << " width " << k.Width);
    EXPECT_EQ(tm.tmHeight, k.TmHeight);
    EXPECT_EQ(tm.tmAscent, k.Ascent);
    EXPECT_EQ(tm.tmDescent, k.Descent);
    EXPECT_EQ(tm.tmInternalLeading, k.Leading);
    EXPECT_EQ(tm.tmAveCharWidth, k.Advance);
    EXPECT_EQ(tm.tmMaxCharWidth, k.Advance);
    EXPECT_EQ(c.Width("ab中"), 3 * k.Advance);
  }
}

TEST(TestFont, UnderlineAndStrikeOutAreDrawn) {
  Canvas c;
  LOGFONT lf;
  lf.lfHeight = -11;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  SetLogFontFaceName(lf, "NerivoTest");
  c.Use(&lf);
  TextOut(c.DC, 0, 0, "ab");
  EXPECT_EQ(c.Px(6, 12), 0u) << "underline spans the gap column";
  EXPECT_EQ(c.Px(13, 12), 0u);
  EXPECT_EQ(c.Px(14, 12), kWhite);
  EXPECT_EQ(c.Px(6, 6), 0u) << "strike-out through the middle of the boxes";
  EXPECT_EQ(c.Px(6, 5), kWhite);
  EXPECT_EQ(c.Px(6, 7), kWhite);
}

TEST(TestFont, ModeReplacesEveryFaceButKeepsItsName) {
  Canvas c;
  c.Use("Tahoma", -11);
  Integer real = c.Width("abc");
  struct ModeGuard {
    ~ModeGuard() { SetTestFontMode(false); }
  } guard;
  SetTestFontMode(true);
  EXPECT_TRUE(TestFontMode());
  EXPECT_EQ(c.Width("abc"), 21);
  EXPECT_EQ(GetTextFace(c.DC), "Tahoma");
  SetTestFontMode(false);
  EXPECT_EQ(c.Width("abc"), real);
}

TEST(FaceMapping, NamesMapOntoTheInstalledFaces) {
  struct Case {
    const char* Face;
    Byte CharSet;
    const char* Reported;
    const char* SameAs;  // a face that must measure and draw the same
  } cases[] = {
      {"Tahoma", DEFAULT_CHARSET, "Tahoma", "DejaVu Sans"},
      {"arial", DEFAULT_CHARSET, "arial", "DejaVu Sans"},
      {"MS Sans Serif", DEFAULT_CHARSET, "MS Sans Serif", "DejaVu Sans"},
      {"", DEFAULT_CHARSET, "DejaVu Sans", "DejaVu Sans"},
      {"No Such Face 123", DEFAULT_CHARSET, "DejaVu Sans", "DejaVu Sans"},
      {"No Such Face 123", GB2312_CHARSET, "WenQuanYi Micro Hei", "WenQuanYi Micro Hei"},
      {"宋体", GB2312_CHARSET, "宋体", "WenQuanYi Micro Hei"},
      {"DejaVu Serif", DEFAULT_CHARSET, "DejaVu Serif", "DejaVu Serif"},
  };
  const String sample = "Wide text, 中文 mixed.";
  Canvas c;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Face);
    c.Use(k.SameAs, -13, FW_NORMAL, false, DEFAULT_QUALITY, k.CharSet);
    Integer expected = c.Width(sample);
    c.Use(k.Face, -13, FW_NORMAL, false, DEFAULT_QUALITY, k.CharSet);
    EXPECT_EQ(GetTextFace(c.DC), k.Reported);
    EXPECT_EQ(c.Width(sample), expected);
  }
  c.Use("DejaVu Sans", -13);
  Integer sans = c.Width("Wide text");
  c.Use("DejaVu Serif", -13);
  EXPECT_NE(c.Width("Wide text"), sans) << "a real family is not replaced";
}

TEST(RealFont, HeightSignSelectsCharacterOrCellHeight) {
  Canvas c;
  for (Integer h : {8, 11, 12, 16, 24}) {
    c.Use("DejaVu Sans", -h);
    TEXTMETRIC tm = c.Metrics();
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, h) << "character height " << h;
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    c.Use("DejaVu Sans", h);
    EXPECT_EQ(c.Metrics().tmHeight, h) << "cell height " << h;
  }
  c.Use("DejaVu Sans", -100000);
  TEXTMETRIC huge = c.Metrics();
  EXPECT_EQ(huge.tmHeight - huge.tmInternalLeading, MaxFontPixels);
  EXPECT_TRUE(TextOut(c.DC, 0, 0, "W"));
}

TEST(RealFont, RendersGreyAntiAliasedTextWithAlphaZero) {
  Canvas c;
  c.Use("Tahoma", -12);
  EXPECT_TRUE(TextOut(c.DC, 2, 2, "Hello, world"));
  Canvas::Ink ink = c.Measure();
  EXPECT_GT(ink.Written, 60);
  EXPECT_GT(ink.Partial, 0) << "grey edges";
  EXPECT_TRUE(ink.AlphaZero);

  c.Clear();
  c.Use("Tahoma", -12, FW_NORMAL, false, NONANTIALIASED_QUALITY);
  TextOut(c.DC, 2, 2, "Hello, world");
  Canvas::Ink mono = c.Measure();
  EXPECT_GT(mono.Written, 30);
  EXPECT_EQ(mono.Partial, 0) << "mono text has only the text colour";
  EXPECT_TRUE(mono.AlphaZero);
}

TEST(RealFont, BoldAndItalicChangeTheGlyphs) {
  auto draw = [](Canvas& c, const String& face, Integer weight, bool italic) {
    c.Clear();
    c.Use(face, -14, weight, italic);
    TextOut(c.DC, 4, 4, "Mill");
    return c.Measure();
  };
  for (const char* face : {"DejaVu Sans", "宋体"}) {  // a face with a bold style, and one synthesised
    SCOPED_TRACE(face);
    Canvas c;
    Canvas::Ink regular = draw(c, face, FW_NORMAL, false);
    Canvas::Ink bold = draw(c, face, FW_BOLD, false);
    Canvas::Ink semibold = draw(c, face, FW_SEMIBOLD, false);
    Canvas::Ink medium = draw(c, face, FW_MEDIUM, false);
    EXPECT_GT(bold.Darkness, regular.Darkness * 5 / 4);
    EXPECT_EQ(semibold.Darkness, bold.Darkness) << "600 is bold";
    EXPECT_EQ(medium.Darkness, regular.Darkness) << "500 is not";

    c.Clear();
    c.Use(face, -14);
    TextOut(c.DC, 4, 4, "l");
    std::vector<uint32_t> upright;
    for (Integer y = 0; y < 30; ++y) upright.push_back(c.Px(6, y));
    c.Clear();
    c.Use(face, -14, FW_NORMAL, true);
    TextOut(c.DC, 4, 4, "l");
    std::vector<uint32_t> slanted;
    for (Integer y = 0; y < 30; ++y) slanted.push_back(c.Px(6, y));
    EXPECT_NE(upright, slanted);
  }
}

TEST(RealFont, CjkTextFallsBackToWenQuanYi) {
  Canvas c;
  c.Use("宋体", -14);
  Integer wqy = c.Width("中文字");
  EXPECT_GT(wqy, 3 * 10);
  c.Use("Tahoma", -14);
  EXPECT_EQ(c.Width("中文字"), wqy) << "DejaVu lacks the ideographs; they come from WenQuanYi";
  EXPECT_LT(c.Width("abc"), wqy);
  TextOut(c.DC, 2, 2, "中文");
  EXPECT_GT(c.Measure().Written, 40);
}

TEST(RealFont, MalformedBytesDrawAsTheReplacementCharacter) {
  Canvas c;
  c.Use("DejaVu Sans", -12);
  EXPECT_EQ(c.Width("a\xff"
                    "b"),
            c.Width("a\xEF\xBF\xBD"
                    "b"));
  EXPECT_EQ(c.Width("\xe4\xb8"), 2 * c.Width("\xEF\xBF\xBD"));
}

TEST(FontObject, GetObjectReturnsTheLogFont) {
  LOGFONT lf;
  lf.lfHeight = -15;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  SetLogFontFaceName(lf, "宋体");
  HFONT font = CreateFontIndirect(&lf);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetObjectType(font), DWORD(OBJ_FONT));
  EXPECT_EQ(GetObject(font, 0, nullptr), Integer(sizeof(LOGFONT)));
  LOGFONT back;
  EXPECT_EQ(GetObject(font, sizeof(back), &back), Integer(sizeof(LOGFONT)));
  EXPECT_EQ(std::memcmp(&back, &lf, sizeof(LOGFONT)), 0);
  EXPECT_EQ(LogFontFaceName(back), "宋体");
  LONG height = 0;
  EXPECT_EQ(GetObject(font, sizeof(height), &height), Integer(sizeof(height)));
  EXPECT_EQ(height, -15);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);

  HFONT made = CreateFont(-9, 0, 0, 0, FW_BOLD, 1, 1, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  EXPECT_EQ(GetObject(made, sizeof(back), &back), Integer(sizeof(LOGFONT)));
  EXPECT_EQ(back.lfHeight, -9);
  EXPECT_EQ(back.lfWeight, FW_BOLD);
  EXPECT_EQ(back.lfItalic, 1);
  EXPECT_EQ(back.lfUnderline, 1);
  EXPECT_EQ(back.lfStrikeOut, 0);
  EXPECT_EQ(LogFontFaceName(back), "Arial");
  DeleteObject(made);
}

TEST(FontObject, FaceNamesAreCutAtWholeCharacters) {
  LOGFONT lf;
  String chinese;
  for (int i = 0; i < 40; ++i) chinese += "体";
  SetLogFontFaceName(lf, chinese);
  String cut = LogFontFaceName(lf);
  EXPECT_EQ(cut.size(), size_t(3 * (LF_FACESIZE - 1)));
  EXPECT_EQ(cut, chinese.substr(0, cut.size()));
  SetLogFontFaceName(lf, "Tahoma");
  EXPECT_EQ(LogFontFaceName(lf), "Tahoma") << "a shorter name replaces all of the longer one";
}

TEST(FontObject, StockAndDefaultFonts) {
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(GetObjectType(gui), DWORD(OBJ_FONT));
  LOGFONT lf;
  GetObject(gui, sizeof(lf), &lf);
  EXPECT_EQ(LogFontFaceName(lf), "MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, DefaultFontHeight);
  EXPECT_TRUE(DeleteObject(gui)) << "stock objects ignore deletion";
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), gui);

  Canvas c;  // no font selected: the system font
  EXPECT_EQ(GetTextFace(c.DC), "System");
  EXPECT_EQ(c.Metrics().tmHeight, 16);
  EXPECT_EQ(c.Metrics().tmWeight, FW_BOLD);
  EXPECT_TRUE(TextOut(c.DC, 0, 0, "x"));
  EXPECT_GT(c.Measure().Written, 0);

  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  EXPECT_FALSE(GetTextMetrics(c.DC, nullptr));
  EXPECT_EQ(GetTextFace(nullptr), "");
}

}  // namespace
