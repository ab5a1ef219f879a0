#include "skin/core/bsskinvalues.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/lists.h"

namespace {

// ---- points and rectangles ----

struct RectCase {
  const char* Text;
  std::optional<TRect> Expected;  // none: EConvertError
};

TEST(SkinValues, ParseSkinRect) {
  const RectCase cases[] = {
      {"5,6,7,8", Rect(5, 6, 7, 8)},
      {" 5 , 6 ,7 ,8 ", Rect(5, 6, 7, 8)},
      {"-5,6,-7,8", Rect(-5, 6, -7, 8)},  // as WriteSkinRect writes negatives
      {"- 5,6,7,8", Rect(-5, 6, 7, 8)},
      {"+5,6,7,8", Rect(5, 6, 7, 8)},
      {"5-1,6,7,8", Rect(51, 6, 7, 8)},  // only a leading minus counts
      {"1.5,2,3,4", Rect(15, 2, 3, 4)},
      {"1,2,3,4,5", Rect(1, 2, 3, 4)},
      {"1,2,3,4,junk", Rect(1, 2, 3, 4)},
      {"0,0,2147483647,0", Rect(0, 0, 2147483647, 0)},
      {"1,2,3", std::nullopt},
      {"1,,3,4", std::nullopt},
      {"-,2,3,4", std::nullopt},
      {"a,b,c,d", std::nullopt},
      {"", std::nullopt},
      {"1,2,3,99999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    if (c.Expected) {
      EXPECT_EQ(ParseSkinRect(c.Text), *c.Expected) << c.Text;
    } else {
      EXPECT_THROW(ParseSkinRect(c.Text), EConvertError) << c.Text;
    }
  }
}

TEST(SkinValues, ParseSkinPoint) {
  EXPECT_EQ(ParseSkinPoint("3,4"), Point(3, 4));
  EXPECT_EQ(ParseSkinPoint("3,4,9"), Point(3, 4));
  EXPECT_EQ(ParseSkinPoint(" -3 ,4"), Point(-3, 4));
  EXPECT_THROW(ParseSkinPoint("3"), EConvertError);
  EXPECT_THROW(ParseSkinPoint(",4"), EConvertError);
}

TEST(SkinValues, ConversionErrorNamesTheFilteredField) {
  try {
    ParseSkinRect("1,2, - ,4");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'-' is not a valid integer value");
  }
  // The field that fails is quoted as kept: here the empty fourth field of a three-field text.
  try {
    ParseSkinRect("1, 2 ,3");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'' is not a valid integer value");
  }
  try {
    ParseSkinPoint("1,99999999999");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'99999999999' is not a valid integer value");
  }
}

TEST(SkinValues, PointsAndRectanglesThroughTheIniObject) {
  TMemIniFile ini("");
  EXPECT_EQ(ReadSkinRect(&ini, "s", "r"), TRect());
  EXPECT_EQ(ReadSkinPoint(&ini, "s", "p"), TPoint());
  ini.WriteString("s", "empty", "");
  EXPECT_THROW(ReadSkinRect(&ini, "s", "empty"), EConvertError);
  EXPECT_THROW(ReadSkinPoint(&ini, "s", "empty"), EConvertError);

  const TRect rects[] = {Rect(0, 0, 0, 0), Rect(-3, 0, 12, -7), Rect(2147483647, -2147483647, 1, 2)};
  for (const auto& r : rects) {
    WriteSkinRect(&ini, "s", "r", r);
    EXPECT_EQ(ReadSkinRect(&ini, "s", "r"), r);
  }
  WriteSkinRect(&ini, "s", "r", Rect(-3, 0, 12, -7));
  EXPECT_EQ(ini.ReadString("s", "r", ""), "-3,0,12,-7");
  WriteSkinPoint(&ini, "s", "p", Point(-1, 20));
  EXPECT_EQ(ini.ReadString("s", "p", ""), "-1,20");
  EXPECT_EQ(ReadSkinPoint(&ini, "s", "p"), Point(-1, 20));
}

// ---- flags ----

TEST(SkinValues, FlagIsTrueOnlyForTheIntegerOne) {
  const std::pair<const char*, bool> cases[] = {{"1", true},  {"0x1", true},   {"$1", true},  {" 1", true},
                                                {"0", false}, {"2", false},    {"-1", false}, {"yes", false},
                                                {"", false},  {"true", false}, {"1.0", false}};
  TMemIniFile ini("");
  for (const auto& [text, expected] : cases) {
    ini.WriteString("s", "f", text);
    EXPECT_EQ(ReadSkinBool(&ini, "s", "f"), expected) << text;
  }
  EXPECT_FALSE(ReadSkinBool(&ini, "s", "absent"));
  WriteSkinBool(&ini, "s", "t", true);
  WriteSkinBool(&ini, "s", "u", false);
  EXPECT_EQ(ini.ReadString("s", "t", ""), "1");
  EXPECT_EQ(ini.ReadString("s", "u", ""), "0");
}

// ---- font styles ----

TEST(SkinValues, FontStylesReadAnyWordAnywhere) {
  const std::pair<const char*, TFontStyles> cases[] = {
      {"fsitalic,fsbold", {fsBold, fsItalic}},
      {"fsbold fsstrikeout", {fsBold, fsStrikeOut}},
      {"xfsunderliney", {fsUnderline}},
      {"FSBOLD,FsItalic", {}},
      {"", {}},
      {"fsbold,fsitalic,fsunderline,fsstrikeout", {fsBold, fsItalic, fsUnderline, fsStrikeOut}},
  };
  TMemIniFile ini("");
  for (const auto& [text, expected] : cases) {
    ini.WriteString("s", "f", text);
    EXPECT_EQ(ReadSkinFontStyles(&ini, "s", "f"), expected) << text;
  }
  EXPECT_EQ(ReadSkinFontStyles(&ini, "s", "absent"), TFontStyles());
}

TEST(SkinValues, FontStylesWrittenInFixedOrder) {
  const std::pair<TFontStyles, const char*> cases[] = {
      {{}, ""},
      {{fsItalic, fsStrikeOut}, "fsitalic,fsstrikeout"},
      {{fsUnderline}, "fsunderline"},
      {{fsStrikeOut, fsBold}, "fsbold,fsstrikeout"},
      {{fsBold, fsItalic, fsUnderline, fsStrikeOut}, "fsbold,fsitalic,fsunderline,fsstrikeout"},
  };
  TMemIniFile ini("");
  for (const auto& [styles, text] : cases) {
    WriteSkinFontStyles(&ini, "s", "f", styles);
    EXPECT_EQ(ini.ReadString("s", "f", "<absent>"), text);
  }
  // Every set survives the round trip.
  for (int bits = 0; bits < 16; ++bits) {
    TFontStyles s;
    for (int i = 0; i < 4; ++i)
      if (bits & (1 << i)) s.Include(TFontStyle(i));
    WriteSkinFontStyles(&ini, "s", "f", s);
    EXPECT_EQ(ReadSkinFontStyles(&ini, "s", "f"), s) << bits;
  }
}

// ---- string lists ----

TEST(SkinValues, StringListKeysAndAppending) {
  TMemIniFile ini("");
  TStringList lines;
  lines.Add("frame.bmp");
  lines.Add("buttons.bmp");
  WriteSkinStrings(&ini, "PICTURES", "activepictures", &lines);
  EXPECT_EQ(ini.ReadString("PICTURES", "activepicturescount", ""), "2");
  EXPECT_EQ(ini.ReadString("PICTURES", "0", ""), "frame.bmp");
  EXPECT_EQ(ini.ReadString("PICTURES", "1", ""), "buttons.bmp");

  TStringList read;
  read.Add("old");
  ReadSkinStrings(&ini, "PICTURES", "activepictures", &read);
  ASSERT_EQ(read.Count(), 3);
  EXPECT_EQ(read.Strings(0), "old");
  EXPECT_EQ(read.Strings(1), "frame.bmp");
  EXPECT_EQ(read.Strings(2), "buttons.bmp");
}

TEST(SkinValues, StringListCountRules) {
  const std::pair<const char*, Integer> cases[] = {{"0", 0}, {"-2", 0}, {"many", 0}, {"3", 3}};
  for (const auto& [count, lines] : cases) {
    TMemIniFile ini("");
    ini.WriteString("s", "listcount", count);
    ini.WriteString("s", "0", "a");
    ini.WriteString("s", "1", "b");
    TStringList read;
    ReadSkinStrings(&ini, "s", "list", &read);
    ASSERT_EQ(read.Count(), lines) << count;
    if (lines == 3) {
      EXPECT_EQ(read.Strings(1), "b");
      EXPECT_EQ(read.Strings(2), "");  // a missing line key is an empty line
    }
  }
  TMemIniFile none("");
  TStringList read;
  ReadSkinStrings(&none, "s", "list", &read);
  EXPECT_EQ(read.Count(), 0);
}

// ---- enumerations ----

TEST(SkinValues, AlignmentWords) {
  const std::pair<const char*, TAlignment> cases[] = {
      {"tacenter", taCenter},     {"taleftjustify", taLeftJustify}, {"tarightjustify", taRightJustify},
      {"center", taRightJustify}, {"TACENTER", taRightJustify},     {"", taRightJustify}};
  TMemIniFile ini("");
  for (const auto& [text, expected] : cases) {
    ini.WriteString("s", "a", text);
    EXPECT_EQ(ReadSkinAlignment(&ini, "s", "a"), expected) << text;
  }
  EXPECT_EQ(ReadSkinAlignment(&ini, "s", "absent"), taCenter);
  const std::pair<TAlignment, const char*> written[] = {
      {taLeftJustify, "taleftjustify"}, {taRightJustify, "tarightjustify"}, {taCenter, "tacenter"}};
  for (const auto& [value, text] : written) {
    WriteSkinAlignment(&ini, "s", "a", value);
    EXPECT_EQ(ini.ReadString("s", "a", ""), text);
  }
}

TEST(SkinValues, StretchTypeHasNoErrorValue) {
  const std::pair<const char*, TbsStretchType> cases[] = {{"stfull", bsstFull}, {"sthorz", bsstHorz},
                                                          {"stvert", bsstVert}, {"Stfull", bsstHorz},
                                                          {"", bsstHorz},       {"stretch", bsstHorz}};
  TMemIniFile ini("");
  for (const auto& [text, expected] : cases) {
    ini.WriteString("s", "t", text);
    EXPECT_EQ(ReadSkinStretchType(&ini, "s", "t"), expected) << text;
  }
  EXPECT_EQ(ReadSkinStretchType(&ini, "s", "absent"), bsstFull);
  const char* const words[] = {"stfull", "sthorz", "stvert"};
  for (int i = 0; i < 3; ++i) {
    WriteSkinStretchType(&ini, "s", "t", TbsStretchType(i));
    EXPECT_EQ(ini.ReadString("s", "t", ""), words[i]);
    EXPECT_EQ(ReadSkinStretchType(&ini, "s", "t"), TbsStretchType(i));
  }
}

TEST(SkinValues, MorphKindWords) {
  const char* const words[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                               "mkleftslide", "mkrightslide", "mkpush"};
  TMemIniFile ini("");
  for (int i = 0; i < 7; ++i) {
    WriteSkinMorphKind(&ini, "s", "m", TbsMorphKind(i));
    EXPECT_EQ(ini.ReadString("s", "m", ""), words[i]);
    EXPECT_EQ(ReadSkinMorphKind(&ini, "s", "m"), TbsMorphKind(i)) << words[i];
  }
  for (const char* other : {"mkPush", "push", ""}) {
    ini.WriteString("s", "m", other);
    EXPECT_EQ(ReadSkinMorphKind(&ini, "s", "m"), mkDefault) << other;
  }
  EXPECT_EQ(ReadSkinMorphKind(&ini, "s", "absent"), mkDefault);
}

TEST(SkinValues, InActiveEffectFallsBackDifferentlyForAbsentAndUnknown) {
  const char* const words[] = {"iebrightness", "iedarkness",  "iegrayscale",
                               "ienoise",      "iesplitblur", "ieinvert"};
  TMemIniFile ini("");
  for (int i = 0; i < 6; ++i) {
    WriteSkinInActiveEffect(&ini, "s", "e", TbsInActiveEffect(i));
    EXPECT_EQ(ini.ReadString("s", "e", ""), words[i]);
    EXPECT_EQ(ReadSkinInActiveEffect(&ini, "s", "e"), TbsInActiveEffect(i)) << words[i];
  }
  ini.WriteString("s", "e", "iedarker");
  EXPECT_EQ(ReadSkinInActiveEffect(&ini, "s", "e"), ieGrayScale);
  ini.WriteString("s", "e", "");
  EXPECT_EQ(ReadSkinInActiveEffect(&ini, "s", "e"), ieGrayScale);
  EXPECT_EQ(ReadSkinInActiveEffect(&ini, "s", "absent"), ieBrightness);
}

TEST(SkinValues, StockButtonCommandWords) {
  const char* const words[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                               "cmdefault", "cmrollup",   "cmminimizetotray"};
  TMemIniFile ini("");
  for (int i = 0; i < 7; ++i) {
    WriteSkinStdCommand(&ini, "s", "c", TbsStdCommand(i));
    EXPECT_EQ(ini.ReadString("s", "c", ""), words[i]);
    EXPECT_EQ(ReadSkinStdCommand(&ini, "s", "c"), TbsStdCommand(i)) << words[i];
  }
  ini.WriteString("s", "c", "CMCLOSE");
  EXPECT_EQ(ReadSkinStdCommand(&ini, "s", "c"), cmMinimizeToTray);
  EXPECT_EQ(ReadSkinStdCommand(&ini, "s", "absent"), cmDefault);
}

// ---- validity ----

TEST(SkinValues, ValidSkinNeedsFiveSectionsWithKeys) {
  const char* const sections[] = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"};
  auto make = [&](int Missing, bool HeaderOnly) {
    auto ini = std::make_unique<TMemIniFile>("");
    TStringList text;
    for (int i = 0; i < 5; ++i) {
      if (i == Missing && !HeaderOnly) continue;
      text.Add(String("[") + sections[i] + "]");
      if (i != Missing) text.Add("count=0");
    }
    ini->SetStrings(&text);
    return ini;
  };
  EXPECT_TRUE(IsValidSkinIni(make(-1, false).get()));
  for (int missing = 0; missing < 5; ++missing) {
    EXPECT_FALSE(IsValidSkinIni(make(missing, false).get())) << sections[missing];
    EXPECT_FALSE(IsValidSkinIni(make(missing, true).get())) << sections[missing] << " without keys";
  }
}

}  // namespace
