// Tool bars, speed buttons, a status bar and a hint on a real display: a form with a tool bar of speed
// buttons (one a menu speed button), a narrow tool bar whose buttons do not fit (its arrows are drawn
// in its non-client area), and a status bar with a size grip under the generated skin, plus a skinned
// hint with a title, mapped on a private X server and read back. The screenshot is written beside the
// test program as toolbar_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class ToolBarDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
  std::unique_ptr<TCustomImageList> SolidImages(std::initializer_list<TColor> Colors) {
    auto L = std::make_unique<TCustomImageList>(nullptr, 16, 16);
    for (TColor C : Colors) {
      TBitmap B;
      B.SetSize(16, 16);
      B.Canvas()->Brush()->SetColor(C);
      B.Canvas()->FillRect(Rect(0, 0, 16, 16));
      B.Canvas()->Brush()->SetColor(clBlack);
      B.Canvas()->FrameRect(Rect(0, 0, 16, 16));
      L->Add(&B, nullptr);
    }
    return L;
  }
  void SaveShot(const TRect& R, const char* Name) {
    TRawImage Shot = Reader->Capture(R);
    ASSERT_FALSE(Shot.Empty());
    x11test::SaveBesideProgram(Shot, Name);
  }
};

TEST_F(ToolBarDisplay, ToolBarsStatusBarAndHintUnderTheGeneratedSkin) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 460, 300);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto Images = SolidImages({clRed, clLime, clBlue, clYellow, clFuchsia});
  auto* Hint = new TbsSkinHint(F);
  Hint->SetSkinData(Skin.get());

  auto* Bar = NewControl<TbsSkinToolBar>(F, Bounds(0, 0, 440, 44));
  Bar->SetImages(Images.get());
  TbsSkinSpeedButton* Buttons[4];
  const char* Captions[4] = {"打开", "Save", "转换", "Stop"};
  for (int i = 0; i < 4; ++i) {
    Buttons[i] = NewControl<TbsSkinSpeedButton>(Bar, Bounds(6 + i * 64, 0, 60, 34));
    Buttons[i]->SetCaption(Captions[i]);
    Buttons[i]->SetImageIndex(i);
  }
  auto* Menu = NewControl<TbsSkinMenuSpeedButton>(Bar, Bounds(270, 0, 70, 34));
  Menu->SetCaption("More");
  Menu->SetImageIndex(4);
  Bar->SetSkinData(Skin.get());
  Bar->SetBounds(0, 0, 440, 44);

  auto* Narrow = NewControl<TbsSkinToolBar>(F, Bounds(0, 60, 160, 40));
  Narrow->SetCanScroll(true);
  for (int i = 0; i < 5; ++i) NewControl<TbsSkinSpeedButton>(Narrow, Bounds(i * 40, 0, 38, 30));
  Narrow->SetSkinData(Skin.get());
  Narrow->SetBounds(0, 60, 160, 40);

  auto* Status = NewControl<TbsSkinStatusBar>(F, Bounds(0, 200, 440, 24));
  Status->SetSizeGrip(true);
  Status->SetSkinData(Skin.get());
  F->Show();

  // Tool bar and its buttons in their normal colours; the buttons' images over their pictures.
  ASSERT_TRUE(Shows(Bar, 300, 40, SliceColor("toolpanel", 0, 7)));
  EXPECT_EQ(ScreenAt(Buttons[0], 1, 1), SliceColor("toolbutton", 0, 0));
  EXPECT_EQ(ScreenAt(Buttons[1], 30, 2), SliceColor("toolbutton", 0, 1));
  EXPECT_EQ(ScreenAt(Menu, 1, 1), SliceColor("toolmenubutton", 0, 0));
  // Centred vertically in the 44-pixel bar.
  EXPECT_EQ(Buttons[0]->Top(), 5);
  // The narrow bar shows its arrows (the client starts 12 pixels in) and the status bar its grip.
  EXPECT_TRUE(Narrow->ArrowsShown());
  EXPECT_EQ(Narrow->ClientWidth(), 160 - 24);
  TRect NW;
  GetWindowRect(Narrow->Handle(), &NW);
  EXPECT_EQ(Reader->Pixel(NW.Left + 1, NW.Top + 1), SliceColor("resizebutton", 0, 0));
  EXPECT_EQ(Reader->Pixel(NW.Right - 2, NW.Bottom - 2), SliceColor("resizebutton", 0, 8));
  EXPECT_EQ(ScreenAt(Status, 5, 12), SliceColor("statusbar", 0, 3));
  // Hovering a speed button shows its active picture.
  Buttons[2]->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(Shows(Buttons[2], 1, 1, SliceColor("toolbutton", 1, 0)));

  // A skinned hint with a bold title, placed over the form.
  const TPoint HintAt = F->ClientToScreen({150, 110});
  Hint->ActivateHintEx(HintAt, "标题 Title", "提示 A hint@second line", 1, Images.get());
  TbsSkinHintWindow* HW = Hint->HintWindow();
  ASSERT_TRUE(HW->HandleAllocated());
  ASSERT_TRUE(PumpUntil([&] {
    return Reader->Pixel(HintAt.X + 1, HintAt.Y + 1) ==
           COLORREF(GeneratedSkinSliceColor(GeneratedSkinHintElement, 0, 0));
  }));
  EXPECT_EQ(HW->BoundsRect().TopLeft(), HintAt);
  const TRect HR = HW->BoundsRect();
  EXPECT_EQ(Reader->Pixel(HR.Right - 2, HR.Bottom - 2),
            COLORREF(GeneratedSkinSliceColor(GeneratedSkinHintElement, 0, 8)));
  // The image sits 5 pixels into the client part, below the title.
  Integer Lime = 0;
  for (Integer y = HR.Top; y < HR.Bottom; ++y)
    for (Integer x = HR.Left; x < HR.Right; ++x) Lime += Reader->Pixel(x, y) == RGB(0, 255, 0);
  EXPECT_GE(Lime, 14 * 14);
  // Dark text pixels (title and text) in the client part.
  Integer Ink = 0;
  for (Integer y = HR.Top + 6; y < HR.Bottom - 6; ++y)
    for (Integer x = HR.Left + 6; x < HR.Right - 6; ++x) {
      const COLORREF C = Reader->Pixel(x, y);
      Ink += std::max({GetRValue(C), GetGValue(C), GetBValue(C)}) < 90;
    }
  EXPECT_GT(Ink, 60);

  TRect W;
  GetWindowRect(F->Handle(), &W);
  SaveShot(W, "toolbar_display.png");
  Hint->HideHint();
}

}  // namespace

#endif
