// The program as a person uses it, on a real display: its windows created as the program creates
// them, two generated clips added through the several-files dialog, a format picked, the batch started
// and waited for; the outputs then decode with the ffmpeg tool. Screenshots of the empty window and of
// the window with its rows are written beside the test program (program_empty.png, program_rows.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <algorithm>

#include "app/formats/presets.h"
#include "app/main/about/aboutbox.h"
#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/batchtestkit.h"
#include "app/main/testkit/jobstestkit.h"
#include "app/main/testkit/screenprobe.h"
#include "app/presetdialog/form7.h"
#include "app/program/startup.h"
#include "app/settingsdialog/form6.h"
#include "platform/rtl/files.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsskindata.h"

namespace {

class Program : public optionstest::TOptionFileTestOf<TDisplayTest<TSkinControlTest>> {
 protected:
  void SetUp() override {
    TOptionFileTestOf::SetUp();
    SetMessageBoxFunction([this](const String& Text, const String&, UINT) {
      Boxes.push_back(Text);
      return Integer(IDOK);
    });
  }
  void TearDown() override {
    if (Form1 != nullptr) Form1->ZUVER->Stop(true);
    for (TForm* W : {static_cast<TForm*>(Form7), Form6, static_cast<TForm*>(Form5),
                     static_cast<TForm*>(Form2), static_cast<TForm*>(Form1)})
      delete W;
    Form1 = nullptr;
    Form2 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
    TOptionFileTestOf::TearDown();
  }
  shelltest::TShellFakes Shell;
  std::vector<String> Boxes;
};

TEST_F(Program, AddsTwoClipsConvertsThemAndTheOutputsDecode) {
  CreateProgramWindows(File(), mainformtest::WriteProductLook(Temp.Root()));
  ASSERT_NE(Form1, nullptr);
  ASSERT_NE(Form2, nullptr);
  ASSERT_NE(Form5, nullptr);
  ASSERT_NE(Form6, nullptr);
  ASSERT_NE(Form7, nullptr);
  EXPECT_FALSE(Form1->bsSkinData1->Empty) << "the product skin is loaded";
  GetFFLogger()->SetTriggerEventInMainThread(true);
  Form1->SetLeft(20);
  Form1->SetTop(20);
  Form1->Show();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form1->Handle()); }));

  // Empty: the placeholder picture lies over the list.
  const TRect Middle = Rect(Form1->bsSkinPanel5->Width() / 2 - 40, Form1->bsSkinPanel5->Height() / 2 - 40,
                            Form1->bsSkinPanel5->Width() / 2 + 40, Form1->bsSkinPanel5->Height() / 2 + 40);
  EXPECT_TRUE(Form1->bsSkinPanel5->Visible());
  EXPECT_TRUE(PumpUntil([&] {
    return mainformtest::DarkestChannelIn(*Reader, Form1->bsSkinPanel5, Middle, 0) < 200;
  })) << "the placeholder's lines show";
  // The category chooser shows its family's coloured picture left of its text.
  const TPoint Chooser = Form1->bsSkinOfficeComboBox2->ClientToScreen({0, 0});
  const TRawImage Picture =
      Reader->Capture(Rect(Chooser.X + 2, Chooser.Y + 3, Chooser.X + 26, Chooser.Y + 23));
  Integer Coloured = 0;
  for (Integer Y = 0; Y < Picture.Height; ++Y)
    for (Integer X = 0; X < Picture.Width; ++X) {
      const Byte* P = Picture.Row(Y) + Picture.BitCount / 8 * X;
      Coloured += std::max({P[0], P[1], P[2]}) - std::min({P[0], P[1], P[2]}) > 80;
    }
  EXPECT_GT(Coloured, 40) << "the family picture shows";
  SaveWindowShot(Form1->Handle(), "program_empty.png");

  // Two clips through 文件 > 添加多个文件, into MP4.
  const std::vector<String> Clips = batchtest::TinyClips(2, "program");
  const String Inputs = Temp.Root() + "/in";
  ForceDirectories(Inputs);
  jobstest::CopyAs(Clips[0], Inputs, "第一段 clip.avi");
  jobstest::CopyAs(Clips[1], Inputs, "second.avi");
  Form1->bsSkinOfficeComboBox2->SetItemIndex(4);  // MP4格式
  ASSERT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 0);
  const String Format = Form1->bsSkinOfficeComboBox1->Items()->Items(0)->Caption();
  jobstest::ChooseFiles(Form1->OpenDialog2, Inputs, {"第一段 clip.avi", "second.avi"});
  Form1->Item121->Click();
  ASSERT_EQ(Form1->lvFiles->Items()->Count(), 2) << jobstest::LogText(Form1);
  EXPECT_FALSE(Form1->bsSkinPanel5->Visible());
  EXPECT_TRUE(Form1->bsSkinButton2->Enabled());

  Form1->bsSkinButton2->Click();
  ASSERT_TRUE(component_test::ServeUntil([] { return Form1->BatchEndCount() == 1; }, 300));
  EXPECT_TRUE(Boxes.empty()) << Boxes.front();
  for (Integer I = 0; I < 2; ++I) {
    TListItem* Row = Form1->lvFiles->Items()->Item(I);
    EXPECT_EQ(Row->SubItems()->Strings(3), "100%") << Row->Caption();
    const String Output = IncludeTrailingPathDelimiter(Form1->FileOutPutPath) + Row->SubItems()->Strings(2);
    EXPECT_EQ(ExtractFileExt(Output), CutOutputExtension(Format));
    EXPECT_TRUE(batchtest::DecodesWhole(Output)) << Output;
  }
  // The rows' texts show in the list.
  const TRect FirstRow = Form1->lvFiles->Items()->Item(0)->DisplayRect(drBounds);
  EXPECT_TRUE(PumpUntil([&] {
    return mainformtest::DarkestChannelIn(*Reader, Form1->lvFiles, FirstRow, 2) < 120;
  })) << "the first row's text shows";
  SaveWindowShot(Form1->Handle(), "program_rows.png");
}

}  // namespace

#endif
