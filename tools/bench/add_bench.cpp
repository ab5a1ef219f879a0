// Adding a folder of files to the job list: the main window's folder add (each file probed, made a
// task and a row, its report logged) against an ffprobe loop over the same files. Folders of 50,
// 200, 500 and 10 000 files, hard links of one generated 1 s clip; the list takes 501 rows, so the
// largest folder adds 501 files and refuses the rest. Each add is a fresh process, headless; the
// two sides alternate, repeated; medians. Prints, per folder, the cost per file added (the time
// over the rows the list gained, not over the files offered), its growth against the 50-file
// folder, the ffprobe loop's cost per file (over the first 501 files of the folder at most) and the
// ratio of the two. Not a test: nothing is asserted; the verdicts are printed.
//   add_bench [runs [files...]]  (5 runs, and the four folders, by default)
//   add_bench --add FOLDER       (one add in this process: prints "<seconds> <rows>")
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main/mainform/mainform.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/win/testkit/testkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using TWallClock = std::chrono::steady_clock;

constexpr int MostRows = 501;

double SecondsSince(TWallClock::time_point Start) {
  return std::chrono::duration<double>(TWallClock::now() - Start).count();
}

// The add in this process, as a person starts it: the folder chosen in the dialog, Enter.
int AddOnce(const std::string& Folder) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Application->Initialize();
  auto* Form = new TForm1(Application, TOptionFile((fs::path(Folder).parent_path() / "option.ini").string()),
                          String());
  Form->AfterConstruction();
  Form->bsSkinSelectDirectoryDialog1->SetDirectory(Folder);
  // Enter in the dialog, and in the add's report when files were refused (a folder over the list's
  // limit): the box waits for the person like the dialog does.
  const auto Enter = [] { wintest::KeyPress(VK_RETURN, 13); };
  wintest::OnNextModalLoops({Enter, Enter});
  const TWallClock::time_point Start = TWallClock::now();
  Form->Button12->Click();
  const double Seconds = SecondsSince(Start);
  std::printf("%.6f %d\n", Seconds, int(Form->lvFiles->Items()->Count()));
  std::fflush(stdout);
  std::_Exit(0);  // the measurement is done; tearing the window down is not part of it
}

// Runs a command with its output thrown away; its reading of stdout when Output is given.
bool Run(const std::vector<std::string>& Command, std::string* Output = nullptr) {
  int Pipe[2] = {-1, -1};
  if (Output && pipe(Pipe) != 0) return false;
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  if (Output) {
    posix_spawn_file_actions_adddup2(&Actions, Pipe[1], 1);
    posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
  } else {
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> Argv;
  for (const std::string& A : Command) Argv.push_back(const_cast<char*>(A.c_str()));
  Argv.push_back(nullptr);
  pid_t Pid = 0;
  const int Spawned = posix_spawnp(&Pid, Argv[0], &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Output) {
    close(Pipe[1]);
    char Buffer[256];
    ssize_t N;
    while (Spawned == 0 && (N = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Output->append(Buffer, size_t(N));
    close(Pipe[0]);
  }
  if (Spawned != 0) return false;
  int Status = 0;
  waitpid(Pid, &Status, 0);
  return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

struct TAdd {
  double Seconds = -1;
  int Rows = 0;
};

TAdd AddInChild(const std::string& Self, const std::string& Folder) {
  std::string Output;
  TAdd A;
  if (Run({Self, "--add", Folder}, &Output)) std::sscanf(Output.c_str(), "%lf %d", &A.Seconds, &A.Rows);
  return A;
}

// Seconds per file of ffprobe over the first Count files of the folder.
double FFprobePerFile(const fs::path& Folder, int Count) {
  const TWallClock::time_point Start = TWallClock::now();
  for (int I = 0; I < Count; ++I)
    if (!Run({"ffprobe", "-v", "error", "-show_format", "-show_streams",
              (Folder / ("clip" + std::to_string(I) + ".avi")).string()}))
      return -1;
  return SecondsSince(Start) / Count;
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V.empty() ? -1 : V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--add") return AddOnce(argv[2]);
  const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string Self = fs::canonical("/proc/self/exe").string();
  const fs::path Root = fs::temp_directory_path() / ("add_bench." + std::to_string(getpid()));
  fs::create_directories(Root);
  setenv("HOME", Root.c_str(), 1);
  const std::string Clip = (Root / "clip.avi").string();
  if (!Run({"ffmpeg",       "-nostdin", "-loglevel",
            "error",        "-y",       "-f",
            "lavfi",        "-i",       "testsrc=size=320x240:rate=25",
            "-f",           "lavfi",    "-i",
            "sine=r=44100", "-t",       "1",
            "-c:v",         "mpeg4",    "-c:a",
            "mp2",          Clip})) {
    std::fprintf(stderr, "the ffmpeg tool could not make the clip\n");
    return 2;
  }
  std::vector<int> Sizes = {50, 200, 500, 10000};
  if (argc > 2) {
    Sizes.clear();
    for (int I = 2; I < argc; ++I) Sizes.push_back(std::max(1, std::atoi(argv[I])));
  }
  std::printf("%6s %5s %4s %10s %12s %8s %14s %7s\n", "files", "rows", "runs", "ours (s)", "ms per row",
              "growth", "ffprobe ms/file", "ratio");
  double FirstPerRow = -1, PerRow500 = -1, PerRowLargest = -1, WorstRatio = 0;
  int Result = 0;
  for (const int Size : Sizes) {
    const fs::path Folder = Root / ("in" + std::to_string(Size));
    fs::create_directories(Folder);
    for (int I = 0; I < Size; ++I) fs::create_hard_link(Clip, Folder / ("clip" + std::to_string(I) + ".avi"));
    const int Probed = std::min(Size, MostRows);
    std::vector<double> Ours, PerRow, Theirs;
    int Rows = 0;
    for (int R = 0; R < Runs; ++R) {
      // Alternate which side goes first, so that neither always meets a warm or a busy machine.
      for (int Side = 0; Side < 2; ++Side) {
        if ((Side == 0) == (R % 2 == 0)) {
          const TAdd A = AddInChild(Self, Folder.string());
          if (A.Seconds < 0 || A.Rows == 0) {
            std::fprintf(stderr, "the add of %d files failed\n", Size);
            Result = 1;
            continue;
          }
          Rows = A.Rows;
          Ours.push_back(A.Seconds);
          PerRow.push_back(A.Seconds / A.Rows);
        } else {
          const double T = FFprobePerFile(Folder, Probed);
          if (T > 0) Theirs.push_back(T);
        }
      }
    }
    fs::remove_all(Folder);
    if (Ours.empty() || Theirs.empty()) continue;
    const double Row = Median(PerRow), Probe = Median(Theirs);
    if (FirstPerRow < 0) FirstPerRow = Row;
    if (Size == 500) PerRow500 = Row;
    if (Size > 500) PerRowLargest = Row;
    WorstRatio = std::max(WorstRatio, Row / Probe);
    std::printf("%6d %5d %4d %10.2f %12.2f %7.2fx %14.2f %7.3f%s\n", Size, Rows, Runs, Median(Ours),
                1000 * Row, Row / FirstPerRow, 1000 * Probe, Row / Probe,
                Rows == std::min(Size, MostRows) ? "" : "  (rows missing)");
    std::fflush(stdout);
  }
  if (FirstPerRow > 0 && PerRow500 > 0)
    std::printf("per-row cost 500 / 50 files = %.2fx -> %s\n", PerRow500 / FirstPerRow,
                PerRow500 / FirstPerRow <= 1.2 ? "flat (within 1.2x)" : "GROWS WITH THE LIST");
  if (PerRow500 > 0 && PerRowLargest > 0)
    std::printf("per-row cost of the largest folder / 500 files = %.2fx -> %s\n", PerRowLargest / PerRow500,
                PerRowLargest / PerRow500 <= 1.2 ? "no longer per row" : "LONGER PER ROW");
  if (WorstRatio > 0)
    std::printf("highest ratio to the ffprobe loop: %.3f -> %s\n", WorstRatio,
                WorstRatio < 0.2 ? "under 0.2x" : "NOT UNDER 0.2x");
  fs::remove_all(Root);
  return Result;
}
