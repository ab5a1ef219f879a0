// The skinned page control on a real display: a form with a page control of four sheets under the
// generated skin is mapped on a private X server; the screen shows the selected tab, the other tabs and
// the hot tab in their element states, and a click on a tab shows its sheet. The screenshot is written
// beside the test program as pages_display.png; the second test's, with a scrolled row and a row down
// the left side, as pages_scroll_display.png; the product skin's tabs as pages_product_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordslists.h"
#include "tools/skingen/skingen.h"

namespace {

class PagesDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
  // The form as the screen shows it, written beside the test program.
  void SaveScreenshot(TForm* F, const char* Name) {
    TRect W;
    GetWindowRect(F->Handle(), &W);
    TRawImage Shot = Reader->Capture(W);
    ASSERT_FALSE(Shot.Empty());
    x11test::SaveBesideProgram(Shot, Name);
  }
};

TEST_F(PagesDisplay, SkinnedTabsShowTheirStatesAndAClickTurnsThePage) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 300);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Pages = NewControl<TbsSkinPageControl>(F, Bounds(10, 10, 380, 240));
  std::vector<TbsSkinTabSheet*> Sheets;
  for (const char* Caption : {"常规 General", "视频 Video", "音频 Audio", "高级"}) {
    auto* S = new TbsSkinTabSheet(F);
    S->SetCaption(Caption);
    S->SetPageControl(Pages);
    Sheets.push_back(S);
  }
  Pages->SetTabWidth(90);
  Pages->SetSkinData(Skin.get());
  Pages->SetActivePage(Sheets[1]);
  F->Show();

  auto tabPoint = [&](Integer Tab) {
    TRect R;
    Pages->GetTabRect(Tab, R);
    return Point(R.Left + 40, R.Top + 2);  // above the caption: the top edge's middle slice
  };
  const TPoint Sel = tabPoint(1), Other = tabPoint(0), Hot = tabPoint(2);
  EXPECT_TRUE(Shows(Pages, Sel.X, Sel.Y, SliceColor("tab", 2, 1)))
      << std::hex << ScreenAt(Pages, Sel.X, Sel.Y) << " want " << SliceColor("tab", 2, 1);
  // The screenshot with the hot tab, before the click turns the page.
  SaveScreenshot(F, "pages_display.png");

  EXPECT_EQ(ScreenAt(Pages, Other.X, Other.Y), SliceColor("tab", 1, 1));
  // The sheet under the tabs shows the element's client part.
  EXPECT_EQ(ScreenAt(Sheets[1], 20, 20), SliceColor("tab", 0, 4));

  // Hovering a tab shows its hot image.
  SendMessage(Pages->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Hot.X, Hot.Y));
  EXPECT_TRUE(Shows(Pages, Hot.X, Hot.Y, SliceColor("tab", 3, 1)));

  // A click on the last tab shows its sheet, selected and focused.
  const TPoint Last = tabPoint(3);
  SendMessage(Pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Last.X, Last.Y));
  SendMessage(Pages->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Last.X, Last.Y));
  EXPECT_EQ(Pages->ActivePage(), Sheets[3]);
  EXPECT_TRUE(Shows(Pages, Last.X, Last.Y, SliceColor("tab", 4, 1)));
  EXPECT_TRUE(Shows(Pages, Sel.X, Sel.Y, SliceColor("tab", 1, 1)));
}

TEST_F(PagesDisplay, TheScrollerMovesTheRowAndSideTabsStandUpright) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 480, 420);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Row = NewControl<TbsSkinPageControl>(F, Bounds(10, 10, 420, 150));
  auto* Side = NewControl<TbsSkinPageControl>(F, Bounds(10, 180, 420, 200));
  for (const char* Caption : {"一", "二", "三", "四", "五", "六", "七", "八"}) {
    auto* S = new TbsSkinTabSheet(F);
    S->SetCaption(Caption);
    S->SetPageControl(Row);
  }
  for (const char* Caption : {"常规", "视频"}) {
    auto* S = new TbsSkinTabSheet(F);
    S->SetCaption(Caption);
    S->SetPageControl(Side);
  }
  for (auto* P : {Row, Side}) {
    P->SetTabWidth(80);
    P->SetTabHeight(20);
    P->SetSkinData(Skin.get());
  }
  Side->SetTabPosition(tpLeft);
  Side->SetActivePage(Side->Pages(1));
  Row->SetWidth(421);  // the row is laid out again and checked for cut-off tabs
  F->Show();

  TbsSkinUpDown* U = Row->SkinUpDown();
  ASSERT_NE(U, nullptr);
  TRect First;
  Row->GetTabRect(0, First);
  const TPoint P = Point(First.Left + 40, First.Top + 2);
  EXPECT_TRUE(Shows(Row, P.X, P.Y, SliceColor("tab", 2, 1)));  // the selected first tab
  // The side's unselected first tab lies turned: its top edge runs down its left side.
  TRect SideTab;
  Side->GetTabRect(0, SideTab);
  EXPECT_TRUE(Shows(Side, SideTab.Left + 2, SideTab.Top + 40, SliceColor("tab", 1, 1)));

  // The scroller's forward button moves the second tab to where the first was.
  SendMessage(U->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(U->Width() - 5, 5));
  SendMessage(U->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(U->Width() - 5, 5));
  EXPECT_EQ(U->Position(), 1);
  EXPECT_TRUE(Shows(Row, P.X, P.Y, SliceColor("tab", 1, 1)));

  SaveScreenshot(F, "pages_scroll_display.png");
}

// The ink of a caption: its text pixels are dark, faces and borders of the product look light.
TRect InkBox(const TRawImage& Shot, const TRect& R) {
  TRect Box = Rect(R.Right, R.Bottom, R.Left, R.Top);
  const Integer Bytes = Shot.BitCount / 8;
  for (Integer y = R.Top; y < R.Bottom; ++y)
    for (Integer x = R.Left; x < R.Right; ++x) {
      const Byte* P = Shot.Row(y) + Bytes * x;
      if (std::max({P[0], P[1], P[2]}) >= 150) continue;
      Box = Rect(std::min(Box.Left, x), std::min(Box.Top, y), std::max(Box.Right, x + 1),
                 std::max(Box.Bottom, y + 1));
    }
  return Box;
}

// The options dialog's tabs on the product skin: each caption shows in the skin's tab font (the look's
// 12-px text, not bold), as large as the same text drawn in that font anywhere else.
TEST_F(PagesDisplay, TabCaptionsShowInTheSkinsTabFont) {
  TbsSkinData Product(nullptr);
  BuildProductSkin(&Product);
  auto* Tab = dynamic_cast<TbsDataSkinTabControl*>(Product.Ctrls(Product.GetControlIndex("tab")));
  ASSERT_NE(Tab, nullptr);
  ASSERT_FALSE(Tab->FontStyle.Contains(fsBold));
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 420, 200);
  F->SetColor(clWhite);
  auto* Pages = NewControl<TbsSkinPageControl>(F, Bounds(10, 10, 380, 150));
  const char* Captions[] = {"CPU", "常规"};
  for (const char* Caption : Captions) {
    auto* S = new TbsSkinTabSheet(F);
    S->SetCaption(Caption);
    S->SetPageControl(Pages);
  }
  Pages->SetTabWidth(80);
  Pages->SetSkinData(&Product);
  Pages->SetActivePage(Pages->Pages(1));
  F->Show();
  TRect Tab0;
  Pages->GetTabRect(0, Tab0);
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Pages, Tab0.Left + 40, Tab0.Bottom - 4) != 0; }));
  ASSERT_TRUE(PumpUntil([&] {
    const TPoint O = Pages->ClientToScreen({0, 0});
    TRect R = Tab0;
    OffsetRect(&R, O.X, O.Y);
    const TRawImage Shot = Reader->Capture(R);
    const TRect Ink = InkBox(Shot, Rect(0, 0, Shot.Width, Shot.Height));
    return !IsRectEmpty(&Ink);
  }));
  SaveScreenshot(F, "pages_product_display.png");

  for (Integer i = 0; i < 2; ++i) {
    SCOPED_TRACE(Captions[i]);
    TRect R;
    Pages->GetTabRect(i, R);
    const TPoint O = Pages->ClientToScreen({0, 0});
    OffsetRect(&R, O.X, O.Y);
    const TRawImage Shot = Reader->Capture(R);
    const TRect Shown = InkBox(Shot, Rect(3, 3, Shot.Width - 3, Shot.Height - 3));

    TBitmap B;
    B.SetSize(200, 60);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 200, 60));
    B.Canvas()->Font()->SetName(Tab->FontName);
    B.Canvas()->Font()->SetHeight(Tab->FontHeight);
    B.Canvas()->Font()->SetStyle(Tab->FontStyle);
    B.Canvas()->Font()->SetColor(clBlack);
    B.Canvas()->Brush()->SetStyle(bsClear);
    TRect T = Rect(10, 10, 190, 50);
    DrawText(bsCanvasDC(B.Canvas()), Captions[i], &T, DT_SINGLELINE);
    TRect Want = Rect(200, 60, 0, 0);
    for (Integer y = 0; y < 60; ++y)
      for (Integer x = 0; x < 200; ++x)
        if (GetRValue(ColorToRGB(B.Canvas()->Pixels(x, y))) < 150)
          Want = Rect(std::min(Want.Left, x), std::min(Want.Top, y), std::max(Want.Right, x + 1),
                      std::max(Want.Bottom, y + 1));
    EXPECT_NEAR(Shown.Width(), Want.Width(), 1);
    EXPECT_NEAR(Shown.Height(), Want.Height(), 1);
  }
}

}  // namespace

#endif
