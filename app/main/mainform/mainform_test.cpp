// The main window as the program creates it: built with the product skin, its creation handler run;
// the start state of its controls, choosers and commands, "option.ini" on a first start, and the close.
#include "app/main/mainform/mainform.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/formats/formattables.h"
#include "app/main/testkit/mainformtestkit.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/files.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/combobox.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskindata.h"
#include "skin/dialogs/bsskinopendialog.h"
#include "tools/skingen/skingen.h"

namespace {

using MainForm = mainformtest::TMainFormTest;

TEST_F(MainForm, StartsWithItsCaptionsSkinAndDefaultOutputFolderWrittenToANewOptionFile) {
  ASSERT_FALSE(FileExists(IniName()));
  TForm1* F = Create();
  EXPECT_EQ(F->Caption(), "NerivoAVI/MPEG格式转换器");
  // The skin's frame replaces the border; what the window shows still holds every visible control.
  for (Integer I = 0; I < F->ControlCount(); ++I) {
    TControl* C = F->Controls(I);
    if (!C->Visible() || C->Left() >= 1276) continue;
    EXPECT_LE(C->Left() + C->Width(), F->ClientWidth()) << C->Name();
    EXPECT_LE(C->Top() + C->Height(), F->ClientHeight()) << C->Name();
  }
  EXPECT_EQ(F->BorderStyle(), bsSingle);
  EXPECT_EQ(F->Position(), poDesktopCenter);
  EXPECT_FALSE(F->bsSkinData1->Empty) << "the product skin is loaded";
  EXPECT_EQ(F->bsSkinButton2->SkinDataName(), "defaultbutton");

  // The first start writes the default output folder and shows it.
  const String Folder = Home() + "/Nerivo视频软件/输出";
  EXPECT_EQ(F->FileOutPutPath, Folder);
  EXPECT_EQ(F->Video_OutPut_Folder_Edit->Text(), Folder);
  EXPECT_TRUE(DirectoryExists(Folder));
  EXPECT_EQ(File().Read(OutPathSection, OutPathKey), Folder);
  EXPECT_EQ(File().Read(SkinSection, SetSkinKey), "0");
  EXPECT_EQ(F->bsSkinData1->SkinIndex(), 0);

  struct TCaption {
    String Shown, Expected;
  };
  const TCaption Captions[] = {
      {F->bsSkinMenuSpeedButton1->Caption(), "添加"},
      {F->bsSkinButton7->Caption(), "删除"},
      {F->bsSkinButton8->Caption(), "清空"},
      {F->bsSkinButton2->Caption(), "开始"},
      {F->bsSkinButton10->Caption(), "停止"},
      {F->bsSkinButton11->Caption(), "暂停"},
      {F->bsSkinButton12->Caption(), "继续"},
      {F->bsSkinButton5->Caption(), "浏览..."},
      {F->bsSkinButton6->Caption(), "打开"},
      {F->bsSkinButton21->Hint(), "重命名"},
      {F->Item111->Caption(), "添加一个文件"},
      {F->Item121->Caption(), "添加多个文件"},
      {F->N21->Caption(), "添加整个目录"},
      {F->N13->Caption(), "删除选择"},
      {F->N26->Caption(), "重新命名"},
      {F->N14->Caption(), "清空文件"},
      {F->N7->Caption(), "开始转换"},
      {F->N8->Caption(), "停止转换"},
      {F->N10->Caption(), "暂停转换"},
      {F->N11->Caption(), "继续继续"},
      {F->btnAdd->Caption(), "Open添加一个文件"},
      {F->Button29->Caption(), " 播放提示音"},
      {F->chkThreadMode->Caption(), "Thread Mode"},
  };
  for (const TCaption& C : Captions) EXPECT_EQ(C.Shown, C.Expected);
  EXPECT_TRUE(F->chkThreadMode->Checked());
  for (const char* Name :
       {"ZUVER", "bsSkinForm1", "bsSkinData1", "bsSkinPopupMenu1", "OpenDialog1", "OpenDialog2",
        "bsSkinSelectDirectoryDialog1", "bsSkinMessage1", "mmoLog", "cboScreens", "Image1"})
    EXPECT_NE(F->FindComponent(Name), nullptr) << Name;
  EXPECT_EQ(F->bsSkinSlider1_down_UP, "UP");
}

TEST_F(MainForm, FillsTheCategoryFormatAndPresetChoosersForTheFirstCategory) {
  TForm1* F = Create();
  ASSERT_EQ(F->bsSkinOfficeComboBox2->Items()->Count(), CategoryPositionCount);
  EXPECT_EQ(F->bsSkinOfficeComboBox2->ItemIndex(), 0);
  const Integer Family = CategoryCodeOfPosition(0);
  ASSERT_EQ(F->bsSkinOfficeComboBox1->Items()->Count(), FamilyFormatCount(Family));
  EXPECT_EQ(F->bsSkinOfficeComboBox1->Items()->Items(0)->Caption(), FormatCaption(Family, 0));
  EXPECT_EQ(F->bsSkinOfficeComboBox1->ItemIndex(), 0);
  // The format choice ran the preset fill: the code is the first format's, the choosers hold lists.
  EXPECT_EQ(F->JobParameters().All_Trant_Number, FormatCodeOf(0, 0));
  for (TbsSkinComboBox* C : {F->bsSkinComboBox1, F->bsSkinComboBox2, F->bsSkinComboBox3, F->bsSkinComboBox4,
                             F->bsSkinComboBox9, F->bsSkinComboBox10})
    EXPECT_GT(C->Items()->Count(), 0) << C->Name();

  // Another category refills the format chooser and the presets follow its first format.
  F->bsSkinOfficeComboBox2->SetItemIndex(1);
  F->Button2->Click();
  EXPECT_EQ(F->bsSkinOfficeComboBox1->Items()->Count(), FamilyFormatCount(CategoryCodeOfPosition(1)));
  EXPECT_EQ(F->JobParameters().All_Trant_Number, FormatCodeOf(1, 0));
}

TEST_F(MainForm, EveryCommandButAddStartsDisabledAndAGroupSwitchesTogether) {
  TForm1* F = Create();
  EXPECT_TRUE(F->bsSkinMenuSpeedButton1->Enabled());
  EXPECT_TRUE(F->btnAdd->Enabled());
  struct TGroup {
    TJobCommand Command;
    TButton* Routine;
    TbsSkinButton* Skin;
    TMenuItem* Item;
    Integer EnabledGlyph, DisabledGlyph;
  };
  const TGroup Groups[] = {
      {jcRemove, F->btnRemove, F->bsSkinButton7, F->N13, 15, 14},
      {jcRename, nullptr, F->bsSkinButton21, F->N26, 16, 17},
      {jcClear, F->btnClear, F->bsSkinButton8, F->N14, 13, 12},
      {jcStart, F->btnStart, F->bsSkinButton2, F->N7, 5, 4},
      {jcStop, F->btnStop, F->bsSkinButton10, F->N8, 11, 10},
      {jcPause, F->btnPause, F->bsSkinButton11, F->N10, 7, 6},
      {jcResume, F->btnResume, F->bsSkinButton12, F->N11, 9, 8},
  };
  for (const TGroup& G : Groups) {
    SCOPED_TRACE(G.Skin->Name());
    EXPECT_FALSE(G.Skin->Enabled());
    EXPECT_FALSE(G.Item->Enabled());
    if (G.Routine != nullptr) {
      EXPECT_FALSE(G.Routine->Enabled());
    }
    F->SetCommandEnabled(G.Command, true);
    EXPECT_TRUE(G.Skin->Enabled());
    EXPECT_TRUE(G.Item->Enabled());
    if (G.Routine != nullptr) {
      EXPECT_TRUE(G.Routine->Enabled());
    }
  }
  // 暂停 lies above 继续 in the same place.
  EXPECT_EQ(F->bsSkinButton11->BoundsRect(), F->bsSkinButton12->BoundsRect());
  const TWinControl* P = F->bsSkinButton11->Parent();
  Integer Pause = -1, Resume = -1;
  for (Integer I = 0; I < P->ControlCount(); ++I) {
    if (P->Controls(I) == F->bsSkinButton11) Pause = I;
    if (P->Controls(I) == F->bsSkinButton12) Resume = I;
  }
  EXPECT_GT(Pause, Resume);
}

TEST_F(MainForm, AMissingSkinLeavesTheControlsOwnLookAndTheWindowWhole) {
  auto* F = new TForm1(Application, File(), Temp.Root() + "/no-such-folder/nerivo.skn");
  F->AfterConstruction();
  EXPECT_TRUE(F->bsSkinData1->Empty);
  EXPECT_EQ(F->bsSkinButton2->Caption(), "开始");
  EXPECT_GT(F->bsSkinOfficeComboBox1->Items()->Count(), 0);
  EXPECT_TRUE(FileExists(IniName()));
}

TEST_F(MainForm, ARoutineButtonRunsItsHandlerEvenWhenDisabled) {
  TForm1* F = Create();
  F->OO1[7].AudioLanguage = "Full";
  F->OO1[500].AudioLanguage = "DELETED";
  F->Button15->SetEnabled(false);
  F->Button15->Click();
  for (const TOutputOptions& O : F->OO1) ASSERT_EQ(O.AudioLanguage, FreeSlotMarker);
}

TEST_F(MainForm, AStoredOutputFolderIsTakenAndTheHiddenPanelsLieOutsideTheClientArea) {
  const String Folder = Temp.Root() + "/out";
  WriteIni("[OutPath]\nOutPath=" + Folder + "\n");
  TForm1* F = Create();
  EXPECT_EQ(F->FileOutPutPath, Folder);
  EXPECT_TRUE(DirectoryExists(Folder));
  for (const char* Name : {"Panel1", "Panel3", "Panel4", "Panel5", "Button27"}) {
    auto* C = dynamic_cast<TControl*>(F->FindComponent(Name));
    ASSERT_NE(C, nullptr) << Name;
    EXPECT_GE(C->Left(), 1276) << Name;
  }
}

TEST_F(MainForm, BothAddFileDialogsOfferTheSameFortyTwoFileTypes) {
  TForm1* F = Create();
  const String Filter = F->OpenDialog1->Filter();
  EXPECT_EQ(F->OpenDialog2->Filter(), Filter);
  // Description and mask alternate, each closed by a bar.
  std::vector<String> Pieces;
  for (size_t From = 0, Bar; (Bar = Filter.find('|', From)) != String::npos; From = Bar + 1)
    Pieces.push_back(Filter.substr(From, Bar - From));
  ASSERT_EQ(Pieces.size(), 84u);
  EXPECT_EQ(Filter.back(), '|');
  EXPECT_EQ(Filter, OpenDialogFilter());
  EXPECT_EQ(Pieces[0], "所有文件格式 (*.*)");
  EXPECT_EQ(Pieces[1], "*.*");
  EXPECT_EQ(Pieces[83], "*.aif; *.aiff");
  for (TbsSkinOpenDialog* D : {F->OpenDialog1, F->OpenDialog2}) {
    EXPECT_EQ(D->Title(), "打开文件");
    EXPECT_EQ(D->FilterIndex(), 1);
    EXPECT_TRUE(D->CheckFileExists());
  }
  EXPECT_FALSE(F->OpenDialog1->MultiSelection());
  EXPECT_TRUE(F->OpenDialog2->MultiSelection());
}

TEST_F(MainForm, TheStoredSkinChoiceIsAppliedAndABadOneRepaired) {
  struct TCase {
    const char* Stored;
    Integer Index;
    const char* Written;
  };
  const TCase Cases[] = {{"SetSkin=2", 2, "2"}, {"SetSkin=", 0, "0"}, {"SetSkin=blue", 0, "0"}};
  for (const TCase& C : Cases) {
    WriteIni(String("[Skin]\n") + C.Stored + "\n");
    TForm1* F = Create();
    EXPECT_EQ(F->bsSkinData1->SkinIndex(), C.Index) << C.Stored;
    EXPECT_EQ(File().Read(SkinSection, SetSkinKey), C.Written) << C.Stored;
    EXPECT_FALSE(F->bsSkinData1->Empty) << C.Stored;
    delete F;
  }
}

TEST_F(MainForm, TheScreenChoicesArePanel6ThenTheWindowedChildrenInTabOrderUpToTheFirstGap) {
  TForm1* F = Create();
  TStrings* Items = F->cboScreens->Items();
  ASSERT_GE(Items->Count(), 2);
  EXPECT_EQ(Items->Strings(0), "Panel6");
  EXPECT_EQ(F->cboScreens->ItemIndex(), 0);
  // Every name after the first is a direct windowed child with tab order = its place - 1.
  for (Integer I = 1; I < Items->Count(); ++I) {
    auto* W = dynamic_cast<TWinControl*>(F->FindComponent(Items->Strings(I)));
    ASSERT_NE(W, nullptr) << Items->Strings(I);
    EXPECT_EQ(W->Parent(), F);
    EXPECT_EQ(W->TabOrder(), I - 1);
  }
}

TEST_F(MainForm, ClosingDetachesTheEngineEventsAndStopsTheEngine) {
  TForm1* F = Create();
  bool Progress = false, Terminate = false;
  F->ZUVER->OnProgress = [&](TObject*, PProgressInfo) { Progress = true; };
  F->ZUVER->OnTerminate = [&](TObject*, const TTerminateInfo&) { Terminate = true; };
  GetFFLogger()->OnLog = [](TObject*, Cardinal, TLogLevel, const String&) {};
  bool CanClose = false;
  F->FormCloseQuery(F, CanClose);
  EXPECT_TRUE(CanClose);
  EXPECT_FALSE(static_cast<bool>(F->ZUVER->OnProgress));
  EXPECT_FALSE(static_cast<bool>(F->ZUVER->OnTerminate));
  EXPECT_FALSE(static_cast<bool>(F->ZUVER->OnCustomHook));
  EXPECT_FALSE(static_cast<bool>(GetFFLogger()->OnLog));
  EXPECT_FALSE(Progress || Terminate);
}

}  // namespace

TEST(JobTexts, DurationAndSizeTextsFollowTheirFormats) {
  struct TDuration {
    Integer Sec;
    const char* Text;
  };
  for (const TDuration& D :
       {TDuration{0, "00:00:00"}, TDuration{3599, "00:59:59"}, TDuration{86400, "00:00:00"},
        TDuration{90061, "01:01:01"}, TDuration{3723, "01:02:03"}})
    EXPECT_EQ(TForm1::SecToDate(D.Sec), D.Text) << D.Sec;
  struct TSize {
    Int64 Bytes;
    const char* Text;
  };
  for (const TSize& S : {TSize{1572864, "1.5MB"}, TSize{0, "0MB"}, TSize{3 * 1048576, "3MB"},
                         TSize{10486, "0.01MB"}, TSize{13107200, "12.5MB"}, TSize{5000000000LL, "4768.37MB"}})
    EXPECT_EQ(FileSizeText(S.Bytes), S.Text) << S.Bytes;
}
