// The program as a person uses it, on a real display: its windows created as the program creates
// them, two generated clips added through the several-files dialog, a format picked, the batch started
// and waited for; the outputs then decode with the ffmpeg tool. Screenshots of the empty window and of
// the window with its rows are written beside the test program (program_empty.png, program_rows.png).
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

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
#include "platform/shell/shelllog.h"
#include "platform/shell/shellopen.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinlayout.h"

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
    DestroyWindows();
    SetShellLogSink(nullptr);
    TOptionFileTestOf::TearDown();
  }
  void DestroyWindows() {
    if (Form1 != nullptr) Form1->ZUVER->Stop(true);
    for (TForm* W : {static_cast<TForm*>(Form7), Form6, static_cast<TForm*>(Form5),
                     static_cast<TForm*>(Form2), static_cast<TForm*>(Form1)})
      delete W;
    Form1 = nullptr;
    Form2 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
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

TEST_F(Program, AFolderTheDesktopCannotOpenIsOneLineInTheLogAndNothingOnTheTerminal) {
  // The desktop's opener as xdg-open is on a machine without a file manager: it lists what it tried,
  // on both of its output streams, and fails.
  const String Bin = Temp.Root() + "/bin";
  ForceDirectories(Bin);
  std::ofstream(Bin + "/xdg-open") << "#!/bin/sh\n"
                                      "echo \"xdg-open: 1: pcmanfm: not found\" >&2\n"
                                      "echo \"xdg-open: 1: nautilus: not found\"\n"
                                      "exit 3\n";
  chmod((Bin + "/xdg-open").c_str(), 0755);
  const char* Path = std::getenv("PATH");
  const String SavedPath = Path != nullptr ? Path : "";
  setenv("PATH", (Bin + ":" + SavedPath).c_str(), 1);
  struct TRestorePath {
    String Saved;
    ~TRestorePath() { setenv("PATH", Saved.c_str(), 1); }
  } RestorePath{SavedPath};
  SetShellOpenService(std::make_unique<TXdgOpenService>());

  CreateProgramWindows(File(), mainformtest::WriteProductLook(Temp.Root()));
  Form1->Show();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form1->Handle()); }));
  const String Folder = Form1->Video_OutPut_Folder_Edit->Text();
  testing::internal::CaptureStderr();
  Form1->bsSkinButton6->Click();  // 打开
  const String Failure = "xdg-open could not open \"" + Folder + "\"";
  const bool Logged = PumpUntil([&] { return jobstest::LogText(Form1).find(Failure) != String::npos; });
  const std::string Terminal = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(Logged) << jobstest::LogText(Form1);
  EXPECT_EQ(Terminal, "");
  const String Log = jobstest::LogText(Form1);
  const String Line = "." + std::to_string(Integer(llError)) + ": " + Failure +
                      " (exit code 3): xdg-open: 1: pcmanfm: not found | xdg-open: 1: nautilus: not found\n";
  EXPECT_NE(Log.find(Line), String::npos) << Log;
  EXPECT_EQ(Log.find(Failure, Log.find(Failure) + 1), String::npos) << "said once: " << Log;
}

TEST_F(Program, AMissingOrUnreadableSkinIsSaidOnceAndTheWindowWorksInTheDefaultLook) {
  const String Product = ReadSkinFileBytes(mainformtest::WriteProductLook(Temp.Root() + "/product"));
  String Damaged = Product;
  for (size_t I = Damaged.size() / 3; I < Damaged.size() / 3 + 64; ++I) Damaged[I] = char(~Damaged[I]);
  const struct {
    const char* Name;
    const char* Bytes;  // nullptr: no file
    String Contents;
    String BoxStart;
    String LogEnd;
  } Cases[] = {
      {"missing", nullptr, "", "找不到皮肤文件“", "\" is missing; the windows keep their default look"},
      {"not a skin", "", "this is no skin", "无法读取皮肤文件“",
       "\" cannot be read (not a skin this program reads); the windows keep their default look"},
      {"cut short", "", Product.substr(0, Product.size() / 2), "无法读取皮肤文件“",
       "\" cannot be read (Stream read error); the windows keep their default look"},
      {"damaged", "", Damaged, "无法读取皮肤文件“", "; the windows keep their default look"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const String Skin = Temp.Root() + "/" + C.Name + "/skin/nerivo.skn";
    if (C.Bytes != nullptr) {
      ForceDirectories(ExtractFilePath(Skin));
      WriteSkinFileBytes(Skin, C.Contents);
    }
    Boxes.clear();
    CreateProgramWindows(File(), Skin);
    ASSERT_NE(Form1, nullptr);
    EXPECT_TRUE(Form1->bsSkinData1->Empty);
    // One box, over the shown window, naming the file.
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].rfind(C.BoxStart + Skin + "”", 0), 0u) << Boxes[0];
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    // One log line at the error level, naming the file and what is wrong.
    const String Log = jobstest::LogText(Form1);
    const String Head = "." + std::to_string(Integer(llError)) + ": the skin \"" + Skin + "\"";
    ASSERT_NE(Log.find(Head), String::npos) << Log;
    EXPECT_EQ(Log.find(Head, Log.find(Head) + 1), String::npos) << Log;
    EXPECT_NE(Log.find(C.LogEnd + "\n", Log.find(Head)), String::npos) << Log;
    if (String(C.Name) == "damaged") {
      EXPECT_EQ(Log.find("not a skin this program reads"), String::npos) << "the inflate error is named";
    }

    // The window works in the default look: a category fills the format chooser and the preset
    // choosers, and the chosen category's name shows.
    Form1->bsSkinOfficeComboBox2->SetItemIndex(4);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_GT(Form1->bsSkinOfficeComboBox1->Items()->Count(), 0);
    EXPECT_GT(Form1->bsSkinComboBox1->Items()->Count(), 0);
    if (String(C.Name) == "missing") {
      TControl* Category = Form1->bsSkinOfficeComboBox2;
      EXPECT_TRUE(PumpUntil([&] {
        return mainformtest::DarkestChannelIn(
                   *Reader, Category, Rect(0, 0, Category->Width() - 24, Category->Height()), 3) < 100;
      })) << "the category's text shows";
      SaveWindowShot(Form1->Handle(), "program_no_skin.png");
    }
    DestroyWindows();
  }
}

}  // namespace

#endif
