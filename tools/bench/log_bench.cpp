// A log memo under load: lines added one at a time to a shown memo (the product look, word wrap on,
// as the main window's log), with a paint of what the memo shows after each line of a sample. A
// memo of half the size grows to 1 000 and to 100 000 lines; the bench prints the lines per second
// (an add and a paint), the time of each and the growth of the per-line time from the small log to
// the large one (a memo that grows by a line should cost that line, not the whole text: expected
// within 1.5x). Each size runs to its end or for ten seconds, alternately and repeated; medians.
// Not a test: nothing is asserted; the verdict is printed.
//   log_bench [rounds]           (3 by default)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/stdctrls/memo.h"
#include "tools/bench/procstatus.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr Integer Sampled = 400;         // lines painted at each size
constexpr double TimeLimitSeconds = 10;  // at most, at each size, when adding is that slow

double secondsSince(TClock::time_point Start) {
  return std::chrono::duration<double>(TClock::now() - Start).count();
}

// An engine progress line as the main window logs it.
String logLine(Integer I) {
  char Text[160];
  std::snprintf(Text, sizeof Text,
                "#140%03d.32: frame=%5d fps= 45 q=28.0 size=%8dkB time=00:00:%05.2f bitrate=1703.4kbits/s",
                int(I % 1000), int(I), int(I * 7), double(I % 6000) / 100);
  return Text;
}

struct TSample {
  Integer Added = 0, Painted = 0;
  double AddSeconds = 0, PaintSeconds = 0;
  double AddMs() const { return 1000 * AddSeconds / std::max<Integer>(1, Added); }
  double PaintMs() const { return 1000 * PaintSeconds / std::max<Integer>(1, Painted); }
};

// A memo holding Size / 2 lines (added in one update) that grows to Size lines one line at a time:
// the time of every add (so the growth of the text's storage is paid as it comes) and of a paint
// after every line of a sample of about Sampled lines.
TSample run(Integer Size) {
  TForm* Form;
  Application->CreateForm(Form);
  Form->SetBounds(0, 0, 840, 480);
  Form->Show();
  auto* Memo = new TMemo(Form);
  Memo->SetBounds(10, 10, 800, 420);
  Memo->SetParent(Form);
  Memo->SetReadOnly(true);
  TStrings* Lines = Memo->Lines();
  Lines->BeginUpdate();
  for (Integer I = 0; I < Size / 2; ++I) Lines->Add(logLine(I));
  Lines->EndUpdate();
  UpdateWindow(Memo->Handle());
  TSample S;
  const Integer Stride = std::max<Integer>(1, (Size - Size / 2) / Sampled);
  for (Integer I = Size / 2; I < Size && S.AddSeconds + S.PaintSeconds < TimeLimitSeconds; ++I) {
    const String Line = logLine(I);
    TClock::time_point Start = TClock::now();
    Lines->Add(Line);
    S.AddSeconds += secondsSince(Start);
    ++S.Added;
    if (I % Stride != 0) continue;
    Start = TClock::now();
    UpdateWindow(Memo->Handle());
    S.PaintSeconds += secondsSince(Start);
    ++S.Painted;
  }
  if (Lines->Count() != Size / 2 + S.Added) std::fprintf(stderr, "the memo lost lines\n");
  delete Form;
  return S;
}

double median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int Rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  new TScreen(nullptr);
  new TApplication(nullptr);
  run(2 * Sampled);  // warm-up: fonts, caches
  const Integer Sizes[] = {1000, 100000};
  std::vector<double> Add[2], Paint[2], Both[2];
  for (int R = 0; R < Rounds; ++R)
    for (int K = 0; K < 2; ++K) {
      const int Which = R % 2 == 0 ? K : 1 - K;  // alternate which size goes first
      const TSample S = run(Sizes[Which]);
      Add[Which].push_back(S.AddMs());
      Paint[Which].push_back(S.PaintMs());
      Both[Which].push_back(S.AddMs() + S.PaintMs());
    }
  double Ms[2];
  for (int K = 0; K < 2; ++K) {
    Ms[K] = median(Both[K]);
    std::printf(
        "memo of %6d lines: %9.0f lines/s (%8.3f ms per line: add %8.3f, paint %6.3f; medians of %d)\n",
        int(Sizes[K]), 1000 / Ms[K], Ms[K], median(Add[K]), median(Paint[K]), Rounds);
  }
  const double Growth = Ms[1] / Ms[0];
  std::printf("per-line cost 100000 / 1000 lines = %.2fx -> %s\n", Growth,
              Growth <= 1.5 ? "flat (within 1.5x)" : "GROWS WITH THE LOG");
  std::printf("peak memory of the process: %.1f MiB\n", statusKiB("VmHWM:") / 1024.0);
  delete Application;
  delete Screen;
  return 0;
}
