// The skinned job list on a real display: a skinned list view with its header painted from the
// generated skin's "resizetoolbutton" element and an attached skinned vertical bar is mapped on a
// private X server; pressing a header section shows the element's pressed state on the screen. The
// screenshot is written beside the test program as skinlistview_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"

namespace {

class SkinListViewDisplay : public TDisplayTest<TSkinControlTest> {};

TEST_F(SkinListViewDisplay, TheHeaderShowsTheSkinAndItsPressedSection) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(60, 40, 460, 280);
  auto* LV = new TbsSkinListView(F);
  LV->SetHeaderSkinDataName("resizetoolbutton");
  LV->SetBounds(10, 10, 400, 220);
  LV->SetViewStyle(vsReport);
  LV->SetRowSelect(true);
  LV->SetGridLines(true);
  LV->SetParent(F);
  auto* Bar = new TbsSkinScrollBar(F);
  Bar->SetKind(sbVertical);
  Bar->SetSkinDataName("vscrollbar");
  Bar->SetBounds(410, 10, 16, 220);
  Bar->SetParent(F);
  Bar->SetSkinData(Skin.get());
  LV->SetVScrollBar(Bar);
  for (auto [Caption, Width] :
       {std::pair{"输入文件", 160}, std::pair{"视频时间", 80}, std::pair{"文件大小", 80}}) {
    TListColumn* C = LV->Columns()->Add();
    C->SetCaption(Caption);
    C->SetWidth(Width);
  }
  LV->SetSkinData(Skin.get());
  LV->Items()->BeginUpdate();
  for (Integer i = 0; i < 40; ++i) {
    TListItem* Item = LV->Items()->Add();
    Item->SetCaption("/视频/片段" + std::to_string(i) + ".avi");
    Item->SubItems()->Add("00:00:10");
    Item->SubItems()->Add("1.5MB");
  }
  LV->Items()->EndUpdate();
  F->Show();
  LV->SetFocus();
  LV->SetItemIndex(2);

  const COLORREF Normal = SliceColor("resizetoolbutton", 0, 4);
  const COLORREF Down = SliceColor("resizetoolbutton", 2, 4);
  HWND Header = LV->SubclassedHeader();
  ASSERT_NE(Header, nullptr);
  RECT HR;
  GetWindowRect(Header, &HR);
  const Integer Mid = HR.Height() / 2;
  ASSERT_TRUE(PumpUntil([&] { return ScreenAt(LV, 150, Mid) == Normal; }));
  // The strip after the last column is skinned too, and the bar shows beside the list.
  EXPECT_EQ(ScreenAt(LV, 380, Mid), Normal);
  EXPECT_TRUE(Bar->Visible());
  wintest::MouseDown(wintest::ScreenPoint(Header, 150, Mid));
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(LV, 150, Mid) == Down; }));
  EXPECT_EQ(ScreenAt(LV, 230, Mid), Normal);

  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinlistview_display.png");

  wintest::MouseUp(wintest::ScreenPoint(Header, 150, Mid));
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(LV, 150, Mid) == Normal; }));
}

}  // namespace

#endif
