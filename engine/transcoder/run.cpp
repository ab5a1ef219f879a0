// One run of a task: on a conversion thread of its own or inline, stop, pause and resume, and the
// one terminate notification that ends it.
#include "engine/base/engineutils.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/transcoder/transcoder.h"

class TCustomFFmpeg::TConvertThread : public TThread {
 public:
  TConvertThread(TCustomFFmpeg* AOwner, TThreadPriority APriority) : TThread(true), FOwner(AOwner) {
    SetFreeOnTerminate(true);
    SetPriority(APriority);
  }
  String ClassName() const override { return "TConvertThread"; }

 protected:
  void Execute() override {
    if (!FOwner) return;
    TCustomFFmpeg* owner = FOwner;
    owner->FStopEvent.ResetEvent();
    try {
      owner->Run();
    } catch (...) {
    }
    // The last touch of the owner: from here it may be gone.
    std::lock_guard<std::mutex> hold(owner->FThreadLock);
    owner->FRunThread = nullptr;
    owner->FStopEvent.SetEvent();
  }

 private:
  TCustomFFmpeg* FOwner;
};

class TCustomFFmpeg::TDoTerminateThread : public TThread {
 public:
  explicit TDoTerminateThread(TCustomFFmpeg* AOwner) : TThread(false), FOwner(AOwner) {
    SetFreeOnTerminate(true);
    AfterConstruction();
  }
  String ClassName() const override { return "TDoTerminateThread"; }

 protected:
  void Execute() override {
    if (!FOwner) return;
    TCustomFFmpeg* owner = FOwner;
    try {
      owner->DoTerminate();
    } catch (...) {
    }
    owner->FTermEvent.SetEvent();
  }

 private:
  TCustomFFmpeg* FOwner;
};

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority) {
  if (FRunState != rsReady) return nullptr;
  try {
    if (nb_output_files() <= 0) {
      Cleanup();
      throw FFmpegException("At least one output file must be specified");
    }
    if (nb_input_files() == 0) {
      Cleanup();
      throw FFmpegException("At least one input file must be specified");
    }
    if (!FStartRefusal.empty()) {
      Cleanup();
      throw FFmpegException(FStartRefusal);
    }
  } catch (const Exception& e) {
    GetFFLogger()->Log(this, llQuiet, e.Message());
    FFatalException = true;
    FFatalMessage = e.Message();
    DoTerminate();
    return nullptr;
  }
  FRunState = rsConverting;
  FResumeEvent.SetEvent();
  if (AUseThread) {
    // Counted from here rather than from the run, so that the tasks a batch starts together
    // mostly count before the first of them opens its codecs.
    FRunningConversion = std::make_unique<TRunningConversion>();
    FStopEvent.ResetEvent();
    std::lock_guard<std::mutex> hold(FThreadLock);
    FThread = FRunThread = new TConvertThread(this, APriority);
    return FThread;
  }
  Run();
  return nullptr;
}

void TCustomFFmpeg::Run() {
  auto guard = [this](auto&& AStage) {
    try {
      AStage();
    } catch (const std::exception& e) {
      const Exception* own = dynamic_cast<const Exception*>(&e);
      const String message = NamingTheFiles(own ? own->Message() : String(e.what()));
      GetFFLogger()->Log(this, llQuiet, message);
      FFatalException = true;
      FFatalMessage = message;
    } catch (...) {
      FFatalException = true;
      FFatalMessage = "Unknown error";
      GetFFLogger()->Log(this, llQuiet, FFatalMessage);
    }
  };
  if (!FRunningConversion) FRunningConversion = std::make_unique<TRunningConversion>();
  guard([this] { ConvertFiles(); });
  guard([this] { CloseListedEncoders(FEncoderList); });
  guard([this] { CloseListedDecoders(FDecoderList); });
  FRunningConversion.reset();
  guard([this] { FreeStreamTables(); });
  // A failed run leaves no half-written file behind: its outputs' partial files go with them (a
  // stopped one has put its playable part in place).
  guard([this] { Cleanup(); });
  guard([this] { DoTerminate(); });
}

String TCustomFFmpeg::NamingTheFiles(const String& AMessage) const {
  String files;
  for (const auto& input : Finput_files) {
    if (!input->FileName.empty() && AMessage.find(input->FileName) != String::npos) return AMessage;
    files += (files.empty() ? "" : ", ") + input->FileName;
  }
  String outputs;
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    if (!Foutput_files[i]->FileName.empty() && AMessage.find(Foutput_files[i]->FileName) != String::npos)
      return AMessage;
    outputs += (outputs.empty() ? "" : ", ") + Foutput_files[i]->FileName;
  }
  if (files.empty() && outputs.empty()) return AMessage;
  return AMessage + " [" + files + " -> " + outputs + "]";
}

void TCustomFFmpeg::DoTerminate() {
  FRunState = FRunState == rsConverted ? rsFinished : rsTerminated;
  FThread = nullptr;
  if (FOnTerminate) FOnTerminate(this);
}

void TCustomFFmpeg::Stop(bool AWaitFor) {
  for (TRunState s = FRunState; s == rsConverting || s == rsPaused;)
    if (FRunState.compare_exchange_weak(s, rsStopping)) break;
  {
    std::lock_guard<std::mutex> hold(FThreadLock);
    if (!FRunThread) return;
    // The conversion thread cannot wait for its own end, nor can the main thread while it runs a
    // call that the conversion thread waits for (a stop from its event handler): the run ends as
    // soon as that call returns.
    const Cardinal runner = FRunThread->ThreadID();
    if (runner == GetCurrentThreadId() || MainThreadServes(runner)) AWaitFor = false;
    // A paused conversion goes on so that it sees the request; one never started starts and ends.
    FResumeEvent.SetEvent();
    if (FRunThread->Suspended()) {
      try {
        FRunThread->Start();
      } catch (const EThread&) {
      }
    }
  }
  if (AWaitFor) WaitServingMainThread(FStopEvent);
}

void TCustomFFmpeg::StopOrTerminate(bool AWaitFor) {
  if (Converting()) {
    Stop(AWaitFor);
  } else if (!Terminated()) {
    FTermEvent.ResetEvent();
    new TDoTerminateThread(this);
    if (AWaitFor) WaitServingMainThread(FTermEvent);
  }
}

void TCustomFFmpeg::Pause() {
  std::lock_guard<std::mutex> hold(FThreadLock);
  if (!FRunThread) return;
  TRunState s = rsConverting;
  if (!FRunState.compare_exchange_strong(s, rsPaused)) return;
  FResumeEvent.ResetEvent();
}

void TCustomFFmpeg::Resume() {
  TRunState s = rsPaused;
  if (!FRunState.compare_exchange_strong(s, rsConverting)) return;
  FResumeEvent.SetEvent();
}
