// A command-line driver of the conversion component, for benchmarks against the ffmpeg tool:
// each INPUT OUTPUT pair becomes one task of a batch, run on the given number of workers as the
// main window runs one.
//
//   nerivo_convert [--workers N] [--vcodec C] [--vb BITS] [--vpreset P] [--acodec C] [--ab BITS]
//                  [--ext NAME=VALUE]... INPUT OUTPUT [INPUT OUTPUT]...
//
// Exits with 0 when every task finished, 1 when one failed (its message on the error output),
// 2 on a usage error.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: nerivo_convert [--workers N] [--vcodec C] [--vb BITS] [--vpreset P] [--acodec C] "
               "[--ab BITS] [--ext NAME=VALUE]... INPUT OUTPUT [INPUT OUTPUT]...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Integer workers = 1;
  TOutputOptions options;
  InitOutputOptions(options);
  std::vector<std::pair<String, String>> jobs;
  std::vector<String> files;
  for (int i = 1; i < argc; ++i) {
    const String a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a.rfind("--", 0) == 0 && !hasValue) return Usage();
    if (a == "--workers")
      workers = std::atoi(argv[++i]);
    else if (a == "--vcodec")
      options.VideoCodec = argv[++i];
    else if (a == "--vb")
      options.VideoBitrate = std::atoi(argv[++i]);
    else if (a == "--vpreset")
      options.VideoPreset = argv[++i];
    else if (a == "--acodec")
      options.AudioCodec = argv[++i];
    else if (a == "--ab")
      options.AudioBitrate = std::atoi(argv[++i]);
    else if (a == "--ext")
      options.ExtOptions += String(argv[++i]) + "\n";
    else if (a.rfind("--", 0) == 0)
      return Usage();
    else
      files.push_back(a);
  }
  if (files.empty() || files.size() % 2 != 0 || workers < 1) return Usage();

  if (!FFLoader()->Load(ConverterLibraries)) {
    std::fprintf(stderr, "libraries: %s\n", FFLoader()->LastErrMsg().c_str());
    return 1;
  }
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->SetLogLevel(llQuiet);

  TFFmpegConverter converter(nullptr);
  for (size_t i = 0; i < files.size(); i += 2) {
    const Integer task = converter.AddTask(files[i]);
    TOutputOptions o = options;
    if (task < 0 || !converter.SetOutputFile(task, files[i + 1], &o)) {
      std::fprintf(stderr, "%s: %s\n", files[i].c_str(), converter.LastErrMsg().c_str());
      return 1;
    }
  }
  std::atomic<bool> ended{false};
  std::atomic<int> failed{0};
  converter.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
    if (AInfo.TaskIndex == -1) {
      ended = true;
    } else if (AInfo.Exception || !AInfo.Finished) {
      std::fprintf(stderr, "task %d: %s\n", AInfo.TaskIndex,
                   AInfo.ExceptionMsg.empty() ? "not finished" : AInfo.ExceptionMsg.c_str());
      ++failed;
    }
  };
  converter.Start(workers);
  while (!ended) CheckSynchronize(5);
  converter.Stop(true);
  return failed == 0 ? 0 : 1;
}
