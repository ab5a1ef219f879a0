#include "skin/forms/tray/bstrayicon.h"

#include <gtest/gtest.h>

#include "platform/shell/testkit/fakes.h"
#include "platform/win/testkit/testkit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsmessages.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

// Runs the end of loading as a stored form would.
class TLoadedTrayIcon : public TbsTrayIcon {
 public:
  using TbsTrayIcon::TbsTrayIcon;
  void FinishLoading() { Loaded(); }
};

class TrayIconTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    Form = NewForm<TForm>();
    Tray = new TbsTrayIcon(Form);
    Tray->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState, Integer, Integer) {
      Log.push_back(B == mbLeft ? "down" : B == mbRight ? "rdown" : "mdown");
    };
    Tray->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState, Integer, Integer) {
      Log.push_back(B == mbLeft ? "up" : B == mbRight ? "rup" : "mup");
    };
    Tray->OnClick = [this](TObject*) { Log.push_back("click"); };
    Tray->OnDblClick = [this](TObject*) { Log.push_back("dblclick"); };
  }
  // What a person does on the icon, as the tray reports it.
  void Mouse(UINT Event) { ASSERT_TRUE(Fakes.Tray().Notify(Tray->Handle(), TbsTrayIcon::TrayIconId, Event)); }
  const TRecordingTrayService::TTrayIcon* Shown() {
    return Fakes.Tray().Find(Tray->Handle(), TbsTrayIcon::TrayIconId);
  }

  shelltest::TShellFakes Fakes;
  TForm* Form = nullptr;
  TbsTrayIcon* Tray = nullptr;
  std::vector<String> Log;
};

TEST_F(TrayIconTest, TheIconIsAddedChangedAndRemovedWithItsRecord) {
  EXPECT_EQ(Shown(), nullptr);
  Tray->SetIconVisible(true);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Shown()->CallbackMessage, 2048u);
  EXPECT_EQ(Tray->Data().uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  // Tips: the first 127 characters; none when empty or not shown.
  const String Long = String(150, 'a') + String(50, 'b');
  Tray->SetHint(Long);
  EXPECT_EQ(Shown()->Tip, String(127, 'a'));
  Tray->SetShowHint(false);
  EXPECT_EQ(Shown()->Tip, "");
  Tray->SetShowHint(true);
  Tray->SetHint("转换中");
  EXPECT_EQ(Shown()->Tip, "转换中");
  // Without a tray every call reports failure, and the icon is kept as visible for when one comes.
  Fakes.Tray().Available = false;
  EXPECT_FALSE(Tray->Refresh());
  Fakes.Tray().Available = true;
  Tray->SetIconVisible(false);
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_FALSE(Tray->ModifyIcon());  // nothing to change
}

TEST_F(TrayIconTest, BalloonTextsAreCutAndTheFlagsComeBack) {
  Tray->SetIconVisible(true);
  EXPECT_TRUE(Tray->ShowBalloonHint(String(100, 't'), String(300, 'x'), bsbitWarning));
  EXPECT_EQ(Shown()->InfoTitle, String(63, 't'));
  EXPECT_EQ(Shown()->Info, String(255, 'x'));
  EXPECT_EQ(Shown()->InfoFlags, NIIF_WARNING);
  EXPECT_EQ(Tray->Data().uFlags, TbsTrayIcon::DefaultFlags);
  EXPECT_TRUE(Tray->HideBalloonHint());
  EXPECT_EQ(Shown()->Info, "");
  bool Clicked = false;
  Tray->OnBalloonHintClick = [&](TObject* S) { Clicked = S == Tray; };
  Mouse(NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(Clicked);
}

TEST_F(TrayIconTest, ClicksAndDoubleClicksAreToldApartByTheDoubleClickTime) {
  Tray->SetIconVisible(true);
  Mouse(WM_LBUTTONDOWN);
  Mouse(WM_LBUTTONUP);
  EXPECT_EQ(Log, (std::vector<String>{"down", "up"}));
  wintest::AdvanceTime(Clock(), GetDoubleClickTime() + 10);
  Application->ProcessMessages();
  EXPECT_EQ(Log, (std::vector<String>{"down", "up", "click"}));
  // A press held past the double-click time clicks on release.
  Log.clear();
  Mouse(WM_LBUTTONDOWN);
  wintest::AdvanceTime(Clock(), GetDoubleClickTime() + 10);
  Application->ProcessMessages();
  Mouse(WM_LBUTTONUP);
  EXPECT_EQ(Log, (std::vector<String>{"down", "click", "up"}));
  // A double click: no click at all, one double click, and the menu's default item.
  auto* Menu = new TbsSkinPopupMenu(Form);
  auto* Plain = new TMenuItem(Menu);
  auto* Restore = new TMenuItem(Menu);
  Restore->SetDefault(true);
  bool Restored = false;
  Restore->OnClick = [&](TObject*) { Restored = true; };
  Menu->Items()->Add(Plain);
  Menu->Items()->Add(Restore);
  Tray->SetSkinPopupMenu(Menu);
  Log.clear();
  Mouse(WM_LBUTTONDOWN);
  Mouse(WM_LBUTTONUP);
  Mouse(WM_LBUTTONDBLCLK);
  Mouse(WM_LBUTTONUP);
  wintest::AdvanceTime(Clock(), GetDoubleClickTime() + 10);
  Application->ProcessMessages();
  EXPECT_EQ(Log, (std::vector<String>{"down", "up", "dblclick", "up"}));
  EXPECT_TRUE(Restored);
}

TEST_F(TrayIconTest, TheRightButtonOpensTheMenuUnlessTheIconIsDisabled) {
  Tray->SetIconVisible(true);
  auto* Menu = new TbsSkinPopupMenu(Form);
  Menu->Items()->Add(new TMenuItem(Menu));
  Integer Popups = 0;
  Menu->OnPopup = [&](TObject*) { ++Popups; };
  Tray->SetSkinPopupMenu(Menu);
  Mouse(WM_RBUTTONDOWN);
  Mouse(WM_RBUTTONUP);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Menu->PopupComponent(), Tray);
  EXPECT_EQ(Log, (std::vector<String>{"rdown", "rup"}));
  // By the left button when asked.
  Tray->SetPopupByLeftButton(true);
  Mouse(WM_LBUTTONDOWN);
  EXPECT_EQ(Popups, 2);
  Log.clear();
  Tray->SetEnabled(false);
  Mouse(WM_RBUTTONDOWN);
  Mouse(WM_LBUTTONDOWN);
  Mouse(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(Popups, 2);
  EXPECT_NE(Shown(), nullptr);  // the icon stays
  // A menu that goes is forgotten.
  delete Menu;
  EXPECT_EQ(Tray->PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, CyclingIconsReportTheNextImage) {
  TCustomImageList Images(nullptr, 16, 16);
  for (TColor C : {clRed, clGreen, clBlue}) {
    TBitmap B;
    B.SetSize(16, 16);
    B.Canvas()->Brush()->SetColor(C);
    B.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images.Add(&B, nullptr);
  }
  Tray->SetIconVisible(true);
  Tray->SetIconList(&Images);
  Tray->SetIconIndex(7);
  EXPECT_EQ(Tray->IconIndex(), 2);  // lowered to the last image
  std::vector<Integer> Next;
  Tray->OnCycle = [&](TObject*, Integer N) { Next.push_back(N); };
  Tray->SetAnimateTimerInterval(100);
  Tray->SetCycleIcons(true);
  EXPECT_EQ(Tray->IconIndex(), 0);
  for (int I = 0; I < 4; ++I) {
    wintest::AdvanceTime(Clock(), 110);
    Application->ProcessMessages();
  }
  EXPECT_EQ(Next, (std::vector<Integer>{1, 2, 0, 1}));
  EXPECT_EQ(Tray->IconIndex(), 1);
}

TEST_F(TrayIconTest, AVisibleIconComesBackWhenTheTrayIsMadeAgain) {
  Tray->SetIconVisible(true);
  // The tray went away with our icon, then came back.
  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &Tray->Data()));
  SendMessage(Application->Handle(), TaskbarCreatedMessage(), 0, 0);
  EXPECT_NE(Shown(), nullptr);
  Tray->SetIconVisible(false);
  SendMessage(Application->Handle(), TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(Shown(), nullptr);  // a hidden one stays away
}

TEST_F(TrayIconTest, MinimizingHidesTheMainFormToTheIconAndTheIconRestoresIt) {
  Form->Show();
  Tray->SetIconVisible(false);
  Application->Minimize();
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Form->Tag(), -10000);
  EXPECT_NE(Shown(), nullptr);
  // The form engine's way back.
  IbsFormTrayIcon* I = Tray;
  I->ShowMainForm();
  EXPECT_TRUE(Form->Visible());
  EXPECT_NE(Form->WindowState(), wsMinimized);
  EXPECT_EQ(Form->Tag(), -10000);
  MSG M;
  EXPECT_TRUE(PeekMessage(&M, Form->Handle(), WM_TRAYRESTORED, WM_TRAYRESTORED, PM_NOREMOVE));
  // Off, minimizing leaves the form alone.
  Form->SetTag(0);
  I->SetMinimizeToTray(false);
  Application->Minimize();
  EXPECT_TRUE(Form->Visible());
  EXPECT_EQ(Form->Tag(), 0);
}

// The form engine's minimize-to-tray and its tray menu through the real icon.
TEST_F(TrayIconTest, TheFormEngineMinimizesToTheIconAndADoubleClickBringsTheFormBack) {
  auto* Engine = new TbsSkinForm(Form);
  Form->Show();
  auto* Menus = dynamic_cast<TbsFormMenus*>(Engine->MenuTracking());
  ASSERT_NE(Menus, nullptr);
  Tray->OnDblClick = nullptr;  // the engine brings its own restore
  Menus->SetTrayIcon(Tray);
  EXPECT_EQ(Tray->PopupMenu(), Menus->SysTrayMenu());
  EXPECT_FALSE(Tray->MinimizeToTray());
  // The right button opens the engine's skinned tray menu at the cursor.
  Engine->SetSkinData(Skin.get());
  Tray->SetIconVisible(true);
  Mouse(WM_RBUTTONDOWN);
  EXPECT_TRUE(Engine->SkinMenu()->Visible());
  EXPECT_TRUE(Engine->SkinMenu()->Shows(Menus->SysTrayMenu()->Items()));
  Engine->SkinMenu()->Hide();
  Application->ProcessMessages();
  Menus->MinimizeToTray();
  EXPECT_FALSE(Form->Visible());
  ASSERT_NE(Shown(), nullptr);
  Mouse(WM_LBUTTONDOWN);
  Mouse(WM_LBUTTONUP);
  Mouse(WM_LBUTTONDBLCLK);  // the icon goes with it, so the release is not reported
  EXPECT_TRUE(Form->Visible());
  EXPECT_FALSE(IsIconic(Form->Handle()));
  EXPECT_EQ(Shown(), nullptr);  // the engine takes the icon away unless it is always shown
  // A freed icon is no longer the engine's.
  delete Tray;
  Tray = nullptr;
  EXPECT_EQ(Menus->TrayIcon(), nullptr);
  Menus->MinimizeToTray();
  EXPECT_TRUE(Form->Visible());
  Application->ProcessMessages();
}

TEST_F(TrayIconTest, StartingMinimizedShowsOnlyTheIcon) {
  auto* T = new TLoadedTrayIcon(Form);
  T->SetIconVisible(false);
  T->SetMinimizeToTray(false);
  T->SetMinimizedOnStart(true);
  T->FinishLoading();
  EXPECT_TRUE(T->IconVisible());
  EXPECT_TRUE(T->MinimizeToTray());
  EXPECT_FALSE(Application->ShowMainForm());
  EXPECT_NE(Fakes.Tray().Find(T->Handle(), TbsTrayIcon::TrayIconId), nullptr);
  Application->SetShowMainForm(true);
  // Loading without it keeps the stored visibility: a hidden icon stays out of the tray.
  auto* Hidden = new TLoadedTrayIcon(Form);
  Hidden->SetIconVisible(false);
  Hidden->FinishLoading();
  EXPECT_EQ(Fakes.Tray().Find(Hidden->Handle(), TbsTrayIcon::TrayIconId), nullptr);
}

TEST_F(TrayIconTest, AtDesignTimeOnlyThePreviewShowsTheIcon) {
  Tray->SetDesigning(true);
  Tray->SetIconVisible(true);
  EXPECT_EQ(Shown(), nullptr);
  Tray->SetIconVisible(false);
  Tray->SetDesignPreview(true);
  EXPECT_NE(Shown(), nullptr);
  EXPECT_FALSE(Tray->IconVisible());  // the stored value stays
  Tray->SetDesignPreview(false);
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(TrayIconTest, ABitmapBecomesAnIconWithItsMaskColourClear) {
  TBitmap B;
  B.SetSize(16, 16);
  B.Canvas()->Brush()->SetColor(clFuchsia);
  B.Canvas()->FillRect(Rect(0, 0, 16, 16));
  B.Canvas()->Brush()->SetColor(clNavy);
  B.Canvas()->FillRect(Rect(4, 4, 12, 12));
  TIcon I;
  EXPECT_TRUE(Tray->BitmapToIcon(&B, &I, clFuchsia));
  ASSERT_FALSE(I.Empty());
  EXPECT_EQ(I.Width(), 16);
  TBitmap Out;
  Out.SetSize(16, 16);
  Out.Canvas()->Brush()->SetColor(clWhite);
  Out.Canvas()->FillRect(Rect(0, 0, 16, 16));
  Out.Canvas()->Draw(0, 0, &I);
  EXPECT_EQ(Out.Canvas()->Pixels(1, 1), clWhite);  // the mask colour lets the background through
  EXPECT_EQ(Out.Canvas()->Pixels(8, 8), clNavy);
}

}  // namespace
