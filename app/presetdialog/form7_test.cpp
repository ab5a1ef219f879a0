// The preset dialog with the main window as the program makes them: what its creation fills, the
// same lists as the main window's, the writes into the selected job row while it is open, OK and
// Cancel, and texts the tables cannot read.
#include "app/presetdialog/form7.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/formats/formattables.h"
#include "app/formats/presets.h"
#include "app/main/options/optionsdialog.h"
#include "app/main/testkit/mainformtestkit.h"
#include "app/presetdialog/testkit/presetdialogtestkit.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/files.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/win/testkit/testkit.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficeitems.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"

namespace {

using namespace presetdialogtest;

class PresetDialog : public mainformtest::TMainFormTest {
 protected:
  void SetUp() override {
    TMainFormTest::SetUp();
    Main = Create();
    Out = Temp.Root() + "/out";
    PrepareMainWindow(Main, Out);
    Options = new TForm5(Application, Main->bsSkinData1, Main->ZUVER, File());
    Options->AfterConstruction();
    Main->SetOptionsDialog(Options);
  }
  TForm7* Dialog() {
    if (D == nullptr) D = CreateDialog(Main);
    return D;
  }
  // 直接覆盖输出文件 (on) or 自动重命名输出文件 (off) in the options dialog.
  void SetOverwrite(bool On) {
    (On ? Options->bsSkinCheckRadioBox3 : Options->bsSkinCheckRadioBox6)->SetChecked(true);
  }
  static std::vector<String> ItemsOf(TbsSkinComboBox* C) {
    std::vector<String> L;
    for (Integer I = 0; I < C->Items()->Count(); ++I) L.push_back(C->Items()->Strings(I));
    return L;
  }
  static std::vector<String> CaptionsOf(TbsSkinOfficeComboBox* C) {
    std::vector<String> L;
    for (Integer I = 0; I < C->Items()->Count(); ++I) L.push_back(C->Items()->Items(I)->Caption());
    return L;
  }
  static Integer IndexOf(TbsSkinComboBox* C, const String& Text) {
    for (Integer I = 0; I < C->Items()->Count(); ++I)
      if (C->Items()->Strings(I) == Text) return I;
    return -1;
  }
  static std::array<TbsSkinComboBox*, PresetSlotCount> Combos(TForm1* F) {
    return {F->bsSkinComboBox1, F->bsSkinComboBox2, F->bsSkinComboBox3,
            F->bsSkinComboBox4, F->bsSkinComboBox9, F->bsSkinComboBox10};
  }
  static std::array<TbsSkinComboBox*, PresetSlotCount> Combos(TForm7* F) {
    return {F->bsSkinComboBox1, F->bsSkinComboBox2, F->bsSkinComboBox3,
            F->bsSkinComboBox4, F->bsSkinComboBox9, F->bsSkinComboBox10};
  }
  // Chooses a format in the dialog as a person does: the category, then the format.
  void Choose(Integer Category, Integer Format) {
    Dialog()->bsSkinOfficeComboBox2->SetItemIndex(Category);
    Dialog()->bsSkinOfficeComboBox1->SetItemIndex(Format);
  }

  TForm1* Main = nullptr;
  TForm7* D = nullptr;
  TForm5* Options = nullptr;
  String Out;
};

TEST_F(PresetDialog, ItsCreationFillsTheFirstCategoryAndStoresThatFormatCodeInTheMainWindow) {
  Main->JobParameters().All_Trant_Number = 0;
  Main->JobParameters().Video_DisableVideo = true;
  TForm7* F = Dialog();
  EXPECT_EQ(Main->JobParameters().All_Trant_Number, 1600);
  EXPECT_FALSE(Main->JobParameters().Video_DisableVideo);

  EXPECT_EQ(F->Caption(), "选项设置");
  EXPECT_EQ(F->ClientWidth(), 511);
  EXPECT_EQ(F->ClientHeight(), 418);
  EXPECT_EQ(F->Position(), poMainFormCenter);
  EXPECT_EQ(CaptionsOf(F->bsSkinOfficeComboBox2), CaptionsOf(Main->bsSkinOfficeComboBox2));
  EXPECT_EQ(F->bsSkinOfficeComboBox2->Items()->Count(), 15);
  EXPECT_EQ(F->bsSkinOfficeComboBox2->ItemIndex(), 0);
  ASSERT_EQ(F->bsSkinOfficeComboBox1->Items()->Count(), 7);
  for (Integer P = 0; P < 7; ++P) {
    EXPECT_EQ(F->bsSkinOfficeComboBox1->Items()->Items(P)->Caption(), FormatCaption(15, P));
    EXPECT_EQ(F->bsSkinOfficeComboBox1->Items()->Items(P)->ImageIndex(), P % 2);
  }
  EXPECT_EQ(F->bsSkinOfficeComboBox1->ItemIndex(), 0);
  const TPresetRow* Row = FindPresetRow(1600);
  ASSERT_NE(Row, nullptr);
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    const TPresetList& L = PresetListOf(*Row, TPresetSlot(S));
    EXPECT_EQ(ItemsOf(Combos(F)[S]), std::vector<String>(L.Entries, L.Entries + L.Count)) << S;
    EXPECT_EQ(Combos(F)[S]->ItemIndex(), Row->Choices[S].Default) << S;
  }

  EXPECT_EQ(F->bsSkinGroupBox1->Caption(), "预置视频参数");
  EXPECT_EQ(F->bsSkinGroupBox2->Caption(), "预置音频参数");
  const char* const Labels[PresetSlotCount] = {"视频分辨率：", "视频比特率：", "音频比特率：",
                                               "视频缩放：",   "视频帧率：",   "音频采样率："};
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    EXPECT_EQ(F->PresetLabels[S]->Caption(), Labels[S]);
    EXPECT_EQ(F->PresetLabels[S]->Parent(), Combos(F)[S]->Parent())
        << "a caption stands in its chooser's group";
    EXPECT_LE(F->PresetLabels[S]->Left() + F->PresetLabels[S]->Width(), Combos(F)[S]->Left()) << Labels[S];
  }
  EXPECT_EQ(F->bsSkinButton2->Caption(), "确定");
  EXPECT_EQ(F->bsSkinButton3->Caption(), "取消");

  // The routine buttons: invisible, outside the client area.
  const struct {
    TButton* Button;
    const char* Caption;
  } Routines[] = {{F->Button2, "添加combox"},         {F->Button18, "根据combox添加预设选项"},
                  {F->Button5, "根据combox添加数据"}, {F->Button13, "确认预置选项数据"},
                  {F->Button6, "初始化数据"},         {F->Button1, "Button1"}};
  for (const auto& R : Routines) {
    EXPECT_EQ(R.Button->Caption(), R.Caption);
    EXPECT_FALSE(R.Button->Visible()) << R.Caption;
    EXPECT_GE(R.Button->Left(), F->ClientWidth()) << R.Caption;
  }
  // Everything else lies inside the client area.
  for (Integer I = 0; I < F->ControlCount(); ++I) {
    TControl* C = F->Controls(I);
    if (!C->Visible()) continue;
    EXPECT_GE(C->Left(), 0) << C->Name();
    EXPECT_LE(C->Left() + C->Width(), F->ClientWidth()) << C->Name();
    EXPECT_LE(C->Top() + C->Height(), F->ClientHeight()) << C->Name();
  }
}

TEST_F(PresetDialog, TheSharedTablesGiveBothWindowsTheSameFormatsListsAndDefaults) {
  TForm7* F = Dialog();
  for (Integer C = 0; C < CategoryPositionCount; ++C) {
    Main->bsSkinOfficeComboBox2->SetItemIndex(C);
    Main->Button2->Click();
    F->bsSkinOfficeComboBox2->SetItemIndex(C);
    ASSERT_EQ(CaptionsOf(F->bsSkinOfficeComboBox1), CaptionsOf(Main->bsSkinOfficeComboBox1)) << C;
    for (Integer P = 0; P < F->bsSkinOfficeComboBox1->Items()->Count(); ++P) {
      Main->bsSkinOfficeComboBox1->SetItemIndex(P);
      const TJobParameters AfterMain = Main->JobParameters();
      F->bsSkinOfficeComboBox1->SetItemIndex(P);
      EXPECT_EQ(Main->JobParameters().All_Trant_Number, AfterMain.All_Trant_Number) << C << "/" << P;
      for (Integer S = 0; S < PresetSlotCount; ++S) {
        EXPECT_EQ(ItemsOf(Combos(F)[S]), ItemsOf(Combos(Main)[S])) << C << "/" << P << " slot " << S;
        EXPECT_EQ(Combos(F)[S]->ItemIndex(), Combos(Main)[S]->ItemIndex()) << C << "/" << P << " slot " << S;
        EXPECT_EQ(Combos(F)[S]->Enabled(), Combos(Main)[S]->Enabled()) << C << "/" << P << " slot " << S;
      }
    }
  }
  // Button1 copies the main window's format items as they stand.
  Main->bsSkinOfficeComboBox2->SetItemIndex(14);
  Main->Button2->Click();
  F->bsSkinOfficeComboBox2->SetItemIndex(0);
  F->Button1->Click();
  EXPECT_EQ(CaptionsOf(F->bsSkinOfficeComboBox1), CaptionsOf(Main->bsSkinOfficeComboBox1));
}

struct TFormatCase {
  Integer Category, Format;
  Integer Code;
  const char* NoVideo;
};

TEST_F(PresetDialog, AFormatChosenWithARowSelectedRewritesTheRowAndTheJobParameters) {
  TListItem* Row = AddJobRow(Main, true);
  Dialog();
  for (const TFormatCase& K : {TFormatCase{2, 7, 107, "False"}, TFormatCase{14, 0, 200, "True"},
                               TFormatCase{0, 6, 1606, "False"}, TFormatCase{2, 0, 100, "False"}}) {
    SCOPED_TRACE(K.Code);
    Choose(K.Category, K.Format);
    const TJobParameters& P = Main->JobParameters();
    EXPECT_EQ(P.All_Trant_Number, K.Code);
    EXPECT_EQ(Row->SubItems()->Strings(8), IntToStr(100 * (K.Category + 1) + K.Format));
    EXPECT_EQ(Row->SubItems()->Strings(21), K.NoVideo);
    // The format's table values with the six preset fields the choosers show, in the JobParameters
    // and in columns 11 to 24; the output name takes the extension an add of the format gives.
    TJobParameters Shown;
    Shown.Video_AddFileName = InputFile;
    ApplyFormatParameters(Shown, K.Category, K.Format, Out, false);
    EXPECT_EQ(Row->SubItems()->Strings(2), ExtractFileName(Shown.Video_OutPutFileName));
    ReadPresetChoosers(D->PresetChoosers(), Shown);
    const auto Columns = JobParameterColumns(Shown);
    for (Integer I = 0; I < ParameterSubItemCount; ++I)
      EXPECT_EQ(Row->SubItems()->Strings(10 + I), Columns[I]) << "column " << 11 + I;
    EXPECT_EQ(P, Shown);
    // The job's option slot follows its row: container and encoders of the new format.
    EXPECT_EQ(Main->OO1[0].VideoCodec,
              Shown.Video_VideoCodec.empty() ? Main->OO1[0].VideoCodec : Shown.Video_VideoCodec);
    EXPECT_EQ(Main->OO1[0].FileName, Out + "/" + Row->SubItems()->Strings(2));
    EXPECT_EQ(D->bsSkinComboBox1->Enabled(), String(K.NoVideo) == "False");
  }
}

TEST_F(PresetDialog, TheOutputNameIsNumberedWhenTheFileExistsUnlessOverwriteIsOn) {
  AddJobRow(Main, true);
  Dialog();
  std::ofstream(Out + "/holiday.avi") << "x";
  std::ofstream(Out + "/holiday_2.avi") << "x";
  Choose(0, 0);  // AVI
  EXPECT_EQ(Main->JobParameters().Video_OutPutFileName, Out + "/holiday_1.avi");
  EXPECT_EQ(Main->lvFiles->Items()->Item(0)->SubItems()->Strings(2), "holiday_1.avi");
  SetOverwrite(true);
  Choose(0, 0);
  EXPECT_EQ(Main->JobParameters().Video_OutPutFileName, Out + "/holiday.avi");
  EXPECT_EQ(Main->lvFiles->Items()->Item(0)->SubItems()->Strings(2), "holiday.avi");
}

TEST_F(PresetDialog, APresetChosenInTheOpenDialogIsWrittenAtOnceAndCancelKeepsIt) {
  TListItem* Row = AddJobRow(Main, true);
  TForm7* F = Dialog();

  Integer Wide = -1;
  String AspectWhileOpen, PairWhileOpen;
  bool Shown = false, SameChoices = false;
  wintest::OnNextModalLoop([&] {
    Shown = F->Visible();
    SameChoices = F->ChooserPositions() == Main->ChooserPositions();
    Wide = IndexOf(F->bsSkinComboBox4, "宽屏视频16:9模式");
    F->bsSkinComboBox4->SetItemIndex(Wide);
    AspectWhileOpen = Row->SubItems()->Strings(20);
    PairWhileOpen = Row->SubItems()->Strings(9).substr(6, 2);
    wintest::KeyPress(VK_ESCAPE, 27);
  });
  Main->bsSkinButton24->Click();
  EXPECT_TRUE(Shown) << "shown modally";
  EXPECT_TRUE(SameChoices) << "opened with the main window's choices";
  ASSERT_GE(Wide, 0);
  EXPECT_EQ(AspectWhileOpen, "16:9");
  EXPECT_EQ(PairWhileOpen, PresetPairText(Wide));
  EXPECT_FALSE(F->Visible()) << "Escape closed it";
  // Cancel undid nothing, and the main window's choosers show the job as it now is.
  EXPECT_EQ(Row->SubItems()->Strings(20), "16:9");
  EXPECT_EQ(Row->SubItems()->Strings(9).substr(6, 2), PresetPairText(Wide));
  EXPECT_EQ(Main->JobParameters().Video_FrameAspectRatio, "16:9");
  EXPECT_EQ(Main->ChooserPositions(), JobRowChooserPositions(Row));
  EXPECT_EQ(Main->bsSkinComboBox4->ItemIndex(), Wide);
}

TEST_F(PresetDialog, OkCopiesTheChoicesBackIntoTheMainWindowsChoosers) {
  TListItem* Row = AddJobRow(Main, true);
  TForm7* F = Dialog();
  TChooserPositions Chosen;
  String Bitrate;
  wintest::OnNextModalLoop([&] {
    // Category 视频格式, its third format, the lowest audio bit rate offered.
    F->bsSkinOfficeComboBox2->SetItemIndex(2);
    F->bsSkinOfficeComboBox1->SetItemIndex(2);
    F->bsSkinComboBox3->SetItemIndex(0);
    Bitrate = F->bsSkinComboBox3->Text();
    Chosen = F->ChooserPositions();
    wintest::KeyPress(VK_RETURN, 13);
  });
  Main->bsSkinButton24->Click();
  EXPECT_FALSE(F->Visible());
  EXPECT_EQ(Main->ChooserPositions(), Chosen);
  EXPECT_EQ(Main->bsSkinComboBox3->Text(), Bitrate);
  EXPECT_EQ(Row->SubItems()->Strings(9).substr(4, 2), "00");
  TJobParameters Expected;
  SetParameterFromPresetText(psAudioBitrate, Bitrate, Expected, ptuChangeHandler);
  EXPECT_EQ(Row->SubItems()->Strings(18), IntToStr(Expected.Video_AudioBitrate));
  EXPECT_EQ(Row->SubItems()->Strings(8), "302");
}

TEST_F(PresetDialog, WithNoRowSelectedOkSetsTheMainWindowsChoosersAndTheJobListStaysAsItWas) {
  TListItem* Row = AddJobRow(Main, false);
  const std::vector<String> Before = SubItemsOf(Row);
  TForm7* F = Dialog();
  wintest::OnNextModalLoop([&] {
    F->bsSkinOfficeComboBox1->SetItemIndex(3);
    F->bsSkinComboBox1->SetItemIndex(1);
    F->bsSkinButton2->Click();
  });
  Main->bsSkinButton24->Click();
  EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 0);
  EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 3);
  EXPECT_EQ(Main->bsSkinComboBox1->ItemIndex(), 1);
  EXPECT_EQ(Main->JobParameters().All_Trant_Number, 1603);
  EXPECT_EQ(SubItemsOf(Row), Before);
  EXPECT_EQ(Main->lvFiles->Items()->Count(), 1);
}

TEST_F(PresetDialog, TheSetButtonStandsRightOfTheFormatChooserOnTheFormatPanel) {
  Dialog();
  TbsSkinButton* B = Main->bsSkinButton24;
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(B->Caption(), "设置...");
  EXPECT_EQ(B->Parent(), Main->FormatPanel);
  EXPECT_GE(B->Left(), Main->bsSkinOfficeComboBox1->Left() + Main->bsSkinOfficeComboBox1->Width());
  EXPECT_LE(B->Left() + B->Width(), Main->FormatPanel->ClientWidth());
  EXPECT_LE(B->Top() + B->Height(), Main->FormatPanel->ClientHeight());
  EXPECT_EQ(Main->PresetDialog(), static_cast<IPresetDialog*>(D));
  // The main window forgets a dialog that goes.
  delete D;
  D = nullptr;
  EXPECT_EQ(Main->PresetDialog(), nullptr);
  Main->bsSkinButton24->Click();  // no dialog: nothing happens
}

TEST_F(PresetDialog, AFormatChooserWithoutASelectionOrAShortRowFailsNothing) {
  TListItem* Row = AddJobRow(Main, true);
  TForm7* F = Dialog();
  const std::vector<String> Before = SubItemsOf(Row);
  // No format chosen: the preset lists empty out and the row stays as it is.
  F->bsSkinOfficeComboBox1->SetItemIndex(-1);
  EXPECT_EQ(Main->JobParameters().All_Trant_Number, 1599);
  for (TbsSkinComboBox* C : Combos(F)) {
    EXPECT_EQ(C->Items()->Count(), 0);
    EXPECT_TRUE(C->Enabled());
  }
  EXPECT_EQ(SubItemsOf(Row), Before);

  // A row that holds fewer columns than the dialog writes takes the writes.
  TListItem* Short = Main->lvFiles->Items()->Add();
  Short->SetCaption(InputFile);
  Main->lvFiles->SetSelected(Short);
  Choose(2, 7);
  ASSERT_EQ(Short->SubItems()->Count(), 24);
  EXPECT_EQ(Short->SubItems()->Strings(8), "307");
  EXPECT_EQ(Short->SubItems()->Strings(21), "False");
}

struct TBadText {
  const char* Name;
  Integer Slot;  // TPresetSlot
  const char* Text;
  const char* Said;  // the chooser named in the message
};

void PrintTo(const TBadText& K, std::ostream* Os) {
  *Os << K.Name;
}

class PresetDialogBadText : public PresetDialog, public ::testing::WithParamInterface<TBadText> {};

TEST_P(PresetDialogBadText, IsReportedAndLeavesTheRowAndTheJobParametersAsTheyWere) {
  const TBadText& K = GetParam();
  TListItem* Row = AddJobRow(Main, true);
  TForm7* F = Dialog();
  Choose(0, 0);
  const std::vector<String> RowBefore = SubItemsOf(Row);
  const TJobParameters Before = Main->JobParameters();
  TbsSkinComboBox* C = Combos(F)[K.Slot];
  C->Items()->Add(K.Text);
  String Message;
  wintest::OnNextModalLoop([&] {
    if (TbsMessageForm* Box = dialogstest::ShowingBox()) Message = Box->Message->Caption();
    wintest::KeyPress(VK_RETURN, 13);
  });
  C->SetItemIndex(C->Items()->Count() - 1);
  EXPECT_NE(Message.find(K.Said), String::npos) << Message;
  EXPECT_NE(Message.find(K.Text), String::npos) << Message;
  EXPECT_NE(Message.find("kbps"), String::npos) << Message;
  EXPECT_EQ(SubItemsOf(Row), RowBefore);
  EXPECT_EQ(Main->JobParameters(), Before);

  // The chooser reader takes all six fields or none.
  Message.clear();
  wintest::OnNextModalLoop([&] {
    if (TbsMessageForm* Box = dialogstest::ShowingBox()) Message = Box->Message->Caption();
    wintest::KeyPress(VK_RETURN, 13);
  });
  Main->JobParameters().Video_FrameSize = "1*1";
  F->Button13->Click();
  EXPECT_NE(Message.find(K.Text), String::npos) << Message;
  EXPECT_EQ(Main->JobParameters().Video_FrameSize, "1*1");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PresetDialogBadText,
    ::testing::Values(TBadText{"NotANumber", psVideoBitrate, "快速 kbps", "视频比特率"},
                      TBadText{"OutOfRange", psVideoBitrate, "99999999 kbps", "视频比特率"},
                      TBadText{"NoUnit", psAudioBitrate, "128", "音频比特率"},
                      TBadText{"BadFraction", psAudioBitrate, "12.x kbps", "音频比特率"}),
    [](const auto& Info) { return String(Info.param.Name); });

}  // namespace
