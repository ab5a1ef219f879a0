#include "engine/component/ffmpegtask.h"

TFFmpeg::TFFmpeg(Integer AMaxFiles) : TCustomFFmpeg(AMaxFiles) {
  FAVProbes.resize(size_t(AMaxFiles));
  FInputOptions.resize(size_t(AMaxFiles));
  FOutputOptions.resize(size_t(AMaxFiles));
}

TFFmpeg::~TFFmpeg() {
  // A run still going reports its end through this object, probes included: it ends first.
  Stop(true);
  FAVProbes.clear();
  FInputOptions.clear();
  FOutputOptions.clear();
}

TAVProbe* TFFmpeg::GetAVProbe(Integer AFileIndex) {
  auto& probe = FAVProbes.at(size_t(AFileIndex));
  if (!probe) probe = std::make_unique<TAVProbe>(nullptr);
  return probe.get();
}

TAVProbe* TFFmpeg::FindAVProbe(Integer AFileIndex) const {
  return FAVProbes.at(size_t(AFileIndex)).get();
}

void TFFmpeg::DetachAVProbes() {
  for (auto& probe : FAVProbes)
    if (probe && probe->FileHandle()) probe->CloseFile();
}

void TFFmpeg::SetInputOptions(Integer AFileIndex, const TInputOptions& AOptions) {
  auto& copy = FInputOptions.at(size_t(AFileIndex));
  if (!copy) copy = std::make_unique<TInputOptions>();
  *copy = AOptions;
}

void TFFmpeg::SetOutputOptions(Integer AFileIndex, const TOutputOptions& AOptions) {
  auto& copy = FOutputOptions.at(size_t(AFileIndex));
  if (!copy) copy = std::make_unique<TOutputOptions>();
  *copy = AOptions;
}

void TFFmpeg::ResetInputOptions(Integer AFileIndex) {
  if (auto& copy = FInputOptions.at(size_t(AFileIndex))) InitInputOptions(*copy);
}

void TFFmpeg::ResetOutputOptions(Integer AFileIndex) {
  if (auto& copy = FOutputOptions.at(size_t(AFileIndex))) InitOutputOptions(*copy);
}

void TFFmpeg::ApplyExtOptions(const String& AText, bool AInput) {
  for (const TOptionPair& pair : SplitExtOptions(AText)) {
    const String name = LowerAZ(pair.first);
    if (name == "newvideo" || name == "newaudio" || name == "newsubtitle" || name == "apre" ||
        name == "vpre" || name == "spre" || name == "vfilters" || name == "vf")
      continue;
    if ((name == "acodec" || name == "vcodec" || name == "scodec" || name == "s") && !AInput) continue;
    SetOption(name, pair.second);
  }
}
