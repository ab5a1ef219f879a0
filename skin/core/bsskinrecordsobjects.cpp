#include "skin/core/bsskinrecordsobjects.h"

#include "skin/core/bsblur.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/core/bsskinrecordskeys.h"

namespace {

using SkinObject = TbsDataSkinObject;
const TbsSkinKey<SkinObject> SkinObjectKeys[] = {
    {"hint", &SkinObject::Hint, ""},
    {"activepictureindex", &SkinObject::ActivePictureIndex, -1},
    {"activemaskpictureindex", &SkinObject::ActiveMaskPictureIndex, -1},
    {"skinrectinapicture", &SkinObject::SkinRectInAPicture},
    {"skinrect", &SkinObject::SkinRect},
    {"activeskinrect", &SkinObject::ActiveSkinRect},
    {"inactiveskinrect", &SkinObject::InActiveSkinRect},
    {"morphing", &SkinObject::Morphing},
    {"morphkind", &SkinObject::MorphKind},
    {"glowlayerpictureindex", &SkinObject::GlowLayerPictureIndex, -1},
    {"glowlayermaskpictureindex", &SkinObject::GlowLayerMaskPictureIndex, -1},
    {"glowlayeroffsetx", &SkinObject::GlowLayerOffsetX, 0},
    {"glowlayeroffsety", &SkinObject::GlowLayerOffsetY, 0},
    {"glowlayeralphablendvalue", &SkinObject::GlowLayerAlphaBlendValue, 255},
};

using SkinButton = TbsDataSkinButton;
const TbsSkinKey<SkinButton> SkinButtonKeys[] = {
    {"downrect", &SkinButton::DownRect},
    {"disableskinrsect", &SkinButton::DisableSkinRect},
    {"alphamaskpictureindex", &SkinButton::AlphaMaskPictureIndex, -1},
    {"alphamaskactivepictureindex", &SkinButton::AlphaMaskActivePictureIndex, -1},
    {"alphamaskinactivepictureindex", &SkinButton::AlphaMaskInActivePictureIndex, -1},
};

using StdButton = TbsDataSkinStdButton;
const TbsSkinKey<StdButton> StdButtonKeys[] = {
    {"command", &StdButton::Command},
    {"restorerect", &StdButton::RestoreRect},
    {"restoreactiverect", &StdButton::RestoreActiveRect},
    {"restoredownrect", &StdButton::RestoreDownRect},
    {"restoreinactiverect", &StdButton::RestoreInActiveRect},
    {"restorehint", &StdButton::RestoreHint, ""},
};

using Animate = TbsDataSkinAnimate;
const TbsSkinKey<Animate> AnimateKeys[] = {
    {"countframes", &Animate::CountFrames, 1},
    {"cycle", &Animate::Cycle},
    {"buttonstyle", &Animate::ButtonStyle},
    {"timerinterval", &Animate::TimerInterval, 50},
    {"command", &Animate::Command},
    {"downskinrect", &Animate::DownSkinRect},
    {"restorerect", &Animate::RestoreRect},
    {"restoreactiverect", &Animate::RestoreActiveRect},
    {"restoredownrect", &Animate::RestoreDownRect},
    {"restoreinactiverect", &Animate::RestoreInActiveRect},
    {"restorehint", &Animate::RestoreHint, ""},
};

using MenuItem = TbsDataSkinMenuItem;
const TbsSkinKey<MenuItem> MenuItemKeys[] = {
    {"itemleftoffset", &MenuItem::ItemLO, 0},
    {"itemrightoffset", &MenuItem::ItemRO, 0},
    {"dividerrect", &MenuItem::DividerRect},
    {"dividerleftoffset", &MenuItem::DividerLO, 0},
    {"dividerrightoffset", &MenuItem::DividerRO, 0},
    {"textrect", &MenuItem::TextRct},
    {"imagerect", &MenuItem::ImageRct},
    {"fontname", &MenuItem::FontName, "Tahoma"},
    {"fontheight", &MenuItem::FontHeight, 13},
    {"fontstyle", &MenuItem::FontStyle},
    {"fontcolor", &MenuItem::FontColor, 0},
    {"activefontcolor", &MenuItem::ActiveFontColor, 0},
    {"unenabledfontcolor", &MenuItem::UnEnabledFontColor, 0},
    {"stretcheffect", &MenuItem::StretchEffect},
    {"inactivestretcheffect", &MenuItem::InActiveStretchEffect},
    {"dividerstretcheffect", &MenuItem::DividerStretchEffect},
    {"animateskinrect", &MenuItem::AnimateSkinRect},
    {"framecount", &MenuItem::FrameCount, 0},
    {"animateinterval", &MenuItem::AnimateInterval, 25},
    {"inactiveanimation", &MenuItem::InActiveAnimation},
    {"useimagecolor", &MenuItem::UseImageColor},
    {"imagecolor", &MenuItem::ImageColor, 0},
    {"activeimagecolor", &MenuItem::ActiveImageColor, 0},
    {"inactivetransparent", &MenuItem::InActiveTransparent},
    {"checkimagerect", &MenuItem::CheckImageRect},
    {"activecheckimagerect", &MenuItem::ActiveCheckImageRect},
    {"radioimagerect", &MenuItem::RadioImageRect},
    {"activeradioimagerect", &MenuItem::ActiveRadioImageRect},
    {"arrowimagerect", &MenuItem::ArrowImageRect},
    {"activearrowimagerect", &MenuItem::ActiveArrowImageRect},
};

using MainMenuItem = TbsDataSkinMainMenuItem;
const TbsSkinKey<MainMenuItem> MainMenuItemKeys[] = {
    {"itemleftoffset", &MainMenuItem::ItemLO, 0},
    {"itemrightoffset", &MainMenuItem::ItemRO, 0},
    {"downrect", &MainMenuItem::DownRect},
    {"textrect", &MainMenuItem::TextRct},
    {"fontname", &MainMenuItem::FontName, "Tahoma"},
    {"fontheight", &MainMenuItem::FontHeight, 13},
    {"fontstyle", &MainMenuItem::FontStyle},
    {"fontcolor", &MainMenuItem::FontColor, 0},
    {"activefontcolor", &MainMenuItem::ActiveFontColor, 0},
    {"downfontcolor", &MainMenuItem::DownFontColor, 0},
    {"unenabledfontColor", &MainMenuItem::UnEnabledFontColor, 0},
    {"stretcheffect", &MainMenuItem::StretchEffect},
    {"animateskinrect", &MainMenuItem::AnimateSkinRect},
    {"framecount", &MainMenuItem::FrameCount, 0},
    {"animateinterval", &MainMenuItem::AnimateInterval, 25},
    {"inactiveanimation", &MainMenuItem::InActiveAnimation},
};

using Caption = TbsDataSkinCaption;
const TbsSkinKey<Caption> CaptionKeys[] = {
    {"textrect", &Caption::TextRct},
    {"fontname", &Caption::FontName, "Tahoma"},
    {"fontheight", &Caption::FontHeight, 13},
    {"fontstyle", &Caption::FontStyle},
    {"fontcolor", &Caption::FontColor, 0},
    {"activefontcolor", &Caption::ActiveFontColor, 0},
    {"alignment", &Caption::Alignment},
    {"light", &Caption::Light},
    {"lightcolor", &Caption::LightColor, 0},
    {"activelightcolor", &Caption::ActiveLightColor, 0},
    {"shadow", &Caption::Shadow},
    {"shadowcolor", &Caption::ShadowColor, 0},
    {"activeshadowcolor", &Caption::ActiveShadowColor, 0},
    {"framerect", &Caption::FrameRect},
    {"activeframerect", &Caption::ActiveFrameRect},
    {"frametextrect", &Caption::FrameTextRect},
    {"frameleftoffset", &Caption::FrameLeftOffset, 0},
    {"framerightoffset", &Caption::FrameRightOffset, 0},
    {"stretcheffect", &Caption::StretchEffect},
    {"animateskinrect", &Caption::AnimateSkinRect},
    {"framecount", &Caption::FrameCount, 0},
    {"animateinterval", &Caption::AnimateInterval, 25},
    {"inactiveanimation", &Caption::InActiveAnimation},
    {"fullframe", &Caption::FullFrame},
    {"vistagloweffect", &Caption::VistaGlowEffect},
    {"vistaglowinactiveeffect", &Caption::VistaGlowInActiveEffect},
    {"gloweffect", &Caption::GlowEffect},
    {"glowinactiveeffect", &Caption::GlowInActiveEffect},
    {"glowsize", &Caption::GlowSize, 3},
    {"glowcolor", &Caption::GlowColor, 0},
    {"glowactivecolor", &Caption::GlowActiveColor, 0},
    {"glowoffset", &Caption::GlowOffset, 0},
    {"reflectioneffect", &Caption::ReflectionEffect},
    {"reflactioncolor", &Caption::ReflectionColor, 0},
    {"reflactionactivecolor", &Caption::ReflectionActiveColor, 0},
    {"reflectionoffset", &Caption::ReflectionOffset, 0},
    {"dividerrect", &Caption::DividerRect},
    {"inactivedividerrect", &Caption::InActiveDividerRect},
    {"dividertransparent", &Caption::DividerTransparent},
    {"dividertransparentcolor", &Caption::DividerTransparentColor, 0},
    {"quickbuttonalphamaskpictureindex", &Caption::QuickButtonAlphaMaskPictureIndex, -1},
};

// A stock button or animation without a restore hint of its own gets "Restore" where its hint and
// command name the window command that has a second look.
void applyRestoreHintRule(const String& Hint, TbsStdCommand Command, String& RestoreHint) {
  if (!RestoreHint.empty()) return;
  if ((Hint == "Maximize" && Command == cmMaximize) || (Hint == "Minimize" && Command == cmMinimize) ||
      ((Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp))
    RestoreHint = "Restore";
}

bool isEmptyRect(const TRect& R) {
  return R.Width() <= 0 || R.Height() <= 0;
}

TBitmap* pictureAt(TList* Pictures, Integer Index) {
  return static_cast<TBitmap*>(Pictures->Items(Index));
}

// Copies the top-left Width x Height of Source (what it has of them) to (0, 0) of Dest.
void copyPicturePart(TBitmap* Source, const TRect& SrcRect, TbsBitmap* Dest) {
  const Integer w = std::min(SrcRect.Width(), Source->Width() - SrcRect.Left);
  const Integer h = std::min(SrcRect.Height(), Source->Height() - SrcRect.Top);
  if (w <= 0 || h <= 0) return;
  BitBlt(Dest->DC(), 0, 0, w, h, Source->Canvas()->Handle(), SrcRect.Left, SrcRect.Top, SRCCOPY);
}

}  // namespace

void TbsDataSkinObject::LoadFromFile(TCustomIniFile* IniFile) {
  LoadSkinKeys(IniFile, IDName, this, SkinObjectKeys);
}

void TbsDataSkinObject::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  SaveSkinKeys(IniFile, IDName, this, SkinObjectKeys);
}

void TbsDataSkinObject::InitAlphaImages(TList*, const TbsDataSkinLayerFrame*) {}

void TbsDataUserObject::LoadFromFile(TCustomIniFile* IniFile) {
  SkinRect = ReadSkinRect(IniFile, IDName, "skinrect");
}

void TbsDataUserObject::SaveToFile(TCustomIniFile* IniFile) {
  IniFile->EraseSection(IDName);
  WriteSkinRect(IniFile, IDName, "skinrect", SkinRect);
}

void TbsDataSkinButton::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, SkinButtonKeys);
}

void TbsDataSkinButton::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, SkinButtonKeys);
}

bool TbsDataSkinButton::HasFullLayerFrame(const TbsDataSkinLayerFrame* LayerFrame) {
  return LayerFrame && LayerFrame->PictureIndex != -1 && LayerFrame->FullBorder;
}

void TbsDataSkinButton::InitAlphaImage(TList* ActivePictures, std::unique_ptr<TbsBitmap>& Image,
                                       Integer MaskIndex, const TRect& Rect) {
  Image.reset();
  if (isEmptyRect(Rect) || ActivePictureIndex == -1 || ActivePictureIndex >= ActivePictures->Count()) return;
  auto image = std::make_unique<TbsBitmap>();
  image->SetSize(Rect.Width(), Rect.Height());
  copyPicturePart(pictureAt(ActivePictures, ActivePictureIndex), Rect, image.get());
  if (MaskIndex == -1 || MaskIndex >= ActivePictures->Count()) {
    image->SetAlphaBlend(true);
    image->SetAlpha(255);
  } else {
    TBitmap* mask = pictureAt(ActivePictures, MaskIndex);
    TbsBitmap scratch;
    scratch.SetSize(Rect.Width(), Rect.Height());
    copyPicturePart(mask, TRect{0, 0, Rect.Width(), Rect.Height()}, &scratch);
    AlphaFromMaskPremultiplied(image.get(), &scratch);
  }
  Image = std::move(image);
}

void TbsDataSkinButton::InitAlphaImages(TList* ActivePictures, const TbsDataSkinLayerFrame* LayerFrame) {
  if (!HasFullLayerFrame(LayerFrame)) {
    FAlphaNormalImage.reset();
    FAlphaActiveImage.reset();
    FAlphaDownImage.reset();
    FAlphaInActiveImage.reset();
    return;
  }
  InitAlphaImage(ActivePictures, FAlphaNormalImage, AlphaMaskPictureIndex, SkinRect);
  InitAlphaImage(ActivePictures, FAlphaActiveImage, AlphaMaskActivePictureIndex, ActiveSkinRect);
  // The down look has no mask of its own.
  InitAlphaImage(ActivePictures, FAlphaDownImage, AlphaMaskActivePictureIndex, DownRect);
  InitAlphaImage(ActivePictures, FAlphaInActiveImage, AlphaMaskInActivePictureIndex, InActiveSkinRect);
}

void TbsDataSkinStdButton::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinButton::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, StdButtonKeys);
  applyRestoreHintRule(Hint, Command, RestoreHint);
}

void TbsDataSkinStdButton::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinButton::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, StdButtonKeys);
}

void TbsDataSkinStdButton::InitAlphaImages(TList* ActivePictures, const TbsDataSkinLayerFrame* LayerFrame) {
  TbsDataSkinButton::InitAlphaImages(ActivePictures, LayerFrame);
  if (!HasFullLayerFrame(LayerFrame)) {
    FAlphaRestoreNormalImage.reset();
    FAlphaRestoreActiveImage.reset();
    FAlphaRestoreDownImage.reset();
    FAlphaInActiveRestoreImage.reset();
    return;
  }
  InitAlphaImage(ActivePictures, FAlphaRestoreNormalImage, AlphaMaskPictureIndex, RestoreRect);
  InitAlphaImage(ActivePictures, FAlphaRestoreActiveImage, AlphaMaskActivePictureIndex, RestoreActiveRect);
  InitAlphaImage(ActivePictures, FAlphaRestoreDownImage, AlphaMaskActivePictureIndex, RestoreDownRect);
  InitAlphaImage(ActivePictures, FAlphaInActiveRestoreImage, AlphaMaskInActivePictureIndex,
                 RestoreInActiveRect);
}

void TbsDataSkinAnimate::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::LoadFromFile(IniFile);
  Morphing = false;
  LoadSkinKeys(IniFile, IDName, this, AnimateKeys);
  applyRestoreHintRule(Hint, Command, RestoreHint);
}

void TbsDataSkinAnimate::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, AnimateKeys);
}

void TbsDataSkinMenuItem::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, MenuItemKeys);
  if (isEmptyRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
  if (isEmptyRect(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
  if (isEmptyRect(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

void TbsDataSkinMenuItem::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, MenuItemKeys);
}

void TbsDataSkinMainMenuItem::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, MainMenuItemKeys);
}

void TbsDataSkinMainMenuItem::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, MainMenuItemKeys);
}

void TbsDataSkinCaption::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, CaptionKeys);
}

void TbsDataSkinCaption::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinObject::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, CaptionKeys);
}
