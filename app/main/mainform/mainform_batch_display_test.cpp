// A batch on a real display: three jobs, one of whose input is gone before the start, converted on
// worker threads; the rows then show their progress as a person sees it. The screenshot is written
// beside the test program as appmain_batch.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/batchtestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "platform/rtl/files.h"
#include "platform/ui/dialogs/messagebox.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/productlook.h"
#include "tools/skingen/skingen.h"

namespace {

class BatchDisplay : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  shelltest::TShellFakes Shell;
};

// Pixels of a client rectangle of the list clearly darker than the lightest one there: its ink. The
// screen reads back as 24-bit pixels.
Integer InkIn(x11test::TScreenReader& Reader, TControl* List, const TRect& R, TRawImage* Image = nullptr) {
  const TPoint P = List->ClientToScreen({R.Left, R.Top});
  TRect Screen = R;
  OffsetRect(&Screen, P.X - R.Left, P.Y - R.Top);
  const TRawImage Cell = Reader.Capture(Screen);
  Integer Lightest = 0;
  for (Integer Y = 0; Y < Cell.Height; ++Y)
    for (Integer X = 0; X < Cell.Width; ++X) Lightest = std::max<Integer>(Lightest, Cell.Row(Y)[3 * X + 1]);
  Integer Ink = 0;
  for (Integer Y = 0; Y < Cell.Height; ++Y)
    for (Integer X = 0; X < Cell.Width; ++X) Ink += Cell.Row(Y)[3 * X + 1] + 80 < Lightest;
  if (Image != nullptr) *Image = Cell;
  return Ink;
}

// Pixels of a control as dark as ink (the glyphs' strokes); a greyed glyph has none.
Integer DarkPixelsOf(x11test::TScreenReader& Reader, TControl* C) {
  const TPoint P = C->ClientToScreen({0, 0});
  const TRawImage Shot = Reader.Capture({P.X, P.Y, P.X + C->Width(), P.Y + C->Height()});
  Integer Dark = 0;
  for (Integer Y = 0; Y < Shot.Height; ++Y)
    for (Integer X = 0; X < Shot.Width; ++X) Dark += Shot.Row(Y)[3 * X + 1] < 0x60;
  return Dark;
}

TEST_F(BatchDisplay, TheRowsShowTheirProgressAndAFailureAfterTheBatch) {
  TForm1* F = mainformtest::CreateWithProductLook(Temp.Root(), File());
  ASSERT_TRUE(F->ZUVER->LoadAVLib(GetExePath() + "LibAV")) << F->ZUVER->LastErrMsg();
  GetFFLogger()->SetTriggerEventInMainThread(true);
  F->SetLeft(20);
  F->SetTop(20);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(F->Handle()); }));

  const std::vector<String> Clips = batchtest::TinyClips(2, "shown");
  const String Gone = Temp.Root() + "/vanished.avi";
  std::ofstream(Gone) << "x";
  batchtest::AddJobRow(F, {Clips[0], "shown0.avi"});
  batchtest::AddJobRow(F, {Gone, "vanished.avi"});
  batchtest::AddJobRow(F, {Clips[1], "shown1.avi"});
  ASSERT_TRUE(DeleteFile(Gone));
  // What the add routine does with the first job: the list shows instead of its placeholder.
  F->bsSkinPanel5->SetVisible(false);
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) F->SetCommandEnabled(C, true);

  // The progress cells, below the list's header.
  TRect Cells[3];
  for (Integer I = 0; I < 3; ++I) {
    Cells[I] = F->lvFiles->Items()->Item(I)->DisplayRect(drBounds);
    Cells[I].Left = 2;
    for (Integer C = 0; C < 4; ++C) Cells[I].Left += F->lvFiles->Column(C)->Width();
    Cells[I].Right = Cells[I].Left + F->lvFiles->Column(4)->Width() - 4;
    InflateRect(&Cells[I], 0, -3);
  }
  const bool Blank = PumpUntil([&] { return InkIn(*Reader, F->lvFiles, Cells[0]) == 0; });
  ASSERT_TRUE(Blank) << "nothing converted yet";
  EXPECT_GT(DarkPixelsOf(*Reader, F->bsSkinMenuSpeedButton1), 20) << "the add button's glyph in ink";

  // The row that cannot start is said in a box; the others convert meanwhile.
  std::vector<String> Boxes;
  SetMessageBoxFunction([&](const String& Text, const String&, UINT) {
    Boxes.push_back(Text);
    return Integer(IDOK);
  });
  F->bsSkinButton2->Click();
  ASSERT_TRUE(component_test::ServeUntil([&] { return F->BatchEndCount() == 1; }));
  SetMessageBoxFunction(nullptr);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find("vanished.avi"), String::npos) << Boxes[0];
  EXPECT_EQ(F->lvFiles->Items()->Item(0)->SubItems()->Strings(3), "100%");
  EXPECT_EQ(F->lvFiles->Items()->Item(1)->SubItems()->Strings(3), "失败");
  EXPECT_EQ(F->lvFiles->Items()->Item(2)->SubItems()->Strings(3), "100%");

  TRawImage Done0, Failed, Done2;
  EXPECT_TRUE(PumpUntil([&] { return InkIn(*Reader, F->lvFiles, Cells[0], &Done0) > 20; })) << "100% shows";
  EXPECT_GT(InkIn(*Reader, F->lvFiles, Cells[1], &Failed), 20) << "失败 shows";
  InkIn(*Reader, F->lvFiles, Cells[2], &Done2);
  // The two finished rows read alike; the failed one reads otherwise.
  const auto Same = [](const TRawImage& A, const TRawImage& B) {
    if (A.Width != B.Width || A.Height != B.Height) return false;
    for (Integer Y = 0; Y < A.Height; ++Y)
      for (Integer X = 0; X < A.Width; ++X)
        if (A.Row(Y)[3 * X + 1] != B.Row(Y)[3 * X + 1]) return false;
    return true;
  };
  EXPECT_TRUE(Same(Done0, Done2));
  EXPECT_FALSE(Same(Done0, Failed));
  // The bar inside the cell: success green for a finished job, error red for the failed one.
  const auto Count = [](const TRawImage& Cell, uint32_t Rgb) {
    Integer N = 0;
    for (Integer Y = 0; Y < Cell.Height; ++Y)
      for (Integer X = 0; X < Cell.Width; ++X) {
        const Byte* P = Cell.Row(Y) + 3 * X;
        N += (uint32_t(P[2]) << 16 | uint32_t(P[1]) << 8 | P[0]) == Rgb;
      }
    return N;
  };
  EXPECT_GT(Count(Done0, look::Success), 40) << "a green bar in the finished row";
  EXPECT_EQ(Count(Done0, look::Error), 0);
  EXPECT_GT(Count(Failed, look::Error), 40) << "a red bar in the failed row";
  EXPECT_EQ(Count(Failed, look::Success), 0);
  // Add stays disabled after the batch: its glyph greys with its caption.
  EXPECT_FALSE(F->bsSkinMenuSpeedButton1->Enabled());
  EXPECT_TRUE(PumpUntil([&] { return DarkPixelsOf(*Reader, F->bsSkinMenuSpeedButton1) == 0; }))
      << DarkPixelsOf(*Reader, F->bsSkinMenuSpeedButton1);
  EXPECT_TRUE(SaveWindowShot(F->Handle(), "appmain_batch.png"));
  F->ZUVER->Stop(true);
}

}  // namespace

#endif
