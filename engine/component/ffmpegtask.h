// One conversion task of the component: a transcoder with a probe and a copy of the option record
// of each of its inputs and outputs.
#pragma once

#include <memory>
#include <vector>

#include "engine/component/optionrecords.h"
#include "engine/probe/avprobe.h"
#include "engine/transcoder/transcoder.h"

class TFFmpeg : public TCustomFFmpeg {
 public:
  explicit TFFmpeg(Integer AMaxFiles);
  ~TFFmpeg() override;
  String ClassName() const override { return "TFFmpeg"; }

  // The probe of an input index, made on first request.
  TAVProbe* GetAVProbe(Integer AFileIndex);
  // nullptr while the index has no probe.
  TAVProbe* FindAVProbe(Integer AFileIndex) const;
  // The probes forget the inputs they were given (the run closes them).
  void DetachAVProbes();

  void SetInputOptions(Integer AFileIndex, const TInputOptions& AOptions);
  void SetOutputOptions(Integer AFileIndex, const TOutputOptions& AOptions);
  // Back to the defaults; a copy never made stays missing.
  void ResetInputOptions(Integer AFileIndex);
  void ResetOutputOptions(Integer AFileIndex);
  const TInputOptions* InputOptions(Integer AFileIndex) const {
    return FInputOptions.at(size_t(AFileIndex)).get();
  }
  const TOutputOptions* OutputOptions(Integer AFileIndex) const {
    return FOutputOptions.at(size_t(AFileIndex)).get();
  }

  // Hands the pairs of an extra-option text to the option dispatcher, names lower-cased. The
  // output-side names are left to the output mapping; the codec names only reach an input.
  void ApplyExtOptions(const String& AText, bool AInput);

  // Kept by the component: the task's end has been counted in a batch (each task ends once).
  bool FEndReported = false;

 private:
  std::vector<std::unique_ptr<TAVProbe>> FAVProbes;
  std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
  std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
};
