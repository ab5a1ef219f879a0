// A skinned combo box seen as a preset chooser of the format routines.
#pragma once

#include "app/formats/choosers.h"

class TbsSkinComboBox;

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
