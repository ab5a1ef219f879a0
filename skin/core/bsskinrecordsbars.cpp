#include "skin/core/bsskinrecordsbars.h"

#include "skin/core/bsskinrecordskeys.h"

namespace {

using TabControl = TbsDataSkinTabControl;
const TbsSkinKey<TabControl> TabControlKeys[] = {
    {"tabrect", &TabControl::TabRect},
    {"activetabrect", &TabControl::ActiveTabRect},
    {"focustabrect", &TabControl::FocusTabRect},
    {"mouseintabrect", &TabControl::MouseInTabRect},
    {"clientrect", &TabControl::ClRect},
    {"bgpictureindex", &TabControl::BGPictureIndex, -1},
    {"lefttoppoint", &TabControl::LTPoint},
    {"righttoppoint", &TabControl::RTPoint},
    {"leftbottompoint", &TabControl::LBPoint},
    {"rightbottompoint", &TabControl::RBPoint},
    {"tableftoffset", &TabControl::TabLeftOffset, 0},
    {"tabrightoffset", &TabControl::TabRightOffset, 0},
    {"tabsbgrect", &TabControl::TabsBGRect},
    {"tabstretcheffect", &TabControl::TabStretchEffect},
    {"leftstretch", &TabControl::LeftStretch},
    {"topstretch", &TabControl::TopStretch},
    {"rightstretch", &TabControl::RightStretch},
    {"bottomstretch", &TabControl::BottomStretch},
    {"stretcheffect", &TabControl::StretchEffect},
    {"stretchtype", &TabControl::StretchType},
    {"fontname", &TabControl::FontName, "Tahoma"},
    {"fontheight", &TabControl::FontHeight, 13},
    {"fontstyle", &TabControl::FontStyle},
    {"fontcolor", &TabControl::FontColor, 0},
    {"activefontcolor", &TabControl::ActiveFontColor, 0},
    {"focusfontcolor", &TabControl::FocusFontColor, 0},
    {"mouseinfontcolor", &TabControl::MouseInFontColor, 0},
    {"updown", &TabControl::UpDown, ""},
    {"showfocus", &TabControl::ShowFocus},
    {"focusoffsetx", &TabControl::FocusOffsetX, 0},
    {"focusoffsety", &TabControl::FocusOffsetY, 0},
    {"closebuttonrect", &TabControl::CloseButtonRect},
    {"closebuttonactiverect", &TabControl::CloseButtonActiveRect},
    {"closebuttondownrect", &TabControl::CloseButtonDownRect},
    {"buttontransparent", &TabControl::ButtonTransparent},
    {"buttontransparentcolor", &TabControl::ButtonTransparentColor, 0},
    {"dividerrect", &TabControl::DividerRect},
    {"dividertransparent", &TabControl::DividerTransparent},
    {"dividertransparentcolor", &TabControl::DividerTransparentColor, 0},
    {"mdicloserect", &TabControl::MDICloseRect},
    {"mdicloseactiverect", &TabControl::MDICloseActiveRect},
    {"mdiclosedownrect", &TabControl::MDICloseDownRect},
    {"mdirestorerect", &TabControl::MDIRestoreRect},
    {"mdirestoreactiverect", &TabControl::MDIRestoreActiveRect},
    {"mdirestoredownrect", &TabControl::MDIRestoreDownRect},
    {"mdiminrect", &TabControl::MDIMinRect},
    {"mdiminactiverect", &TabControl::MDIMinActiveRect},
    {"mdimindownrect", &TabControl::MDIMinDownRect},
    {"mdibuttonstransparent", &TabControl::MDIButtonsTransparent},
    {"mdibuttonstransparentcolor", &TabControl::MDIButtonsTransparentColor, 0},
    {"tableftbottomactiverect", &TabControl::TabLeftBottomActiveRect},
    {"tableftbottomfocusrect", &TabControl::TabLeftBottomFocusRect},
};

using GridControl = TbsDataSkinGridControl;
const TbsSkinKey<GridControl> GridControlKeys[] = {
    {"fixedcellrect", &GridControl::FixedCellRect},
    {"selectcellrect", &GridControl::SelectCellRect},
    {"focuscellrect", &GridControl::FocusCellRect},
    {"fixedcellleftoffset", &GridControl::FixedCellLeftOffset, 0},
    {"fixedcellrightoffset", &GridControl::FixedCellRightOffset, 0},
    {"fixedcelltextrect", &GridControl::FixedCellTextRect},
    {"cellleftoffset", &GridControl::CellLeftOffset, 0},
    {"cellrightoffset", &GridControl::CellRightOffset, 0},
    {"celltextrect", &GridControl::CellTextRect},
    {"bgpictureindex", &GridControl::BGPictureIndex, -1},
    {"linescolor", &GridControl::LinesColor, 0},
    {"bgcolor", &GridControl::BGColor, 0},
    {"fontname", &GridControl::FontName, "Tahoma"},
    {"fontheight", &GridControl::FontHeight, 13},
    {"fontstyle", &GridControl::FontStyle},
    {"fontcolor", &GridControl::FontColor, 0},
    {"selectfontcolor", &GridControl::SelectFontColor, 0},
    {"focusfontcolor", &GridControl::FocusFontColor, 0},
    {"fixedfontname", &GridControl::FixedFontName, "Tahoma"},
    {"fixedfontheight", &GridControl::FixedFontHeight, 13},
    {"fixedfontstyle", &GridControl::FixedFontStyle},
    {"fixedfontcolor", &GridControl::FixedFontColor, 0},
    {"cellstretcheffect", &GridControl::CellStretchEffect},
    {"fixedcellstretcheffect", &GridControl::FixedCellStretchEffect},
    {"showfocus", &GridControl::ShowFocus},
};

using MainMenuBar = TbsDataSkinMainMenuBar;
const TbsSkinKey<MainMenuBar> MainMenuBarKeys[] = {
    {"itemsrect", &MainMenuBar::ItemsRect},
    {"menubaritem", &MainMenuBar::MenuBarItem, ""},
    {"closebutton", &MainMenuBar::CloseButton, ""},
    {"minbutton", &MainMenuBar::MinButton, ""},
    {"maxbutton", &MainMenuBar::MaxButton, ""},
    {"sysmenubutton", &MainMenuBar::SysMenuButton, ""},
    {"trackmarkcolor", &MainMenuBar::TrackMarkColor, 0},
    {"trackmarkactivecolor", &MainMenuBar::TrackMarkActiveColor, 0},
    {"stretcheffect", &MainMenuBar::StretchEffect},
    {"itemtransparent", &MainMenuBar::ItemTransparent},
};

using ControlBar = TbsDataSkinControlBar;
const TbsSkinKey<ControlBar> ControlBarKeys[] = {
    {"itemrect", &ControlBar::ItemRect},
    {"bgpictureindex", &ControlBar::BGPictureIndex, -1},
    {"hgriprect", &ControlBar::HGripRect},
    {"vgriprect", &ControlBar::VGripRect},
    {"gripoffset1", &ControlBar::GripOffset1, 0},
    {"gripoffset2", &ControlBar::GripOffset2, 0},
    {"itemstretcheffect", &ControlBar::ItemStretchEffect},
    {"itemoffset1", &ControlBar::ItemOffset1, 3},
    {"itemoffset2", &ControlBar::ItemOffset2, 3},
    {"itemtransparent", &ControlBar::ItemTransparent},
    {"itemtransparentcolor", &ControlBar::ItemTransparentColor, 0},
    {"griptransparent", &ControlBar::GripTransparent},
    {"griptransparentcolor", &ControlBar::GripTransparentColor, 0},
};

using AppMenu = TbsDataSkinAppMenu;
const TbsSkinKey<AppMenu> AppMenuKeys[] = {
    {"bgpictureindex", &AppMenu::BGPictureIndex, -1},
    {"bgstretcheffect", &AppMenu::BGStretchEffect},
    {"bgpagepictureindex", &AppMenu::BGPagePictureIndex, -1},
    {"bgpagestretcheffect", &AppMenu::BGPageStretchEffect},
    {"itemrect", &AppMenu::ItemRect},
    {"pageitemrect", &AppMenu::PageItemRect},
    {"pageitemactiverect", &AppMenu::PageItemActiveRect},
    {"itemoffset1", &AppMenu::ItemOffset1, 3},
    {"itemoffset2", &AppMenu::ItemOffset2, 3},
    {"pageitemoffset1", &AppMenu::PageItemOffset1, 10},
    {"pageitemoffset2", &AppMenu::PageItemOffset2, 10},
    {"pageoffset", &AppMenu::PageOffset, 0},
    {"fontname", &AppMenu::FontName, "Tahoma"},
    {"fontheight", &AppMenu::FontHeight, 13},
    {"fontpageheight", &AppMenu::FontPageHeight, 16},
    {"fontstyle", &AppMenu::FontStyle},
    {"fontcolor", &AppMenu::FontColor, 0},
    {"disabledfontcolor", &AppMenu::DisabledFontColor, 0},
    {"activefontcolor", &AppMenu::ActiveFontColor, 0},
    {"fontpagecolor", &AppMenu::FontPageColor, 0},
    {"activefontpagecolor", &AppMenu::ActiveFontPageColor, 0},
    {"gripperrect", &AppMenu::GripperRect},
    {"grippertransparentcolor", &AppMenu::GripperTransparentColor, 0},
    {"toplinerect", &AppMenu::TopLineRect},
    {"toplineoffset1", &AppMenu::TopLineOffset1, 0},
    {"toplineoffset2", &AppMenu::TopLineOffset2, 0},
    {"backbuttonrect", &AppMenu::BackButtonRect},
    {"backbuttonactiverect", &AppMenu::BackButtonActiveRect},
    {"captionrect", &AppMenu::CaptionRect},
    {"captionleftoffset", &AppMenu::CaptionLeftOffset, 0},
    {"captiontopoffset", &AppMenu::CaptionTopOffset, 0},
};

using GaugeControl = TbsDataSkinGaugeControl;
const TbsSkinKey<GaugeControl> GaugeControlKeys[] = {
    {"progressarea", &GaugeControl::ProgressArea},
    {"progressrect", &GaugeControl::ProgressRect},
    {"beginoffset", &GaugeControl::BeginOffset, 0},
    {"endoffset", &GaugeControl::EndOffset, 0},
    {"vertical", &GaugeControl::Vertical},
    {"fontname", &GaugeControl::FontName, "Tahoma"},
    {"fontheight", &GaugeControl::FontHeight, 13},
    {"fontstyle", &GaugeControl::FontStyle},
    {"fontcolor", &GaugeControl::FontColor, 0},
    {"progresstransparent", &GaugeControl::ProgressTransparent},
    {"progresstransparentcolor", &GaugeControl::ProgressTransparentColor, 0},
    {"progressstretch", &GaugeControl::ProgressStretch},
    {"animationskinrect", &GaugeControl::AnimationSkinRect},
    {"animationcountframes", &GaugeControl::AnimationCountFrames, 0},
    {"animationtimerinterval", &GaugeControl::AnimationTimerInterval, 0},
    {"progressanimationskinrect", &GaugeControl::ProgressAnimationSkinRect},
    {"progressanimationcountframes", &GaugeControl::ProgressAnimationCountFrames, 0},
    {"progressanimationtimerinterval", &GaugeControl::ProgressAnimationTimerInterval, 0},
    {"animationbeginoffset", &GaugeControl::AnimationBeginOffset, 0},
    {"animationendoffset", &GaugeControl::AnimationEndOffset, 0},
};

using TrackBarControl = TbsDataSkinTrackBarControl;
const TbsSkinKey<TrackBarControl> TrackBarControlKeys[] = {
    {"activeskinrect", &TrackBarControl::ActiveSkinRect},
    {"trackarea", &TrackBarControl::TrackArea},
    {"buttonrect", &TrackBarControl::ButtonRect},
    {"activebuttonrect", &TrackBarControl::ActiveButtonRect},
    {"vertical", &TrackBarControl::Vertical},
    {"buttontransparent", &TrackBarControl::ButtonTransparent},
    {"buttontransparentcolor", &TrackBarControl::ButtonTransparentColor, 0},
};

using Slider = TbsDataSkinSlider;
const TbsSkinKey<Slider> SliderKeys[] = {
    {"bgcolor", &Slider::BGColor, 0},         {"hrulerrect", &Slider::HRulerRect},
    {"hthumbrect", &Slider::HThumbRect},      {"vrulerrect", &Slider::VRulerRect},
    {"vthumbrect", &Slider::VThumbRect},      {"edgesize", &Slider::EdgeSize, 0},
    {"pointscolor", &Slider::PointsColor, 0},
};

}  // namespace

void TbsDataSkinTabControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, TabControlKeys);
}

void TbsDataSkinTabControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, TabControlKeys);
}

void TbsDataSkinGridControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, GridControlKeys);
}

void TbsDataSkinGridControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, GridControlKeys, {"bgpictureindex", "bgcolor"});
}

void TbsDataSkinMainMenuBar::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, MainMenuBarKeys);
}

void TbsDataSkinMainMenuBar::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, MainMenuBarKeys);
}

void TbsDataSkinControlBar::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ControlBarKeys);
}

void TbsDataSkinControlBar::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ControlBarKeys, {"itemstretcheffect", "itemoffset2"});
}

void TbsDataSkinAppMenu::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, AppMenuKeys);
}

void TbsDataSkinAppMenu::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, AppMenuKeys);
}

void TbsDataSkinGaugeControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, GaugeControlKeys);
}

void TbsDataSkinGaugeControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, GaugeControlKeys);
}

void TbsDataSkinTrackBarControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, TrackBarControlKeys);
}

void TbsDataSkinTrackBarControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, TrackBarControlKeys);
}

void TbsDataSkinSlider::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, SliderKeys);
}

void TbsDataSkinSlider::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, SliderKeys);
}
