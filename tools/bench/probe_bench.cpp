// Probe time per file, ours against the ffprobe command on the same files, as a ratio (ours /
// ffprobe; the target is at most 1.0). Ours: open, analyse and build the information text in
// process; ffprobe: the whole command with its default report.
//
//   probe_bench [files…]     (without files it makes a set with the ffmpeg tool in a temp folder)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/ffmpegloader.h"
#include "engine/probe/avprobe.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

constexpr int Rounds = 5;

double SecondsSince(TClock::time_point AStart) {
  return std::chrono::duration<double>(TClock::now() - AStart).count();
}

// ffprobe <file> with its report thrown away; the wall time of the whole command.
double RunFFprobe(const std::string& AFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = "ffprobe", banner = "-hide_banner", file = AFile;
  char* argv[] = {program.data(), banner.data(), file.data(), nullptr};
  const TClock::time_point start = TClock::now();
  pid_t pid = 0;
  int status = 0;
  if (posix_spawnp(&pid, "ffprobe", &actions, nullptr, argv, environ) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return -1;
  }
  waitpid(pid, &status, 0);
  const double seconds = SecondsSince(start);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

double RunOurs(const std::string& AFile) {
  const TClock::time_point start = TClock::now();
  TAVProbe probe(nullptr);
  if (!probe.LoadFile(AFile)) return -1;
  if (probe.FileInfoText().empty()) return -1;
  return SecondsSince(start);
}

std::vector<std::string> MakeMedia(const std::string& ADir) {
  const std::string script =
      "cd '" + ADir +
      "' && V='-f lavfi -i testsrc=size=640x360:rate=25:duration=10' && "
      "A='-f lavfi -i sine=frequency=440:sample_rate=48000:duration=10' && Q='-y -nostdin -loglevel error' "
      "&& "
      "{ ffmpeg $Q $V $A -c:v mpeg4 -c:a aac b.mkv & ffmpeg $Q $V $A -c:v libx264 -preset ultrafast "
      "-pix_fmt yuv420p -c:a aac b.mp4 & ffmpeg $Q $V $A -c:v mpeg4 -c:a mp2 b.avi & "
      "ffmpeg $Q $V $A -c:v flv -c:a aac b.flv & ffmpeg $Q $V $A -c:v mpeg2video -c:a mp2 b.ts & "
      "ffmpeg $Q $A -c:a pcm_s16le b.wav & ffmpeg $Q $V -frames:v 1 b.png & wait; }";
  if (std::system(script.c_str()) != 0) return {};
  std::vector<std::string> files;
  for (const char* name : {"b.mkv", "b.mp4", "b.avi", "b.flv", "b.ts", "b.wav", "b.png"})
    files.push_back(ADir + "/" + name);
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (!FFLoader()->Load(ProbeLibraries)) {
    std::fprintf(stderr, "%s\n", FFLoader()->LastErrMsg().c_str());
    return 1;
  }
  std::string dir;
  std::vector<std::string> files(argv + 1, argv + argc);
  if (files.empty()) {
    char pattern[] = "/tmp/nerivo-probe-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    dir = pattern;
    files = MakeMedia(dir);
    if (files.empty()) {
      std::fprintf(stderr, "the ffmpeg tool could not make the media\n");
      return 1;
    }
  }

  std::printf("%-40s %12s %12s %8s\n", "file", "ours ms", "ffprobe ms", "ratio");
  double oursTotal = 0, theirsTotal = 0;
  bool failed = false;
  for (const std::string& file : files) {
    RunOurs(file);  // the first open warms the file cache for both
    double ours = 0, theirs = 0;
    for (int i = 0; i < Rounds; ++i) {
      const double o = RunOurs(file), t = RunFFprobe(file);
      if (o < 0 || t < 0) failed = true;
      ours += o;
      theirs += t;
    }
    ours /= Rounds;
    theirs /= Rounds;
    oursTotal += ours;
    theirsTotal += theirs;
    std::printf("%-40s %12.3f %12.3f %8.3f\n", std::filesystem::path(file).filename().c_str(), ours * 1000,
                theirs * 1000, ours / theirs);
  }
  const double ratio = oursTotal / theirsTotal;
  std::printf("%-40s %12.3f %12.3f %8.3f  (target <= 1.0: %s)\n", "all", oursTotal * 1000, theirsTotal * 1000,
              ratio, ratio <= 1.0 ? "met" : "MISSED");
  if (failed) std::printf("some probes failed\n");
  if (!dir.empty()) std::filesystem::remove_all(dir);
  return failed ? 1 : 0;
}
