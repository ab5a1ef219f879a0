#include "skin/core/bsskinrecordslists.h"

#include "skin/core/bsskinrecordskeys.h"

namespace {

using ListBox = TbsDataSkinListBox;
const TbsSkinKey<ListBox> ListBoxKeys[] = {
    {"itemrect", &ListBox::SItemRect},
    {"activeitemrect", &ListBox::ActiveItemRect},
    {"focusitemrect", &ListBox::FocusItemRect},
    {"itemleftoffset", &ListBox::ItemLeftOffset, 0},
    {"itemrightoffset", &ListBox::ItemRightOffset, 0},
    {"itemtextrect", &ListBox::ItemTextRect},
    {"fontname", &ListBox::FontName, "Tahoma"},
    {"fontheight", &ListBox::FontHeight, 13},
    {"fontstyle", &ListBox::FontStyle},
    {"fontcolor", &ListBox::FontColor, 0},
    {"activefontcolor", &ListBox::ActiveFontColor, 0},
    {"focusfontcolor", &ListBox::FocusFontColor, 0},
    {"captionrect", &ListBox::CaptionRect},
    {"captionfontname", &ListBox::CaptionFontName, "Tahoma"},
    {"captionfontheight", &ListBox::CaptionFontHeight, 13},
    {"captionfontstyle", &ListBox::CaptionFontStyle},
    {"captionfontcolor", &ListBox::CaptionFontColor, 0},
    {"upbuttonrect", &ListBox::UpButtonRect},
    {"activeupbuttonrect", &ListBox::ActiveUpButtonRect},
    {"downupbuttonrect", &ListBox::DownUpButtonRect},
    {"downbuttonrect", &ListBox::DownButtonRect},
    {"activedownbuttonrect", &ListBox::ActiveDownButtonRect},
    {"downdownbuttonrect", &ListBox::DownDownButtonRect},
    {"checkbuttonrect", &ListBox::CheckButtonRect},
    {"activecheckbuttonrect", &ListBox::ActiveCheckButtonRect},
    {"downcheckbuttonrect", &ListBox::DownCheckButtonRect},
    {"vscrollbarname", &ListBox::VScrollBarName, "vscrollbar"},
    {"hscrollbarname", &ListBox::HScrollBarName, "hscrollbar"},
    {"bothhscrollbarname", &ListBox::BothScrollBarName, "bothhscrollbar"},
    {"showfocus", &ListBox::ShowFocus},
    {"disabledbuttonsrect", &ListBox::DisabledButtonsRect},
    {"buttonsarea", &ListBox::ButtonsArea},
};

using CheckListBox = TbsDataSkinCheckListBox;
const TbsSkinKey<CheckListBox> CheckListBoxKeys[] = {
    {"itemcheckrect", &CheckListBox::ItemCheckRect},
    {"checkimagerect", &CheckListBox::CheckImageRect},
    {"uncheckimagerect", &CheckListBox::UnCheckImageRect},
};

using ComboBox = TbsDataSkinComboBox;
const TbsSkinKey<ComboBox> ComboBoxKeys[] = {
    {"activeskinrect", &ComboBox::ActiveSkinRect},
    {"itemrect", &ComboBox::SItemRect},
    {"activeitemrect", &ComboBox::ActiveItemRect},
    {"focusitemrect", &ComboBox::FocusItemRect},
    {"itemleftoffset", &ComboBox::ItemLeftOffset, 0},
    {"itemrightoffset", &ComboBox::ItemRightOffset, 0},
    {"itemtextrect", &ComboBox::ItemTextRect},
    {"fontname", &ComboBox::FontName, "Tahoma"},
    {"fontheight", &ComboBox::FontHeight, 13},
    {"fontstyle", &ComboBox::FontStyle},
    {"fontcolor", &ComboBox::FontColor, 0},
    {"focusfontcolor", &ComboBox::FocusFontColor, 0},
    {"activefontcolor", &ComboBox::ActiveFontColor, 0},
    {"listboxname", &ComboBox::ListBoxName, ""},
    {"buttonrect", &ComboBox::ButtonRect},
    {"activebuttonrect", &ComboBox::ActiveButtonRect},
    {"downbuttonrect", &ComboBox::DownButtonRect},
    {"unenabledbuttonrect", &ComboBox::UnEnabledButtonRect},
    {"itemstretcheffect", &ComboBox::ItemStretchEffect},
    {"focusitemstretcheffect", &ComboBox::FocusItemStretchEffect},
    {"showfocus", &ComboBox::ShowFocus},
};

using EditControl = TbsDataSkinEditControl;
const TbsSkinKey<EditControl> EditControlKeys[] = {
    {"activeskinrect", &EditControl::ActiveSkinRect},
    {"fontname", &EditControl::FontName, "Tahoma"},
    {"fontheight", &EditControl::FontHeight, 13},
    {"fontstyle", &EditControl::FontStyle},
    {"fontcolor", &EditControl::FontColor, 0},
    {"disabledfontcolor", &EditControl::DisabledFontColor, 0},
    {"activefontcolor", &EditControl::ActiveFontColor, 0},
    {"buttonrect", &EditControl::ButtonRect},
    {"activebuttonrect", &EditControl::ActiveButtonRect},
    {"downbuttonrect", &EditControl::DownButtonRect},
    {"unenabledbuttonrect", &EditControl::UnEnabledButtonRect},
};

using MemoControl = TbsDataSkinMemoControl;
const TbsSkinKey<MemoControl> MemoControlKeys[] = {
    {"bgcolor", &MemoControl::BGColor, 0},
    {"activebgcolor", &MemoControl::ActiveBGColor, 0},
};

using SpinEditControl = TbsDataSkinSpinEditControl;
const TbsSkinKey<SpinEditControl> SpinEditControlKeys[] = {
    {"activeskinrect", &SpinEditControl::ActiveSkinRect},
    {"fontname", &SpinEditControl::FontName, "Tahoma"},
    {"fontheight", &SpinEditControl::FontHeight, 13},
    {"fontstyle", &SpinEditControl::FontStyle},
    {"fontcolor", &SpinEditControl::FontColor, 0},
    {"activefontcolor", &SpinEditControl::ActiveFontColor, 0},
    {"disabledfontcolor", &SpinEditControl::DisabledFontColor, 0},
    {"upbuttonrect", &SpinEditControl::UpButtonRect},
    {"activeupbuttonrect", &SpinEditControl::ActiveUpButtonRect},
    {"downupbuttonrect", &SpinEditControl::DownUpButtonRect},
    {"downbuttonrect", &SpinEditControl::DownButtonRect},
    {"activedownbuttonrect", &SpinEditControl::ActiveDownButtonRect},
    {"downdownbuttonrect", &SpinEditControl::DownDownButtonRect},
};

using UpDownControl = TbsDataSkinUpDownControl;
const TbsSkinKey<UpDownControl> UpDownControlKeys[] = {
    {"upbuttonrect", &UpDownControl::UpButtonRect},
    {"activeupbuttonrect", &UpDownControl::ActiveUpButtonRect},
    {"downupbuttonrect", &UpDownControl::DownUpButtonRect},
    {"downbuttonrect", &UpDownControl::DownButtonRect},
    {"activedownbuttonrect", &UpDownControl::ActiveDownButtonRect},
    {"downdownbuttonrect", &UpDownControl::DownDownButtonRect},
};

using ScrollBarControl = TbsDataSkinScrollBarControl;
const TbsSkinKey<ScrollBarControl> ScrollBarControlKeys[] = {
    {"trackarea", &ScrollBarControl::TrackArea},
    {"upbuttonrect", &ScrollBarControl::UpButtonRect},
    {"activeupbuttonrect", &ScrollBarControl::ActiveUpButtonRect},
    {"downupbuttonrect", &ScrollBarControl::DownUpButtonRect},
    {"downbuttonrect", &ScrollBarControl::DownButtonRect},
    {"activedownbuttonrect", &ScrollBarControl::ActiveDownButtonRect},
    {"downdownbuttonrect", &ScrollBarControl::DownDownButtonRect},
    {"thumbrect", &ScrollBarControl::ThumbRect},
    {"activethumbrect", &ScrollBarControl::ActiveThumbRect},
    {"downthumbrect", &ScrollBarControl::DownThumbRect},
    {"thumboffset1", &ScrollBarControl::ThumbOffset1, 0},
    {"thumboffset2", &ScrollBarControl::ThumbOffset2, 0},
    {"thumbtransparent", &ScrollBarControl::ThumbTransparent},
    {"thumbtransparentcolor", &ScrollBarControl::ThumbTransparentColor, 0},
    {"thumbstretcheffect", &ScrollBarControl::ThumbStretchEffect},
    {"thumbminsize", &ScrollBarControl::ThumbMinSize, 0},
    {"thumbminpagesize", &ScrollBarControl::ThumbMinPageSize, 0},
    {"glyphrect", &ScrollBarControl::GlyphRect},
    {"activeglyphrect", &ScrollBarControl::ActiveGlyphRect},
    {"downglyphrect", &ScrollBarControl::DownGlyphRect},
    {"glyphtransparent", &ScrollBarControl::GlyphTransparent},
    {"glyphtransparentcolor", &ScrollBarControl::GlyphTransparentColor, 0},
};

using ScrollBoxControl = TbsDataSkinScrollBoxControl;
const TbsSkinKey<ScrollBoxControl> ScrollBoxControlKeys[] = {
    {"bgpictureindex", &ScrollBoxControl::BGPictureIndex, -1},
};

using TreeView = TbsDataSkinTreeView;
const TbsSkinKey<TreeView> TreeViewKeys[] = {
    {"fontname", &TreeView::FontName, "Tahoma"},
    {"fontheight", &TreeView::FontHeight, 13},
    {"fontstyle", &TreeView::FontStyle},
    {"fontcolor", &TreeView::FontColor, 0},
    {"bgcolor", &TreeView::BGColor, 0},
    {"expandimagerect", &TreeView::ExpandImageRect},
    {"noexpandimagerect", &TreeView::NoExpandImageRect},
};

using ListView = TbsDataSkinListView;
const TbsSkinKey<ListView> ListViewKeys[] = {
    {"fontname", &ListView::FontName, "Tahoma"}, {"fontheight", &ListView::FontHeight, 13},
    {"fontstyle", &ListView::FontStyle},         {"fontcolor", &ListView::FontColor, 0},
    {"bgcolor", &ListView::BGColor, 0},
};

using RichEdit = TbsDataSkinRichEdit;
const TbsSkinKey<RichEdit> RichEditKeys[] = {
    {"fontname", &RichEdit::FontName, "Tahoma"}, {"fontheight", &RichEdit::FontHeight, 13},
    {"fontstyle", &RichEdit::FontStyle},         {"fontcolor", &RichEdit::FontColor, 0},
    {"bgcolor", &RichEdit::BGColor, 0},
};

}  // namespace

void TbsDataSkinListBox::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ListBoxKeys);
}

void TbsDataSkinListBox::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ListBoxKeys);
}

void TbsDataSkinCheckListBox::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinListBox::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, CheckListBoxKeys);
}

void TbsDataSkinCheckListBox::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinListBox::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, CheckListBoxKeys, {"checkimagerect", "uncheckimagerect"});
}

void TbsDataSkinComboBox::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ComboBoxKeys);
}

void TbsDataSkinComboBox::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ComboBoxKeys, {"listboxname", "unenabledbuttonrect"});
}

void TbsDataSkinEditControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, EditControlKeys);
}

void TbsDataSkinEditControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, EditControlKeys);
}

void TbsDataSkinMemoControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinEditControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, MemoControlKeys);
}

void TbsDataSkinMemoControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinEditControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, MemoControlKeys);
}

void TbsDataSkinSpinEditControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, SpinEditControlKeys);
}

void TbsDataSkinSpinEditControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, SpinEditControlKeys);
}

void TbsDataSkinUpDownControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, UpDownControlKeys);
  // An up-down element never has slice geometry, whatever its section says.
  LTPoint = TPoint();
  RTPoint = TPoint();
  LBPoint = TPoint();
  RBPoint = TPoint();
  ClRect = TRect();
}

void TbsDataSkinUpDownControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, UpDownControlKeys);
}

void TbsDataSkinScrollBarControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ScrollBarControlKeys);
}

void TbsDataSkinScrollBarControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ScrollBarControlKeys);
}

void TbsDataSkinScrollBoxControl::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ScrollBoxControlKeys);
}

void TbsDataSkinScrollBoxControl::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinCustomControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ScrollBoxControlKeys);
}

void TbsDataSkinTreeView::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, TreeViewKeys);
}

void TbsDataSkinTreeView::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, TreeViewKeys);
}

void TbsDataSkinListView::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, ListViewKeys);
}

void TbsDataSkinListView::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, ListViewKeys);
}

void TbsDataSkinRichEdit::LoadFromFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::LoadFromFile(IniFile);
  LoadSkinKeys(IniFile, IDName, this, RichEditKeys);
}

void TbsDataSkinRichEdit::SaveToFile(TCustomIniFile* IniFile) {
  TbsDataSkinControl::SaveToFile(IniFile);
  SaveSkinKeys(IniFile, IDName, this, RichEditKeys);
}
