// Logical fonts and their realisation: face mapping through fontconfig, FreeType faces and sizes, the
// glyph cache, text metrics and the test font.
#include "platform/gdi/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/gdi/gdi_internal.h"
#include "platform/rtl/strings.h"

namespace {

constexpr const char* kTestFaceName = "NerivoTest";
constexpr const char* kLatinFamily = "DejaVu Sans";
constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";
// Caches are dropped whole when they grow past these (a UI uses a handful of fonts).
constexpr size_t kMaxInstances = 256;
constexpr size_t kMaxGlyphsPerInstance = 4096;

std::atomic<bool> gTestFontMode{false};
std::atomic<bool> gFontConfigLive{false};

bool isCjkCharSet(Byte cs) {
  return cs == SHIFTJIS_CHARSET || cs == HANGEUL_CHARSET || cs == GB2312_CHARSET || cs == CHINESEBIG5_CHARSET;
}

Integer clampPixels(Int64 v) {
  return Integer(std::clamp<Int64>(v, 1, MaxFontPixels));
}

// Rounds a non-negative ratio a / b to the nearest integer, halves up.
Int64 roundDiv(Int64 a, Int64 b) {
  return b == 0 ? 0 : (a * 2 + b) / (b * 2);
}
// The same for pixel metrics, which the size bounds keep far inside Integer.
Integer roundPx(Int64 a, Int64 b) {
  return Integer(std::clamp<Int64>(roundDiv(a, b), -0x3FFFFFFF, 0x3FFFFFFF));
}

// Characters that take no room and draw nothing (tab is a blank of a space's width).
bool isControl(char32_t code) {
  return (code < 0x20 && code != U'\t') || code == 0x7F;
}

bool isBold(const LOGFONT& lf) {
  return lf.lfWeight >= FW_SEMIBOLD;
}

// Character height of the test font for a logical height.
Integer testFontEm(LONG height) {
  if (height == 0) height = DefaultFontHeight;
  if (height < 0) return clampPixels(-Int64(height));
  Integer cell = clampPixels(height);
  Integer em = cell;
  while (em > 1 && em + em / 4 > cell) --em;
  return em;
}

// ---- the test font ----

class TTestFontInstance : public TFontInstance {
 public:
  TTestFontInstance(const LOGFONT& lf, const String& faceName) {
    FTestFont = true;
    FFaceName = faceName;
    Integer em = testFontEm(lf.lfHeight);
    Integer width =
        lf.lfWidth == 0 ? std::max(1, (2 * em + 1) / 3) : clampPixels(std::abs(Int64(lf.lfWidth)));
    TEXTMETRIC& tm = FMetrics;
    tm.tmInternalLeading = em / 4;
    tm.tmHeight = em + em / 4;
    tm.tmAscent = em;
    tm.tmDescent = em / 4;
    tm.tmAveCharWidth = width;
    tm.tmMaxCharWidth = width;
    tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000);
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;  // fixed pitch: the bit stays clear
    tm.tmCharSet = lf.lfCharSet;
    FUnderline = tm.tmUnderlined;
    FStrikeOut = tm.tmStruckOut;
    FLineThickness = std::max(1, em / 12);
    FUnderlineTop = std::min(tm.tmAscent + tm.tmDescent / 2, tm.tmHeight - FLineThickness);
    FStrikeOutTop = tm.tmInternalLeading + (tm.tmAscent - tm.tmInternalLeading) / 2;
    FBox = std::make_shared<TGlyphImage>();
    FBox->Advance = width;
    FBox->Left = 0;
    FBox->Top = tm.tmAscent - tm.tmInternalLeading;
    FBox->Width = std::max(1, width - 1);
    FBox->Height = FBox->Top;
    FBox->Coverage.assign(size_t(FBox->Width) * size_t(FBox->Height), 255);
    FBlank = std::make_shared<TGlyphImage>();
    FBlank->Advance = width;
  }

  Integer Advance(char32_t code) override { return isControl(code) ? 0 : FBox->Advance; }

  std::shared_ptr<const TGlyphImage> Glyph(char32_t code) override {
    if (code == U' ' || code == U'\t' || code == 0xA0 || code == 0x3000) return FBlank;
    if (isControl(code)) return nullptr;
    return FBox;
  }

 private:
  std::shared_ptr<TGlyphImage> FBox;
  std::shared_ptr<TGlyphImage> FBlank;
};

// ---- FreeType faces ----

struct TFaceFile {
  String Path;
  Integer Index = 0;
  std::vector<String> Families;
};

// The face's own style; fontconfig reports the requested style for faces it would synthesise.
bool faceIsBold(FT_Face face) {
  return face->style_flags & FT_STYLE_FLAG_BOLD;
}
bool faceIsItalic(FT_Face face) {
  return face->style_flags & FT_STYLE_FLAG_ITALIC;
}

class TFontEngine;
TFontEngine& engine();

class TFontEngine {
 public:
  std::recursive_mutex Lock;

  TFontEngine() {
    FFontsReady = FT_Init_FreeType(&FLibrary) == 0;
    if (FcInit()) {
      gFontConfigLive.store(true);
      // fontconfig keeps its configuration in globals that only FcFini frees.
      std::atexit([] {
        std::lock_guard<std::recursive_mutex> guard(engine().Lock);
        gFontConfigLive.store(false);
        FcFini();
      });
    }
  }

  // fontconfig's best file for a family and style; nothing when no font is known at all.
  std::optional<TFaceFile> Match(const String& family, bool bold, bool italic) {
    String key = LowerCase(family) + (bold ? "|b" : "|") + (italic ? "i" : "");
    auto it = FMatches.find(key);
    if (it != FMatches.end()) return it->second;
    std::optional<TFaceFile> result;
    if (gFontConfigLive.load()) {
      FcPattern* pattern = FcPatternCreate();
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
      FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
      FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
      FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
      FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult res = FcResultNoMatch;
      FcPattern* match = FcFontMatch(nullptr, pattern, &res);
      if (match) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
          TFaceFile f;
          f.Path = reinterpret_cast<const char*>(file);
          int index = 0;
          FcPatternGetInteger(match, FC_INDEX, 0, &index);
          f.Index = index;
          FcChar8* name = nullptr;
          for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &name) == FcResultMatch; ++n)
            if (name) f.Families.push_back(reinterpret_cast<const char*>(name));
          result = f;
        }
        FcPatternDestroy(match);
      }
      FcPatternDestroy(pattern);
    }
    FMatches[key] = result;
    return result;
  }

  // The FreeType face of a file (kept for the life of the program); null when it cannot be opened.
  FT_Face Face(const TFaceFile& file) {
    if (!FFontsReady) return nullptr;
    String key = file.Path + "#" + std::to_string(file.Index);
    auto it = FFaces.find(key);
    if (it != FFaces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(FLibrary, file.Path.c_str(), file.Index, &face) != 0 || !FT_IS_SCALABLE(face)) {
      if (face) FT_Done_Face(face);
      face = nullptr;
    }
    FFaces[key] = face;
    return face;
  }

  std::map<String, std::shared_ptr<TFontInstance>> Instances;

 private:
  FT_Library FLibrary = nullptr;
  bool FFontsReady = false;
  std::unordered_map<String, std::optional<TFaceFile>> FMatches;
  std::unordered_map<String, FT_Face> FFaces;
};

// Never freed: font objects may outlive any static destruction order.
TFontEngine& engine() {
  static TFontEngine* e = new TFontEngine;
  return *e;
}

bool hasFamily(const TFaceFile& f, const String& family) {
  for (const String& name : f.Families)
    if (SameText(name, family)) return true;
  return false;
}

// One face at the font's size, with the styles it must synthesise.
struct TFaceSlot {
  FT_Face Face = nullptr;
  FT_Size Size = nullptr;
  bool SynthBold = false;
  bool SynthItalic = false;
};

struct TFaceMetrics {
  Int64 Upem = 2048, WinAscent = 0, WinDescent = 0, LineGap = 0, AvgWidth = 0;
  Int64 StrikePos = 0, StrikeSize = 0;
};

TFaceMetrics faceMetrics(FT_Face face) {
  TFaceMetrics m;
  m.Upem = face->units_per_EM ? face->units_per_EM : 2048;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  Int64 asc = face->ascender, desc = -Int64(face->descender);
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    m.WinAscent = os2->usWinAscent;
    m.WinDescent = os2->usWinDescent;
    m.AvgWidth = std::max<Int64>(0, os2->xAvgCharWidth);
    m.StrikePos = os2->yStrikeoutPosition;
    m.StrikeSize = os2->yStrikeoutSize;
  } else {
    m.WinAscent = asc;
    m.WinDescent = desc;
  }
  if (m.WinAscent + m.WinDescent <= 0) {
    m.WinAscent = m.Upem * 4 / 5;
    m.WinDescent = m.Upem / 5;
  }
  if (hhea) m.LineGap = std::max<Int64>(0, hhea->Line_Gap - ((m.WinAscent + m.WinDescent) - (asc + desc)));
  return m;
}

class TFreeTypeInstance : public TFontInstance {
 public:
  TFreeTypeInstance(const LOGFONT& lf, const String& faceName, TFaceSlot primary,
                    std::optional<TFaceSlot> fallback)
      : FPrimary(primary), FFallback(fallback) {
    FFaceName = faceName;
    FMono = lf.lfQuality == NONANTIALIASED_QUALITY;
    TFaceMetrics m = faceMetrics(primary.Face);
    Int64 wa = m.WinAscent, wd = m.WinDescent;
    LONG height = lf.lfHeight == 0 ? DefaultFontHeight : lf.lfHeight;
    TEXTMETRIC& tm = FMetrics;
    if (height < 0) {
      Integer ppem = clampPixels(-Int64(height));
      FYSize = Int64(ppem) * 64;
      tm.tmAscent = roundPx(wa * ppem, m.Upem);
      tm.tmDescent = roundPx(wd * ppem, m.Upem);
    } else {
      Integer cell = clampPixels(height);
      FYSize = std::clamp<Int64>(roundDiv(Int64(cell) * m.Upem * 64, wa + wd), 64, Int64(MaxFontPixels) * 64);
      tm.tmAscent = roundPx(wa * cell, wa + wd);
      tm.tmDescent = cell - tm.tmAscent;
    }
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    Integer ppem = roundPx(FYSize, 64);
    tm.tmInternalLeading = std::max(0, tm.tmHeight - ppem);
    tm.tmExternalLeading = roundPx(m.LineGap * FYSize, m.Upem * 64);
    Int64 naturalAvg = m.AvgWidth ? roundDiv(m.AvgWidth * FYSize, m.Upem * 64) : 0;
    FXSize = FYSize;
    if (lf.lfWidth != 0 && naturalAvg > 0) {
      Integer width = clampPixels(std::abs(Int64(lf.lfWidth)));
      FXSize = std::clamp<Int64>(FYSize * width / naturalAvg, 1, Int64(MaxFontPixels) * 64);
    }
    for (TFaceSlot* slot : {&FPrimary, FFallback ? &*FFallback : nullptr}) {
      if (!slot) continue;
      FT_New_Size(slot->Face, &slot->Size);
      FT_Activate_Size(slot->Size);
      FT_Set_Char_Size(slot->Face, FT_F26Dot6(FXSize), FT_F26Dot6(FYSize), 72, 72);
    }
    FBoldPixels = std::max(1, ppem / 24);
    tm.tmAveCharWidth = m.AvgWidth ? roundPx(m.AvgWidth * FXSize, m.Upem * 64) : Advance(U'x');
    if (lf.lfWidth != 0) tm.tmAveCharWidth = clampPixels(std::abs(Int64(lf.lfWidth)));
    tm.tmMaxCharWidth = std::max<Integer>(
        tm.tmAveCharWidth, roundPx(Int64(primary.Face->max_advance_width) * FXSize, m.Upem * 64));
    tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 1, 1000);
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily =
        Byte(TMPF_VECTOR | TMPF_TRUETYPE | (FT_IS_FIXED_WIDTH(primary.Face) ? 0 : TMPF_FIXED_PITCH));
    tm.tmCharSet = lf.lfCharSet;
    FUnderline = tm.tmUnderlined;
    FStrikeOut = tm.tmStruckOut;
    Int64 thick = primary.Face->underline_thickness;
    FLineThickness = std::max(1, roundPx(std::max<Int64>(0, thick) * FYSize, m.Upem * 64));
    Integer below =
        roundPx(std::max<Int64>(0, -Int64(primary.Face->underline_position)) * FYSize, m.Upem * 64);
    FUnderlineTop = std::clamp(tm.tmAscent + std::max(1, below - FLineThickness / 2), 0,
                               std::max(0, tm.tmHeight - FLineThickness));
    Int64 strike = m.StrikePos > 0 ? m.StrikePos : wa / 4;
    FStrikeOutTop = std::clamp(tm.tmAscent - roundPx(strike * FYSize, m.Upem * 64), 0,
                               std::max(0, tm.tmHeight - FLineThickness));
  }

  ~TFreeTypeInstance() override {
    std::lock_guard<std::recursive_mutex> guard(engine().Lock);
    FT_Done_Size(FPrimary.Size);
    if (FFallback) FT_Done_Size(FFallback->Size);
  }

  Integer Advance(char32_t code) override {
    if (isControl(code)) return 0;
    auto g = Glyph(code == U'\t' ? U' ' : code);
    return g ? g->Advance : 0;
  }

  std::shared_ptr<const TGlyphImage> Glyph(char32_t code) override {
    if (isControl(code)) return nullptr;
    if (code == U'\t') {
      auto space = Glyph(U' ');
      auto blank = std::make_shared<TGlyphImage>();
      blank->Advance = space ? space->Advance : 0;
      return blank;
    }
    std::lock_guard<std::recursive_mutex> guard(engine().Lock);
    auto it = FGlyphs.find(code);
    if (it != FGlyphs.end()) return it->second;
    if (FGlyphs.size() >= kMaxGlyphsPerInstance) FGlyphs.clear();
    auto g = render(code);
    FGlyphs[code] = g;
    return g;
  }

 private:
  TFaceSlot FPrimary;
  std::optional<TFaceSlot> FFallback;
  Int64 FXSize = 0, FYSize = 0;  // 26.6 pixels
  Integer FBoldPixels = 1;
  bool FMono = false;
  std::unordered_map<char32_t, std::shared_ptr<const TGlyphImage>> FGlyphs;

  std::shared_ptr<const TGlyphImage> render(char32_t code) {
    auto g = std::make_shared<TGlyphImage>();
    const TFaceSlot* slot = &FPrimary;
    FT_UInt index = FT_Get_Char_Index(FPrimary.Face, code);
    if (index == 0 && FFallback) {
      FT_UInt other = FT_Get_Char_Index(FFallback->Face, code);
      if (other != 0) {
        slot = &*FFallback;
        index = other;
      }
    }
    FT_Activate_Size(slot->Size);
    FT_Int32 flags = FT_LOAD_NO_BITMAP | (FMono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(slot->Face, index, flags) != 0) return g;
    FT_GlyphSlot gs = slot->Face->glyph;
    Integer advance = Integer((gs->advance.x + 32) >> 6);
    if (gs->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (slot->SynthItalic) {
        FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
        FT_Outline_Transform(&gs->outline, &shear);
      }
      if (slot->SynthBold) {
        FT_Outline_Embolden(&gs->outline, FT_Pos(FBoldPixels) * 64);
        advance += FBoldPixels;
      }
    }
    g->Advance = std::max(0, advance);
    if (FT_Render_Glyph(gs, FMono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = gs->bitmap;
    if (bm.width == 0 || bm.rows == 0 || !bm.buffer) return g;
    g->Left = gs->bitmap_left;
    g->Top = gs->bitmap_top;
    g->Width = Integer(bm.width);
    g->Height = Integer(bm.rows);
    g->Coverage.resize(size_t(g->Width) * size_t(g->Height));
    for (Integer y = 0; y < g->Height; ++y) {
      const unsigned char* row = bm.pitch >= 0 ? bm.buffer + size_t(y) * size_t(bm.pitch)
                                               : bm.buffer + size_t(g->Height - 1 - y) * size_t(-bm.pitch);
      Byte* out = g->Coverage.data() + size_t(y) * size_t(g->Width);
      for (Integer x = 0; x < g->Width; ++x) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
          out[x] = bm.num_grays == 256 ? row[x] : Byte(row[x] * 255 / std::max(1, bm.num_grays - 1));
      }
    }
    return g;
  }
};

// The family a logical face name maps to, or empty when fontconfig decides.
String mappedFamily(const String& face) {
  static const std::pair<const char*, const char*> table[] = {
      {"Tahoma", kLatinFamily}, {"Arial", kLatinFamily}, {"MS Sans Serif", kLatinFamily},
      {"System", kLatinFamily}, {"宋体", kCjkFamily},    {"SimSun", kCjkFamily},
  };
  if (face.empty()) return kLatinFamily;
  for (const auto& [name, family] : table)
    if (SameText(face, name)) return family;
  return String();
}

std::shared_ptr<TFontInstance> makeInstance(const LOGFONT& lf) {
  String face = LogFontFaceName(lf);
  if (gTestFontMode.load() || SameText(face, kTestFaceName))
    return std::make_shared<TTestFontInstance>(lf, face.empty() ? String(kTestFaceName) : face);

  TFontEngine& e = engine();
  bool bold = isBold(lf), italic = lf.lfItalic != 0;
  String family = mappedFamily(face);
  String reported = face;
  std::optional<TFaceFile> file;
  if (family.empty()) {
    file = e.Match(face, bold, italic);
    if (!file || !hasFamily(*file, face)) {
      family = isCjkCharSet(lf.lfCharSet) ? kCjkFamily : kLatinFamily;
      file.reset();
      reported.clear();
    }
  }
  if (face.empty() && isCjkCharSet(lf.lfCharSet)) family = kCjkFamily;
  if (!file) file = e.Match(family, bold, italic);
  FT_Face ft = file ? e.Face(*file) : nullptr;
  if (!ft)
    return std::make_shared<TTestFontInstance>(lf, reported.empty() ? String(kTestFaceName) : reported);
  if (reported.empty()) reported = file->Families.empty() ? family : file->Families.front();

  TFaceSlot primary{ft, nullptr, bold && !faceIsBold(ft), italic && !faceIsItalic(ft)};
  std::optional<TFaceSlot> fallback;
  if (!hasFamily(*file, kCjkFamily)) {
    std::optional<TFaceFile> cjk = e.Match(kCjkFamily, bold, italic);
    FT_Face cjkFace = cjk && hasFamily(*cjk, kCjkFamily) ? e.Face(*cjk) : nullptr;
    if (cjkFace)
      fallback = TFaceSlot{cjkFace, nullptr, bold && !faceIsBold(cjkFace), italic && !faceIsItalic(cjkFace)};
  }
  return std::make_shared<TFreeTypeInstance>(lf, reported, primary, fallback);
}

String instanceKey(const LOGFONT& lf) {
  String key = LowerCase(LogFontFaceName(lf));
  key += '|' + std::to_string(lf.lfHeight) + '|' + std::to_string(lf.lfWidth) + '|';
  key += isBold(lf) ? 'b' : '-';
  key += lf.lfItalic ? 'i' : '-';
  key += lf.lfUnderline ? 'u' : '-';
  key += lf.lfStrikeOut ? 's' : '-';
  key += lf.lfQuality == NONANTIALIASED_QUALITY ? 'm' : '-';
  key += gTestFontMode.load() ? 't' : '-';
  key += '|' + std::to_string(lf.lfCharSet) + '|' + std::to_string(lf.lfWeight);
  return key;
}

LOGFONT stockLogFont(Integer index) {
  LOGFONT lf;
  switch (index) {
    case SYSTEM_FONT:
      lf.lfHeight = 16;
      lf.lfWeight = FW_BOLD;
      SetLogFontFaceName(lf, "System");
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      lf.lfHeight = 12;
      lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      SetLogFontFaceName(lf, "DejaVu Sans Mono");
      break;
    default:  // DEFAULT_GUI_FONT, ANSI_VAR_FONT, DEVICE_DEFAULT_FONT
      lf.lfHeight = DefaultFontHeight;
      SetLogFontFaceName(lf, "MS Sans Serif");
      break;
  }
  return lf;
}

}  // namespace

void SetLogFontFaceName(LOGFONT& lf, const String& name) {
  std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
  Integer end = 0;
  for (Integer chars = 0; chars < LF_FACESIZE - 1 && end < Integer(name.size()); ++chars) {
    Integer size = 0;
    Utf8Decode(name, end, &size);
    if (end + size >= Integer(sizeof(lf.lfFaceName))) break;
    end += size;
  }
  std::memcpy(lf.lfFaceName, name.data(), size_t(end));
}

String LogFontFaceName(const LOGFONT& lf) {
  return String(lf.lfFaceName, strnlen(lf.lfFaceName, sizeof(lf.lfFaceName)));
}

Integer TGdiFontObject::GetObjectInfo(Integer cb, void* out) const {
  if (!out) return Integer(sizeof(LOGFONT));
  if (cb <= 0) return 0;
  Integer n = std::min<Integer>(cb, Integer(sizeof(LOGFONT)));
  std::memcpy(out, &LogFont, size_t(n));
  return n;
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  LOGFONT copy = *lf;
  copy.lfFaceName[sizeof(copy.lfFaceName) - 1] = 0;
  auto* font = new TGdiFontObject(copy);
  GdiRegisterObject(font);
  return font;
}

HFONT CreateFont(Integer height, Integer width, Integer escapement, Integer orientation, Integer weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const String& faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = Byte(italic != 0);
  lf.lfUnderline = Byte(underline != 0);
  lf.lfStrikeOut = Byte(strikeOut != 0);
  lf.lfCharSet = Byte(charSet);
  lf.lfOutPrecision = Byte(outPrecision);
  lf.lfClipPrecision = Byte(clipPrecision);
  lf.lfQuality = Byte(quality);
  lf.lfPitchAndFamily = Byte(pitchAndFamily);
  SetLogFontFaceName(lf, faceName);
  return CreateFontIndirect(&lf);
}

HFONT GdiCreateStockFont(Integer index) {
  return new TGdiFontObject(stockLogFont(index));
}

void SetTestFontMode(bool on) {
  gTestFontMode.store(on);
}
bool TestFontMode() {
  return gTestFontMode.load();
}

std::shared_ptr<TFontInstance> RealizeFont(const LOGFONT& lf) {
  TFontEngine& e = engine();
  String key = instanceKey(lf);
  std::lock_guard<std::recursive_mutex> guard(e.Lock);
  auto it = e.Instances.find(key);
  if (it != e.Instances.end()) return it->second;
  if (e.Instances.size() >= kMaxInstances) e.Instances.clear();
  auto instance = makeInstance(lf);
  e.Instances[key] = instance;
  return instance;
}

std::shared_ptr<TFontInstance> RealizeDCFont(HDC dc) {
  TGdiDC* d = GdiDC(dc);
  if (!d) return nullptr;
  TGdiObject* font = d->S.Font;
  if (!font || font->Kind != OBJ_FONT) font = static_cast<TGdiObject*>(GetStockObject(SYSTEM_FONT));
  if (!font || font->Kind != OBJ_FONT) return RealizeFont(stockLogFont(SYSTEM_FONT));
  return RealizeFont(static_cast<TGdiFontObject*>(font)->LogFont);
}

bool GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
  if (!tm) return false;
  auto font = RealizeDCFont(dc);
  if (!font) return false;
  *tm = font->Metrics();
  return true;
}

String GetTextFace(HDC dc) {
  auto font = RealizeDCFont(dc);
  return font ? font->FaceName() : String();
}
