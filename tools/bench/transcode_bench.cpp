// Whole conversions, our conversion component (the nerivo_convert driver beside this program)
// against the ffmpeg tool at its default threads, as separate processes on both sides. A single
// conversion is timed against one ffmpeg command. A batch on four workers is timed against two
// anchors: the same ffmpeg commands one after another (a loop) and four at a time (as xargs -P4
// runs them); the batches are eight equal 4 s jobs, and one 30 s job (first) among seven 4 s ones.
// The sides alternate, at least five runs; medians. Every run compares our outputs with the tool's,
// stream by stream (codec, frames, duration within 2 %, bit rate within 10 %) and the file size
// within 5 %. When an audio stream's bit rate differs, the tool is run once more with the engine's
// audio path (decoded to 16-bit samples before resampling, as the engine specifies) and the bench
// says whether that explains the difference. Peak memory: ours is the driver's largest resident
// size; a loop's is its largest process; four at a time is the largest sum of the resident sizes
// of the processes running together (sampled every 5 ms).
//
//   transcode_bench [--runs N] [--case TEXT]   (N >= 5; only the cases whose name holds TEXT)
//
// Targets: one conversion within 1.1x the ffmpeg tool; a batch of eight on four workers within 0.6x
// the loop and within 0.9x the tool four at a time.
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
#include <fstream>
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

pid_t Spawn(const TArgs& ACommand) {
  std::vector<char*> argv;
  for (const std::string& a : ACommand) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

// The resident size of a running process in KiB; 0 once it has gone.
long ResidentKiB(pid_t APid) {
  std::ifstream status("/proc/" + std::to_string(APid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// Runs the commands with at most AAtOnce of them at a time, in order; the time is the whole's.
TRun RunCommands(const std::vector<TArgs>& ACommands, size_t AAtOnce) {
  TRun run;
  std::vector<pid_t> running;
  size_t next = 0;
  bool failed = false;
  const TClock::time_point start = TClock::now();
  while (!failed && (next < ACommands.size() || !running.empty())) {
    while (next < ACommands.size() && running.size() < AAtOnce) {
      const pid_t pid = Spawn(ACommands[next++]);
      if (pid < 0) return {};
      running.push_back(pid);
    }
    if (AAtOnce > 1) {
      long together = 0;
      for (pid_t pid : running) together += ResidentKiB(pid);
      run.PeakKiB = std::max(run.PeakKiB, together);
    }
    int status = 0;
    struct rusage usage {};
    const pid_t ended = wait4(-1, &status, AAtOnce > 1 ? WNOHANG : 0, &usage);
    if (ended <= 0) {
      usleep(5000);
      continue;
    }
    running.erase(std::remove(running.begin(), running.end(), ended), running.end());
    run.PeakKiB = std::max(run.PeakKiB, long(usage.ru_maxrss));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failed = true;
  }
  for (pid_t pid : running) waitpid(pid, nullptr, 0);
  if (failed) return {};
  run.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
  return run;
}

// What ffprobe reads of a file: its size and, per stream, the codec, frames (packets), duration and
// bit rate.
struct TStreamFacts {
  std::string Type, Codec;
  double Frames = 0, Duration = 0, BitRate = 0;
};
struct TFacts {
  double Size = 0;
  std::vector<TStreamFacts> Streams;
};

TFacts Probe(const std::string& AFile) {
  TFacts facts;
  const std::string command =
      "ffprobe -v error -count_packets -show_entries "
      "stream=codec_type,codec_name,nb_read_packets,duration,bit_rate:format=size "
      "-of default=nw=1 '" +
      AFile + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return facts;
  char line[512];
  TStreamFacts* stream = nullptr;
  while (std::fgets(line, sizeof line, pipe)) {
    std::string l(line);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    const size_t eq = l.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = l.substr(0, eq), value = l.substr(eq + 1);
    // Each stream's entries start with its codec name.
    if (key == "codec_name") stream = &facts.Streams.emplace_back(), stream->Codec = value;
    if (key == "size") facts.Size = std::atof(value.c_str());
    if (!stream) continue;
    if (key == "codec_type") stream->Type = value;
    if (key == "nb_read_packets") stream->Frames = std::atof(value.c_str());
    if (key == "duration") stream->Duration = std::atof(value.c_str());
    if (key == "bit_rate") stream->BitRate = std::atof(value.c_str());
  }
  pclose(pipe);
  return facts;
}

bool Within(double A, double B, double AShare) {
  return std::fabs(A - B) <= AShare * std::max(std::fabs(A), std::fabs(B));
}

// How two outputs compare: empty when they agree; AAudioRate is set when they agree but for the bit
// rate of an audio stream (ours, theirs).
std::string Compare(const TFacts& AOurs, const TFacts& ATheirs, std::pair<double, double>* AAudioRate) {
  char text[512] = "";
  const auto &o = AOurs.Streams, &t = ATheirs.Streams;
  if (o.empty() || o.size() != t.size()) {
    std::snprintf(text, sizeof text, "%zu streams / %zu", o.size(), t.size());
    return text;
  }
  for (size_t i = 0; i < o.size(); ++i) {
    const char* type = o[i].Type.c_str();
    if (o[i].Type != t[i].Type || o[i].Codec != t[i].Codec)
      std::snprintf(text, sizeof text, "stream %zu: %s:%s / %s:%s", i, type, o[i].Codec.c_str(),
                    t[i].Type.c_str(), t[i].Codec.c_str());
    else if (!Within(o[i].Frames, t[i].Frames, 0.02))
      std::snprintf(text, sizeof text, "%s frames %.0f / %.0f", type, o[i].Frames, t[i].Frames);
    else if (!Within(o[i].Duration, t[i].Duration, 0.02))
      std::snprintf(text, sizeof text, "%s duration %.3f / %.3f s", type, o[i].Duration, t[i].Duration);
    else if (!Within(o[i].BitRate, t[i].BitRate, 0.10)) {
      if (o[i].Type == "audio" && AAudioRate) {
        *AAudioRate = {o[i].BitRate, t[i].BitRate};
        continue;
      }
      std::snprintf(text, sizeof text, "%s bit rate %.0f / %.0f", type, o[i].BitRate, t[i].BitRate);
    }
    if (text[0]) return text;
  }
  if (!Within(AOurs.Size, ATheirs.Size, 0.05))
    std::snprintf(text, sizeof text, "size %.0f / %.0f", AOurs.Size, ATheirs.Size);
  return text;
}

double AudioBitRate(const TFacts& AFacts) {
  for (const TStreamFacts& s : AFacts.Streams)
    if (s.Type == "audio") return s.BitRate;
  return 0;
}

double Median(std::vector<double> AValues) {
  if (AValues.empty()) return -1;
  std::sort(AValues.begin(), AValues.end());
  const size_t n = AValues.size();
  return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}

struct TCase {
  std::string Name;
  std::string Extension;
  TArgs Ours;                         // nerivo_convert's options
  TArgs FFmpeg;                       // the ffmpeg tool's output options
  std::vector<std::string> Inputs;    // one: a single conversion; more: a batch on four workers
  double LoopTarget, TogetherTarget;  // ours / the loop, ours / four at a time (0: none)
};

// The sides a case is timed on.
enum TSide { sdOurs, sdLoop, sdTogether };
const char* const SideNames[] = {"ours", "ffmpeg loop", "ffmpeg x4"};

bool MakeClip(const std::string& AFile, const char* ASeconds) {
  // A 720p H.264/AAC clip with film grain, so that the encoders work as on camera footage.
  return RunCommands({{"ffmpeg",
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
                       ASeconds,
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
                       AFile}},
                     1)
             .Seconds >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::string only;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--runs")
      runs = std::max(5, std::atoi(argv[++i]));
    else if (std::string(argv[i]) == "--case")
      only = argv[++i];
  }
  const std::string driver = (fs::canonical("/proc/self/exe").parent_path() / "nerivo_convert").string();
  if (!fs::exists(driver)) {
    std::fprintf(stderr, "%s is missing: build the nerivo_convert target\n", driver.c_str());
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("nerivo-transcode-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string clip = (dir / "clip720.mp4").string();
  const std::string shortClip = (dir / "clip720short.mp4").string();
  const std::string longClip = (dir / "clip720long.mp4").string();
  if (!MakeClip(clip, "10") || !MakeClip(shortClip, "4") || !MakeClip(longClip, "30")) {
    std::fprintf(stderr, "cannot make the input clips\n");
    return 1;
  }
  // H.264 at a constant quality: its average bit rate mode lands on sizes that depend on the
  // encoder's thread count, so outputs made with different counts would not compare.
  const TArgs h264Ours = {"--vcodec", "libx264", "--ext", "crf=23", "--acodec", "aac", "--ab", "128000"};
  const TArgs h264FFmpeg = {"-c:v", "libx264", "-crf", "23", "-c:a", "aac", "-b:a", "128k"};
  const TArgs mpeg4Ours = {"--vcodec", "mpeg4",      "--vb", "2000000",
                           "--acodec", "libmp3lame", "--ab", "128000"};
  const TArgs mpeg4FFmpeg = {"-c:v", "mpeg4", "-b:v", "2000k", "-c:a", "libmp3lame", "-b:a", "128k"};
  const std::vector<std::string> eightShort(8, shortClip);
  std::vector<std::string> longAmongShort(8, shortClip);
  longAmongShort[0] = longClip;
  const TCase cases[] = {
      {"H.264/AAC MP4", "mp4", h264Ours, h264FFmpeg, {clip}, 1.1, 0},
      {"MPEG-4/MP3 AVI", "avi", mpeg4Ours, mpeg4FFmpeg, {clip}, 1.1, 0},
      {"8x H.264 on 4", "mp4", h264Ours, h264FFmpeg, eightShort, 0.6, 0.9},
      {"8x MPEG-4 on 4", "avi", mpeg4Ours, mpeg4FFmpeg, eightShort, 0.6, 0.9},
      {"30s+7x4s H.264", "mp4", h264Ours, h264FFmpeg, longAmongShort, 0, 0.9},
  };

  int failures = 0;
  std::printf("%-15s %4s %8s %8s %8s %7s %7s %9s %9s %9s  %s\n", "case", "runs", "ours s", "loop s", "x4 s",
              "/loop", "/x4", "ours MiB", "loop MiB", "x4 MiB", "outputs");
  for (const TCase& c : cases) {
    if (!only.empty() && c.Name.find(only) == std::string::npos) continue;
    const bool batch = c.Inputs.size() > 1;
    TArgs ours = {driver, "--workers", batch ? "4" : "1"};
    ours.insert(ours.end(), c.Ours.begin(), c.Ours.end());
    std::vector<TArgs> theirs;
    std::vector<std::pair<std::string, std::string>> outputs;
    for (size_t j = 0; j < c.Inputs.size(); ++j) {
      const std::string o = (dir / ("ours" + std::to_string(j) + "." + c.Extension)).string();
      const std::string t = (dir / ("ffmpeg" + std::to_string(j) + "." + c.Extension)).string();
      ours.insert(ours.end(), {c.Inputs[j], o});
      TArgs command = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", c.Inputs[j]};
      command.insert(command.end(), c.FFmpeg.begin(), c.FFmpeg.end());
      command.push_back(t);
      theirs.push_back(command);
      outputs.emplace_back(o, t);
    }
    std::vector<TSide> sides = {sdOurs, sdLoop};
    if (batch) sides.push_back(sdTogether);
    std::map<TSide, std::vector<double>> times;
    std::map<TSide, long> peaks;
    std::string mismatch;
    std::pair<double, double> audioRates{0, 0};
    for (int r = 0; r < runs && mismatch.empty(); ++r) {
      // Turn which side goes first, so that none always meets a warm or a busy machine.
      std::rotate(sides.begin(), sides.begin() + r % sides.size(), sides.end());
      for (TSide side : sides) {
        for (const auto& [o, t] : outputs) fs::remove(side == sdOurs ? o : t);
        const TRun run =
            side == sdOurs ? RunCommands({ours}, 1) : RunCommands(theirs, side == sdLoop ? 1 : 4);
        if (run.Seconds < 0) {
          mismatch = std::string(SideNames[side]) + " failed";
          break;
        }
        times[side].push_back(run.Seconds);
        peaks[side] = std::max(peaks[side], run.PeakKiB);
        // The first and the last job stand for the batch.
        if (side != sdOurs)
          for (size_t j : {size_t(0), outputs.size() - 1})
            if (mismatch.empty())
              mismatch = Compare(Probe(outputs[j].first), Probe(outputs[j].second), &audioRates);
      }
    }
    if (!mismatch.empty() || times[sdOurs].empty()) {
      std::printf("%-15s %s\n", c.Name.c_str(), mismatch.empty() ? "no run" : mismatch.c_str());
      ++failures;
      continue;
    }
    const double o = Median(times[sdOurs]), loop = Median(times[sdLoop]),
                 together = Median(times[sdTogether]);
    std::string verdict = "same";
    if (audioRates.first > 0) {
      // The tool once more with the engine's audio path: decoded samples through 16 bits.
      TArgs command = theirs[0];
      command.insert(command.end() - 1, {"-af", "aformat=sample_fmts=s16"});
      command.back() = (dir / ("ffmpeg16." + c.Extension)).string();
      const bool ran = RunCommands({command}, 1).Seconds >= 0;
      const double path16 = ran ? AudioBitRate(Probe(command.back())) : 0;
      char text[256];
      std::snprintf(
          text, sizeof text, "same but audio %.0f / %.0f b/s: %s (the tool through 16 bits: %.0f b/s)",
          audioRates.first, audioRates.second,
          Within(audioRates.first, path16, 0.10) ? "the engine's 16-bit audio path" : "UNEXPLAINED", path16);
      verdict = text;
      if (!Within(audioRates.first, path16, 0.10)) ++failures;
    }
    const bool missed = (c.LoopTarget > 0 && o / loop > c.LoopTarget) ||
                        (c.TogetherTarget > 0 && together > 0 && o / together > c.TogetherTarget);
    char x4[16] = "-", byX4[16] = "-", x4Mib[16] = "-";
    if (together > 0) {
      std::snprintf(x4, sizeof x4, "%.2f", together);
      std::snprintf(byX4, sizeof byX4, "%.3f", o / together);
      std::snprintf(x4Mib, sizeof x4Mib, "%.1f", peaks[sdTogether] / 1024.0);
    }
    std::printf("%-15s %4zu %8.2f %8.2f %8s %7.3f %7s %9.1f %9.1f %9s  %s%s\n", c.Name.c_str(),
                times[sdOurs].size(), o, loop, x4, o / loop, byX4, peaks[sdOurs] / 1024.0,
                peaks[sdLoop] / 1024.0, x4Mib, verdict.c_str(), missed ? "  (above target)" : "");
    std::fflush(stdout);
  }
  std::printf(
      "targets: one conversion <= 1.1x the tool; a batch of eight <= 0.6x the loop and <= 0.9x the tool "
      "four at a time\n");
  fs::remove_all(dir);
  return failures == 0 ? 0 : 1;
}
