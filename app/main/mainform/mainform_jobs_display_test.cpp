// The job list on a real display with the product skin: two jobs added from a folder, their rows
// readable under the column headers and the empty-list picture gone. The screenshot is written
// beside the test program as appmain_joblist.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/optionstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "tools/skingen/skingen.h"

namespace {

class JobListDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  Integer DarkestIn(TControl* C, const TRect& R) { return mainformtest::DarkestChannelIn(*Reader, C, R, 1); }
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

}  // namespace

#endif
