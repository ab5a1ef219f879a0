// The list view on a real display: a job list in report view with Chinese paths, grid lines, a
// selected row and a caption too long for its column is mapped on a private X server, and what the
// screen shows is read back. The screenshot is written beside the test program as listview_display.png.
#if NERIVO_X11_TESTS

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/form.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/displaytest.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

class ListViewDisplay : public TDisplayTest<TStdControlsTest> {
 protected:
  void SetUp() override {
    TDisplayTest::SetUp();
    SetTestFontMode(false);  // the real faces, as a person sees them
  }
  // Dark (text) pixels in a client rectangle of C, as the screen shows it.
  Integer InkIn(TControl* C, TRect R) {
    TPoint P = C->ClientToScreen({R.Left, R.Top});
    TRawImage Shot = Reader->Capture(Bounds(P.X, P.Y, R.Width(), R.Height()));
    Integer N = 0;
    for (Integer y = 0; y < Shot.Height; ++y)
      for (Integer x = 0; x < Shot.Width; ++x) {
        const Byte* Px = Shot.Row(y) + x * 3;
        N += std::max({Px[0], Px[1], Px[2]}) < 110;
      }
    return N;
  }
};

TEST_F(ListViewDisplay, AJobListShowsRowsGridSelectionAndChineseText) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 520, 300);
  F->SetColor(stdlook::WindowBack);
  F->SetCaption("Nerivo");
  auto* LV = NewControl<TListView>(F, Bounds(10, 10, 490, 240));
  LV->Font()->SetName("WenQuanYi Micro Hei");
  LV->Font()->SetHeight(-12);
  LV->SetViewStyle(vsReport);
  LV->SetRowSelect(true);
  LV->SetGridLines(true);
  LV->SetHideSelection(false);
  const std::pair<const char*, Integer> Cols[] = {{"输入文件", 150}, {"视频时间", 70}, {"文件大小", 70},
                                                  {"输出文件", 120}, {"转换进度", 70}, {"", 0}};
  for (auto [Caption, Width] : Cols) {
    TListColumn* C = LV->Columns()->Add();
    C->SetCaption(Caption);
    C->SetWidth(Width);
    if (Width == 0) C->SetMaxWidth(1);
  }
  const char* Paths[] = {"/home/用户/视频/旅行记录.avi",
                         "/home/用户/视频/a-very-long-file-name-that-cannot-fit.mkv",
                         "/home/用户/视频/会议.mp4"};
  for (const char* P : Paths) {
    TListItem* Item = LV->Items()->Add();
    Item->SetCaption(P);
    for (const char* S : {"00:01:30", "12.5MB", "旅行记录.mp4", "50%", "24"}) Item->SubItems()->Add(S);
  }
  F->Show();
  LV->SetFocus();
  LV->SetItemIndex(1);

  const Integer H = LV->ItemHeight(), Top = LV->HeaderHeight();
  ASSERT_GT(Top, 0);
  const bool Shown = PumpUntil([&] { return ScreenAt(LV, 470, Top + H + H / 2) == Rgb(stdlook::Accent); });
  // The whole window, for a person to look at.
  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "listview_display.png");
  ASSERT_TRUE(Shown);
  // Grid lines under each row and at the right of each visible column.
  EXPECT_EQ(ScreenAt(LV, 300, Top + H - 1), Rgb(stdlook::SurfaceBorder));
  EXPECT_EQ(ScreenAt(LV, 149, Top + 2 * H + 2), Rgb(stdlook::SurfaceBorder));
  // The header's sections on the screen, their captions drawn.
  EXPECT_EQ(ScreenAt(LV, 100, 2), Rgb(stdlook::Face));
  EXPECT_GT(InkIn(LV, Rect(4, 2, 60, Top - 2)), 20);
  // Chinese text in the first row's caption and output column.
  EXPECT_GT(InkIn(LV, Rect(4, Top + 1, 146, Top + H - 1)), 40);
  EXPECT_GT(InkIn(LV, Rect(294, Top + 1, 410, Top + H - 1)), 30);
  // The third row's cells end before the grid: nothing of the text spills into the next column.
  EXPECT_EQ(InkIn(LV, Rect(146, Top + 2 * H + 1, 155, Top + 3 * H - 1)), 0);
}

}  // namespace

#endif
