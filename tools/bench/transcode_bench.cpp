// Whole conversions, our conversion component (the nerivo_convert driver beside this program)
// against the ffmpeg tool at its default threads, as separate processes on both sides. Each case
// runs alternately on both sides, at least five times; the median times give the ratio (ours /
// ffmpeg), and each run checks that both outputs have the same streams and a size, video frame
// count and bit rate within 5 % of each other. Peak memory is the largest resident size of a
// side's processes.
//
//   transcode_bench [--runs N]   (N >= 5; clips are made in a temp folder with the ffmpeg tool)
//
// Targets: one conversion within 1.1x the ffmpeg tool; a batch of eight on four workers within
// 0.6x a sequential loop of eight ffmpeg commands.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using TArgs = std::vector<std::string>;
using TClock = std::chrono::steady_clock;

struct TRun {
  double Seconds = -1;  // -1: a process failed
  long PeakKiB = 0;
};

// Runs the processes one after another; the time is the sum, the peak the largest.
TRun RunProcesses(const std::vector<TArgs>& ACommands) {
  TRun run;
  run.Seconds = 0;
  for (const TArgs& command : ACommands) {
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const TClock::time_point start = TClock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {};
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid) return {};
    run.Seconds += std::chrono::duration<double>(TClock::now() - start).count();
    run.PeakKiB = std::max(run.PeakKiB, usage.ru_maxrss);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "failed: %s\n", command[0].c_str());
      return {};
    }
  }
  return run;
}

// What ffprobe reads of a file.
struct TFacts {
  std::string Streams;  // "video:h264 audio:aac"
  double Size = 0, BitRate = 0, Frames = 0;
};

TFacts Probe(const std::string& AFile) {
  TFacts facts;
  const std::string command =
      "ffprobe -v error -count_packets -show_entries "
      "stream=codec_type,codec_name,nb_read_packets:format=size,bit_rate "
      "-of default=nw=1 '" +
      AFile + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return facts;
  char line[512];
  std::string name, type;
  while (std::fgets(line, sizeof line, pipe)) {
    std::string l(line);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    const size_t eq = l.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = l.substr(0, eq), value = l.substr(eq + 1);
    if (key == "codec_name") name = value;
    if (key == "codec_type") {
      type = value;
      facts.Streams += (facts.Streams.empty() ? "" : " ") + type + ":" + name;
    }
    if (key == "nb_read_packets" && type == "video") facts.Frames = std::atof(value.c_str());
    if (key == "size") facts.Size = std::atof(value.c_str());
    if (key == "bit_rate") facts.BitRate = std::atof(value.c_str());
  }
  pclose(pipe);
  return facts;
}

bool Within5Percent(double A, double B) {
  return std::fabs(A - B) <= 0.05 * std::max(std::fabs(A), std::fabs(B));
}

// Empty when the two outputs agree, else what differs.
std::string Compare(const std::string& AOurs, const std::string& ATheirs) {
  const TFacts o = Probe(AOurs), t = Probe(ATheirs);
  char text[512] = "";
  if (o.Streams != t.Streams || o.Streams.empty())
    std::snprintf(text, sizeof text, "streams \"%s\" / \"%s\"", o.Streams.c_str(), t.Streams.c_str());
  else if (!Within5Percent(o.Size, t.Size))
    std::snprintf(text, sizeof text, "size %.0f / %.0f", o.Size, t.Size);
  else if (!Within5Percent(o.Frames, t.Frames))
    std::snprintf(text, sizeof text, "frames %.0f / %.0f", o.Frames, t.Frames);
  else if (!Within5Percent(o.BitRate, t.BitRate))
    std::snprintf(text, sizeof text, "bit rate %.0f / %.0f", o.BitRate, t.BitRate);
  return text;
}

double Median(std::vector<double> AValues) {
  std::sort(AValues.begin(), AValues.end());
  const size_t n = AValues.size();
  return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}

struct TCase {
  std::string Name;
  std::string Extension;
  TArgs Ours;    // nerivo_convert's options
  TArgs FFmpeg;  // the ffmpeg tool's output options
  int Jobs;      // 1: one conversion; else a batch on four workers against a sequential loop
  double Target;
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--runs") runs = std::max(5, std::atoi(argv[++i]));
  const std::string driver = (fs::canonical("/proc/self/exe").parent_path() / "nerivo_convert").string();
  if (!fs::exists(driver)) {
    std::fprintf(stderr, "%s is missing: build the nerivo_convert target\n", driver.c_str());
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("nerivo-transcode-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string clip = (dir / "clip720.mp4").string();
  const std::string shortClip = (dir / "clip720short.mp4").string();
  // A 720p H.264/AAC clip with film grain, so that the encoders work as on camera footage.
  for (const auto& [file, seconds] : {std::pair{clip, "10"}, std::pair{shortClip, "4"}}) {
    if (RunProcesses({{"ffmpeg",
                       "-nostdin",
                       "-loglevel",
                       "error",
                       "-y",
                       "-f",
                       "lavfi",
                       "-i",
                       "testsrc2=size=1280x720:rate=25,noise=alls=6:allf=t",
                       "-f",
                       "lavfi",
                       "-i",
                       "sine=frequency=440:sample_rate=44100",
                       "-t",
                       seconds,
                       "-ac",
                       "2",
                       "-c:v",
                       "libx264",
                       "-preset",
                       "veryfast",
                       "-crf",
                       "20",
                       "-c:a",
                       "aac",
                       "-b:a",
                       "160k",
                       file}})
            .Seconds < 0) {
      std::fprintf(stderr, "cannot make the input clip\n");
      return 1;
    }
  }
  // H.264 at a constant quality: its average bit rate mode lands on sizes that depend on the
  // encoder's thread count, so outputs made with different counts would not compare.
  const TArgs h264Ours = {"--vcodec", "libx264", "--ext", "crf=23", "--acodec", "aac", "--ab", "128000"};
  const TArgs h264FFmpeg = {"-c:v", "libx264", "-crf", "23", "-c:a", "aac", "-b:a", "128k"};
  const TArgs mpeg4Ours = {"--vcodec", "mpeg4",      "--vb", "2000000",
                           "--acodec", "libmp3lame", "--ab", "128000"};
  const TArgs mpeg4FFmpeg = {"-c:v", "mpeg4", "-b:v", "2000k", "-c:a", "libmp3lame", "-b:a", "128k"};
  const TCase cases[] = {
      {"H.264/AAC MP4", "mp4", h264Ours, h264FFmpeg, 1, 1.1},
      {"MPEG-4/MP3 AVI", "avi", mpeg4Ours, mpeg4FFmpeg, 1, 1.1},
      {"8x H.264 on 4", "mp4", h264Ours, h264FFmpeg, 8, 0.6},
      {"8x MPEG-4 on 4", "avi", mpeg4Ours, mpeg4FFmpeg, 8, 0.6},
  };

  int failures = 0;
  std::printf("%-16s %4s %9s %9s %7s %7s %10s %10s  %s\n", "case", "runs", "ours (s)", "ffmpeg (s)", "ratio",
              "target", "ours MiB", "ffmpeg MiB", "outputs");
  for (const TCase& c : cases) {
    const std::string& input = c.Jobs == 1 ? clip : shortClip;
    TArgs ours = {driver, "--workers", c.Jobs == 1 ? "1" : "4"};
    ours.insert(ours.end(), c.Ours.begin(), c.Ours.end());
    std::vector<TArgs> theirs;
    std::vector<std::pair<std::string, std::string>> outputs;
    for (int j = 0; j < c.Jobs; ++j) {
      const std::string o = (dir / ("ours" + std::to_string(j) + "." + c.Extension)).string();
      const std::string t = (dir / ("ffmpeg" + std::to_string(j) + "." + c.Extension)).string();
      ours.insert(ours.end(), {input, o});
      TArgs command = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", input};
      command.insert(command.end(), c.FFmpeg.begin(), c.FFmpeg.end());
      command.push_back(t);
      theirs.push_back(command);
      outputs.emplace_back(o, t);
    }
    std::vector<double> oursTimes, theirTimes;
    long oursPeak = 0, theirPeak = 0;
    std::string mismatch;
    for (int r = 0; r < runs && mismatch.empty(); ++r) {
      // Alternate which side goes first, so that neither always meets a warm or a busy machine.
      for (int side = 0; side < 2; ++side) {
        const bool oursNow = (side == 0) == (r % 2 == 0);
        for (const auto& [o, t] : outputs) fs::remove(oursNow ? o : t);
        const TRun run = oursNow ? RunProcesses({ours}) : RunProcesses(theirs);
        if (run.Seconds < 0) {
          mismatch = oursNow ? "ours failed" : "ffmpeg failed";
          break;
        }
        (oursNow ? oursTimes : theirTimes).push_back(run.Seconds);
        (oursNow ? oursPeak : theirPeak) = std::max(oursNow ? oursPeak : theirPeak, run.PeakKiB);
      }
      if (!mismatch.empty()) break;
      // The first and the last job stand for the batch.
      for (size_t j : {size_t(0), outputs.size() - 1})
        if (mismatch.empty()) mismatch = Compare(outputs[j].first, outputs[j].second);
    }
    if (!mismatch.empty() || oursTimes.empty() || theirTimes.empty()) {
      std::printf("%-16s %s\n", c.Name.c_str(), mismatch.empty() ? "no run" : mismatch.c_str());
      ++failures;
      continue;
    }
    const double o = Median(oursTimes), t = Median(theirTimes);
    std::printf("%-16s %4zu %9.2f %9.2f %7.3f %7.2f %10.1f %10.1f  %s%s\n", c.Name.c_str(), oursTimes.size(),
                o, t, o / t, c.Target, oursPeak / 1024.0, theirPeak / 1024.0, "same",
                o / t <= c.Target ? "" : "  (above target)");
    std::fflush(stdout);
  }
  fs::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
