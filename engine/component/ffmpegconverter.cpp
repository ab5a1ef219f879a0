// The component's life, its task list and the task-building operations.
#include "engine/component/ffmpegconverter.h"

#include <algorithm>

#include "engine/base/ffmpegloader.h"
#include "engine/base/fileidentity.h"
#include "engine/component/ffmpegtask.h"
#include "engine/component/terminatethread.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/format.h"

// ---- the task list -----------------------------------------------------------------------------

TFFmpegList::~TFFmpegList() {
  Clear();
}

Integer TFFmpegList::Add(TFFmpeg* ATask) {
  FList.emplace_back(ATask);
  return Count() - 1;
}

TFFmpeg* TFFmpegList::Items(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) throw EListError(Format(SListIndexError, AIndex));
  return FList[size_t(AIndex)].get();
}

void TFFmpegList::Delete(Integer AIndex) {
  Items(AIndex);
  // Out of the list before it goes, so that its last events no longer find it.
  std::unique_ptr<TFFmpeg> task = std::move(FList[size_t(AIndex)]);
  FList.erase(FList.begin() + AIndex);
  task.reset();
}

void TFFmpegList::Clear() {
  std::vector<std::unique_ptr<TFFmpeg>> tasks;
  tasks.swap(FList);
  tasks.clear();
}

void TFFmpegList::Exchange(Integer AIndex1, Integer AIndex2) {
  Items(AIndex1);
  Items(AIndex2);
  std::swap(FList[size_t(AIndex1)], FList[size_t(AIndex2)]);
}

Integer TFFmpegList::IndexOf(const TFFmpeg* ATask) const {
  for (size_t i = 0; i < FList.size(); ++i)
    if (FList[i].get() == ATask) return Integer(i);
  return -1;
}

void TFFmpegList::PauseAll() {
  for (auto& task : FList) task->Pause();
}

void TFFmpegList::ResumeAll() {
  for (auto& task : FList) task->Resume();
}

void TFFmpegList::StopAll(bool AWaitFor) {
  for (auto& task : FList) task->StopOrTerminate(AWaitFor);
}

namespace {

void SetPostHook(TFFmpeg& ATask, TPostHook AHook, bool AFlag) {
  // One change: a task switching a failed hook off meanwhile is not undone.
  TCriticalSectionHold hold(PostHookLock());
  TPostHooks hooks = ATask.PostHooks();
  if (AFlag)
    hooks.Include(AHook);
  else
    hooks.Exclude(AHook);
  ATask.SetPostHooks(hooks);
}

// A refusal as the user reads it: the message, then the file when the message does not name it.
String NamingFile(const String& AMessage, const String& AFileName) {
  if (AFileName.empty() || AMessage.find(AFileName) != String::npos) return AMessage;
  return AMessage + " [" + AFileName + "]";
}

// The name a caller's stream object goes by: its address as a signed decimal number.
String StreamName(const TStream* AStream, const String& APrivateData) {
  return Format("stream:%d:%s", Int64(reinterpret_cast<intptr_t>(AStream)), APrivateData);
}

}  // namespace

void TFFmpegList::SetPreview(bool AFlag) {
  for (auto& task : FList) SetPostHook(*task, phPreview, AFlag);
}

void TFFmpegList::SetPreviewBitmap(bool AFlag) {
  for (auto& task : FList) SetPostHook(*task, phBitmap, AFlag);
}

void TFFmpegList::SetOverwriteOutput(bool AFlag) {
  for (auto& task : FList) task->SetOverwriteOutput(AFlag);
}

// ---- the component -----------------------------------------------------------------------------

TCustomFFmpegConverter::TCustomFFmpegConverter(TComponent* AOwner)
    : TFFBaseComponent(AOwner),
      FAVProbe(std::make_unique<TAVProbe>(nullptr)),
      FFFmpegList(std::make_unique<TFFmpegList>()) {}

TCustomFFmpegConverter::~TCustomFFmpegConverter() {
  // No other thread may still be inside a lock, nor deliver an event about this object.
  for (TEventGate* gate : {&FHookLock, &FPreviewLock, &FProgressLock}) {
    gate->Enter();
    gate->Leave();
  }
  FTerminateLock.Enter();
  FTerminateLock.Leave();
  // Tasks still running end here, and may still hand out their terminate events.
  FFFmpegList->Clear();
  WaitForTerminateDeliveries();
  FFFmpegList.reset();
  FAVProbe.reset();
}

bool TCustomFFmpegConverter::AVLibLoaded() const {
  return FFLoader()->Loaded(ConverterLibraries);
}

bool TCustomFFmpegConverter::LoadAVLib(const TPathFileName& APath) {
  if (ComponentState().Contains(csDesigning)) return true;
  FFLoader()->SetLibraryPath(APath);
  const bool loaded = FFLoader()->Load(ConverterLibraries);
  if (!loaded) FLastErrMsg = FFLoader()->LastErrMsg();
  return loaded;
}

void TCustomFFmpegConverter::UnloadAVLib() {
  FFLoader()->Unload(ConverterLibraries);
}

void TCustomFFmpegConverter::CheckWorking(const String& AName) const {
  if (FWorking) throw Exception(Format("Cannot %s while working.", AName));
}

Integer TCustomFFmpegConverter::AddTask(const String& AFileName, PInputOptions AOptions) {
  CheckWorking("AddTask");
  std::unique_ptr<TFFmpeg> task;
  try {
    task = std::make_unique<TFFmpeg>(FCustomMaxFiles);
    PrepareTask(*task);
    if (!OpenInput(*task, AFileName, AOptions)) {
      FLastErrMsg = NamingFile(task->LastErrMsg(), AFileName);
      return -1;
    }
    task->GetAVProbe(0)->SetFileHandle(task->input_files()[0]->ctx.get());
    task->FOnProgress = [this](TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                               Single AQuality, Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                               Int64 ATotalDuration) {
      DoProgress(Sender, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize, ACurrentDuration,
                 ATotalDuration);
    };
    task->FOnTerminate = [this](TObject* Sender) { DoTerminate(Sender); };
  } catch (const Exception& e) {
    FLastErrMsg = NamingFile(e.Message(), AFileName);
    return -1;
  }
  return FFFmpegList->Add(task.release());
}

Integer TCustomFFmpegConverter::AddTask(const String& AFileName, const String& AExtOptions) {
  TInputOptions options = InputOptionsFromText(AExtOptions);
  return AddTask(AFileName, &options);
}

Integer TCustomFFmpegConverter::AddTask(const TStream* AStream, const String& APrivateData,
                                        PInputOptions AOptions) {
  return AddTask(StreamName(AStream, APrivateData), AOptions);
}

bool TCustomFFmpegConverter::AddInputFile(Integer ATaskIndex, const String& AFileName,
                                          PInputOptions AOptions) {
  CheckWorking("AddInputFile");
  TFFmpeg& task = *FFFmpegList->Items(ATaskIndex);
  const Integer index = task.nb_input_files();
  if (index >= task.MaxFiles()) {
    FLastErrMsg = NamingFile(Format("max input files %d reached", task.MaxFiles()), AFileName);
    return false;
  }
  try {
    if (!AOptions) task.ResetInputOptions(index);
    if (!OpenInput(task, AFileName, AOptions)) {
      task.ResetInputOptions(index);
      FLastErrMsg = NamingFile(task.LastErrMsg(), AFileName);
      return false;
    }
    task.GetAVProbe(index)->SetFileHandle(task.input_files()[size_t(index)]->ctx.get());
  } catch (const Exception& e) {
    FLastErrMsg = NamingFile(e.Message(), AFileName);
    return false;
  }
  return true;
}

bool TCustomFFmpegConverter::AddInputFile(Integer ATaskIndex, const String& AFileName,
                                          const String& AExtOptions) {
  TInputOptions options = InputOptionsFromText(AExtOptions);
  return AddInputFile(ATaskIndex, AFileName, &options);
}

bool TCustomFFmpegConverter::SetOutputFile(Integer ATaskIndex, const String& AFileName,
                                           POutputOptions AOptions) {
  CheckWorking("SetOutputFile");
  TFFmpeg& task = *FFFmpegList->Items(ATaskIndex);
  const Integer index = task.nb_output_files();
  if (index >= task.MaxFiles()) {
    FLastErrMsg = NamingFile(Format("max output files %d reached", task.MaxFiles()), AFileName);
    return false;
  }
  if (const String clash = OutputClash(ATaskIndex, AFileName); !clash.empty()) {
    FLastErrMsg = clash;
    return false;
  }
  try {
    if (!OpenOutput(task, AFileName, AOptions)) {
      task.ResetOutputOptions(index);
      FLastErrMsg = NamingFile(task.LastErrMsg(), AFileName);
      return false;
    }
  } catch (const Exception& e) {
    FLastErrMsg = NamingFile(e.Message(), AFileName);
    return false;
  }
  return true;
}

bool TCustomFFmpegConverter::SetOutputFile(Integer ATaskIndex, const String& AFileName,
                                           const String& AExtOptions) {
  TOutputOptions options = OutputOptionsFromText(AExtOptions);
  return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomFFmpegConverter::SetOutputStream(Integer ATaskIndex, const TStream* AStream,
                                             const String& APrivateData, POutputOptions AOptions) {
  return SetOutputFile(ATaskIndex, StreamName(AStream, APrivateData), AOptions);
}

namespace {

// The output files of a task, each once (a joined output is listed once per input).
std::vector<const TOpenedOutput*> OutputsOf(const TFFmpeg& ATask) {
  std::vector<const TOpenedOutput*> outputs;
  for (const auto& output : ATask.output_files())
    if (std::find(outputs.begin(), outputs.end(), output.get()) == outputs.end())
      outputs.push_back(output.get());
  return outputs;
}

// A device (the null device, say) takes what any number of tasks write to it.
bool IsDevice(const TFileIdentity& AIdentity) {
  return AIdentity.Exists && !AIdentity.Regular;
}

String ClashText(const String& AFileName, Integer ATaskIndex, const String& AOtherName, Integer AOtherIndex) {
  return Format(
      "Output file %s of task %d is the same file as %s, the output of task %d: two tasks cannot "
      "write one file",
      AFileName, ATaskIndex, AOtherName, AOtherIndex);
}

String ReadClashText(const String& AFileName, Integer ATaskIndex, const String& AInputName, Integer AReader) {
  return Format(
      "Output file %s of task %d is the same file as %s, the input of task %d: it would be "
      "overwritten while that task reads it",
      AFileName, ATaskIndex, AInputName, AReader);
}

}  // namespace

const TFileIdentity& TCustomFFmpegConverter::AddedFileIdentity(const String& AFileName) const {
  auto found = FAddedFiles.find(AFileName);
  if (found == FAddedFiles.end()) found = FAddedFiles.emplace(AFileName, FileIdentityOf(AFileName)).first;
  return found->second;
}

String TCustomFFmpegConverter::OutputClash(Integer ATaskIndex, const String& AFileName) const {
  const TFileIdentity identity = FileIdentityOf(AFileName);
  if (IsDevice(identity)) return String();
  for (Integer i = 0; i < TasksCount(); ++i)
    for (const TOpenedOutput* output : OutputsOf(*FFFmpegList->Items(i)))
      if (SameFile(identity, AddedFileIdentity(output->FileName)))
        return ClashText(AFileName, ATaskIndex, output->FileName, i);
  // The task's own inputs are the transcoder's to refuse.
  for (Integer i = 0; i < TasksCount(); ++i) {
    if (i == ATaskIndex) continue;
    for (const auto& input : FFFmpegList->Items(i)->input_files())
      if (SameFile(identity, AddedFileIdentity(input->FileName)))
        return ReadClashText(AFileName, ATaskIndex, input->FileName, i);
  }
  return String();
}

void TCustomFFmpegConverter::RefuseOutputClashes() {
  struct TSeen {
    TFileIdentity Identity;
    String Name;
    Integer Task;
  };
  std::vector<TSeen> inputs;
  for (Integer i = 0; i < TasksCount(); ++i)
    for (const auto& input : FFFmpegList->Items(i)->input_files())
      inputs.push_back({FileIdentityOf(input->FileName), input->FileName, i});
  std::vector<TSeen> seen;
  for (Integer i = 0; i < TasksCount(); ++i) {
    TFFmpeg& task = *FFFmpegList->Items(i);
    task.SetStartRefusal(String());
    for (const TOpenedOutput* output : OutputsOf(task)) {
      const TFileIdentity identity = FileIdentityOf(output->FileName);
      if (IsDevice(identity)) continue;
      for (const TSeen& other : seen)
        if (task.StartRefusal().empty() && SameFile(identity, other.Identity))
          task.SetStartRefusal(ClashText(output->FileName, i, other.Name, other.Task));
      for (const TSeen& input : inputs)
        if (task.StartRefusal().empty() && input.Task != i && SameFile(identity, input.Identity))
          task.SetStartRefusal(ReadClashText(output->FileName, i, input.Name, input.Task));
      seen.push_back({identity, output->FileName, i});
    }
  }
}

void TCustomFFmpegConverter::ClearTasks() {
  if (FWorking && !FTerminated) throw Exception("Cannot ClearTasks while working.");
  FFFmpegList->Clear();
  FAddedFiles.clear();
  FLastErrMsg.clear();
  FCompleteTasks = 0;
  FCurrentTask = -1;
  FPendingTasks = 0;
  FTerminated = false;
  FThreadMode = false;
  FWorking = false;
  FAllEnded = false;
}

void TCustomFFmpegConverter::Exchange(Integer ATaskIndex1, Integer ATaskIndex2) {
  CheckWorking("Exchange");
  FFFmpegList->Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomFFmpegConverter::RemoveTask(Integer ATaskIndex) {
  CheckWorking("RemoveTask");
  // A name added again later is looked at anew: the file under it may have changed meanwhile.
  if (ATaskIndex >= 0 && ATaskIndex < TasksCount()) {
    const TFFmpeg& task = *FFFmpegList->Items(ATaskIndex);
    for (const auto& input : task.input_files()) FAddedFiles.erase(input->FileName);
    for (const TOpenedOutput* output : OutputsOf(task)) FAddedFiles.erase(output->FileName);
  }
  FFFmpegList->Delete(ATaskIndex);
}

TAVProbe* TCustomFFmpegConverter::GetTaskAVProbe(Integer ATaskIndex, Integer AFileIndex) const {
  return FFFmpegList->Items(ATaskIndex)->FindAVProbe(AFileIndex);
}

void TCustomFFmpegConverter::SetPreview(bool Value) {
  FFFmpegList->SetPreview(Value);
  FPreview = Value;
}

void TCustomFFmpegConverter::SetPreviewBitmap(bool Value) {
  FFFmpegList->SetPreviewBitmap(Value);
  FPreviewBitmap = Value;
}

void TCustomFFmpegConverter::SetOverwriteOutput(bool Value) {
  FOverwriteOutput = Value;
  FFFmpegList->SetOverwriteOutput(Value);
}
