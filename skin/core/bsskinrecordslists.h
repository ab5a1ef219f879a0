// Control element records of list and check list boxes, combo boxes, edits, memos and spin edits,
// up-down buttons, scroll bars, scroll boxes, tree views, list views and rich edits. Each comment names
// the type word of the class. Fields ending in Name hold the names of other elements of the skin.
#pragma once

#include "skin/core/bsskinrecordsbase.h"

// "listbox"
class TbsDataSkinListBox : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinListBox(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinListBox"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect SItemRect;
  TRect ActiveItemRect;
  TRect FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor FocusFontColor = 0;
  TRect CaptionRect;
  String CaptionFontName = "Tahoma";
  TFontStyles CaptionFontStyle;
  Integer CaptionFontHeight = 13;
  TColor CaptionFontColor = 0;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
  TRect CheckButtonRect;
  TRect ActiveCheckButtonRect;
  TRect DownCheckButtonRect;
  String HScrollBarName;
  String VScrollBarName;
  String BothScrollBarName;
  bool ShowFocus = false;
  TRect DisabledButtonsRect;
  TRect ButtonsArea;
};

// "checklistbox": a list box with check marks.
class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
 public:
  using TbsDataSkinListBox::TbsDataSkinListBox;
  String ClassName() const override { return "TbsDataSkinCheckListBox"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect UnCheckImageRect;
  TRect CheckImageRect;
  TRect ItemCheckRect;
};

// "combobox"; ListBoxName names the "listbox" element of its drop-down list.
class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinComboBox(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinComboBox"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect SItemRect;
  TRect ActiveItemRect;
  TRect FocusItemRect;
  Integer ItemLeftOffset = 0;
  Integer ItemRightOffset = 0;
  TRect ItemTextRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor FocusFontColor = 0;
  TColor ActiveFontColor = 0;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  TRect DownButtonRect;
  TRect UnEnabledButtonRect;
  bool ItemStretchEffect = false;
  bool FocusItemStretchEffect = false;
  TRect ActiveSkinRect;
  String ListBoxName;
  bool ShowFocus = false;
};

// "edit"
class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinEditControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinEditControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ActiveSkinRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor DisabledFontColor = 0;
  TColor ActiveFontColor = 0;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  TRect DownButtonRect;
  TRect UnEnabledButtonRect;
};

// "memo": an edit with background colours.
class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
 public:
  using TbsDataSkinEditControl::TbsDataSkinEditControl;
  String ClassName() const override { return "TbsDataSkinMemoControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TColor BGColor = 0;
  TColor ActiveBGColor = 0;
};

// "spinedit"
class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinSpinEditControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinSpinEditControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect ActiveSkinRect;
  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor ActiveFontColor = 0;
  TColor DisabledFontColor = 0;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
};

// "updown": reading drops any corner points and client rectangle, so it never has slice geometry.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
 public:
  using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
  String ClassName() const override { return "TbsDataSkinUpDownControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
};

// "scrollbar"
class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinScrollBarControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinScrollBarControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  TRect TrackArea;
  TRect UpButtonRect;
  TRect ActiveUpButtonRect;
  TRect DownUpButtonRect;
  TRect DownButtonRect;
  TRect ActiveDownButtonRect;
  TRect DownDownButtonRect;
  TRect ThumbRect;
  TRect ActiveThumbRect;
  TRect DownThumbRect;
  Integer ThumbOffset1 = 0;
  Integer ThumbOffset2 = 0;
  TRect GlyphRect;
  TRect ActiveGlyphRect;
  TRect DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0xFF00FF;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0xFF00FF;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0;
  Integer ThumbMinPageSize = 0;
};

// "scrollbox"
class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
 public:
  explicit TbsDataSkinScrollBoxControl(const String& AIDName) : TbsDataSkinCustomControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinScrollBoxControl"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  Integer BGPictureIndex = -1;
};

// "treeview"
class TbsDataSkinTreeView : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinTreeView(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinTreeView"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor BGColor = 0xFFFFFF;
  TRect ExpandImageRect;
  TRect NoExpandImageRect;
};

// "listview"
class TbsDataSkinListView : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinListView(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinListView"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor BGColor = 0xFFFFFF;
};

// "richedit": created with FontHeight 14, while an absent key reads 13.
class TbsDataSkinRichEdit : public TbsDataSkinControl {
 public:
  explicit TbsDataSkinRichEdit(const String& AIDName) : TbsDataSkinControl(AIDName) {}
  String ClassName() const override { return "TbsDataSkinRichEdit"; }
  void LoadFromFile(TCustomIniFile* IniFile) override;
  void SaveToFile(TCustomIniFile* IniFile) override;

  String FontName = "Tahoma";
  TFontStyles FontStyle;
  Integer FontHeight = 14;
  TColor FontColor = 0;
  TColor BGColor = 0xFFFFFF;
};
