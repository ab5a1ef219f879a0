#include "skin/forms/menubar/bsformmenus.h"

#include <gtest/gtest.h>

#include "platform/win/testkit/testkit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/frame/bsskinobjects.h"
#include "skin/forms/testkit/skinformtestaccess.h"
#include "skin/menus/bsskinpopupwindow.h"

namespace {

class FormMenusTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    Form = NewForm(Rect(100, 100, 500, 400));
    Engine = new TbsSkinForm(Form);
    wintest::Pump();
  }
  void TearDown() override {
    // A closed level is freed after the call that closed it: let those go before the forms do.
    if (Engine != nullptr) Engine->SkinMenu()->Hide();
    Application->ProcessMessages();
    TSkinControlTest::TearDown();
  }
  TbsFormMenus* Menus() { return dynamic_cast<TbsFormMenus*>(Engine->MenuTracking()); }
  // Names of the items (a separator shows as "-"), and the close item's shortcut text.
  static std::vector<String> Names(TMenuItem* Root) {
    std::vector<String> R;
    for (Integer i = 0; i < Root->Count(); ++i)
      R.push_back(Root->Items(i)->IsLine() ? String("-") : Root->Items(i)->Name());
    return R;
  }
  static TMenuItem* Named(TMenuItem* Root, const String& Name) {
    for (Integer i = 0; i < Root->Count(); ++i)
      if (Root->Items(i)->Name() == Name) return Root->Items(i);
    return nullptr;
  }

  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
};

// A tray icon component as the form sees it, recording what it is told.
class TFakeTrayIcon : public IbsFormTrayIcon {
 public:
  void SetMinimizeToTray(bool Value) override { MinimizeToTray = Value; }
  void ShowMainForm() override { ++Shown; }
  void SetIconVisible(bool Value) override { IconVisible = Value; }
  TPopupMenu* PopupMenu() const override { return Menu; }
  void SetPopupMenu(TPopupMenu* Value) override { Menu = Value; }
  bool HasOnDblClick() const override { return bool(DblClick); }
  void SetOnDblClick(TNotifyEvent Value) override { DblClick = std::move(Value); }

  bool MinimizeToTray = true;
  bool IconVisible = true;
  int Shown = 0;
  TPopupMenu* Menu = nullptr;
  TNotifyEvent DblClick;
};

}  // namespace

TEST_F(FormMenusTest, TheOwnSystemMenuHoldsTheItemsOfTheStateAndIcons) {
  const std::vector<String> AllIcons = {"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "-", "BSF_CLOSE"};
  struct {
    const char* What;
    TbsBorderIcons Icons;
    TWindowState State;
    bool RolledUp;
    std::vector<String> Expected;
  } Cases[] = {
      {"minimize only", {TbsBorderIcon::biMinimize}, wsNormal, false, {"BSF_MINITEM", "-", "BSF_CLOSE"}},
      {"normal, default icons",
       {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
        TbsBorderIcon::biRollUp},
       wsNormal,
       false,
       AllIcons},
      {"maximized, all icons",
       {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
        TbsBorderIcon::biRollUp, TbsBorderIcon::biMinimizeToTray},
       wsMaximized,
       false,
       {"BSF_MINITEM", "BSF_RESTORE", "BSF_ROLLUP", "BSF_MINTOTRAY", "-", "BSF_CLOSE"}},
      {"rolled up",
       {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
        TbsBorderIcon::biRollUp},
       wsNormal,
       true,
       {"BSF_MINITEM", "BSF_MAXITEM", "BSF_RESTORE", "-", "BSF_CLOSE"}},
      {"no icons", {}, wsNormal, false, {"BSF_CLOSE"}},
  };
  for (auto& C : Cases) {
    Engine->SetBorderIcons(C.Icons);
    TbsSkinFormTestAccess::Mode(Engine).WindowState = C.State;
    TbsSkinFormTestAccess::Mode(Engine).RollUpState = C.RolledUp;
    TMenuItem* Root = Engine->GetSystemMenuItems();
    EXPECT_EQ(Names(Root), C.Expected) << C.What;
    EXPECT_EQ(ShortCutToText(Named(Root, "BSF_CLOSE")->ShortCut()), "Alt+F4") << C.What;
  }
  TbsSkinFormTestAccess::Mode(Engine).RollUpState = false;
  // Built-in captions without a skin string table.
  Engine->SetBorderIcons({TbsBorderIcon::biMinimize});
  TbsSkinFormTestAccess::Mode(Engine).WindowState = wsMaximized;
  TMenuItem* Root = Engine->GetSystemMenuItems();
  ASSERT_EQ(Names(Root), (std::vector<String>{"BSF_MINITEM", "BSF_RESTORE", "-", "BSF_CLOSE"}));
  EXPECT_EQ(Named(Root, "BSF_MINITEM")->Caption(), "Mi&nimize");
  EXPECT_EQ(Named(Root, "BSF_RESTORE")->Caption(), "&Restore");
  EXPECT_EQ(Named(Root, "BSF_CLOSE")->Caption(), "&Close");
}

TEST_F(FormMenusTest, AMaximizedMDIChildHasNoRollUpAndCloseIsCtrlF4) {
  Form->SetFormStyle(fsMDIChild);
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                          TbsBorderIcon::biRollUp});
  TbsSkinFormTestAccess::Mode(Engine).WindowState = wsMaximized;
  TMenuItem* Root = Engine->GetSystemMenuItems();
  EXPECT_EQ(Names(Root), (std::vector<String>{"BSF_MINITEM", "BSF_RESTORE", "-", "BSF_CLOSE"}));
  EXPECT_EQ(ShortCutToText(Named(Root, "BSF_CLOSE")->ShortCut()), "Ctrl+F4");
}

TEST_F(FormMenusTest, AUserSystemMenuGetsTheStandardItemsOnceAndOnlyWhenAskedFor) {
  auto* User = new TPopupMenu(Form);
  for (const char* N : {"A", "B"}) {
    auto* I = new TMenuItem(Form);
    I->SetName(N);
    I->SetCaption(N);
    User->Items()->Add(I);
  }
  Engine->SetSystemMenu(User);
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                          TbsBorderIcon::biRollUp, TbsBorderIcon::biMinimizeToTray});
  const std::vector<String> Expected = {"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "BSF_MINTOTRAY",
                                        "A",           "B",           "BSF_CLOSE"};
  EXPECT_EQ(Names(Engine->GetSystemMenuItems()), Expected);
  EXPECT_EQ(Names(Engine->GetSystemMenuItems()), Expected) << "shown twice: nothing doubled";
  EXPECT_EQ(Engine->GetSystemMenuItems(), User->Items());

  auto* Plain = new TPopupMenu(Form);
  auto* X = new TMenuItem(Form);
  X->SetCaption("X");
  Plain->Items()->Add(X);
  Engine->SetSystemMenu(Plain);
  Engine->SetUseDefaultSysMenu(false);
  EXPECT_EQ(Engine->GetSystemMenuItems()->Count(), 1);
}

TEST_F(FormMenusTest, SystemMenuCommandsChangeTheWindowState) {
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                          TbsBorderIcon::biRollUp});
  Named(Engine->GetSystemMenuItems(), "BSF_MAXITEM")->Click();
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
  Named(Engine->GetSystemMenuItems(), "BSF_RESTORE")->Click();
  EXPECT_EQ(Engine->WindowState(), wsNormal);
  Named(Engine->GetSystemMenuItems(), "BSF_ROLLUP")->Click();
  EXPECT_TRUE(Engine->RollUpState());
  // Restore on a rolled-up normal form rolls it down.
  Named(Engine->GetSystemMenuItems(), "BSF_RESTORE")->Click();
  EXPECT_FALSE(Engine->RollUpState());
  EXPECT_EQ(Engine->WindowState(), wsNormal);
  int Minimized = 0;
  Engine->OnMinimize = [&](TObject*) { ++Minimized; };
  Named(Engine->GetSystemMenuItems(), "BSF_MINITEM")->Click();
  EXPECT_EQ(Minimized, 1);
}

TEST_F(FormMenusTest, TheCloseItemClosesTheForm) {
  bool Closed = false;
  Form->OnClose = [&](TObject*, TCloseAction& A) {
    Closed = true;
    A = caHide;
  };
  Named(Engine->GetSystemMenuItems(), "BSF_CLOSE")->Click();
  EXPECT_TRUE(Closed);
}

TEST_F(FormMenusTest, RightClickOnTheCaptionOpensTheSystemMenuThereAndAltSpaceBelowTheButton) {
  Engine->SetSkinData(Skin.get());
  wintest::Pump();
  const TPoint P(Form->Left() + 60, Form->Top() + 8);
  wintest::SetCursorPosition(P);
  SendMessage(Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(P.X, P.Y));
  TbsSkinMenu* SM = Engine->SkinMenu();
  ASSERT_TRUE(SM->Visible());
  EXPECT_EQ(SM->PopupLevel(0)->Left(), P.X);
  EXPECT_EQ(SM->PopupLevel(0)->Top(), P.Y);
  EXPECT_TRUE(Engine->Mode().InMenu);
  EXPECT_TRUE(Menus()->InAppHook());
  // Esc closes it and gives the keyboard back.
  Form->SetFocus();
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(SM->Visible());
  EXPECT_FALSE(Engine->Mode().InMenu);
  EXPECT_FALSE(Menus()->InAppHook());

  // Alt+Space: below the system-menu caption button.
  Integer Sys = -1;
  for (Integer i = 0; i < Engine->ObjectCount(); ++i)
    if (Engine->Objects(i)->IDName == "sysmenubutton") Sys = i;
  ASSERT_NE(Sys, -1);
  Menus()->PopupSystemMenuAtButton();
  ASSERT_TRUE(SM->Visible());
  const TRect& B = Engine->Objects(Sys)->ObjectRect;
  EXPECT_EQ(SM->PopupLevel(0)->Left(), Form->Left() + B.Left);
  EXPECT_EQ(SM->PopupLevel(0)->Top(), Form->Top() + B.Bottom);
}

TEST_F(FormMenusTest, ASecondApplicationPopupClosesTheFirst) {
  auto make = [&](const char* Caption) {
    auto* P = new TPopupMenu(Form);
    auto* I = new TMenuItem(Form);
    I->SetCaption(Caption);
    P->Items()->Add(I);
    return P;
  };
  TPopupMenu* First = make("one");
  TPopupMenu* Second = make("two");
  int Closes = 0, Popups = 0;
  Engine->OnSkinMenuClose = [&](TObject*) { ++Closes; };
  Second->OnPopup = [&](TObject* S) {
    EXPECT_EQ(S, Engine);
    ++Popups;
  };
  Menus()->DoPopupMenu(First, 200, 200);
  ASSERT_TRUE(Engine->SkinMenu()->Shows(First->Items()));
  Menus()->DoPopupMenu(Second, 220, 220);
  EXPECT_EQ(Closes, 1);
  EXPECT_EQ(Popups, 1);
  EXPECT_TRUE(Engine->SkinMenu()->Shows(Second->Items()));
  EXPECT_EQ(Engine->SkinMenu()->PopupCount(), 1);
  Engine->OnSkinMenuClose = nullptr;  // the counter goes out of scope before the menu closes
}

TEST_F(FormMenusTest, MinimizeToTrayAndBackThroughTheTrayIcon) {
  // Without a tray icon nothing happens.
  int ToTray = 0, FromTray = 0;
  Engine->OnMinimizeToTray = [&](TObject*) { ++ToTray; };
  Engine->OnRestoreFromTray = [&](TObject*) { ++FromTray; };
  Engine->MinimizeToTray();
  EXPECT_EQ(ToTray, 0);

  TFakeTrayIcon Tray;
  Menus()->SetTrayIcon(&Tray);
  EXPECT_FALSE(Tray.IconVisible);
  EXPECT_FALSE(Tray.MinimizeToTray);
  ASSERT_EQ(Tray.Menu, Menus()->SysTrayMenu());
  EXPECT_EQ(Names(Tray.Menu->Items()), (std::vector<String>{"TRAY_BSF_RESTORE", "-", "TRAY_BSF_CLOSE"}));
  ASSERT_TRUE(Tray.HasOnDblClick());

  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimizeToTray});
  Named(Engine->GetSystemMenuItems(), "BSF_MINTOTRAY")->Click();
  EXPECT_TRUE(Tray.MinimizeToTray);
  EXPECT_EQ(ToTray, 1);
  EXPECT_TRUE(IsIconic(Form->Handle()));

  // A double click on the icon restores the form and takes the icon away.
  Tray.IconVisible = true;
  Tray.DblClick(nullptr);
  EXPECT_FALSE(Tray.MinimizeToTray);
  EXPECT_EQ(Tray.Shown, 1);
  EXPECT_FALSE(Tray.IconVisible);
  EXPECT_EQ(FromTray, 1);
  EXPECT_FALSE(IsIconic(Form->Handle()));

  // With AlwaysShowInTray the icon stays.
  Engine->SetAlwaysShowInTray(true);
  Tray.IconVisible = true;
  Named(Menus()->SysTrayMenu()->Items(), "TRAY_BSF_RESTORE")->Click();
  EXPECT_TRUE(Tray.IconVisible);
}

TEST_F(FormMenusTest, TheMinimizeItemGoesToTheTrayWhenAlwaysAsked) {
  TFakeTrayIcon Tray;
  Menus()->SetTrayIcon(&Tray);
  int EngineMinimized = 0, ToTray = 0;
  Engine->OnMinimize = [&](TObject*) { ++EngineMinimized; };
  Engine->OnMinimizeToTray = [&](TObject*) { ++ToTray; };
  Engine->SetAlwaysMinimizeToTray(true);
  Named(Engine->GetSystemMenuItems(), "BSF_MINITEM")->Click();
  EXPECT_TRUE(Tray.MinimizeToTray);
  EXPECT_EQ(ToTray, 1);
  EXPECT_EQ(EngineMinimized, 0) << "the engine's own minimize is not used";
}

TEST_F(FormMenusTest, AnAppTrayIconWithItsOwnMenuKeepsIt) {
  TFakeTrayIcon Tray;
  TPopupMenu Own(nullptr);
  Tray.Menu = &Own;
  Menus()->SetTrayIcon(&Tray);
  EXPECT_EQ(Tray.Menu, &Own);
  EXPECT_FALSE(Tray.HasOnDblClick());
}

TEST_F(FormMenusTest, TheTrayMenuFollowsTheFormsSkin) {
  EXPECT_EQ(Menus()->SysTrayMenu()->SkinData(), nullptr);
  Engine->SetSkinData(Skin.get());
  EXPECT_EQ(Menus()->SysTrayMenu()->SkinData(), Skin.get());
  EXPECT_EQ(Menus()->SysTrayMenu()->ComponentForm(), Form);
}
