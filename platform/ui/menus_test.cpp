#include "platform/ui/menus.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/testkit/uitestkit.h"

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

TEST_F(TUiTest, MainMenuShortcutRunsTheItemAndTakesTheKey) {
  TForm* F = NewForm();
  auto* Edit = NewControl<TRecordingControl>(F, Bounds(10, 10, 50, 20));
  auto* Menu = new TMainMenu(F);
  auto* File = new TMenuItem(F);
  Menu->Items()->Add(File);
  auto* Save = new TMenuItem(F);
  Save->SetShortCut(TextToShortCut("Ctrl+S"));
  File->Add(Save);
  auto* Print = new TMenuItem(F);
  Print->SetShortCut(TextToShortCut("Ctrl+P"));
  Print->SetEnabled(false);
  File->Add(Print);
  F->SetMenu(Menu);
  std::vector<String> Log;
  File->OnClick = [&](TObject*) { Log.push_back("file"); };
  Save->OnClick = [&](TObject*) { Log.push_back("save"); };
  Print->OnClick = [&](TObject*) { Log.push_back("print"); };
  Edit->SetFocus();
  Edit->Messages.clear();

  wintest::KeyDown(VK_CONTROL);
  wintest::KeyPress('S');
  wintest::KeyPress('P');  // disabled: taken, not run
  wintest::KeyUp(VK_CONTROL);
  wintest::KeyPress('S');  // without Ctrl: an ordinary key
  EXPECT_EQ(Log, (std::vector<String>{"file", "save", "file"}));
  std::vector<WPARAM> Reached;
  for (auto& M : Edit->Messages)
    if (M.Msg == WM_KEYDOWN) Reached.push_back(M.WParam);
  EXPECT_EQ(Reached, (std::vector<WPARAM>{VK_CONTROL, 'S'}));

  // The form's OnShortCut comes before the menu.
  F->OnShortCut = [&](TWMKey& Key, bool& Handled) {
    Log.push_back("form " + std::to_string(Key.CharCode));
    Handled = true;
  };
  Log.clear();
  wintest::KeyDown(VK_CONTROL);
  wintest::KeyPress('S');
  wintest::KeyUp(VK_CONTROL);
  EXPECT_EQ(Log, (std::vector<String>{"form 17", "form 83"}));
}

TEST_F(TUiTest, ContextMenuPopsUpThroughTheHookAtTheCursor) {
  TForm* F = NewForm();
  auto* G = NewControl<TRecordingGraphic>(F, Bounds(10, 10, 60, 30));
  auto* Popup = new TPopupMenu(F);
  F->SetPopupMenu(Popup);  // found through the parent chain
  std::vector<String> Log;
  Popup->OnPopup = [&](TObject*) { Log.push_back("popup"); };
  SetPopupListHook([&](TPopupMenu* M, Integer X, Integer Y) {
    Log.push_back(Format("hook %d,%d", {X, Y}) + (M->PopupComponent() == F ? " form" : ""));
  });
  TPoint P = wintest::ScreenPoint(F->Handle(), 20, 20);
  wintest::Click(P, TInputButton::Right);
  SetPopupListHook(nullptr);
  EXPECT_EQ(Log, (std::vector<String>{"popup", Format("hook %d,%d", {P.X, P.Y}) + " form"}));
  EXPECT_EQ(Popup->PopupPoint(), P);

  // The control's own menu comes before its parent's.
  auto* Own = new TPopupMenu(F);
  G->SetPopupMenu(Own);
  TComponent* Shown = nullptr;
  SetPopupListHook(
      [&](TPopupMenu* M, Integer, Integer) { Shown = M == Own ? M->PopupComponent() : nullptr; });
  wintest::AdvanceTime(Clock(), 1000);
  wintest::Click(P, TInputButton::Right);
  SetPopupListHook(nullptr);
  EXPECT_EQ(Shown, G);

  delete Popup;
  EXPECT_EQ(F->PopupMenu(), nullptr);
}

}  // namespace
