// The job list under load: a report list view of 25 columns (the job list's layout) on the headless
// window layer. For 10 000 and 100 000 rows, held by the list and as owner data, it times adding the
// rows and painting the visible page, then, at each size, selecting a row, scrolling by a page and
// repainting. Prints the time and memory per row, the growth of the per-row cost from 10 000 to
// 100 000 rows (expected within 1.5x) and whether each interaction stays under one frame (16 ms).
// Not a test: nothing is asserted; the verdicts are printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "tools/bench/procstatus.h"

namespace {

using TClock = std::chrono::steady_clock;

double msSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

TListView* newJobList(TForm* Form) {
  auto* LV = new TListView(Form);
  LV->SetBounds(10, 10, 800, 420);
  LV->SetViewStyle(vsReport);
  LV->SetRowSelect(true);
  LV->SetGridLines(true);
  LV->SetReadOnly(true);
  LV->SetHideSelection(false);
  LV->SetParent(Form);
  for (Integer i = 0; i < 25; ++i) {
    TListColumn* C = LV->Columns()->Add();
    C->SetCaption("列" + std::to_string(i));
    C->SetWidth(i < 8 && i != 5 ? 80 : 0);
    if (C->Width() == 0) C->SetMaxWidth(1);
  }
  return LV;
}

void paintNow(TListView* LV) {
  LV->Invalidate();
  UpdateWindow(LV->Handle());
}

struct TLoad {
  double AddMs = 0;
  double PaintMs = 0;
  double KiBPerRow = 0;
  double SelectMs = 0, ScrollMs = 0, RepaintMs = 0;
};

// The worst of a few repetitions of one interaction.
template <class F>
double worstOf(F&& Work) {
  double Worst = 0;
  for (int i = 0; i < 5; ++i) {
    const auto T = TClock::now();
    Work(i);
    Worst = std::max(Worst, msSince(T));
  }
  return Worst;
}

TLoad run(Integer Rows, bool OwnerData) {
  TForm* Form;
  Application->CreateForm(Form);
  Form->SetBounds(0, 0, 840, 480);
  Form->Show();
  TListView* LV = newJobList(Form);
  const std::string Sub = "00:01:00";
  TLoad L;
  const long RssBefore = statusKiB("VmRSS:");
  auto T = TClock::now();
  if (OwnerData) {
    LV->SetOwnerData(true);
    LV->OnData = [&](TObject*, TListItem* Item) {
      Item->SetCaption("/home/用户/视频/clip" + std::to_string(Item->Index()) + ".avi");
      for (Integer k = 0; k < 24; ++k) Item->SubItems()->Add(k < 7 ? Sub : std::string());
    };
    LV->Items()->SetCount(Rows);
  } else {
    LV->Items()->BeginUpdate();
    for (Integer i = 0; i < Rows; ++i) {
      TListItem* Item = LV->Items()->Add();
      Item->SetCaption("/home/用户/视频/clip" + std::to_string(i) + ".avi");
      for (Integer k = 0; k < 24; ++k) Item->SubItems()->Add(k < 7 ? Sub : std::string());
    }
    LV->Items()->EndUpdate();
  }
  L.AddMs = msSince(T);
  T = TClock::now();
  paintNow(LV);
  L.PaintMs = msSince(T);
  L.KiBPerRow = double(statusKiB("VmRSS:") - RssBefore) / Rows;

  L.SelectMs = worstOf([&](int i) { LV->SetItemIndex(Rows / 2 + i * 97); });
  L.ScrollMs = worstOf([&](int) { SendMessage(LV->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0); });
  L.RepaintMs = worstOf([&](int) { paintNow(LV); });
  delete Form;
  return L;
}

void report(const char* Kind, Integer Rows, const TLoad& L) {
  std::printf("%-10s %7d rows  add+paint %8.1f ms (%6.3f us/row, paint %5.2f ms)  memory %6.2f KiB/row\n",
              Kind, Rows, L.AddMs + L.PaintMs, 1000.0 * (L.AddMs + L.PaintMs) / Rows, L.PaintMs, L.KiBPerRow);
  std::printf(
      "%-10s %7d rows  select %6.3f ms  page scroll %6.3f ms  repaint %6.3f ms  -> %s\n", Kind, Rows,
      L.SelectMs, L.ScrollMs, L.RepaintMs,
      std::max({L.SelectMs, L.ScrollMs, L.RepaintMs}) < 16.0 ? "under one frame" : "SLOWER THAN A FRAME");
}

}  // namespace

int main() {
  new TScreen(nullptr);
  new TApplication(nullptr);
  for (bool OwnerData : {false, true}) {
    const char* Kind = OwnerData ? "owner data" : "full list";
    run(2000, OwnerData);  // warm-up: fonts, caches
    const TLoad Small = run(10000, OwnerData);
    const TLoad Large = run(100000, OwnerData);
    report(Kind, 10000, Small);
    report(Kind, 100000, Large);
    const double PerRowSmall = (Small.AddMs + Small.PaintMs) / 10000;
    const double PerRowLarge = (Large.AddMs + Large.PaintMs) / 100000;
    const double Growth = PerRowLarge / PerRowSmall;
    std::printf("%-10s per-row cost 100000 / 10000 = %.2fx -> %s\n", Kind, Growth,
                Growth <= 1.5 ? "flat (within 1.5x)" : "GROWS");
  }
  std::printf("peak memory of the process: %ld KiB\n", statusKiB("VmHWM:"));
  delete Application;
  delete Screen;
  return 0;
}
