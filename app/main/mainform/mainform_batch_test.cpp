// Running a batch from the main window: the tasks rebuilt from the rows, the command states through
// start, pause, resume, stop and the batch's end, the rows' progress texts, real batches on worker
// threads, rows the engine refuses, the after-finish actions and the log lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/batchtestkit.h"
#include "app/main/testkit/jobstestkit.h"
#include "platform/rtl/files.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"

namespace {

using batchtest::TJobRow;
using Batch = batchtest::TBatchTest;

// What the command groups and the choosers allow, as the user finds them.
struct TCommandState {
  bool Add, Remove, Rename, Clear, Start, StartSkinOnly, Stop, Pause, Resume, Choosers;
};

// Each group must be switched as one: a control out of step with its group fails the test.
TCommandState StateOf(TForm1* F) {
  auto Same = [](std::initializer_list<bool> Parts, const char* Group) {
    bool First = *Parts.begin();
    for (bool P : Parts) EXPECT_EQ(P, First) << Group << " is switched only in part";
    return First;
  };
  TCommandState S{};
  S.Add = Same({F->bsSkinMenuSpeedButton1->Enabled(), F->btnAdd->Enabled(), F->Item111->Enabled(),
                F->Item121->Enabled(), F->N21->Enabled(), F->N11111->Enabled(), F->N2222->Enabled(),
                F->N3331->Enabled()},
               "add");
  S.Remove = Same({F->btnRemove->Enabled(), F->bsSkinButton7->Enabled(), F->N13->Enabled()}, "remove");
  S.Rename = Same({F->bsSkinButton21->Enabled(), F->N26->Enabled()}, "rename");
  S.Clear = Same({F->btnClear->Enabled(), F->bsSkinButton8->Enabled(), F->N14->Enabled()}, "clear");
  S.StartSkinOnly = F->bsSkinButton2->Enabled() && !F->btnStart->Enabled() && !F->N7->Enabled();
  S.Start = S.StartSkinOnly ||
            Same({F->btnStart->Enabled(), F->bsSkinButton2->Enabled(), F->N7->Enabled()}, "start");
  S.Stop = Same({F->btnStop->Enabled(), F->bsSkinButton10->Enabled(), F->N8->Enabled()}, "stop");
  S.Pause = Same({F->btnPause->Enabled(), F->bsSkinButton11->Enabled(), F->N10->Enabled()}, "pause");
  S.Resume = Same({F->btnResume->Enabled(), F->bsSkinButton12->Enabled(), F->N11->Enabled()}, "resume");
  S.Choosers = Same(
      {F->bsSkinComboBox1->Enabled(), F->bsSkinComboBox2->Enabled(), F->bsSkinComboBox3->Enabled(),
       F->bsSkinComboBox4->Enabled(), F->bsSkinComboBox9->Enabled(), F->bsSkinComboBox10->Enabled(),
       F->bsSkinOfficeComboBox2->Enabled(), F->bsSkinOfficeComboBox1->Enabled(), F->bsSkinButton5->Enabled()},
      "choosers");
  return S;
}

void ExpectState(TForm1* F, const TCommandState& E, const char* Name) {
  SCOPED_TRACE(Name);
  const TCommandState S = StateOf(F);
  EXPECT_EQ(S.Add, E.Add) << "add";
  EXPECT_EQ(S.Remove, E.Remove) << "remove";
  EXPECT_EQ(S.Rename, E.Rename) << "rename";
  EXPECT_EQ(S.Clear, E.Clear) << "clear";
  EXPECT_EQ(S.Start, E.Start) << "start";
  EXPECT_EQ(S.StartSkinOnly, E.StartSkinOnly) << "start by the skin button only";
  EXPECT_EQ(S.Stop, E.Stop) << "stop";
  EXPECT_EQ(S.Pause, E.Pause) << "pause";
  EXPECT_EQ(S.Resume, E.Resume) << "resume";
  EXPECT_EQ(S.Choosers, E.Choosers) << "choosers";
}

//                                 add    remove rename clear  start  skin   stop   pause  resume choosers
constexpr TCommandState Ready{true, true, true, true, true, false, false, false, false, true};
constexpr TCommandState Converting{false, false, false, false, false, false, true, true, false, false};
constexpr TCommandState Paused{false, false, false, false, false, false, true, false, true, false};
constexpr TCommandState StoppedAndEnded{false, false, false, true, true, true, false, false, false, true};
constexpr TCommandState Finished{false, false, false, true, false, false, false, false, false, true};

// The terminate events the engine sent, recorded on their way to the window. What it records lives
// as long as the deliveries that may still be under way when a test ends.
class TEndRecorder {
 public:
  explicit TEndRecorder(TForm1* F) : FState(std::make_shared<TState>()) {
    F->ZUVER->OnTerminate = [State = FState, Window = F->ZUVER->OnTerminate.Get()](
                                TObject* Sender, const TTerminateInfo& Info) {
      {
        std::lock_guard<std::mutex> Hold(State->Lock);
        State->Ends.push_back(Info);
      }
      Window(Sender, Info);
    };
  }
  std::vector<TTerminateInfo> Ends() {
    std::lock_guard<std::mutex> Hold(FState->Lock);
    return FState->Ends;
  }

 private:
  struct TState {
    std::mutex Lock;
    std::vector<TTerminateInfo> Ends;
  };
  std::shared_ptr<TState> FState;
};

void MakeReady(TForm1* F) {
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) F->SetCommandEnabled(C, true);
}

TEST_F(Batch, EachRowsSlotIsMadeFromItsRowBeforeItsTaskIsBuilt) {
  CreateWindow();
  const String Clip = batchtest::TinyClips(1).front();
  TJobRow X264{Clip, "a.mp4"};
  X264.VideoCodec = "libx264";
  X264.VideoTag = "XVID";
  X264.VideoBitrate = "-1000";
  X264.AudioBitrate = "-1000";
  X264.AudioCodec = "AUTO";
  X264.AudioSampleRate = "AUTO";
  X264.TargetType = "vcd";
  X264.NormType = "PAL";
  X264.DisableVideo = "True";
  X264.FileExt = ".mp4";
  TJobRow Mpeg4{Clip, "b.avi"};
  Mpeg4.VideoTag = "XVID";
  Mpeg4.AudioChannels = "2";
  Mpeg4.AudioBitrate = "64000";
  Mpeg4.AudioSampleRate = "44100";
  Mpeg4.FrameSize = "320*240";
  Mpeg4.FrameRate = "25";
  Mpeg4.AspectRatio = "16:9";
  Mpeg4.VideoBitrate = "800000";
  Mpeg4.TargetType = "abc";
  Mpeg4.NormType = "pal";
  // Every preset column empty: "keep the source's value" for each of them.
  TJobRow Empty{Clip, "c.asf"};
  Empty.VideoCodec = "";
  Empty.AudioCodec = "";
  Empty.AudioChannels = "";
  Empty.VideoBitrate = "";
  Empty.FileExt = "";
  for (const TJobRow& R : {X264, Mpeg4, Empty}) batchtest::AddJobRow(F, R);
  // The third row is an ASF job (category position 3, format 5): its container comes from its format.
  F->lvFiles->Items()->Item(2)->SubItems()->SetStrings(colFormatPosition - 1, "405");
  // What a slot held before: none of it may reach a task whose row says otherwise.
  for (Integer I = 0; I < 3; ++I) {
    F->OO1[I].AudioBitrate = 96000;
    F->OO1[I].AudioSampleRate = 22050;
    F->OO1[I].AudioCodec = "slot codec";
    F->OO1[I].VideoCodec = "slot video";
    F->OO1[I].AudioChannels = 1;
    F->OO1[I].VideoBitrate = 123;
    F->OO1[I].FrameRate = "29.97";
    F->OO1[I].FrameSize = "720*576";
    F->OO1[I].FrameAspectRatio = "4:3";
    F->OO1[I].FileExt = ".slot";
    F->OO1[I].TargetType = ttDVD;
    F->OO1[I].FileFormat = "avi";
    F->IO1[I].FileName = "stale";
  }

  F->button28->Click();

  const TOutputOptions& A = F->OO1[0];
  EXPECT_EQ(A.VideoCodec, "libx264");
  EXPECT_EQ(A.VideoPreset, "libx264-default");
  EXPECT_EQ(A.VideoTag, "") << "libx264 takes no tag";
  EXPECT_EQ(A.VideoBitrate, -1000);
  EXPECT_EQ(A.AudioBitrate, -1) << "-1000 leaves the bit rate to the encoder";
  EXPECT_EQ(A.AudioCodec, "") << "AUTO names no encoder";
  EXPECT_EQ(A.AudioSampleRate, -1) << "AUTO keeps the source's rate";
  EXPECT_EQ(A.TargetType, ttVCD);
  EXPECT_EQ(A.NormType, ntPAL);
  EXPECT_TRUE(A.DisableVideo);
  EXPECT_EQ(A.FileExt, ".mp4");

  const TOutputOptions& B = F->OO1[1];
  EXPECT_EQ(B.VideoCodec, "mpeg4");
  EXPECT_EQ(B.VideoPreset, "");
  EXPECT_EQ(B.VideoTag, "XVID");
  EXPECT_EQ(B.AudioChannels, 2);
  EXPECT_EQ(B.AudioBitrate, 64000);
  EXPECT_EQ(B.AudioSampleRate, 44100);
  EXPECT_EQ(B.FrameSize, "320*240");
  EXPECT_EQ(B.FrameRate, "25");
  EXPECT_EQ(B.FrameAspectRatio, "16:9");
  EXPECT_EQ(B.VideoBitrate, 800000);
  EXPECT_EQ(B.TargetType, ttIgnore);
  EXPECT_EQ(B.NormType, ntAuto) << "only PAL and NTSC as written";
  EXPECT_FALSE(B.DisableVideo);

  // An empty column is the source's value, not what the slot held before.
  const TOutputOptions& C = F->OO1[2];
  EXPECT_EQ(C.VideoCodec, "");
  EXPECT_EQ(C.AudioCodec, "");
  EXPECT_EQ(C.AudioChannels, -1);
  EXPECT_EQ(C.VideoBitrate, -1);
  EXPECT_EQ(C.FrameRate, "");
  EXPECT_EQ(C.FrameSize, "");
  EXPECT_EQ(C.FrameAspectRatio, "");
  EXPECT_EQ(C.FileExt, "");
  EXPECT_EQ(C.TargetType, ttIgnore);
  EXPECT_EQ(C.NormType, ntAuto);
  EXPECT_EQ(C.FileFormat, "asf") << "the container of the row's format";

  for (Integer I = 0; I < 3; ++I) {
    EXPECT_EQ(F->IO1[I].FileName, Clip);
    EXPECT_EQ(F->OO1[I].AudioLanguage, "Full");
    EXPECT_EQ(F->OO1[I].FileName, OutputPath(JobCell(F->lvFiles->Items()->Item(I), colOutputFile)));
  }
  EXPECT_EQ(F->OO1[0].FileFormat, "") << "an AVI job names no container of its own";
}

TEST_F(Batch, StartPauseResumeStopAndTheBatchEndSwitchTheCommandsByTheStateTable) {
  CreateWindow();
  const String Clip = batchtest::LongClip();
  batchtest::AddJobRow(F, {Clip, "long1.avi"});
  batchtest::AddJobRow(F, {Clip, "long2.avi"});
  MakeReady(F);
  ExpectState(F, Ready, "ready");
  TEndRecorder Recorder(F);

  F->bsSkinButton2->Click();
  ExpectState(F, Converting, "converting");
  EXPECT_TRUE(F->ZUVER->Working());
  // Both show in the stored layout, 暂停 above 继续.
  EXPECT_TRUE(F->bsSkinButton11->Visible());

  // The menu item runs the skin button's handler: the same swap of the two buttons.
  F->N10->Click();
  ExpectState(F, Paused, "paused");
  EXPECT_FALSE(F->bsSkinButton11->Visible());
  EXPECT_TRUE(F->bsSkinButton12->Visible());

  F->bsSkinButton12->Click();
  ExpectState(F, Converting, "resumed");
  EXPECT_TRUE(F->bsSkinButton11->Visible());
  EXPECT_FALSE(F->bsSkinButton12->Visible());

  // Stopping waits for every task; the batch's end is handled before the stop returns.
  F->bsSkinButton10->Click();
  EXPECT_EQ(F->BatchEndCount(), 1);
  ExpectState(F, StoppedAndEnded, "stopped, then ended");
  std::vector<TTerminateInfo> Ends = Recorder.Ends();
  component_test::ExpectFinalOnceLast(Ends);
  for (const auto& [Task, Info] : component_test::EndsByTask(Ends))
    EXPECT_EQ(Progress(F->RowOfTask(Task)) == "100%", Info.Finished) << "row " << Task;

  // Only the skin start button restarts, from the rows as they are. What the stopped run left under
  // a row's name is the user's file now: the row takes the next free name and shows it.
  std::vector<String> Before;
  for (const char* Name : {"long1.avi", "long2.avi"})
    Before.push_back(FileExists(OutputPath(Name)) ? batchtest::ReadWhole(OutputPath(Name)) : String());
  F->bsSkinButton2->Click();
  ExpectState(F, Converting, "restarted");
  ASSERT_TRUE(WaitForBatchEnd(2));
  ExpectState(F, Finished, "finished");
  for (Integer I = 0; I < 2; ++I) {
    EXPECT_EQ(Progress(I), "100%") << I;
    const String Name = JobCell(Row(I), colOutputFile);
    const String Earlier = I == 0 ? "long1.avi" : "long2.avi";
    EXPECT_EQ(Name != Earlier, FileExists(OutputPath(Earlier)) && !Before[I].empty()) << Name;
    EXPECT_TRUE(batchtest::DecodesWhole(OutputPath(Name))) << Name;
    if (!Before[I].empty()) {
      EXPECT_EQ(batchtest::ReadWhole(OutputPath(Earlier)), Before[I]) << "left whole";
    }
  }
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(Batch, APausedBatchStopsAndAStartWhileItRunsChangesNothing) {
  CreateWindow();
  batchtest::AddJobRow(F, {batchtest::LongClip(), "paused.avi"});
  MakeReady(F);
  F->bsSkinButton2->Click();
  F->bsSkinButton11->Click();
  ExpectState(F, Paused, "paused");

  // The routine runs whatever its button's state; the engine, still working, refuses the new tasks.
  F->btnStart->Click();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, "Cannot ClearTasks while working.");
  EXPECT_EQ(Boxes[0].Flags, 48u);
  ExpectState(F, Paused, "still paused");
  EXPECT_EQ(F->RowOfTask(0), 0) << "the running batch keeps its tasks";

  F->N8->Click();
  EXPECT_EQ(F->BatchEndCount(), 1);
  ExpectState(F, StoppedAndEnded, "stopped while paused, then ended");
  EXPECT_NE(Progress(0), "100%");
  EXPECT_TRUE(F->bsSkinButton12->Visible()) << "the stop leaves 继续 where it was";

  // The skin start button restarts; the new batch runs unpaused and shows 暂停 to pause it.
  F->bsSkinButton2->Click();
  EXPECT_TRUE(F->bsSkinButton11->Visible());
  EXPECT_FALSE(F->bsSkinButton12->Visible());
  EXPECT_TRUE(F->bsSkinButton11->Enabled());
  F->N8->Click();
}

// Presets changed to keep the source's values after the add: the conversion keeps the input's frame
// rate and size, not what the row held when it was added.
TEST_F(Batch, ARowChangedToKeepTheSourcesValuesConvertsWithThem) {
  CreateWindow();
  CreateOptions();
  const String Input = TestMediaFile("keep15.avi", "-f lavfi -i testsrc=size=96x72:rate=15 -t 1 -c:v mpeg4");
  const auto Pick = [](TbsSkinComboBox* C, const String& Text) {
    for (Integer I = 0; I < C->Items()->Count(); ++I)
      if (C->Items()->Strings(I) == Text) return C->SetItemIndex(I);
    ADD_FAILURE() << Text << " is not offered";
  };
  // AVI, added at 29.97 frames a second and 320*240.
  F->bsSkinOfficeComboBox2->SetItemIndex(0);
  F->bsSkinOfficeComboBox1->SetItemIndex(0);
  Pick(F->bsSkinComboBox9, "29.97");
  Pick(F->bsSkinComboBox1, "320*240");
  jobstest::ChooseFiles(F->OpenDialog1, ExtractFileDir(Input), {ExtractFileName(Input)});
  F->btnAdd->Click();
  ASSERT_EQ(F->lvFiles->Items()->Count(), 1);
  TListItem* Job = Row(0);
  ASSERT_EQ(JobCell(Job, colFrameRate), "29.97");
  ASSERT_EQ(JobCell(Job, colFrameSize), "320*240");

  // The job selected, its presets set to keep the source's.
  Pick(F->bsSkinComboBox9, "保持原帧速率");
  Pick(F->bsSkinComboBox1, "保持原分辨率");
  MakeReady(F);
  F->bsSkinButton2->Click();
  ASSERT_TRUE(WaitForBatchEnd());
  EXPECT_EQ(Progress(0), "100%") << jobstest::LogText(F);
  EXPECT_EQ(batchtest::ProbedVideo(OutputPath(JobCell(Job, colOutputFile))), "96,72,15/1");
  // A finished row shows the time its output really holds, not the last report rounded down.
  EXPECT_EQ(JobCell(Job, colCurrentTime), "00:00:01");
}

class BatchThreads : public Batch, public ::testing::WithParamInterface<Integer> {};

TEST_P(BatchThreads, ARealBatchConvertsEveryRowAndRunsTheAfterFinishChoice) {
  CreateWindow();
  TForm5* Options = CreateOptions();
  Options->bsSkinCheckRadioBox7->SetChecked(true);
  Options->bsSkinComboBox2->SetItemIndex(GetParam() - 1);
  ASSERT_EQ(F->BatchThreadCount(), GetParam());
  ASSERT_TRUE(Options->bsSkinCheckRadioBox1->Checked()) << "opening the folder is the stored default";
  const std::vector<String> Clips = batchtest::TinyClips(5);
  for (Integer I = 0; I < 5; ++I) batchtest::AddJobRow(F, {Clips[I], "out" + IntToStr(I) + ".avi"});
  MakeReady(F);

  F->N7->Click();
  ASSERT_TRUE(WaitForBatchEnd());

  ExpectState(F, Finished, "finished");
  for (Integer I = 0; I < 5; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Progress(I), "100%");
    // The last report comes at the last frame, just short of the clip's one second.
    EXPECT_TRUE(Cell(I, 5) == "00:00:00" || Cell(I, 5) == "00:00:01") << Cell(I, 5);
    EXPECT_EQ(Cell(I, 6).substr(Cell(I, 6).size() - 2), "MB");
    EXPECT_TRUE(batchtest::DecodesWhole(OutputPath("out" + IntToStr(I) + ".avi")));
  }
  EXPECT_EQ(Shell.Open().Targets, std::vector<String>{F->Video_OutPut_Folder_Edit->Text()});
  EXPECT_EQ(Shell.Power().Requests, 0);
  EXPECT_TRUE(Shell.Sound().Played.empty());
  EXPECT_TRUE(Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(OneAndThree, BatchThreads, ::testing::Values(1, 3));

TEST_F(Batch, ThreadCountAndWorkerPriorityComeFromTheOptionsDialog) {
  CreateWindow();
  EXPECT_EQ(F->BatchThreadCount(), 1) << "without the dialog";
  TForm5* Options = CreateOptions();
  struct TCount {
    bool MultiThread;
    String Text;
    Integer Expected;
  };
  const TCount Counts[] = {
      {false, "5", 1}, {true, "5", 5}, {true, "abc", 1}, {true, "0", 1}, {true, "-2", 1}};
  for (const TCount& C : Counts) {
    Options->bsSkinCheckRadioBox7->SetChecked(C.MultiThread);
    Options->bsSkinComboBox2->SetText(C.Text);
    EXPECT_EQ(F->BatchThreadCount(), C.Expected) << C.MultiThread << " " << C.Text;
  }
  Options->bsSkinCheckRadioBox7->SetChecked(false);

  struct TPriority {
    TbsSkinCheckRadioBox* Box;
    TThreadPriority Expected;
  };
  const TPriority Priorities[] = {{Options->bsSkinCheckRadioBox9, tpIdle},
                                  {Options->bsSkinCheckRadioBox10, tpLowest},
                                  {Options->bsSkinCheckRadioBox11, tpLower},
                                  {Options->bsSkinCheckRadioBox12, tpNormal}};
  Integer Ends = 0;
  for (const TPriority& P : Priorities) {
    F->ZUVER->SetThreadPriority(tpHigher);
    for (const TPriority& Other : Priorities) Other.Box->SetChecked(false);
    P.Box->SetChecked(true);
    F->bsSkinButton2->Click();
    ASSERT_TRUE(WaitForBatchEnd(++Ends)) << "an empty batch ends at once";
    EXPECT_EQ(F->ZUVER->ThreadPriority(), P.Expected);
  }
  for (const TPriority& P : Priorities) P.Box->SetChecked(false);
  F->ZUVER->SetThreadPriority(tpHigher);
  F->bsSkinButton2->Click();
  ASSERT_TRUE(WaitForBatchEnd(++Ends));
  EXPECT_EQ(F->ZUVER->ThreadPriority(), tpHigher) << "none checked keeps the priority";
}

TEST_F(Batch, ProgressReportsBecomeTheRowsTexts) {
  CreateWindow();
  const std::vector<String> Clips = batchtest::TinyClips(2);
  batchtest::AddJobRow(F, {Clips[0], "p0.avi"});
  batchtest::AddJobRow(F, {Clips[1], "p1.avi"});
  F->button28->Click();
  ASSERT_EQ(F->ZUVER->TasksCount(), 2);

  struct TCase {
    Int64 Current, Total, Size;
    Integer Fps;
    const char *Progress, *Fps_, *Time, *Converted;
  };
  const TCase Cases[] = {
      {1500000, 60000000, 1572864, 25, "2%", "25", "00:00:01", "1.5MB"},     // 2.5 towards zero
      {3599900000, 3600000000, 0, 0, "99%", "25", "00:59:59", "0MB"},        // 0 fps keeps the last
      {90000000, 60000000, 10485760, 40, "150%", "40", "00:01:30", "10MB"},  // not capped
      {5000000, 0, 2048, 12, "N/A", "12", "00:00:05", "0MB"},                // no total duration
      {5000000, -1, 1048576, 12, "N/A", "12", "00:00:05", "1MB"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Progress);
    TProgressInfo P;
    P.TaskIndex = 1;
    P.CurrentDuration = C.Current;
    P.TotalDuration = C.Total;
    P.CurrentSize = C.Size;
    P.FPS = C.Fps;
    F->ZUVERProgress(F->ZUVER, &P);
    EXPECT_EQ(Progress(1), C.Progress);
    EXPECT_EQ(Cell(1, 4), C.Fps_);
    EXPECT_EQ(Cell(1, 5), C.Time);
    EXPECT_EQ(Cell(1, 6), C.Converted);
  }
  EXPECT_EQ(Progress(0), "") << "another task's report leaves this row";
  // A report for a task the batch does not have touches nothing.
  TProgressInfo Stray;
  Stray.TaskIndex = 7;
  Stray.TotalDuration = 1;
  F->ZUVERProgress(F->ZUVER, &Stray);
  EXPECT_EQ(Progress(0), "");
}

TEST_F(Batch, ATaskEndMarksItsRowAndAFailureIsShownInAWarningBox) {
  CreateWindow();
  const std::vector<String> Clips = batchtest::TinyClips(4);
  for (Integer I = 0; I < 4; ++I) batchtest::AddJobRow(F, {Clips[I], "e" + IntToStr(I) + ".avi"});
  F->button28->Click();
  ASSERT_EQ(F->ZUVER->TasksCount(), 4);

  struct TCase {
    Integer Task;
    String Before;
    bool Finished, Exception;
    String After;
  };
  const TCase Cases[] = {
      {0, "97%", true, false, "100%"},
      {1, "45%", false, false, "已停止"},   // stopped: whatever it had reached, it is not done
      {2, "100%", false, false, "已停止"},  // a half-written file never reads as done
      {3, "30%", false, true, "失败"},
  };
  for (const TCase& C : Cases) {
    F->lvFiles->Items()->Item(C.Task)->SubItems()->SetStrings(3, C.Before);
    TTerminateInfo Info;
    Info.TaskIndex = C.Task;
    Info.Finished = C.Finished;
    Info.Exception = C.Exception;
    Info.ExceptionMsg = C.Exception ? "Unknown encoder 'nothing'" : "";
    F->ZUVERTerminate(F->ZUVER, Info);
    EXPECT_EQ(Progress(C.Task), C.After) << C.Task;
  }
  // The rows that did not finish say why in their hints.
  EXPECT_EQ(F->RowProblem(0), "");
  EXPECT_NE(F->RowProblem(1).find("已停止"), String::npos) << F->RowProblem(1);
  EXPECT_NE(F->RowProblem(2).find("e2.avi"), String::npos) << F->RowProblem(2);
  EXPECT_EQ(F->RowProblem(3), "Unknown encoder 'nothing'");
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, "Unknown encoder 'nothing'");
  EXPECT_EQ(Boxes[0].Caption, "NerivoAVI/MPEG格式转换器");
  EXPECT_EQ(Boxes[0].Flags, 48u);
  EXPECT_TRUE(LogHas(Clips[3] + ": Unknown encoder 'nothing'"));
  EXPECT_EQ(F->BatchEndCount(), 0) << "a task's end is not the batch's";
}

TEST_F(Batch, RowsTheEngineRefusesFailClearlyWhileTheOthersConvert) {
  CreateWindow();
  const std::vector<String> Clips = batchtest::TinyClips(3, "bad");
  const String Gone = Temp.Root() + "/gone.avi";
  {
    std::ifstream In(Clips[0], std::ios::binary);
    std::ofstream(Gone, std::ios::binary) << In.rdbuf();
  }
  batchtest::AddJobRow(F, {Clips[0], "good0.avi"});
  batchtest::AddJobRow(F, {Gone, "gone.avi"});
  batchtest::AddJobRow(F, {Clips[1], "missing/folder.avi"});
  batchtest::AddJobRow(F, {Clips[2], "good3.avi"});
  ASSERT_TRUE(DeleteFile(Gone));
  MakeReady(F);

  // A figure of an earlier run is gone once the row converts again.
  F->lvFiles->Items()->Item(0)->SubItems()->SetStrings(3, "100%");
  F->bsSkinButton2->Click();
  EXPECT_EQ(Progress(0), "");
  EXPECT_EQ(Progress(1), "失败");
  EXPECT_EQ(Progress(2), "失败");
  EXPECT_TRUE(LogHas(Gone + ": "));
  EXPECT_TRUE(LogHas(Clips[1] + ": "));
  EXPECT_EQ(F->RowOfTask(1), 3) << "the refused rows have no task";
  // Said at once in one box, and in each refused row's hint.
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text.rfind("以下文件无法开始转换：", 0), 0u) << Boxes[0].Text;
  EXPECT_NE(Boxes[0].Text.find("gone.avi："), String::npos) << Boxes[0].Text;
  EXPECT_NE(Boxes[0].Text.find(ExtractFileName(Clips[1]) + "："), String::npos) << Boxes[0].Text;
  EXPECT_EQ(Boxes[0].Flags, 48u);
  EXPECT_NE(F->RowProblem(1), "");
  EXPECT_NE(F->RowProblem(2), "");
  EXPECT_EQ(F->RowProblem(0), "");
  // The hint over a row is its cause; over a row without one there is none.
  const auto HintOver = [&](Integer RowIndex, String& Text) {
    THintInfo Info;
    const TRect R = Row(RowIndex)->DisplayRect(drBounds);
    Info.CursorPos = {R.Left + 10, R.Top + R.Height() / 2};
    const bool Shown = F->lvFiles->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&Info)) == 0;
    Text = Info.HintStr;
    return Shown;
  };
  String Hint;
  EXPECT_TRUE(HintOver(1, Hint));
  EXPECT_EQ(Hint, F->RowProblem(1));
  EXPECT_FALSE(HintOver(0, Hint));
  ASSERT_TRUE(WaitForBatchEnd());

  ExpectState(F, Finished, "finished");
  EXPECT_EQ(Progress(0), "100%");
  EXPECT_EQ(Progress(1), "失败");
  EXPECT_EQ(Progress(2), "失败");
  EXPECT_EQ(Progress(3), "100%");
  EXPECT_TRUE(batchtest::DecodesWhole(OutputPath("good0.avi")));
  EXPECT_TRUE(batchtest::DecodesWhole(OutputPath("good3.avi")));
  EXPECT_FALSE(FileExists(OutputPath("gone.avi")));
}

TEST_F(Batch, AnOutputFolderThatTakesNoFilesFailsEveryRowAndTheBatchStillEnds) {
  CreateWindow();
  const std::vector<String> Clips = batchtest::TinyClips(2, "nofolder");
  struct TCase {
    const char* Name;
    String Folder;
  };
  const String AFile = Temp.Root() + "/a file";
  std::ofstream(AFile) << "x";
  std::vector<TCase> Cases = {{"missing", Temp.Root() + "/no such folder"}, {"a file in its place", AFile}};
  // Permission bits do not stop the superuser.
  if (geteuid() != 0) {
    const String ReadOnly = Temp.Root() + "/read-only";
    ForceDirectories(ReadOnly);
    chmod(ReadOnly.c_str(), 0555);
    Cases.push_back({"read-only", ReadOnly});
  }
  Integer Ends = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    F->lvFiles->Items()->Clear();
    F->FileOutPutPath = C.Folder;
    batchtest::AddJobRow(F, {Clips[0], "x0.avi"});
    batchtest::AddJobRow(F, {Clips[1], "x1.avi"});
    MakeReady(F);
    F->bsSkinButton2->Click();
    ASSERT_TRUE(WaitForBatchEnd(++Ends));
    ExpectState(F, Finished, "finished");
    EXPECT_EQ(Progress(0), "失败");
    EXPECT_EQ(Progress(1), "失败");
    EXPECT_TRUE(LogHas(Clips[1] + ": "));
    EXPECT_FALSE(FileExists(C.Folder + "/x0.avi"));
  }
}

TEST_F(Batch, TheBatchEndRunsTheAfterFinishChoiceThroughTheDesktopServices) {
  CreateWindow();
  TForm5* Options = CreateOptions();
  const String Sound = F->EndSoundFile();
  EXPECT_EQ(Sound, Temp.Root() + "/sounds/done.wav") << "the chime beside the skin";
  struct TCase {
    const char* Name;
    TbsSkinCheckRadioBox* Choice;
    bool PowerGoes, SoundThere;
    Integer Opened, PowerRequests, Played;
    bool PrivilegeAfter;
  };
  const TCase Cases[] = {
      {"open the folder", Options->bsSkinCheckRadioBox1, true, true, 1, 0, 0, false},
      {"shut down", Options->bsSkinCheckRadioBox2, true, true, 0, 1, 0, true},
      {"shut down refused", Options->bsSkinCheckRadioBox2, false, true, 0, 1, 0, false},
      {"sound", Options->bsSkinCheckRadioBox4, true, true, 0, 0, 1, false},
      {"sound file missing", Options->bsSkinCheckRadioBox4, true, false, 0, 0, 0, false},
      {"nothing", Options->bsSkinCheckRadioBox5, true, true, 0, 0, 0, false},
  };
  Integer Ends = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Shell.Open().Targets.clear();
    Shell.Power().Requests = 0;
    Shell.Power().Result = C.PowerGoes;
    Shell.Sound().Played.clear();
    F->SetPrivilege("SeShutdownPrivilege", false);
    DeleteFile(Sound);
    if (C.SoundThere) {
      ForceDirectories(ExtractFilePath(Sound));
      std::ofstream(Sound) << "RIFF";
    }
    C.Choice->SetChecked(true);
    F->bsSkinButton2->Click();
    ASSERT_TRUE(WaitForBatchEnd(++Ends));
    ExpectState(F, Finished, "finished");
    EXPECT_EQ(Integer(Shell.Open().Targets.size()), C.Opened);
    if (C.Opened) {
      EXPECT_EQ(Shell.Open().Targets[0], F->Video_OutPut_Folder_Edit->Text());
    }
    EXPECT_EQ(Shell.Power().Requests, C.PowerRequests);
    EXPECT_EQ(F->ShutdownPrivilegeEnabled(), C.PrivilegeAfter);
    EXPECT_EQ(Integer(Shell.Sound().Played.size()), C.Played);
    if (C.Played) {
      EXPECT_EQ(Shell.Sound().Played[0], Sound);
    }
  }
  EXPECT_FALSE(F->SetPrivilege("SeNoSuchPrivilege", true));
}

TEST_F(Batch, EngineLogLinesGoIntoTheLogFromAnyThread) {
  CreateWindow();
  F->FFLoggerLog(nullptr, 1234, llInfo, "abc");
  EXPECT_EQ(F->mmoLog->Lines()->Strings(F->mmoLog->Lines()->Count() - 1), "#1234.5: abc");
  Cardinal Worker = 0;
  // The worker waits for the main thread to take its line.
  std::thread Logging([&] {
    Worker = GetCurrentThreadId();
    GetFFLogger()->Log(nullptr, llError, "from a worker");
  });
  const bool Arrived = component_test::ServeUntil([&] { return LogHas("from a worker"); });
  Logging.join();
  ASSERT_TRUE(Arrived);
  EXPECT_TRUE(LogHas("#" + IntToStr(Worker) + ".3: from a worker"));
}

TEST_F(Batch, ClosingTheWindowDuringABatchStopsItWithoutHandlingItsEnd) {
  CreateWindow();
  batchtest::AddJobRow(F, {batchtest::LongClip(), "closing.avi"});
  MakeReady(F);
  F->bsSkinButton2->Click();
  bool CanClose = false;
  F->FormCloseQuery(F, CanClose);
  EXPECT_TRUE(CanClose);
  EXPECT_FALSE(F->ZUVER->PendingTasks());
  // Anything still on its way to the main thread arrives now, and must find the handlers gone.
  while (CheckSynchronize(0)) {
  }
  EXPECT_EQ(F->BatchEndCount(), 0);
  EXPECT_NE(Progress(0), "100%");
  ExpectState(F, Converting, "the window goes as it was");
}

}  // namespace
