#include "platform/ui/menus/menuitem.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/menus/menu.h"

namespace {

struct TShortCutCase {
  const char* Text;
  TShortCut Value;
};

class ShortCutTextTest : public ::testing::TestWithParam<TShortCutCase> {};

TEST_P(ShortCutTextTest, TextAndValueMapBothWays) {
  EXPECT_EQ(TextToShortCut(GetParam().Text), GetParam().Value);
  EXPECT_EQ(ShortCutToText(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortCutTextTest,
                         ::testing::Values(TShortCutCase{"Ctrl+S", TShortCut('S' | scCtrl)},
                                           TShortCutCase{"Alt+F4", TShortCut(VK_F4 | scAlt)},
                                           TShortCutCase{"Ctrl+F4", TShortCut(VK_F4 | scCtrl)},
                                           TShortCutCase{"Shift+Del", TShortCut(VK_DELETE | scShift)},
                                           TShortCutCase{"Shift+Ctrl+Alt+Enter",
                                                         TShortCut(VK_RETURN | scShift | scCtrl | scAlt)},
                                           TShortCutCase{"F12", TShortCut(VK_F12)},
                                           TShortCutCase{"Ctrl+7", TShortCut('7' | scCtrl)},
                                           TShortCutCase{"PgDn", TShortCut(VK_NEXT)}, TShortCutCase{"", 0}));

TEST(ShortCutText, ParsingIgnoresCaseAndModifierOrderAndRejectsUnknownKeys) {
  EXPECT_EQ(TextToShortCut("ctrl+shift+s"), TShortCut('S' | scCtrl | scShift));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Banana"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+Ctrl+S"), 0);
}

TEST(Hotkeys, AmpersandMarksTheAcceleratorAndDoubleAmpersandIsLiteral) {
  EXPECT_EQ(GetHotkey("&File"), U'F');
  EXPECT_EQ(GetHotkey("Save && &Exit"), U'E');
  EXPECT_EQ(GetHotkey("A && B"), 0u);
  EXPECT_EQ(GetHotkey("打开(&O)"), U'O');
  EXPECT_TRUE(IsAccel(U'x', "E&xit"));
  EXPECT_FALSE(IsAccel(U'E', "E&xit"));
  EXPECT_EQ(StripHotkey("Save && &Exit"), "Save & Exit");
}

TEST(MenuItems, RadioItemsOfOneGroupExcludeEachOther) {
  TMainMenu Menu(nullptr);
  std::vector<TMenuItem*> Items;
  for (auto [Radio, Group] : {std::pair{true, 1}, {true, 1}, {true, 2}, {false, 1}}) {
    auto* I = new TMenuItem(nullptr);
    I->SetRadioItem(Radio);
    I->SetGroupIndex(Byte(Group));
    I->SetChecked(true);
    Menu.Items()->Add(I);
    Items.push_back(I);
  }
  // Adding the second group-1 radio item unchecked the first.
  auto checks = [&] {
    std::vector<bool> C;
    for (auto* I : Items) C.push_back(I->Checked());
    return C;
  };
  EXPECT_EQ(checks(), (std::vector<bool>{false, true, true, true}));
  Items[0]->SetChecked(true);
  EXPECT_EQ(checks(), (std::vector<bool>{true, false, true, true}));
  // Moving an item into a group where another is checked unchecks that one.
  Items[2]->SetGroupIndex(1);
  EXPECT_EQ(checks(), (std::vector<bool>{false, false, true, true}));
  // AutoCheck radio items check themselves when clicked.
  Items[1]->SetAutoCheck(true);
  Items[1]->Click();
  EXPECT_EQ(checks(), (std::vector<bool>{false, true, false, true}));
}

TEST(MenuItems, TreeOperationsKeepParentsAndFreeWhatTheyDelete) {
  TPopupMenu Menu(nullptr);
  auto* File = new TMenuItem(nullptr);
  File->SetCaption("&File");
  Menu.Items()->Add(File);
  auto* Open = new TMenuItem(nullptr);
  auto* Quit = new TMenuItem(nullptr);
  File->Add(Quit);
  File->Insert(0, Open);
  EXPECT_EQ(File->Count(), 2);
  EXPECT_EQ(File->Items(0), Open);
  EXPECT_EQ(Quit->MenuIndex(), 1);
  EXPECT_EQ(Quit->GetParentMenu(), &Menu);
  EXPECT_EQ(Menu.Items()->Find("file"), File);
  EXPECT_THROW(Menu.Items()->Add(Open), EInvalidOperation);
  Quit->SetMenuIndex(0);
  EXPECT_EQ(File->Items(0), Quit);
  File->Delete(0);
  EXPECT_EQ(File->Count(), 1);
  EXPECT_THROW(File->Items(1), EListError);
  // DispatchCommand finds an item by its command number.
  int Opened = 0;
  Open->OnClick = [&](TObject*) { ++Opened; };
  EXPECT_TRUE(Menu.DispatchCommand(Open->Command()));
  EXPECT_FALSE(Menu.DispatchCommand(Word(Open->Command() + 1000)));
  EXPECT_EQ(Opened, 1);
  File->Clear();
  EXPECT_EQ(File->Count(), 0);
}

}  // namespace
