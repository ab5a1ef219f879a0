// The skinned scroll box on a real display: the generated skin's frame and client background with a
// bound vertical bar showing because the child is taller than the box. The screenshot is written beside
// the test program as skinscrollbox_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/scroll/bsskinscrollbox.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinScrollBoxDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinScrollBoxDisplay, FrameBackgroundAndBar) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 260, 220);
  F->SetColor(clWhite);
  auto* Box = new TbsSkinScrollBox(F);
  Box->SetBounds(10, 10, 180, 160);
  Box->SetParent(F);
  Box->SetSkinData(Skin.get());
  auto* Bar = new TbsSkinScrollBar(F);
  Bar->SetKind(sbVertical);
  Bar->SetSkinData(Skin.get());
  Bar->SetBounds(190, 10, 18, 160);
  Bar->SetParent(F);
  auto* Child = new TbsSkinScrollBar(F);
  Child->SetBounds(4, 4, 20, 400);
  Child->SetParent(Box);
  Box->SetVScrollBar(Bar);
  F->Show();
  Box->UpDateScrollRange();
  ASSERT_TRUE(Bar->Visible());

  const COLORREF Frame = SliceColor("scrollbox", 0, 3);
  const COLORREF Client = SliceColor("scrollbox", 0, 4);
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(F, 10, 90) == Frame; })) << std::hex << ScreenAt(F, 10, 90);
  EXPECT_EQ(ScreenAt(Box, 120, 100), Client);
  EXPECT_NE(ScreenAt(Bar, 9, 80), 0xFFFFFFu);

  TRect WR;
  GetWindowRect(F->Handle(), &WR);
  TRawImage Shot = Reader->Capture(WR);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinscrollbox_display.png");
}

}  // namespace

#endif
