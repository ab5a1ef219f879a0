// The job list on a real display with the product skin: two jobs added from a folder, their rows
// readable under the column headers and the empty-list picture gone. The screenshot is written
// beside the test program as appmain_joblist.png. A longer list shows its scroll bar, scrolls by the
// wheel and by the bar, starts a rename on a double click and keeps its selected row visible without
// the focus (appmain_joblist_long.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

class JobListDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  Integer DarkestIn(TControl* C, const TRect& R) { return mainformtest::DarkestChannelIn(*Reader, C, R, 1); }
  // The rows of the screen down the middle of bar B that show its thumb.
  std::vector<Integer> thumbRows(TbsSkinScrollBar* B) {
    std::vector<Integer> Rows;
    for (Integer Y = 0; Y < B->Height(); ++Y) {
      const uint32_t P = ScreenAt(B, B->Width() / 2, Y);
      if (P == ColorOfRGB(look::Thumb) || P == ColorOfRGB(look::ThumbHover) ||
          P == ColorOfRGB(look::ThumbPressed))
        Rows.push_back(Y);
    }
    return Rows;
  }
};

TEST_F(JobListDisplay, TwoJobsShowTheirRowsUnderTheHeadersAndNoPlaceholder) {
  const String Folder = Temp.Root() + "/clips";
  jobstest::CopyAs(jobstest::Clip(), Folder, "holiday.mkv");
  jobstest::CopyAs(jobstest::Clip(), Folder, "假期 视频.mkv");

  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  // The placeholder picture shows on the empty list.
  TImage* Picture = F->Image1;
  const TRect PictureRect(Picture->Left(), Picture->Top(), Picture->Left() + Picture->Width(),
                          Picture->Top() + Picture->Height());
  ASSERT_TRUE(PumpUntil([&] { return DarkestIn(F->bsSkinPanel5, PictureRect) < 200; }));

  jobstest::ChooseFolder(F->bsSkinSelectDirectoryDialog1, Folder);
  F->Button12->Click();
  ASSERT_EQ(F->lvFiles->Items()->Count(), 2) << jobstest::LogText(F);
  EXPECT_FALSE(F->bsSkinPanel5->Visible());

  // Where the picture was, the list now shows its own light face below the rows.
  const TPoint PictureOnList =
      F->lvFiles->ScreenToClient(F->bsSkinPanel5->ClientToScreen({PictureRect.Left, PictureRect.Top}));
  const TRect Below(PictureOnList.X, std::max<Integer>(PictureOnList.Y, 80),
                    PictureOnList.X + PictureRect.Width(), PictureOnList.Y + PictureRect.Height());
  EXPECT_TRUE(PumpUntil([&] { return DarkestIn(F->lvFiles, Below) > 200; })) << "the placeholder is gone";

  // Each row writes its input, duration and size in dark text within its columns.
  for (Integer I = 0; I < 2; ++I) {
    const TRect Row = F->lvFiles->Items()->Item(I)->DisplayRect(drBounds);
    Integer Left = 0;
    for (Integer C = 0; C < 3; ++C) {
      const Integer Width = F->lvFiles->Column(C)->Width();
      EXPECT_LT(DarkestIn(F->lvFiles, TRect(Left + 2, Row.Top + 1, Left + Width - 2, Row.Bottom - 1)), 120)
          << "row " << I << " column " << C;
      Left += Width;
    }
  }
  EXPECT_TRUE(SaveWindowShot(F->Handle(), "appmain_joblist.png"));
}

TEST_F(JobListDisplay, ALongListScrollsRenamesOnADoubleClickAndShowsItsSelectionUnfocused) {
  const String Folder = Temp.Root() + "/clips";
  constexpr Integer Count = 14;
  for (Integer I = 0; I < Count; ++I)
    jobstest::CopyAs(jobstest::Clip(), Folder, "clip" + std::to_string(10 + I) + ".mkv");
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));
  jobstest::ChooseFolder(F->bsSkinSelectDirectoryDialog1, Folder);
  F->Button12->Click();
  TbsSkinListView* List = F->lvFiles;
  ASSERT_EQ(List->Items()->Count(), Count) << jobstest::LogText(F);

  // The rows do not fit: the vertical bar shows at the list's right, as thick as the look's bars.
  TbsSkinScrollBar* Bar = F->bsSkinScrollBar1;
  ASSERT_LT(List->VisibleRowCount(), Count);
  EXPECT_TRUE(Bar->Visible());
  EXPECT_FALSE(F->bsSkinScrollBar2->Visible()) << "the columns fit";
  EXPECT_EQ(Bar->Width(), look::ScrollBarSize);
  EXPECT_EQ(Bar->ClientToScreen({0, 0}).X, List->ClientToScreen({List->Width(), 0}).X);
  std::vector<Integer> Rows;
  ASSERT_TRUE(PumpUntil([&] { return !(Rows = thumbRows(Bar)).empty(); })) << "the thumb shows";
  const Integer ThumbTop = Rows.front();

  // The wheel over the list, turned towards the user, scrolls it down to its last row and the thumb
  // follows.
  TListItem* Last = List->Items()->Item(Count - 1);
  auto lastShowsWhole = [&] {
    const TRect R = Last->DisplayRect(drBounds);
    return R.Top >= List->HeaderHeight() && R.Bottom <= List->ClientHeight();
  };
  EXPECT_FALSE(lastShowsWhole());
  const TPoint OverList = List->ClientToScreen({200, 100});
  for (Integer I = 0; I < 5; ++I) wintest::MouseWheel(-WHEEL_DELTA, OverList);
  EXPECT_TRUE(lastShowsWhole());
  EXPECT_TRUE(PumpUntil([&] { return !(Rows = thumbRows(Bar)).empty() && Rows.front() > ThumbTop; }));
  // Away from the user back to the top, then the bar's far arrow steps down row by row.
  for (Integer I = 0; I < 5; ++I) wintest::MouseWheel(WHEEL_DELTA, OverList);
  EXPECT_EQ(List->TopIndex(), 0);
  const TRect Far = Bar->Buttons[TbsSkinScrollBar::UpButton].R;
  const TPoint Arrow = Bar->ClientToScreen({Far.Left + Far.Width() / 2, Far.Top + Far.Height() / 2});
  for (Integer I = 0; I < Count && !lastShowsWhole(); ++I) wintest::Click(Arrow);
  EXPECT_TRUE(lastShowsWhole());

  // A double click on a row opens the rename box over it, with the focus.
  const TRect Row = List->Items()->Item(Count - 2)->DisplayRect(drBounds);
  const TPoint OnRow = List->ClientToScreen({40, Row.Top + Row.Height() / 2});
  wintest::Click(OnRow);
  wintest::Click(OnRow);
  EXPECT_TRUE(F->edt->Visible());
  EXPECT_TRUE(F->edt->Focused());
  // ... over the output name's cell of that row.
  const Integer NameLeft = List->ColumnLeft(3);
  EXPECT_GE(F->edt->Left(), NameLeft);
  EXPECT_LT(F->edt->Left(), NameLeft + 4);
  EXPECT_EQ(F->edt->Top(), Row.Top);
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(F->edt->Visible());

  // With the focus elsewhere the selected row stays marked in the pale selection.
  F->Video_OutPut_Folder_Edit->SetFocus();
  const TRect Selected = List->Items()->Item(Count - 2)->DisplayRect(drBounds);
  const TPoint Probe(List->Column(0)->Width() + List->Column(1)->Width() - 4, Selected.Top + 3);
  EXPECT_TRUE(PumpUntil([&] { return ScreenAt(List, Probe.X, Probe.Y) == ColorOfRGB(0xDCE6F8); }));
  EXPECT_TRUE(SaveWindowShot(F->Handle(), "appmain_joblist_long.png"));
}

}  // namespace

#endif
