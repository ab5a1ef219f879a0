// The window menu of an MDI main form: the menu item whose submenu lists the children, handed to
// the form's MDI client window.
#include <gtest/gtest.h>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/menus/menu.h"
#include "platform/ui/testkit/uitestkit.h"
#include "platform/win/mdi.h"

namespace {

// What the client window was told by WM_MDISETMENU, seen through a subclass of it.
struct TSetMenuSpy {
  static inline WNDPROC Previous = nullptr;
  static inline std::vector<std::pair<WPARAM, LPARAM>> Calls;
  static LRESULT Proc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
    if (Msg == WM_MDISETMENU) Calls.emplace_back(WP, LP);
    return CallWindowProc(Previous, W, Msg, WP, LP);
  }
  static void Attach(HWND Client) {
    Calls.clear();
    Previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Client, GWL_WNDPROC));
    SetWindowLongPtr(Client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  }
};

class TWindowMenuTest : public TUiTest {};

}  // namespace

TEST_F(TWindowMenuTest, MDIMainFormHandsItsWindowMenuToTheClientAndForgetsAFreedOne) {
  TForm* Main;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->Show();
  auto* Menu = new TMainMenu(Main);
  auto* Window = new TMenuItem(Menu);
  Menu->Items()->Add(Window);
  EXPECT_EQ(Main->WindowMenu(), nullptr);

  TSetMenuSpy::Attach(Main->ClientHandle());
  Main->SetWindowMenu(Window);
  EXPECT_EQ(Main->WindowMenu(), Window);
  // The frame menu is left as it is; the window menu is the item.
  ASSERT_EQ(TSetMenuSpy::Calls.size(), 1u);
  EXPECT_EQ(TSetMenuSpy::Calls[0].first, WPARAM(0));
  EXPECT_NE(TSetMenuSpy::Calls[0].second, LPARAM(0));
  // Set again: nothing to tell. Another item: the client hears of that one.
  Main->SetWindowMenu(Window);
  EXPECT_EQ(TSetMenuSpy::Calls.size(), 1u);
  auto* Other = new TMenuItem(Menu);
  Main->SetWindowMenu(Other);
  ASSERT_EQ(TSetMenuSpy::Calls.size(), 2u);
  EXPECT_NE(TSetMenuSpy::Calls[1].second, TSetMenuSpy::Calls[0].second);
  Main->SetWindowMenu(Window);

  delete Window;
  EXPECT_EQ(Main->WindowMenu(), nullptr);
}

TEST_F(TWindowMenuTest, FormWithoutAClientKeepsTheItemOnly) {
  TForm* Plain;
  Application->CreateForm(Plain);
  auto* Item = new TMenuItem(Plain);
  Plain->SetWindowMenu(Item);
  EXPECT_EQ(Plain->WindowMenu(), Item);
  Plain->Show();
  EXPECT_EQ(Plain->ClientHandle(), nullptr);
  Plain->SetWindowMenu(nullptr);
  EXPECT_EQ(Plain->WindowMenu(), nullptr);
  delete Item;
}
