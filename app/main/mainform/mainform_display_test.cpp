// The main window on a real display with the product skin and pictures, as a person sees it on the
// first start: the empty-list placeholder, the choosers filled, the commands but 添加 disabled. The
// screenshot is written beside the test program as appmain_mainwindow.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "platform/rtl/files.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

class MainFormDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {};

TEST_F(MainFormDisplay, TheFirstStartShowsTheProductLook) {
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));

  TRect W;
  GetWindowRect(F->Handle(), &W);
  // The window's frame: a 1-pixel border in the frame colour on every side.
  const auto FrameAt = [&](Integer X, Integer Y) {
    return Reader->Pixel(X, Y) == ColorOfRGB(look::FrameBorder);
  };
  EXPECT_TRUE(PumpUntil([&] { return FrameAt(W.Left, (W.Top + W.Bottom) / 2); })) << "left edge";
  EXPECT_TRUE(FrameAt(W.Right - 1, (W.Top + W.Bottom) / 2)) << "right edge";
  EXPECT_TRUE(FrameAt((W.Left + W.Right) / 2, W.Bottom - 1)) << "bottom edge";

  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "appmain_mainwindow.png");

  // A disabled command shows its faded glyph, wherever the glyph sits: nothing on it is darker than a
  // light grey (the solid ink would be near black).
  const auto DarkestChannel = [&](TControl* C) {
    return mainformtest::DarkestChannelIn(*Reader, C, C->ClientRect(), 2);
  };
  const struct {
    TbsSkinButton* Button;
    const char* Name;
  } Disabled[] = {{F->bsSkinButton7, "删除"},
                  {F->bsSkinButton8, "清空"},
                  {F->bsSkinButton10, "停止"},
                  {F->bsSkinButton11, "暂停"},
                  {F->bsSkinButton21, "重命名"}};
  for (const auto& D : Disabled) EXPECT_GT(DarkestChannel(D.Button), 120) << D.Name;

  // The start button takes the accent face once a job makes it available.
  F->SetCommandEnabled(jcStart, true);
  TbsSkinButton* Start = F->bsSkinButton2;
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(Start, 3, Start->Height() / 2) == ColorOfRGB(look::Accent); }))
      << "accent face on 开始";
  // 停止 stays neutral: not the accent.
  EXPECT_NE(ScreenAt(F->bsSkinButton10, 3, F->bsSkinButton10->Height() / 2), ColorOfRGB(look::Accent));
  x11test::SaveBesideProgram(Reader->Capture(W), "appmain_mainwindow_start.png");
}

}  // namespace

#endif
