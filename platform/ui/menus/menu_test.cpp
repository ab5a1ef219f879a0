#include "platform/ui/menus/menu.h"

#include <gtest/gtest.h>

#include "platform/rtl/format.h"
#include "platform/ui/core/form.h"
#include "platform/ui/testkit/uitestkit.h"

namespace {

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
