// Start-up of the main window: from the process's first instruction of main to the first painted
// main window, with the product skin and with no skin loaded, headless and (when DISPLAY is set) on
// the X display. Each run is its own process, the two cases alternating; prints the median time and
// the median peak resident memory of each case and the skin's share. Not a test: nothing is asserted.
//   startup_bench [runs]         (run it under Xvfb as well to get the X rows)
#include <sys/resource.h>
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
#include "platform/rtl/files.h"
#include "platform/ui/core/application.h"
#include "platform/win/win.h"
#if NERIVO_X11
#include "platform/win/backends/x11/x11_backend.h"
#endif

namespace {

using TClock = std::chrono::steady_clock;

// One start in this process: prints "<ms> <peak KiB> <processor ms>".
int StartOnce(bool WithSkin, bool OnDisplay) {
  const TClock::time_point Start = TClock::now();
#if NERIVO_X11
  if (OnDisplay) WinSetBackend(CreateDefaultBackend());
#else
  if (OnDisplay) return 2;
#endif
  Application->Initialize();
  const String Skin = WithSkin ? ProgramDir() + "../../bin/skin/nerivo.skn" : String();
  auto* Form = new TForm1(Application, TOptionFile(std::getenv("HOME") + String("/option.ini")), Skin);
  Form->AfterConstruction();
  Form->Show();
  Application->ProcessMessages();
  UpdateWindow(Form->Handle());
  const double Ms = std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  const double CpuMs = 1000.0 * (Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec) +
                       (Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1000.0;
  std::printf("%.1f %ld %.1f\n", Ms, Usage.ru_maxrss, CpuMs);
  std::fflush(stdout);
  std::_Exit(0);  // the measurement is done; tearing the windows down is not part of it
}

struct TRun {
  double Ms = -1;
  long KiB = -1;
  double CpuMs = -1;  // user and system time: steadier than the wall time on a busy machine
};

TRun Measure(const std::string& Self, const char* Skin, const char* Where, const std::string& Home) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return {};
  const pid_t Child = fork();
  if (Child == 0) {
    dup2(Pipe[1], 1);
    close(Pipe[0]);
    setenv("HOME", Home.c_str(), 1);
    execl(Self.c_str(), Self.c_str(), "--start", Skin, Where, nullptr);
    _exit(127);
  }
  close(Pipe[1]);
  char Buffer[128] = {};
  const ssize_t N = read(Pipe[0], Buffer, sizeof Buffer - 1);
  close(Pipe[0]);
  int Status = 0;
  waitpid(Child, &Status, 0);
  TRun R;
  if (N > 0 && WIFEXITED(Status) && WEXITSTATUS(Status) == 0)
    std::sscanf(Buffer, "%lf %ld %lf", &R.Ms, &R.KiB, &R.CpuMs);
  return R;
}

template <class T>
T Median(std::vector<T> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--start")
    return StartOnce(std::string(argv[2]) == "skin", std::string(argv[3]) == "x11");
  const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  char Self[4096];
  const ssize_t Len = readlink("/proc/self/exe", Self, sizeof Self - 1);
  if (Len <= 0) return 2;
  Self[Len] = 0;
  const std::string Home =
      std::filesystem::temp_directory_path() / ("startup_bench." + std::to_string(getpid()));
  std::filesystem::create_directories(Home);
  std::vector<const char*> Places = {"headless"};
  if (std::getenv("DISPLAY") != nullptr) Places.push_back("x11");
  int Result = 0;
  for (const char* Where : Places) {
    TRun Cases[2];
    const char* Names[2] = {"skin", "plain"};
    std::vector<double> Ms[2];
    std::vector<long> KiB[2];
    std::vector<double> Cpu[2];
    // The two cases alternate, so that neither always meets a warm or a busy machine.
    for (int I = 0; I < Runs; ++I)
      for (int K = 0; K < 2; ++K) {
        const int C = I % 2 == 0 ? K : 1 - K;
        const TRun R = Measure(Self, Names[C], Where, Home);
        if (R.Ms < 0) {
          std::fprintf(stderr, "%s start (%s) failed\n", Names[C], Where);
          Result = 1;
          continue;
        }
        Ms[C].push_back(R.Ms);
        KiB[C].push_back(R.KiB);
        Cpu[C].push_back(R.CpuMs);
      }
    for (int C = 0; C < 2; ++C) {
      if (Ms[C].empty()) continue;
      Cases[C] = {Median(Ms[C]), Median(KiB[C]), Median(Cpu[C])};
      std::printf(
          "%-8s %-5s: first painted main window after %7.1f ms (processor %6.1f ms), peak memory %6.1f MiB\n",
          Where, Names[C], Cases[C].Ms, Cases[C].CpuMs, Cases[C].KiB / 1024.0);
    }
    if (Cases[0].Ms > 0 && Cases[1].Ms > 0)
      std::printf("%-8s skin's share: +%.1f ms (x%.2f; processor x%.2f), +%.1f MiB\n", Where,
                  Cases[0].Ms - Cases[1].Ms, Cases[0].Ms / Cases[1].Ms, Cases[0].CpuMs / Cases[1].CpuMs,
                  (Cases[0].KiB - Cases[1].KiB) / 1024.0);
  }
  std::filesystem::remove_all(Home);
  return Result;
}
