#include "skin/controls/base/bsskincontrol.h"

#include <gtest/gtest.h>

#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

// The generated skin's "button" cell is 48 x 24 at (0, 0) of picture 0 with 6-pixel corners.
constexpr Integer CellW = 48, CellH = 24;

// A record under Name with the button cell's picture and the given corner points.
TbsDataSkinCustomControl* AddProbe(TbsSkinData* Skin, const String& Name, TPoint LT, TPoint RT, TPoint LB,
                                   TPoint RB, TRect Cl = Rect(6, 6, 42, 18)) {
  auto R = std::make_unique<TbsDataSkinCustomControl>(Name);
  R->PictureIndex = 0;
  R->SkinRect = Rect(0, 0, CellW, CellH);
  R->LTPoint = LT;
  R->RTPoint = RT;
  R->LBPoint = LB;
  R->RBPoint = RB;
  R->ClRect = Cl;
  R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
  R->StretchEffect = true;
  auto* Raw = R.get();
  Skin->AddCtrl(std::move(R));
  return Raw;
}

void AddModeProbes(TbsSkinData* Skin) {
  AddProbe(Skin, "fixed", {0, 0}, {0, 0}, {0, 0}, {0, 0});
  AddProbe(Skin, "nine", {6, 6}, {42, 6}, {6, 18}, {42, 18});
  AddProbe(Skin, "hthree", {6, 0}, {42, 0}, {0, 0}, {0, 0});
  AddProbe(Skin, "vthree", {0, 6}, {0, 0}, {0, 18}, {0, 0});
}

class SkinControlBase : public TSkinControlTest {};

// ---- geometry ----

TEST(SkinGeometry, ResizeModeFollowsTheCornerPointsInOrder) {
  struct Case {
    TRect SkinRect;
    TPoint RT, LB, RB;
    Integer Mode;
  } Cases[] = {
      {Rect(0, 0, 0, 10), {5, 0}, {0, 5}, {5, 5}, -1},   // empty element wins over everything
      {Rect(0, 0, 10, -1), {5, 0}, {0, 5}, {5, 5}, -1},  // negative height
      {Rect(0, 0, 10, 10), {5, 0}, {0, 5}, {5, 5}, 1},   // both coordinates of RB set
      {Rect(0, 0, 10, 10), {5, 0}, {0, 5}, {5, 0}, 2},   // RB half set: RT decides
      {Rect(0, 0, 10, 10), {0, 3}, {0, 5}, {0, 0}, 2},   // RT with only Y
      {Rect(0, 0, 10, 10), {0, 0}, {2, 0}, {0, 7}, 3},   // LB with only X
      {Rect(0, 0, 10, 10), {0, 0}, {0, 0}, {0, 0}, 0},
  };
  for (const auto& C : Cases) {
    TbsSkinGeometry G;
    G.SkinRect = C.SkinRect;
    G.RTPt = C.RT;
    G.LBPt = C.LB;
    G.RBPt = C.RB;
    EXPECT_EQ(G.GetResizeMode(), C.Mode) << C.RT.X << "," << C.RT.Y << " " << C.RB.X << "," << C.RB.Y;
  }
}

TEST(SkinGeometry, PartRectsFollowTheEdgesTheyBelongTo) {
  TbsSkinGeometry G;
  G.SkinRect = Rect(0, 0, 48, 24);
  G.LTPt = {6, 6};
  G.RTPt = {42, 6};
  G.LBPt = {6, 18};
  G.RBPt = {42, 18};
  G.ResizeMode = 1;
  // The control is 20 wider and 10 taller than the element.
  struct Case {
    TRect In, Out;
  } Nine[] = {
      {Rect(1, 1, 5, 5), Rect(1, 1, 5, 5)},          // inside the left-top corner
      {Rect(43, 1, 47, 5), Rect(63, 1, 67, 5)},      // right-top corner follows the right edge
      {Rect(1, 19, 5, 23), Rect(1, 29, 5, 33)},      // left-bottom follows the bottom
      {Rect(43, 19, 47, 23), Rect(63, 29, 67, 33)},  // right-bottom follows both
      {Rect(2, 2, 44, 20), Rect(2, 2, 64, 30)},      // left-top to right-bottom grows both ways
      {Rect(2, 0, 44, 5), Rect(2, 0, 64, 5)},        // across the top grows in width
      {Rect(2, 19, 44, 22), Rect(2, 29, 64, 32)},    // across the bottom grows and moves down
      {Rect(1, 2, 5, 20), Rect(1, 2, 5, 30)},        // down the left side grows in height
      {Rect(43, 2, 47, 20), Rect(63, 2, 67, 30)},    // down the right side moves right and grows
      {Rect(10, 8, 20, 12), Rect(10, 8, 20, 12)},    // in the middle: unchanged
  };
  for (const auto& C : Nine) {
    TRect Out;
    G.GetNewPartRect(C.In, Out, 68, 34);
    EXPECT_EQ(Out, C.Out) << C.In.Left << "," << C.In.Top << "," << C.In.Right << "," << C.In.Bottom;
  }
  G.ResizeMode = 2;
  G.RTPt = {42, 0};
  TRect Out;
  G.GetNewPartRect(Rect(2, 0, 44, 24), Out, 68, 24);
  EXPECT_EQ(Out, Rect(2, 0, 64, 24));
  G.GetNewPartRect(Rect(42, 0, 46, 24), Out, 68, 24);
  EXPECT_EQ(Out, Rect(62, 0, 66, 24));
  G.GetNewPartRect(Rect(10, 0, 20, 24), Out, 68, 24);
  EXPECT_EQ(Out, Rect(10, 0, 20, 24));
  G.ResizeMode = 3;
  G.LBPt = {0, 18};
  G.GetNewPartRect(Rect(0, 2, 48, 20), Out, 48, 44);
  EXPECT_EQ(Out, Rect(0, 2, 48, 40));
  G.GetNewPartRect(Rect(0, 18, 48, 22), Out, 48, 44);
  EXPECT_EQ(Out, Rect(0, 38, 48, 42));
}

TEST_F(SkinControlBase, SizeRulesByResizeMode) {
  AddModeProbes(Skin.get());
  TForm* F = NewForm();
  struct Case {
    const char* Name;
    TRect Asked;
    Integer W, H;
  } Cases[] = {
      {"fixed", Rect(0, 0, 100, 50), CellW, CellH}, {"nine", Rect(0, 0, 100, 50), 100, 50},
      {"hthree", Rect(0, 0, 100, 50), 100, CellH},  {"vthree", Rect(0, 0, 100, 50), CellW, 50},
      {"missing", Rect(0, 0, 100, 50), 100, 50},  // no element: no rule
  };
  for (const auto& C : Cases) {
    auto* Ctl = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 30, 30));
    Ctl->SetSkinDataName(C.Name);
    Ctl->SetSkinData(Skin.get());
    Ctl->SetBoundsRect(C.Asked);
    EXPECT_EQ(Ctl->Width(), C.W) << C.Name;
    EXPECT_EQ(Ctl->Height(), C.H) << C.Name;
    auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(0, 0, 30, 30));
    G->SetSkinDataName(C.Name);
    G->SetSkinData(Skin.get());
    G->SetBoundsRect(C.Asked);
    EXPECT_EQ(G->Width(), C.W) << "windowless " << C.Name;
    EXPECT_EQ(G->Height(), C.H) << "windowless " << C.Name;
  }
}

TEST_F(SkinControlBase, NineSliceClientRectFollowsTheSize) {
  AddModeProbes(Skin.get());
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 30, 30));
  C->SetSkinDataName("nine");
  C->SetSkinData(Skin.get());
  C->SetBounds(5, 5, 100, 40);
  EXPECT_EQ(C->RealClientRect(), Rect(6, 6, 94, 34));
  EXPECT_EQ(C->RealClientWidth(), 88);
  EXPECT_EQ(C->NewRBPoint, (TPoint{94, 34}));
}

// ---- painting ----

TEST_F(SkinControlBase, NineSlicePaintsCornersEdgesAndClientFromTheElement) {
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(10, 10, 110, 50));
  C->SetSkinDataName("button");
  C->SetSkinData(Skin.get());
  auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(10, 60, 110, 100));
  G->SetSkinDataName("button");
  G->SetSkinData(Skin.get());
  for (TControl* Ctl : {static_cast<TControl*>(C), static_cast<TControl*>(G)}) {
    // Corners stay 6 pixels, edges and client stretch to 100 x 40.
    const struct {
      Integer X, Y, Slice;
    } Probes[] = {{1, 1, 0},   {50, 2, 1}, {97, 3, 2},  {2, 20, 3}, {50, 20, 4},
                  {97, 30, 5}, {2, 37, 6}, {60, 38, 7}, {98, 38, 8}};
    for (const auto& P : Probes)
      EXPECT_EQ(PixelOf(Ctl, P.X, P.Y), SliceColor("button", 0, P.Slice))
          << Ctl->ClassName() << " " << P.Slice;
  }
}

TEST_F(SkinControlBase, DefaultLookWithoutSkinOrElement) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* NoSkin = NewControl<TbsSkinCustomControl>(F, Rect(10, 10, 60, 40));
  auto* Missing = NewControl<TbsSkinCustomControl>(F, Rect(70, 10, 120, 40));
  Missing->SetSkinDataName("no such element");
  Missing->SetSkinData(Skin.get());
  auto* Windowless = NewControl<TbsGraphicSkinCustomControl>(F, Rect(130, 10, 180, 40));
  for (TControl* C : {static_cast<TControl*>(NoSkin), static_cast<TControl*>(Missing),
                      static_cast<TControl*>(Windowless)}) {
    EXPECT_EQ(PixelOf(C, 0, 0), BtnFaceRGB()) << C->Left();
    EXPECT_EQ(PixelOf(C, 25, 15), BtnFaceRGB()) << C->Left();
  }
  EXPECT_EQ(Missing->SkinIndex(), -1);
}

// Faulty elements draw the default look and never read outside a picture.
TEST_F(SkinControlBase, FaultyElementsDrawTheDefaultLook) {
  struct Case {
    const char* Name;
    std::function<void(TbsDataSkinCustomControl*)> Spoil;
  } Cases[] = {
      {"no picture", [](TbsDataSkinCustomControl* R) { R->PictureIndex = -1; }},
      {"picture past the end", [](TbsDataSkinCustomControl* R) { R->PictureIndex = 7; }},
      {"rect past the picture", [](TbsDataSkinCustomControl* R) { R->SkinRect = Rect(230, 700, 278, 724); }},
      {"rect left of the picture", [](TbsDataSkinCustomControl* R) { R->SkinRect = Rect(-10, 0, 38, 24); }},
      {"corner past the element",
       [](TbsDataSkinCustomControl* R) {
         R->RBPoint = {60, 18};
       }},
      {"client past the element", [](TbsDataSkinCustomControl* R) { R->ClRect = Rect(6, 6, 42, 40); }},
      {"points backwards",
       [](TbsDataSkinCustomControl* R) {
         R->RTPoint = {2, 6};
       }},
  };
  TForm* F = NewForm(Rect(0, 0, 400, 500));
  Integer Y = 0;
  for (const auto& C : Cases) {
    auto* R = AddProbe(Skin.get(), C.Name, {6, 6}, {42, 6}, {6, 18}, {42, 18});
    C.Spoil(R);
    auto* W = NewControl<TbsSkinCustomControl>(F, Rect(0, Y, 100, Y + 40));
    W->SetSkinDataName(C.Name);
    W->SetSkinData(Skin.get());
    auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(150, Y, 250, Y + 40));
    G->SetSkinDataName(C.Name);
    G->SetSkinData(Skin.get());
    Y += 45;
    EXPECT_EQ(PixelOf(W, 1, 1), BtnFaceRGB()) << C.Name;
    EXPECT_EQ(PixelOf(W, 50, 20), BtnFaceRGB()) << C.Name;
    EXPECT_EQ(PixelOf(G, 1, 1), BtnFaceRGB()) << "windowless " << C.Name;
  }
}

TEST_F(SkinControlBase, ZeroSizedControlPaintsNothing) {
  TForm* F = NewForm();
  F->SetColor(clWhite);
  auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(10, 10, 10, 40));
  G->SetSkinDataName("button");
  G->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(F, 10, 20), RGB(255, 255, 255));
}

TEST_F(SkinControlBase, ForcedBackgroundPaintsBorderStripsAndTilesTheClient) {
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(10, 10, 110, 60));
  C->SetForcebackGround(true);
  C->SetSkinDataName("panel");
  C->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(PixelOf(C, 98, 48), SliceColor("panel", 0, 8));
  EXPECT_EQ(PixelOf(C, 50, 25), SliceColor("panel", 0, 4));
  // Without the client fill the client part keeps what was painted there before (here the default
  // look, drawn before the skin came).
  auto* D = NewControl<TbsSkinCustomControl>(F, Rect(10, 70, 110, 120));
  D->SetForcebackGround(true);
  D->SetDrawbackGround(false);
  D->SetSkinDataName("panel");
  EXPECT_EQ(PixelOf(D, 50, 25), BtnFaceRGB());
  D->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(D, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(PixelOf(D, 50, 25), BtnFaceRGB());
}

// ---- skin changes ----

TEST_F(SkinControlBase, SkinAttachDetachAndRemoval) {
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(10, 10, 110, 50));
  C->SetSkinDataName("button");
  C->SetSkinData(Skin.get());
  EXPECT_EQ(C->SkinIndex(), ElementOf("button"));
  EXPECT_EQ(PixelOf(C, 50, 20), SliceColor("button", 0, 4));
  C->BeforeChangeSkinData();
  EXPECT_EQ(C->SkinIndex(), -1);
  // A nil skin neither repaints nor resizes; the default look comes at the next paint.
  C->SetSkinData(nullptr);
  EXPECT_EQ(C->Width(), 100);
  EXPECT_EQ(PixelOf(C, 50, 20), BtnFaceRGB());
  C->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(C, 50, 20), SliceColor("button", 0, 4));
  // Freeing the skin component clears the reference.
  Skin.reset();
  EXPECT_EQ(C->SkinData(), nullptr);
  EXPECT_EQ(PixelOf(C, 50, 20), BtnFaceRGB());
}

TEST_F(SkinControlBase, DefaultSizeAppliesOnlyWithoutAnElement) {
  AddModeProbes(Skin.get());
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 30, 30));
  C->SetSkinDataName("fixed");
  C->SetSkinData(Skin.get());
  ASSERT_EQ(C->Width(), CellW);
  C->SetDefaultWidth(70);  // an element is resolved: stored only
  EXPECT_EQ(C->Width(), CellW);
  C->SetSkinDataName("gone");
  C->ChangeSkinData();
  EXPECT_EQ(C->Width(), 70);
  EXPECT_EQ(C->Height(), CellH);
  C->SetDefaultHeight(33);  // no element now: takes effect at once
  EXPECT_EQ(C->Height(), 33);
}

TEST_F(SkinControlBase, NewNameTakesEffectAtTheNextPaint) {
  TForm* F = NewForm();
  auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(10, 10, 110, 50));
  G->SetSkinDataName("button");
  G->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(G, 50, 20), SliceColor("button", 0, 4));
  G->SetSkinDataName("panel");
  EXPECT_EQ(PixelOf(G, 50, 20), SliceColor("panel", 0, 4));
}

TEST_F(SkinControlBase, DesignTimeSkinIsStoredWithoutResolving) {
  AddModeProbes(Skin.get());
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 30, 30));
  C->SetSkinDataName("fixed");
  C->SetDesigning(true);
  C->SetSkinData(Skin.get());
  EXPECT_EQ(C->SkinData(), Skin.get());
  EXPECT_EQ(C->Width(), 30);
}

// ---- children and regions ----

class TBgChild : public TbsSkinControl {
 public:
  using TbsSkinControl::TbsSkinControl;
  Integer Checks = 0;

 protected:
  void CheckParentBackground() override { ++Checks; }
};

TEST_F(SkinControlBase, StretchedElementAsksChildrenToRetakeTheBackgroundOnEverySetBounds) {
  TForm* F = NewForm();
  auto* P = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 200, 100));
  P->SetSkinDataName("panel");
  P->SetSkinData(Skin.get());
  auto* Child = NewControl<TBgChild>(P, Rect(5, 5, 20, 20));
  Child->HandleNeeded();
  const Integer Before = Child->Checks;
  P->SetBounds(0, 0, 200, 100);  // neither moved nor sized
  EXPECT_EQ(Child->Checks, Before + 1);
  P->SetBounds(10, 0, 220, 100);
  EXPECT_EQ(Child->Checks, Before + 2);
  // Without an element nothing is sent.
  P->SetSkinDataName("nothing");
  P->SetBounds(10, 0, 220, 100);
  EXPECT_EQ(Child->Checks, Before + 2);
}

TEST_F(SkinControlBase, MaskGivesTheWindowARegionAndLosingItRemovesIt) {
  // A mask whose left half is black: the window keeps only that half.
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(CellW, CellH);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, CellW, CellH));
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, CellW / 2, CellH));
  Skin->AddPicture(std::move(Mask), "mask.bmp");
  auto* R = AddProbe(Skin.get(), "masked", {0, 0}, {0, 0}, {0, 0}, {0, 0});
  R->MaskPictureIndex = Skin->PictureCount() - 1;
  TForm* F = NewForm();
  auto* C = NewControl<TbsSkinCustomControl>(F, Rect(0, 0, 30, 30));
  C->SetSkinDataName("masked");
  C->SetSkinData(Skin.get());
  HRGN Probe = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(C->Handle(), Probe), ERROR);
  EXPECT_TRUE(PtInRegion(Probe, 5, 5));
  EXPECT_FALSE(PtInRegion(Probe, CellW - 5, 5));
  R->MaskPictureIndex = -1;
  C->ChangeSkinData();
  EXPECT_EQ(GetWindowRgn(C->Handle(), Probe), ERROR);
  DeleteObject(Probe);
}

TEST_F(SkinControlBase, WindowlessControlIsOpaqueAndIgnoresTheMask) {
  auto* R = AddProbe(Skin.get(), "masked", {6, 6}, {42, 6}, {6, 18}, {42, 18});
  R->MaskPictureIndex = 0;
  TForm* F = NewForm();
  auto* G = NewControl<TbsGraphicSkinCustomControl>(F, Rect(10, 10, 110, 50));
  EXPECT_TRUE(G->ControlStyle().Contains(csOpaque));
  G->SetSkinDataName("masked");
  G->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(G, 97, 38), SliceColor("button", 0, 8));
}

}  // namespace
