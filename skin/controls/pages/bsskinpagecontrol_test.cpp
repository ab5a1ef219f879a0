#include "skin/controls/pages/bsskinpagecontrol.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinPageControlTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);
    Form = NewForm(Rect(100, 100, 520, 420));
    Pages = NewControl<TbsSkinPageControl>(Form, Bounds(0, 0, 300, 200));
    for (const char* Caption : {"One", "Two", "Three"}) {
      auto* S = new TbsSkinTabSheet(Form);
      S->SetCaption(Caption);
      S->SetPageControl(Pages);
      Sheets.push_back(S);
    }
    Pages->SetTabHeight(20);
    Pages->SetTabWidth(80);  // each tab 81 wide: the internal image list reserves 1
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  void UseSkin() {
    Pages->SetSkinData(Skin.get());
    ASSERT_NE(Pages->SkinIndex(), -1);
  }
  TForm* Form = nullptr;
  TbsSkinPageControl* Pages = nullptr;
  std::vector<TbsSkinTabSheet*> Sheets;
};

// The platform's page rectangle on a 300 x 200 control with 20-pixel rows: (4, 26, 296, 196) with the
// tabs at the top, (4, 4, 296, 174) at the bottom; down the side the three tabs take two columns:
// (46, 4, 296, 196) left, (4, 4, 254, 196) right. The
// generated "tab" element is 48 x 24 with the client rectangle (6, 6, 42, 18).
struct TPageRectCase {
  TTabPosition Position;
  bool Skinned;
  TRect Page;
};

TEST_F(SkinPageControlTest, ThePageRectangleIsCorrectedForTheBorderOfEachLook) {
  const TPageRectCase Cases[] = {
      {tpTop, false, Rect(1, 21, 299, 199)},   {tpBottom, false, Rect(1, 1, 299, 177)},
      {tpLeft, false, Rect(43, -1, 299, 199)}, {tpRight, false, Rect(1, -1, 257, 199)},
      {tpTop, true, Rect(6, 26, 294, 194)},    {tpBottom, true, Rect(6, 6, 294, 172)},
      {tpLeft, true, Rect(48, 6, 294, 194)},   {tpRight, true, Rect(6, 6, 252, 194)},
  };
  for (const TPageRectCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "position " << C.Position << " skinned " << C.Skinned);
    Pages->SetSkinData(C.Skinned ? Skin.get() : nullptr);
    Pages->GetSkinData();
    Pages->SetTabPosition(C.Position);
    EXPECT_EQ(Pages->DisplayRect(), C.Page);
    // The active sheet fills the corrected rectangle.
    EXPECT_EQ(Pages->ActivePage()->BoundsRect(), C.Page);
  }
  // A hidden border gives the page everything.
  Pages->HideBorderAndTabs();
  EXPECT_EQ(Pages->DisplayRect(), Rect(0, -2, 300, 200));
}

struct TTabRectCase {
  TTabPosition Position;
  bool MultiLine;
  TRect First;
};

TEST_F(SkinPageControlTest, TabRectanglesAreMovedOntoTheBorder) {
  const TTabRectCase Cases[] = {
      {tpTop, false, Rect(0, 0, 81, 20)},       {tpTop, true, Rect(2, 0, 83, 20)},
      {tpBottom, false, Rect(0, 180, 81, 200)}, {tpLeft, false, Rect(20, 2, 40, 83)},
      {tpRight, false, Rect(260, 2, 280, 83)},  // the first tab's column is next to the page
  };
  for (const TTabRectCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "position " << C.Position << " multi-line " << C.MultiLine);
    Pages->SetTabPosition(C.Position);
    Pages->SetMultiLine(C.MultiLine);
    TRect R;
    Pages->GetTabRect(0, R);
    EXPECT_EQ(R, C.First);
  }
  // The button styles keep the platform's rectangles.
  Pages->SetTabPosition(tpTop);
  Pages->SetMultiLine(false);
  Pages->SetStyle(tsButtons);
  EXPECT_EQ(Pages->TabRect(0), Rect(2, 2, 83, 22));
}

TEST_F(SkinPageControlTest, ACentredRowIsDrawnAndHitWhereItIsShown) {
  Pages->SetTabWidth(0);
  Pages->SetTabsInCenter(true);
  EXPECT_FALSE(Pages->TabsInCenter());  // needs tabs of one width
  Pages->SetTabWidth(80);
  Pages->SetTabPosition(tpLeft);
  Pages->SetMultiLine(true);
  Pages->SetTabsInCenter(true);
  EXPECT_TRUE(Pages->TabsInCenter());
  EXPECT_EQ(Pages->TabPosition(), tpTop);
  EXPECT_FALSE(Pages->MultiLine());
  EXPECT_TRUE(Pages->TabsBGTransparent());
  EXPECT_EQ(Pages->GetTabsOffset(), 30);  // 150 - 240 / 2
  EXPECT_EQ(Pages->TabRect(1), Rect(111, 0, 192, 20));
  // A click where the second tab is shown picks it.
  wintest::Click(wintest::ScreenPoint(Pages->Handle(), 115, 10));
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  Pages->SetWidth(200);
  EXPECT_EQ(Pages->GetTabsOffset(), 0);  // the row is wider than half the control
  Pages->SetTabsOffset(7);
  EXPECT_EQ(Pages->GetTabsOffset(), 7);
}

TEST_F(SkinPageControlTest, ImagesAndCloseButtonsReserveRoomInTheTabs) {
  TCustomImageList Images(nullptr, 16, 12);
  Pages->SetImages(&Images);
  EXPECT_EQ(Pages->TempImages()->Width(), 17);
  EXPECT_EQ(Pages->TabRect(0).Right, 97);
  Pages->SetShowCloseButtons(true);
  Pages->SetShowCloseButtons(true);  // twice: once
  EXPECT_EQ(Pages->TempImages()->Width(), 31);
  Pages->SetImages(nullptr);
  Pages->SetShowCloseButtons(false);
  EXPECT_EQ(Pages->TempImages()->Width(), 1);
  // Down the side the height is what grows.
  Pages->SetTabPosition(tpLeft);
  Pages->SetShowCloseButtons(true);
  EXPECT_EQ(Pages->TempImages()->Width(), 1);
  EXPECT_EQ(Pages->TempImages()->Height(), 15);
  // Without an element a close button is 14 wide.
  EXPECT_EQ(Pages->GetCloseSize(), 14);
}

TEST_F(SkinPageControlTest, HidingTheTabsSavesAndRestoresTheRow) {
  Pages->ShowTabs();  // nothing was hidden
  EXPECT_FALSE(Pages->TabsHidden());
  EXPECT_EQ(Pages->TabHeight(), 20);
  Pages->SetTabPosition(tpLeft);
  Pages->SetMultiLine(true);
  Pages->HideTabs();
  EXPECT_TRUE(Pages->TabsHidden());
  EXPECT_EQ(Pages->TabPosition(), tpTop);
  EXPECT_FALSE(Pages->MultiLine());
  EXPECT_EQ(Pages->TabHeight(), 1);
  Pages->ShowTabs();
  EXPECT_FALSE(Pages->TabsHidden());
  EXPECT_EQ(Pages->TabPosition(), tpLeft);
  EXPECT_TRUE(Pages->MultiLine());
  EXPECT_EQ(Pages->TabHeight(), 20);
  // No visible tab: nothing to hide.
  for (auto* S : Sheets) S->SetTabVisible(false);
  Pages->HideTabs();
  EXPECT_FALSE(Pages->TabsHidden());
}

TEST_F(SkinPageControlTest, TheHotTabFollowsTheMouseAndLeavesWithIt) {
  Sheets[0]->SetTabVisible(false);  // visible tab 1 is page 2
  HWND W = Pages->Handle();
  wintest::MouseMove(wintest::ScreenPoint(W, 85, 10));
  EXPECT_EQ(Pages->ActiveTabIndex(), 1);
  EXPECT_EQ(Pages->ActiveTab(), 2);
  wintest::MouseMove(wintest::ScreenPoint(W, 250, 150));
  EXPECT_EQ(Pages->ActiveTabIndex(), -1);
  wintest::MouseMove(wintest::ScreenPoint(W, 5, 10));
  EXPECT_EQ(Pages->ActiveTabIndex(), 0);
  Pages->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Pages->ActiveTabIndex(), -1);
}

TEST_F(SkinPageControlTest, TheCloseButtonClosesTheActivePageUnlessOnCloseRefuses) {
  Pages->SetShowCloseButtons(true);
  std::vector<String> Log;
  bool Allow = false;
  Pages->OnClose = [&](TObject* Sender, bool& CanClose) {
    Log.push_back("close " + static_cast<TTabSheet*>(Sender)->Caption());
    CanClose = Allow;
  };
  Pages->OnAfterClose = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Pages);
    Log.push_back("after");
  };
  HWND W = Pages->Handle();
  PixelOf(Pages, 0, 0);  // painting places the buttons
  // Without an element: a 14-pixel box after the caption's room of the 95-pixel tab; the selected tab's
  // frame takes one pixel off that room: (78, 3, 92, 17).
  EXPECT_EQ(Sheets[0]->ButtonRect, Rect(78, 3, 92, 17));
  wintest::MouseMove(wintest::ScreenPoint(W, 85, 10));
  EXPECT_TRUE(Sheets[0]->ButtonMouseIn);
  wintest::MouseMove(wintest::ScreenPoint(W, 40, 10));
  EXPECT_FALSE(Sheets[0]->ButtonMouseIn);
  wintest::Click(wintest::ScreenPoint(W, 40, 10));  // on the tab, not its button
  EXPECT_TRUE(Log.empty());
  wintest::Click(wintest::ScreenPoint(W, 85, 10));
  EXPECT_EQ(Log, std::vector<String>{"close One"});
  EXPECT_TRUE(Sheets[0]->TabVisible());
  Log.clear();
  Allow = true;
  Pages->FreeOnClose = true;
  wintest::Click(wintest::ScreenPoint(W, 85, 10));
  EXPECT_EQ(Log, (std::vector<String>{"close One", "after"}));
  EXPECT_EQ(Pages->PageCount(), 2);  // freed
  EXPECT_EQ(Pages->Pages(0), Sheets[1]);
}

TEST_F(SkinPageControlTest, TheWheelTurnsPagesOnlyWhenAskedAndFocused) {
  HWND W = Pages->Handle();
  const TPoint P = wintest::ScreenPoint(W, 150, 100);
  Pages->SetFocus();
  wintest::MouseWheel(-WHEEL_DELTA, P);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // off by default
  Pages->MouseWheelSupport = true;
  wintest::MouseWheel(-WHEEL_DELTA, P);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  wintest::MouseWheel(-WHEEL_DELTA, P);
  wintest::MouseWheel(-WHEEL_DELTA, P);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);  // nothing past the last
  wintest::MouseWheel(WHEEL_DELTA, P);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
}

TEST_F(SkinPageControlTest, PaintsTabsFromTheElementStates) {
  UseSkin();
  Pages->SetActivePage(Sheets[1]);
  HWND W = Pages->Handle();
  // The tab image's left middle part (away from the centred caption) shows the state's centre slice.
  auto probe = [&](Integer Tab) {
    TRect R;
    Pages->GetTabRect(Tab, R);
    return PixelOf(Pages, R.Left + 15, R.Top + 9);
  };
  EXPECT_EQ(probe(1), SliceColor("tab", 2, 4));  // selected: ActiveTabRect
  EXPECT_EQ(probe(0), SliceColor("tab", 1, 4));  // TabRect
  wintest::MouseMove(wintest::ScreenPoint(W, 170, 10));
  EXPECT_EQ(probe(2), SliceColor("tab", 3, 4));  // hot: MouseInTabRect
  Pages->SetFocus();
  EXPECT_EQ(probe(1), SliceColor("tab", 4, 4));  // selected and focused: FocusTabRect
  // The default look: plain faces and a framed selected tab.
  Pages->SetSkinData(nullptr);
  Pages->ChangeSkinData();
  EXPECT_EQ(probe(0), BtnFaceRGB());
  TRect Sel;
  Pages->GetTabRect(1, Sel);
  EXPECT_EQ(PixelOf(Pages, Sel.Left, Sel.Top + 5), COLORREF(0xB76B3B));
  EXPECT_EQ(PixelOf(Pages, Sel.Left + 3, Sel.Top + 3), COLORREF(0xE4BCA2));  // focused inside
}

// Eight tabs of 81 pixels on a 420-pixel control: five fit, three are cut off at the right.
TEST_F(SkinPageControlTest, TheScrollerAppearsForCutOffTabsAndScrollsTheRow) {
  EXPECT_EQ(Pages->SkinUpDown(), nullptr);
  for (const char* Caption : {"Four", "Five", "Six", "Seven", "Eight"}) {
    auto* S = new TbsSkinTabSheet(Form);
    S->SetCaption(Caption);
    S->SetPageControl(Pages);
    Sheets.push_back(S);
  }
  Pages->SetWidth(420);
  TbsSkinUpDown* U = Pages->SkinUpDown();
  ASSERT_NE(U, nullptr);
  EXPECT_EQ(Pages->CountHiddenTabs(), 3);
  EXPECT_EQ(U->Max(), 3);
  EXPECT_EQ(U->Position(), 0);
  EXPECT_EQ(U->BoundsRect(), Rect(380, 0, 420, 20));  // twice the default item height, at the right
  // Two presses of its forward button make visible tab 2 the first one shown.
  const TPoint Forward = wintest::ScreenPoint(Pages->Handle(), 410, 10);
  wintest::Click(Forward);
  wintest::Click(Forward);
  EXPECT_EQ(U->Position(), 2);
  EXPECT_EQ(Pages->CountLeftHiddenTabs(), 2);
  EXPECT_EQ(Pages->TabRect(2).Left, 0);
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);  // scrolling does not turn the page
  // Its back button scrolls back one tab.
  wintest::Click(wintest::ScreenPoint(Pages->Handle(), 390, 10));
  EXPECT_EQ(Pages->TabRect(1).Left, 0);
  // Selecting the last page brings its tab in; the scroller follows the row.
  Pages->SetFocus();
  wintest::KeyPress(VK_END);
  EXPECT_EQ(Pages->ActivePage(), Sheets[7]);
  EXPECT_LE(Pages->TabRect(7).Right, 417);
  EXPECT_EQ(Pages->CountLeftHiddenTabs(), 4);
  EXPECT_EQ(U->Position(), 4);  // the range grows with the row rather than refusing the position
  EXPECT_EQ(U->Max(), 4);
  wintest::Click(wintest::ScreenPoint(Pages->Handle(), 390, 10));
  EXPECT_EQ(Pages->TabRect(3).Left, 0);  // back one tab from there
  // Hidden tabs take the scroller away, shown tabs bring it back; so does a control wide enough.
  Pages->HideTabs();
  EXPECT_EQ(Pages->SkinUpDown(), nullptr);
  Pages->ShowTabs();
  ASSERT_NE(Pages->SkinUpDown(), nullptr);
  Pages->SetWidth(700);
  EXPECT_EQ(Pages->SkinUpDown(), nullptr);
  Pages->SetWidth(420);
  ASSERT_NE(Pages->SkinUpDown(), nullptr);
  Pages->SetMultiLine(true);
  Pages->UpDateTabs();
  EXPECT_EQ(Pages->SkinUpDown(), nullptr);
  // With the skin the scroller stands on the border's top edge.
  Pages->SetMultiLine(false);
  UseSkin();
  Pages->SetWidth(421);
  ASSERT_NE(Pages->SkinUpDown(), nullptr);
  EXPECT_EQ(Pages->SkinUpDown()->Top(), std::max(0, Pages->DisplayRect().Top - 20 - 6));
}

// What a tab shows at its own corner (the handler's marker) and where its top edge slice lands tell how
// the tab image was turned for each side of the control.
struct TTurnCase {
  TTabPosition Position;
  bool TextInHorizontal;
  Integer MarkX, MarkY;  // the marker, in the tab's rectangle
  Integer EdgeX, EdgeY;  // a point of the image's top edge, in the tab's rectangle
};

TEST_F(SkinPageControlTest, TabsOnTheSidesAreBuiltLyingDownAndTurned) {
  UseSkin();
  Pages->SetActivePage(Sheets[2]);
  Pages->OnDrawSkinTab = [](Integer, const TRect&, bool, bool, TCanvas* C) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 3, 3));
  };
  // Tabs 81 long and 20 across; the edge point lies 15 along the tab from its start, 2 into it.
  const TTurnCase Cases[] = {
      {tpTop, false, 1, 1, 15, 2},     {tpBottom, false, 1, 1, 15, 17},  // flipped: the edge is below
      {tpLeft, false, 1, 79, 2, 65},    // anticlockwise: reads from bottom to top
      {tpRight, false, 18, 1, 17, 15},  // clockwise: reads from top to bottom
      {tpLeft, true, 1, 1, 2, 65},     {tpRight, true, 1, 1, 17, 15},  // turned first, drawn upright
  };
  for (const TTurnCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "position " << C.Position << " upright " << C.TextInHorizontal);
    Pages->SetTabPosition(C.Position);
    Pages->SetTextInHorizontal(C.TextInHorizontal);
    TRect R;
    Pages->GetTabRect(0, R);
    EXPECT_EQ(PixelOf(Pages, R.Left + C.MarkX, R.Top + C.MarkY), COLORREF(0x0000FF));
    EXPECT_EQ(PixelOf(Pages, R.Left + C.EdgeX, R.Top + C.EdgeY), SliceColor("tab", 1, 1));
  }
}

TEST_F(SkinPageControlTest, ACloseButtonOnASideTabIsHitWhereItIsShown) {
  Pages->SetTabPosition(tpLeft);
  Pages->SetShowCloseButtons(true);
  bool Closed = false;
  Pages->OnClose = [&](TObject*, bool&) { Closed = true; };
  TRect Tab;
  Pages->GetTabRect(0, Tab);
  PixelOf(Pages, 0, 0);  // painting places the buttons
  const TRect B = Sheets[0]->ButtonRect;
  // Drawn at the far end of the lying tab, which reads from bottom to top, it ends up at the top.
  EXPECT_EQ(B.Right - B.Left, 14);
  EXPECT_EQ(B.Bottom - B.Top, 14);
  EXPECT_LT(B.Bottom, (Tab.Bottom - Tab.Top) / 2);
  EXPECT_LE(B.Right, Tab.Right - Tab.Left);
  // The glyph is on screen there.
  bool Glyph = false;
  for (Integer X = B.Left; X < B.Right; ++X)
    for (Integer Y = B.Top; Y < B.Bottom; ++Y) Glyph |= PixelOf(Pages, Tab.Left + X, Tab.Top + Y) == 0;
  EXPECT_TRUE(Glyph);
  const TPoint Centre = Point(Tab.Left + (B.Left + B.Right) / 2, Tab.Top + (B.Top + B.Bottom) / 2);
  wintest::MouseMove(wintest::ScreenPoint(Pages->Handle(), Centre.X, Centre.Y));
  wintest::Click(wintest::ScreenPoint(Pages->Handle(), Centre.X, Centre.Y));
  EXPECT_TRUE(Closed);
}

TEST_F(SkinPageControlTest, ButtonStyleTabsShowTheButtonElementStates) {
  UseSkin();
  Pages->SetStyle(tsButtons);
  Pages->SetActivePage(Sheets[1]);
  auto probe = [&](Integer Tab) {
    TRect R;
    Pages->GetTabRect(Tab, R);
    return PixelOf(Pages, R.Left + 15, R.Top + 9);
  };
  EXPECT_EQ(probe(0), SliceColor("resizetoolbutton", 0, 4));
  EXPECT_EQ(probe(1), SliceColor("resizetoolbutton", 2, 4));  // selected: down
  wintest::MouseMove(wintest::ScreenPoint(Pages->Handle(), 170, 10));
  EXPECT_EQ(probe(2), SliceColor("resizetoolbutton", 1, 4));  // hot: active
  // Another element name; none at all draws no face.
  Pages->ButtonTabSkinDataName = "nosuchelement";
  Pages->Invalidate();
  EXPECT_NE(probe(0), SliceColor("resizetoolbutton", 0, 4));
}

// Under a skin the close button comes from the skin: the tab element's own close pictures, or else the
// "resizetoolbutton" face with a glyph, or else none at all.
TEST_F(SkinPageControlTest, SkinnedCloseButtonsComeFromTheTabElementOrTheButtonElement) {
  UseSkin();
  Pages->SetShowCloseButtons(true);
  auto probeButton = [&] {
    PixelOf(Pages, 0, 0);
    TRect Tab;
    Pages->GetTabRect(1, Tab);
    const TRect B = Sheets[1]->ButtonRect;
    return std::make_pair(B, PixelOf(Pages, Tab.Left + B.Left + 1, Tab.Top + B.Top + 1));
  };
  // The button face at 14 x 14, its top-left corner slice showing.
  auto [Face, FacePixel] = probeButton();
  EXPECT_EQ(Face.Right - Face.Left, 14);
  EXPECT_EQ(Face.Bottom - Face.Top, 14);
  EXPECT_EQ(FacePixel, SliceColor("resizetoolbutton", 0, 0));
  // The tab element's own picture: its size, copied as it is.
  auto* R = dynamic_cast<TbsDataSkinTabControl*>(Skin->Ctrls(Skin->GetControlIndex("tab")));
  ASSERT_NE(R, nullptr);
  R->CloseButtonRect = Bounds(R->SkinRect.Left, R->SkinRect.Top, 10, 12);
  Pages->ChangeSkinData();
  EXPECT_EQ(Pages->GetCloseSize(), 10);
  auto [Own, OwnPixel] = probeButton();
  EXPECT_EQ(Own.Right - Own.Left, 10);
  EXPECT_EQ(Own.Bottom - Own.Top, 12);
  EXPECT_EQ(OwnPixel, SliceColor("tab", 0, 0));
  // Neither: nothing is drawn and the sheet keeps the rectangle it had.
  R->CloseButtonRect = TRect{};
  auto* Button = Skin->Ctrls(Skin->GetControlIndex("resizetoolbutton"));
  Button->IDName = "gone";
  Pages->ChangeSkinData();
  EXPECT_EQ(probeButton().first, Own);
}

// Where a tab's image lands: centred with its caption (alone when there is none), or laid out by the
// extended drawing's margin and layout.
TEST_F(SkinPageControlTest, TabImagesAreCentredOrLaidOutByTheExtendedDrawing) {
  TCustomImageList Images(nullptr, 8, 8);
  TBitmap Red;
  Red.SetSize(8, 8);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(Rect(0, 0, 8, 8));
  Images.Add(&Red, nullptr);
  Pages->SetImages(&Images);
  Sheets[1]->SetImageIndex(0);
  Sheets[1]->SetCaption("");
  TRect R;
  Pages->GetTabRect(1, R);
  const Integer W = R.Right - R.Left, MidY = R.Top + (R.Bottom - R.Top) / 2;
  const COLORREF Want = COLORREF(0x0000FF);
  // Alone: (W - 10) / 2 from the left.
  EXPECT_EQ(PixelOf(Pages, R.Left + W / 2 - 5 + 1, MidY), Want);
  EXPECT_NE(PixelOf(Pages, R.Left + 3, MidY), Want);
  Pages->SetTabExtededDraw(true);
  Pages->SetTabMargin(2);
  EXPECT_EQ(PixelOf(Pages, R.Left + 3, MidY), Want);  // 2 from the left edge
  Pages->SetTabLayout(blGlyphRight);
  EXPECT_EQ(PixelOf(Pages, R.Right - 4, MidY), Want);  // 2 from the right edge
  EXPECT_NE(PixelOf(Pages, R.Left + 3, MidY), Want);
}

TEST_F(SkinPageControlTest, ASheetShowsItsWallPaperTiledOverTheSkin) {
  UseSkin();
  TBitmap Paper;
  Paper.SetSize(10, 10);
  Paper.Canvas()->Brush()->SetColor(clLime);
  Paper.Canvas()->FillRect(Rect(0, 0, 10, 10));
  Paper.Canvas()->SetPixels(9, 9, clBlue);
  Sheets[0]->SetWallPaper(&Paper);
  Sheets[0]->Invalidate();
  EXPECT_EQ(PixelOf(Sheets[0], 5, 5), COLORREF(0x00FF00));
  EXPECT_EQ(PixelOf(Sheets[0], 29, 19), COLORREF(0xFF0000));  // the third copy across, the second down
  // Without one the element's client part shows.
  Sheets[0]->SetWallPaper(nullptr);
  Sheets[0]->Invalidate();
  EXPECT_EQ(PixelOf(Sheets[0], 5, 5), SliceColor("tab", 0, 4));
}

}  // namespace
