#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "skin/core/bsskinrecords.h"
#include "skin/core/testkit/bsskinrecordstestkit.h"

namespace {

struct TRecordCase {
  const char* Word;  // type word, or the section of a once-per-skin record
  const char* ClassName;
  const char* Keys;  // every key in writing order
};

void PrintTo(const TRecordCase& C, std::ostream* Out) {
  *Out << C.Word;
}

// ---- object records ----

const TRecordCase ObjectCases[] = {
    {"menuitem", "TbsDataSkinMenuItem",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 itemleftoffset:i=0 itemrightoffset:i=0 "
     "dividerrect:r dividerleftoffset:i=0 dividerrightoffset:i=0 textrect:r imagerect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 "
     "unenabledfontcolor:i=0 stretcheffect:b inactivestretcheffect:b dividerstretcheffect:b "
     "animateskinrect:r framecount:i=0 animateinterval:i=25 inactiveanimation:b useimagecolor:b "
     "imagecolor:i=0 activeimagecolor:i=0 inactivetransparent:b checkimagerect:r "
     "activecheckimagerect:r radioimagerect:r activeradioimagerect:r arrowimagerect:r "
     "activearrowimagerect:r "},
    {"mainmenubaritem", "TbsDataSkinMainMenuBarItem",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 itemleftoffset:i=0 itemrightoffset:i=0 "
     "downrect:r textrect:r fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 "
     "activefontcolor:i=0 downfontcolor:i=0 unenabledfontColor:i=0 stretcheffect:b "
     "animateskinrect:r framecount:i=0 animateinterval:i=25 inactiveanimation:b "},
    {"stdbutton", "TbsDataSkinStdButton",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 downrect:r disableskinrsect:r "
     "alphamaskpictureindex:i=-1 alphamaskactivepictureindex:i=-1 "
     "alphamaskinactivepictureindex:i=-1 command:c restorerect:r restoreactiverect:r "
     "restoredownrect:r restoreinactiverect:r restorehint:s= "},
    {"mainmenubarbutton", "TbsDataSkinMainMenuBarButton",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 downrect:r disableskinrsect:r "
     "alphamaskpictureindex:i=-1 alphamaskactivepictureindex:i=-1 "
     "alphamaskinactivepictureindex:i=-1 command:c restorerect:r restoreactiverect:r "
     "restoredownrect:r restoreinactiverect:r restorehint:s= "},
    {"button", "TbsDataSkinButton",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 downrect:r disableskinrsect:r "
     "alphamaskpictureindex:i=-1 alphamaskactivepictureindex:i=-1 "
     "alphamaskinactivepictureindex:i=-1 "},
    {"caption", "TbsDataSkinCaption",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 textrect:r fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 alignment:a light:b "
     "lightcolor:i=0 activelightcolor:i=0 shadow:b shadowcolor:i=0 activeshadowcolor:i=0 "
     "framerect:r activeframerect:r frametextrect:r frameleftoffset:i=0 framerightoffset:i=0 "
     "stretcheffect:b animateskinrect:r framecount:i=0 animateinterval:i=25 inactiveanimation:b "
     "fullframe:b vistagloweffect:b vistaglowinactiveeffect:b gloweffect:b glowinactiveeffect:b "
     "glowsize:i=3 glowcolor:i=0 glowactivecolor:i=0 glowoffset:i=0 reflectioneffect:b "
     "reflactioncolor:i=0 reflactionactivecolor:i=0 reflectionoffset:i=0 dividerrect:r "
     "inactivedividerrect:r dividertransparent:b dividertransparentcolor:i=0 "
     "quickbuttonalphamaskpictureindex:i=-1 "},
    {"animate", "TbsDataSkinAnimate",
     "hint:s= activepictureindex:i=-1 activemaskpictureindex:i=-1 skinrectinapicture:b "
     "skinrect:r activeskinrect:r inactiveskinrect:r morphing:b morphkind:m "
     "glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 glowlayeroffsetx:i=0 "
     "glowlayeroffsety:i=0 glowlayeralphablendvalue:i=255 countframes:i=1 cycle:b buttonstyle:b "
     "timerinterval:i=50 command:c downskinrect:r restorerect:r restoreactiverect:r "
     "restoredownrect:r restoreinactiverect:r restorehint:s= "},
    {"userobject", "TbsDataUserObject", "skinrect:r "},
};

class ObjectRecordTest : public ::testing::TestWithParam<TRecordCase> {
 protected:
  std::unique_ptr<TbsDataSkinObject> make(const String& Name = "elem") {
    auto r = CreateSkinObjectRecord(GetParam().Word, Name);
    EXPECT_NE(r, nullptr);
    return r;
  }
  std::vector<TSkinKeySpec> specs() { return ParseKeySpecs(GetParam().Keys); }
  bool is(const char* Word) { return String(GetParam().Word) == Word; }
};

TEST_P(ObjectRecordTest, WritesExactlyItsKeysInOrderOverAnyOldSection) {
  TMemIniFile ini("");
  ini.WriteString("elem", "stale", "1");
  ini.WriteString("elem", "skinrect", "1,1,1,1");
  make()->SaveToFile(&ini);
  EXPECT_EQ(SectionKeys(&ini, "elem"), SpecNames(specs()));
}

TEST_P(ObjectRecordTest, EveryFieldReadsBackAsWritten) {
  const auto keys = specs();
  TMemIniFile source("");
  WriteDistinctSection(&source, "elem", keys);
  auto rec = make();
  rec->LoadFromFile(&source);
  TMemIniFile written("");
  rec->SaveToFile(&written);
  for (size_t j = 0; j < keys.size(); ++j) {
    String expected = DistinctText(keys[j], int(j));
    if (is("animate") && keys[j].Name == "morphing") expected = "0";  // an animation never morphs
    EXPECT_EQ(written.ReadString("elem", keys[j].Name, "<absent>"), expected) << keys[j].Name;
  }
}

TEST_P(ObjectRecordTest, AbsentKeysOverwriteEveryFieldWithItsMissingValue) {
  const auto keys = specs();
  TMemIniFile full("");
  WriteDistinctSection(&full, "elem", keys);
  auto rec = make();
  rec->LoadFromFile(&full);
  TMemIniFile empty("");
  rec->LoadFromFile(&empty);
  TMemIniFile written("");
  rec->SaveToFile(&written);
  for (const auto& k : keys)
    EXPECT_EQ(written.ReadString("elem", k.Name, "<absent>"), DefaultText(k)) << k.Name;
}

TEST_P(ObjectRecordTest, TypeWordNamesItsOwnClassBothWays) {
  auto rec = make("x");
  EXPECT_EQ(rec->ClassName(), GetParam().ClassName);
  EXPECT_EQ(rec->IDName, "x");
  EXPECT_EQ(SkinObjectTypeWord(rec.get()), GetParam().Word);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, ObjectRecordTest, ::testing::ValuesIn(ObjectCases),
                         [](const auto& info) { return String(info.param.Word); });

TEST(ObjectTypeWords, ReaderOrderAndExactComparison) {
  const char* const order[] = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                               "button",   "caption",         "animate",   "userobject"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(String(SkinObjectTypeWords[i]), order[i]);
  for (const char* word : {"Button", "CAPTION", "menuItem", "", "frobnicate", "mainmenuitem"})
    EXPECT_EQ(CreateSkinObjectRecord(word, "x"), nullptr) << word;
  // The plain main menu item and the base have no word of their own.
  TbsDataSkinMainMenuItem item("i");
  TbsDataSkinObject base("b");
  EXPECT_EQ(SkinObjectTypeWord(&item), "");
  EXPECT_EQ(SkinObjectTypeWord(&base), "");
}

TEST(ObjectRecords, CreateValues) {
  TbsDataSkinStdButton b("b");
  EXPECT_EQ(b.ActivePictureIndex, -1);
  EXPECT_EQ(b.ActiveMaskPictureIndex, -1);
  EXPECT_EQ(b.GlowLayerPictureIndex, -1);
  EXPECT_EQ(b.GlowLayerAlphaBlendValue, 255);
  EXPECT_EQ(b.AlphaMaskPictureIndex, -1);
  EXPECT_EQ(b.AlphaMaskActivePictureIndex, -1);
  EXPECT_EQ(b.AlphaMaskInActivePictureIndex, -1);
  EXPECT_EQ(b.FAlphaNormalImage, nullptr);
  EXPECT_EQ(b.FAlphaRestoreNormalImage, nullptr);
  TbsDataSkinMenuItem m("m");
  EXPECT_EQ(m.FontName, "");
  EXPECT_EQ(m.FontHeight, 0);
  TbsDataSkinAnimate a("a");
  EXPECT_EQ(a.CountFrames, 0);
  TMemIniFile empty("");
  a.LoadFromFile(&empty);
  EXPECT_EQ(a.CountFrames, 1);
  EXPECT_EQ(a.TimerInterval, 50);
  EXPECT_EQ(a.Command, cmDefault);
}

TEST(ObjectRecords, BaseKeysLandInTheirFields) {
  TMemIniFile ini("");
  ini.WriteString("c", "hint", "关闭");
  ini.WriteString("c", "activepictureindex", "4");
  ini.WriteString("c", "skinrectinapicture", "1");
  ini.WriteString("c", "activeskinrect", "1,2,3,4");
  ini.WriteString("c", "inactiveskinrect", "5,6,7,8");
  ini.WriteString("c", "glowlayeroffsety", "-3");
  ini.WriteString("c", "morphkind", "mkleftslide");
  TbsDataSkinButton b("c");
  b.LoadFromFile(&ini);
  EXPECT_EQ(b.Hint, "关闭");
  EXPECT_EQ(b.ActivePictureIndex, 4);
  EXPECT_TRUE(b.SkinRectInAPicture);
  EXPECT_EQ(b.ActiveSkinRect, Rect(1, 2, 3, 4));
  EXPECT_EQ(b.InActiveSkinRect, Rect(5, 6, 7, 8));
  EXPECT_EQ(b.GlowLayerOffsetX, 0);
  EXPECT_EQ(b.GlowLayerOffsetY, -3);
  EXPECT_EQ(b.MorphKind, mkLeftSlide);
  EXPECT_EQ(b.SkinRect, TRect());
}

TEST(ObjectRecords, UserObjectReadsOnlyItsRectangle) {
  TMemIniFile ini("");
  ini.WriteString("u", "hint", "x");
  ini.WriteString("u", "activepictureindex", "2");
  ini.WriteString("u", "skinrect", "1,2,3,4");
  TbsDataUserObject u("u");
  u.LoadFromFile(&ini);
  EXPECT_EQ(u.Hint, "");
  EXPECT_EQ(u.ActivePictureIndex, -1);
  EXPECT_EQ(u.SkinRect, Rect(1, 2, 3, 4));
}

TEST(ObjectRecords, StockButtonCommand) {
  const std::pair<const char*, TbsStdCommand> cases[] = {
      {"cmclose", cmClose},   {"CMCLOSE", cmMinimizeToTray}, {"cmrollup", cmRollUp},
      {"", cmMinimizeToTray}, {"cmsysmenu", cmSysMenu},      {"cmminimizetotray", cmMinimizeToTray}};
  for (const auto& [word, expected] : cases) {
    TMemIniFile ini("");
    ini.WriteString("b", "command", word);
    TbsDataSkinStdButton b("b");
    b.LoadFromFile(&ini);
    EXPECT_EQ(b.Command, expected) << word;
  }
}

TEST(ObjectRecords, RestoreHintRule) {
  struct Case {
    const char* Hint;
    const char* Command;
    const char* RestoreHint;  // nullptr: key absent
    const char* Expected;
  };
  const Case cases[] = {
      {"Maximize", "cmmaximize", nullptr, "Restore"}, {"maximize", "cmmaximize", nullptr, ""},
      {"Minimize", "cmminimize", nullptr, "Restore"}, {"Minimize", "cmmaximize", nullptr, ""},
      {"RollUp", "cmrollup", nullptr, "Restore"},     {"Roll Up", "cmrollup", nullptr, "Restore"},
      {"Roll up", "cmrollup", nullptr, ""},           {"Close", "cmclose", nullptr, ""},
      {"Maximize", "cmmaximize", "Back", "Back"},     {"Maximize", "cmmaximize", "", "Restore"},
  };
  for (const auto& c : cases) {
    TMemIniFile ini("");
    ini.WriteString("b", "hint", c.Hint);
    ini.WriteString("b", "command", c.Command);
    if (c.RestoreHint) ini.WriteString("b", "restorehint", c.RestoreHint);
    TbsDataSkinStdButton b("b");
    b.LoadFromFile(&ini);
    EXPECT_EQ(b.RestoreHint, c.Expected) << c.Hint << " " << c.Command;
    TbsDataSkinAnimate a("b");
    a.LoadFromFile(&ini);
    EXPECT_EQ(a.RestoreHint, c.Expected) << "animate " << c.Hint << " " << c.Command;
  }
}

TEST(ObjectRecords, AnimationNeverMorphs) {
  TMemIniFile ini("");
  ini.WriteString("a", "morphing", "1");
  ini.WriteString("a", "morphkind", "mkpush");
  TbsDataSkinAnimate a("a");
  a.LoadFromFile(&ini);
  EXPECT_FALSE(a.Morphing);
  EXPECT_EQ(a.MorphKind, mkPush);
}

TEST(ObjectRecords, MenuItemActiveImagesFallBackToNormalOnes) {
  TMemIniFile ini("");
  ini.WriteString("m", "checkimagerect", "0,0,13,13");
  ini.WriteString("m", "radioimagerect", "13,0,26,13");
  ini.WriteString("m", "activeradioimagerect", "13,13,26,26");
  ini.WriteString("m", "arrowimagerect", "26,0,36,13");
  ini.WriteString("m", "activearrowimagerect", "5,5,5,9");  // zero width counts as empty
  TbsDataSkinMenuItem m("m");
  m.LoadFromFile(&ini);
  EXPECT_EQ(m.ActiveCheckImageRect, Rect(0, 0, 13, 13));
  EXPECT_EQ(m.ActiveRadioImageRect, Rect(13, 13, 26, 26));
  EXPECT_EQ(m.ActiveArrowImageRect, Rect(26, 0, 36, 13));
  EXPECT_EQ(m.FontName, "Tahoma");
  EXPECT_EQ(m.FontHeight, 13);
  EXPECT_EQ(m.AnimateInterval, 25);
}

TEST(ObjectRecords, NamedKeysOfCaptionAndMenuBarItem) {
  TMemIniFile ini("");
  ini.WriteString("c", "reflactioncolor", "255");
  ini.WriteString("c", "reflactionactivecolor", "65280");
  ini.WriteString("c", "alignment", "taleftjustify");
  ini.WriteString("c", "unenabledfontcolor", "128");
  TbsDataSkinCaption c("c");
  c.LoadFromFile(&ini);
  EXPECT_EQ(c.ReflectionColor, 255);
  EXPECT_EQ(c.ReflectionActiveColor, 65280);
  EXPECT_EQ(c.Alignment, taLeftJustify);
  EXPECT_EQ(c.GlowSize, 3);
  EXPECT_EQ(c.QuickButtonAlphaMaskPictureIndex, -1);
  // Key names compare without regard to case: the bar item's "unenabledfontColor".
  TbsDataSkinMainMenuBarItem item("c");
  item.LoadFromFile(&ini);
  EXPECT_EQ(item.UnEnabledFontColor, 128);
}

TEST(ObjectRecords, ButtonMisspeltKeyIsTheOneUsed) {
  TMemIniFile ini("");
  ini.WriteString("b", "disableskinrect", "1,1,2,2");
  ini.WriteString("b", "disableskinrsect", "3,3,4,4");
  TbsDataSkinButton b("b");
  b.LoadFromFile(&ini);
  EXPECT_EQ(b.DisableSkinRect, Rect(3, 3, 4, 4));
}

TEST(ObjectRecords, MalformedRectangleRaises) {
  TMemIniFile ini("");
  ini.WriteString("m", "itemleftoffset", "4");
  ini.WriteString("m", "textrect", "1;2;3;4");
  ini.WriteString("m", "fontname", "Arial");
  TbsDataSkinMenuItem m("m");
  EXPECT_THROW(m.LoadFromFile(&ini), EConvertError);
  EXPECT_EQ(m.ItemLO, 4);
  EXPECT_EQ(m.FontName, "");
}

// ---- once-per-skin records ----

const TRecordCase FormCases[] = {
    {"POPUPWINDOW", "POPUPWINDOW",
     "windowpictureindex:i=-1 maskpictureindex:i=-1 lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p itemsrect:r scrollmarkercolor:i=0 "
     "scrollmarkeractivecolor:i=0 leftstretch:b rightstretch:b topstretch:b bottomstretch:b "
     "stretcheffect:b stretchtype:t "},
    {"HINTWINDOW", "HINTWINDOW",
     "windowpictureindex:i=-1 maskpictureindex:i=-1 lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r fontname:s=Tahoma fontheight:i=13 "
     "fontstyle:f fontcolor:i=0 leftstretch:b rightstretch:b topstretch:b bottomstretch:b "
     "stretcheffect:b stretchtype:t "},
    {"LAYERFRAME", "LAYERFRAME",
     "pictureindex:i=-1 maskpictureindex:i=-1 inactivepictureindex:i=-1 "
     "inactivemaskpictureindex:i=-1 lefttoppoint:p righttoppoint:p leftbottompoint:p "
     "rightbottompoint:p clientrect:r alphablendvalue:i=255 inactivealphablendvalue:i=255 "
     "borderrect:r hittestenable:b fullborder:b hittestsize:i=0 captionrect:r "
     "hittestlefttoppoint:p hittestrighttoppoint:p hittestleftbottompoint:p "
     "hittestrightbottompoint:p buttonsrect:r sysmenubuttonrect:r fullstretch:b "
     "rollupformheight:i=0 buttonstopoffset:i=0 sysbuttontopoffset:i=0 blurmaskpictureindex:i=-1 "
     "intersectblurmaskrect:r excludeblurmaskrect:r leftoffset:i=0 topoffset:i=0 widthoffset:i=0 "
     "heightoffset:i=0 "},
};

struct TFormRecord {
  virtual ~TFormRecord() = default;
  virtual void Load(TCustomIniFile* Ini) = 0;
  virtual void Save(TCustomIniFile* Ini) = 0;
};

template <class R>
struct TFormRecordOf : TFormRecord {
  R Record;
  void Load(TCustomIniFile* Ini) override { Record.LoadFromFile(Ini); }
  void Save(TCustomIniFile* Ini) override { Record.SaveToFile(Ini); }
};

std::unique_ptr<TFormRecord> makeFormRecord(const String& Section) {
  if (Section == "POPUPWINDOW") return std::make_unique<TFormRecordOf<TbsDataSkinPopupWindow>>();
  if (Section == "HINTWINDOW") return std::make_unique<TFormRecordOf<TbsDataSkinHintWindow>>();
  return std::make_unique<TFormRecordOf<TbsDataSkinLayerFrame>>();
}

class FormRecordTest : public ::testing::TestWithParam<TRecordCase> {
 protected:
  String section() { return GetParam().Word; }
  std::vector<TSkinKeySpec> specs() { return ParseKeySpecs(GetParam().Keys); }
};

TEST_P(FormRecordTest, WritesExactlyItsKeysInOrder) {
  TMemIniFile ini("");
  ini.WriteString(section(), "stale", "1");
  makeFormRecord(section())->Save(&ini);
  EXPECT_EQ(SectionKeys(&ini, section()), SpecNames(specs()));
}

TEST_P(FormRecordTest, EveryFieldReadsBackAsWrittenAndAbsentKeysReset) {
  const auto keys = specs();
  TMemIniFile source("");
  WriteDistinctSection(&source, section(), keys);
  auto rec = makeFormRecord(section());
  rec->Load(&source);
  TMemIniFile written("");
  rec->Save(&written);
  for (size_t j = 0; j < keys.size(); ++j)
    EXPECT_EQ(written.ReadString(section(), keys[j].Name, "<absent>"), DistinctText(keys[j], int(j)))
        << keys[j].Name;
  TMemIniFile empty("");
  rec->Load(&empty);
  rec->Save(&written);
  for (const auto& k : keys)
    EXPECT_EQ(written.ReadString(section(), k.Name, "<absent>"), DefaultText(k)) << k.Name;
}

INSTANTIATE_TEST_SUITE_P(AllSections, FormRecordTest, ::testing::ValuesIn(FormCases),
                         [](const auto& info) { return String(info.param.Word); });

TEST(SkinColors, ZeroUntilDefaultedThenSystemColours) {
  TbsSkinColors c;
  EXPECT_EQ(c.cBtnFace(), 0);
  EXPECT_EQ(c.cBtnShadow(), 0);
  c.SetColorsToDefault();
  EXPECT_EQ(c.cBtnFace(), -16777201);  // 0xFF00000F
  EXPECT_EQ(c.cBtnText(), TColor(0xFF000012));
  EXPECT_EQ(c.cWindow(), TColor(0xFF000005));
  EXPECT_EQ(c.cWindowText(), TColor(0xFF000008));
  EXPECT_EQ(c.cHighLight(), TColor(0xFF00000D));
  EXPECT_EQ(c.cHighLightText(), TColor(0xFF00000E));
  EXPECT_EQ(c.cBtnHighLight(), TColor(0xFF000014));
  EXPECT_EQ(c.cBtnShadow(), TColor(0xFF000010));
}

TEST(SkinColors, ReadWithDefaultsAndWrittenWithoutErasing) {
  TMemIniFile ini("");
  ini.WriteString("SKINCOLORS", "cwindow", "16777215");
  ini.WriteString("SKINCOLORS", "extra", "kept");
  TbsSkinColors c;
  c.LoadFromFile(&ini);
  EXPECT_EQ(c.cWindow(), 0xFFFFFF);
  EXPECT_EQ(c.cBtnFace(), TColor(0xFF00000F));
  EXPECT_EQ(c.cHighLightText(), TColor(0xFF00000E));

  TMemIniFile out("");
  out.WriteString("SKINCOLORS", "extra", "kept");
  c.SetcBtnText(0x123456);
  c.SaveToFile(&out);
  const std::vector<String> keys = {"extra",          "cbtnface",      "cbtntext",
                                    "cwindow",        "cwindowtext",   "chighlight",
                                    "chighlighttext", "cbtnhighlight", "cbtnshadow"};
  EXPECT_EQ(SectionKeys(&out, "SKINCOLORS"), keys);
  EXPECT_EQ(out.ReadString("SKINCOLORS", "cbtnface", ""), "-16777201");
  EXPECT_EQ(out.ReadString("SKINCOLORS", "cbtntext", ""), "1193046");
  TbsSkinColors back;
  back.LoadFromFile(&out);
  EXPECT_EQ(back.cBtnFace(), c.cBtnFace());
  EXPECT_EQ(back.cBtnText(), 0x123456);
  EXPECT_EQ(back.cWindow(), 0xFFFFFF);
}

TEST(FormRecords, AbsentSectionsAndCreateValues) {
  TMemIniFile empty("");
  TbsDataSkinHintWindow hint;
  hint.FontName = "Arial";
  hint.FontHeight = 20;
  hint.LoadFromFile(&empty);
  EXPECT_EQ(hint.FontName, "Tahoma");
  EXPECT_EQ(hint.FontHeight, 13);
  EXPECT_EQ(hint.WindowPictureIndex, -1);
  TbsDataSkinLayerFrame frame;
  EXPECT_EQ(frame.AlphaBlendValue, 255);
  EXPECT_EQ(frame.BlurMaskPictureIndex, -1);
  frame.LoadFromFile(&empty);
  EXPECT_EQ(frame.PictureIndex, -1);
  EXPECT_EQ(frame.InActiveAlphaBlendValue, 255);
  EXPECT_FALSE(frame.FullBorder);
  TbsDataSkinPopupWindow popup;
  EXPECT_EQ(popup.StretchType, bsstFull);
  EXPECT_EQ(popup.MaskPictureIndex, -1);
}

TEST(FormRecords, PopupKeysLandInTheirFields) {
  TMemIniFile ini("");
  ini.WriteString("POPUPWINDOW", "windowpictureindex", "3");
  ini.WriteString("POPUPWINDOW", "itemsrect", "4,4,96,96");
  ini.WriteString("POPUPWINDOW", "rightstretch", "1");
  ini.WriteString("POPUPWINDOW", "scrollmarkeractivecolor", "255");
  ini.WriteString("POPUPWINDOW", "stretchtype", "sthorz");
  TbsDataSkinPopupWindow p;
  p.LoadFromFile(&ini);
  EXPECT_EQ(p.WindowPictureIndex, 3);
  EXPECT_EQ(p.ItemsRect, Rect(4, 4, 96, 96));
  EXPECT_TRUE(p.RightStretch);
  EXPECT_FALSE(p.LeftStretch);
  EXPECT_EQ(p.ScrollMarkerActiveColor, 255);
  EXPECT_EQ(p.ScrollMarkerColor, 0);
  EXPECT_EQ(p.StretchType, bsstHorz);
}

// ---- alpha images ----

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

class AlphaImagesTest : public ::testing::Test {
 protected:
  // Picture 0: 20 x 10, left half red, right half blue. 1: grey mask of the same size. 2: white mask.
  // 3: white mask of 5 x 5.
  void SetUp() override {
    auto frame = picture(20, 10, kRed);
    frame->Canvas()->Brush()->SetColor(kBlue);
    frame->Canvas()->FillRect(Rect(10, 0, 20, 10));
    add(std::move(frame));
    add(picture(20, 10, 0x808080));
    add(picture(20, 10, 0xFFFFFF));
    add(picture(5, 5, 0xFFFFFF));
    Layer.PictureIndex = 0;
    Layer.FullBorder = true;
  }
  static std::unique_ptr<TBitmap> picture(Integer W, Integer H, TColor Fill) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(W, H);
    b->Canvas()->Brush()->SetColor(Fill);
    b->Canvas()->FillRect(Rect(0, 0, W, H));
    return b;
  }
  void add(std::unique_ptr<TBitmap> B) {
    Pictures.Add(B.get());
    Owned.push_back(std::move(B));
  }
  static Byte alpha(TbsColor C) { return Byte(C >> 24); }

  std::vector<std::unique_ptr<TBitmap>> Owned;
  TList Pictures;
  TbsDataSkinLayerFrame Layer;
};

TEST_F(AlphaImagesTest, ButtonImagesCutFromTheActivePicture) {
  TbsDataSkinStdButton b("b");
  b.ActivePictureIndex = 0;
  b.SkinRect = Rect(10, 0, 20, 10);
  b.ActiveSkinRect = Rect(0, 0, 10, 10);
  b.DownRect = Rect(5, 0, 15, 4);
  b.AlphaMaskActivePictureIndex = 1;
  b.RestoreRect = Rect(0, 2, 4, 6);
  b.InitAlphaImages(&Pictures, &Layer);

  ASSERT_NE(b.FAlphaNormalImage, nullptr);
  EXPECT_EQ(b.FAlphaNormalImage->Width(), 10);
  EXPECT_EQ(b.FAlphaNormalImage->Height(), 10);
  EXPECT_TRUE(b.FAlphaNormalImage->AlphaBlend());
  EXPECT_EQ(*b.FAlphaNormalImage->GetPixelPtr(3, 3), 0xFF0000FFu);  // blue, opaque: no mask

  ASSERT_NE(b.FAlphaActiveImage, nullptr);
  const TbsColor active = *b.FAlphaActiveImage->GetPixelPtr(1, 1);
  EXPECT_EQ(alpha(active), 0x80);                    // the grey mask's level
  EXPECT_NEAR(int((active >> 16) & 0xFF), 0x80, 1);  // red premultiplied by it
  EXPECT_EQ(active & 0xFFFF, 0u);

  // The down look takes the active mask; its left half is red, its right half blue.
  ASSERT_NE(b.FAlphaDownImage, nullptr);
  EXPECT_EQ(b.FAlphaDownImage->Width(), 10);
  EXPECT_EQ(alpha(*b.FAlphaDownImage->GetPixelPtr(0, 0)), 0x80);
  EXPECT_NE((*b.FAlphaDownImage->GetPixelPtr(2, 1) >> 16) & 0xFF, 0u);
  EXPECT_NE(*b.FAlphaDownImage->GetPixelPtr(7, 1) & 0xFF, 0u);

  EXPECT_EQ(b.FAlphaInActiveImage, nullptr);  // empty rectangle
  ASSERT_NE(b.FAlphaRestoreNormalImage, nullptr);
  EXPECT_EQ(*b.FAlphaRestoreNormalImage->GetPixelPtr(0, 0), 0xFFFF0000u);
  EXPECT_EQ(b.FAlphaRestoreActiveImage, nullptr);
}

TEST_F(AlphaImagesTest, MaskSmallerThanTheImageLeavesTheRestTransparent) {
  TbsDataSkinButton b("b");
  b.ActivePictureIndex = 0;
  b.SkinRect = Rect(0, 0, 10, 10);
  b.AlphaMaskPictureIndex = 3;
  b.InitAlphaImages(&Pictures, &Layer);
  ASSERT_NE(b.FAlphaNormalImage, nullptr);
  EXPECT_EQ(alpha(*b.FAlphaNormalImage->GetPixelPtr(2, 2)), 255);
  EXPECT_EQ(alpha(*b.FAlphaNormalImage->GetPixelPtr(8, 8)), 0);
}

TEST_F(AlphaImagesTest, NoImagesWithoutAFullLayeredBorderOrAPicture) {
  TbsDataSkinButton b("b");
  b.ActivePictureIndex = 0;
  b.SkinRect = Rect(0, 0, 10, 10);
  b.InitAlphaImages(&Pictures, &Layer);
  ASSERT_NE(b.FAlphaNormalImage, nullptr);

  Layer.FullBorder = false;
  b.InitAlphaImages(&Pictures, &Layer);
  EXPECT_EQ(b.FAlphaNormalImage, nullptr);

  Layer.FullBorder = true;
  Layer.PictureIndex = -1;
  b.InitAlphaImages(&Pictures, &Layer);
  EXPECT_EQ(b.FAlphaNormalImage, nullptr);

  Layer.PictureIndex = 0;
  b.ActivePictureIndex = 4;  // past the list
  b.InitAlphaImages(&Pictures, &Layer);
  EXPECT_EQ(b.FAlphaNormalImage, nullptr);

  b.ActivePictureIndex = 0;
  b.AlphaMaskPictureIndex = 9;  // a mask past the list means no mask
  b.InitAlphaImages(&Pictures, &Layer);
  ASSERT_NE(b.FAlphaNormalImage, nullptr);
  EXPECT_EQ(alpha(*b.FAlphaNormalImage->GetPixelPtr(0, 0)), 255);

  b.ActivePictureIndex = -2;
  EXPECT_THROW(b.InitAlphaImages(&Pictures, &Layer), EListError);
}

TEST_F(AlphaImagesTest, LayerFrameSourceBitmaps) {
  Layer.MaskPictureIndex = 1;
  Layer.InActivePictureIndex = 0;
  Layer.InActiveMaskPictureIndex = 2;
  Layer.InitAlphaImages(&Pictures);
  ASSERT_NE(Layer.FSourceBitmap, nullptr);
  EXPECT_EQ(Layer.FSourceBitmap->Width(), 20);
  EXPECT_EQ(*Layer.FSourceBitmap->GetPixelPtr(0, 0), 0x80FF0000u);  // alpha from the mask, colour kept
  EXPECT_TRUE(Layer.FSourceBitmap->AlphaBlend());
  ASSERT_NE(Layer.FSourceInActiveBitMap, nullptr);
  EXPECT_EQ(*Layer.FSourceInActiveBitMap->GetPixelPtr(15, 5), 0xFF0000FFu);

  Layer.MaskPictureIndex = -1;  // a picture without its mask gives none
  Layer.InActivePictureIndex = 7;
  Layer.InitAlphaImages(&Pictures);
  EXPECT_EQ(Layer.FSourceBitmap, nullptr);
  EXPECT_EQ(Layer.FSourceInActiveBitMap, nullptr);

  Layer.MaskPictureIndex = -3;
  EXPECT_THROW(Layer.InitAlphaImages(&Pictures), EListError);
}

}  // namespace
