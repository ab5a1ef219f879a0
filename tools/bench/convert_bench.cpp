// Batch speed-up of the conversion component: four identical conversions run with one worker and
// then with four, printed as the speed-up with the machine's core count. A task alone gives its
// codecs every core and four running tasks share them, so the speed-up measures what running
// tasks side by side adds to threaded codecs.
//
//   convert_bench [input]   (without an input it makes a 12-second 640x360 clip in a temp folder)
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/component/ffmpegconverter.h"

namespace {

using TClock = std::chrono::steady_clock;
constexpr int Tasks = 4;

struct TBatchTime {
  double Wall = -1;  // seconds; -1 when a task failed
  double Cpu = 0;    // process CPU seconds: Cpu / Wall is how many cores the batch kept busy
};

// Builds the four tasks and runs them with AThreadCount threads.
TBatchTime RunBatch(const std::string& AInput, const std::filesystem::path& ADir, Integer AThreadCount) {
  TFFmpegConverter converter(nullptr);
  std::atomic<bool> ended{false};
  std::atomic<int> failed{0};
  converter.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
    if (AInfo.TaskIndex == -1)
      ended = true;
    else if (AInfo.Exception || !AInfo.Finished) {
      std::fprintf(stderr, "task %d: %s\n", AInfo.TaskIndex, AInfo.ExceptionMsg.c_str());
      ++failed;
    }
  };
  for (int i = 0; i < Tasks; ++i) {
    const Integer task = converter.AddTask(AInput);
    TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoBitrate = 2000000;
    o.AudioCodec = "mp2";
    o.AudioBitrate = 128000;
    const std::string out =
        (ADir / ("out" + std::to_string(AThreadCount) + "-" + std::to_string(i) + ".avi")).string();
    if (task < 0 || !converter.SetOutputFile(task, out, &o)) {
      std::fprintf(stderr, "%s\n", converter.LastErrMsg().c_str());
      return {};
    }
  }
  const TClock::time_point start = TClock::now();
  const std::clock_t cpuStart = std::clock();
  converter.Start(AThreadCount);
  while (!ended) CheckSynchronize(5);
  TBatchTime time;
  time.Wall = std::chrono::duration<double>(TClock::now() - start).count();
  time.Cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  converter.Stop(true);
  if (failed != 0) time.Wall = -1;
  return time;
}

}  // namespace

int main(int argc, char** argv) {
  if (!FFLoader()->Load(ConverterLibraries)) {
    std::fprintf(stderr, "libraries: %s\n", FFLoader()->LastErrMsg().c_str());
    return 1;
  }
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->SetLogLevel(llQuiet);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("nerivo-convert-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string input = argc > 1 ? argv[1] : (dir / "input.mkv").string();
  if (argc <= 1) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=640x360:rate=25 -f lavfi -i "
        "sine=r=44100 "
        "-t 12 -ac 2 -c:v mpeg4 -q:v 3 -c:a pcm_s16le '" +
        input + "'";
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "cannot make the input clip\n");
      return 1;
    }
  }
  const TBatchTime one = RunBatch(input, dir, 1);
  const TBatchTime four = RunBatch(input, dir, 4);
  std::filesystem::remove_all(dir);
  if (one.Wall < 0 || four.Wall < 0) return 1;
  const double speedup = one.Wall / four.Wall;
  std::printf(
      "%d conversions: 1 thread %.2f s (%.1f cores busy), 4 threads %.2f s (%.1f cores busy), "
      "speed-up %.2f on %u cores\n",
      Tasks, one.Wall, one.Cpu / one.Wall, four.Wall, four.Cpu / four.Wall, speedup,
      std::thread::hardware_concurrency());
  return 0;
}
