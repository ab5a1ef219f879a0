// The filter combo box: a fixed-list skinned combo box that turns a filter text of description and
// mask pairs ("Pictures|*.bmp;*.png|All files|*.*") into a choice of descriptions, gives the mask of
// the chosen one and, with a linked file list, sets that list's mask on every change of choice.
#pragma once

#include <memory>

#include "platform/rtl/lists.h"
#include "skin/boxes/combos/bsskincombobox.h"

class TbsSkinFileListBox;

// The localisable default filter.
inline constexpr const char* SbsDefaultFilter = "All files (*.*)|*.*";

class TbsSkinFilterComboBox : public TbsSkinComboBox {
 public:
  explicit TbsSkinFilterComboBox(TComponent* AOwner);
  ~TbsSkinFilterComboBox() override;
  String ClassName() const override { return "TbsSkinFilterComboBox"; }

  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value);
  TbsSkinFileListBox* FileList() const { return FFileList; }
  void SetFileList(TbsSkinFileListBox* Value);
  // The chosen description's mask; with nothing chosen the last description is chosen first.
  String Mask() { return GetMask(); }
  String GetMask();
  // The masks, parallel to the items.
  TStrings* Masks() const { return MaskList.get(); }

  void Change() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  void Click() override;
  void BuildFilterLists();

 private:
  // Hides the base's type-ahead text: this one is the filter of the choices.
  String FFilter;
  TbsSkinFileListBox* FFileList = nullptr;
  std::unique_ptr<TStringList> MaskList;
};
