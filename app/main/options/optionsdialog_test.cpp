// The options dialog as the main window meets it: created at start-up it loads "option.ini" into its
// controls (repairing what is missing or unknown), 确定 saves them, 取消 does not, and the controls
// count at once either way.
#include "app/main/options/optionsdialog.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/main/testkit/optionstestkit.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/files.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/pages/bsskinpagecontrol.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class OptionsDialog : public optionstest::TOptionFileTestOf<TSkinControlTest> {
 protected:
  void SetUp() override {
    optionstest::TOptionFileTestOf<TSkinControlTest>::SetUp();
    Converter = std::make_unique<TFFmpegConverter>(nullptr);
  }
  void TearDown() override {
    Converter.reset();
    optionstest::TOptionFileTestOf<TSkinControlTest>::TearDown();
  }
  // The dialog as start-up creates it: built, then its creation handler runs the load step.
  TForm5* Create() {
    auto* F = new TForm5(Application, Skin.get(), Converter.get(), File());
    F->AfterConstruction();
    return F;
  }
  static String Checked(TForm5* F) {
    String S;
    for (TbsSkinCheckRadioBox* B :
         {F->bsSkinCheckRadioBox1, F->bsSkinCheckRadioBox2, F->bsSkinCheckRadioBox3, F->bsSkinCheckRadioBox4,
          F->bsSkinCheckRadioBox5, F->bsSkinCheckRadioBox6, F->bsSkinCheckRadioBox7, F->bsSkinCheckRadioBox8,
          F->bsSkinCheckRadioBox9, F->bsSkinCheckRadioBox10, F->bsSkinCheckRadioBox11,
          F->bsSkinCheckRadioBox12})
      if (B->Checked()) S += (S.empty() ? "" : " ") + B->Name().substr(String("bsSkinCheckRadioBox").size());
    return S;
  }
  String Stored(const char* Key) { return File().Read("Options", Key); }

  std::unique_ptr<TFFmpegConverter> Converter;
};

TEST_F(OptionsDialog, FirstStartWritesEveryDefaultAndShowsThem) {
  // Start-up order: the main window's output folder step creates the file, then the dialog loads.
  TOptionFile Main = File();
  LoadOutputFolder(Main);
  Converter->SetPreview(true);
  TForm5* F = Create();
  EXPECT_EQ(IniText(), "[OutPath]\nOutPath=" + DefaultOutputFolder() +
                           "\n[Options]\nThread_Count=0\nAfter_Done=0\nThread_Priority=3\nOverwrite_File=1\n"
                           "Show_Preview=0\n");
  EXPECT_EQ(Checked(F), "1 6 7 12");
  EXPECT_FALSE(Converter->Preview()) << "the load step always sets the preview";
  EXPECT_EQ(F->bsSkinComboBox2->Text(), "1");
  EXPECT_EQ(F->bsSkinComboBox2->Items()->Count(), 19);
  EXPECT_EQ(F->bsSkinComboBox2->Items()->Strings(18), "19");
  EXPECT_TRUE(F->bsSkinComboBox2->Enabled());
  EXPECT_FALSE(F->bsSkinCheckRadioBox7->Visible());
  EXPECT_EQ(F->bsSkinPageControl1->ActivePage(), F->bsSkinTabSheet2);
}

TEST_F(OptionsDialog, WithoutAFileTheFiveDefaultsAreWrittenInTheirOrder) {
  TForm5* F = Create();
  EXPECT_EQ(IniText(),
            "[Options]\nThread_Count=0\nAfter_Done=0\nShow_Preview=0\nThread_Priority=3\n"
            "Overwrite_File=1\n");
  EXPECT_EQ(Checked(F), "1 6 7 12");
}

TEST_F(OptionsDialog, TheControlsAreThoseOfTheTableOnTheirPagesAndGroups) {
  TForm5* F = Create();
  EXPECT_EQ(F->Caption(), "选项");
  EXPECT_EQ(F->ClientWidth(), 526);
  EXPECT_EQ(F->ClientHeight(), 464);
  EXPECT_EQ(F->Position(), poMainFormCenter);
  EXPECT_EQ(F->bsSkinTabSheet1->Caption(), "CPU");
  EXPECT_EQ(F->bsSkinTabSheet2->Caption(), "常规");
  struct TRowCase {
    TbsSkinCheckRadioBox* Box;
    TWinControl* Group;
    const char* GroupCaption;
    const char* Caption;
    bool Radio;
  };
  const TRowCase Rows[] = {
      {F->bsSkinCheckRadioBox9, F->bsSkinTabSheet1, "转换时CPU利用方式", "系统空闲时进行", true},
      {F->bsSkinCheckRadioBox10, F->bsSkinTabSheet1, "转换时CPU利用方式", "最低优先级进行", true},
      {F->bsSkinCheckRadioBox11, F->bsSkinTabSheet1, "转换时CPU利用方式", "较低优先级进行", true},
      {F->bsSkinCheckRadioBox12, F->bsSkinTabSheet1, "转换时CPU利用方式", "正常优先级进行", true},
      {F->bsSkinCheckRadioBox7, F->bsSkinTabSheet1, "转换参数", "启用多线程模式   （同时进行转换的视频个数）",
       false},
      {F->bsSkinCheckRadioBox8, F->bsSkinTabSheet1, "转换参数", "转换时进行实时视频预览", false},
      {F->bsSkinCheckRadioBox3, F->bsSkinTabSheet2, "如果输出文件存在时", "直接覆盖输出文件", true},
      {F->bsSkinCheckRadioBox6, F->bsSkinTabSheet2, "如果输出文件存在时", "自动重命名输出文件", true},
      {F->bsSkinCheckRadioBox1, F->bsSkinTabSheet2, "转换工作完成后", "自动打开输出文件夹", true},
      {F->bsSkinCheckRadioBox2, F->bsSkinTabSheet2, "转换工作完成后", "自动关闭计算机", true},
      {F->bsSkinCheckRadioBox4, F->bsSkinTabSheet2, "转换工作完成后", " 播放提示音乐", true},
      {F->bsSkinCheckRadioBox5, F->bsSkinTabSheet2, "转换工作完成后", "不进行任何操作", true},
  };
  for (const TRowCase& R : Rows) {
    EXPECT_EQ(R.Box->Caption(), R.Caption);
    EXPECT_EQ(R.Box->Radio(), R.Radio) << R.Caption;
    ASSERT_NE(R.Box->Parent(), nullptr);
    EXPECT_EQ(R.Box->Parent()->Caption(), R.GroupCaption) << R.Caption;
    EXPECT_EQ(R.Box->Parent()->Parent(), R.Group) << R.Caption;
  }
  EXPECT_EQ(F->bsSkinStdLabel1->Caption(), "同时进行转换的文件个数");
  EXPECT_EQ(F->bsSkinComboBox2->Parent(), F->bsSkinGroupBox2);
  EXPECT_EQ(F->bsSkinButton6->Caption(), "确定");
  EXPECT_EQ(F->bsSkinButton1->Caption(), "取消");
  // The radios of one group box exclude each other; those of the others stay.
  F->bsSkinCheckRadioBox2->SetChecked(true);
  F->bsSkinCheckRadioBox9->SetChecked(true);
  F->bsSkinCheckRadioBox3->SetChecked(true);
  EXPECT_EQ(Checked(F), "2 3 7 9");
}

TEST_F(OptionsDialog, StoredValuesAreShownAndBadOnesRepaired) {
  struct TCase {
    const char* Key;
    const char* Stored;  // nullptr: no key
    const char* After;   // the stored value after the load
    const char* Checked;
  };
  const TCase Cases[] = {
      {"After_Done", "0", "0", "1 6 7 12"},          {"After_Done", "1", "1", "2 6 7 12"},
      {"After_Done", "2", "2", "4 6 7 12"},          {"After_Done", "3", "3", "5 6 7 12"},
      {"After_Done", "7", "0", "1 6 7 12"},          {"After_Done", "", "0", "1 6 7 12"},
      {"After_Done", "Error", "0", "1 6 7 12"},      {"After_Done", nullptr, "0", "1 6 7 12"},
      {"After_Done", "01", "0", "1 6 7 12"},         {"Thread_Priority", "0", "0", "1 6 7 9"},
      {"Thread_Priority", "1", "1", "1 6 7 10"},     {"Thread_Priority", "2", "2", "1 6 7 11"},
      {"Thread_Priority", "", "3", "1 6 7 12"},      {"Thread_Priority", "4", "3", "1 6 7 12"},
      {"Thread_Priority", "error", "3", "1 6 7 12"}, {"Overwrite_File", "0", "0", "1 3 7 12"},
      {"Overwrite_File", "1", "1", "1 6 7 12"},      {"Overwrite_File", "yes", "1", "1 6 7 12"},
      {"Overwrite_File", nullptr, "1", "1 6 7 12"},  {"Show_Preview", "1", "1", "1 6 7 8 12"},
      {"Show_Preview", "0", "0", "1 6 7 12"},        {"Show_Preview", "true", "0", "1 6 7 12"},
      {"Show_Preview", "", "0", "1 6 7 12"},         {"Thread_Count", "5", "5", "1 6 7 12"},
      {"Thread_Count", "Error", "0", "1 6 7 12"},    {"Thread_Count", nullptr, "0", "1 6 7 12"},
  };
  for (const TCase& C : Cases) {
    // The other keys hold good values, so only the key under test may change.
    String Text = "[Options]\n";
    for (const char* K :
         {"Thread_Count", "After_Done", "Show_Preview", "Thread_Priority", "Overwrite_File"}) {
      const String Good = String(K) == "Thread_Priority" ? "3" : String(K) == "Overwrite_File" ? "1" : "0";
      if (String(K) != C.Key)
        Text += String(K) + "=" + Good + "\n";
      else if (C.Stored != nullptr)
        Text += String(K) + "=" + C.Stored + "\n";
    }
    WriteIni(Text);
    TForm5* F = Create();
    const String Label = String(C.Key) + "=" + (C.Stored ? C.Stored : "(none)");
    EXPECT_EQ(Stored(C.Key), C.After) << Label;
    EXPECT_EQ(Checked(F), C.Checked) << Label;
    EXPECT_EQ(Converter->Preview(), String(C.Checked).find(" 8 ") != String::npos) << Label;
    // The thread count is never applied: the chooser starts on "1".
    EXPECT_EQ(F->bsSkinComboBox2->Text(), "1") << Label;
    delete F;
  }
}

TEST_F(OptionsDialog, OkSavesTheControlsCancelKeepsThemOnlyForTheRun) {
  WriteIni("[Options]\nThread_Count=4\nAfter_Done=0\nShow_Preview=0\nThread_Priority=3\nOverwrite_File=1\n");
  TForm5* F = Create();
  const String Before = IniText();

  // Cancel: the changed radios count at once but the file keeps the old values.
  wintest::OnNextModalLoop([&] {
    F->bsSkinCheckRadioBox5->SetChecked(true);
    F->bsSkinCheckRadioBox8->SetChecked(true);
    F->bsSkinButton1->Click();
  });
  F->ShowModal();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(IniText(), Before);
  EXPECT_TRUE(F->bsSkinCheckRadioBox5->Checked());
  EXPECT_TRUE(Converter->Preview()) << "the preview box acts before OK";

  // OK with multi-thread mode off leaves the thread count as it was.
  wintest::OnNextModalLoop([&] {
    F->bsSkinCheckRadioBox10->SetChecked(true);
    F->bsSkinCheckRadioBox3->SetChecked(true);
    F->bsSkinComboBox2->SetItemIndex(7);
    F->bsSkinCheckRadioBox7->SetChecked(false);
    EXPECT_FALSE(F->bsSkinComboBox2->Enabled());
    F->bsSkinButton6->Click();
  });
  F->ShowModal();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(IniText(),
            "[Options]\nThread_Count=4\nAfter_Done=3\nShow_Preview=1\nThread_Priority=1\n"
            "Overwrite_File=0\n");

  // OK with multi-thread mode on writes the chooser's text.
  wintest::OnNextModalLoop([&] {
    F->bsSkinCheckRadioBox7->SetChecked(true);
    EXPECT_TRUE(F->bsSkinComboBox2->Enabled());
    F->bsSkinCheckRadioBox2->SetChecked(true);
    F->bsSkinButton6->Click();
  });
  F->ShowModal();
  EXPECT_EQ(IniText(),
            "[Options]\nThread_Count=8\nAfter_Done=1\nShow_Preview=1\nThread_Priority=1\n"
            "Overwrite_File=0\n");
}

TEST_F(OptionsDialog, EnterIsOkAndEscapeIsCancel) {
  TForm5* F = Create();
  const String Before = IniText();
  wintest::OnNextModalLoop([&] {
    F->bsSkinCheckRadioBox2->SetChecked(true);
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  F->ShowModal();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(IniText(), Before);
  wintest::OnNextModalLoop([&] { wintest::KeyPress(VK_RETURN, 13); });
  F->ShowModal();
  EXPECT_EQ(Stored("After_Done"), "1");
}

TEST_F(OptionsDialog, AnUnwritableFileStillGivesWorkingControls) {
  // The program folder is a plain file: the file can be neither read nor written.
  std::ofstream(Temp.Root() + "/program") << "x";
  auto* F =
      new TForm5(Application, Skin.get(), Converter.get(), TOptionFile(Temp.Root() + "/program/option.ini"));
  F->AfterConstruction();
  EXPECT_EQ(Checked(F), "1 6 7 12");
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_NE(Log[0].find("program/option.ini"), String::npos) << Log[0];
  // What OK could not write still holds for the run.
  F->bsSkinCheckRadioBox4->SetChecked(true);
  F->Button2Click(nullptr);
  EXPECT_EQ(F->OptionFile().Read("Options", "After_Done"), "2");
  EXPECT_EQ(Log.size(), 1u) << "one note, not one per key";
}

TEST_F(OptionsDialog, TheConverterMayGoBeforeTheDialog) {
  TForm5* F = Create();
  Converter.reset();
  EXPECT_EQ(F->Converter(), nullptr);
  F->bsSkinCheckRadioBox8->SetChecked(true);
  EXPECT_TRUE(F->bsSkinCheckRadioBox8->Checked());
}

}  // namespace
