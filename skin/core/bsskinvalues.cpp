#include "skin/core/bsskinvalues.h"

#include "platform/rtl/sysutils.h"

const char* const SkinStretchTypeWords[3] = {"stfull", "sthorz", "stvert"};
const char* const SkinMorphKindWords[7] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                                           "mkleftslide", "mkrightslide", "mkpush"};
const char* const SkinInActiveEffectWords[6] = {"iebrightness", "iedarkness",  "iegrayscale",
                                                "ienoise",      "iesplitblur", "ieinvert"};
const char* const SkinStdCommandWords[7] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                            "cmdefault", "cmrollup",   "cmminimizetotray"};

namespace {

// Splits Text into Count integer fields. A minus sign is kept when it leads its field, so negative
// coordinates (which the writers produce) read back as written.
void parseSkinFields(const String& Text, Integer* Fields, int Count) {
  String current;
  int k = 0;
  auto store = [&] {
    if (k < Count) Fields[k] = StrToInt(current);
    ++k;
    current.clear();
  };
  for (char c : Text) {
    if (c == ',') {
      store();
    } else if (c >= '0' && c <= '9') {
      current += c;
    } else if (c == '-' && current.empty()) {
      current += c;
    }
  }
  store();
  // Too few fields: the first missing one is empty, which is no integer.
  if (k < Count) StrToInt(String());
}

template <size_t N>
int wordIndex(const String& Text, const char* const (&Words)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (Text == Words[i]) return int(i);
  return -1;
}

}  // namespace

TPoint ParseSkinPoint(const String& Text) {
  Integer f[2];
  parseSkinFields(Text, f, 2);
  return {f[0], f[1]};
}

TRect ParseSkinRect(const String& Text) {
  Integer f[4];
  parseSkinFields(Text, f, 4);
  return {f[0], f[1], f[2], f[3]};
}

TPoint ReadSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ParseSkinPoint(IniFile->ReadString(Section, Ident, "0,0"));
}

TRect ReadSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return ParseSkinRect(IniFile->ReadString(Section, Ident, "0,0,0,0"));
}

bool ReadSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  return IniFile->ReadInteger(Section, Ident, 0) == 1;
}

TFontStyles ReadSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  const String s = IniFile->ReadString(Section, Ident, "");
  TFontStyles styles;
  if (s.find("fsbold") != String::npos) styles.Include(fsBold);
  if (s.find("fsitalic") != String::npos) styles.Include(fsItalic);
  if (s.find("fsunderline") != String::npos) styles.Include(fsUnderline);
  if (s.find("fsstrikeout") != String::npos) styles.Include(fsStrikeOut);
  return styles;
}

void ReadSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident, TStrings* Strings) {
  const Integer count = IniFile->ReadInteger(Section, Ident + "count", 0);
  for (Integer i = 0; i < count; ++i) Strings->Add(IniFile->ReadString(Section, IntToStr(i), ""));
}

TAlignment ReadSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  const String s = IniFile->ReadString(Section, Ident, "tacenter");
  if (s == "tacenter") return taCenter;
  if (s == "taleftjustify") return taLeftJustify;
  return taRightJustify;
}

TbsStretchType ReadSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  const String s = IniFile->ReadString(Section, Ident, "stfull");
  if (s == "stfull") return bsstFull;
  if (s == "stvert") return bsstVert;
  return bsstHorz;
}

TbsMorphKind ReadSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  const int i = wordIndex(IniFile->ReadString(Section, Ident, "mkdefault"), SkinMorphKindWords);
  return i < 0 ? mkDefault : TbsMorphKind(i);
}

TbsInActiveEffect ReadSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section,
                                         const String& Ident) {
  const int i = wordIndex(IniFile->ReadString(Section, Ident, "iebrightness"), SkinInActiveEffectWords);
  return i < 0 ? ieGrayScale : TbsInActiveEffect(i);
}

TbsStdCommand ReadSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident) {
  const int i = wordIndex(IniFile->ReadString(Section, Ident, "cmdefault"), SkinStdCommandWords);
  return i < 0 ? cmMinimizeToTray : TbsStdCommand(i);
}

void WriteSkinPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& P) {
  IniFile->WriteString(Section, Ident, IntToStr(P.X) + "," + IntToStr(P.Y));
}

void WriteSkinRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& R) {
  IniFile->WriteString(
      Section, Ident,
      IntToStr(R.Left) + "," + IntToStr(R.Top) + "," + IntToStr(R.Right) + "," + IntToStr(R.Bottom));
}

void WriteSkinBool(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value) {
  IniFile->WriteInteger(Section, Ident, Value ? 1 : 0);
}

void WriteSkinFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                         TFontStyles Styles) {
  String s;
  auto add = [&s](const char* Word) {
    if (!s.empty()) s += ",";
    s += Word;
  };
  if (Styles.Contains(fsBold)) add("fsbold");
  if (Styles.Contains(fsItalic)) add("fsitalic");
  if (Styles.Contains(fsUnderline)) add("fsunderline");
  if (Styles.Contains(fsStrikeOut)) add("fsstrikeout");
  IniFile->WriteString(Section, Ident, s);
}

void WriteSkinStrings(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                      TStrings* Strings) {
  const Integer count = Strings->Count();
  IniFile->WriteInteger(Section, Ident + "count", count);
  for (Integer i = 0; i < count; ++i) IniFile->WriteString(Section, IntToStr(i), Strings->Strings(i));
}

void WriteSkinAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                        TAlignment Value) {
  const char* word = Value == taCenter        ? "tacenter"
                     : Value == taLeftJustify ? "taleftjustify"
                                              : "tarightjustify";
  IniFile->WriteString(Section, Ident, word);
}

void WriteSkinStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                          TbsStretchType Value) {
  IniFile->WriteString(Section, Ident, SkinStretchTypeWords[Value]);
}

void WriteSkinMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                        TbsMorphKind Value) {
  IniFile->WriteString(Section, Ident, SkinMorphKindWords[Value]);
}

void WriteSkinInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                             TbsInActiveEffect Value) {
  IniFile->WriteString(Section, Ident, SkinInActiveEffectWords[Value]);
}

void WriteSkinStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident,
                         TbsStdCommand Value) {
  IniFile->WriteString(Section, Ident, SkinStdCommandWords[Value]);
}

bool IsValidSkinIni(TCustomIniFile* IniFile) {
  return IniFile->SectionExists("VERSION") && IniFile->SectionExists("PICTURES") &&
         IniFile->SectionExists("FORMINFO") && IniFile->SectionExists("SKINOBJECTS") &&
         IniFile->SectionExists("SKINCONTROLS");
}
