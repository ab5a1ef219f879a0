#include "skin/controls/bars/bsskintoolbar.h"

#include <gtest/gtest.h>

#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinToolBar : public TSkinControlTest {
 protected:
  // A scrolling bar of Width x 40 (no skin, no border: the client is the whole bar) holding one
  // windowless child that spans 0 .. Extent.
  TbsSkinToolBar* NewScrollingBar(TForm* F, Integer Width, Integer Extent) {
    auto* Bar = NewControl<TbsSkinToolBar>(F, Rect(10, 10, 10 + Width, 50));
    Bar->SetCanScroll(true);
    Child = NewControl<TRecordingGraphic>(Bar, Rect(0, 5, Extent, 25));
    Bar->SetBounds(Bar->Left(), Bar->Top(), Bar->Width(), Bar->Height());
    return Bar;
  }
  // A point on an arrow (0 left, 1 right), on the screen.
  static TPoint OnArrow(TbsSkinToolBar* Bar, Integer Index) {
    RECT W;
    GetWindowRect(Bar->Handle(), &W);
    return Index == 0 ? TPoint{W.Left + 6, W.Top + 20} : TPoint{W.Right - 6, W.Top + 20};
  }

  TRecordingGraphic* Child = nullptr;
};

TEST_F(SkinToolBar, Defaults) {
  TForm* F = NewForm();
  auto* Bar = new TbsSkinToolBar(F);
  EXPECT_EQ(Bar->SkinDataName(), "toolpanel");
  EXPECT_EQ(Bar->Height(), 25);
  EXPECT_EQ(Bar->BorderStyle(), bvNone);
  EXPECT_FALSE(Bar->CanScroll());
  EXPECT_EQ(Bar->ScrollOffset(), 0);
  EXPECT_EQ(Bar->ScrollTimerInterval(), 50);
  EXPECT_TRUE(Bar->AdjustControls());
  EXPECT_FALSE(Bar->ShowCaptions());
  // Values out of range are ignored.
  Bar->SetScrollTimerInterval(0);
  Bar->SetScrollOffset(-1);
  EXPECT_EQ(Bar->ScrollTimerInterval(), 50);
  EXPECT_EQ(Bar->ScrollOffset(), 0);
}

TEST_F(SkinToolBar, ArrowsAppearWhenTheChildrenPassTheClientWidth) {
  TForm* F = NewForm();
  struct TCase {
    Integer Extent;
    bool Arrows;
    Integer ClientWidth;
    Integer Max;
  };
  const TCase Cases[] = {
      {150, false, 200, 0},
      {200, false, 200, 0},  // ends exactly at the client's edge
      {201, true, 176, 200},
      {500, true, 176, 499},
  };
  for (const TCase& C : Cases) {
    auto* Bar = NewScrollingBar(F, 200, C.Extent);
    EXPECT_EQ(Bar->ArrowsShown(), C.Arrows) << C.Extent;
    EXPECT_EQ(Bar->ScrollButton(0).Visible, C.Arrows) << C.Extent;
    EXPECT_EQ(Bar->ClientWidth(), C.ClientWidth) << C.Extent;
    EXPECT_EQ(Bar->ScrollMax(), C.Max) << C.Extent;
    EXPECT_EQ(Bar->ScrollPosition(), 0);
    if (C.Arrows) {
      EXPECT_EQ(Bar->ScrollButton(0).R, Rect(0, 0, 12, 40));
      EXPECT_EQ(Bar->ScrollButton(1).R, Rect(188, 0, 200, 40));
      // The client starts after the left arrow.
      EXPECT_EQ(Bar->ClientOrigin().X, Bar->Parent()->ClientToScreen({Bar->Left() + 12, 0}).X);
    }
    delete Bar;
  }
}

TEST_F(SkinToolBar, ArrowPressesScrollByTheOffsetWithinTheRange) {
  TForm* F = NewForm();
  auto* Bar = NewScrollingBar(F, 200, 500);
  Bar->SetScrollOffset(30);
  wintest::MouseMove(OnArrow(Bar, 1));
  wintest::MouseDown(OnArrow(Bar, 1));
  EXPECT_TRUE(Bar->ScrollButton(1).Down);
  EXPECT_EQ(Bar->ScrollTimerMode(), 2);
  wintest::AdvanceTime(Clock(), 50);
  EXPECT_EQ(Bar->ScrollPosition(), 30);
  wintest::AdvanceTime(Clock(), 50);
  EXPECT_EQ(Bar->ScrollPosition(), 60);
  wintest::MouseUp(OnArrow(Bar, 1));
  // The release makes one more step, after the timer's.
  EXPECT_EQ(Bar->ScrollPosition(), 90);
  EXPECT_EQ(Child->Left(), -90);
  EXPECT_EQ(Bar->ScrollTimerMode(), 0);
  // The position stops at SMax - SPage + 1 (499 - 176 + 1), and the timer with it.
  wintest::MouseDown(OnArrow(Bar, 1));
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(Bar->ScrollPosition(), 324);
  EXPECT_EQ(Bar->ScrollTimerMode(), 0);
  wintest::MouseUp(OnArrow(Bar, 1));
  EXPECT_EQ(Bar->ScrollPosition(), 324);
  EXPECT_EQ(Child->Left() + Child->Width(), Bar->ClientWidth());
  // Left, never below 0; with ScrollOffset 0 a step is a client width.
  Bar->SetScrollOffset(0);
  wintest::Click(OnArrow(Bar, 0));
  EXPECT_EQ(Bar->ScrollPosition(), 324 - 176);
  wintest::Click(OnArrow(Bar, 0));
  EXPECT_EQ(Bar->ScrollPosition(), 0);
  EXPECT_EQ(Child->Left(), 0);
}

TEST_F(SkinToolBar, HotScrollScrollsWhileTheMouseRestsOnAnArrow) {
  TForm* F = NewForm();
  auto* Bar = NewScrollingBar(F, 200, 500);
  Bar->SetScrollOffset(30);
  Bar->SetHotScroll(true);
  wintest::MouseMove(OnArrow(Bar, 1));
  EXPECT_TRUE(Bar->ScrollButton(1).MouseIn);
  wintest::AdvanceTime(Clock(), 150);
  EXPECT_EQ(Bar->ScrollPosition(), 90);
  // Into the client area: scrolling stops.
  wintest::MouseMove(wintest::ScreenPoint(Bar->Handle(), 80, 20));
  EXPECT_FALSE(Bar->ScrollButton(1).MouseIn);
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(Bar->ScrollPosition(), 90);
  // Leaving the bar: the hover poll notices within 100 ms.
  wintest::MouseMove(OnArrow(Bar, 0));
  wintest::AdvanceTime(Clock(), 50);
  EXPECT_EQ(Bar->ScrollPosition(), 60);
  wintest::MouseMove(TPoint{600, 600});
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_FALSE(Bar->MouseIn());
  EXPECT_FALSE(Bar->ScrollButton(0).MouseIn);
  EXPECT_EQ(Bar->ScrollTimerMode(), 0);
  const Integer Pos = Bar->ScrollPosition();
  wintest::AdvanceTime(Clock(), 500);
  EXPECT_EQ(Bar->ScrollPosition(), Pos);
}

TEST_F(SkinToolBar, WideningWhileScrolledBringsTheChildrenBackByTheGrowth) {
  TForm* F = NewForm();
  auto* Bar = NewScrollingBar(F, 200, 300);
  Bar->SetScrollOffset(200);
  wintest::Click(OnArrow(Bar, 1));
  // The page was measured before the arrows took their room: 299 - 200 + 1 at first, 299 - 176 + 1 after.
  EXPECT_EQ(Bar->ScrollPosition(), 100);
  wintest::Click(OnArrow(Bar, 1));
  ASSERT_EQ(Bar->ScrollPosition(), 124);
  Bar->SetWidth(250);
  EXPECT_EQ(Bar->ScrollPosition(), 74);
  EXPECT_EQ(Child->Left(), -74);
  EXPECT_EQ(Child->Left() + Child->Width(), Bar->ClientWidth());
  // Wide enough for all: back to 0 and no arrows.
  Bar->SetWidth(400);
  EXPECT_FALSE(Bar->ArrowsShown());
  EXPECT_EQ(Bar->ScrollPosition(), 0);
  EXPECT_EQ(Child->Left(), 0);
  EXPECT_EQ(Bar->ClientWidth(), 400);
}

TEST_F(SkinToolBar, DefaultArrowsAreDrawnInTheNonClientArea) {
  TForm* F = NewForm();
  auto* Bar = NewScrollingBar(F, 200, 500);
  // Not hovered: a clBtnShadow frame on clBtnFace with a clBtnText arrow in the middle.
  const COLORREF Shadow = COLORREF(ColorToRGB(clBtnShadow));
  const COLORREF Face = BtnFaceRGB();
  RECT W;
  GetWindowRect(Bar->Handle(), &W);
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 0, 5), Shadow);
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 2, 5), Face);
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 199, 5), Shadow);
  // Pressed: the pressed colours.
  wintest::MouseMove(OnArrow(Bar, 1));
  wintest::MouseDown(OnArrow(Bar, 1));
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 199, 5), RGB(59, 107, 183));
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 190, 5), RGB(162, 188, 228));
  wintest::MouseUp(OnArrow(Bar, 1));
  // With a skin the arrows take the "resizebutton" element.
  Bar->SetSkinData(Skin.get());
  Bar->GetSkinData();
  EXPECT_NE(Bar->ArrowElement(), nullptr);
  wintest::MouseMove(wintest::ScreenPoint(Bar->Handle(), 80, 20));
  EXPECT_EQ(PaintedPixel(Bar->Handle(), 1, 1), SliceColor("resizebutton", 0, 0));
}

TEST_F(SkinToolBar, ChildrenAreCentredAndShareTheBarsSettings) {
  TForm* F = NewForm();
  auto* Bar = NewControl<TbsSkinToolBar>(F, Rect(0, 0, 300, 30));
  auto* Plain = NewControl<TRecordingGraphic>(Bar, Rect(200, 0, 230, 10));
  auto* B = NewControl<TbsSkinSpeedButton>(Bar, Rect(10, 0, 40, 20));
  auto* M = NewControl<TbsSkinMenuSpeedButton>(Bar, Rect(50, 0, 80, 20));
  Bar->SetBounds(0, 0, 300, 40);
  EXPECT_EQ(Plain->Top(), 15);
  EXPECT_EQ(B->Top(), 10);
  Bar->SetSkinData(Skin.get());
  EXPECT_EQ(B->SkinData(), Skin.get());
  EXPECT_EQ(M->SkinData(), Skin.get());
  Bar->SetFlat(true);
  EXPECT_TRUE(B->Flat());
  EXPECT_TRUE(M->Flat());
  // Captions: without AutoShowHideCaptions only the bar's width follows.
  Bar->SetWidthWithCaptions(300);
  Bar->SetWidthWithoutCaptions(120);
  Bar->SetShowCaptions(true);
  Bar->SetShowCaptions(false);
  EXPECT_EQ(Bar->Width(), 120);
  EXPECT_TRUE(B->ShowCaption());
  Bar->SetAutoShowHideCaptions(true);
  Bar->SetShowCaptions(true);
  EXPECT_EQ(Bar->Width(), 300);
  EXPECT_TRUE(B->ShowCaption());
  Bar->SetShowCaptions(false);
  EXPECT_FALSE(B->ShowCaption());
  EXPECT_FALSE(M->ShowCaption());
}

TEST_F(SkinToolBar, DesignTimeRenamingOfTheButtonsElements) {
  TForm* F = NewForm();
  auto* Bar = NewControl<TbsSkinToolBar>(F, Rect(0, 0, 300, 40));
  auto* B = NewControl<TbsSkinSpeedButton>(Bar, Rect(10, 0, 40, 20));
  auto* M = NewControl<TbsSkinMenuSpeedButton>(Bar, Rect(50, 0, 80, 20));
  auto* T = NewControl<TbsSkinMenuSpeedButton>(Bar, Rect(90, 0, 120, 20));
  T->SetTrackButtonMode(true);
  struct TCase {
    const char* Bar;
    const char* Speed;
    const char* Menu;
    const char* Track;
  };
  const TCase Cases[] = {
      {"resizetoolpanel", "resizetoolbutton", "resizetoolbutton", "resizetoolbutton"},
      {"panel", "resizebutton", "resizebutton", "resizebutton"},
      {"bigtoolpanel", "bigtoolbutton", "bigtoolmenubutton", "bigtoolmenutrackbutton"},
      {"toolpanel", "toolbutton", "toolmenubutton", "toolmenutrackbutton"},
  };
  // Outside design mode nothing is renamed.
  Bar->SetSkinDataName("panel");
  EXPECT_EQ(B->SkinDataName(), "toolbutton");
  Bar->SetDesigning(true);
  for (const TCase& C : Cases) {
    Bar->SetSkinDataName(C.Bar);
    EXPECT_EQ(B->SkinDataName(), C.Speed) << C.Bar;
    EXPECT_EQ(M->SkinDataName(), C.Menu) << C.Bar;
    EXPECT_EQ(T->SkinDataName(), C.Track) << C.Bar;
  }
  Bar->SetDesigning(false);
}

TEST_F(SkinToolBar, AFreedImageListLeavesTheBar) {
  TForm* F = NewForm();
  auto* Bar = NewControl<TbsSkinToolBar>(F, Rect(0, 0, 300, 40));
  auto* Normal = new TCustomImageList(nullptr, 16, 16);
  auto* Hot = new TCustomImageList(nullptr, 16, 16);
  Bar->SetImages(Normal);
  Bar->SetHotImages(Hot);
  Bar->SetDisabledImages(Hot);
  auto* B = NewControl<TbsSkinSpeedButton>(Bar, Rect(10, 5, 40, 30));
  delete Hot;
  EXPECT_EQ(Bar->HotImages(), nullptr);
  EXPECT_EQ(Bar->DisabledImages(), nullptr);
  EXPECT_EQ(Bar->Images(), Normal);
  delete Normal;
  EXPECT_EQ(Bar->Images(), nullptr);
  // The button still paints with nothing from the bar.
  B->SetEnabled(false);
  EXPECT_NE(PixelOf(B, 2, 2), CLR_INVALID);
}

// ---- status bar ----

TEST_F(SkinToolBar, StatusBarGripWithoutASkin) {
  TForm* F = NewForm();
  auto* S = NewControl<TbsSkinStatusBar>(F, Rect(0, 0, 200, 21));
  EXPECT_EQ(S->Align(), alBottom);
  EXPECT_EQ(S->Height(), 21);
  EXPECT_EQ(S->SkinDataName(), "statusbar");
  EXPECT_TRUE(S->ShowGrip());
  EXPECT_FALSE(S->SizeGrip());
  const Integer W = S->Width();
  EXPECT_EQ(S->ClientWidth(), W);
  S->SetSizeGrip(true);
  // A square as high as the client area at the right end, moved in by 2 at the left and bottom.
  TRect Client;
  S->GetSkinClientRect(Client);
  EXPECT_EQ(Client.Right, W - 21);
  EXPECT_EQ(S->GetGripRect(), Rect(W - 21 + 2, 0, W, 19));
  // Stripes in clBtnShadow every 3 pixels, the first 4 pixels in from the grip's inner corner.
  const COLORREF Shadow = COLORREF(ColorToRGB(clBtnShadow));
  const TRect G = S->GetGripRect();
  Integer Dark = 0;
  for (Integer x = G.Left; x < G.Right; ++x)
    if (PixelOf(S, x, G.Bottom - 3) == Shadow) ++Dark;
  EXPECT_GE(Dark, 3);
  EXPECT_EQ(PixelOf(S, G.Left - 5, 10), BtnFaceRGB());
  // The hit test answers HTBOTTOMRIGHT over the grip, HTCLIENT elsewhere.
  const TPoint In = S->ClientToScreen({W - 5, 15});
  const TPoint Out = S->ClientToScreen({50, 10});
  EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(In.X, In.Y)), HTBOTTOMRIGHT);
  EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Out.X, Out.Y)), HTCLIENT);
  // ShowGrip off: no grip, the whole bar is client, the default hit test.
  S->SetShowGrip(false);
  S->GetSkinClientRect(Client);
  EXPECT_EQ(Client.Right, W);
  EXPECT_NE(PixelOf(S, G.Left + 8, G.Bottom - 3), Shadow);
  EXPECT_EQ(SendMessage(S->Handle(), WM_NCHITTEST, 0, MAKELPARAM(In.X, In.Y)), HTCLIENT);
}

TEST_F(SkinToolBar, StatusBarGripFromTheSkin) {
  TForm* F = NewForm();
  auto* S = NewControl<TbsSkinStatusBar>(F, Rect(0, 0, 200, 24));
  auto* R = dynamic_cast<TbsDataSkinPanelControl*>(Skin->Ctrls(Skin->GetControlIndex("statusbar")));
  ASSERT_NE(R, nullptr);
  // The grip picture: the down state's client slice, 6 x 6.
  R->GripperRect = Bounds(R->SkinRect.Left + 2 * 48 + 6, R->SkinRect.Top + 6, 6, 6);
  S->SetSkinData(Skin.get());
  S->SetSizeGrip(true);
  TRect Client;
  S->GetSkinClientRect(Client);
  const TRect G = S->GetGripRect();
  EXPECT_EQ(RectWidth(G), 6);
  EXPECT_EQ(G.Left, Client.Right);
  EXPECT_EQ(G.Bottom, Client.Bottom);
  EXPECT_EQ(PixelOf(S, G.Left + 2, G.Top + 2), SliceColor("statusbar", 2, 4));
}

}  // namespace
