// The standard controls on a real display: a form with a panel, a label, a bevel, an image, buttons,
// a check box and a group box of radio buttons is mapped on a private X server, and what the screen shows is
// read back. The screenshot is written beside the test program as stdcontrols_display.png.
#if NERIVO_X11_TESTS

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/rtl/threads.h"
#include "platform/ui/core/form.h"
#include "platform/ui/extctrls/bevel.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/extctrls/panel.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/groupbox.h"
#include "platform/ui/stdctrls/label.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/ui_test_util.h"

namespace {

class ControlsDisplayTest : public TDisplayTest<TStdControlsTest> {
 protected:
  void SetUp() override {
    TDisplayTest::SetUp();
    SetTestFontMode(false);  // the real faces, as a person sees them
  }
};

TEST_F(ControlsDisplayTest, AFormOfStandardControlsShowsOnTheScreen) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 460, 300);
  F->SetColor(stdlook::WindowBack);
  F->SetCaption("Nerivo");
  F->Font()->SetName("WenQuanYi Micro Hei");
  F->Font()->SetHeight(-12);

  auto* Panel = NewControl<TPanel>(F, Bounds(12, 12, 200, 110));
  Panel->SetCaption("面板 Panel");
  auto* Label = NewControl<TLabel>(F, Bounds(228, 14, 10, 10));
  Label->SetCaption("输出目录 Output");
  Label->SetTransparent(true);
  auto* Bevel = NewControl<TBevel>(F, Bounds(228, 40, 200, 82));
  auto* Image = NewControl<TImage>(F, Bounds(244, 52, 80, 40));
  auto Picture = FilledBitmap(2, 1, pf24bit, clRed);
  Picture->Canvas()->SetPixels(1, 0, TColor(stdlook::Accent));
  Image->Picture()->SetGraphic(Picture.get());
  Image->SetStretch(true);
  auto* Ok = NewControl<TButton>(F, Bounds(12, 140, 90, 28));
  Ok->SetCaption("确定");
  Ok->SetDefault(true);
  auto* Cancel = NewControl<TButton>(F, Bounds(110, 140, 90, 28));
  Cancel->SetCaption("取消");
  auto* Box = NewControl<TCheckBox>(F, Bounds(228, 145, 140, 17));
  Box->SetCaption("完成后关机 Loop");
  Box->SetChecked(true);
  auto* Group = NewControl<TGroupBox>(F, Bounds(12, 180, 416, 52));
  Group->SetCaption("输出 Output");
  auto* Same = NewControl<TRadioButton>(Group, Bounds(12, 22, 150, 20));
  Same->SetCaption("原目录 Source folder");
  auto* Chosen = NewControl<TRadioButton>(Group, Bounds(200, 22, 150, 20));
  Chosen->SetCaption("指定目录 This folder");
  Chosen->SetChecked(true);
  F->Show();
  Box->SetFocus();

  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(Panel, 5, 5) == Rgb(stdlook::Surface); }));
  EXPECT_EQ(ScreenAt(Panel, 0, 0), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(ScreenAt(Panel, 199, 109), Rgb(stdlook::SurfaceBorder));
  // The bevel's box: shade on the top left, light on the bottom right, the form inside.
  EXPECT_EQ(ScreenAt(Bevel, 0, 0), Rgb(stdlook::FaceBorder));
  EXPECT_EQ(ScreenAt(Bevel, 199, 81), Rgb(stdlook::Surface));
  EXPECT_EQ(ScreenAt(Bevel, 190, 70), Rgb(stdlook::WindowBack));
  // The picture stretched: its left pixel over the left half, its right one over the right half.
  EXPECT_EQ(ScreenAt(Image, 10, 20), Rgb(clRed));
  EXPECT_EQ(ScreenAt(Image, 70, 20), Rgb(stdlook::Accent));
  // The default button wears the accent while the focus is outside the buttons; the other is plain.
  EXPECT_EQ(ScreenAt(Ok, 6, 5), Rgb(stdlook::Accent));
  EXPECT_EQ(ScreenAt(Cancel, 6, 5), Rgb(stdlook::Face));
  EXPECT_EQ(ScreenAt(Cancel, 0, 14), Rgb(stdlook::FaceBorder));
  // The checked marks are accent; the unchecked radio button's circle is the face's white.
  EXPECT_EQ(ScreenAt(Box, 2, 3), Rgb(stdlook::Accent));
  EXPECT_EQ(ScreenAt(Chosen, 7, 10), Rgb(clWhite));  // the dot
  EXPECT_EQ(ScreenAt(Chosen, 2, 10), Rgb(stdlook::Accent));
  EXPECT_EQ(ScreenAt(Same, 2, 10), Rgb(stdlook::Face));
  // The group's frame on the window's background, its surface inside.
  EXPECT_EQ(ScreenAt(Group, 300, 51), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(ScreenAt(Group, 300, 40), Rgb(stdlook::Surface));
  // Text shows: the strokes of the label and the captions (anti-aliased: dark, or near white on the
  // accent face) within their areas.
  auto inkIn = [&](TControl* C, TRect R, bool Light) {
    TPoint P = C->ClientToScreen({R.Left, R.Top});
    TRawImage Shot = Reader->Capture(Bounds(P.X, P.Y, R.Width(), R.Height()));
    Integer N = 0;
    for (Integer y = 0; y < Shot.Height; ++y)
      for (Integer x = 0; x < Shot.Width; ++x) {
        const Byte* Px = Shot.Row(y) + x * 3;
        N += Light ? std::min({Px[0], Px[1], Px[2]}) > 220 : std::max({Px[0], Px[1], Px[2]}) < 110;
      }
    return N;
  };
  EXPECT_GT(Label->Width(), 60);  // sized to its text in the real face
  EXPECT_GT(inkIn(Label, Rect(0, 0, Label->Width(), Label->Height()), false), 40);
  EXPECT_GT(inkIn(Panel, Rect(40, 40, 160, 70), false), 40);
  EXPECT_EQ(inkIn(Panel, Rect(4, 4, 30, 100), false), 0);  // beside the caption: the bare surface
  EXPECT_GT(inkIn(Ok, Rect(20, 4, 70, 24), true), 20);
  EXPECT_GT(inkIn(Cancel, Rect(20, 4, 70, 24), false), 20);
  EXPECT_GT(inkIn(Box, Rect(20, 0, 140, 17), false), 40);

  // The whole window, for a person to look at.
  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "stdcontrols_display.png");
}

}  // namespace

#endif
