// A skinned office combo box seen as the format chooser of the format routines.
#pragma once

#include "app/formats/choosers.h"

class TbsSkinOfficeComboBox;

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
