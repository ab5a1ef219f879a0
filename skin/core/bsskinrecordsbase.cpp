#include "skin/core/bsskinrecordsbase.h"

#include "skin/core/bsskinrecordskeys.h"

namespace {

using SkinControl = TbsDataSkinControl;
const TbsSkinKey<SkinControl> SkinControlKeys[] = {
    {"pictureindex", &SkinControl::PictureIndex, -1},
    {"maskpictureindex", &SkinControl::MaskPictureIndex, -1},
    {"skinrect", &SkinControl::SkinRect},
};

using CustomControl = TbsDataSkinCustomControl;
const TbsSkinKey<CustomControl> CustomControlKeys[] = {
    {"lefttoppoint", &CustomControl::LTPoint},        {"righttoppoint", &CustomControl::RTPoint},
    {"leftbottompoint", &CustomControl::LBPoint},     {"rightbottompoint", &CustomControl::RBPoint},
    {"clientrect", &CustomControl::ClRect},           {"leftstretch", &CustomControl::LeftStretch},
    {"topstretch", &CustomControl::TopStretch},       {"rightstretch", &CustomControl::RightStretch},
    {"bottomstretch", &CustomControl::BottomStretch}, {"stretcheffect", &CustomControl::StretchEffect},
    {"stretchtype", &CustomControl::StretchType},
};

}  // namespace

void TbsDataSkinControl::LoadFromFile(TCustomIniFile* IniFile) {
  LoadSkinKeys(IniFile, IDName, this, SkinControlKeys);
}

void TbsDataSkinControl::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  SaveSkinKeys(IniFile, IDName, this, SkinControlKeys);
}

void TbsDataSkinCustomControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, CustomControlKeys);
}

void TbsDataSkinCustomControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, CustomControlKeys);
}
