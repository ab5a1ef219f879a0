// The job list: its columns, the option slots that move with the rows, adding files, editing the
// list and the chooser handlers that rewrite the selected job.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/formats/joboptions.h"
#include "app/formats/jobrow.h"
#include "app/formats/presets.h"
#include "app/formats/skinchoosers.h"
#include "app/main/mainform/addreport.h"
#include "app/main/mainform/mainform.h"
#include "app/main/mainform/makecontrol.h"
#include "engine/base/engineutils.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/files.h"
#include "platform/rtl/lists.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/extctrls/image.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/menus/menuitem.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/ui/stdctrls/listbox.h"
#include "platform/ui/stdctrls/memo.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/bars/bsskinslider.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/buttons/bsskincheckradiobox.h"
#include "skin/controls/buttons/bsskinmenuspeedbutton.h"
#include "skin/controls/panels/bsskinpanel.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/dialogs/bsskinmessage.h"
#include "skin/dialogs/bsskinopendialog.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"

namespace {

// The window is not always showing (built but hidden, or minimised): focus is then left alone.
void FocusIfShown(TWinControl* Control) {
  if (Control->CanFocus()) Control->SetFocus();
}

void Log(TForm1& F, const String& Line) {
  F.mmoLog->Lines()->Add(Line);
}

// A message line between two empty lines: how the add and its errors report.
void LogParagraph(TForm1& F, const String& Line) {
  Log(F, "");
  Log(F, Line);
  Log(F, "");
}

// A multi-line report, its CR LF ends taken off.
void LogReport(TForm1& F, const String& Text) {
  size_t Start = 0;
  while (Start < Text.size()) {
    size_t End = Text.find('\n', Start);
    if (End == String::npos) End = Text.size();
    String Line = Text.substr(Start, End - Start);
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    Log(F, Line);
    Start = End + 1;
  }
}

// The six preset columns of Row from the JobParameters the chooser reader just filled: the values
// the preset choosers show, not those of the format's table, so a job converts with what the user
// sees whether or not its row was selected since it was added.
void WritePresetColumns(TForm1& F, TListItem* Row) {
  for (Integer S = 0; S < PresetSlotCount; ++S) {
    const auto Slot = TPresetSlot(S);
    SetJobCell(Row, TJobColumn(PresetParameterSubItem(Slot) + 1),
               PresetParameterColumnText(Slot, F.JobParameters()));
  }
}

// The libraries are loaded before the first add, from "LibAV" beside the program (then the system's).
bool LoadLibraries(TForm1& F) {
  if (F.ZUVER->AVLibLoaded()) return true;
  if (F.ZUVER->LoadAVLib(GetExePath() + "LibAV")) return true;
  Log(F, F.ZUVER->LastErrMsg());
  return false;
}

void RemoveTaskQuietly(TForm1& F, Integer Task) {
  try {
    F.ZUVER->RemoveTask(Task);
  } catch (const Exception&) {
  }
}

Integer AddTaskOrError(TForm1& F, const String& Path, TInputOptions& Input, String& Error) {
  try {
    const Integer Task = F.ZUVER->AddTask(Path, &Input);
    if (Task < 0) Error = F.ZUVER->LastErrMsg();
    return Task;
  } catch (const Exception& E) {
    Error = E.Message();
    return -1;
  }
}

bool SetOutputOrError(TForm1& F, Integer Task, TOutputOptions& Output, String& Error) {
  try {
    if (F.ZUVER->SetOutputFile(Task, F.JobParameters().Video_OutPutFileName, &Output)) return true;
    Error = F.ZUVER->LastErrMsg();
  } catch (const Exception& E) {
    Error = E.Message();
  }
  RemoveTaskQuietly(F, Task);
  return false;
}

void AppendJobRow(TForm1& F, const TInputOptions& Input, const TOutputOptions& Output, Integer Task) {
  TAVProbe* Probe = F.ZUVER->AVProbe();
  const Int64 Duration = Probe->FileStreamInfo().Duration;
  const TJobParameters& P = F.JobParameters();
  TListItem* Row = F.lvFiles->Items()->Add();
  TStrings* S = Row->SubItems();
  S->BeginUpdate();
  for (Integer C = 1; C < JobColumnCount; ++C) S->Add("");
  const std::pair<TJobColumn, String> Cells[] = {
      {colInputFile, Input.FileName},
      {colDuration, Duration > 0 ? TForm1::SecToDate(Integer(Duration / 1000000)) : "N/A"},
      {colFileSize, FileSizeText(Probe->FileSize())},
      {colOutputFile, ExtractFileName(Output.FileName)},
      {colTaskNumber, IntToStr(Task + 1)},
      {colFormatPosition, IntToStr(FormatPositionCodeOf(F.bsSkinOfficeComboBox2->ItemIndex(),
                                                        F.bsSkinOfficeComboBox1->ItemIndex()))},
      {colPresetCode, PresetIndexCodeOf(F.PresetChoosers())},
      {colVideoCodec, Output.VideoCodec},
      {colAudioCodec, Output.AudioCodec},
      {colAudioChannels, IntToStr(Output.AudioChannels)},
      {colVideoTag, Output.VideoTag},
      {colFileExt, Output.FileExt},
      {colFrameSize, Output.FrameSize},
      {colVideoBitrate, IntToStr(Output.VideoBitrate)},
      {colFrameRate, Output.FrameRate},
      {colAudioBitrate, IntToStr(Output.AudioBitrate)},
      {colAudioSampleRate, IntToStr(Output.AudioSampleRate)},
      {colAspectRatio, Output.FrameAspectRatio},
      {colDisableVideo, P.Video_DisableVideo ? "True" : "False"},
      {colTargetType, P.Video_TargetType},
      {colNormType, P.Video_NormType},
  };
  for (const auto& [Column, Text] : Cells) SetJobCell(Row, Column, Text);
  S->EndUpdate();
}

// Why Path cannot be read, or "" when it can: a pipe, device or socket would block the probe or never
// end, so only plain files are media here.
const char* const NotPlainFile = "不是普通文件";

String UnreadableReason(const String& Path) {
  std::error_code Error;
  if (!std::filesystem::is_regular_file(std::filesystem::path(Path), Error)) return NotPlainFile;
  const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) return SysErrorMessage(errno);
  ::close(Fd);
  return "";
}

// The steps every input of an add goes through; false when the file was refused (said in Report).
bool AddInputFile(TForm1& F, const String& Path, bool OneFile, TAddReport& Report) {
  // Past the last slot nothing more is probed: the rest of a large folder is refused at once.
  if (F.lvFiles->Items()->Count() >= OptionSlotCount) {
    if (!Report.Has(arJobLimit))
      LogParagraph(F, "***Cannot do convert, error: no free option slot for more than " +
                          IntToStr(OptionSlotCount) + " jobs");
    Report.Refuse(arJobLimit, Path, "最多 " + IntToStr(OptionSlotCount) + " 个");
    return false;
  }
  TAVProbe* Probe = F.ZUVER->AVProbe();
  if (const String Why = UnreadableReason(Path); !Why.empty()) {
    LogParagraph(F,
                 "***File load error: " + Path + (Why == NotPlainFile ? " is not a plain file" : ": " + Why));
    Report.Refuse(arUnreadable, Path, Why);
    return false;
  }
  if (!Probe->LoadFile(Path) || Probe->StreamCount() == 0) {
    LogParagraph(F, "***File load error: " + Probe->LastErrMsg());
    Report.Refuse(arNotMedia, Path);
    return false;
  }
  // A subtitle or data file opens as media but has nothing any format could be made of; said as such,
  // not as an output the engine refuses later.
  if (Probe->VideoStreamCount() <= 0 && Probe->AudioStreamCount() <= 0) {
    LogParagraph(F, "***File load error: " + Path + " has no video or audio stream");
    Report.Refuse(arNotMedia, Path);
    return false;
  }
  const bool HasAudio = Probe->AudioStreamCount() > 0;
  F.JobParameters().Video_AddFileName = Path;
  TInputOptions Input;
  InitInputOptions(Input);
  String Error;
  const Integer Task = AddTaskOrError(F, Path, Input, Error);
  if (Task < 0) {
    LogParagraph(F, "***File open error: " + Error);
    Report.Refuse(arCannotOpen, Path, Error);
    return false;
  }
  Log(F, "");
  if (TAVProbe* TaskProbe = F.ZUVER->GetTaskAVProbe(Task, 0)) LogReport(F, TaskProbe->FileInfoText());
  F.T_Movie_PLayer_FileName = Path;

  F.Button5->Click();
  F.Button13->Click();
  if (TListItem* Selected = F.lvFiles->Selected()) WritePresetColumns(F, Selected);
  TOutputOptions Output = JobOutputOptions(F.JobParameters());
  // An audio format made of a file without sound would be a file with nothing in it.
  if (F.JobParameters().Video_DisableVideo && !HasAudio) {
    RemoveTaskQuietly(F, Task);
    LogParagraph(F, "***Cannot do convert, error: " + Path + " has no audio stream for an audio format");
    Report.Refuse(arNoStream, Path);
    return false;
  }
  if (!SetOutputOrError(F, Task, Output, Error)) {
    LogParagraph(F, "***Cannot do convert, error: " + Error);
    Report.Refuse(arOutputRefused, Path, Error);
    return false;
  }
  F.bsSkinPanel5->SetVisible(false);
  AppendJobRow(F, Input, Output, Task);
  if (OneFile) FocusIfShown(F.lvFiles);
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) F.SetCommandEnabled(C, true);
  // Slot i holds the job of row i.
  const Integer Slot = F.lvFiles->Items()->Count() - 1;
  F.IO1[Slot] = Input;
  F.OO1[Slot] = Output;
  F.OO1[Slot].AudioLanguage = TForm1::TakenSlotMarker;
  LogParagraph(F, "***Can do convert.");
  FocusIfShown(F.btnStart);
  return true;
}

// After a whole add: the last row is selected, which runs the row selection.
void SelectLastRow(TForm1& F) {
  const Integer Count = F.lvFiles->Items()->Count();
  if (Count == 0) return;
  F.lvFiles->SetItemIndex(Count - 1);
  FocusIfShown(F.lvFiles);
}

// Adds Files from the last to the first. No file ends the add: each one refused is said in Report.
void AddFilesFromLast(TForm1& F, TStrings* Files, TAddReport& Report) {
  // A long add shows its rows as they come, a few times a second, not all at its end.
  constexpr Cardinal RepaintEveryMs = 100;
  Cardinal LastRepaint = GetTickCount();
  for (Integer I = Files->Count() - 1; I >= 0; --I) {
    if (GetTickCount() - LastRepaint >= RepaintEveryMs) {
      F.lvFiles->Update();
      LastRepaint = GetTickCount();
    }
    const String Path = Files->Strings(I);
    if (!FileExists(Path)) {
      LogParagraph(F, "***File load error: " + Path + " no longer exists");
      Report.Refuse(arGone, Path);
      continue;
    }
    AddInputFile(F, Path, false, Report);
  }
}

void StopPreview(TForm1& F) {
  F.RIVodero->Stop(true);
  F.bsSkinSlider1->SetValue(0);
}

void MoveSelectedJob(TForm1& F, Integer Step) {
  TListItem* Row = F.lvFiles->Selected();
  if (Row == nullptr) return;
  const Integer From = Row->Index(), To = From + Step;
  if (To < 0 || To >= F.lvFiles->Items()->Count()) return;
  F.exchangeJobs(From, To);
  F.lvFiles->SetItemIndex(To);
  FocusIfShown(F.lvFiles);
}

}  // namespace

// ---- controls and handlers ----

void TForm1::createJobControls() {
  bsSkinButton3 = Make<TbsSkinButton>(this, this, "bsSkinButton3");
  bsSkinButton4 = Make<TbsSkinButton>(this, this, "bsSkinButton4");
  // Off the client area with the form's other hidden controls.
  ListBox1 = Make<TListBox>(this, this, "ListBox1");
  ListBox1->SetBounds(1276, 700, 120, 80);
  ListBox1->SetVisible(false);

  for (const TJobColumnHeading& C : JobColumnHeadings) {
    TListColumn* Column = lvFiles->Columns()->Add();
    Column->SetCaption(C.Caption);
    Column->SetWidth(C.Width);
    // Storage columns: the user cannot widen them.
    if (C.Width == 0) Column->SetMaxWidth(1);
  }
  lvFiles->SetReadOnly(true);
  lvFiles->SetRowSelect(true);
  lvFiles->SetGridLines(true);
  lvFiles->SetMultiSelect(false);

  // Below the list beside the rename button (laid out with it).
  struct TMoveButton {
    TbsSkinButton* Button;
    const char* Hint;
    const char* Glyph;
  };
  const TMoveButton Moves[] = {{bsSkinButton3, "上移", "moveup"}, {bsSkinButton4, "下移", "movedown"}};
  for (const TMoveButton& M : Moves) {
    M.Button->SetHint(M.Hint);
    M.Button->SetSkinData(bsSkinData1);
    const String File = ExtractFilePath(FSkinFile) + "glyphs/" + M.Glyph + "-24.png";
    try {
      if (FileExists(File)) {
        TPicture Picture;
        Picture.LoadFromFile(File);
        TBitmap B;
        B.Assign(Picture.Graphic());
        M.Button->SetGlyph(&B);
      }
    } catch (const Exception&) {
    }
  }
}

void TForm1::bindJobHandlers() {
  const auto handler = [this](void (TForm1::*Handler)(TObject*)) {
    return [this, Handler](TObject* Sender) { (this->*Handler)(Sender); };
  };
  btnAdd->OnClick = handler(&TForm1::btnAddClick);
  Item111->OnClick = handler(&TForm1::btnAddClick);
  N11111->OnClick = handler(&TForm1::btnAddClick);
  Button8->OnClick = handler(&TForm1::Button8Click);
  Item121->OnClick = handler(&TForm1::Button8Click);
  Button12->OnClick = handler(&TForm1::Button12Click);
  Button5->OnClick = handler(&TForm1::Button5Click);
  Button6->OnClick = handler(&TForm1::Button6Click);
  Button13->OnClick = handler(&TForm1::Button13Click);
  Button14->OnClick = handler(&TForm1::Button14Click);
  btnRemove->OnClick = handler(&TForm1::btnRemoveClick);
  btnClear->OnClick = handler(&TForm1::btnClearClick);
  bsSkinButton7->OnClick = handler(&TForm1::bsSkinButton7Click);
  N13->OnClick = handler(&TForm1::bsSkinButton7Click);
  bsSkinButton8->OnClick = handler(&TForm1::bsSkinButton8Click);
  N14->OnClick = handler(&TForm1::bsSkinButton8Click);
  bsSkinButton3->OnClick = handler(&TForm1::bsSkinButton3Click);
  bsSkinButton4->OnClick = handler(&TForm1::bsSkinButton4Click);
  Button27->OnClick = handler(&TForm1::Button27Click);
  bsSkinButton6->OnClick = handler(&TForm1::bsSkinButton6Click);
  bsSkinOfficeComboBox2->OnChange = handler(&TForm1::bsSkinOfficeComboBox2Change);
  bsSkinOfficeComboBox1->OnChange = handler(&TForm1::bsSkinOfficeComboBox1Change);
  bsSkinComboBox1->OnChange = handler(&TForm1::bsSkinComboBox1Change);
  bsSkinComboBox2->OnChange = handler(&TForm1::bsSkinComboBox2Change);
  bsSkinComboBox3->OnChange = handler(&TForm1::bsSkinComboBox3Change);
  bsSkinComboBox4->OnChange = handler(&TForm1::bsSkinComboBox4Change);
  bsSkinComboBox9->OnChange = handler(&TForm1::bsSkinComboBox9Change);
  bsSkinComboBox10->OnChange = handler(&TForm1::bsSkinComboBox10Change);
}

// ---- adding ----

void TForm1::btnAddClick(TObject*) {
  Button6->Click();
  if (!LoadLibraries(*this)) return;
  if (!OpenDialog1->Execute() || !FileExists(OpenDialog1->FileName())) return;
  TAddReport Report;
  if (AddInputFile(*this, OpenDialog1->FileName(), true, Report)) SelectLastRow(*this);
  showAddReport(Report, "");
}

void TForm1::Button8Click(TObject*) {
  Button6->Click();
  if (!LoadLibraries(*this)) return;
  if (!OpenDialog2->Execute() || !FileExists(OpenDialog2->FileName())) return;
  // A name typed with nothing selected in the list leaves the dialog's file list empty: that one file.
  if (OpenDialog2->Files()->Count() == 0) OpenDialog2->Files()->Add(OpenDialog2->FileName());
  TAddReport Report;
  AddFilesFromLast(*this, OpenDialog2->Files(), Report);
  SelectLastRow(*this);
  showAddReport(Report, "");
}

void TForm1::Button12Click(TObject*) {
  const Integer RowsBefore = lvFiles->Items()->Count();
  Button6->Click();
  if (!LoadLibraries(*this)) return;
  bsSkinSelectDirectoryDialog1->SetTitle("选择目录");
  if (!bsSkinSelectDirectoryDialog1->Execute()) return;
  const String Folder = bsSkinSelectDirectoryDialog1->Directory();
  if (Folder.empty() || !DirectoryExists(Folder)) return;
  ListBox1->Items()->Clear();
  if (std::unique_ptr<TStrings> Files = GetFilenames(Folder, "*.*"))
    ListBox1->Items()->AddStrings(Files.get());
  TAddReport Report;
  AddFilesFromLast(*this, ListBox1->Items(), Report);
  SelectLastRow(*this);
  const String NothingFound = "在该目录没有发现可以用的视频或音频文件！";
  if (lvFiles->Items()->Count() == RowsBefore && Report.Empty())
    bsSkinMessage1->MessageDlg2(NothingFound, "提示", mtInformation, {mbOK}, 0);
  else
    showAddReport(Report, lvFiles->Items()->Count() == RowsBefore ? NothingFound : "");
}

void TForm1::showAddReport(const TAddReport& Report, const String& Heading) {
  if (Report.Empty()) return;
  bsSkinMessage1->MessageDlg2(Report.Text(Heading), "提示", mtWarning, {mbOK}, 0);
}

void TForm1::Button6Click(TObject*) {
  ResetJobParameters(FJobParameters);
}

void TForm1::Button5Click(TObject*) {
  Button6->Click();
  const String Folder = Video_OutPut_Folder_Edit->Text();
  // The table step names the file; the free name then also steers clear of the other jobs' outputs.
  ApplyFormatParameters(FJobParameters, bsSkinOfficeComboBox2->ItemIndex(),
                        bsSkinOfficeComboBox1->ItemIndex(), Folder, true);
  FJobParameters.Video_OutPutFileName = FreeOutputFileName(
      FJobParameters.Video_OutPutFileName, Folder, OverwriteOutput(), [this](const String& Name) {
        return IsOtherRowsOutputName(lvFiles->Items(), nullptr, ExtractFileName(Name));
      });
  if (TListItem* Row = lvFiles->Selected()) WriteJobParameterColumns(Row, FJobParameters);
}

void TForm1::Button13Click(TObject*) {
  ReadPresetChoosers(PresetChoosers(), FJobParameters);
}

void TForm1::Button18Click(TObject*) {
  FillPresetChoosers(PresetChoosers(), bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                     FJobParameters);
}

namespace {

// The files of a folder in the order the file system gives them; with ASubfolders also those of each
// direct subfolder (listed by AListSubfolder).
std::unique_ptr<TStrings> ListFolder(
    const String& FilePath, const String& ExtMask,
    const std::function<std::unique_ptr<TStrings>(const String&)>& AListSubfolder) {
  if (!DirectoryExists(FilePath)) return nullptr;
  const String Folder = IncludeTrailingPathDelimiter(FilePath);
  auto Files = std::make_unique<TStringList>();
  TSearchRec Entry;
  if (FindFirst(Folder + ExtMask, faAnyFile, Entry) == 0) {
    do {
      if ((Entry.Attr & faDirectory) == 0) {
        // A link that leads nowhere is neither a file nor a folder: it is not listed.
        if (FileExists(Folder + Entry.Name)) Files->Add(Folder + Entry.Name);
      } else if (AListSubfolder && Entry.Name != "." && Entry.Name != "..") {
        if (std::unique_ptr<TStrings> Inner = AListSubfolder(Folder + Entry.Name + "/"))
          Files->AddStrings(Inner.get());
      }
    } while (FindNext(Entry) == 0);
    FindClose(Entry);
  }
  return Files;
}

}  // namespace

std::unique_ptr<TStrings> TForm1::GetFilenames(const String& FilePath, const String& ExtMask) {
  return ListFolder(FilePath, ExtMask, nullptr);
}

std::unique_ptr<TStrings> TForm1::GetFilenamesEx(const String& FilePath, const String& ExtMask) {
  return ListFolder(FilePath, ExtMask,
                    [this, &ExtMask](const String& Subfolder) { return GetFilenames(Subfolder, ExtMask); });
}

String TForm1::GenerateOutputFileName(const String& AFileName, const String& AFileExt) {
  const String Base = AFileName.substr(0, AFileName.size() - ExtractFileExt(AFileName).size());
  String Name = Base + "_(new)" + AFileExt;
  for (Integer N = 1; FileExists(Name); ++N) Name = Base + "_(new_" + IntToStr(N) + ")" + AFileExt;
  return Name;
}

void TForm1::Button14Click(TObject*) {
  ZUVER->ClearTasks();
  for (Integer I = 0; I < OptionSlotCount; ++I) {
    if (OO1[I].AudioLanguage != TakenSlotMarker) continue;
    TInputOptions Input = IO1[I];
    TOutputOptions Output = OO1[I];
    const Integer Task = ZUVER->AddTask(Input.FileName, &Input);
    // A file that no longer opens leaves no task to give an output to.
    if (Task >= 0)
      ZUVER->SetOutputFile(Task, FileOutPutPath + "/" + ExtractFileName(Output.FileName), &Output);
  }
}

// Rows i and j with their option slots.
void TForm1::exchangeJobs(Integer I, Integer J) {
  TListItems* Rows = lvFiles->Items();
  Rows->BeginUpdate();
  TListItem* Temp = Rows->Add();
  try {
    Temp->Assign(Rows->Item(I));
    Rows->Item(I)->Assign(Rows->Item(J));
    Rows->Item(J)->Assign(Temp);
  } catch (...) {
    Rows->Delete(Temp->Index());
    Rows->EndUpdate();
    throw;
  }
  Rows->Delete(Temp->Index());
  Rows->EndUpdate();
  // What a row's hint says goes with its job too.
  TListItem* RowI = Rows->Item(I);
  TListItem* RowJ = Rows->Item(J);
  const String ProblemI = RowProblem(I), ProblemJ = RowProblem(J);
  setRowProblem(RowI, ProblemJ);
  setRowProblem(RowJ, ProblemI);
  std::swap(IO1[I], IO1[J]);
  std::swap(OO1[I], OO1[J]);
}

// ---- editing ----

void TForm1::btnRemoveClick(TObject*) {
  TListItem* Row = lvFiles->Selected();
  if (Row == nullptr) {
    bsSkinMessage1->MessageDlg2("请先选择您需要删除的项目！", "提示", mtInformation, {mbOK}, 0);
    return;
  }
  const Integer Removed = Row->Index();
  const Integer TaskNumber = StrToIntDef(JobCell(Row, colTaskNumber), 0);
  // The engine refuses while a batch is on: the job then stays, row, task and slot.
  try {
    ZUVER->RemoveTask(TaskNumber - 1);
  } catch (const Exception& E) {
    LogParagraph(*this, E.Message());
    return;
  }
  const Integer Before = lvFiles->Items()->Count();
  setRowProblem(Row, "");
  lvFiles->Items()->Delete(Removed);
  // The later jobs' slots move down with their rows; the last one is given back.
  const Integer Last = std::min(Before, OptionSlotCount) - 1;
  for (Integer I = Removed; I < Last; ++I) {
    IO1[I] = IO1[I + 1];
    OO1[I] = OO1[I + 1];
  }
  if (Removed <= Last) OO1[Last].AudioLanguage = FreeSlotMarker;
  for (Integer I = 0; I < lvFiles->Items()->Count(); ++I) {
    TListItem* Other = lvFiles->Items()->Item(I);
    const Integer Number = StrToIntDef(JobCell(Other, colTaskNumber), 0);
    if (Number > TaskNumber) SetJobCell(Other, colTaskNumber, IntToStr(Number - 1));
  }
  const bool Any = lvFiles->Items()->Count() > 0;
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) SetCommandEnabled(C, Any);
  FocusIfShown(lvFiles);
  if (Any) {
    lvFiles->SetItemIndex(0);
    FocusIfShown(lvFiles);
  } else {
    bsSkinPanel5->SetVisible(true);
    StopPreview(*this);
  }
}

void TForm1::btnClearClick(TObject*) {
  try {
    ZUVER->ClearTasks();
  } catch (const Exception& E) {
    LogParagraph(*this, E.Message());
    return;
  }
  lvFiles->Items()->Clear();
  FRowProblems.clear();
  bsSkinMenuSpeedButton1->RefreshButton();
  bsSkinMenuSpeedButton1->SetEnabled(true);
  btnAdd->SetEnabled(true);
  for (TMenuItem* I : {Item111, N11111, N2222, N3331, Item121, N21}) I->SetEnabled(true);
  for (TJobCommand C : {jcRemove, jcRename, jcClear, jcStart}) SetCommandEnabled(C, false);
  Button15->Click();
  bsSkinPanel5->SetVisible(true);
  StopPreview(*this);
}

void TForm1::bsSkinButton3Click(TObject*) {
  MoveSelectedJob(*this, -1);
}

void TForm1::bsSkinButton4Click(TObject*) {
  MoveSelectedJob(*this, +1);
}

void TForm1::Button27Click(TObject*) {
  // The slots move with every move of a row, so this is the plain move up.
  MoveSelectedJob(*this, -1);
}

void TForm1::bsSkinButton6Click(TObject*) {
  Button20->Click();
  FocusIfShown(lvFiles);
}

void TForm1::bsSkinButton7Click(TObject*) {
  btnRemove->Click();
}

void TForm1::bsSkinButton8Click(TObject*) {
  btnClear->Click();
}

// ---- the choosers' cascade onto the selected job ----

void TForm1::bsSkinOfficeComboBox2Change(TObject*) {
  Button2->Click();
}

void TForm1::bsSkinOfficeComboBox1Change(TObject*) {
  // The preset lists refill as a read: the job takes the new format once, below.
  {
    TShowingChoice Read(FRowReads);
    Button18Click(this);
  }
  TListItem* Row = changedRow();
  if (Row == nullptr || bsSkinOfficeComboBox1->ItemIndex() < 0) return;
  applyFormatToRow(Row, chooserChoice());
  FocusIfShown(lvFiles);
}

namespace {

void PresetChooserChange(TForm1& F, TPresetSlot Slot) {
  if (!F.HasSelectedJob()) return;
  F.ApplyPresetToSelectedJob(Slot, *F.PresetChoosers()[Slot]);
  FocusIfShown(F.lvFiles);
}

}  // namespace

void TForm1::bsSkinComboBox1Change(TObject*) {
  PresetChooserChange(*this, psFrameSize);
}

void TForm1::bsSkinComboBox2Change(TObject*) {
  PresetChooserChange(*this, psVideoBitrate);
}

void TForm1::bsSkinComboBox3Change(TObject*) {
  PresetChooserChange(*this, psAudioBitrate);
}

void TForm1::bsSkinComboBox4Change(TObject*) {
  PresetChooserChange(*this, psAspect);
}

void TForm1::bsSkinComboBox9Change(TObject*) {
  PresetChooserChange(*this, psFrameRate);
}

void TForm1::bsSkinComboBox10Change(TObject*) {
  PresetChooserChange(*this, psSampleRate);
}
