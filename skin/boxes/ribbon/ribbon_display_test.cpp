// The ribbon on a real display: a form with a ribbon under a quiet light "officetab" element (drawn
// here in the product's palette) is mapped on a private X server; a click on a tab switches pages and
// the mouse over another tab shows its hover picture. The screenshot is written beside the test
// program as skinribbon_display.png. A second test opens the application menu from the application
// button, over the same ribbon, with a page of recent files shown (skinappmenu_display.png). A third
// puts the ribbon on a form with a skinned frame: while the menu is open, the frame's caption shows the
// menu's caption picture over the item column and the caption text moves right of it
// (skinribbonframe_display.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/ribbon/bsappmenu.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/boxes/ribbon/ribbontestskin.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

constexpr TColor Strip = TColor(RGB(0xF3, 0xF4, 0xF6));
constexpr TColor Border = TColor(RGB(0xD9, 0xDC, 0xE1));
constexpr TColor Surface = TColor(RGB(0xFF, 0xFF, 0xFF));
constexpr TColor Hover = TColor(RGB(0xEE, 0xF2, 0xF8));
constexpr TColor Accent = TColor(RGB(0x2F, 0x6F, 0xDE));
constexpr TColor Window = TColor(RGB(0xF3, 0xF4, 0xF6));
constexpr TColor Selection = TColor(RGB(0xDC, 0xE6, 0xF8));
constexpr TColor Text = TColor(RGB(0x1F, 0x23, 0x28));

class SkinRibbonDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // Points the skin's "officetab" element at a picture of ours: a white page framed by a 1-pixel line,
  // a light strip, the selected tab white with an accent line on top, the hovered one a pale face.
  void UseLightRibbonElement() {
    auto Pic = SolidPicture(Border, 260, 40);
    TCanvas* C = Pic->Canvas();
    auto fill = [&](TColor Colour, const TRect& R) {
      C->Brush()->SetColor(Colour);
      C->FillRect(R);
    };
    fill(Border, Rect(0, 0, 40, 40));  // the page frame
    fill(Surface, Rect(1, 1, 39, 39));
    fill(Border, Rect(40, 0, 80, 27));  // selected tab: framed left, top and right
    fill(Surface, Rect(41, 1, 79, 27));
    fill(Border, Rect(120, 0, 160, 27));  // selected and focused: an accent line on top
    fill(Surface, Rect(121, 1, 159, 27));
    fill(Accent, Rect(121, 0, 159, 2));
    fill(Hover, Rect(80, 3, 120, 27));  // hovered
    fill(Strip, Rect(80, 0, 120, 3));
    fill(Strip, Rect(160, 0, 170, 27));   // strip background
    fill(Accent, Rect(170, 0, 200, 24));  // the application button: normal, hover, pressed
    fill(TColor(RGB(0x3B, 0x7B, 0xEA)), Rect(200, 0, 230, 24));
    fill(TColor(RGB(0x25, 0x59, 0xB8)), Rect(230, 0, 260, 24));
    Skin->AddPicture(std::move(Pic), "ribbon.bmp");
    auto* R = dynamic_cast<TbsDataSkinTabControl*>(Skin->Ctrls(Skin->GetControlIndex("officetab")));
    ASSERT_NE(R, nullptr);
    R->PictureIndex = Skin->PictureCount() - 1;
    SetUniformFrame(R, Rect(0, 0, 40, 40), 1);
    R->StretchEffect = true;
    R->StretchType = bsstFull;
    R->TabRect = Rect(40, 0, 80, 27);
    R->ActiveTabRect = Rect(40, 0, 80, 27);
    R->FocusTabRect = Rect(120, 0, 160, 27);
    R->MouseInTabRect = Rect(80, 0, 120, 27);
    R->TabsBGRect = Rect(160, 0, 170, 27);
    R->TabLeftOffset = R->TabRightOffset = 3;
    R->TabStretchEffect = true;
    R->FontName = "宋体";
    R->FontHeight = 12;
    R->FontColor = TColor(RGB(0x5B, 0x62, 0x70));
    R->ActiveFontColor = TColor(RGB(0x1F, 0x23, 0x28));
    R->FocusFontColor = Accent;
    R->MouseInFontColor = TColor(RGB(0x1F, 0x23, 0x28));
    R->DividerRect = Rect(0, 0, 0, 0);
    R->MDICloseRect = R->MDIRestoreRect = R->MDIMinRect = Rect(0, 0, 0, 0);
    Skin->SkinColors()->SetcBtnShadow(Strip);
    auto* B = dynamic_cast<TbsDataSkinButtonControl*>(Skin->Ctrls(Skin->GetControlIndex("officemenubutton")));
    ASSERT_NE(B, nullptr);
    B->PictureIndex = R->PictureIndex;
    SetUniformFrame(B, Rect(170, 0, 200, 24), 3);
    B->ActiveSkinRect = Rect(200, 0, 230, 24);
    B->DownSkinRect = Rect(230, 0, 260, 24);
    B->FocusedSkinRect = B->SkinRect;
    B->FontName = "宋体";
    B->FontHeight = 12;
    B->FontColor = B->ActiveFontColor = B->DownFontColor = TColor(RGB(0xFF, 0xFF, 0xFF));
  }

  // Points the skin's "appmenu" element at a picture of ours: a light column, a white page area with
  // the page framed by a 1-pixel line, hovered and chosen items on the selection colour, the shown
  // page's item marked by an accent bar at its left, and a 1-pixel line along the top.
  void UseLightAppMenuElement() {
    auto Pic = SolidPicture(Surface, 200, 40);
    TCanvas* C = Pic->Canvas();
    auto fill = [&](TColor Colour, const TRect& R) {
      C->Brush()->SetColor(Colour);
      C->FillRect(R);
    };
    fill(Border, Rect(0, 0, 40, 40));  // the page frame around a white page
    fill(Surface, Rect(1, 1, 39, 39));
    fill(Selection, Rect(40, 0, 80, 28));  // a plain item, hovered or chosen
    fill(Window, Rect(80, 0, 120, 36));    // a page item, hovered
    fill(Hover, Rect(80, 0, 120, 36));
    fill(Selection, Rect(120, 0, 160, 36));  // the shown page's item
    fill(Accent, Rect(120, 0, 123, 36));
    fill(Border, Rect(160, 0, 200, 1));   // the top line
    fill(Accent, Rect(160, 4, 200, 40));  // the caption picture: an accent block with a light base
    fill(Selection, Rect(160, 34, 200, 40));
    Skin->AddPicture(std::move(Pic), "appmenu.bmp");
    auto* D = dynamic_cast<TbsDataSkinAppMenu*>(Skin->Ctrls(Skin->GetControlIndex("appmenu")));
    ASSERT_NE(D, nullptr);
    D->PictureIndex = Skin->PictureCount() - 1;
    SetUniformFrame(D, Rect(0, 0, 40, 40), 1);
    D->LeftStretch = D->TopStretch = D->RightStretch = D->BottomStretch = true;
    D->StretchEffect = true;
    D->StretchType = bsstFull;
    D->ItemRect = Rect(40, 0, 80, 28);
    D->PageItemRect = Rect(80, 0, 120, 36);
    D->PageItemActiveRect = Rect(120, 0, 160, 36);
    D->ItemOffset1 = D->ItemOffset2 = 4;
    D->PageItemOffset1 = D->PageItemOffset2 = 4;
    D->PageOffset = 8;
    D->TopLineRect = Rect(160, 0, 200, 1);
    D->TopLineOffset1 = D->TopLineOffset2 = 0;
    D->BackButtonRect = D->BackButtonActiveRect = D->CaptionRect = D->GripperRect = TRect{};
    D->FontName = "宋体";
    D->FontHeight = 12;
    D->FontPageHeight = 13;
    D->FontStyle = {};
    D->FontColor = D->ActiveFontColor = D->FontPageColor = D->ActiveFontPageColor = Text;
    D->DisabledFontColor = TColor(RGB(0xA3, 0xA9, 0xB3));
    Skin->AddPicture(SolidPicture(Window, 8, 8), "appmenu-column.bmp");
    D->BGPictureIndex = Skin->PictureCount() - 1;
    D->BGStretchEffect = true;
    Skin->AddPicture(SolidPicture(Surface, 8, 8), "appmenu-pages.bmp");
    D->BGPagePictureIndex = Skin->PictureCount() - 1;
    D->BGPageStretchEffect = true;
  }
};

TEST_F(SkinRibbonDisplay, TabsSwitchPagesByClickAndShowTheirHoverLook) {
  UseLightRibbonElement();
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 640, 220);
  F->SetColor(TColor(RGB(0xF3, 0xF4, 0xF6)));
  F->SetCaption("Nerivo");
  auto* R = new TbsRibbon(F);
  R->SetParent(F);
  const char* Captions[] = {"开始", "转换", "视图", "帮助"};
  for (const char* Caption : Captions) R->Tabs()->Add()->Page()->SetCaption(Caption);
  R->SetAppButtonCaption("文件");
  R->SetTabIndex(0);
  // Something on each of the first two pages, so that switching is visible.
  const char* Texts[] = {"添加文件、删除或清空转换列表", "选择输出格式与输出目录"};
  for (Integer i = 0; i < 2; ++i) {
    auto* L = new TbsSkinStdLabel(F);
    L->SetParent(R->Tabs()->Items(i)->Page());
    L->SetBounds(12, 14, 300, 20);
    L->SetCaption(Texts[i]);
  }
  R->SetSkinData(Skin.get());
  F->Show();

  TbsRibbonPage* First = R->Tabs()->Items(0)->Page();
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(R, R->Width() - 20, 6) == COLORREF(ColorToRGB(Strip)); }));
  const TRect Sel = R->Tabs()->Items(0)->ItemRect;
  EXPECT_EQ(ScreenAt(R, Sel.Left + 4, Sel.Top + 4), COLORREF(ColorToRGB(Surface)));
  EXPECT_EQ(ScreenAt(First, First->Width() - 4, First->Height() - 4), COLORREF(ColorToRGB(Surface)));
  EXPECT_EQ(ScreenAt(R->AppButton(), 2, 2), COLORREF(ColorToRGB(Accent)));

  // A click on the second tab shows its page and hides the first; the ribbon has the focus, so the
  // selected tab wears the accent line.
  const TRect Second = R->Tabs()->Items(1)->ItemRect;
  wintest::Click(R->ClientToScreen({Second.Left + 10, Second.Top + 10}));
  EXPECT_EQ(R->TabIndex(), 1);
  EXPECT_TRUE(R->Focused());
  EXPECT_FALSE(First->Visible());
  ASSERT_TRUE(
      PumpUntil([&] { return ScreenAt(R, Second.Left + 6, Second.Top) == COLORREF(ColorToRGB(Accent)); }));

  // The mouse resting on the third tab gives it the hover picture.
  const TRect Third = R->Tabs()->Items(2)->ItemRect;
  wintest::MouseMove(R->ClientToScreen({Third.Left + 10, Third.Top + 12}));
  ASSERT_TRUE(
      PumpUntil([&] { return ScreenAt(R, Third.Left + 4, Third.Top + 20) == COLORREF(ColorToRGB(Hover)); }));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinribbon_display.png");
}

TEST_F(SkinRibbonDisplay, TheApplicationButtonOpensTheMenuWithAPageOfRecentFiles) {
  UseLightRibbonElement();
  UseLightAppMenuElement();
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 640, 360);
  F->SetColor(Window);
  F->SetCaption("Nerivo");
  auto* R = new TbsRibbon(F);
  R->SetParent(F);
  for (const char* Caption : {"开始", "转换", "视图", "帮助"}) R->Tabs()->Add()->Page()->SetCaption(Caption);
  R->SetAppButtonCaption("文件");
  R->SetTabIndex(0);
  auto* M = new TbsAppMenu(F);
  M->SetItemWidth(150);
  std::vector<String> Chosen;
  for (const char* Caption : {"添加文件...", "添加文件夹...", "保存列表"})
    M->Items()->Add()->SetCaption(Caption);
  TbsAppMenuItem* Recent = M->Items()->Add();
  Recent->SetCaption("最近的列表");
  TbsAppMenuItem* Options = M->Items()->Add();
  Options->SetCaption("选项");
  TbsAppMenuItem* Quit = M->Items()->Add();
  Quit->SetCaption("退出");
  Quit->OnClick = [&](TObject*) { Chosen.push_back("退出"); };
  R->SetAppMenu(M);
  TbsAppMenuPage* Page = M->CreatePage();
  Recent->SetPage(Page);
  Options->SetPage(M->CreatePage());
  M->SetActivePage(Page);
  const char* Files[] = {"最近的列表", "假期视频.lst", "会议录像.lst", "课程片段.lst"};
  for (Integer i = 0; i < 4; ++i) {
    auto* L = new TbsSkinStdLabel(F);
    L->SetParent(Page);
    L->SetBounds(16, i == 0 ? 12 : 28 + 24 * i, 300, 20);
    L->SetCaption(Files[i]);
  }
  R->SetSkinData(Skin.get());
  M->SetSkinData(Skin.get());
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(R->AppButton(), 2, 2) == COLORREF(ColorToRGB(Accent)); }));

  wintest::Click(R->AppButton()->ClientToScreen({20, 12}));
  ASSERT_TRUE(M->Visible());
  EXPECT_TRUE(M->Focused());
  EXPECT_EQ(M->ItemIndex(), Recent->Index());
  // The mouse rests on the first plain item.
  M->CalcItemRects();
  const TRect First = M->Items()->Items(0)->ItemRect;
  wintest::MouseMove(M->ClientToScreen({First.Left + 60, First.Top + 10}));
  M->CalcItemRects();
  const TRect Shown = Recent->ItemRect;
  ASSERT_TRUE(
      PumpUntil([&] { return ScreenAt(M, Shown.Left + 1, Shown.Top + 18) == COLORREF(ColorToRGB(Accent)); }));
  // The menu starts under the application button and covers the pages; the column, the shown page's
  // item with its accent bar, the hovered item, the framed white page and the pressed button show.
  EXPECT_EQ(M->Top(), R->AppButton()->Top() + R->AppButton()->Height());
  EXPECT_EQ(ScreenAt(M, 5, M->Height() - 8), COLORREF(ColorToRGB(Window)));
  EXPECT_EQ(ScreenAt(M, Shown.Left + 10, Shown.Top + 2), COLORREF(ColorToRGB(Selection)));
  EXPECT_EQ(ScreenAt(M, First.Left + 2, First.Top + 2), COLORREF(ColorToRGB(Selection)));
  EXPECT_EQ(ScreenAt(M, 5, 0), COLORREF(ColorToRGB(Border)));
  const TRect PB = Page->BoundsRect();
  EXPECT_EQ(ScreenAt(M, PB.Left - 1, PB.Top + 20), COLORREF(ColorToRGB(Border)));
  EXPECT_EQ(ScreenAt(Page, Page->Width() - 6, Page->Height() - 6), COLORREF(ColorToRGB(Surface)));
  EXPECT_EQ(ScreenAt(R->AppButton(), 2, 2), COLORREF(ColorToRGB(TColor(RGB(0x25, 0x59, 0xB8)))));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinappmenu_display.png");

  // Escape closes it again and the ribbon's page is back.
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(M->Visible());
  EXPECT_TRUE(Chosen.empty());
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(R->AppButton(), 2, 2) == COLORREF(ColorToRGB(Accent)); }));
}

TEST_F(SkinRibbonDisplay, TheOpenMenuShowsItsCaptionPictureInTheSkinnedFrame) {
  UseLightRibbonElement();
  UseLightAppMenuElement();
  auto* D = dynamic_cast<TbsDataSkinAppMenu*>(Skin->Ctrls(Skin->GetControlIndex("appmenu")));
  ASSERT_NE(D, nullptr);
  D->CaptionRect = Rect(160, 4, 200, 40);
  D->CaptionLeftOffset = 6;
  D->CaptionTopOffset = 0;
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 640, 360);
  F->SetColor(Window);
  F->SetCaption("Nerivo");
  auto* Engine = new TbsSkinForm(F);
  Engine->SetSkinData(Skin.get());
  auto* R = new TbsRibbon(F);
  R->SetParent(F);
  for (const char* Caption : {"开始", "转换", "视图"}) R->Tabs()->Add()->Page()->SetCaption(Caption);
  R->SetAppButtonCaption("文件");
  R->SetTabIndex(0);
  auto* M = new TbsAppMenu(F);
  M->SetItemWidth(150);
  for (const char* Caption : {"添加文件...", "保存列表", "退出"}) M->Items()->Add()->SetCaption(Caption);
  R->SetAppMenu(M);
  R->SetSkinData(Skin.get());
  M->SetSkinData(Skin.get());
  Engine->SetSkinRibbon(R);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(R->AppButton(), 2, 2) == COLORREF(ColorToRGB(Accent)); }));
  TRect W;
  GetWindowRect(F->Handle(), &W);
  // The frame's caption at screen point (X, Y) of the window.
  auto frameAt = [&](Integer X, Integer Y) { return Reader->Pixel(W.Left + X, W.Top + Y); };
  const COLORREF AccentRGB = COLORREF(ColorToRGB(Accent));
  EXPECT_NE(frameAt(6 + 20, 3), AccentRGB);

  wintest::Click(R->AppButton()->ClientToScreen({20, 12}));
  ASSERT_TRUE(M->Visible());
  ASSERT_TRUE(Engine->CanShowAppMenuCaption());
  // The picture spans the item column from its offset, the light base at the caption's bottom.
  ASSERT_TRUE(PumpUntil([&] { return frameAt(6 + 20, 3) == AccentRGB; }));
  EXPECT_EQ(frameAt(6 + 145, 3), AccentRGB);
  EXPECT_NE(frameAt(6 + 155, 3), AccentRGB);
  EXPECT_EQ(frameAt(6 + 75, Engine->Geometry().NewClRect.Top - 1), COLORREF(ColorToRGB(Selection)));

  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinribbonframe_display.png");

  // Escape closes the menu and the frame's caption is plain again.
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(M->Visible());
  ASSERT_TRUE(PumpUntil([&] { return frameAt(6 + 20, 3) != AccentRGB; }));
}

}  // namespace

#endif
