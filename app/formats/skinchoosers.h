// The skinned combo boxes seen as the choosers of the format routines, and the positions of a
// window's eight choosers as the main window and the preset dialog hand them to each other.
#pragma once

#include "app/formats/choosers.h"

class TbsSkinOfficeComboBox;
class TbsSkinComboBox;
class TListItem;

// A skinned office combo box as the format chooser.
class TSkinFormatChooser : public IFormatChooser {
 public:
  explicit TSkinFormatChooser(TbsSkinOfficeComboBox* Box) : FBox(Box) {}
  void ClearItems() override;
  void AddItem(const String& Caption, Integer ImageIndex) override;
  void Refresh() override;
  void Repaint() override;
  Integer ItemCount() const override;
  String ItemCaption(Integer Index) const override;
  Integer ItemIndex() const override;
  void SetItemIndex(Integer Index) override;

 private:
  TbsSkinOfficeComboBox* FBox;
};

// A skinned combo box as a preset chooser.
class TSkinPresetChooser : public IPresetChooser {
 public:
  explicit TSkinPresetChooser(TbsSkinComboBox* Box) : FBox(Box) {}
  void ClearItems() override;
  void AddItem(const String& Text) override;
  Integer ItemIndex() const override;
  void SetItemIndex(Integer Index) override;
  String Text() const override;
  void SetEnabled(bool Value) override;

 private:
  TbsSkinComboBox* FBox;
};

// The positions of the category, format and six preset choosers (presets in TPresetSlot order).
struct TChooserPositions {
  Integer Category = -1;
  Integer Format = -1;
  std::array<Integer, PresetSlotCount> Presets{-1, -1, -1, -1, -1, -1};
  friend bool operator==(const TChooserPositions&, const TChooserPositions&) = default;
};

// The order in which the exchange sets the preset choosers.
inline constexpr TPresetSlot PresetExchangeOrder[PresetSlotCount] = {
    psFrameSize, psVideoBitrate, psFrameRate, psAspect, psAudioBitrate, psSampleRate};

TChooserPositions ReadChooserPositions(TbsSkinOfficeComboBox* Category, TbsSkinOfficeComboBox* Format,
                                       const TPresetChoosers& Presets);
// Category first, then format, then the presets in the exchange order; each write runs that chooser's
// own handlers.
void WriteChooserPositions(TbsSkinOfficeComboBox* Category, TbsSkinOfficeComboBox* Format,
                           const TPresetChoosers& Presets, const TChooserPositions& Positions);
// The positions a job row stores (its format position and preset codes); EConvertError when they do
// not read.
TChooserPositions JobRowChooserPositions(const TListItem* Row);

// The category chooser's fixed items: the 15 categories, each showing its family's picture.
void FillCategoryChooser(TbsSkinOfficeComboBox* Box);
