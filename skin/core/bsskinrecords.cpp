#include "skin/core/bsskinrecords.h"

namespace {

template <class C>
bool isA(const TObject* Record) {
  return dynamic_cast<const C*>(Record) != nullptr;
}

struct TControlWord {
  const char* Word;
  std::unique_ptr<TbsDataSkinControl> (*Create)(const String& AIDName);
  bool (*Is)(const TObject* Record);
};

template <class C>
constexpr TControlWord controlWord(const char* Word) {
  return {Word,
          [](const String& AIDName) -> std::unique_ptr<TbsDataSkinControl> {
            return std::make_unique<C>(AIDName);
          },
          &isA<C>};
}

// A subclass stands before its base, so the first class a record belongs to is its own.
const TControlWord ControlWords[] = {
    controlWord<TbsDataSkinPanelControl>("panel"),
    controlWord<TbsDataSkinExPanelControl>("expanel"),
    controlWord<TbsDataSkinMenuButtonControl>("menubutton"),
    controlWord<TbsDataSkinButtonControl>("button"),
    controlWord<TbsDataSkinCheckRadioControl>("checkradio"),
    controlWord<TbsDataSkinGaugeControl>("gauge"),
    controlWord<TbsDataSkinSplitterControl>("splitter"),
    controlWord<TbsDataSkinTrackBarControl>("trackbar"),
    controlWord<TbsDataSkinLabelControl>("label"),
    controlWord<TbsDataSkinStdLabelControl>("stdlabel"),
    controlWord<TbsDataSkinUpDownControl>("updown"),
    controlWord<TbsDataSkinGridControl>("grid"),
    controlWord<TbsDataSkinTabControl>("tab"),
    controlWord<TbsDataSkinMainMenuBar>("mainmenubar"),
    controlWord<TbsDataSkinControlBar>("controlbar"),
    controlWord<TbsDataSkinAppMenu>("appmenu"),
    controlWord<TbsDataSkinMemoControl>("memo"),
    controlWord<TbsDataSkinEditControl>("edit"),
    controlWord<TbsDataSkinCheckListBox>("checklistbox"),
    controlWord<TbsDataSkinListBox>("listbox"),
    controlWord<TbsDataSkinComboBox>("combobox"),
    controlWord<TbsDataSkinScrollBarControl>("scrollbar"),
    controlWord<TbsDataSkinSpinEditControl>("spinedit"),
    controlWord<TbsDataSkinScrollBoxControl>("scrollbox"),
    controlWord<TbsDataSkinTreeView>("treeview"),
    controlWord<TbsDataSkinBevel>("bevel"),
    controlWord<TbsDataSkinSlider>("slider"),
    controlWord<TbsDataSkinListView>("listview"),
    controlWord<TbsDataSkinRichEdit>("richedit"),
};

struct TObjectWord {
  const char* Word;
  std::unique_ptr<TbsDataSkinObject> (*Create)(const String& AIDName);
};

template <class C>
constexpr TObjectWord objectWord(const char* Word) {
  return {Word, [](const String& AIDName) -> std::unique_ptr<TbsDataSkinObject> {
            return std::make_unique<C>(AIDName);
          }};
}

const TObjectWord ObjectWords[] = {
    objectWord<TbsDataSkinMenuItem>("menuitem"),
    objectWord<TbsDataSkinMainMenuBarItem>("mainmenubaritem"),
    objectWord<TbsDataSkinStdButton>("stdbutton"),
    objectWord<TbsDataSkinMainMenuBarButton>("mainmenubarbutton"),
    objectWord<TbsDataSkinButton>("button"),
    objectWord<TbsDataSkinCaption>("caption"),
    objectWord<TbsDataSkinAnimate>("animate"),
    objectWord<TbsDataUserObject>("userobject"),
};

}  // namespace

const char* const SkinControlTypeWords[29] = {
    "panel",        "expanel",     "menubutton", "button",    "checkradio", "gauge",
    "splitter",     "trackbar",    "label",      "stdlabel",  "updown",     "grid",
    "tab",          "mainmenubar", "controlbar", "appmenu",   "memo",       "edit",
    "checklistbox", "listbox",     "combobox",   "scrollbar", "spinedit",   "scrollbox",
    "treeview",     "bevel",       "slider",     "listview",  "richedit"};

const char* const SkinObjectTypeWords[8] = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                                            "button",   "caption",         "animate",   "userobject"};

std::unique_ptr<TbsDataSkinControl> CreateSkinControlRecord(const String& TypeWord, const String& AIDName) {
  for (const auto& w : ControlWords)
    if (TypeWord == w.Word) return w.Create(AIDName);
  return nullptr;
}

String SkinControlTypeWord(const TbsDataSkinControl* Record) {
  for (const auto& w : ControlWords)
    if (w.Is(Record)) return w.Word;
  return String();
}

std::unique_ptr<TbsDataSkinObject> CreateSkinObjectRecord(const String& TypeWord, const String& AIDName) {
  for (const auto& w : ObjectWords)
    if (TypeWord == w.Word) return w.Create(AIDName);
  return nullptr;
}

// Tested from the most derived classes; the two item classes and the two button lines are apart.
String SkinObjectTypeWord(const TbsDataSkinObject* Record) {
  if (isA<TbsDataSkinMenuItem>(Record)) return "menuitem";
  if (isA<TbsDataSkinMainMenuBarItem>(Record)) return "mainmenubaritem";
  if (isA<TbsDataSkinMainMenuBarButton>(Record)) return "mainmenubarbutton";
  if (isA<TbsDataSkinStdButton>(Record)) return "stdbutton";
  if (isA<TbsDataSkinButton>(Record)) return "button";
  if (isA<TbsDataSkinCaption>(Record)) return "caption";
  if (isA<TbsDataUserObject>(Record)) return "userobject";
  if (isA<TbsDataSkinAnimate>(Record)) return "animate";
  return String();
}
