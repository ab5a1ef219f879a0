#include "skin/menus/bsskinmenu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "skin/core/bsmessages.h"
#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

class SkinMenuChain : public TSkinMenuTest {
 protected:
  void SetUp() override {
    TSkinMenuTest::SetUp();
    Popup = new TbsSkinPopupMenu(Form);
    Open = AddItem(Popup->Items(), "&Open");
    Sub = AddItem(Popup->Items(), "&More");
    Deep = AddItem(Sub, "Deep");
    AddItem(Popup->Items(), "-");
    Last = AddItem(Popup->Items(), "&Last");
    Button = NewControl<TRecordingControl>(Form, Bounds(10, 10, 80, 24));
  }
  TbsSkinPopupMenu* Popup = nullptr;
  TMenuItem *Open = nullptr, *Sub = nullptr, *Deep = nullptr, *Last = nullptr;
  TRecordingControl* Button = nullptr;
};

TEST_F(SkinMenuChain, ChoosingACommandClosesReportsAndRunsInTheOrderGiven) {
  wintest::TMessageSpy Spy({Button->Handle(), Form->Handle()});
  Integer ClosedAt = -1, ClickedAt = -1, MenuCloses = 0;
  bool LevelShownAtClick = true;
  Popup->OnMenuClose = [&](TObject*) {
    ++MenuCloses;
    ClosedAt = Integer(Spy.Messages().size());
  };
  Open->OnClick = [&](TObject*) {
    ClickedAt = Integer(Spy.Messages().size());
    LevelShownAtClick = Menu->PopupCount() > 0;
  };
  Popup->PopupFromRect2(Button, Rect(200, 150, 280, 170), false);
  ASSERT_EQ(Menu->PopupCount(), 1);
  TbsSkinPopupWindow* W = Level();
  EXPECT_TRUE(IsWindowVisible(W->Handle()));
  EXPECT_EQ(Host->Calls, (std::vector<String>{"open"}));

  wintest::Click(EntryPoint(W, 0));

  const Integer CtrlClose = Spy.IndexOf(Button->Handle(), WM_CLOSESKINMENU);
  const Integer FormClose = Spy.IndexOf(Form->Handle(), WM_CLOSESKINMENU);
  const Integer After = Spy.IndexOf(Button->Handle(), WM_AFTERDISPATCH);
  ASSERT_NE(CtrlClose, -1);
  ASSERT_NE(FormClose, -1);
  ASSERT_NE(After, -1);
  // Windows gone; the control told; OnMenuClose once; the form told; OnClick; then after-dispatch.
  EXPECT_FALSE(LevelShownAtClick);
  EXPECT_EQ(MenuCloses, 1);
  EXPECT_LT(CtrlClose, ClosedAt);
  EXPECT_LE(ClosedAt, FormClose);
  EXPECT_LT(FormClose, ClickedAt);
  EXPECT_LE(ClickedAt, After);
  EXPECT_EQ(Spy.Count(Button->Handle(), WM_CLOSESKINMENU), 1);
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinMenuChain, EscapeThroughTheApplicationClosesWithoutAfterDispatch) {
  wintest::TMessageSpy Spy({Button->Handle()});
  Integer MenuCloses = 0;
  Popup->OnMenuClose = [&](TObject*) { ++MenuCloses; };
  Popup->PopupFromRect2(Button, Rect(200, 150, 280, 170), false);
  ASSERT_TRUE(Host->Hooked());
  Form->SetFocus();
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Menu->PopupCount(), 0);
  EXPECT_EQ(MenuCloses, 1);
  EXPECT_EQ(Spy.Count(Button->Handle(), WM_CLOSESKINMENU), 1);
  EXPECT_EQ(Spy.Count(Button->Handle(), WM_AFTERDISPATCH), 0);
  // The key never reached the focused form, and menu mode ended.
  EXPECT_FALSE(Host->Hooked());
  EXPECT_EQ(Host->Calls.back(), "close");
}

TEST_F(SkinMenuChain, ASubmenuOpensAfterHalfASecondOfHoverOrAtOnceOnClick) {
  Popup->Popup(200, 150);
  TbsSkinPopupWindow* W = Level();
  ASSERT_NE(W, nullptr);
  // Hover the submenu entry, leave before 500 ms: nothing opens.
  HoverAt(EntryPoint(W, 1));
  wintest::AdvanceTime(Clock(), 400);
  EXPECT_EQ(Menu->PopupCount(), 1);
  HoverAt(EntryPoint(W, 3));
  wintest::AdvanceTime(Clock(), 600);
  EXPECT_EQ(Menu->PopupCount(), 1);
  // Rest on it: the submenu opens 500 ms after the polling saw the cursor there, beside the entry.
  wintest::MouseMove(EntryPoint(W, 1));
  for (int i = 0; i < 50 && Menu->WItem == nullptr; ++i) wintest::AdvanceTime(Clock(), 1);
  ASSERT_EQ(Menu->WItem, W->Item(1));
  wintest::AdvanceTime(Clock(), 499);
  EXPECT_EQ(Menu->PopupCount(), 1);
  wintest::AdvanceTime(Clock(), 1);
  ASSERT_EQ(Menu->PopupCount(), 2);
  EXPECT_TRUE(W->Item(1)->Down);
  EXPECT_EQ(Level(1)->Left(), W->Left() + W->Item(1)->ObjectRect.Right + 1);
  EXPECT_EQ(Level(1)->Top() + Level(1)->NewItemsRect.Top, W->Top() + W->Item(1)->ObjectRect.Top);
  // A command entry of the first level closes the submenu on hover.
  HoverAt(EntryPoint(W, 0));
  EXPECT_EQ(Menu->PopupCount(), 1);
  // A click opens it without waiting.
  wintest::Click(EntryPoint(W, 1));
  EXPECT_EQ(Menu->PopupCount(), 2);
}

TEST_F(SkinMenuChain, ASubmenuEntrysClickRunsFirstSoItCanFillTheSubmenu) {
  Sub->OnClick = [&](TObject*) {
    if (Sub->Count() == 1) AddItem(Sub, "Filled");
  };
  Popup->Popup(200, 150);
  wintest::Click(EntryPoint(Level(), 1));
  ASSERT_EQ(Menu->PopupCount(), 2);
  EXPECT_EQ(Level(1)->ItemCount(), 2);
  EXPECT_EQ(Level(1)->Item(1)->MenuItem->Caption(), "Filled");
}

TEST_F(SkinMenuChain, AWindowlessOpeningControlIsToldThroughPerform) {
  auto* Tool = NewControl<TRecordingGraphic>(Form, Bounds(10, 40, 24, 24));
  Popup->PopupFromRect2(Tool, Rect(200, 150, 280, 170), false);
  wintest::Click(EntryPoint(Level(), 0));
  const auto& M = Tool->Messages;
  const auto Close = std::find(M.begin(), M.end(), WM_CLOSESKINMENU);
  ASSERT_NE(Close, M.end());
  EXPECT_NE(std::find(Close, M.end(), WM_AFTERDISPATCH), M.end());
}

TEST_F(SkinMenuChain, AnEmptyMenuOpensNothingAndReleasesItsControlAndMenuMode) {
  auto* Empty = new TbsSkinPopupMenu(Form);
  wintest::TMessageSpy Spy({Button->Handle()});
  Integer Popups = 0;
  Empty->OnPopup = [&](TObject*) { ++Popups; };
  Empty->PopupFromRect2(Button, Rect(10, 10, 20, 20), false);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Menu->PopupCount(), 0);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Spy.Count(Button->Handle(), WM_CLOSESKINMENU), 1);
  EXPECT_FALSE(Host->Hooked());
}

TEST_F(SkinMenuChain, ANewPopupOverAnOpenOneTellsTheOldControlAndDoesNotFade) {
  auto* Other = NewControl<TRecordingControl>(Form, Bounds(100, 10, 80, 24));
  Menu->AlphaBlend = true;
  Menu->AlphaBlendAnimation = true;
  Menu->AlphaBlendValue = 150;
  const UInt64 T0 = Clock().TickCount64();
  Popup->PopupFromRect2(Button, Rect(200, 150, 280, 170), false);
  const UInt64 FirstFade = Clock().TickCount64() - T0;
  // 150 div 15 = 10 per step, 15 steps of just over 5 ms.
  EXPECT_GE(FirstFade, 15u * 6u);
  const UInt64 T1 = Clock().TickCount64();
  Popup->PopupFromRect2(Other, Rect(200, 150, 280, 170), false);
  EXPECT_EQ(Clock().TickCount64(), T1);
  EXPECT_EQ(Button->CountOf(WM_CLOSESKINMENU), 1);
  EXPECT_EQ(Other->CountOf(WM_CLOSESKINMENU), 0);
  Menu->Hide();
  EXPECT_EQ(Other->CountOf(WM_CLOSESKINMENU), 1);
}

TEST_F(SkinMenuChain, AMenuFreedWhileItsItemsHandlerRunsIsSafe) {
  wintest::TMessageSpy Spy({Button->Handle()});
  Open->OnClick = [&](TObject*) {
    delete Popup;
    Popup = nullptr;
  };
  Popup->PopupFromRect2(Button, Rect(200, 150, 280, 170), false);
  wintest::Click(EntryPoint(Level(), 0));
  WinRunDeferredActions();
  EXPECT_EQ(Popup, nullptr);
  EXPECT_EQ(Menu->PopupCount(), 0);
  EXPECT_EQ(Spy.Count(Button->Handle(), WM_AFTERDISPATCH), 1);
}

TEST_F(SkinMenuChain, AFormFreedWhileItsMenusHandlerRunsIsSafe) {
  Open->OnClick = [&](TObject*) {
    delete Form;
    Form = nullptr;
  };
  Popup->Popup(200, 150);
  wintest::Click(EntryPoint(Level(), 0));
  WinRunDeferredActions();
  EXPECT_EQ(Form, nullptr);
}

TEST_F(SkinMenuChain, FreeingThePopupMenuWhileItIsOpenClosesIt) {
  Popup->PopupFromRect2(Button, Rect(200, 150, 280, 170), false);
  ASSERT_TRUE(Menu->Visible());
  delete Popup;
  Popup = nullptr;
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Menu->PopupCount(), 0);
  EXPECT_EQ(Button->CountOf(WM_CLOSESKINMENU), 1);
}

TEST(SkinMenuCloseMessages, AreTheMovesActivationsAndButtonPresses) {
  for (Cardinal M : {3u, 5u, 6u, 8u, 31u, 33u, 161u, 164u, 167u, 513u, 516u, 519u, 528u})
    EXPECT_TRUE(IsMenuCloseMessage(M)) << M;
  for (Cardinal M : {0u, 15u, 256u, 512u, 514u, 522u, 1228u}) EXPECT_FALSE(IsMenuCloseMessage(M)) << M;
}

// Where a popup menu finds the form engine it opens through.
class SkinPopupMenuHost : public TSkinMenuTest {};

TEST_F(SkinPopupMenuHost, IsFoundThroughOwnerOwnersOwnerComponentFormOrMainForm) {
  auto Items = [](TbsSkinPopupMenu* P) {
    AddItem(P->Items(), "One");
    return P;
  };
  // Owned by the form.
  Items(new TbsSkinPopupMenu(Form))->Popup(10, 10);
  EXPECT_TRUE(Menu->Visible());
  Menu->Hide();
  // Owned by a panel on the form: the owner's owner.
  auto* Panel = NewControl<TRecordingControl>(Form, Bounds(0, 0, 50, 50), Form);
  Items(new TbsSkinPopupMenu(Panel))->Popup(10, 10);
  EXPECT_TRUE(Menu->Visible());
  Menu->Hide();
  // Without a reachable engine nothing opens, though OnPopup fired.
  TbsSkinPopupMenu Loose(nullptr);
  AddItem(Loose.Items(), "One");
  Integer Popups = 0;
  Loose.OnPopup = [&](TObject*) { ++Popups; };
  Loose.Popup(10, 10);
  EXPECT_EQ(Popups, 1);
  EXPECT_FALSE(Menu->Visible());
  // Told its form.
  Loose.SetComponentForm(Form);
  Loose.Popup(10, 10);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_EQ(Loose.PopupPoint(), (TPoint{10, 10}));
  Menu->Hide();
  // The skin came from the engine and stays.
  EXPECT_EQ(Loose.SkinData(), nullptr);
  Host->FSkinData = Skin.get();
  Loose.Popup(10, 10);
  EXPECT_EQ(Loose.SkinData(), Skin.get());
  EXPECT_EQ(Menu->SkinData, Skin.get());
  Menu->Hide();
}

TEST_F(SkinPopupMenuHost, AnMdiChildsMenuGoesThroughTheMainFormsEngine) {
  TForm* Child;
  Application->CreateForm(Child);
  Child->SetFormStyle(fsMDIChild);
  auto* ChildHost = new TTestMenuHost(Child);
  auto* P = new TbsSkinPopupMenu(Child);
  AddItem(P->Items(), "One");
  P->Popup(10, 10);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_FALSE(ChildHost->SkinMenu()->Visible());
  Menu->Hide();
}

TEST_F(SkinPopupMenuHost, Popup2NeedsASkin) {
  auto* P = new TbsSkinPopupMenu(Form);
  AddItem(P->Items(), "One");
  P->Popup2(nullptr, 10, 10);
  EXPECT_FALSE(Menu->Visible());
  P->PopupFromRect(Rect(10, 10, 20, 20), false);
  EXPECT_TRUE(Menu->Visible());
  Menu->Hide();
  Host->FMenusSkinData = Skin.get();
  auto* Q = new TbsSkinPopupMenu(Form);
  AddItem(Q->Items(), "One");
  Q->Popup2(nullptr, 10, 10);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_EQ(Q->SkinData(), Skin.get());
  Menu->Hide();
}

}  // namespace
