#include "skin/core/bsskinrecordsbuttons.h"

#include "skin/core/bsskinrecordskeys.h"

namespace {

using ButtonControl = TbsDataSkinButtonControl;
const TbsSkinKey<ButtonControl> ButtonControlKeys[] = {
    {"fontname", &ButtonControl::FontName, "Tahoma"},
    {"fontheight", &ButtonControl::FontHeight, 13},
    {"fontstyle", &ButtonControl::FontStyle},
    {"fontcolor", &ButtonControl::FontColor, 0},
    {"activefontcolor", &ButtonControl::ActiveFontColor, 0},
    {"downfontcolor", &ButtonControl::DownFontColor, 0},
    {"disabledfontcolor", &ButtonControl::DisabledFontColor, 0},
    {"activeskinrect", &ButtonControl::ActiveSkinRect},
    {"downskinrect", &ButtonControl::DownSkinRect},
    {"focusedskinrect", &ButtonControl::FocusedSkinRect},
    {"disabledskinrect", &ButtonControl::DisabledSkinRect},
    {"morphing", &ButtonControl::Morphing},
    {"morphkind", &ButtonControl::MorphKind},
    {"animateskinrect", &ButtonControl::AnimateSkinRect},
    {"framecount", &ButtonControl::FrameCount, 0},
    {"animateinterval", &ButtonControl::AnimateInterval, 25},
    {"showfocus", &ButtonControl::ShowFocus},
    {"menumarkerflatrect", &ButtonControl::MenuMarkerFlatRect},
    {"menumarkerrect", &ButtonControl::MenuMarkerRect},
    {"menumarkeractiverect", &ButtonControl::MenuMarkerActiveRect},
    {"menumarkerdownrect", &ButtonControl::MenuMarkerDownRect},
    {"menumarkertransparentcolor", &ButtonControl::MenuMarkerTransparentColor, 0},
    {"glowlayerpictureindex", &ButtonControl::GlowLayerPictureIndex, -1},
    {"glowlayermaskpictureindex", &ButtonControl::GlowLayerMaskPictureIndex, -1},
    {"glowlayeroffsetleft", &ButtonControl::GlowLayerOffsetLeft, 0},
    {"glowlayeroffsettop", &ButtonControl::GlowLayerOffsetTop, 0},
    {"glowlayeroffsetright", &ButtonControl::GlowLayerOffsetRight, 0},
    {"glowlayeroffsetbottom", &ButtonControl::GlowLayerOffsetBottom, 0},
    {"glowlayershowoffsetx", &ButtonControl::GlowLayerShowOffsetX, 0},
    {"glowlayershowoffsety", &ButtonControl::GlowLayerShowOffsetY, 0},
    {"glowlayeralphablendvalue", &ButtonControl::GlowLayerAlphaBlendValue, 255},
};

using MenuButtonControl = TbsDataSkinMenuButtonControl;
const TbsSkinKey<MenuButtonControl> MenuButtonControlKeys[] = {
    {"trackbuttonrect", &MenuButtonControl::TrackButtonRect},
};

using CheckRadioControl = TbsDataSkinCheckRadioControl;
const TbsSkinKey<CheckRadioControl> CheckRadioControlKeys[] = {
    {"fontname", &CheckRadioControl::FontName, "Tahoma"},
    {"fontheight", &CheckRadioControl::FontHeight, 13},
    {"fontstyle", &CheckRadioControl::FontStyle},
    {"fontcolor", &CheckRadioControl::FontColor, 0},
    {"activefontcolor", &CheckRadioControl::ActiveFontColor, 0},
    {"unenabledfontcolor", &CheckRadioControl::UnEnabledFontColor, 0},
    {"framefontcolor", &CheckRadioControl::FrameFontColor, 0},
    {"activeskinrect", &CheckRadioControl::ActiveSkinRect},
    {"checkimagearea", &CheckRadioControl::CheckImageArea},
    {"textarea", &CheckRadioControl::TextArea},
    {"checkimagerect", &CheckRadioControl::CheckImageRect},
    {"uncheckimagerect", &CheckRadioControl::UnCheckImageRect},
    {"activecheckimagerect", &CheckRadioControl::ActiveCheckImageRect},
    {"activeuncheckimagerect", &CheckRadioControl::ActiveUnCheckImageRect},
    {"unenabledcheckimagerect", &CheckRadioControl::UnEnabledCheckImageRect},
    {"unenableduncheckimagerect", &CheckRadioControl::UnEnabledUnCheckImageRect},
    {"grayedcheckimagerect", &CheckRadioControl::GrayedCheckImageRect},
    {"activegrayedcheckimagerect", &CheckRadioControl::ActiveGrayedCheckImageRect},
    {"morphing", &CheckRadioControl::Morphing},
    {"morphkind", &CheckRadioControl::MorphKind},
};

using PanelControl = TbsDataSkinPanelControl;
const TbsSkinKey<PanelControl> PanelControlKeys[] = {
    {"bgpictureindex", &PanelControl::BGPictureIndex, -1},
    {"captionrect", &PanelControl::CaptionRect},
    {"alignment", &PanelControl::Alignment},
    {"fontname", &PanelControl::FontName, "Tahoma"},
    {"fontheight", &PanelControl::FontHeight, 13},
    {"fontstyle", &PanelControl::FontStyle},
    {"fontcolor", &PanelControl::FontColor, 0},
    {"checkimagerect", &PanelControl::CheckImageRect},
    {"uncheckimagerect", &PanelControl::UnCheckImageRect},
    {"markframerect", &PanelControl::MarkFrameRect},
    {"framerect", &PanelControl::FrameRect},
    {"frametextrect", &PanelControl::FrameTextRect},
    {"frameleftoffset", &PanelControl::FrameLeftOffset, 0},
    {"framerightoffset", &PanelControl::FrameRightOffset, 0},
    {"gripperrect", &PanelControl::GripperRect},
    {"grippertransparent", &PanelControl::GripperTransparent},
    {"grippertransparentcolor", &PanelControl::GripperTransparentColor, 0},
    {"buttonrect", &PanelControl::ButtonRect},
    {"buttonactiverect", &PanelControl::ButtonActiveRect},
    {"buttondownrect", &PanelControl::ButtonDownRect},
    {"buttontransparent", &PanelControl::ButtonTransparent},
    {"buttontransparentcolor", &PanelControl::ButtonTransparentColor, 0},
};

using ExPanelControl = TbsDataSkinExPanelControl;
const TbsSkinKey<ExPanelControl> ExPanelControlKeys[] = {
    {"rollhskinrect", &ExPanelControl::RollHSkinRect},
    {"rollvskinrect", &ExPanelControl::RollVSkinRect},
    {"rollleftoffset", &ExPanelControl::RollLeftOffset, 0},
    {"rollrightoffset", &ExPanelControl::RollRightOffset, 0},
    {"rolltopoffset", &ExPanelControl::RollTopOffset, 0},
    {"rollbottomoffset", &ExPanelControl::RollBottomOffset, 0},
    {"rollvcaptionrect", &ExPanelControl::RollVCaptionRect},
    {"rollhcaptionrect", &ExPanelControl::RollHCaptionRect},
    {"closebuttonrect", &ExPanelControl::CloseButtonRect},
    {"closebuttonactiverect", &ExPanelControl::CloseButtonActiveRect},
    {"closebuttondownrect", &ExPanelControl::CloseButtonDownRect},
    {"hrollbuttonrect", &ExPanelControl::HRollButtonRect},
    {"hrollbuttonactiverect", &ExPanelControl::HRollButtonActiveRect},
    {"hrollbuttondownrect", &ExPanelControl::HRollButtonDownRect},
    {"hrestorebuttonrect", &ExPanelControl::HRestoreButtonRect},
    {"hrestorebuttonactiverect", &ExPanelControl::HRestoreButtonActiveRect},
    {"hrestorebuttondownrect", &ExPanelControl::HRestoreButtonDownRect},
    {"vrollbuttonrect", &ExPanelControl::VRollButtonRect},
    {"vrollbuttonactiverect", &ExPanelControl::VRollButtonActiveRect},
    {"vrollbuttondownrect", &ExPanelControl::VRollButtonDownRect},
    {"vrestorebuttonrect", &ExPanelControl::VRestoreButtonRect},
    {"vrestorebuttonactiverect", &ExPanelControl::VRestoreButtonActiveRect},
    {"vrestorebuttondownrect", &ExPanelControl::VRestoreButtonDownRect},
    {"captionrect", &ExPanelControl::CaptionRect},
    {"fontname", &ExPanelControl::FontName, "Tahoma"},
    {"fontheight", &ExPanelControl::FontHeight, 13},
    {"fontstyle", &ExPanelControl::FontStyle},
    {"fontcolor", &ExPanelControl::FontColor, 0},
    {"buttonstransparent", &ExPanelControl::ButtonsTransparent},
    {"buttonstransparentcolor", &ExPanelControl::ButtonsTransparentColor, 0},
};

using LabelControl = TbsDataSkinLabelControl;
const TbsSkinKey<LabelControl> LabelControlKeys[] = {
    {"fontname", &LabelControl::FontName, "Tahoma"},
    {"fontheight", &LabelControl::FontHeight, 13},
    {"fontstyle", &LabelControl::FontStyle},
    {"fontcolor", &LabelControl::FontColor, 0},
};

using StdLabelControl = TbsDataSkinStdLabelControl;
const TbsSkinKey<StdLabelControl> StdLabelControlKeys[] = {
    {"fontname", &StdLabelControl::FontName, "Tahoma"},
    {"fontheight", &StdLabelControl::FontHeight, 13},
    {"fontstyle", &StdLabelControl::FontStyle},
    {"fontcolor", &StdLabelControl::FontColor, 0},
    {"activefontcolor", &StdLabelControl::ActiveFontColor, 0xFF0000},
};

using Bevel = TbsDataSkinBevel;
const TbsSkinKey<Bevel> BevelKeys[] = {
    {"lightcolor", &Bevel::LightColor, 0},
    {"darkcolor", &Bevel::DarkColor, 0},
};

using SplitterControl = TbsDataSkinSplitterControl;
const TbsSkinKey<SplitterControl> SplitterControlKeys[] = {
    {"gripperrect", &SplitterControl::GripperRect},
    {"grippertransparent", &SplitterControl::GripperTransparent},
    {"grippertransparentcolor", &SplitterControl::GripperTransparentColor, 0},
};

}  // namespace

void TbsDataSkinButtonControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ButtonControlKeys);
}

void TbsDataSkinButtonControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ButtonControlKeys, {"glowlayeroffsettop", "glowlayeroffsetright"});
}

void TbsDataSkinMenuButtonControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinButtonControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, MenuButtonControlKeys);
}

void TbsDataSkinMenuButtonControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinButtonControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, MenuButtonControlKeys);
}

void TbsDataSkinCheckRadioControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, CheckRadioControlKeys);
}

void TbsDataSkinCheckRadioControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, CheckRadioControlKeys, {"framefontcolor", "fontcolor"});
}

void TbsDataSkinPanelControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, PanelControlKeys);
}

void TbsDataSkinPanelControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, PanelControlKeys);
}

void TbsDataSkinExPanelControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ExPanelControlKeys);
}

void TbsDataSkinExPanelControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ExPanelControlKeys);
}

void TbsDataSkinLabelControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, LabelControlKeys);
}

void TbsDataSkinLabelControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, LabelControlKeys);
}

void TbsDataSkinStdLabelControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, StdLabelControlKeys);
}

void TbsDataSkinStdLabelControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, StdLabelControlKeys);
}

void TbsDataSkinBevel::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, BevelKeys);
}

void TbsDataSkinBevel::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, BevelKeys);
}

void TbsDataSkinSplitterControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, SplitterControlKeys);
}

void TbsDataSkinSplitterControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, SplitterControlKeys);
}
