// Control element records: the look of one kind of skinned control, as the skin description gives it
// in the element's own section. Records are passive data: created with the element's name, read from
// and written to the description, and copied from by the controls that find them by name.
//
// Every record class reads its bases' keys first and then its own, each key optional with a default;
// writing erases the section and writes every key, base keys first. A malformed point or rectangle
// raises EConvertError at its key: the fields read before keep their new values, the later ones their
// initial values.
#pragma once

#include "platform/rtl/inifiles.h"
#include "skin/core/bsskinvalues.h"

class TbsDataSkinControl : public TObject {
 public:
  // Every field starts at zero, empty or false, except where a class names an initial value.
  explicit TbsDataSkinControl(const String& AIDName) : IDName(AIDName) {}
  String ClassName() const override { return "TbsDataSkinControl"; }

  // Reads the section named IDName; every field the class knows is overwritten.
  virtual void LoadFromFile(TCustomIniFile* IniFile);
  // Erases the section named IDName and writes every key of the class.
  virtual void SaveToFile(TCustomIniFile* IniFile);

  // The element's name: what controls look the record up by, and the section of its keys.
  String IDName;
  Integer PictureIndex = -1;
  Integer MaskPictureIndex = -1;
  // The element's image in its picture; an empty rectangle means the skin gives no image.
  TRect SkinRect;
};

// Adds the slice geometry: corner points and client rectangle in coordinates of the element's image,
// and how the edge and client pieces are filled.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
 public:
  using TbsDataSkinControl::TbsDataSkinControl;
  String ClassName() const override { return "TbsDataSkinCustomControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TPoint LTPoint;
  TPoint RTPoint;
  TPoint LBPoint;
  TPoint RBPoint;
  TRect ClRect;
  bool StretchEffect = false;
  TbsStretchType StretchType = bsstFull;
  bool LeftStretch = false;
  bool TopStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
};
