#include "platform/ui/stdctrls/groupbox.h"

#include "platform/ui/core/form.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

using GroupBoxTest = TStdControlsTest;

TEST_F(GroupBoxTest, FramesItsChildrenUnderTheCaption) {
  TForm* F = NewForm();
  F->SetColor(stdlook::WindowBack);
  auto* G = NewControl<TGroupBox>(F, Bounds(10, 10, 185, 105));
  G->SetCaption("&Options");
  auto* First = NewControl<TRecordingControl>(G, Bounds(20, 30, 60, 20));
  auto* Second = NewControl<TRecordingControl>(G, Bounds(20, 60, 60, 20));
  auto* Fill = NewControl<TCustomControl>(G, Bounds(0, 0, 5, 5));
  // Client area: below a 13-pixel caption line, 2 pixels in from the frame.
  Fill->SetAlign(alClient);
  EXPECT_EQ(Fill->BoundsRect(), Bounds(2, 15, 181, 88));
  Fill->SetVisible(false);

  // The frame's top line runs through the middle of the caption line; the caption interrupts it.
  EXPECT_EQ(PixelOf(G, 100, 6), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(PixelOf(G, 100, 2), Rgb(stdlook::WindowBack));
  EXPECT_EQ(PixelOf(G, 100, 50), Rgb(stdlook::Surface));
  EXPECT_EQ(PixelOf(G, 5, 6), Rgb(stdlook::Surface));
  EXPECT_EQ(PixelOf(G, 9, 3), Rgb(stdlook::Text));  // "Options" from x 8

  // The mnemonic takes the focus to the first child.
  Second->SetFocus();
  wintest::KeyPress('O', U'o');
  EXPECT_TRUE(First->Focused());
}

}  // namespace
