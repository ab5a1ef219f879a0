// Running a batch: the tasks rebuilt from the job rows, the command states while it runs, its
// progress in the rows, its end and the after-finish action, and the engine's log lines.
#include <utility>

#include "app/formats/jobrow.h"
#include "app/main/mainform/mainform.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/threads.h"
#include "platform/shell/power.h"
#include "platform/shell/shellopen.h"
#include "platform/shell/sound.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/dialogs/messagebox.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/checkbox.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/views/bsskinlistview.h"

namespace {

constexpr const char* ShutdownPrivilege = "SeShutdownPrivilege";

}  // namespace

void TForm1::createBatchControls() {}

void TForm1::bindBatchHandlers() {
  bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
  N7->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
  btnStart->OnClick = [this](TObject* Sender) { btnStartClick(Sender); };
  button28->OnClick = [this](TObject* Sender) { button28Click(Sender); };
  Button22->OnClick = [this](TObject* Sender) { Button22Click(Sender); };
  Button23->OnClick = [this](TObject* Sender) { Button23Click(Sender); };
  Button24->OnClick = [this](TObject* Sender) { Button24Click(Sender); };
  bsSkinButton10->OnClick = [this](TObject* Sender) { bsSkinButton10Click(Sender); };
  N8->OnClick = [this](TObject* Sender) { bsSkinButton10Click(Sender); };
  btnStop->OnClick = [this](TObject* Sender) { btnStopClick(Sender); };
  bsSkinButton11->OnClick = [this](TObject* Sender) { bsSkinButton11Click(Sender); };
  N10->OnClick = [this](TObject* Sender) { bsSkinButton11Click(Sender); };
  btnPause->OnClick = [this](TObject* Sender) { btnPauseClick(Sender); };
  bsSkinButton12->OnClick = [this](TObject* Sender) { bsSkinButton12Click(Sender); };
  N11->OnClick = [this](TObject* Sender) { bsSkinButton12Click(Sender); };
  btnResume->OnClick = [this](TObject* Sender) { btnResumeClick(Sender); };
  Button20->OnClick = [this](TObject* Sender) { Button20Click(Sender); };
  Button25->OnClick = [this](TObject* Sender) { Button25Click(Sender); };
  Button29->OnClick = [this](TObject* Sender) { Button29Click(Sender); };

  // The engine's events may be on their way to the main thread while the window goes: a call that
  // arrives after it finds the token released and does nothing.
  const std::weak_ptr<bool> Alive = FBatchAlive;
  ZUVER->OnProgress = [this, Alive](TObject* Sender, PProgressInfo Info) {
    TThread::Synchronize(nullptr, [&] {
      if (!Alive.expired()) ZUVERProgress(Sender, Info);
    });
  };
  // Terminate events come on short-lived threads, each after the one before it: waiting for the
  // main thread here keeps them in that order there. A close detaches the event before it stops the
  // batch, so events still on their way are dropped.
  ZUVER->OnTerminate = [this, Alive](TObject* Sender, const TTerminateInfo& Info) {
    TThread::Synchronize(nullptr, [&] {
      if (!Alive.expired() && ZUVER->OnTerminate) ZUVERTerminate(Sender, Info);
    });
  };
  // A line from a thread that may hold a lock the main thread waits for is never waited for.
  FFLogger->OnLog = [this, Alive](TObject* Sender, Cardinal ThreadID, TLogLevel Level, const String& Msg) {
    auto Write = [this, Alive, Sender, ThreadID, Level, Msg] {
      if (!Alive.expired()) FFLoggerLog(Sender, ThreadID, Level, Msg);
    };
    if (IsMainThread())
      Write();
    else
      TThread::Queue(nullptr, Write);
  };
}

// ---- starting, stopping, pausing ----

void TForm1::bsSkinButton2Click(TObject*) {
  btnStart->Click();
}

void TForm1::btnStartClick(TObject*) {
  TThreadPriority Priority;
  if (FConversionOptions != nullptr && FConversionOptions->WorkerPriority(Priority))
    ZUVER->SetThreadPriority(Priority);
  // A finished output replaces a file of its name only with overwriting on.
  ZUVER->SetOverwriteOutput(OverwriteOutput());
  // The engine still working (a batch not yet ended) refuses the new tasks: nothing changes then.
  try {
    button28->Click();
  } catch (const Exception& E) {
    mmoLog->Lines()->Add(E.Message());
    Application->MessageBox(E.Message(), Application->Title(), MB_OK | MB_ICONWARNING);
    return;
  }
  bsSkinMenuSpeedButton1->RefreshButton();
  bsSkinMenuSpeedButton1->SetEnabled(false);
  btnAdd->SetEnabled(false);
  for (TMenuItem* I : {Item111, N11111, N2222, N3331, Item121, N21}) I->SetEnabled(false);
  Button22->Click();
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) SetCommandEnabled(C, false);
  SetCommandEnabled(jcStop, chkThreadMode->Checked());
  SetCommandEnabled(jcPause, chkThreadMode->Checked());
  SetCommandEnabled(jcResume, false);
  // A batch starts unpaused: 暂停 takes its place again, also after a batch stopped while paused.
  bsSkinButton11->SetVisible(true);
  bsSkinButton12->SetVisible(false);
  ZUVER->Start(BatchThreadCount());
  // Rows that could not even start are said at once, while the others convert.
  String Refused;
  for (Integer I = 0; I < lvFiles->Items()->Count(); ++I)
    if (const String Why = RowProblem(I); !Why.empty())
      Refused += "\n" + ExtractFileName(lvFiles->Items()->Item(I)->Caption()) + "：" + Why;
  if (!Refused.empty())
    Application->MessageBox("以下文件无法开始转换：\n" + Refused, Application->Title(),
                            MB_OK | MB_ICONWARNING);
}

void TForm1::button28Click(TObject*) {
  ZUVER->ClearTasks();
  FTaskRows.clear();
  FRowProblems.clear();
  const bool Overwrite = OverwriteOutput();
  TListItems* Rows = lvFiles->Items();
  for (Integer I = 0; I < Rows->Count(); ++I) {
    TListItem* Row = Rows->Item(I);
    // This run's figures replace the last run's: a row never shows an earlier "100%" for a file
    // that is being written again.
    for (TJobColumn C : {colProgress, colFps, colCurrentTime, colConvertedSize}) SetJobCell(Row, C, "");
    if (I >= OptionSlotCount) {
      markRowFailed(I, "no option slot for this job");
      continue;
    }
    // A file may have come under the row's name since it was given (an earlier run's output, say):
    // unless overwriting is on, the row takes the next free name, and shows it.
    const String Name = JobCell(Row, colOutputFile);
    const String Free = FreeJobOutputName(Rows, Row, Name, FileOutPutPath, Overwrite);
    if (Free != Name) {
      SetJobCell(Row, colOutputFile, Free);
      mmoLog->Lines()->Add(Row->Caption() + ": " + Name + " 已存在，输出改为 " + Free);
    }
    Integer Task = -1;
    try {
      // What the row holds is what converts: the slot is made from the row, every preset included.
      IO1[I].FileName = Row->Caption();
      OO1[I] = JobRowOutputOptions(Row, FileOutPutPath);
      OO1[I].AudioLanguage = TakenSlotMarker;
      Task = ZUVER->AddTask(IO1[I].FileName, &IO1[I]);
      if (Task < 0) {
        markRowFailed(I, ZUVER->LastErrMsg());
        continue;
      }
      if (!ZUVER->SetOutputFile(Task, OO1[I].FileName, &OO1[I])) {
        const String Reason = ZUVER->LastErrMsg();
        ZUVER->RemoveTask(Task);
        markRowFailed(I, Reason);
        continue;
      }
      FTaskRows.push_back(I);
    } catch (const EConvertError& E) {
      // A row whose parameter columns do not read: only this job stays out.
      if (Task >= 0) ZUVER->RemoveTask(Task);
      markRowFailed(I, E.Message());
    }
  }
}

void TForm1::markRowFailed(Integer Row, const String& Reason) {
  TListItem* Item = lvFiles->Items()->Item(Row);
  SetJobCell(Item, colProgress, FailedProgressText);
  setRowProblem(Item, Reason);
  mmoLog->Lines()->Add(Item->Caption() + ": " + Reason);
}

void TForm1::setChoosersEnabled(bool Enabled) {
  for (TbsSkinComboBox* C : {bsSkinComboBox1, bsSkinComboBox2, bsSkinComboBox3, bsSkinComboBox4,
                             bsSkinComboBox9, bsSkinComboBox10})
    C->SetEnabled(Enabled);
  bsSkinOfficeComboBox2->SetEnabled(Enabled);
  bsSkinOfficeComboBox2->Repaint();
  bsSkinOfficeComboBox1->SetEnabled(Enabled);
  bsSkinButton5->SetEnabled(Enabled);
}

void TForm1::Button22Click(TObject*) {
  setChoosersEnabled(false);
}

void TForm1::Button23Click(TObject*) {
  setChoosersEnabled(true);
}

void TForm1::Button24Click(TObject*) {}

void TForm1::Button11Click(TObject*) {}

void TForm1::bsSkinButton10Click(TObject*) {
  btnStop->Click();
}

void TForm1::btnStopClick(TObject*) {
  SetCommandEnabled(jcStop, false);
  // Only the skin start button comes back: it restarts from the rows as they are now.
  SetCommandEnabled(jcStart, true);
  btnStart->SetEnabled(false);
  N7->SetEnabled(false);
  Button23->Click();
  Button24->Click();
  ZUVER->Stop(true);
}

void TForm1::bsSkinButton11Click(TObject*) {
  btnPause->Click();
  bsSkinButton11->SetVisible(false);
  bsSkinButton12->SetVisible(true);
}

void TForm1::btnPauseClick(TObject*) {
  SetCommandEnabled(jcPause, false);
  SetCommandEnabled(jcResume, true);
  ZUVER->Pause();
}

void TForm1::bsSkinButton12Click(TObject*) {
  btnResume->Click();
  bsSkinButton11->SetVisible(true);
  bsSkinButton12->SetVisible(false);
}

void TForm1::btnResumeClick(TObject*) {
  SetCommandEnabled(jcPause, true);
  SetCommandEnabled(jcResume, false);
  ZUVER->Resume();
}

// ---- progress and end ----

Integer TForm1::RowOfTask(Integer TaskIndex) const {
  if (TaskIndex < 0 || TaskIndex >= Integer(FTaskRows.size())) return -1;
  const Integer Row = FTaskRows[TaskIndex];
  return Row < lvFiles->Items()->Count() ? Row : -1;
}

void TForm1::ZUVERProgress(TObject*, PProgressInfo AProgressInfo) {
  const TProgressInfo& P = *AProgressInfo;
  const Integer Row = RowOfTask(P.TaskIndex);
  if (Row < 0) return;
  TListItem* Item = lvFiles->Items()->Item(Row);
  SetJobCell(Item, colProgress,
             P.TotalDuration > 0 ? IntToStr(P.CurrentDuration * 100 / P.TotalDuration) + "%" : "N/A");
  if (P.FPS > 0) SetJobCell(Item, colFps, IntToStr(P.FPS));
  const Int64 Seconds = P.CurrentDuration > 0 ? P.CurrentDuration / 1000000 : 0;
  SetJobCell(Item, colCurrentTime, SecToDate(Integer(Seconds)));
  SetJobCell(Item, colConvertedSize, FileSizeText(P.CurrentSize));
}

void TForm1::ZUVERTerminate(TObject*, const TTerminateInfo& ATerminateInfo) {
  const TTerminateInfo& Info = ATerminateInfo;
  if (Info.TaskIndex < 0) {
    SetCommandEnabled(jcRemove, false);
    SetCommandEnabled(jcRename, false);
    SetCommandEnabled(jcClear, true);
    for (TJobCommand C : {jcStop, jcPause, jcResume}) SetCommandEnabled(C, false);
    Button23->Click();
    Button24->Click();
    ++FBatchEndCount;
    if (FConversionOptions != nullptr) {
      switch (FConversionOptions->AfterFinish()) {
        case afOpenFolder:
          Button20->Click();
          break;
        case afPowerOff:
          Button25->Click();
          break;
        case afPlaySound:
          Button29->Click();
          break;
        case afNothing:
          break;
      }
    }
  } else if (const Integer Row = RowOfTask(Info.TaskIndex); Row >= 0) {
    TListItem* Item = lvFiles->Items()->Item(Row);
    if (Info.Exception) {
      markRowFailed(Row, Info.ExceptionMsg);
    } else if (Info.Finished) {
      showFinishedRow(Item);
    } else {
      // Broken off by a stop, or never started: whatever it had reached, it is not done.
      SetJobCell(Item, colProgress, StoppedProgressText);
      setRowProblem(Item, "转换已停止，输出文件没有完成：" + JobCell(Item, colOutputFile));
    }
  }
  if (Info.Exception)
    Application->MessageBox(Info.ExceptionMsg, Application->Title(), MB_OK | MB_ICONWARNING);
}

// ---- after-finish ----

void TForm1::Button20Click(TObject*) {
  ShellOpen(Video_OutPut_Folder_Edit->Text());
}

bool TForm1::SetPrivilege(const String& PrivilegeName, bool Enable) {
  if (PrivilegeName != ShutdownPrivilege) return false;
  FShutdownPrivilege = Enable;
  return true;
}

void TForm1::Button25Click(TObject*) {
  SetPrivilege(ShutdownPrivilege, true);
  if (!PowerService().PowerOff()) SetPrivilege(ShutdownPrivilege, false);
}

String TForm1::EndSoundFile() const {
  return ExtractFilePath(FSkinFile) + "sounds/done.wav";
}

void TForm1::Button29Click(TObject*) {
  const String File = EndSoundFile();
  if (FileExists(File)) SoundService().PlayAsync(File);
}

void TForm1::FFLoggerLog(TObject*, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg) {
  mmoLog->Lines()->Add("#" + IntToStr(AThreadID) + "." + IntToStr(Integer(ALogLevel)) + ": " + ALogMsg);
}
