#include "skin/core/bsskinrecords.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "skin/core/testkit/bsskinrecordstestkit.h"

namespace {

struct TControlCase {
  const char* TypeWord;
  const char* ClassName;
  const char* Keys;  // every key of the class and its bases, in writing order
};

void PrintTo(const TControlCase& C, std::ostream* Out) {
  *Out << C.TypeWord;
}

const TControlCase ControlCases[] = {
    {"button", "TbsDataSkinButtonControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 downfontcolor:i=0 "
     "disabledfontcolor:i=0 activeskinrect:r downskinrect:r focusedskinrect:r disabledskinrect:r "
     "morphing:b morphkind:m animateskinrect:r framecount:i=0 animateinterval:i=25 showfocus:b "
     "menumarkerflatrect:r menumarkerrect:r menumarkeractiverect:r menumarkerdownrect:r "
     "menumarkertransparentcolor:i=0 glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 "
     "glowlayeroffsetleft:i=0 glowlayeroffsetright:i=0 glowlayeroffsettop:i=0 "
     "glowlayeroffsetbottom:i=0 glowlayershowoffsetx:i=0 glowlayershowoffsety:i=0 "
     "glowlayeralphablendvalue:i=255 "},
    {"menubutton", "TbsDataSkinMenuButtonControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 downfontcolor:i=0 "
     "disabledfontcolor:i=0 activeskinrect:r downskinrect:r focusedskinrect:r disabledskinrect:r "
     "morphing:b morphkind:m animateskinrect:r framecount:i=0 animateinterval:i=25 showfocus:b "
     "menumarkerflatrect:r menumarkerrect:r menumarkeractiverect:r menumarkerdownrect:r "
     "menumarkertransparentcolor:i=0 glowlayerpictureindex:i=-1 glowlayermaskpictureindex:i=-1 "
     "glowlayeroffsetleft:i=0 glowlayeroffsetright:i=0 glowlayeroffsettop:i=0 "
     "glowlayeroffsetbottom:i=0 glowlayershowoffsetx:i=0 glowlayershowoffsety:i=0 "
     "glowlayeralphablendvalue:i=255 trackbuttonrect:r "},
    {"checkradio", "TbsDataSkinCheckRadioControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 framefontcolor:i=0 activefontcolor:i=0 "
     "unenabledfontcolor:i=0 activeskinrect:r checkimagearea:r textarea:r checkimagerect:r "
     "uncheckimagerect:r activecheckimagerect:r activeuncheckimagerect:r "
     "unenabledcheckimagerect:r unenableduncheckimagerect:r grayedcheckimagerect:r "
     "activegrayedcheckimagerect:r morphing:b morphkind:m "},
    {"panel", "TbsDataSkinPanelControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t bgpictureindex:i=-1 "
     "captionrect:r alignment:a fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 "
     "checkimagerect:r uncheckimagerect:r markframerect:r framerect:r frametextrect:r "
     "frameleftoffset:i=0 framerightoffset:i=0 gripperrect:r grippertransparent:b "
     "grippertransparentcolor:i=0 buttonrect:r buttonactiverect:r buttondownrect:r "
     "buttontransparent:b buttontransparentcolor:i=0 "},
    {"expanel", "TbsDataSkinExPanelControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t rollhskinrect:r "
     "rollvskinrect:r rollleftoffset:i=0 rollrightoffset:i=0 rolltopoffset:i=0 "
     "rollbottomoffset:i=0 rollvcaptionrect:r rollhcaptionrect:r closebuttonrect:r "
     "closebuttonactiverect:r closebuttondownrect:r hrollbuttonrect:r hrollbuttonactiverect:r "
     "hrollbuttondownrect:r hrestorebuttonrect:r hrestorebuttonactiverect:r "
     "hrestorebuttondownrect:r vrollbuttonrect:r vrollbuttonactiverect:r vrollbuttondownrect:r "
     "vrestorebuttonrect:r vrestorebuttonactiverect:r vrestorebuttondownrect:r captionrect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 buttonstransparent:b "
     "buttonstransparentcolor:i=0 "},
    {"label", "TbsDataSkinLabelControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 "},
    {"stdlabel", "TbsDataSkinStdLabelControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r fontname:s=Tahoma fontheight:i=13 "
     "fontstyle:f fontcolor:i=0 activefontcolor:i=16711680 "},
    {"bevel", "TbsDataSkinBevel",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lightcolor:i=0 darkcolor:i=0 "},
    {"splitter", "TbsDataSkinSplitterControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t gripperrect:r "
     "grippertransparent:b grippertransparentcolor:i=0 "},
    {"listbox", "TbsDataSkinListBox",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t itemrect:r activeitemrect:r "
     "focusitemrect:r itemleftoffset:i=0 itemrightoffset:i=0 itemtextrect:r fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 focusfontcolor:i=0 "
     "captionrect:r captionfontname:s=Tahoma captionfontheight:i=13 captionfontstyle:f "
     "captionfontcolor:i=0 upbuttonrect:r activeupbuttonrect:r downupbuttonrect:r "
     "downbuttonrect:r activedownbuttonrect:r downdownbuttonrect:r checkbuttonrect:r "
     "activecheckbuttonrect:r downcheckbuttonrect:r vscrollbarname:s=vscrollbar "
     "hscrollbarname:s=hscrollbar bothhscrollbarname:s=bothhscrollbar showfocus:b "
     "disabledbuttonsrect:r buttonsarea:r "},
    {"checklistbox", "TbsDataSkinCheckListBox",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t itemrect:r activeitemrect:r "
     "focusitemrect:r itemleftoffset:i=0 itemrightoffset:i=0 itemtextrect:r fontname:s=Tahoma "
     "fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 focusfontcolor:i=0 "
     "captionrect:r captionfontname:s=Tahoma captionfontheight:i=13 captionfontstyle:f "
     "captionfontcolor:i=0 upbuttonrect:r activeupbuttonrect:r downupbuttonrect:r "
     "downbuttonrect:r activedownbuttonrect:r downdownbuttonrect:r checkbuttonrect:r "
     "activecheckbuttonrect:r downcheckbuttonrect:r vscrollbarname:s=vscrollbar "
     "hscrollbarname:s=hscrollbar bothhscrollbarname:s=bothhscrollbar showfocus:b "
     "disabledbuttonsrect:r buttonsarea:r itemcheckrect:r uncheckimagerect:r checkimagerect:r "},
    {"combobox", "TbsDataSkinComboBox",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t activeskinrect:r itemrect:r "
     "activeitemrect:r focusitemrect:r itemleftoffset:i=0 itemrightoffset:i=0 itemtextrect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 focusfontcolor:i=0 "
     "activefontcolor:i=0 buttonrect:r activebuttonrect:r downbuttonrect:r unenabledbuttonrect:r "
     "listboxname:s= itemstretcheffect:b focusitemstretcheffect:b showfocus:b "},
    {"edit", "TbsDataSkinEditControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t activeskinrect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 disabledfontcolor:i=0 "
     "activefontcolor:i=0 buttonrect:r activebuttonrect:r downbuttonrect:r unenabledbuttonrect:r "},
    {"memo", "TbsDataSkinMemoControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t activeskinrect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 disabledfontcolor:i=0 "
     "activefontcolor:i=0 buttonrect:r activebuttonrect:r downbuttonrect:r unenabledbuttonrect:r "
     "bgcolor:i=0 activebgcolor:i=0 "},
    {"spinedit", "TbsDataSkinSpinEditControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t activeskinrect:r "
     "fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 activefontcolor:i=0 "
     "disabledfontcolor:i=0 upbuttonrect:r activeupbuttonrect:r downupbuttonrect:r "
     "downbuttonrect:r activedownbuttonrect:r downdownbuttonrect:r "},
    {"updown", "TbsDataSkinUpDownControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t upbuttonrect:r "
     "activeupbuttonrect:r downupbuttonrect:r downbuttonrect:r activedownbuttonrect:r "
     "downdownbuttonrect:r "},
    {"scrollbar", "TbsDataSkinScrollBarControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t trackarea:r upbuttonrect:r "
     "activeupbuttonrect:r downupbuttonrect:r downbuttonrect:r activedownbuttonrect:r "
     "downdownbuttonrect:r thumbrect:r activethumbrect:r downthumbrect:r thumboffset1:i=0 "
     "thumboffset2:i=0 thumbtransparent:b thumbtransparentcolor:i=0 thumbstretcheffect:b "
     "thumbminsize:i=0 thumbminpagesize:i=0 glyphrect:r activeglyphrect:r downglyphrect:r "
     "glyphtransparent:b glyphtransparentcolor:i=0 "},
    {"scrollbox", "TbsDataSkinScrollBoxControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t bgpictureindex:i=-1 "},
    {"treeview", "TbsDataSkinTreeView",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r fontname:s=Tahoma fontheight:i=13 "
     "fontstyle:f fontcolor:i=0 bgcolor:i=0 expandimagerect:r noexpandimagerect:r "},
    {"listview", "TbsDataSkinListView",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r fontname:s=Tahoma fontheight:i=13 "
     "fontstyle:f fontcolor:i=0 bgcolor:i=0 "},
    {"richedit", "TbsDataSkinRichEdit",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r fontname:s=Tahoma fontheight:i=13 "
     "fontstyle:f fontcolor:i=0 bgcolor:i=0 "},
    {"tab", "TbsDataSkinTabControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r tabrect:r activetabrect:r "
     "focustabrect:r mouseintabrect:r clientrect:r bgpictureindex:i=-1 lefttoppoint:p "
     "righttoppoint:p leftbottompoint:p rightbottompoint:p tableftoffset:i=0 tabrightoffset:i=0 "
     "tabsbgrect:r tabstretcheffect:b leftstretch:b topstretch:b rightstretch:b bottomstretch:b "
     "stretcheffect:b stretchtype:t fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 "
     "activefontcolor:i=0 focusfontcolor:i=0 mouseinfontcolor:i=0 updown:s= showfocus:b "
     "focusoffsetx:i=0 focusoffsety:i=0 closebuttonrect:r closebuttonactiverect:r "
     "closebuttondownrect:r buttontransparent:b buttontransparentcolor:i=0 dividerrect:r "
     "dividertransparent:b dividertransparentcolor:i=0 mdicloserect:r mdicloseactiverect:r "
     "mdiclosedownrect:r mdirestorerect:r mdirestoreactiverect:r mdirestoredownrect:r "
     "mdiminrect:r mdiminactiverect:r mdimindownrect:r mdibuttonstransparent:b "
     "mdibuttonstransparentcolor:i=0 tableftbottomactiverect:r tableftbottomfocusrect:r "},
    {"grid", "TbsDataSkinGridControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r fixedcellrect:r selectcellrect:r "
     "focuscellrect:r fixedcellleftoffset:i=0 fixedcellrightoffset:i=0 fixedcelltextrect:r "
     "cellleftoffset:i=0 cellrightoffset:i=0 celltextrect:r linescolor:i=0 bgcolor:i=0 "
     "bgpictureindex:i=-1 fontname:s=Tahoma fontheight:i=13 fontstyle:f fontcolor:i=0 "
     "selectfontcolor:i=0 focusfontcolor:i=0 fixedfontname:s=Tahoma fixedfontheight:i=13 "
     "fixedfontstyle:f fixedfontcolor:i=0 cellstretcheffect:b fixedcellstretcheffect:b "
     "showfocus:b "},
    {"mainmenubar", "TbsDataSkinMainMenuBar",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r itemsrect:r menubaritem:s= "
     "closebutton:s= minbutton:s= maxbutton:s= sysmenubutton:s= trackmarkcolor:i=0 "
     "trackmarkactivecolor:i=0 stretcheffect:b itemtransparent:b "},
    {"controlbar", "TbsDataSkinControlBar",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t itemrect:r "
     "bgpictureindex:i=-1 hgriprect:r vgriprect:r gripoffset1:i=0 gripoffset2:i=0 "
     "itemoffset1:i=3 itemoffset2:i=3 itemstretcheffect:b itemtransparent:b "
     "itemtransparentcolor:i=0 griptransparent:b griptransparentcolor:i=0 "},
    {"appmenu", "TbsDataSkinAppMenu",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t bgpictureindex:i=-1 "
     "bgstretcheffect:b bgpagepictureindex:i=-1 bgpagestretcheffect:b itemrect:r pageitemrect:r "
     "pageitemactiverect:r itemoffset1:i=3 itemoffset2:i=3 pageitemoffset1:i=10 "
     "pageitemoffset2:i=10 pageoffset:i=0 fontname:s=Tahoma fontheight:i=13 fontpageheight:i=16 "
     "fontstyle:f fontcolor:i=0 disabledfontcolor:i=0 activefontcolor:i=0 fontpagecolor:i=0 "
     "activefontpagecolor:i=0 gripperrect:r grippertransparentcolor:i=0 toplinerect:r "
     "toplineoffset1:i=0 toplineoffset2:i=0 backbuttonrect:r backbuttonactiverect:r "
     "captionrect:r captionleftoffset:i=0 captiontopoffset:i=0 "},
    {"gauge", "TbsDataSkinGaugeControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t progressarea:r progressrect:r "
     "beginoffset:i=0 endoffset:i=0 vertical:b fontname:s=Tahoma fontheight:i=13 fontstyle:f "
     "fontcolor:i=0 progresstransparent:b progresstransparentcolor:i=0 progressstretch:b "
     "animationskinrect:r animationcountframes:i=0 animationtimerinterval:i=0 "
     "progressanimationskinrect:r progressanimationcountframes:i=0 "
     "progressanimationtimerinterval:i=0 animationbeginoffset:i=0 animationendoffset:i=0 "},
    {"trackbar", "TbsDataSkinTrackBarControl",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r lefttoppoint:p righttoppoint:p "
     "leftbottompoint:p rightbottompoint:p clientrect:r leftstretch:b topstretch:b "
     "rightstretch:b bottomstretch:b stretcheffect:b stretchtype:t activeskinrect:r trackarea:r "
     "buttonrect:r activebuttonrect:r vertical:b buttontransparent:b buttontransparentcolor:i=0 "},
    {"slider", "TbsDataSkinSlider",
     "pictureindex:i=-1 maskpictureindex:i=-1 skinrect:r bgcolor:i=0 hrulerrect:r hthumbrect:r "
     "vrulerrect:r vthumbrect:r edgesize:i=0 pointscolor:i=0 "},
};

class ControlRecordTest : public ::testing::TestWithParam<TControlCase> {
 protected:
  std::unique_ptr<TbsDataSkinControl> make(const String& Name = "elem") {
    auto r = CreateSkinControlRecord(GetParam().TypeWord, Name);
    EXPECT_NE(r, nullptr);
    return r;
  }
  std::vector<TSkinKeySpec> specs() { return ParseKeySpecs(GetParam().Keys); }
};

TEST_P(ControlRecordTest, WritesExactlyItsKeysInOrderOverAnyOldSection) {
  TMemIniFile ini("");
  ini.WriteString("elem", "stale", "1");
  ini.WriteString("elem", "fontname", "Old");
  ini.WriteString("other", "skinrect", "1,2,3,4");
  make()->SaveToFile(&ini);
  EXPECT_EQ(SectionKeys(&ini, "elem"), SpecNames(specs()));
  EXPECT_EQ(ini.ReadString("other", "skinrect", ""), "1,2,3,4");
}

TEST_P(ControlRecordTest, EveryFieldReadsBackAsWritten) {
  const auto keys = specs();
  TMemIniFile source("");
  WriteDistinctSection(&source, "elem", keys);
  auto rec = make();
  rec->LoadFromFile(&source);
  TMemIniFile written("");
  rec->SaveToFile(&written);
  const bool upDown = String(GetParam().TypeWord) == "updown";
  for (size_t j = 0; j < keys.size(); ++j) {
    String expected = DistinctText(keys[j], int(j));
    // An up-down element drops whatever geometry its section gives.
    if (upDown && (keys[j].Kind == 'p' || keys[j].Name == "clientrect")) expected = DefaultText(keys[j]);
    EXPECT_EQ(written.ReadString("elem", keys[j].Name, "<absent>"), expected) << keys[j].Name;
  }
  // Reading the written text again changes nothing.
  auto again = make();
  again->LoadFromFile(&written);
  TMemIniFile rewritten("");
  again->SaveToFile(&rewritten);
  for (const auto& k : keys)
    EXPECT_EQ(rewritten.ReadString("elem", k.Name, "?"), written.ReadString("elem", k.Name, "!"));
}

TEST_P(ControlRecordTest, AbsentKeysOverwriteEveryFieldWithItsDefault) {
  const auto keys = specs();
  TMemIniFile full("");
  WriteDistinctSection(&full, "elem", keys);
  auto rec = make();
  rec->LoadFromFile(&full);
  TMemIniFile empty("");
  empty.WriteString("elsewhere", "fontname", "Arial");
  rec->LoadFromFile(&empty);
  TMemIniFile written("");
  rec->SaveToFile(&written);
  for (const auto& k : keys)
    EXPECT_EQ(written.ReadString("elem", k.Name, "<absent>"), DefaultText(k)) << k.Name;
}

TEST_P(ControlRecordTest, TypeWordNamesItsOwnClassBothWays) {
  auto rec = make("x");
  EXPECT_EQ(rec->ClassName(), GetParam().ClassName);
  EXPECT_EQ(rec->IDName, "x");
  EXPECT_EQ(SkinControlTypeWord(rec.get()), GetParam().TypeWord);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, ControlRecordTest, ::testing::ValuesIn(ControlCases),
                         [](const auto& info) { return String(info.param.TypeWord); });

TEST(ControlTypeWords, AllWordsInReaderOrderAndNoOthers) {
  ASSERT_EQ(std::size(ControlCases), 29u);
  int found = 0;
  for (const char* word : SkinControlTypeWords)
    for (const auto& c : ControlCases)
      if (String(word) == c.TypeWord) ++found;
  EXPECT_EQ(found, 29);
  // A subclass is tested before its base, so a writer finds each record's own word.
  auto pos = [](const char* w) {
    return std::find_if(std::begin(SkinControlTypeWords), std::end(SkinControlTypeWords),
                        [&](const char* x) { return String(x) == w; }) -
           std::begin(SkinControlTypeWords);
  };
  EXPECT_LT(pos("menubutton"), pos("button"));
  EXPECT_LT(pos("memo"), pos("edit"));
  EXPECT_LT(pos("checklistbox"), pos("listbox"));
  EXPECT_EQ(String(SkinControlTypeWords[0]), "panel");
  EXPECT_EQ(String(SkinControlTypeWords[28]), "richedit");
}

TEST(ControlTypeWords, ComparedExactly) {
  for (const char* word : {"Button", "PANEL", "button ", " edit", "", "check radio", "stdLabel", "a:b"})
    EXPECT_EQ(CreateSkinControlRecord(word, "x"), nullptr) << word;
}

TEST(ControlTypeWords, SubclassRecordsServeControlsExpectingTheBase) {
  auto menuButton = CreateSkinControlRecord("menubutton", "m");
  auto checkList = CreateSkinControlRecord("checklistbox", "c");
  auto memo = CreateSkinControlRecord("memo", "e");
  EXPECT_NE(dynamic_cast<TbsDataSkinButtonControl*>(menuButton.get()), nullptr);
  EXPECT_NE(dynamic_cast<TbsDataSkinListBox*>(checkList.get()), nullptr);
  EXPECT_NE(dynamic_cast<TbsDataSkinEditControl*>(memo.get()), nullptr);
  // The geometry base only where the class has it.
  EXPECT_EQ(dynamic_cast<TbsDataSkinCustomControl*>(CreateSkinControlRecord("tab", "t").get()), nullptr);
  EXPECT_NE(dynamic_cast<TbsDataSkinCustomControl*>(CreateSkinControlRecord("updown", "u").get()), nullptr);
}

TEST(ControlTypeWords, RecordOfNoListedClassHasNoWord) {
  TbsDataSkinCustomControl base("b");
  EXPECT_EQ(SkinControlTypeWord(&base), "");
}

// ---- base geometry ----

TEST(ControlRecords, AbsentSectionGivesNoPictureNoImageAndNoGeometry) {
  TMemIniFile ini("");
  auto rec = CreateSkinControlRecord("button", "button");
  rec->LoadFromFile(&ini);
  auto* b = static_cast<TbsDataSkinButtonControl*>(rec.get());
  EXPECT_EQ(b->PictureIndex, -1);
  EXPECT_EQ(b->MaskPictureIndex, -1);
  EXPECT_EQ(b->SkinRect, TRect());
  EXPECT_EQ(b->RBPoint, TPoint());
  EXPECT_EQ(b->ClRect, TRect());
  EXPECT_FALSE(b->StretchEffect || b->LeftStretch || b->TopStretch || b->RightStretch || b->BottomStretch);
  EXPECT_EQ(b->StretchType, bsstFull);
}

TEST(ControlRecords, GeometryKeysLandInTheirFields) {
  TMemIniFile ini("");
  TStringList text;
  text.SetText(
      "[Panel]\nskinrect=10,20,110,60\nLeftTopPoint=4,5\nrighttoppoint=96,5\nleftbottompoint=4,35\n"
      "rightbottompoint=96,35\nclientrect=4,5,96,35\ntopstretch=1\nstretcheffect=1\nstretchtype=stvert\n");
  ini.SetStrings(&text);
  TbsDataSkinPanelControl p("panel");
  p.LoadFromFile(&ini);
  EXPECT_EQ(p.PictureIndex, -1);
  EXPECT_EQ(p.SkinRect, Rect(10, 20, 110, 60));
  EXPECT_EQ(p.LTPoint, Point(4, 5));
  EXPECT_EQ(p.RTPoint, Point(96, 5));
  EXPECT_EQ(p.LBPoint, Point(4, 35));
  EXPECT_EQ(p.RBPoint, Point(96, 35));
  EXPECT_EQ(p.ClRect, Rect(4, 5, 96, 35));
  EXPECT_FALSE(p.LeftStretch);
  EXPECT_TRUE(p.TopStretch);
  EXPECT_TRUE(p.StretchEffect);
  EXPECT_EQ(p.StretchType, bsstVert);
}

TEST(ControlRecords, MalformedRectangleStopsReadingAtItsKey) {
  TMemIniFile ini("");
  ini.WriteString("b", "pictureindex", "3");
  ini.WriteString("b", "lefttoppoint", "1,2");
  ini.WriteString("b", "rightbottompoint", "7,8");
  ini.WriteString("b", "clientrect", "1,2,3");
  ini.WriteString("b", "topstretch", "1");
  ini.WriteString("b", "fontname", "Arial");
  TbsDataSkinButtonControl b("b");
  EXPECT_THROW(b.LoadFromFile(&ini), EConvertError);
  EXPECT_EQ(b.PictureIndex, 3);
  EXPECT_EQ(b.LTPoint, Point(1, 2));
  EXPECT_EQ(b.RBPoint, Point(7, 8));
  EXPECT_EQ(b.ClRect, TRect());
  EXPECT_FALSE(b.TopStretch);
  EXPECT_EQ(b.FontName, "Tahoma");
}

// ---- initial values against absent-key values ----

TEST(ControlRecords, CreateValuesDifferFromAbsentKeyValuesWhereTheClassSaysSo) {
  TMemIniFile empty("");
  TbsDataSkinStdLabelControl label("l");
  EXPECT_EQ(label.ActiveFontColor, 0xFF0000);
  label.LoadFromFile(&empty);
  EXPECT_EQ(label.ActiveFontColor, 0xFF0000);

  TbsDataSkinSplitterControl splitter("s");
  EXPECT_EQ(splitter.GripperTransparentColor, 0xFF00FF);
  splitter.LoadFromFile(&empty);
  EXPECT_EQ(splitter.GripperTransparentColor, 0);

  TbsDataSkinScrollBarControl bar("sb");
  EXPECT_EQ(bar.ThumbTransparentColor, 0xFF00FF);
  EXPECT_EQ(bar.GlyphTransparentColor, 0xFF00FF);
  bar.LoadFromFile(&empty);
  EXPECT_EQ(bar.ThumbTransparentColor, 0);

  TbsDataSkinRichEdit rich("r");
  EXPECT_EQ(rich.FontHeight, 14);
  EXPECT_EQ(rich.BGColor, 0xFFFFFF);
  rich.LoadFromFile(&empty);
  EXPECT_EQ(rich.FontHeight, 13);
  EXPECT_EQ(rich.BGColor, 0);

  TbsDataSkinListBox list("lb");
  EXPECT_EQ(list.VScrollBarName, "");
  list.LoadFromFile(&empty);
  EXPECT_EQ(list.VScrollBarName, "vscrollbar");
  EXPECT_EQ(list.HScrollBarName, "hscrollbar");
  EXPECT_EQ(list.BothScrollBarName, "bothhscrollbar");

  TbsDataSkinTabControl tab("t");
  EXPECT_EQ(tab.ButtonTransparentColor, 0xFF00FF);
  EXPECT_EQ(tab.DividerTransparentColor, 0xFF00FF);
  EXPECT_EQ(tab.BGPictureIndex, -1);
  tab.LoadFromFile(&empty);
  EXPECT_EQ(tab.ButtonTransparentColor, 0);
  EXPECT_EQ(tab.DividerTransparentColor, 0);
  EXPECT_EQ(tab.BGPictureIndex, -1);

  TbsDataSkinPanelControl panel("p");
  EXPECT_EQ(panel.Alignment, taCenter);
  EXPECT_EQ(panel.ButtonTransparentColor, 0xFF00FF);
  panel.LoadFromFile(&empty);
  EXPECT_EQ(panel.ButtonTransparentColor, 0);
  EXPECT_EQ(panel.BGPictureIndex, -1);
}

TEST(ControlRecords, ValuesLandInTheNamedFields) {
  TMemIniFile ini("");
  ini.WriteString("b", "morphkind", "mkpush");
  ini.WriteString("b", "morphing", "2");
  ini.WriteString("b", "glowlayeroffsettop", "7");
  ini.WriteString("b", "glowlayeroffsetright", "9");
  ini.WriteString("b", "fontstyle", "fsitalic,fsbold");
  TbsDataSkinButtonControl b("b");
  b.LoadFromFile(&ini);
  EXPECT_EQ(b.MorphKind, mkPush);
  EXPECT_FALSE(b.Morphing);
  EXPECT_EQ(b.GlowLayerOffsetTop, 7);
  EXPECT_EQ(b.GlowLayerOffsetRight, 9);
  EXPECT_EQ(b.FontStyle, (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(b.AnimateInterval, 25);
  EXPECT_EQ(b.GlowLayerAlphaBlendValue, 255);
  EXPECT_EQ(b.GlowLayerPictureIndex, -1);

  ini.WriteString("mb", "bothhscrollbarname", "both");
  ini.WriteString("mb", "vscrollbarname", "v");
  TbsDataSkinCheckListBox c("mb");
  c.LoadFromFile(&ini);
  EXPECT_EQ(c.BothScrollBarName, "both");
  EXPECT_EQ(c.VScrollBarName, "v");
  EXPECT_EQ(c.HScrollBarName, "hscrollbar");

  // The bar reads close, min, max, sysmenu.
  ini.WriteString("bar", "minbutton", "min");
  ini.WriteString("bar", "maxbutton", "max");
  TbsDataSkinMainMenuBar bar("bar");
  bar.LoadFromFile(&ini);
  EXPECT_EQ(bar.MinButton, "min");
  EXPECT_EQ(bar.MaxButton, "max");
  EXPECT_EQ(bar.MenuBarItem, "");

  TbsDataSkinAppMenu app("none");
  app.LoadFromFile(&ini);
  EXPECT_EQ(app.ItemOffset1, 3);
  EXPECT_EQ(app.PageItemOffset1, 10);
  EXPECT_EQ(app.FontPageHeight, 16);
  EXPECT_EQ(app.BGPictureIndex, -1);
  EXPECT_EQ(app.BGPagePictureIndex, -1);
}

TEST(ControlRecords, PanelAlignmentWords) {
  const std::pair<const char*, TAlignment> cases[] = {
      {"tacenter", taCenter},       {"taleftjustify", taLeftJustify}, {"tarightjustify", taRightJustify},
      {"TaCenter", taRightJustify}, {"left", taRightJustify},         {"", taRightJustify}};
  for (const auto& [word, expected] : cases) {
    TMemIniFile ini("");
    ini.WriteString("p", "alignment", word);
    TbsDataSkinPanelControl p("p");
    p.LoadFromFile(&ini);
    EXPECT_EQ(p.Alignment, expected) << word;
  }
}

TEST(ControlRecords, UpDownDropsGeometryButKeepsItsButtons) {
  TMemIniFile ini("");
  ini.WriteString("ud", "lefttoppoint", "4,4");
  ini.WriteString("ud", "clientrect", "1,1,10,10");
  ini.WriteString("ud", "upbuttonrect", "0,0,16,8");
  ini.WriteString("ud", "skinrect", "5,5,21,21");
  TbsDataSkinUpDownControl u("ud");
  u.LoadFromFile(&ini);
  EXPECT_EQ(u.LTPoint, TPoint());
  EXPECT_EQ(u.ClRect, TRect());
  EXPECT_EQ(u.UpButtonRect, Rect(0, 0, 16, 8));
  EXPECT_EQ(u.SkinRect, Rect(5, 5, 21, 21));
  u.SaveToFile(&ini);
  EXPECT_EQ(ini.ReadString("ud", "lefttoppoint", ""), "0,0");
  EXPECT_EQ(ini.ReadString("ud", "clientrect", ""), "0,0,0,0");
}

TEST(ControlRecords, TwoRecordsOfOneSectionReadTheSameValues) {
  TMemIniFile ini("");
  ini.WriteString("panel", "fontcolor", "255");
  TbsDataSkinPanelControl a("panel"), b("panel");
  a.LoadFromFile(&ini);
  b.LoadFromFile(&ini);
  EXPECT_EQ(a.FontColor, 255);
  EXPECT_EQ(b.FontColor, 255);
}

}  // namespace
