#include "skin/core/bsskinrecordsform.h"

#include "skin/core/bsblur.h"
#include "skin/core/bsskinrecordskeys.h"

namespace {

// The platform's system colour of index N, as skins store it.
constexpr TColor skinSystemColor(Integer N) {
  return TColor(0xFF000000u | Cardinal(N));
}

struct TSkinColorKey {
  const char* Name;
  TColor Default;
};

// In the order of the fields and of the description's keys.
const TSkinColorKey SkinColorKeys[8] = {
    {"cbtnface", skinSystemColor(COLOR_BTNFACE)},
    {"cbtntext", skinSystemColor(COLOR_BTNTEXT)},
    {"cwindow", skinSystemColor(COLOR_WINDOW)},
    {"cwindowtext", skinSystemColor(COLOR_WINDOWTEXT)},
    {"chighlight", skinSystemColor(COLOR_HIGHLIGHT)},
    {"chighlighttext", skinSystemColor(COLOR_HIGHLIGHTTEXT)},
    {"cbtnhighlight", skinSystemColor(COLOR_BTNHIGHLIGHT)},
    {"cbtnshadow", skinSystemColor(COLOR_BTNSHADOW)},
};

const char* const PopupWindowSection = "POPUPWINDOW";
const char* const HintWindowSection = "HINTWINDOW";
const char* const LayerFrameSection = "LAYERFRAME";
const char* const SkinColorsSection = "SKINCOLORS";

using PopupWindow = TbsDataSkinPopupWindow;
const TbsSkinKey<PopupWindow> PopupWindowKeys[] = {
    {"windowpictureindex", &PopupWindow::WindowPictureIndex, -1},
    {"maskpictureindex", &PopupWindow::MaskPictureIndex, -1},
    {"lefttoppoint", &PopupWindow::LTPoint},
    {"righttoppoint", &PopupWindow::RTPoint},
    {"leftbottompoint", &PopupWindow::LBPoint},
    {"rightbottompoint", &PopupWindow::RBPoint},
    {"itemsrect", &PopupWindow::ItemsRect},
    {"scrollmarkercolor", &PopupWindow::ScrollMarkerColor, 0},
    {"scrollmarkeractivecolor", &PopupWindow::ScrollMarkerActiveColor, 0},
    {"leftstretch", &PopupWindow::LeftStretch},
    {"rightstretch", &PopupWindow::RightStretch},
    {"topstretch", &PopupWindow::TopStretch},
    {"bottomstretch", &PopupWindow::BottomStretch},
    {"stretcheffect", &PopupWindow::StretchEffect},
    {"stretchtype", &PopupWindow::StretchType},
};

using HintWindow = TbsDataSkinHintWindow;
const TbsSkinKey<HintWindow> HintWindowKeys[] = {
    {"windowpictureindex", &HintWindow::WindowPictureIndex, -1},
    {"maskpictureindex", &HintWindow::MaskPictureIndex, -1},
    {"lefttoppoint", &HintWindow::LTPoint},
    {"righttoppoint", &HintWindow::RTPoint},
    {"leftbottompoint", &HintWindow::LBPoint},
    {"rightbottompoint", &HintWindow::RBPoint},
    {"clientrect", &HintWindow::ClRect},
    {"fontname", &HintWindow::FontName, "Tahoma"},
    {"fontheight", &HintWindow::FontHeight, 13},
    {"fontstyle", &HintWindow::FontStyle},
    {"fontcolor", &HintWindow::FontColor, 0},
    {"leftstretch", &HintWindow::LeftStretch},
    {"rightstretch", &HintWindow::RightStretch},
    {"topstretch", &HintWindow::TopStretch},
    {"bottomstretch", &HintWindow::BottomStretch},
    {"stretcheffect", &HintWindow::StretchEffect},
    {"stretchtype", &HintWindow::StretchType},
};

using LayerFrame = TbsDataSkinLayerFrame;
const TbsSkinKey<LayerFrame> LayerFrameKeys[] = {
    {"pictureindex", &LayerFrame::PictureIndex, -1},
    {"maskpictureindex", &LayerFrame::MaskPictureIndex, -1},
    {"inactivepictureindex", &LayerFrame::InActivePictureIndex, -1},
    {"inactivemaskpictureindex", &LayerFrame::InActiveMaskPictureIndex, -1},
    {"lefttoppoint", &LayerFrame::LTPoint},
    {"righttoppoint", &LayerFrame::RTPoint},
    {"leftbottompoint", &LayerFrame::LBPoint},
    {"rightbottompoint", &LayerFrame::RBPoint},
    {"clientrect", &LayerFrame::ClRect},
    {"alphablendvalue", &LayerFrame::AlphaBlendValue, 255},
    {"inactivealphablendvalue", &LayerFrame::InActiveAlphaBlendValue, 255},
    {"borderrect", &LayerFrame::BorderRect},
    {"hittestenable", &LayerFrame::HitTestEnable},
    {"fullborder", &LayerFrame::FullBorder},
    {"hittestsize", &LayerFrame::HitTestSize, 0},
    {"captionrect", &LayerFrame::CaptionRect},
    {"hittestlefttoppoint", &LayerFrame::HitTestLTPoint},
    {"hittestrighttoppoint", &LayerFrame::HitTestRTPoint},
    {"hittestleftbottompoint", &LayerFrame::HitTestLBPoint},
    {"hittestrightbottompoint", &LayerFrame::HitTestRBPoint},
    {"buttonsrect", &LayerFrame::ButtonsRect},
    {"sysmenubuttonrect", &LayerFrame::SysMenuButtonRect},
    {"fullstretch", &LayerFrame::FullStretch},
    {"rollupformheight", &LayerFrame::RollUpFormHeight, 0},
    {"buttonstopoffset", &LayerFrame::ButtonsTopOffset, 0},
    {"sysbuttontopoffset", &LayerFrame::SysButtonTopOffset, 0},
    {"blurmaskpictureindex", &LayerFrame::BlurMaskPictureIndex, -1},
    {"intersectblurmaskrect", &LayerFrame::IntersectBlurMaskRect},
    {"excludeblurmaskrect", &LayerFrame::ExcludeBlurMaskRect},
    {"leftoffset", &LayerFrame::LeftOffset, 0},
    {"topoffset", &LayerFrame::TopOffset, 0},
    {"widthoffset", &LayerFrame::WidthOffset, 0},
    {"heightoffset", &LayerFrame::HeightOffset, 0},
};

TBitmap* pictureAt(TList* Pictures, Integer Index) {
  return static_cast<TBitmap*>(Pictures->Items(Index));
}

// The picture with alpha from its mask, or none when either index is -1 or past the list.
void buildSourceBitmap(TList* Pictures, Integer PictureIndex, Integer MaskIndex,
                       std::unique_ptr<TbsBitmap>& Bitmap) {
  Bitmap.reset();
  if (PictureIndex == -1 || MaskIndex == -1 || PictureIndex >= Pictures->Count() ||
      MaskIndex >= Pictures->Count())
    return;
  auto bitmap = std::make_unique<TbsBitmap>();
  bitmap->Assign(pictureAt(Pictures, PictureIndex));
  TbsBitmap scratch;
  scratch.Assign(pictureAt(Pictures, MaskIndex));
  AlphaFromMask(bitmap.get(), &scratch);
  bitmap->CheckingAlphaBlend();
  Bitmap = std::move(bitmap);
}

}  // namespace

void TbsSkinColors::LoadFromFile(TCustomIniFile* IniFile) {
  TColor* fields[8] = {&FcBtnFace,   &FcBtnText,       &FcWindow,       &FcWindowText,
                       &FcHighLight, &FcHighLightText, &FcBtnHighLight, &FcBtnShadow};
  for (int i = 0; i < 8; ++i)
    *fields[i] = IniFile->ReadInteger(SkinColorsSection, SkinColorKeys[i].Name, SkinColorKeys[i].Default);
}

void TbsSkinColors::SaveToFile(TCustomIniFile* IniFile) {
  const TColor values[8] = {FcBtnFace,   FcBtnText,       FcWindow,       FcWindowText,
                            FcHighLight, FcHighLightText, FcBtnHighLight, FcBtnShadow};
  for (int i = 0; i < 8; ++i) IniFile->WriteInteger(SkinColorsSection, SkinColorKeys[i].Name, values[i]);
}

void TbsSkinColors::SetColorsToDefault() {
  TColor* fields[8] = {&FcBtnFace,   &FcBtnText,       &FcWindow,       &FcWindowText,
                       &FcHighLight, &FcHighLightText, &FcBtnHighLight, &FcBtnShadow};
  for (int i = 0; i < 8; ++i) *fields[i] = SkinColorKeys[i].Default;
}

void TbsDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) {
  LoadSkinKeys(IniFile, PopupWindowSection, this, PopupWindowKeys);
}

void TbsDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(PopupWindowSection);
  SaveSkinKeys(IniFile, PopupWindowSection, this, PopupWindowKeys);
}

void TbsDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) {
  LoadSkinKeys(IniFile, HintWindowSection, this, HintWindowKeys);
}

void TbsDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(HintWindowSection);
  SaveSkinKeys(IniFile, HintWindowSection, this, HintWindowKeys);
}

void TbsDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) {
  LoadSkinKeys(IniFile, LayerFrameSection, this, LayerFrameKeys);
}

void TbsDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(LayerFrameSection);
  SaveSkinKeys(IniFile, LayerFrameSection, this, LayerFrameKeys);
}

void TbsDataSkinLayerFrame::InitAlphaImages(TList* ActivePictures) {
  buildSourceBitmap(ActivePictures, PictureIndex, MaskPictureIndex, FSourceBitmap);
  buildSourceBitmap(ActivePictures, InActivePictureIndex, InActiveMaskPictureIndex, FSourceInActiveBitMap);
}
