// Conversion time, our transcoder against the ffmpeg command with the same settings, as a ratio
// (ours / ffmpeg; the target is at most 1.05 for each conversion). Both run single-threaded
// codecs, so the ratio measures the pipelines rather than the thread counts.
//
//   transcode_bench [input]   (without an input it makes a 10-second 1280x720 clip in a temp folder)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/loader/ffmpegloader.h"
#include "engine/log/ffmpeglogger.h"
#include "engine/transcoder/transcoder.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;
constexpr int Rounds = 2;

double SecondsSince(TClock::time_point AStart) {
  return std::chrono::duration<double>(TClock::now() - AStart).count();
}

// The wall time of one ffmpeg command, -1 when it fails.
double RunFFmpeg(std::vector<std::string> AArguments) {
  AArguments.insert(AArguments.begin(), {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"});
  std::vector<char*> argv;
  for (std::string& a : AArguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const TClock::time_point start = TClock::now();
  pid_t pid = 0;
  int status = 0;
  const int spawned = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  waitpid(pid, &status, 0);
  const double seconds = SecondsSince(start);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

using TOptions = std::vector<std::pair<std::string, std::string>>;

// One conversion by our transcoder, inline; -1 when it fails.
double RunOurs(const std::string& AInput, const std::string& AOutput, const TOptions& AOptions) {
  const TClock::time_point start = TClock::now();
  TCustomFFmpeg task(4);
  task.Reset();
  if (!task.OpenInputFile(AInput)) {
    std::fprintf(stderr, "%s\n", task.LastErrMsg().c_str());
    return -1;
  }
  for (const auto& o : AOptions) task.SetOption(o.first, o.second);
  if (task.OpenOutputFile(AOutput, false) < 1) {
    std::fprintf(stderr, "%s\n", task.LastErrMsg().c_str());
    return -1;
  }
  task.StartConvert(false);
  if (task.FatalException() || !task.Finished()) {
    std::fprintf(stderr, "%s\n", task.FatalMessage().c_str());
    return -1;
  }
  return SecondsSince(start);
}

struct TCase {
  const char* Name;
  const char* Extension;
  TOptions Ours;
  std::vector<std::string> FFmpeg;  // the output options of the same conversion
};

}  // namespace

int main(int argc, char** argv) {
  if (!FFLoader()->Load(ConverterLibraries)) {
    std::fprintf(stderr, "libraries: %s\n", FFLoader()->LastErrMsg().c_str());
    return 1;
  }
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->SetLogLevel(llQuiet);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("nerivo-transcode-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string input = argc > 1 ? argv[1] : (dir / "input.mkv").string();
  if (argc <= 1 &&
      RunFFmpeg({"-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-f", "lavfi", "-i", "sine=r=44100",
                 "-t", "10", "-ac", "2", "-c:v", "mpeg4", "-q:v", "3", "-c:a", "pcm_s16le", input}) < 0) {
    std::fprintf(stderr, "cannot make the input clip\n");
    return 1;
  }
  const TCase cases[] = {
      {"H.264/AAC MP4",
       "mp4",
       {{"vcodec", "libx264"}, {"b", "2000k"}, {"acodec", "aac"}, {"ab", "128k"}},
       {"-threads", "1", "-c:v", "libx264", "-b:v", "2000k", "-c:a", "aac", "-b:a", "128k"}},
      {"MPEG-4/MP3 AVI",
       "avi",
       {{"vcodec", "mpeg4"}, {"b", "2000k"}, {"acodec", "libmp3lame"}, {"ab", "128k"}},
       {"-threads", "1", "-c:v", "mpeg4", "-b:v", "2000k", "-c:a", "libmp3lame", "-b:a", "128k"}},
  };
  int failures = 0;
  std::printf("%-16s %10s %10s %8s %12s %12s\n", "conversion", "ours (s)", "ffmpeg (s)", "ratio", "ours (kB)",
              "ffmpeg (kB)");
  for (const TCase& c : cases) {
    double ours = 1e100, theirs = 1e100;
    const std::string outOurs = (dir / (std::string("ours.") + c.Extension)).string();
    const std::string outTheirs = (dir / (std::string("ffmpeg.") + c.Extension)).string();
    for (int round = 0; round < Rounds; ++round) {
      std::vector<std::string> args = {"-threads", "1", "-i", input};
      args.insert(args.end(), c.FFmpeg.begin(), c.FFmpeg.end());
      args.push_back(outTheirs);
      const double t = RunFFmpeg(args);
      const double o = RunOurs(input, outOurs, c.Ours);
      if (t < 0 || o < 0) {
        std::fprintf(stderr, "%s: a conversion failed\n", c.Name);
        ++failures;
        break;
      }
      theirs = std::min(theirs, t);
      ours = std::min(ours, o);
    }
    // The output sizes show that both did the same work.
    if (ours < 1e100 && theirs < 1e100)
      std::printf("%-16s %10.2f %10.2f %8.3f %12ju %12ju%s\n", c.Name, ours, theirs, ours / theirs,
                  uintmax_t(std::filesystem::file_size(outOurs) / 1024),
                  uintmax_t(std::filesystem::file_size(outTheirs) / 1024),
                  ours / theirs <= 1.05 ? "" : "  (above the 1.05 target)");
  }
  std::filesystem::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
