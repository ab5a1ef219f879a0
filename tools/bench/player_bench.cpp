// Playing a clip to its end in a window: the player against `ffplay -autoexit` on the same clip and
// display, in CPU seconds (user + system of the whole process), with the pictures the player showed
// and dropped. Run it on an X display, e.g. under Xvfb:
//   xvfb-run -s "-screen 0 1600x900x24" build/default/tools/bench/player_bench [runs]
// With "starts [count]" (default 100) it starts the player that many times in a row instead, each
// in a process of its own that opens the clip in SDL's own window and waits for its first picture,
// and says how many starts failed (any is a failure of the run).
// It makes a 10 s 1280x720 H.264/AAC clip with the ffmpeg tool (kept in the working folder).
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/player/customplayer.h"

namespace {

// Plays AFile in SDL's own window until the end; prints "shown dropped".
int PlayOnce(const std::string& AFile) {
  if (!FFLoader()->Load(PlayerLibraries)) {
    std::fprintf(stderr, "%s\n", FFLoader()->LastErrMsg().c_str());
    return 2;
  }
  TRIVodero player(nullptr);
  player.SetTriggerEventInMainThread(false);
  if (!player.Open(AFile, nullptr)) {
    std::fprintf(stderr, "%s\n", player.LastErrMsg().c_str());
    return 2;
  }
  while (player.PlayState() != psEnd) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::printf("%d %d\n", player.FramesShown(), player.FramesDropped());
  std::fflush(stdout);
  player.Stop(true);
  return 0;
}

// Opens AFile paused in SDL's own window and waits for its first picture; 0 when it showed, 3 when
// the open failed, 4 when no picture came.
int StartOnce(const std::string& AFile) {
  if (!FFLoader()->Load(PlayerLibraries)) {
    std::fprintf(stderr, "%s\n", FFLoader()->LastErrMsg().c_str());
    return 2;
  }
  // The engine's errors tell why a start failed.
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->OnLog = [](TObject*, Cardinal, TLogLevel ALevel, const String& AMsg) {
    if (ALevel <= llError) std::fprintf(stderr, "%s\n", AMsg.c_str());
  };
  TRIVodero player(nullptr);
  player.SetTriggerEventInMainThread(false);
  if (!player.Open(AFile, nullptr, true)) {
    std::fprintf(stderr, "%s\n", player.LastErrMsg().c_str());
    return 3;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (player.FramesShown() == 0 && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const bool shown = player.FramesShown() > 0;
  if (!shown)
    std::fprintf(stderr, "no picture in 10 s: state %d, %d dropped, position %lld\n", int(player.PlayState()),
                 player.FramesDropped(), static_cast<long long>(player.CurrentPTS()));
  player.Stop(true);
  return shown ? 0 : 4;
}

struct TRun {
  double Cpu = 0;
  double Wall = 0;
  std::string Output;
  int Status = 0;
};

// Runs AArgs as a child process; its CPU seconds, wall seconds and standard output.
TRun Measure(const std::vector<std::string>& AArgs) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], 1);
    ::close(pipeFds[0]);
    std::vector<char*> argv;
    for (const std::string& a : AArgs) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  TRun run;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) run.Output.append(buffer, size_t(n));
  ::close(pipeFds[0]);
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  run.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.Cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) run.Cpu = -1;
  return run;
}

double Median(std::vector<double> AValues) {
  std::sort(AValues.begin(), AValues.end());
  return AValues[AValues.size() / 2];
}

// Starts the player ACount times, one process after another; 0 when every start showed a picture.
int CountStarts(const std::string& ASelf, const std::string& AClip, int ACount) {
  int failed = 0;
  std::vector<double> walls;
  for (int i = 0; i < ACount; ++i) {
    const TRun run = Measure({ASelf, "--start", AClip});
    walls.push_back(run.Wall);
    if (run.Status != 0) {
      ++failed;
      std::printf("start %d failed (exit %d)\n", i + 1, run.Status);
    }
  }
  std::printf("starts: %d, failed: %d, median start to first picture and back %.2f s\n", ACount, failed,
              Median(walls));
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--play") return PlayOnce(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--start") return StartOnce(argv[2]);
  const bool starts = argc > 1 && std::string(argv[1]) == "starts";
  if (!::getenv("DISPLAY")) {
    std::fprintf(stderr, "no X display: run it under Xvfb (see the head of player_bench.cpp)\n");
    return 2;
  }
  const int runs = starts ? (argc > 2 ? std::max(1, std::atoi(argv[2])) : 100)
                          : (argc > 1 ? std::max(1, std::atoi(argv[1])) : 3);
  const std::string clip = "player-bench-720p.mp4";
  if (::access(clip.c_str(), R_OK) != 0 &&
      std::system(
          ("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=10 "
           "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=10 -c:v libx264 -preset veryfast "
           "-pix_fmt yuv420p -c:a aac " +
           clip)
              .c_str()) != 0) {
    std::fprintf(stderr, "the ffmpeg tool could not make the clip\n");
    return 2;
  }
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::setenv("SDL_VIDEODRIVER", "x11", 1);
  char self[4096];
  const ssize_t len = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (len <= 0) return 2;
  self[len] = 0;
  if (starts) return CountStarts(self, clip, runs);
  std::vector<double> ours, theirs;
  std::string frames;
  for (int i = 0; i < runs; ++i) {
    const TRun player = Measure({self, "--play", clip});
    const TRun ffplay = Measure({"ffplay", "-autoexit", "-loglevel", "error", clip});
    if (player.Cpu < 0 || ffplay.Cpu < 0) {
      std::fprintf(stderr, "a run failed (player %.2f, ffplay %.2f)\n", player.Cpu, ffplay.Cpu);
      return 1;
    }
    ours.push_back(player.Cpu);
    theirs.push_back(ffplay.Cpu);
    frames = player.Output;
    int shown = 0, dropped = 0;
    std::sscanf(player.Output.c_str(), "%d %d", &shown, &dropped);
    std::printf(
        "run %d: player %.2f s CPU (%.1f s wall, %d shown, %d dropped), ffplay %.2f s CPU (%.1f s wall)\n",
        i + 1, player.Cpu, player.Wall, shown, dropped, ffplay.Cpu, ffplay.Wall);
  }
  const double ratio = Median(ours) / Median(theirs);
  std::printf("median CPU: player %.2f s, ffplay %.2f s, ratio %.2f (limit 1.10) %s\n", Median(ours),
              Median(theirs), ratio, ratio <= 1.10 ? "ok" : "OVER");
  return ratio <= 1.10 ? 0 : 1;
}
