#include "skin/forms/mdi/bsskinmditabsbar.h"

#include <gtest/gtest.h>

#include "platform/rtl/convert.h"
#include "platform/ui/menus/menu.h"
#include "platform/win/mdi.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsbars.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

namespace {

// An MDI main form (the application's main form) whose engine knows a tabs bar along its top and a
// window menu; children are made on demand, each with its own engine.
class MDITabsBarTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBoundsRect(Rect(50, 50, 650, 450));
    Engine = new TbsSkinForm(Main);
    Bar = new TbsSkinMDITabsBar(Main);
    Bar->SetParent(Main);
    Bar->SetAlign(alTop);
    Bar->SetSkinForm(Engine);
    Engine->SetMDITabsBar(Bar);
    auto* Menu = new TMainMenu(Main);
    WindowMenu = new TMenuItem(Menu);
    WindowMenu->SetCaption("窗口");
    Menu->Items()->Add(WindowMenu);
    Main->SetWindowMenu(WindowMenu);
    Main->Show();
    wintest::Pump();
  }
  TForm* NewChild(const String& Name, const String& Caption = "") {
    auto* F = new TForm(Application);
    F->AfterConstruction();
    F->SetFormStyle(fsMDIChild);
    F->SetName(Name);
    F->SetCaption(Caption.empty() ? Name : Caption);
    F->SetBounds(10, 10, 200, 120);
    new TbsSkinForm(F);
    F->Show();
    wintest::Pump();
    return F;
  }
  void Paint() {
    Bar->Repaint();
    wintest::Pump();
  }
  std::vector<TCustomForm*> TabChildren() const {
    std::vector<TCustomForm*> R;
    for (Integer i = 0; i < Bar->TabCount(); ++i) R.push_back(Bar->Tabs(i)->Child);
    return R;
  }
  // The children's items of the window menu: caption and check mark.
  std::vector<std::pair<String, bool>> MenuItems() const {
    std::vector<std::pair<String, bool>> R;
    for (Integer i = 0; i < WindowMenu->Count(); ++i)
      R.emplace_back(WindowMenu->Items(i)->Caption(), WindowMenu->Items(i)->Checked());
    return R;
  }
  TPoint TabPoint(Integer Index, Integer DX = 0) const {
    const TRect& R = Bar->Tabs(Index)->ObjectRect;
    return Bar->ClientToScreen(Point(R.Left + RectWidth(R) / 2 + DX, R.Top + RectHeight(R) / 2));
  }
  void LayOut(Integer Width) {
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 0, Width, Bar->Height());
    Paint();
  }

  TForm* Main = nullptr;
  TbsSkinForm* Engine = nullptr;
  TbsSkinMDITabsBar* Bar = nullptr;
  TMenuItem* WindowMenu = nullptr;
};

using Items = std::vector<std::pair<String, bool>>;

}  // namespace

TEST_F(MDITabsBarTest, DefaultsWithoutASkin) {
  EXPECT_EQ(Bar->Height(), 21);
  EXPECT_EQ(Bar->SkinDataName(), "tab");
  EXPECT_EQ(Bar->DefaultTabWidth(), 100);
  EXPECT_EQ(Bar->MinTabWidth(), 0);
  EXPECT_EQ(Bar->TabKind(), bstkTab);
  EXPECT_TRUE(Bar->SupportChildMenus());
  EXPECT_TRUE(Bar->UseSkinSize());
  EXPECT_TRUE(Bar->UseSkinFont());
  EXPECT_TRUE(Bar->MoveTabs());
  EXPECT_FALSE(Bar->ShowCloseButtons());
  EXPECT_FALSE(Bar->ShowAddButton());
  EXPECT_FALSE(Bar->ShowChildIcon());
  EXPECT_FALSE(Bar->DblClickChildMove());
  EXPECT_EQ(Bar->DefaultFont()->Name(), "Tahoma");
  EXPECT_EQ(Bar->DefaultFont()->Height(), 13);
  EXPECT_EQ(Bar->GetCloseSize(), 14);
  EXPECT_EQ(Bar->ListButton(), nullptr) << "no list button without tabs";
}

TEST_F(MDITabsBarTest, TabsAndMenuItemsFollowChildrenShownActivatedRenamedAndHidden) {
  TForm* A = NewChild("DocA", "文件 A");
  TForm* B = NewChild("DocB");
  TForm* C = NewChild("DocC");
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{A, B, C}));
  ASSERT_NE(Bar->ListButton(), nullptr);
  EXPECT_EQ(Bar->ListButton()->Align(), alLeft);
  EXPECT_EQ(Bar->ListButton()->Width(), 15);
  EXPECT_EQ(WindowMenu->Items(0)->Name(), "DocA_BSFCHILDITEM");
  EXPECT_EQ(MenuItems(), (Items{{"文件 A", false}, {"DocB", false}, {"DocC", true}}));
  EXPECT_TRUE(Bar->Tabs(2)->Active);
  EXPECT_FALSE(Bar->Tabs(0)->Active);

  SendMessage(Main->ClientHandle(), WM_MDIACTIVATE, WPARAM(A->Handle()), 0);
  wintest::Pump();
  ASSERT_EQ(Main->ActiveMDIChild(), A);
  EXPECT_TRUE(Bar->Tabs(0)->Active);
  EXPECT_FALSE(Bar->Tabs(2)->Active);
  EXPECT_EQ(MenuItems(), (Items{{"文件 A", true}, {"DocB", false}, {"DocC", false}}));

  // A new caption reaches the menu and the drawn tab.
  TbsMDITab* Drawn = nullptr;
  String DrawnCaption;
  Bar->OnTabGetDrawParamsEvent = [&](TbsMDITab* T, TCanvas*) {
    Drawn = T;
    DrawnCaption = T->Child->Caption();
  };
  B->SetCaption("改名");
  EXPECT_EQ(MenuItems()[1].first, "改名");
  EXPECT_EQ(Drawn, Bar->Tabs(1));
  EXPECT_EQ(DrawnCaption, "改名");

  B->Hide();
  wintest::Pump();
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{A, C}));
  EXPECT_EQ(MenuItems(), (Items{{"文件 A", true}, {"DocC", false}}));
}

TEST_F(MDITabsBarTest, ClosedAndFreedChildrenLeaveTheBarAndTheMenu) {
  TForm* A = NewChild("DocA");
  TForm* B = NewChild("DocB");
  A->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
  A->Close();
  wintest::Pump();
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{B}));
  EXPECT_EQ(MenuItems(), (Items{{"DocB", true}}));
  // Freed while shown, never hidden, and without its engine to tell the bar: no tab is left pointing
  // at it.
  delete GetSkinFormOf(B);
  EXPECT_EQ(Bar->TabCount(), 1);
  delete B;
  wintest::Pump();
  EXPECT_EQ(Bar->TabCount(), 0);
  EXPECT_EQ(WindowMenu->Count(), 0);
  EXPECT_EQ(Bar->ListButton(), nullptr);
  Paint();
}

TEST_F(MDITabsBarTest, RefusedChildStaysInTheMenuButOffTheBar) {
  auto* F = new TForm(Application);
  F->AfterConstruction();
  F->SetFormStyle(fsMDIChild);
  F->SetName("Hidden");
  auto* S = new TbsSkinForm(F);
  S->OnAcceptToMDITabsBar = [](bool& Accept) { Accept = false; };
  F->Show();
  wintest::Pump();
  EXPECT_EQ(Bar->TabCount(), 0);
  EXPECT_EQ(WindowMenu->Count(), 1);
}

TEST_F(MDITabsBarTest, ClickOnATabActivatesItsChild) {
  TForm* A = NewChild("DocA");
  NewChild("DocB");
  Paint();
  ASSERT_NE(Main->ActiveMDIChild(), A);
  wintest::Click(TabPoint(0));
  wintest::Pump();
  EXPECT_EQ(Main->ActiveMDIChild(), A);
  EXPECT_TRUE(Bar->Tabs(0)->Active);
  // A child minimized by its engine is restored as well.
  GetSkinFormOf(A)->SetWindowState(wsMinimized);
  wintest::Click(TabPoint(1));
  wintest::Click(TabPoint(0));
  wintest::Pump();
  EXPECT_EQ(GetSkinFormOf(A)->WindowState(), wsNormal);
  EXPECT_EQ(Main->ActiveMDIChild(), A);
}

TEST_F(MDITabsBarTest, LayoutTable) {
  struct Case {
    Integer Width, Tabs, MinTabWidth;
    Integer TabWidth, LastRight, Hidden;
  };
  const Case Cases[] = {
      {400, 5, 0, 77, 400, 0},    // (400 - 15) div 5, the last stretched to the end
      {600, 2, 0, 100, 215, 0},   // capped at DefaultTabWidth, not stretched
      {400, 10, 80, 80, 335, 6},  // (400 - 30) div 80 = 4 fit
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Width * 100 + C.Tabs);
    Bar->SetMinTabWidth(C.MinTabWidth);
    for (Integer i = 0; i < C.Tabs; ++i) NewChild("Doc" + IntToStr(i));
    LayOut(C.Width);
    EXPECT_EQ(Bar->InVisibleCount(), C.Hidden);
    EXPECT_EQ(Bar->Tabs(0)->ObjectRect, Rect(15, 0, 15 + C.TabWidth, Bar->Height()));
    const Integer Last = C.Tabs - 1 - C.Hidden;
    EXPECT_EQ(Bar->Tabs(Last)->ObjectRect.Right, C.LastRight);
    if (C.Hidden > 0) {
      EXPECT_FALSE(Bar->Tabs(Last + 1)->Visible);
      EXPECT_TRUE(IsEmptyRect(Bar->Tabs(Last + 1)->ObjectRect));
      ASSERT_NE(Bar->HideListButton(), nullptr);
      EXPECT_EQ(Bar->HideListButton()->Align(), alRight);
      EXPECT_EQ(Bar->HideListButton()->Left(), C.Width - 15);
      Bar->FillHideListMenu();
      EXPECT_EQ(Bar->HideListMenu()->Items()->Count(), C.Hidden);
      EXPECT_EQ(Bar->HideListMenu()->Items()->Items(0)->Name(), "Doc4_BSFCHILDITEMBARHIDE");
    } else {
      EXPECT_EQ(Bar->HideListButton(), nullptr);
    }
    Engine->CloseAll();
    for (TCustomForm* C : MDIChildrenOf(Main)) delete C;
    wintest::Pump();
    ASSERT_EQ(Bar->TabCount(), 0);
  }
  // Without tabs the hide-list button goes at the next painting.
  Paint();
  EXPECT_EQ(Bar->HideListButton(), nullptr);
}

TEST_F(MDITabsBarTest, CloseButtonClosesTheChildUnderIt) {
  Bar->SetShowCloseButtons(true);
  TForm* A = NewChild("DocA");
  NewChild("DocB");
  A->OnClose = [](TObject*, TCloseAction& Action) { Action = caHide; };
  Paint();
  TbsMDITab* T = Bar->Tabs(0);
  ASSERT_FALSE(IsEmptyRect(T->ButtonRect));
  const TPoint Close =
      Bar->ClientToScreen(Point(T->ObjectRect.Left + (T->ButtonRect.Left + T->ButtonRect.Right) / 2,
                                T->ObjectRect.Top + (T->ButtonRect.Top + T->ButtonRect.Bottom) / 2));
  // Pressed elsewhere on the tab (too little of a drag to move it), released over its close button:
  // the child closes all the same.
  wintest::MouseDown(TabPoint(0, 10));
  wintest::MouseMove(Close);
  wintest::MouseUp(Close);
  wintest::Pump();
  EXPECT_FALSE(A->Visible());
  EXPECT_EQ(Bar->TabCount(), 1);
}

TEST_F(MDITabsBarTest, DraggingATabPastItsNeighbourMovesIt) {
  TForm* A = NewChild("DocA");
  TForm* B = NewChild("DocB");
  TForm* C = NewChild("DocC");
  Paint();
  const Integer W = RectWidth(Bar->Tabs(0)->ObjectRect);
  // Points along the row, taken before anything moves.
  const TPoint P0 = TabPoint(0);
  auto along = [&](Integer DX) { return Point(P0.X + DX, P0.Y); };
  // Less than half a neighbour: nothing changes.
  wintest::MouseDown(P0);
  wintest::MouseMove(along(W / 2 - 5));
  wintest::MouseUp(along(W / 2 - 5));
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{A, B, C}));
  // Past the middle of the next tab: the dragged tab takes its place.
  wintest::MouseDown(P0);
  wintest::MouseMove(along(W / 2 + 3));
  wintest::MouseMove(along(W / 2 + 5));
  EXPECT_EQ(Bar->Tabs(0)->ObjectRect.Left, 15 + W / 2 + 5) << "the dragged tab follows the mouse";
  // While dragged, an inverted insertion mark stands at the right edge of the tab it would follow.
  const Integer MarkX = Bar->Tabs(1)->ObjectRect.Right;
  EXPECT_EQ(PixelOf(Bar, MarkX, 2), BtnFaceRGB() ^ 0xFFFFFF);
  EXPECT_EQ(PixelOf(Bar, MarkX + 2, 2), BtnFaceRGB());
  wintest::MouseUp(along(W / 2 + 5));
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{B, A, C}));
  EXPECT_EQ(Bar->Tabs(1)->ObjectRect.Left, 15 + W) << "back in its slot";
  // With MoveTabs off a drag does nothing.
  Bar->SetMoveTabs(false);
  wintest::MouseDown(P0);
  wintest::MouseMove(along(2 * W));
  wintest::MouseUp(along(2 * W));
  EXPECT_EQ(TabChildren(), (std::vector<TCustomForm*>{B, A, C}));
}

TEST_F(MDITabsBarTest, HoverEventsAndTheAddButton) {
  Bar->SetShowAddButton(true);
  NewChild("DocA");
  NewChild("DocB");
  Paint();
  std::vector<String> Log;
  Bar->OnTabMouseEnter = [&](TbsMDITab* T) { Log.push_back("enter " + T->Child->Name()); };
  Bar->OnTabMouseLeave = [&](TbsMDITab* T) { Log.push_back("leave " + T->Child->Name()); };
  Integer Added = 0;
  Bar->OnAddButtonClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Bar);
    ++Added;
  };
  wintest::MouseMove(TabPoint(0));
  wintest::MouseMove(TabPoint(1));
  EXPECT_TRUE(Bar->Tabs(1)->MouseIn);
  EXPECT_FALSE(Bar->Tabs(0)->MouseIn);
  const TRect AR = Bar->AddButtonRect();
  EXPECT_EQ(AR.Left, Bar->Tabs(1)->ObjectRect.Right + 2);
  const TPoint Add = Bar->ClientToScreen(Point(AR.Left + 5, AR.Top + 5));
  wintest::MouseMove(Add);
  EXPECT_EQ(Log, (std::vector<String>{"enter DocA", "leave DocA", "enter DocB", "leave DocB"}));
  wintest::Click(Add);
  EXPECT_EQ(Added, 1);
}

TEST_F(MDITabsBarTest, ListMenuListsEveryChildAndShowsTheChosenOne) {
  TForm* A = NewChild("DocA");
  NewChild("DocB");
  Bar->FillListMenu();
  TMenuItem* Root = Bar->ListMenu()->Items();
  ASSERT_EQ(Root->Count(), 2);
  EXPECT_EQ(Root->Items(0)->Name(), "DocA_BSFCHILDITEMBAR");
  EXPECT_FALSE(Root->Items(0)->Checked());
  EXPECT_TRUE(Root->Items(1)->Checked());
  EXPECT_TRUE(Root->Items(1)->RadioItem());
  Root->Items(0)->Click();
  wintest::Pump();
  EXPECT_EQ(Main->ActiveMDIChild(), A);
  // Without a form engine the list does nothing.
  Bar->SetSkinForm(nullptr);
  Bar->FillListMenu();
  Bar->ListMenu()->Items()->Items(1)->Click();
  wintest::Pump();
  EXPECT_EQ(Main->ActiveMDIChild(), A);
}

TEST_F(MDITabsBarTest, RightClickOpensTheChildsSystemMenu) {
  TForm* A = NewChild("DocA");
  Paint();
  wintest::Click(TabPoint(0), TInputButton::Right);
  EXPECT_TRUE(Engine->SkinMenu()->Visible());
  EXPECT_TRUE(Engine->SkinMenu()->Shows(GetSkinFormOf(A)->GetSystemMenuItems()));
  Engine->SkinMenu()->Hide();
  wintest::Pump();  // the closed level is freed after the handlers
}

TEST_F(MDITabsBarTest, WindowMenuItemChosenRestoresAndActivatesItsChild) {
  TForm* A = NewChild("DocA");
  NewChild("DocB");
  GetSkinFormOf(A)->SetWindowState(wsMinimized);
  wintest::Pump();
  WindowMenu->Items(0)->Click();
  wintest::Pump();
  EXPECT_EQ(GetSkinFormOf(A)->WindowState(), wsNormal);
  EXPECT_EQ(Main->ActiveMDIChild(), A);
  EXPECT_EQ(MenuItems(), (Items{{"DocA", true}, {"DocB", false}}));
}

TEST_F(MDITabsBarTest, DefaultLookShowsTheActiveAndHoveredTabs) {
  NewChild("DocA");
  NewChild("DocB");
  Paint();
  auto at = [&](Integer I) {
    const TRect& R = Bar->Tabs(I)->ObjectRect;
    return PixelOf(Bar, R.Left + 1, R.Top + 1);
  };
  EXPECT_EQ(at(1), COLORREF(0xE4BCA2)) << "active: RGB(162, 188, 228)";
  EXPECT_EQ(at(0), BtnFaceRGB());
  wintest::MouseMove(TabPoint(0));
  wintest::Pump();
  EXPECT_EQ(at(0), COLORREF(0xF3D4C1)) << "hovered: RGB(193, 212, 243)";
}

TEST_F(MDITabsBarTest, SkinnedBarTakesItsHeightAndLookFromTheTabElement) {
  auto* R = dynamic_cast<TbsDataSkinTabControl*>(Skin->Ctrls(Skin->GetControlIndex("tab")));
  ASSERT_NE(R, nullptr);
  R->TabsBGRect = R->SkinRect;
  Bar->SetSkinData(Skin.get());
  // The tab picture's height and the strip under the tabs (the element's client top).
  EXPECT_EQ(Bar->Height(), RectHeight(R->TabRect) + R->ClRect.Top);
  NewChild("DocA");
  NewChild("DocB");
  Paint();
  const TRect& Active = Bar->Tabs(1)->ObjectRect;
  EXPECT_EQ(RectHeight(Active), RectHeight(R->TabRect));
  // The active tab's picture (the element's down cell) at its top-left corner.
  EXPECT_EQ(PixelOf(Bar, Active.Left + 1, 1), SliceColor("tab", 2, 0));
  EXPECT_EQ(PixelOf(Bar, Bar->Tabs(0)->ObjectRect.Left + 1, 1), SliceColor("tab", 1, 0));
  // The skin without the element: the default look at the default height.
  Bar->SetSkinDataName("notab");
  Bar->ChangeSkinData();
  EXPECT_EQ(Bar->Height(), 21);
  EXPECT_EQ(Bar->GetCloseSize(), 14);
}

TEST_F(MDITabsBarTest, ThreeHundredChildrenComeAndGo) {
  Bar->SetMinTabWidth(60);
  for (Integer i = 0; i < 300; ++i) NewChild("Doc" + IntToStr(i));
  Paint();
  ASSERT_EQ(Bar->TabCount(), 300);
  EXPECT_EQ(WindowMenu->Count(), 300);
  EXPECT_GT(Bar->InVisibleCount(), 280);
  ASSERT_NE(Bar->HideListButton(), nullptr);
  Bar->FillHideListMenu();
  EXPECT_EQ(Bar->HideListMenu()->Items()->Count(), Bar->InVisibleCount());
  // Without a minimum the tabs shrink to nothing and the bar still paints and hit-tests.
  Bar->SetMinTabWidth(0);
  Paint();
  EXPECT_EQ(Bar->InVisibleCount(), 0);
  wintest::MouseMove(Bar->ClientToScreen(Point(100, 5)));
  for (TCustomForm* C : MDIChildrenOf(Main)) delete C;
  wintest::Pump();
  EXPECT_EQ(Bar->TabCount(), 0);
  EXPECT_EQ(WindowMenu->Count(), 0);
}

TEST_F(MDITabsBarTest, DoubleClickMovesANormalChildToTheCorner) {
  TForm* A = NewChild("DocA");
  A->SetBounds(30, 40, 200, 120);
  Paint();
  wintest::Click(TabPoint(0));
  wintest::Click(TabPoint(0));
  EXPECT_EQ(A->BoundsRect(), Bounds(30, 40, 200, 120)) << "off by default";
  Bar->SetDblClickChildMove(true);
  wintest::Click(TabPoint(0));
  wintest::Click(TabPoint(0));
  EXPECT_EQ(A->BoundsRect(), Bounds(0, 0, 200, 120));
}

TEST_F(MDITabsBarTest, ChildIconIsDrawnAheadOfTheCaption) {
  NewChild("DocA");
  Paint();
  const TRect R = Bar->Tabs(0)->ObjectRect;
  auto iconArea = [&] {
    std::vector<COLORREF> P;
    for (Integer X = R.Left + 2; X < R.Left + 22; ++X) P.push_back(PixelOf(Bar, X, RectHeight(R) / 2));
    return P;
  };
  const std::vector<COLORREF> Plain = iconArea();
  EXPECT_TRUE(std::all_of(Plain.begin(), Plain.end(), [](COLORREF C) { return C == COLORREF(0xE4BCA2); }));
  Bar->SetShowChildIcon(true);
  wintest::Pump();
  EXPECT_NE(iconArea(), Plain) << "the application's icon in the first 20 pixels";
}

TEST_F(MDITabsBarTest, SkinnedTabStylesTable) {
  auto* R = dynamic_cast<TbsDataSkinTabControl*>(Skin->Ctrls(Skin->GetControlIndex("tab")));
  ASSERT_NE(R, nullptr);
  R->TabsBGRect = R->SkinRect;
  struct Case {
    const char* Name;
    TbsSkinMDITabKind Kind;
    bool UseSkinSize;
    Integer Height;       // of the bar
    const char* Element;  // whose pictures the tabs show
  };
  const Integer TabH = RectHeight(R->TabRect), Strip = R->ClRect.Top;
  const Case Cases[] = {
      {"fixed-size tab pictures", bstkTab, true, TabH + Strip, "tab"},
      {"tab pictures stretched to the bar", bstkTab, false, 21, "tab"},
      {"button tabs", bstkButton, true, TabH, "resizebutton"},
  };
  NewChild("DocA");
  NewChild("DocB");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Bar->SetTabKind(C.Kind);
    Bar->SetUseSkinSize(C.UseSkinSize);
    Bar->SetSkinData(Skin.get());
    EXPECT_EQ(Bar->Height(), C.Height);
    Paint();
    // Top-left corner of each tab: the active child's in the down state, the other in the normal one
    // (a tab picture's normal state is the element's active cell).
    const TRect A = Bar->Tabs(1)->ObjectRect, N = Bar->Tabs(0)->ObjectRect;
    const bool TabPictures = String(C.Element) == "tab";
    EXPECT_EQ(PixelOf(Bar, A.Left + 1, A.Top + 1), SliceColor(C.Element, 2, 0));
    EXPECT_EQ(PixelOf(Bar, N.Left + 1, N.Top + 1), SliceColor(C.Element, TabPictures ? 1 : 0, 0));
  }
}

TEST_F(MDITabsBarTest, SkinWithoutABackgroundStripPaintsAPlainBackground) {
  // The tiling would have no step: the bar's face stays plain and the tabs are drawn all the same.
  Bar->SetSkinData(Skin.get());
  NewChild("DocA");
  Paint();
  const TRect T = Bar->Tabs(0)->ObjectRect;
  EXPECT_EQ(PixelOf(Bar, Bar->Width() - 3, 2), BtnFaceRGB());
  EXPECT_EQ(PixelOf(Bar, T.Left + 1, T.Top + 1), SliceColor("tab", 2, 0));
}
