// The skinned controls on a real display: a form with a skinned panel, push buttons, a windowless
// skinned control, a text label, a standard label, a check box, a radio box, a scroll bar and a slider
// under the generated skin is mapped on a private X server, and what the screen shows is read back.
// Hovering and pressing change the state colours on the screen. The screenshot is written beside the
// test program as skincontrols_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/rtl/threads.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/base/bsgraphicskincontrol.h"
#include "skin/controls/base/bsskincontrol.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinlabels.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinControlsDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // Waits until the screen shows Want at a client point of C.
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
};

TEST_F(SkinControlsDisplay, SkinnedFormShowsTheSkinsStateColours) {
  UseTwoColourCheckPictures("checkbox");
  UseTwoColourCheckPictures("radiobox");
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 440, 330);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Panel = NewControl<TbsSkinCustomControl>(F, Bounds(10, 10, 180, 120));
  Panel->SetSkinDataName("panel");
  Panel->SetSkinData(Skin.get());
  auto* Ok = NewControl<TbsSkinButton>(Panel, Bounds(10, 10, 100, 30));
  Ok->SetCaption("确定 OK");
  Ok->SetSkinData(Skin.get());
  auto* Cancel = NewControl<TbsSkinButton>(Panel, Bounds(10, 60, 100, 30));
  Cancel->SetCaption("取消");
  Cancel->SetSkinData(Skin.get());
  auto* Tool = NewControl<TbsGraphicSkinCustomControl>(F, Bounds(210, 10, 120, 30));
  Tool->SetSkinDataName("toolbutton");
  Tool->SetSkinData(Skin.get());
  auto* Label = NewControl<TbsSkinTextLabel>(F, Bounds(210, 60, 10, 10));
  Label->Lines()->Add("输出目录 Output");
  Label->Lines()->Add("Second line");
  Label->SetSkinData(Skin.get());
  auto* Caption = NewControl<TbsSkinStdLabel>(F, Bounds(210, 120, 10, 10));
  Caption->SetCaption("完成后关机 Shut down");
  Caption->SetSkinData(Skin.get());
  auto* Check = NewControl<TbsSkinCheckRadioBox>(F, Bounds(10, 150, 150, 25));
  Check->SetCaption("完成后关机 Shut down");
  Check->SetSkinData(Skin.get());
  auto* Radio = NewControl<TbsSkinCheckRadioBox>(F, Bounds(10, 185, 150, 25));
  Radio->SetSkinDataName("radiobox");
  Radio->SetRadio(true);
  Radio->SetCaption("MP4");
  Radio->SetSkinData(Skin.get());
  auto* Bar = NewControl<TbsSkinScrollBar>(F, Bounds(210, 160, 200, 19));
  Bar->SetSkinData(Skin.get());
  auto* Slider = NewControl<TbsSkinSlider>(F, Bounds(210, 200, 150, 40));
  Slider->SetSkinData(Skin.get());
  F->Show();

  // Each control in its element's normal colours: corner and client slices.
  ASSERT_TRUE(Shows(Panel, 90, 100, SliceColor("panel", 0, 4)));
  EXPECT_EQ(ScreenAt(Panel, 1, 1), SliceColor("panel", 0, 0));
  EXPECT_EQ(ScreenAt(Panel, 178, 118), SliceColor("panel", 0, 8));
  EXPECT_EQ(ScreenAt(Cancel, 2, 2), SliceColor("button", 0, 0));
  EXPECT_EQ(ScreenAt(Cancel, 3, 15), SliceColor("button", 0, 3));
  EXPECT_EQ(ScreenAt(Tool, 60, 3), SliceColor("toolbutton", 0, 1));
  EXPECT_EQ(ScreenAt(Tool, 1, 28), SliceColor("toolbutton", 0, 6));
  const Integer CheckY = Check->Height() / 2;
  EXPECT_EQ(ScreenAt(Check, 12, CheckY), SliceColor("checkbox", 0, 1));
  EXPECT_EQ(ScreenAt(Radio, 12, Radio->Height() / 2), SliceColor("radiobox", 0, 1));
  // The bar: its element's left edge under the down arrow, the track, the up arrow's normal picture.
  EXPECT_EQ(ScreenAt(Bar, 9, 12), SliceColor("hscrollbar", 0, 0));
  EXPECT_EQ(ScreenAt(Bar, 100, 9), SliceColor("hscrollbar", 0, 4));
  EXPECT_EQ(ScreenAt(Bar, 197, 9), SliceColor("hscrollbar", 0, 5));
  // The slider: the skin thumb's normal half over the skin ruler.
  EXPECT_EQ(ScreenAt(Slider, 7, 7), SliceColor("slider", 1, 0));
  EXPECT_EQ(ScreenAt(Slider, 75, 8), SliceColor("slider", 0, 1));
  // Hovering shows the active picture; pressing the down one, and the press takes the focus.
  Ok->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(Shows(Ok, 3, 15, SliceColor("button", 1, 3)));
  SendMessage(Ok->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
  EXPECT_TRUE(Shows(Ok, 3, 15, SliceColor("button", 2, 3)));
  EXPECT_TRUE(Ok->Down());
  // The bar's up arrow: hovered, then held down.
  SendMessage(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(197, 3));
  EXPECT_TRUE(Shows(Bar, 197, 3, SliceColor("hscrollbar", 1, 0)));
  SendMessage(Bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(197, 3));
  EXPECT_TRUE(Shows(Bar, 197, 3, SliceColor("hscrollbar", 2, 0)));
  EXPECT_GT(Bar->Position(), 0);
  // The check box hovered, then clicked: checked under the mouse.
  Check->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(Shows(Check, 12, CheckY, SliceColor("checkbox", 1, 1)));
  Check->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, CheckY));
  Check->Perform(WM_LBUTTONUP, 0, MAKELPARAM(12, CheckY));
  EXPECT_TRUE(Check->Checked());
  EXPECT_TRUE(Shows(Check, 12, CheckY, SliceColor("checkbox", 4, 1)));
  // The labels' text in the skin's label colour (dark) over the form, sized to it.
  auto inkIn = [&](TControl* C) {
    TPoint P = C->ClientToScreen({0, 0});
    TRawImage Text = Reader->Capture(Bounds(P.X, P.Y, C->Width(), C->Height()));
    Integer Ink = 0;
    for (Integer y = 0; y < Text.Height; ++y)
      for (Integer x = 0; x < Text.Width; ++x) {
        const Byte* Px = Text.Row(y) + x * 3;
        Ink += std::max({Px[0], Px[1], Px[2]}) < 110;
      }
    return Ink;
  };
  EXPECT_GT(Label->Width(), 40);
  EXPECT_GT(Caption->Width(), 40);
  EXPECT_GT(inkIn(Label), 40);
  EXPECT_GT(inkIn(Caption), 40);

  // The whole window, for a person to look at.
  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skincontrols_display.png");
  SendMessage(Ok->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 15));
  SendMessage(Bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(197, 3));
}

}  // namespace

#endif
