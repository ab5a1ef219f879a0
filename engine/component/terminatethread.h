// The thread that delivers one terminate event of a threaded batch.
#pragma once

#include <memory>

#include "engine/component/ffmpegconverter.h"

// Delivers one terminate event on a thread of its own, after the delivery before it has finished.
class TConverterTerminateThread : public TThread {
 public:
  TConverterTerminateThread(TCustomFFmpegConverter::TTerminateEvent AOnTerminate, TObject* ASender,
                            const TTerminateInfo& ATerminateInfo, TConverterTerminateThread* APrevious)
      : TThread(true),
        FOnTerminate(std::move(AOnTerminate)),
        FSender(ASender),
        FTerminateInfo(ATerminateInfo),
        FPrevious(APrevious ? APrevious->FDone : nullptr) {}
  ~TConverterTerminateThread() override { WaitFor(); }
  String ClassName() const override { return "TDoTerminateThread"; }

  bool Done() const { return FDone->WaitFor(0) == wrSignaled; }
  std::shared_ptr<TSimpleEvent> DoneEvent() const { return FDone; }
  static bool InDelivery() { return FInDelivery; }

 protected:
  void Execute() override {
    FInDelivery = true;
    if (FPrevious) FPrevious->WaitFor();
    try {
      if (FOnTerminate) FOnTerminate(FSender, FTerminateInfo);
    } catch (...) {
      FDone->SetEvent();
      throw;
    }
    FDone->SetEvent();
  }

 private:
  TCustomFFmpegConverter::TTerminateEvent FOnTerminate;
  TObject* FSender;
  TTerminateInfo FTerminateInfo;
  std::shared_ptr<TSimpleEvent> FPrevious;
  std::shared_ptr<TSimpleEvent> FDone = std::make_shared<TSimpleEvent>();
  static thread_local bool FInDelivery;
};
