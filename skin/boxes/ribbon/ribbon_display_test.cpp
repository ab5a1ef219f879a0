// The ribbon on a real display: a form with a ribbon under a quiet light "officetab" element (drawn
// here in the product's palette) is mapped on a private X server; a click on a tab switches pages and
// the mouse over another tab shows its hover picture. The screenshot is written beside the test
// program as skinribbon_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/codecs.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/ribbon/bsribbon.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

constexpr TColor Strip = TColor(RGB(0xF3, 0xF4, 0xF6));
constexpr TColor Border = TColor(RGB(0xD9, 0xDC, 0xE1));
constexpr TColor Surface = TColor(RGB(0xFF, 0xFF, 0xFF));
constexpr TColor Hover = TColor(RGB(0xEE, 0xF2, 0xF8));
constexpr TColor Accent = TColor(RGB(0x2F, 0x6F, 0xDE));

class SkinRibbonDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // Points the skin's "officetab" element at a picture of ours: a white page framed by a 1-pixel line,
  // a light strip, the selected tab white with an accent line on top, the hovered one a pale face.
  void UseLightRibbonElement() {
    auto Pic = std::make_unique<TBitmap>();
    Pic->SetPixelFormat(pf24bit);
    Pic->SetSize(260, 40);
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
    R->SkinRect = Rect(0, 0, 40, 40);
    R->ClRect = Rect(1, 1, 39, 39);
    R->LTPoint = TPoint{1, 1};
    R->RTPoint = TPoint{39, 1};
    R->LBPoint = TPoint{1, 39};
    R->RBPoint = TPoint{39, 39};
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
    B->SkinRect = Rect(170, 0, 200, 24);
    B->ActiveSkinRect = Rect(200, 0, 230, 24);
    B->DownSkinRect = Rect(230, 0, 260, 24);
    B->FocusedSkinRect = B->SkinRect;
    B->ClRect = Rect(3, 3, 27, 21);
    B->LTPoint = TPoint{3, 3};
    B->RTPoint = TPoint{27, 3};
    B->LBPoint = TPoint{3, 21};
    B->RBPoint = TPoint{27, 21};
    B->FontName = "宋体";
    B->FontHeight = 12;
    B->FontColor = B->ActiveFontColor = B->DownFontColor = TColor(RGB(0xFF, 0xFF, 0xFF));
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

}  // namespace

#endif
