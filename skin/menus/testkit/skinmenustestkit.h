// Test support for the skinned popup menus: a stand-in for the form skinning engine (it owns the
// form's menu chain, hands key presses to the deepest open level through Application.OnMessage while
// a menu is open, swallows the mouse wheel, and closes the menu on the form's menu-closing messages),
// and a test case with the generated skin, a shown form and that engine on it.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/ui/testkit/uitestkit.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinmenuhost.h"
#include "skin/menus/bsskinpopupwindow.h"
#include "tools/skingen/skingen.h"

class TTestMenuHost : public TComponent, public IbsSkinMenuHost {
 public:
  explicit TTestMenuHost(TForm* AForm) : TComponent(AForm) { FMenu = new TbsSkinMenu(this, AForm); }
  ~TTestMenuHost() override { unhook(); }
  String ClassName() const override { return "TTestMenuHost"; }

  TbsSkinMenu* SkinMenu() override { return FMenu; }
  TbsSkinData* SkinData() const override { return FSkinData; }
  TbsSkinData* MenusSkinData() const override { return FMenusSkinData; }
  void SkinMenuOpen() override {
    Calls.push_back("open");
    hook();
  }
  void SkinMenuClose() override {
    Calls.push_back("close");
    unhook();
  }

  TbsSkinData* FSkinData = nullptr;
  TbsSkinData* FMenusSkinData = nullptr;
  std::vector<String> Calls;
  bool Hooked() const { return FHooked; }

 private:
  void hook() {
    if (FHooked) return;
    FHooked = true;
    FOld = Application->OnMessage;
    Application->OnMessage = [this](MSG& Msg, bool& Handled) { appMessage(Msg, Handled); };
  }
  void unhook() {
    if (!FHooked) return;
    FHooked = false;
    Application->OnMessage = FOld;
  }
  bool isOwnFormWindow(HWND Wnd) const {
    auto* F = dynamic_cast<TForm*>(Owner());
    if (F == nullptr || !F->HandleAllocated()) return false;
    for (HWND W = Wnd; W != nullptr; W = GetParent(W))
      if (W == F->Handle()) return true;
    return false;
  }
  void appMessage(MSG& Msg, bool& Handled) {
    if (Msg.message == WM_KEYDOWN) {
      if (FMenu->Visible() && FMenu->PopupCount() > 0)
        FMenu->PopupLevel(FMenu->PopupCount() - 1)->PopupKeyDown(Integer(Msg.wParam));
      Msg.message = 0;
      Handled = true;
      if (!FMenu->Visible()) SkinMenuClose();
    } else if (Msg.message == WM_MOUSEWHEEL) {
      Msg.message = 0;
      Handled = true;
    } else if (IsMenuCloseMessage(Msg.message) && isOwnFormWindow(Msg.hwnd) && FMenu->Visible()) {
      FMenu->Hide();
      SkinMenuClose();
    }
  }

  TbsSkinMenu* FMenu;
  bool FHooked = false;
  TMessageEvent FOld;
};

class TSkinMenuTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    // Text layout is exact with the test font: 7 pixels a character at the menus' height 13.
    SetTestFontMode(true);
    Skin = std::make_unique<TbsSkinData>(nullptr);
    BuildGeneratedSkin(Skin.get());
    Form = NewForm(Rect(100, 100, 500, 400));
    Host = new TTestMenuHost(Form);
    Menu = Host->SkinMenu();
  }
  void TearDown() override {
    delete Form;
    WinRunDeferredActions();
    Roots.clear();
    Skin.reset();
    SetTestFontMode(false);
    TUiTest::TearDown();
  }

  // A menu item with a caption, added under Parent (when given).
  static TMenuItem* AddItem(TMenuItem* Parent, const String& Caption, bool Enabled = true) {
    auto* I = new TMenuItem(nullptr);
    I->SetCaption(Caption);
    I->SetEnabled(Enabled);
    if (Parent != nullptr) Parent->Add(I);
    return I;
  }
  // A free-standing root item the tests build menus under (a popup menu's Items stand for it).
  TMenuItem* NewRoot() {
    Roots.push_back(std::make_unique<TMenuItem>(nullptr));
    return Roots.back().get();
  }
  // Opens Root's children at R with the menu's skin (null: the default look).
  TbsSkinPopupWindow* Open(TMenuItem* Root, TRect R, TbsSkinData* ASkin = nullptr, bool Up = false) {
    Host->SkinMenuOpen();
    Menu->Popup(nullptr, ASkin, 0, R, Root, Up);
    return Level();
  }
  // Presses a key with the form focused: it travels through the application's message hook.
  void Key(Word VK) {
    Form->SetFocus();
    wintest::KeyPress(VK);
  }

  // The deepest open level; null when none.
  TbsSkinPopupWindow* Level(Integer Index = -1) const {
    const Integer N = Menu->PopupCount();
    if (Index < 0) Index = N - 1;
    return Index >= 0 && Index < N ? Menu->PopupLevel(Index) : nullptr;
  }
  // The screen point at the middle of entry Index of a level.
  static TPoint EntryPoint(TbsSkinPopupWindow* W, Integer Index) {
    const TRect& R = W->Item(Index)->ObjectRect;
    return TPoint{W->Left() + (R.Left + R.Right) / 2, W->Top() + (R.Top + R.Bottom) / 2};
  }
  // Moves the cursor and lets the levels' 50 ms polling see it.
  void HoverAt(TPoint P) {
    wintest::MouseMove(P);
    wintest::AdvanceTime(Clock(), 50);
  }
  static TRect WorkArea() {
    TRect R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
  }

  std::unique_ptr<TbsSkinData> Skin;
  TForm* Form = nullptr;
  TTestMenuHost* Host = nullptr;
  TbsSkinMenu* Menu = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> Roots;
};
