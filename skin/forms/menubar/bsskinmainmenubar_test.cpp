#include "skin/forms/menubar/bsskinmainmenubar.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/win/testkit/testkit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/menubar/bsformmenus.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

class MenuBarTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    Form = NewForm(Rect(100, 100, 600, 400));
    Engine = new TbsSkinForm(Form);
    Menu = new TbsSkinMainMenu(Form);
    File = add(Menu->Items(), "&File", "FileItem");
    add(File, "&New", "NewItem");
    More = add(File, "&More", "MoreItem");
    add(More, "Inner", "InnerItem");
    Edit = add(Menu->Items(), "&Edit", "EditItem");
    add(Edit, "&Copy", "CopyItem");
    Help = add(Menu->Items(), "&Help", "HelpItem");
    Help->OnClick = [this](TObject* S) {
      ++HelpClicks;
      HelpSender = S;
    };
    Bar = NewControl<TbsSkinMainMenuBar>(Form, Rect(0, 0, 400, 22));
    Bar->SetSkinForm(Engine);
    Bar->SetMainMenu(Menu);
    Bar->Repaint();
    wintest::Pump();
  }
  void TearDown() override {
    // A closed level is freed after the call that closed it: let those go before the forms do.
    if (Engine != nullptr) Engine->SkinMenu()->Hide();
    Application->ProcessMessages();
    TSkinControlTest::TearDown();
  }
  TMenuItem* add(TMenuItem* Parent, const String& Caption, const String& Name) {
    auto* I = new TMenuItem(Form);
    I->SetName(Name);
    I->SetCaption(Caption);
    Parent->Add(I);
    return I;
  }
  TbsSkinMenu* SkinMenu() { return Engine->SkinMenu(); }
  TbsFormMenus* Menus() { return dynamic_cast<TbsFormMenus*>(Engine->MenuTracking()); }
  void Key(Word VK) {
    Form->SetFocus();
    wintest::KeyPress(VK);
  }
  // Index of the bar object that is highlighted or down; -1 for none.
  int Hot() {
    for (int i = 0; i < Bar->ObjectCount(); ++i)
      if (Bar->Objects(i)->Active || Bar->Objects(i)->FDown) return i;
    return -1;
  }
  // The menu item whose children the deepest open level shows.
  String OpenRootCaption() {
    if (!SkinMenu()->Visible() || SkinMenu()->PopupCount() == 0) return "";
    auto* W = SkinMenu()->PopupLevel(SkinMenu()->PopupCount() - 1);
    return W->ItemCount() > 0 ? W->Item(0)->MenuItem->Parent()->Caption() : "";
  }
  TPoint ItemCentre(int i) {
    const TRect& R = Bar->Item(i)->ObjectRect;
    return Bar->ClientToScreen(TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  }
  void Tick() { wintest::AdvanceTime(Clock(), 60); }
  void EnterKeyboardMode() { SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0); }

  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
  TbsSkinMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *More = nullptr, *Edit = nullptr, *Help = nullptr;
  TbsSkinMainMenuBar* Bar = nullptr;
  int HelpClicks = 0;
  TObject* HelpSender = nullptr;
};

}  // namespace

TEST_F(MenuBarTest, ItemsFollowTheVisibleTopLevelItemsSideBySide) {
  ASSERT_EQ(Bar->ObjectCount(), 3);
  EXPECT_EQ(Bar->Item(0)->MenuItem, File);
  EXPECT_EQ(Bar->Item(0)->ObjectRect.Left, 2);
  for (int i = 1; i < 3; ++i) EXPECT_EQ(Bar->Item(i)->ObjectRect.Left, Bar->Item(i - 1)->ObjectRect.Right);
  Edit->SetVisible(false);
  Bar->SetMainMenu(Menu);
  ASSERT_EQ(Bar->ObjectCount(), 2);
  EXPECT_EQ(Bar->Item(1)->MenuItem, Help);
  Bar->SetMainMenu(nullptr);
  EXPECT_EQ(Bar->ObjectCount(), 0);
}

TEST_F(MenuBarTest, KeyboardModeWalksTheItemsWithArrowsAndWraps) {
  EnterKeyboardMode();
  EXPECT_TRUE(Engine->Mode().InMainMenu);
  EXPECT_TRUE(Bar->MenuActive);
  EXPECT_TRUE(Menus()->InAppHook());
  EXPECT_EQ(Hot(), 0);
  struct {
    Word Key;
    int Expected;
  } Steps[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2}, {VK_LEFT, 1}};
  for (auto& S : Steps) {
    Key(S.Key);
    EXPECT_EQ(Hot(), S.Expected) << "after key " << S.Key;
  }
  EXPECT_FALSE(SkinMenu()->Visible()) << "walking the bar opens nothing";
  // Esc without an open popup leaves the mode and gives the keyboard back.
  Key(VK_ESCAPE);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
  EXPECT_FALSE(Bar->MenuActive);
  EXPECT_FALSE(Menus()->InAppHook());
  EXPECT_EQ(Hot(), -1);
}

TEST_F(MenuBarTest, DownOpensTheSubmenuEscClosesItThenTheMode) {
  EnterKeyboardMode();
  Key(VK_DOWN);
  ASSERT_TRUE(SkinMenu()->Visible());
  EXPECT_EQ(OpenRootCaption(), "&File");
  EXPECT_TRUE(Bar->Item(0)->FDown);
  EXPECT_TRUE(Engine->Mode().InMenu);
  // The submenu drops below its item.
  const TPoint BL =
      Bar->ClientToScreen(TPoint(Bar->Item(0)->ObjectRect.Left, Bar->Item(0)->ObjectRect.Bottom));
  EXPECT_EQ(SkinMenu()->PopupLevel(0)->Left(), BL.X);
  EXPECT_EQ(SkinMenu()->PopupLevel(0)->Top(), BL.Y);

  Key(VK_ESCAPE);
  EXPECT_FALSE(SkinMenu()->Visible());
  EXPECT_TRUE(Engine->Mode().InMainMenu) << "the bar keeps the keyboard";
  EXPECT_FALSE(Engine->Mode().InMenu);
  EXPECT_FALSE(Bar->Item(0)->FDown);
  EXPECT_TRUE(Bar->Item(0)->Active);
  Key(VK_ESCAPE);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
  EXPECT_FALSE(Menus()->InAppHook());
}

TEST_F(MenuBarTest, RightOnASubmenuEntryOpensItOnAPlainEntryMovesTheOpenMenuAlong) {
  EnterKeyboardMode();
  Key(VK_DOWN);
  ASSERT_EQ(OpenRootCaption(), "&File");
  Key(VK_DOWN);  // "&More", which has a submenu
  Key(VK_RIGHT);
  EXPECT_EQ(SkinMenu()->PopupCount(), 2);
  EXPECT_EQ(OpenRootCaption(), "&More");
  // Esc with two levels closes only the deepest.
  Key(VK_ESCAPE);
  EXPECT_EQ(SkinMenu()->PopupCount(), 1);
  Key(VK_UP);  // back on "&New", a plain entry
  Key(VK_RIGHT);
  EXPECT_EQ(Hot(), 1);
  EXPECT_TRUE(Bar->Item(1)->FDown);
  EXPECT_FALSE(Bar->Item(0)->FDown);
  EXPECT_EQ(OpenRootCaption(), "&Edit");
  // Left on the first level moves back.
  Key(VK_LEFT);
  EXPECT_EQ(OpenRootCaption(), "&File");
}

TEST_F(MenuBarTest, AltLetterOpensOrRunsTheItemWithThatAccelerator) {
  EXPECT_TRUE(Menus()->MainMenuBarAccel('E'));
  EXPECT_EQ(OpenRootCaption(), "&Edit");
  EXPECT_TRUE(Engine->Mode().InMainMenu);
  EXPECT_FALSE(Menus()->MainMenuBarAccel('Q'));
  SkinMenu()->Hide();
  Menus()->SkinMainMenuClose();

  // An item without subitems runs through its menu's command and leaves main-menu mode.
  EnterKeyboardMode();
  EXPECT_TRUE(Menus()->MainMenuBarAccel('H'));
  EXPECT_EQ(HelpClicks, 1);
  EXPECT_EQ(HelpSender, Help);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
  EXPECT_FALSE(Menus()->InAppHook());
}

TEST_F(MenuBarTest, EnterOnAPlainHighlightedItemRunsIt) {
  EnterKeyboardMode();
  Key(VK_LEFT);
  ASSERT_EQ(Hot(), 2);
  Key(VK_RETURN);
  EXPECT_EQ(HelpClicks, 1);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
}

TEST_F(MenuBarTest, TheWheelIsSwallowedWhileAMenuIsOpen) {
  int Wheels = 0;
  TWndMethod Old = Form->WindowProc;
  Form->WindowProc = [&, Old](TMessage& M) {
    if (M.Msg == WM_MOUSEWHEEL) ++Wheels;
    Old(M);
  };
  const TPoint In = Form->ClientToScreen(TPoint(200, 150));
  wintest::MouseWheel(120, In);
  const int Before = Wheels;
  ASSERT_GT(Before, 0) << "the wheel reaches the form while no menu is open";
  EnterKeyboardMode();
  Key(VK_DOWN);
  wintest::MouseWheel(120, In);
  EXPECT_EQ(Wheels, Before);
  EXPECT_TRUE(SkinMenu()->Visible());
  Form->WindowProc = Old;
}

TEST_F(MenuBarTest, MouseOpensASubmenuAndTheOpenMenuFollowsTheMouseAlongTheBar) {
  int Opened = 0;
  File->OnClick = [&](TObject* S) {
    EXPECT_EQ(S, Bar);
    ++Opened;
  };
  wintest::MouseMove(ItemCentre(0));
  Tick();
  EXPECT_EQ(Hot(), 0);
  EXPECT_FALSE(Bar->MenuActive);
  wintest::Click(ItemCentre(0));
  EXPECT_EQ(Opened, 1);
  EXPECT_TRUE(Bar->MenuActive);
  EXPECT_EQ(OpenRootCaption(), "&File");
  wintest::MouseMove(ItemCentre(1));
  Tick();
  EXPECT_EQ(OpenRootCaption(), "&Edit");
  EXPECT_TRUE(Bar->Item(1)->FDown);
  EXPECT_FALSE(Bar->Item(0)->FDown);
  // Off the bar in menu mode the highlight stays.
  wintest::MouseMove(Form->ClientToScreen(TPoint(450, 200)));
  Tick();
  EXPECT_EQ(Hot(), 1);
}

TEST_F(MenuBarTest, OutsideMenuModeTheHighlightGoesWithTheMouse) {
  wintest::MouseMove(ItemCentre(2));
  Tick();
  EXPECT_EQ(Hot(), 2);
  EXPECT_TRUE(Bar->Item(2)->FMouseIn);
  wintest::MouseMove(Form->ClientToScreen(TPoint(200, 200)));
  Tick();
  EXPECT_EQ(Hot(), -1);
}

TEST_F(MenuBarTest, ItemsThatDoNotFitAreHiddenAndComeBackWithTheirEnabledState) {
  Edit->SetEnabled(false);
  Bar->UpDateEnabledItems();
  // Room for the first item, the 5-pixel marker and the right margin only.
  Bar->SetAlign(alNone);
  Bar->SetWidth(Bar->Item(0)->ObjectRect.Right + 5 + 2);
  Bar->Repaint();
  EXPECT_TRUE(Bar->Scroll);
  EXPECT_TRUE(Bar->Item(0)->Visible);
  for (int i = 1; i < 3; ++i) {
    EXPECT_FALSE(Bar->Item(i)->Visible) << i;
    EXPECT_FALSE(Bar->Item(i)->Enabled) << i;
  }
  // A press on the marker lists the hidden items.
  const TRect M = Bar->GetMarkerRect();
  wintest::Click(Bar->ClientToScreen(TPoint(M.Left + 2, M.Top + 3)));
  ASSERT_TRUE(SkinMenu()->Visible());
  auto* W = SkinMenu()->PopupLevel(0);
  ASSERT_EQ(W->ItemCount(), 2);
  EXPECT_EQ(W->Item(0)->MenuItem, Edit);
  EXPECT_EQ(W->Item(1)->MenuItem, Help);
  SkinMenu()->Hide();

  Bar->SetWidth(400);
  Bar->Repaint();
  EXPECT_FALSE(Bar->Scroll);
  EXPECT_TRUE(Bar->Item(1)->Visible);
  EXPECT_FALSE(Bar->Item(1)->Enabled) << "Edit was disabled before it was hidden";
  EXPECT_TRUE(Bar->Item(2)->Enabled);
}

TEST_F(MenuBarTest, AMergedMenuReplacesTheGroupsItSharesAndScrollMenuGoesOff) {
  File->SetGroupIndex(0);
  Edit->SetGroupIndex(1);
  Help->SetGroupIndex(9);
  auto* Child = new TMainMenu(Form);
  TMenuItem* Window = add(Child->Items(), "&Window", "WindowItem");
  Window->SetGroupIndex(5);
  TMenuItem* ChildEdit = add(Child->Items(), "&Edit2", "ChildEditItem");
  ChildEdit->SetGroupIndex(1);
  Bar->Merge(Child);
  std::vector<TMenuItem*> Shown;
  for (int i = 0; i < Bar->ObjectCount(); ++i) Shown.push_back(Bar->Item(i)->MenuItem);
  EXPECT_EQ(Shown, (std::vector<TMenuItem*>{File, ChildEdit, Window, Help}));
  EXPECT_TRUE(Bar->ChildMenuIn);
  EXPECT_FALSE(Bar->ScrollMenu());
  Bar->UnMerge();
  EXPECT_EQ(Bar->ObjectCount(), 3);
  EXPECT_FALSE(Bar->ScrollMenu()) << "stays off";
}

TEST_F(MenuBarTest, DefaultLookShowsHotAndDownItemsInTheirColours) {
  auto centre = [&](int i) {
    Bar->Repaint();
    const TRect& R = Bar->Item(i)->ObjectRect;
    return PixelOf(Bar, R.Left + 2, R.Top + 2);
  };
  EXPECT_EQ(centre(0), COLORREF(ColorToRGB(clBtnFace)));
  Bar->Item(0)->MouseEnter();
  EXPECT_EQ(centre(0), RGB(193, 212, 243));
  Bar->Item(0)->MouseDown(0, 0, mbLeft);
  EXPECT_EQ(centre(0), RGB(162, 188, 228));
  EXPECT_EQ(PixelOf(Bar, Bar->Item(0)->ObjectRect.Left, Bar->Item(0)->ObjectRect.Top), RGB(59, 107, 183));
}

TEST_F(MenuBarTest, SkinnedBarTakesItsElementsHeightAndItemLooks) {
  Engine->SetSkinData(Skin.get());
  Bar->SetSkinData(Skin.get());
  ASSERT_TRUE(Bar->FSkinSupport);
  EXPECT_EQ(Bar->Height(), RectHeight(Bar->SkinRect));
  ASSERT_EQ(Bar->ObjectCount(), 3);
  EXPECT_TRUE(Bar->Item(0)->FSkinSupport);
  Bar->Repaint();
  const TRect R0 = Bar->Item(0)->ObjectRect;
  EXPECT_EQ(R0.Left, Bar->ItemsRect.Left);
  // The item element is the third object of the generated skin: its cells are coloured as element 60.
  auto itemSlice = [](int State) { return COLORREF(GeneratedSkinSliceColor(60, State, 0)); };
  EXPECT_EQ(PixelOf(Bar, R0.Left + 1, R0.Top + 1), itemSlice(0));
  Bar->Item(0)->Morphing = false;
  Bar->Item(0)->MouseEnter();
  EXPECT_EQ(PixelOf(Bar, R0.Left + 1, R0.Top + 1), itemSlice(1));
  Bar->Item(0)->MouseDown(0, 0, mbLeft);
  EXPECT_EQ(PixelOf(Bar, R0.Left + 1, R0.Top + 1), itemSlice(2));
  // The bar's own element behind the items: its left corner slice.
  EXPECT_EQ(PixelOf(Bar, 1, 1), SliceColor("mainmenubar", 0, 0));
}

TEST_F(MenuBarTest, RealKeysF10AndAltLetterDriveTheBar) {
  Form->SetFocus();
  wintest::KeyPress(VK_F10);
  EXPECT_TRUE(Engine->Mode().InMainMenu);
  EXPECT_EQ(Hot(), 0);
  wintest::KeyPress(VK_F10);
  EXPECT_FALSE(Engine->Mode().InMainMenu) << "F10 again leaves the mode";
  EXPECT_EQ(Hot(), -1);

  // Alt+E without the mode: the bar opens Edit (the engine has no main menu of its own).
  ASSERT_EQ(Engine->MainMenu(), nullptr);
  wintest::KeyDown(VK_MENU);
  wintest::KeyPress('E');
  wintest::KeyUp(VK_MENU);
  EXPECT_EQ(OpenRootCaption(), "&Edit");
  EXPECT_TRUE(Engine->Mode().InMainMenu);
  // Esc closes the submenu, a second Esc the mode.
  wintest::KeyPress(VK_ESCAPE);
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(Engine->Mode().InMainMenu);
  EXPECT_FALSE(Menus()->InAppHook());
}

TEST_F(MenuBarTest, AMaximizedChildsButtonsSitAtTheEndsAndGoWhenNoChildIsMaximized) {
  Bar->MDIChildMaximize();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  ASSERT_EQ(Bar->ObjectCount(), 7);
  const TbsStdCommand Order[] = {cmSysMenu, cmClose, cmMaximize, cmMinimize};
  for (int i = 0; i < 4; ++i) {
    auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(Bar->Objects(i));
    ASSERT_NE(B, nullptr) << i;
    EXPECT_EQ(B->Command, Order[i]) << i;
    EXPECT_FALSE(B->FSkinSupport);
  }
  Bar->Repaint();
  // Default look: squares as high as the items area; the items start after the system-menu button.
  const Integer H = Bar->Height() - 4;
  EXPECT_EQ(Bar->Objects(0)->ObjectRect, Rect(2, 2, 2 + H, 2 + H));
  EXPECT_EQ(Bar->Objects(1)->ObjectRect, Rect(Bar->Width() - 2 - H, 2, Bar->Width() - 2, 2 + H));
  EXPECT_EQ(Bar->Objects(2)->ObjectRect.Right, Bar->Width() - 2 - H - 2);
  EXPECT_EQ(Bar->Item(4)->ObjectRect.Left, 2 + H + 2);
  // Rebuilding keeps them; the close button draws its cross.
  Bar->UpDateItems();
  EXPECT_EQ(Bar->ButtonsCount, 4);
  Bar->Repaint();
  const TRect C = Bar->Objects(1)->ObjectRect;
  int Ink = 0;
  for (Integer y = C.Top; y < C.Bottom; ++y)
    for (Integer x = C.Left; x < C.Right; ++x) Ink += PixelOf(Bar, x, y) == COLORREF(ColorToRGB(clBtnText));
  EXPECT_GT(Ink, 6);

  // Held down, a button keeps every other object from lighting up.
  const TPoint Close = Bar->ClientToScreen(TPoint((C.Left + C.Right) / 2, (C.Top + C.Bottom) / 2));
  wintest::MouseMove(Close);
  Tick();
  wintest::MouseDown(Close);
  EXPECT_TRUE(Bar->Objects(1)->FDown);
  EXPECT_EQ(PixelOf(Bar, C.Left + 2, C.Top + 2), RGB(162, 188, 228));
  wintest::MouseMove(ItemCentre(4));
  Tick();
  EXPECT_EQ(Hot(), 1) << "only the held button, down but no longer lit";
  EXPECT_FALSE(Bar->Objects(1)->Active);
  EXPECT_FALSE(Bar->Item(4)->Active);
  wintest::MouseUp(ItemCentre(4));
  EXPECT_FALSE(Bar->Objects(1)->FDown);

  Bar->MDIChildRestore();
  EXPECT_EQ(Bar->ButtonsCount, 0);
  EXPECT_EQ(Bar->ObjectCount(), 3);
  EXPECT_EQ(Bar->Item(0)->ObjectRect.Left, 2);
}

TEST_F(MenuBarTest, SkinnedChildButtonsTakeTheirObjectsAndAMissingOneFallsBackToCloseInTheDefaultLook) {
  auto* D = dynamic_cast<TbsDataSkinMainMenuBar*>(Skin->Ctrls(Skin->GetControlIndex("mainmenubar")));
  ASSERT_NE(D, nullptr);
  D->MinButton = "nosuchbutton";
  Bar->SetSkinData(Skin.get());
  Bar->MDIChildMaximize();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  struct {
    int Index;
    const char* Name;
    TbsStdCommand Command;
    bool Skinned;
  } Cases[] = {{0, "mainmenubarsysmenubutton", cmSysMenu, true},
               {1, "mainmenubarclosebutton", cmClose, true},
               {2, "mainmenubarmaxbutton", cmMaximize, true},
               {3, "nosuchbutton", cmClose, false}};
  for (auto& C : Cases) {
    auto* B = dynamic_cast<TbsSkinMainMenuBarButton*>(Bar->Objects(C.Index));
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->IDName, C.Name);
    EXPECT_EQ(B->Command, C.Command) << C.Name;
    EXPECT_EQ(B->FSkinSupport, C.Skinned) << C.Name;
  }
  Bar->CheckChildButtons({TbsBorderIcon::biMaximize});
  EXPECT_FALSE(Bar->Objects(0)->Enabled) << "no system menu icon";
  EXPECT_TRUE(Bar->Objects(1)->Enabled);
  EXPECT_TRUE(Bar->Objects(2)->Enabled);
}

TEST_F(MenuBarTest, FreeingTheSkinLeavesNoObjectOnItsPictures) {
  auto Own = std::make_unique<TbsSkinData>(nullptr);
  BuildGeneratedSkin(Own.get());
  Bar->SetSkinData(Own.get());
  ASSERT_TRUE(Bar->Item(0)->FSkinSupport);
  Bar->Item(0)->MouseDown(0, 0, mbLeft);  // the item is down with its submenu open
  Own.reset();
  ASSERT_EQ(Bar->ObjectCount(), 3);
  EXPECT_FALSE(Bar->Item(0)->FSkinSupport);
  EXPECT_EQ(Bar->Item(0)->Picture, nullptr);
  // Closing the menu redraws the bar in the default look.
  SkinMenu()->Hide();
  Bar->Repaint();
  EXPECT_EQ(PixelOf(Bar, 1, 1), COLORREF(ColorToRGB(clBtnFace)));
}

TEST_F(MenuBarTest, ToolBarModeDrawsAToolPanelAndToolButtonItems) {
  Bar->SetToolBarMode(true);
  Bar->SetUseSkinSize(false);
  Bar->SetSkinData(Skin.get());
  ASSERT_TRUE(Bar->FSkinSupport);
  Bar->Repaint();
  const TRect R0 = Bar->Item(0)->ObjectRect;
  EXPECT_EQ(PixelOf(Bar, 1, 1), SliceColor("resizetoolpanel", 0, 0));
  struct {
    const char* What;
    std::function<void()> Act;
    int State;
  } Steps[] = {
      {"normal", [] {}, 0},
      {"hot", [&] { Bar->Item(0)->MouseEnter(); }, 1},
      {"down", [&] { Bar->Item(0)->MouseDown(0, 0, mbLeft); }, 2},
  };
  for (auto& S : Steps) {
    Bar->Item(0)->Morphing = false;
    S.Act();
    Bar->Repaint();
    EXPECT_EQ(PixelOf(Bar, R0.Left + 1, R0.Top + 1), SliceColor("resizetoolbutton", S.State, 0)) << S.What;
  }
  SkinMenu()->Hide();
  // Transparent normal items show the panel behind them.
  Bar->SetToolBarModeItemTransparent(true);
  Bar->Repaint();
  EXPECT_EQ(PixelOf(Bar, R0.Left + 1, R0.Top + 1), SliceColor("resizetoolpanel", 0, 1));
}

TEST_F(MenuBarTest, TheChildMenuOnTheBarAnswersItsShortcutsAfterTheFormsOwn) {
  auto* Child = new TMainMenu(Form);
  TMenuItem* ChildFile = add(Child->Items(), "&Tools", "ToolsItem");
  TMenuItem* Convert = add(ChildFile, "&Convert", "ConvertItem");
  Convert->SetShortCut(ShortCut('K', TShiftState{ssCtrl}));
  Integer Converts = 0;
  Convert->OnClick = [&](TObject*) { ++Converts; };
  auto press = [&] {
    wintest::KeyDown(VK_CONTROL);
    TWMKey Msg{WM_KEYDOWN, 'K', 0, 0};
    bool Handled = false;
    Engine->FormShortCut(Msg, Handled);
    wintest::KeyUp(VK_CONTROL);
    return Handled;
  };
  EXPECT_FALSE(press());  // not on the bar: nobody answers
  Bar->Merge(Child);
  EXPECT_TRUE(press());
  EXPECT_EQ(Converts, 1);
  Bar->UnMerge();
  EXPECT_FALSE(press());
  EXPECT_EQ(Converts, 1);
}
