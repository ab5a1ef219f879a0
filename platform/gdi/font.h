// Fonts of the graphics platform: logical fonts, their realisation through fontconfig and FreeType,
// text metrics, and the deterministic test font.
//
// Face mapping: "Tahoma", "Arial", "MS Sans Serif", "System" and an empty name → DejaVu Sans; "宋体"/"SimSun"
// → WenQuanYi Micro Hei; "NerivoTest" → the test font; any other name → fontconfig's match when it really is
// that family, else DejaVu Sans (WenQuanYi Micro Hei for a CJK character set). A code point that the face
// lacks is taken from WenQuanYi Micro Hei when that face has it.
//
// Sizes: lfHeight < 0 is the character (em) height in pixels, lfHeight > 0 the cell height (tmHeight),
// 0 the default height DefaultFontHeight. Heights and widths are bounded by MaxFontPixels.
// Weight >= 600 is bold and lfItalic italic, through the face's own style when it has one, else
// synthesised (emboldened outline, sheared outline). NONANTIALIASED_QUALITY renders mono, every other
// quality grey anti-aliased.
//
// The test font (face "NerivoTest", or every font while SetTestFontMode(true)) draws each visible
// character as a solid box, so text layout and pixels are exact. With em = the character height:
//   tmInternalLeading = em / 4, tmHeight = em + em / 4, tmAscent = em, tmDescent = em / 4,
//   advance = tmAveCharWidth = tmMaxCharWidth = max(1, (2 * em + 1) / 3), or lfWidth when it is set;
//   a positive lfHeight takes the largest em whose tmHeight fits in it.
// At the default height (em 11) that is a 13-pixel line and a 7-pixel advance. A glyph box covers the
// columns x .. x + advance - 2 (one blank column between characters; 1 wide when the advance is 1) and
// the rows from the cell top + tmInternalLeading to the baseline (exclusive). Space, tab and control
// characters are blank; tab advances like a space, control characters (below U+0020 and U+007F) take no
// room. Underline rows: from min(tmAscent + tmDescent / 2, tmHeight - t), t = max(1, em / 12) rows thick
// (a "&" prefix underline uses the same rows); strike-out from tmInternalLeading + (em - tmInternalLeading)
// / 2. Bold and italic do not change the test font.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"

constexpr Integer LF_FACESIZE = 32;  // characters, the terminating zero included
// Default height for lfHeight 0 (the class library's default font height).
constexpr Integer DefaultFontHeight = -11;
// Pixel heights and widths beyond this are clamped.
constexpr Integer MaxFontPixels = 1024;

constexpr Integer FW_DONTCARE = 0;
constexpr Integer FW_THIN = 100;
constexpr Integer FW_EXTRALIGHT = 200;
constexpr Integer FW_LIGHT = 300;
constexpr Integer FW_NORMAL = 400;
constexpr Integer FW_MEDIUM = 500;
constexpr Integer FW_SEMIBOLD = 600;
constexpr Integer FW_BOLD = 700;
constexpr Integer FW_EXTRABOLD = 800;
constexpr Integer FW_HEAVY = 900;

constexpr Byte ANSI_CHARSET = 0;
constexpr Byte DEFAULT_CHARSET = 1;
constexpr Byte SYMBOL_CHARSET = 2;
constexpr Byte SHIFTJIS_CHARSET = 128;
constexpr Byte HANGEUL_CHARSET = 129;
constexpr Byte GB2312_CHARSET = 134;
constexpr Byte CHINESEBIG5_CHARSET = 136;
constexpr Byte OEM_CHARSET = 255;

constexpr Byte OUT_DEFAULT_PRECIS = 0;
constexpr Byte OUT_TT_PRECIS = 4;
constexpr Byte CLIP_DEFAULT_PRECIS = 0;

constexpr Byte DEFAULT_QUALITY = 0;
constexpr Byte DRAFT_QUALITY = 1;
constexpr Byte PROOF_QUALITY = 2;
constexpr Byte NONANTIALIASED_QUALITY = 3;
constexpr Byte ANTIALIASED_QUALITY = 4;
constexpr Byte CLEARTYPE_QUALITY = 5;

constexpr Byte DEFAULT_PITCH = 0;
constexpr Byte FIXED_PITCH = 1;
constexpr Byte VARIABLE_PITCH = 2;
constexpr Byte FF_DONTCARE = 0x00;
constexpr Byte FF_ROMAN = 0x10;
constexpr Byte FF_SWISS = 0x20;
constexpr Byte FF_MODERN = 0x30;
// tmPitchAndFamily bits.
constexpr Byte TMPF_FIXED_PITCH = 0x01;  // set for a variable-pitch font, as on the platform
constexpr Byte TMPF_VECTOR = 0x02;
constexpr Byte TMPF_TRUETYPE = 0x04;

// Plain data, so GetObject can copy it. lfFaceName is UTF-8 (at most LF_FACESIZE - 1 characters).
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;  // kept; text is drawn unrotated
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  Byte lfItalic = 0;
  Byte lfUnderline = 0;
  Byte lfStrikeOut = 0;
  Byte lfCharSet = DEFAULT_CHARSET;
  Byte lfOutPrecision = OUT_DEFAULT_PRECIS;
  Byte lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Byte lfQuality = DEFAULT_QUALITY;
  Byte lfPitchAndFamily = DEFAULT_PITCH;
  char lfFaceName[LF_FACESIZE * 4] = {};
};

// Stores name into lf.lfFaceName, cut to LF_FACESIZE - 1 characters.
void SetLogFontFaceName(LOGFONT& lf, const String& name);
String LogFontFaceName(const LOGFONT& lf);

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = ScreenPixelsPerInch;
  LONG tmDigitizedAspectY = ScreenPixelsPerInch;
  char32_t tmFirstChar = 0x20;
  char32_t tmLastChar = 0xFFFD;
  char32_t tmDefaultChar = 0xFFFD;
  char32_t tmBreakChar = 0x20;
  Byte tmItalic = 0;
  Byte tmUnderlined = 0;
  Byte tmStruckOut = 0;
  Byte tmPitchAndFamily = 0;
  Byte tmCharSet = DEFAULT_CHARSET;
};

// Null for a null lf. The LOGFONT is stored as given (GetObject returns it unchanged); the font is
// realised when it is first used.
HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(Integer height, Integer width, Integer escapement, Integer orientation, Integer weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const String& faceName);

// Metrics of the font selected into dc. False for a DC that is not live or a null tm.
bool GetTextMetrics(HDC dc, TEXTMETRIC* tm);
// The face name of the font selected into dc: the logical name when the font maps it (or the test font
// stands in for it), else the family actually used. Empty for a DC that is not live.
String GetTextFace(HDC dc);

// Every font realises as the test font while on (tests; default off).
void SetTestFontMode(bool on);
bool TestFontMode();

// The font object. GetObject(h, cb, out) copies its LOGFONT.
struct TGdiFontObject : TGdiObject {
  explicit TGdiFontObject(const LOGFONT& lf) : TGdiObject(OBJ_FONT), LogFont(lf) {}
  Integer GetObjectInfo(Integer cb, void* out) const override;
  const LOGFONT LogFont;
};

// ---- for the text module ----

// One rendered glyph: coverage rows (0..255) with its top-left at (pen x + Left, baseline - Top).
struct TGlyphImage {
  Integer Advance = 0;
  Integer Left = 0;
  Integer Top = 0;
  Integer Width = 0;
  Integer Height = 0;
  std::vector<Byte> Coverage;
};

// A realised font: a face (or the test font) at a pixel size and style. Thread-safe.
class TFontInstance {
 public:
  virtual ~TFontInstance() = default;
  const TEXTMETRIC& Metrics() const { return FMetrics; }
  const String& FaceName() const { return FFaceName; }
  bool IsTestFont() const { return FTestFont; }
  // Horizontal advance of one code point (0 for control characters; a space's for tab).
  virtual Integer Advance(char32_t code) = 0;
  // The glyph of a code point; null or empty coverage for blank characters.
  virtual std::shared_ptr<const TGlyphImage> Glyph(char32_t code) = 0;
  // Rows of the underline and the strike-out line, from the cell top, and their thickness.
  Integer UnderlineTop() const { return FUnderlineTop; }
  Integer StrikeOutTop() const { return FStrikeOutTop; }
  Integer LineThickness() const { return FLineThickness; }
  bool Underline() const { return FUnderline; }
  bool StrikeOut() const { return FStrikeOut; }

 protected:
  TEXTMETRIC FMetrics;
  String FFaceName;
  bool FTestFont = false;
  bool FUnderline = false;
  bool FStrikeOut = false;
  Integer FUnderlineTop = 0;
  Integer FStrikeOutTop = 0;
  Integer FLineThickness = 1;
};

// The realised form of a logical font (shared between equal LOGFONTs); never null.
std::shared_ptr<TFontInstance> RealizeFont(const LOGFONT& lf);
// The realised font selected into dc (the stock system font when none is); null for a DC that is not live.
std::shared_ptr<TFontInstance> RealizeDCFont(HDC dc);

// One character of a line being drawn: its advance as laid out (tabs expanded) and whether it carries
// a prefix underline.
struct TTextRunItem {
  char32_t Code = 0;
  Integer Advance = 0;
  bool Underline = false;
};
// Decodes text into run items with the font's advances (tab = a space's advance).
std::vector<TTextRunItem> MakeTextRun(TFontInstance& font, const String& text);
// Paints a run with its cell's top-left at logical (x, top): the cell in the background colour when the
// DC is in OPAQUE mode, the glyphs in the text colour, the font's underline and strike-out and the item
// underlines; inside clip (logical) when it is not null.
void PaintTextRun(HDC dc, TFontInstance& font, Integer x, Integer top, const std::vector<TTextRunItem>& run,
                  const TRect* clip);
