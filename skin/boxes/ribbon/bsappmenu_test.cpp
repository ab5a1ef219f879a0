#include "skin/boxes/ribbon/bsappmenu.h"

#include <gtest/gtest.h>

#include "platform/ui/core/form.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/ribbontestskin.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

namespace {

using wintest::ScreenPoint;

class AppMenu : public TSkinControlTest {
 public:
  // A form with a ribbon whose application menu holds the given plain items.
  TbsAppMenu* NewMenu(std::initializer_list<const char*> Captions) {
    Form = NewForm(Rect(100, 100, 700, 500));
    Ribbon = new TbsRibbon(Form);
    Ribbon->SetParent(Form);
    Ribbon->Tabs()->Add()->Page()->SetCaption("开始");
    Other = NewControl<TRecordingControl>(Form, Rect(300, 200, 380, 240));
    auto* M = new TbsAppMenu(Form);
    for (const char* C : Captions) {
      TbsAppMenuItem* I = M->Items()->Add();
      I->SetCaption(C);
      I->OnClick = [this, I](TObject* Sender) {
        Log.push_back("click " + I->Caption());
        ClickSender = Sender;
        MenuVisibleAtClick = Ribbon->AppMenuShown();
      };
    }
    Ribbon->SetAppMenu(M);
    M->OnShowingMenu = [this](TObject*) { Log.push_back("showing"); };
    M->OnShowMenu = [this](TObject*) { Log.push_back("show"); };
    M->OnHidingMenu = [this](TObject*) { Log.push_back("hiding"); };
    M->OnHideMenu = [this](TObject*) { Log.push_back("hide"); };
    Ribbon->OnMenuClose = [this](TObject*) { Log.push_back("close"); };
    return M;
  }
  // A page item captioned S with a fresh page of its own.
  TbsAppMenuItem* AddPageItem(TbsAppMenu* M, const char* S) {
    TbsAppMenuItem* I = M->Items()->Add();
    I->SetCaption(S);
    TbsAppMenuPage* P = M->CreatePage();
    I->SetPage(P);
    return I;
  }
  void ClickAppButton() {
    wintest::AdvanceTime(Clock(), 1000);
    wintest::Click(ScreenPoint(Ribbon->AppButton()->Handle(), 10, 10));
  }
  void ClickMenuAt(TbsAppMenu* M, Integer X, Integer Y) { wintest::Click(ScreenPoint(M->Handle(), X, Y)); }
  static void ClickItem(TbsAppMenu* M, Integer Index) {
    M->CalcItemRects();
    const TRect R = M->Items()->Items(Index)->ItemRect;
    wintest::Click(ScreenPoint(M->Handle(), R.Left + 12, R.Top + 5));
  }
  // Nothing holds the mouse or the keyboard: a key typed into another control arrives there.
  void ExpectNoGrab() {
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Ribbon->InAppHook());
    Other->SetFocus();
    ASSERT_TRUE(Other->Focused());
    const Integer Before = Other->CountOf(WM_KEYDOWN);
    wintest::KeyPress(VK_ESCAPE);
    wintest::KeyPress('A', 'a');
    EXPECT_EQ(Other->CountOf(WM_KEYDOWN), Before + 2);
  }

  TForm* Form = nullptr;
  TbsRibbon* Ribbon = nullptr;
  TRecordingControl* Other = nullptr;
  std::vector<String> Log;
  TObject* ClickSender = nullptr;
  bool MenuVisibleAtClick = true;
};

// ---- items and geometry ----

TEST_F(AppMenu, ItemsAreNamedByIndexAndCopyEverythingButTheirCommand) {
  TbsAppMenuPage Page(nullptr);  // outlives the menu whose items refer to it
  TbsAppMenu M(nullptr);
  for (Integer i = 0; i < 10; ++i) M.Items()->Add();
  EXPECT_EQ(M.Items()->Items(9)->Caption(), "TbsAppMenuItem9");
  TbsAppMenuItem* Src = M.Items()->Items(0);
  Src->SetPage(&Page);
  Src->SetCaption("打开");
  Src->SetImageIndex(2);
  Src->SetEnabled(false);
  Src->OnClick = [](TObject*) {};
  TbsAppMenuItem* Dst = M.Items()->Items(1);
  Dst->Assign(Src);
  EXPECT_EQ(Dst->Page(), &Page);
  EXPECT_EQ(Dst->Caption(), "打开");
  EXPECT_EQ(Dst->ImageIndex(), 2);
  EXPECT_FALSE(Dst->Enabled());
  EXPECT_FALSE(bool(Dst->OnClick));
  EXPECT_EQ(M.Width(), 250);
  EXPECT_EQ(M.Height(), 200);
  EXPECT_EQ(M.SkinDataName(), "appmenu");
  EXPECT_EQ(M.ItemIndex(), -1);
  M.SetItemWidth(50);
  EXPECT_EQ(M.ItemWidth(), 100);
}

TEST_F(AppMenu, PagesTakeTheAreaRightOfTheColumnAndKeepANarrowerDefaultWidth) {
  TbsAppMenu* M = NewMenu({});
  M->SetParent(Form);
  M->SetBounds(0, 0, 600, 400);
  Integer L, T, W, H;
  M->GetPageRect(L, T, W, H);
  EXPECT_EQ(Rect(L, T, W, H), Rect(100, 25, 475, 350));
  struct Case {
    Integer DefaultWidth, Expected;
  } Cases[] = {{0, 475}, {300, 300}, {600, 475}, {60, 100}};
  for (const Case& C : Cases) {
    TbsAppMenuPage* P = M->CreatePage();
    P->SetDefaultWidth(C.DefaultWidth);
    P->UpDateSize();
    EXPECT_EQ(P->BoundsRect(), Rect(100, 25, 100 + C.Expected, 375)) << C.DefaultWidth;
  }
  // Page names follow the pattern and the newest page is the active one.
  EXPECT_EQ(M->ActivePage()->Name(), "bsAppMenuPage4");
  EXPECT_EQ(M->ActivePage()->Parent(), M);
}

TEST_F(AppMenu, TheColumnStacksPlainItemsAndSetsPageItemsApart) {
  TbsAppMenu* M = NewMenu({"新建", "打开", "保存"});
  M->CalcItemRects();
  for (Integer i = 0; i < 3; ++i)
    EXPECT_EQ(M->Items()->Items(i)->ItemRect, Rect(8, 7 + 28 * i, 92, 35 + 28 * i));
  EXPECT_EQ(M->GetContentHeight(), 7 + 3 * 28 + 1);
  // A page item after plain ones is set 8 lower, is as wide as the column and leaves 8 under it; a
  // last item with a page adds room at the bottom.
  TbsAppMenuItem* P = AddPageItem(M, "最近");
  M->CalcItemRects();
  EXPECT_EQ(P->ItemRect, Rect(0, 99, 100, 134));
  EXPECT_EQ(M->GetContentHeight(), 99 + 35 + 8 + 25 + 1);
  // A hidden item takes no room; a first visible page item starts at 30.
  for (Integer i = 0; i < 3; ++i) M->Items()->Items(i)->SetVisible(false);
  M->CalcItemRects();
  EXPECT_EQ(P->ItemRect.Top, 30);
}

TEST_F(AppMenu, SettingAnItemsPageShowsThatPageAtOnce) {
  TbsAppMenu* M = NewMenu({"a", "b"});
  Integer Changes = 0;
  M->OnChangePage = [&](TObject* S) {
    EXPECT_EQ(S, M);
    ++Changes;
  };
  TbsAppMenuPage* First = M->CreatePage();
  TbsAppMenuPage* Second = M->CreatePage();
  EXPECT_EQ(Changes, 2);
  M->Items()->Items(0)->SetPage(First);
  EXPECT_EQ(M->ActivePage(), First);
  EXPECT_TRUE(First->Visible());
  EXPECT_FALSE(Second->Visible());
  EXPECT_EQ(Changes, 3);
  // The same page again: hidden and shown, no event.
  M->SetActivePage(First);
  EXPECT_EQ(Changes, 3);
  // A page freed by its form leaves neither its item nor the menu pointing at it.
  delete First;
  EXPECT_EQ(M->Items()->Items(0)->Page(), nullptr);
  EXPECT_EQ(M->ActivePage(), nullptr);
  M->Repaint();
}

TEST_F(AppMenu, LoadingAttachesTheStoredPagesAndShowsOnlyTheActiveOne) {
  TbsAppMenu* M = NewMenu({});
  auto* A = new TbsAppMenuPage(Form);
  auto* B = new TbsAppMenuPage(Form);
  A->SetParent(M);
  B->SetParent(M);
  M->BeginLoading();
  TbsAppMenuItem* IA = M->Items()->Add();
  TbsAppMenuItem* IB = M->Items()->Add();
  IA->SetPage(A);
  IB->SetPage(B);
  M->SetActivePage(B);
  M->EndLoading();
  EXPECT_EQ(A->AppMenu, M);
  EXPECT_EQ(B->AppMenu, M);
  EXPECT_FALSE(A->Visible());
  EXPECT_TRUE(B->Visible());
  EXPECT_EQ(M->ActivePage(), B);
}

// ---- the scroll bar ----

TEST_F(AppMenu, TheScrollBarExistsExactlyWhileTheColumnIsTallerThanTheMenu) {
  TbsAppMenu* M = NewMenu({});
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_EQ(M->ScrollBar, nullptr);
  const Integer Fit = (M->Height() - 8) / 28;
  for (Integer i = 0; i < Fit + 5; ++i) M->Items()->Add();
  ASSERT_NE(M->ScrollBar, nullptr);
  EXPECT_EQ(M->ScrollBar->Max(), M->GetContentHeight());
  EXPECT_EQ(M->ScrollBar->PageSize(), M->Height());
  EXPECT_EQ(M->ScrollBar->LargeChange(), M->Height());
  EXPECT_EQ(M->ScrollBar->BoundsRect(), Rect(M->Width() - 19, 0, M->Width(), M->Height()));
  // The bar moves the column.
  M->ScrollBar->SetPosition(56);
  M->CalcItemRects();
  EXPECT_EQ(M->ScrollOffset(), 56);
  EXPECT_EQ(M->Items()->Items(2)->ItemRect.Top, 7 + 56 - 56);
  // Shrinking the menu by 50 while scrolled keeps the bottom where it was; growing it pulls back.
  M->SetScrollOffset(40);
  M->SetHeight(M->Height() - 50);
  EXPECT_EQ(M->ScrollOffset(), 90);
  M->SetHeight(M->Height() + 50);
  EXPECT_EQ(M->ScrollOffset(), 40);
  M->SetHeight(M->Height() + 50);
  EXPECT_EQ(M->ScrollOffset(), 0);
  // Going down the keys brings the last item into view.
  M->SetFocus();
  wintest::KeyPress(VK_NEXT);
  EXPECT_EQ(M->ItemIndex(), M->Items()->Count() - 1);
  EXPECT_EQ(M->ScrollBar->Position(), M->ScrollBar->Max() - M->Height() + 1);
  M->CalcItemRects();
  EXPECT_LE(M->Items()->Items(M->ItemIndex())->ItemRect.Bottom, M->Height());
  // Deleting items until everything fits removes the bar and unscrolls the column.
  while (M->Items()->Count() > 2) M->Items()->Delete(0);
  EXPECT_EQ(M->ScrollBar, nullptr);
  EXPECT_EQ(M->ScrollOffset(), 0);
}

TEST_F(AppMenu, AColumnThatGrewWhileHiddenHasItsScrollBarWhenOpened) {
  TbsAppMenu* M = NewMenu({});
  for (Integer i = 0; i < 30; ++i) M->Items()->Add();
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_NE(M->ScrollBar, nullptr);
}

// ---- opening and closing ----

TEST_F(AppMenu, TheAppButtonOpensTheMenuOverTheFormAndClosesItAgain) {
  TbsAppMenu* M = NewMenu({"新建", "打开"});
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_EQ(M->Parent(), Form);
  // Under the button, two pixels past the client area's bottom, the whole client width.
  EXPECT_EQ(M->BoundsRect(), Rect(0, 25, Form->ClientWidth(), Form->ClientHeight() + 2));
  EXPECT_TRUE(M->Focused());
  EXPECT_EQ(M->ItemIndex(), 0);
  EXPECT_TRUE(Ribbon->InAppHook());
  EXPECT_TRUE(Ribbon->AppButton()->DownState());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Log, (std::vector<String>{"showing", "show"}));
  // The form grows: the open menu follows it.
  Form->SetBounds(Form->Left(), Form->Top(), Form->Width() + 40, Form->Height() + 30);
  EXPECT_EQ(M->BoundsRect(), Rect(0, 25, Form->ClientWidth(), Form->ClientHeight() + 2));
  // A second press closes it and does not open it again.
  Log.clear();
  ClickAppButton();
  EXPECT_FALSE(M->Visible());
  EXPECT_FALSE(Ribbon->AppButton()->Down());
  EXPECT_FALSE(Ribbon->AppButton()->DownState());
  EXPECT_EQ(Log, (std::vector<String>{"hiding", "close", "hide"}));
  ExpectNoGrab();
}

// Every way of closing the menu ends in the same state.
TEST_F(AppMenu, EveryWayOfClosingReleasesTheButtonAndTheKeyboard) {
  struct Case {
    const char* Name;
    std::function<void(AppMenu*, TbsAppMenu*)> Close;
  } Cases[] = {
      {"Escape", [](AppMenu*, TbsAppMenu*) { wintest::KeyPress(VK_ESCAPE); }},
      {"app button", [](AppMenu* T, TbsAppMenu*) { T->ClickAppButton(); }},
      {"tab",
       [](AppMenu* T, TbsAppMenu*) {
         const TRect R = T->Ribbon->Tabs()->Items(0)->ItemRect;
         wintest::Click(ScreenPoint(T->Ribbon->Handle(), R.Left + 3, R.Top + 3));
       }},
      {"form engine", [](AppMenu* T, TbsAppMenu*) { T->Ribbon->HideAppMenu(nullptr); }},
  };
  for (const Case& C : Cases) {
    TbsAppMenu* M = NewMenu({"新建"});
    ClickAppButton();
    ASSERT_TRUE(M->Visible()) << C.Name;
    Log.clear();
    C.Close(this, M);
    EXPECT_FALSE(M->Visible()) << C.Name;
    EXPECT_FALSE(Ribbon->AppButton()->Down()) << C.Name;
    EXPECT_EQ(Log, (std::vector<String>{"hiding", "close", "hide"})) << C.Name;
    ExpectNoGrab();
    Form->Release();
    Form = nullptr;
  }
}

TEST_F(AppMenu, EscapeClosesTheMenuWithoutReachingAnyControl) {
  TbsAppMenu* M = NewMenu({"新建"});
  Integer Seen = 0;
  Application->OnMessage = [&](MSG& Msg, bool&) { Seen += Msg.message == WM_KEYDOWN; };
  ClickAppButton();
  M->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { EXPECT_NE(Key, VK_ESCAPE); };
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(M->Visible());
  // The handler the application had before is back, and saw nothing while the menu was open.
  EXPECT_EQ(Seen, 0);
  wintest::KeyPress('A', 'a');
  EXPECT_EQ(Seen, 1);
  Application->OnMessage = nullptr;
}

TEST_F(AppMenu, AnEmptyMenuOpensAndClosesWithoutGrabbingAnything) {
  TbsAppMenu* M = NewMenu({});
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_EQ(M->ItemIndex(), -1);
  // Keys and clicks on an empty column do nothing.
  for (Word Key : {VK_RETURN, VK_SPACE, VK_TAB, VK_NEXT, VK_PRIOR, VK_DOWN, VK_UP}) wintest::KeyPress(Key);
  ClickMenuAt(M, 20, 20);
  wintest::MouseWheel(-120, ScreenPoint(M->Handle(), 20, 20));
  EXPECT_TRUE(M->Visible());
  EXPECT_EQ(M->ItemIndex(), -1);
  M->Repaint();
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(M->Visible());
  ExpectNoGrab();
  // And again through the keyboard on the button.
  Ribbon->AppButton()->SetFocus();
  wintest::KeyPress(VK_DOWN);
  EXPECT_TRUE(M->Visible());
  ClickAppButton();
  EXPECT_FALSE(M->Visible());
  ExpectNoGrab();
}

TEST_F(AppMenu, ARibbonFreedWithItsMenuOpenLeavesTheApplicationAlone) {
  TbsAppMenu* M = NewMenu({"a"});
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  delete Ribbon;
  EXPECT_FALSE(bool(Application->OnMessage));
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_EQ(M->Ribbon, nullptr);
  // And a menu freed while open takes the hook with it.
  Ribbon = new TbsRibbon(Form);
  Ribbon->SetParent(Form);
  auto* N = new TbsAppMenu(Form);
  N->Items()->Add();
  Ribbon->SetAppMenu(N);
  Ribbon->ShowAppMenu();
  ASSERT_TRUE(Ribbon->InAppHook());
  delete N;
  EXPECT_EQ(Ribbon->AppMenu(), nullptr);
  EXPECT_FALSE(Ribbon->InAppHook());
  EXPECT_FALSE(bool(Application->OnMessage));
}

// ---- choosing ----

TEST_F(AppMenu, ChoosingAPlainItemClosesTheMenuThenRunsItsCommand) {
  TbsAppMenu* M = NewMenu({"新建", "打开"});
  ClickAppButton();
  Log.clear();
  ClickItem(M, 1);
  EXPECT_FALSE(M->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"hiding", "click 打开", "close", "hide"}));
  EXPECT_EQ(ClickSender, Ribbon);
  EXPECT_FALSE(MenuVisibleAtClick);
  ExpectNoGrab();
  // By keys: Tab moves on, Enter chooses.
  ClickAppButton();
  Log.clear();
  wintest::KeyPress(VK_TAB);
  EXPECT_EQ(M->ItemIndex(), 1);
  EXPECT_TRUE(M->Visible());
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(M->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"hiding", "click 打开", "close", "hide"}));
}

TEST_F(AppMenu, PressingAndReleasingOnDifferentItemsChoosesNothing) {
  TbsAppMenu* M = NewMenu({"新建", "打开"});
  ClickAppButton();
  M->CalcItemRects();
  const TRect A = M->Items()->Items(0)->ItemRect, B = M->Items()->Items(1)->ItemRect;
  wintest::MouseDown(ScreenPoint(M->Handle(), A.Left + 5, A.Top + 5));
  wintest::MouseMove(ScreenPoint(M->Handle(), B.Left + 5, B.Top + 5));
  wintest::MouseUp(ScreenPoint(M->Handle(), B.Left + 5, B.Top + 5));
  EXPECT_TRUE(M->Visible());
  EXPECT_EQ(M->ItemIndex(), 0);
  // An empty part of the column clears the selection.
  ClickMenuAt(M, 50, M->Height() - 10);
  EXPECT_EQ(M->ItemIndex(), -1);
  EXPECT_TRUE(M->Visible());
}

TEST_F(AppMenu, KeysWalkTheUsableItemsAsATable) {
  TbsAppMenu* M = NewMenu({"a", "b", "c", "d", "e"});
  M->Items()->Items(1)->SetEnabled(false);
  M->Items()->Items(3)->SetVisible(false);
  ClickAppButton();
  struct Step {
    Word Key;
    Integer Expected;
  } Steps[] = {{VK_DOWN, 2}, {VK_RIGHT, 4}, {VK_DOWN, 4}, {VK_UP, 2},
               {VK_LEFT, 0}, {VK_UP, 0},    {VK_NEXT, 4}, {VK_PRIOR, 0}};
  for (const Step& S : Steps) {
    wintest::KeyPress(S.Key);
    EXPECT_EQ(M->ItemIndex(), S.Expected) << S.Key;
  }
  // The wheel steps too while the mouse rests on the menu.
  const TPoint P = ScreenPoint(M->Handle(), 300, 100);
  wintest::MouseMove(P);
  wintest::MouseWheel(-120, P);
  EXPECT_EQ(M->ItemIndex(), 2);
  wintest::MouseWheel(120, P);
  EXPECT_EQ(M->ItemIndex(), 0);
}

TEST_F(AppMenu, OpeningStartsAtTheShownPagesItemOrTheFirstUsableOne) {
  TbsAppMenu* M = NewMenu({"a", "b"});
  M->Items()->Items(0)->SetEnabled(false);
  ClickAppButton();
  EXPECT_EQ(M->ItemIndex(), 1);
  ClickAppButton();
  TbsAppMenuItem* P = AddPageItem(M, "最近");
  EXPECT_FALSE(M->Visible());
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_EQ(M->ItemIndex(), P->Index());
  EXPECT_TRUE(P->Page()->Visible());
  EXPECT_FALSE(P->Page()->FStopScroll);
  // A page that stops being the active one stops measuring.
  M->SetActivePage(M->CreatePage());
  EXPECT_TRUE(P->Page()->FStopScroll);
}

TEST_F(AppMenu, EnterOnAPageItemFocusesItsFirstControl) {
  TbsAppMenu* M = NewMenu({"a"});
  TbsAppMenuItem* P = AddPageItem(M, "最近");
  auto* Edit = NewControl<TRecordingControl>(P->Page(), Rect(10, 10, 100, 30));
  ClickAppButton();
  M->SetItemIndex(0);
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(M->ItemIndex(), 1);
  // Without a first control Enter does nothing and Tab moves on (there is nothing after it).
  wintest::KeyPress(VK_RETURN);
  EXPECT_TRUE(M->Focused());
  P->Page()->SetFirstActiveControl(Edit);
  wintest::KeyPress(VK_RETURN);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_TRUE(M->Visible());
  delete Edit;
  EXPECT_EQ(P->Page()->FirstActiveControl(), nullptr);
}

TEST_F(AppMenu, InTheDesignerTheMenuIsParkedOffTheFormAndAClickShowsAPage) {
  TbsAppMenu* M = NewMenu({"a"});
  TbsAppMenuItem* First = AddPageItem(M, "p1");
  AddPageItem(M, "p2");
  Ribbon->SetDesigning(true);
  Ribbon->SetAppMenu(nullptr);
  Ribbon->SetAppMenu(M);
  EXPECT_EQ(M->BoundsRect(), Rect(-110, 0, -10, 100));
  EXPECT_FALSE(M->Visible());
  M->SetDesigning(true);
  M->SetBounds(0, 0, 400, 300);
  M->CalcItemRects();
  const TRect R = First->ItemRect;
  M->Perform(CM_DESIGNHITTEST, MK_LBUTTON, MAKELPARAM(R.Left + 2, R.Top + 2));
  EXPECT_EQ(M->ActivePage(), First->Page());
  M->SetDesigning(false);
  Ribbon->SetDesigning(false);
}

// ---- the application button ----

TEST_F(AppMenu, TheAppButtonOpensByKeysAndHandsArrowsToTheRibbon) {
  TbsAppMenu* M = NewMenu({"a"});
  struct Case {
    Word Key;
    bool KeyUp;
  } Openers[] = {{VK_DOWN, false}, {VK_SPACE, false}, {VK_RETURN, true}};
  for (const Case& C : Openers) {
    Ribbon->AppButton()->SetFocus();
    if (C.KeyUp)
      wintest::KeyPress(C.Key);
    else
      wintest::KeyDown(C.Key);
    EXPECT_TRUE(M->Visible()) << C.Key;
    if (!C.KeyUp) wintest::KeyUp(C.Key);
    wintest::KeyPress(VK_ESCAPE);
    ASSERT_FALSE(M->Visible()) << C.Key;
  }
  for (Word Key : {VK_LEFT, VK_RIGHT, VK_UP}) {
    Ribbon->AppButton()->SetFocus();
    wintest::KeyPress(Key);
    EXPECT_TRUE(Ribbon->Focused()) << Key;
  }
  EXPECT_EQ(Ribbon->AppButton()->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  EXPECT_EQ(M->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTTAB);
}

TEST_F(AppMenu, WithoutAnyMenuTheAppButtonIsAPlainButton) {
  NewMenu({});
  Ribbon->SetAppMenu(nullptr);
  TbsAppButton* B = Ribbon->AppButton();
  Integer Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  ClickAppButton();
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(B->Down());
  B->SetFocus();
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_SPACE);
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MenuTracked());
  ExpectNoGrab();
  // With only a popup menu the button drops that and the ribbon hears when it closes.
  TbsSkinPopupMenu Popup(Form);
  Ribbon->SetAppButtonPopupMenu(&Popup);
  EXPECT_TRUE(B->CanMenuTrack(0, 0));
  Log.clear();
  B->Perform(WM_CLOSESKINMENU, 0, 0);
  EXPECT_EQ(Log, (std::vector<String>{"close"}));
  Ribbon->SetAppButtonPopupMenu(nullptr);
}

// ---- the size grip ----

TEST_F(AppMenu, TheSizeGripAnswersOnlyWhereTheFormCanBeSizedFromIt) {
  TbsAppMenu* M = NewMenu({"a"});
  auto* Engine = new TbsSkinForm(Form);
  Ribbon->BSF = Engine;
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  auto hit = [&](Integer X, Integer Y) {
    const TPoint P = ScreenPoint(M->Handle(), X, Y);
    return M->Perform(WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
  };
  const Integer W = M->Width(), H = M->Height();
  struct Case {
    const char* Name;
    std::function<void()> Set;
    bool Grip;
  } Cases[] = {
      {"sizeable", [] {}, true},
      {"single border", [&] { Form->SetBorderStyle(bsSingle); }, false},
      {"maximized", [&] { Engine->SetWindowState(wsMaximized); }, false},
  };
  for (const Case& C : Cases) {
    C.Set();
    EXPECT_EQ(M->CanShowGripper(), C.Grip) << C.Name;
    EXPECT_EQ(hit(W - 10, H - 10) == HTBOTTOMRIGHT, C.Grip) << C.Name;
    EXPECT_EQ(hit(W - 1, H - 1) == HTBOTTOMRIGHT, C.Grip) << C.Name;
    EXPECT_NE(hit(W - 11, H - 5), HTBOTTOMRIGHT) << C.Name;
  }
  Ribbon->BSF = nullptr;
}

// ---- drawing ----

class AppMenuDrawing : public AppMenu {
 protected:
  COLORREF Px(Integer X, Integer Y) { return COLORREF(Shot.Canvas()->Pixels(X, Y)) & 0xFFFFFF; }
  void Paint(TbsAppMenu* M) {
    Shot.SetSize(M->Width(), M->Height());
    M->PaintMenu(Shot.Canvas());
  }
  bool Has(const TRect& R, std::function<bool(COLORREF)> Pred) {
    for (Integer X = R.Left; X < R.Right; ++X)
      for (Integer Y = R.Top; Y < R.Bottom; ++Y)
        if (Pred(Px(X, Y))) return true;
    return false;
  }
  TBitmap Shot;
};

TEST_F(AppMenuDrawing, TheDefaultLookIsAShadowAreaWithTheChosenItemOnTheFaceColour) {
  TbsAppMenu* M = NewMenu({"新建", "打开"});
  TbsAppMenuItem* P = AddPageItem(M, "最近");
  M->SetBounds(0, 0, 500, 300);
  M->SetItemIndex(0);
  M->SetActivePage(nullptr);
  Paint(M);
  const COLORREF Shadow = ColorToRGB(clBtnShadow), Face = ColorToRGB(clBtnFace);
  const TRect Sel = M->Items()->Items(0)->ItemRect, Plain = M->Items()->Items(1)->ItemRect;
  EXPECT_EQ(Px(300, 10), Shadow);
  // The chosen plain item: a face-coloured bar framed in the dark shadow colour, caption in text colour.
  EXPECT_EQ(Px(Sel.Left, Sel.Top + 5), COLORREF(ColorToRGB(cl3DDkShadow)));
  EXPECT_EQ(Px(Sel.Left + 3, Sel.Top + 3), Face);
  EXPECT_TRUE(Has(Sel, [](COLORREF C) { return GetRValue(C) < 0x40; }));
  // The other captions in the highlight colour on the shadow.
  EXPECT_EQ(Px(Plain.Left + 2, Plain.Top + 2), Shadow);
  EXPECT_TRUE(Has(Plain, [](COLORREF C) { return GetRValue(C) >= 0xF0 && GetGValue(C) >= 0xF0; }));
  EXPECT_FALSE(Has(Plain, [](COLORREF C) { return GetRValue(C) < 0x40; }));
  // No page shown: no item carries the arrow.
  const TRect PR = P->ItemRect;
  EXPECT_FALSE(Has(Rect(PR.Right - 5, PR.Top, PR.Right, PR.Bottom),
                   [](COLORREF C) { return C == COLORREF(ColorToRGB(clWindow)); }));
  // Its page shown: the page item is a face bar without a frame, with the window-coloured arrow.
  M->SetActivePage(P->Page());
  Paint(M);
  EXPECT_EQ(Px(PR.Left, PR.Top + 5), Face);
  EXPECT_TRUE(Has(Rect(PR.Right - 5, PR.Top, PR.Right, PR.Bottom),
                  [](COLORREF C) { return C == COLORREF(ColorToRGB(clWindow)); }));
  // The page erases to the window colour.
  TBitmap PB;
  PB.SetSize(P->Page()->Width(), P->Page()->Height());
  P->Page()->Perform(WM_ERASEBKGND, WPARAM(PB.Canvas()->Handle()), 0);
  EXPECT_EQ(COLORREF(PB.Canvas()->Pixels(10, 10)) & 0xFFFFFF, COLORREF(ColorToRGB(clWindow)));
  EXPECT_EQ(M->Perform(WM_ERASEBKGND, WPARAM(PB.Canvas()->Handle()), 0), 1);
}

// A skin whose "appmenu" element is cut from a picture of flat colours, one per piece.
class AppMenuSkinned : public AppMenuDrawing {
 protected:
  static constexpr TColor Frame = TColor(RGB(0x40, 0x40, 0x40)), PageBack = TColor(RGB(0xFE, 0xFE, 0xFE)),
                          Item = TColor(RGB(0x20, 0x60, 0xC0)), PageItem = TColor(RGB(0x30, 0x90, 0x30)),
                          PageItemShown = TColor(RGB(0x90, 0x30, 0x30)), Back = TColor(RGB(0xC0, 0xC0, 0x10)),
                          BackHot = TColor(RGB(0x10, 0xC0, 0xC0)), Caption = TColor(RGB(0xA0, 0x00, 0xA0)),
                          Column = TColor(RGB(0xD0, 0xD8, 0xE0)), PageArea = TColor(RGB(0xB0, 0xB8, 0xC0));
  TbsDataSkinAppMenu* UseFlatAppMenuElement(bool WithColumnPicture = true) {
    auto Pic = SolidPicture(Frame, 200, 60);
    auto fill = [&](TColor C, const TRect& R) {
      Pic->Canvas()->Brush()->SetColor(C);
      Pic->Canvas()->FillRect(R);
    };
    fill(PageBack, Rect(2, 2, 38, 38));
    fill(Item, Rect(40, 0, 80, 20));
    fill(PageItem, Rect(80, 0, 120, 30));
    fill(PageItemShown, Rect(120, 0, 160, 30));
    fill(Back, Rect(160, 0, 180, 16));
    fill(BackHot, Rect(180, 0, 200, 16));
    fill(Caption, Rect(0, 40, 50, 60));
    Skin->AddPicture(std::move(Pic), "appmenu.bmp");
    auto* D = dynamic_cast<TbsDataSkinAppMenu*>(Skin->Ctrls(Skin->GetControlIndex("appmenu")));
    EXPECT_NE(D, nullptr);
    D->PictureIndex = Skin->PictureCount() - 1;
    SetUniformFrame(D, Rect(0, 0, 40, 40), 2);
    D->StretchEffect = true;
    D->StretchType = bsstFull;
    D->ItemRect = Rect(40, 0, 80, 20);
    D->PageItemRect = Rect(80, 0, 120, 30);
    D->PageItemActiveRect = Rect(120, 0, 160, 30);
    D->ItemOffset1 = D->ItemOffset2 = D->PageItemOffset1 = D->PageItemOffset2 = 3;
    D->FontName = "宋体";
    D->FontHeight = 12;
    D->FontPageHeight = 14;
    D->TopLineRect = D->GripperRect = D->CaptionRect = D->BackButtonRect = D->BackButtonActiveRect = TRect{};
    if (WithColumnPicture) {
      Skin->AddPicture(SolidPicture(Column, 10, 10), "column.bmp");
      D->BGPictureIndex = Skin->PictureCount() - 1;
    } else {
      D->BGPictureIndex = -1;
    }
    Skin->AddPicture(SolidPicture(PageArea, 10, 10), "pagearea.bmp");
    D->BGPagePictureIndex = Skin->PictureCount() - 1;
    return D;
  }
};

TEST_F(AppMenuSkinned, ItemsAndPagesAreCutFromTheElement) {
  UseFlatAppMenuElement();
  TbsAppMenu* M = NewMenu({"新建", "打开"});
  TbsAppMenuItem* P = AddPageItem(M, "最近");
  M->SetSkinData(Skin.get());
  M->SetBounds(0, 0, 500, 300);
  M->SetItemIndex(0);
  Paint(M);
  ASSERT_NE(M->Data(), nullptr);
  const TRect Sel = M->Items()->Items(0)->ItemRect, Plain = M->Items()->Items(1)->ItemRect;
  EXPECT_EQ(Sel.Bottom - Sel.Top, 20);
  EXPECT_EQ(Px(Sel.Left + 1, Sel.Top + 1), COLORREF(ColorToRGB(Item)));
  EXPECT_EQ(Px(Plain.Left + 1, Plain.Top + 1), COLORREF(ColorToRGB(Column)));
  EXPECT_EQ(Px(M->ItemWidth() + 10, 5), COLORREF(ColorToRGB(PageArea)));
  // The shown page's item wears the active piece and its page is framed by the element's border.
  const TRect PR = P->ItemRect;
  EXPECT_EQ(Px(PR.Left + 1, PR.Top + 1), COLORREF(ColorToRGB(PageItemShown)));
  const TRect PB = P->Page()->BoundsRect();
  EXPECT_EQ(Px(PB.Left - 1, PB.Top + 10), COLORREF(ColorToRGB(Frame)));
  EXPECT_EQ(Px(PB.Right, PB.Bottom), COLORREF(ColorToRGB(Frame)));
  // The page itself erases to the element's client piece.
  TBitmap B;
  B.SetSize(P->Page()->Width(), P->Page()->Height());
  P->Page()->Perform(WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0);
  EXPECT_EQ(COLORREF(B.Canvas()->Pixels(20, 20)) & 0xFFFFFF, COLORREF(ColorToRGB(PageBack)));
  // Scrolled above y 30 the page item is drawn plain even though its page is shown.
  M->SetScrollOffset(P->ItemRect.Top - 20);
  Paint(M);
  EXPECT_LT(P->ItemRect.Top, 30);
  EXPECT_NE(Px(P->ItemRect.Left + 1, P->ItemRect.Top + 1), COLORREF(ColorToRGB(PageItemShown)));
}

TEST_F(AppMenuSkinned, WithoutAColumnPictureThePageAreaIsStillTiled) {
  UseFlatAppMenuElement(false);
  TbsAppMenu* M = NewMenu({"新建"});
  M->SetSkinData(Skin.get());
  M->SetBounds(0, 0, 500, 300);
  Paint(M);
  EXPECT_EQ(Px(M->ItemWidth() + 3, 3), COLORREF(ColorToRGB(PageArea)));
  EXPECT_EQ(Px(M->Width() - 1, M->Height() - 1), COLORREF(ColorToRGB(PageArea)));
}

TEST_F(AppMenuSkinned, ABackButtonCoversTheFormAndItemsSlideUnderItsRow) {
  TbsDataSkinAppMenu* D = UseFlatAppMenuElement();
  D->BackButtonRect = Rect(160, 0, 180, 16);
  D->BackButtonActiveRect = Rect(180, 0, 200, 16);
  TbsAppMenu* M = NewMenu({"新建", "打开", "保存"});
  M->SetSkinData(Skin.get());
  // Without the ribbon's own element the menu opens under the button; once the ribbon is skinned, the
  // open menu covers the whole client area.
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  EXPECT_EQ(M->Top(), 25);
  Ribbon->SetSkinData(Skin.get());
  EXPECT_EQ(M->BoundsRect(), Rect(0, 0, Form->ClientWidth(), Form->ClientHeight()));
  M->CalcItemRects();
  EXPECT_EQ(M->BackButtonRect(), Rect(23, 3, 43, 19));
  EXPECT_EQ(M->Items()->Items(0)->ItemRect.Top, 16 + 5 + 7);
  EXPECT_EQ(M->GetContentHeight(), 16 + 5 + 7 + 3 * 20 + 1);
  Paint(M);
  EXPECT_EQ(Px(25, 5), COLORREF(ColorToRGB(Back)));
  // Hovered, it shows its active piece; released on, it closes the menu.
  wintest::MouseMove(ScreenPoint(M->Handle(), 30, 10));
  EXPECT_TRUE(M->BackButtonActive());
  Paint(M);
  EXPECT_EQ(Px(25, 5), COLORREF(ColorToRGB(BackHot)));
  // The chosen item scrolled up into the back button's row is not painted there.
  M->SetItemIndex(0);
  M->SetScrollOffset(15);
  Paint(M);
  EXPECT_EQ(M->Items()->Items(0)->ItemRect.Top, 13);
  EXPECT_EQ(Px(60, 19), COLORREF(ColorToRGB(Column)));
  EXPECT_EQ(Px(60, 22), COLORREF(ColorToRGB(Item)));
  Log.clear();
  ClickMenuAt(M, 30, 10);
  EXPECT_FALSE(M->Visible());
  EXPECT_EQ(Log, (std::vector<String>{"hiding", "close", "hide"}));
}

TEST_F(AppMenuSkinned, AnEmptyMenuOverTheWholeFormClosesByItsBackButton) {
  TbsDataSkinAppMenu* D = UseFlatAppMenuElement();
  D->BackButtonRect = Rect(160, 0, 180, 16);
  TbsAppMenu* M = NewMenu({});
  Ribbon->SetSkinData(Skin.get());
  M->SetSkinData(Skin.get());
  ClickAppButton();
  ASSERT_TRUE(M->Visible());
  // The menu hides the application button and the tabs; its back button is the mouse's way out.
  EXPECT_EQ(M->Top(), 0);
  M->Repaint();
  wintest::MouseMove(ScreenPoint(M->Handle(), 30, 10));
  ClickMenuAt(M, 30, 10);
  EXPECT_FALSE(M->Visible());
  ExpectNoGrab();
}

TEST_F(AppMenuSkinned, TheCaptionPictureIsOfferedToTheFormEngine) {
  TbsDataSkinAppMenu* D = UseFlatAppMenuElement();
  TbsAppMenu* M = NewMenu({"新建"});
  EXPECT_FALSE(M->CanDrawAppMenuCaption());
  EXPECT_EQ(M->GetAppMenuCaptionOffset(), 100);
  M->SetSkinData(Skin.get());
  EXPECT_FALSE(M->CanDrawAppMenuCaption());
  D->CaptionRect = Rect(0, 40, 50, 60);
  D->CaptionLeftOffset = 7;
  D->CaptionTopOffset = 4;
  EXPECT_TRUE(M->CanDrawAppMenuCaption());
  EXPECT_EQ(M->GetAppMenuCaptionOffset(), 107);
  TBitmap B;
  B.SetSize(200, 30);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 200, 30));
  M->DrawAppMenuCaption(B.Canvas(), Rect(0, 0, 100, 30));
  auto px = [&](Integer X, Integer Y) { return COLORREF(B.Canvas()->Pixels(X, Y)) & 0xFFFFFF; };
  EXPECT_EQ(px(8, 10), COLORREF(ColorToRGB(Caption)));
  EXPECT_EQ(px(105, 10), COLORREF(ColorToRGB(Caption)));
  EXPECT_EQ(px(5, 10), COLORREF(ColorToRGB(clWhite)));
  EXPECT_EQ(px(50, 2), COLORREF(ColorToRGB(clWhite)));
}

}  // namespace
