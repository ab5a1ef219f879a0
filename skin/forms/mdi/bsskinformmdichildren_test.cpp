#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/rtl/convert.h"
#include "platform/ui/extctrls/panel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

// An MDI main form (the application's main form, 600 x 400 outside) whose engine arranges children
// that each carry an engine.
class MDIChildrenTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBoundsRect(Rect(50, 50, 650, 450));
    Engine = new TbsSkinForm(Main);
    Main->Show();
  }
  // N shown children, the first made first (so last in the children's order).
  void MakeChildren(Integer N, TFormBorderStyle BS = bsSizeable) {
    for (Integer i = 0; i < N; ++i) {
      auto* F = new TForm(Application);
      F->AfterConstruction();
      F->SetFormStyle(fsMDIChild);
      F->SetBorderStyle(BS);
      F->SetName("Child" + IntToStr(i));
      F->SetBounds(5 * i, 5 * i, 150, 100);
      new TbsSkinForm(F);
      F->Show();
    }
    wintest::Pump();
  }
  TRect Area() const {
    TRect R;
    Engine->GetMDIClientRect(R);
    return R;
  }
  TRect At(Integer I) const { return Main->MDIChildren(I)->BoundsRect(); }

  TForm* Main = nullptr;
  TbsSkinForm* Engine = nullptr;
};

}  // namespace

TEST_F(MDIChildrenTest, OneChildTilesAndCascadesOverTheWholeArea) {
  MakeChildren(1);
  const Integer AW = Area().Width(), AH = Area().Height();
  for (TTileMode M : {tbHorizontal, tbVertical}) {
    Engine->SetTileMode(M);
    Engine->Tile();
    EXPECT_EQ(At(0), Rect(0, 0, AW, AH)) << int(M);
  }
  Main->MDIChildren(0)->SetBounds(10, 10, 100, 100);
  Engine->Cascade();
  EXPECT_EQ(At(0), Rect(0, 0, AW, AH));
}

TEST_F(MDIChildrenTest, FiveChildrenTiledHorizontallyFillTheRightColumnFirst) {
  MakeChildren(5);
  const Integer AW = Area().Width(), AH = Area().Height(), w = AW / 2;
  Engine->Tile();
  // Children 4, 3, 2 in the right column (thirds, from the bottom), 1 and 0 in the left one (halves).
  EXPECT_EQ(At(4), Bounds(AW - w, AH - AH / 3, w, AH / 3));
  EXPECT_EQ(At(3), Bounds(AW - w, AH - 2 * (AH / 3), w, AH / 3));
  EXPECT_EQ(At(2), Bounds(AW - w, std::max(AH - 3 * (AH / 3), 0), w, AH / 3));
  EXPECT_EQ(At(1), Bounds(AW - 2 * w, AH - AH / 2, w, AH / 2));
  EXPECT_EQ(At(0), Bounds(AW - 2 * w, AH - 2 * (AH / 2), w, AH / 2));
}

TEST_F(MDIChildrenTest, FiveChildrenTiledVerticallyFillTheLeftColumnFirst) {
  MakeChildren(5);
  const Integer AW = Area().Width(), AH = Area().Height(), w = AW / 2;
  Engine->SetTileMode(tbVertical);
  Engine->Tile();
  EXPECT_EQ(At(0), Bounds(0, 0, w, AH / 2));
  EXPECT_EQ(At(1), Bounds(0, AH / 2, w, AH / 2));
  for (Integer i = 2; i < 5; ++i) EXPECT_EQ(At(i), Bounds(w, (i - 2) * (AH / 3), w, AH / 3)) << i;
}

TEST_F(MDIChildrenTest, AlignedBarsShrinkTheArrangementArea) {
  auto* Top = new TPanel(Main);
  Top->SetParent(Main);
  Top->SetAlign(alTop);
  Top->SetHeight(30);
  auto* Hidden = new TPanel(Main);
  Hidden->SetParent(Main);
  Hidden->SetAlign(alLeft);
  Hidden->SetWidth(40);
  Hidden->SetVisible(false);
  MakeChildren(1);
  EXPECT_EQ(Area(), Rect(0, 30, Main->ClientWidth(), Main->ClientHeight()));
  Engine->Tile();
  EXPECT_EQ(At(0), Rect(0, 0, Main->ClientWidth(), Main->ClientHeight() - 30));
}

TEST_F(MDIChildrenTest, CascadeStepsByTheCaptionAndKeepsFixedSizes) {
  MakeChildren(3);
  TCustomForm* Fixed = Main->MDIChildren(1);
  Fixed->SetBorderStyle(bsSingle);
  Fixed->SetBounds(0, 0, 120, 90);
  const Integer AW = Area().Width(), AH = Area().Height();
  // The default look: a 19-pixel caption and 3-pixel border.
  const Integer s = 22, k = (AW - Integer(std::nearbyint(AW * 0.8))) / s;
  ASSERT_GT(k, 3);
  // The order in force when cascading (a new border style may have moved the child in it).
  std::vector<TCustomForm*> Kids;
  for (Integer i = 0; i < 3; ++i) Kids.push_back(Main->MDIChildren(i));
  Engine->Cascade();
  for (Integer i = 2, o = 0; i >= 0; --i, o += s) {
    const bool IsFixed = Kids[size_t(i)] == Fixed;
    EXPECT_EQ(Kids[size_t(i)]->BoundsRect(),
              Bounds(o, o, IsFixed ? 120 : AW - 2 * s, IsFixed ? 90 : AH - 2 * s))
        << i << (IsFixed ? " (a fixed border keeps its size)" : "");
  }
}

TEST_F(MDIChildrenTest, CascadeWrapsWhenTheNextWindowWouldLeaveTheArea) {
  MakeChildren(3, bsSingle);
  const Integer AH = Area().Height();
  // Fixed children as high as the area less one step: the second would stick out and starts over.
  for (Integer i = 0; i < 3; ++i) Main->MDIChildren(i)->SetBounds(0, 0, 100, AH - 22);
  Engine->Cascade();
  EXPECT_EQ(At(2).TopLeft(), Point(0, 0));
  EXPECT_EQ(At(1).TopLeft(), Point(22, 22));
  EXPECT_EQ(At(0).TopLeft(), Point(0, 0));
}

TEST_F(MDIChildrenTest, MaximizingOneMaximizesAllAndRestoringOneRestoresAll) {
  MakeChildren(3);
  TbsSkinForm* NoMax = GetSkinFormOf(Main->MDIChildren(2));
  NoMax->SetBorderIcons(NoMax->BorderIcons() - TbsBorderIcons{TbsBorderIcon::biMaximize});
  TbsSkinForm* First = GetSkinFormOf(Main->MDIChildren(0));
  First->SetWindowState(wsMaximized);
  wintest::Pump();
  EXPECT_TRUE(Engine->GetMDIChildMaximized());
  EXPECT_EQ(GetSkinFormOf(Main->MDIChildren(1))->WindowState(), wsMaximized);
  EXPECT_EQ(NoMax->WindowState(), wsNormal) << "a child without a maximize button stays";
  First->SetWindowState(wsNormal);
  wintest::Pump();
  EXPECT_FALSE(Engine->GetMDIChildMaximized());
  for (Integer i = 0; i < 3; ++i)
    EXPECT_EQ(GetSkinFormOf(Main->MDIChildren(i))->WindowState(), wsNormal) << i;
}

TEST_F(MDIChildrenTest, MinimizedChildrenLineUpAlongTheBottomOfTheArea) {
  MakeChildren(2);
  Engine->MinimizeAll();
  wintest::Pump();
  const Integer AH = Area().Height();
  TCustomForm *A = Main->MDIChildren(0), *B = Main->MDIChildren(1);
  EXPECT_EQ(GetSkinFormOf(A)->WindowState(), wsMinimized);
  EXPECT_EQ(GetSkinFormOf(B)->WindowState(), wsMinimized);
  const Integer w = GetSkinFormOf(A)->GetMinWidth(), h = GetSkinFormOf(A)->GetMinHeight();
  std::set<std::pair<Integer, Integer>> Slots{{A->Left(), A->Top()}, {B->Left(), B->Top()}};
  EXPECT_EQ(Slots, (std::set<std::pair<Integer, Integer>>{{0, AH - h}, {w, AH - h}}));
  EXPECT_EQ(A->Height(), h);
  Engine->RestoreAll();
  EXPECT_EQ(GetSkinFormOf(A)->WindowState(), wsNormal);
  EXPECT_EQ(A->Height(), 100);
}

TEST_F(MDIChildrenTest, WithoutScrollBarsMinimizedChildrenFollowTheAreasBottom) {
  Engine->SetShowMDIScrollBars(false);
  MakeChildren(1);
  TCustomForm* C = Main->MDIChildren(0);
  GetSkinFormOf(C)->SetWindowState(wsMinimized);
  const Integer h = GetSkinFormOf(C)->GetMinHeight();
  ASSERT_EQ(C->Top(), Area().Height() - h);
  Main->SetHeight(Main->Height() + 50);
  wintest::Pump();
  EXPECT_EQ(C->Top(), Area().Height() - h);
  EXPECT_EQ(C->Left(), 0);
}

TEST_F(MDIChildrenTest, CloseAllClosesEveryChild) {
  MakeChildren(3);
  std::vector<String> Closed;
  for (Integer i = 0; i < 3; ++i) {
    TCustomForm* C = Main->MDIChildren(i);
    C->OnClose = [&Closed, C](TObject*, TCloseAction& Action) {
      Closed.push_back(C->Name());
      Action = caFree;
    };
  }
  Engine->CloseAll();
  wintest::Pump();
  EXPECT_EQ(Closed, (std::vector<String>{"Child0", "Child1", "Child2"}))
      << "from the last index to the first";
  EXPECT_EQ(Main->MDIChildCount(), 0);
}

TEST_F(MDIChildrenTest, CommandsOnAFormWithoutChildrenOrNotMDIDoNothing) {
  Engine->Tile();
  Engine->Cascade();
  Engine->RestoreAll();
  TForm* Plain = NewForm(Rect(0, 0, 200, 150));
  auto* E = new TbsSkinForm(Plain);
  E->Tile();
  E->CloseAll();
  EXPECT_TRUE(Plain->Visible());
  EXPECT_EQ(Plain->BoundsRect(), Rect(0, 0, 200, 150));
}
