// Adding a folder of files to the job list: the main window's folder add (each file probed, made a
// task and a row) against an ffprobe loop over the same files. The files are hard links of one
// generated 1 s clip. Headless; prints both times, the time per file and the ratio. Not a test:
// nothing is asserted.
//   add_bench [files]            (1000 by default)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/main/mainform/mainform.h"
#include "engine/component/ffmpegconverter.h"
#include "platform/ui/comctrls/listview.h"
#include "platform/ui/core/application.h"
#include "platform/ui/stdctrls/button.h"
#include "platform/win/testkit/testkit.h"
#include "skin/controls/views/bsskinlistview.h"
#include "skin/dialogs/bsskinselectdirectorydialog.h"

namespace {

using TWallClock = std::chrono::steady_clock;

double SecondsSince(TWallClock::time_point Start) {
  return std::chrono::duration<double>(TWallClock::now() - Start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int Count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::filesystem::path Root =
      std::filesystem::temp_directory_path() / ("add_bench." + std::to_string(getpid()));
  const std::filesystem::path Inputs = Root / "in";
  std::filesystem::create_directories(Inputs);
  setenv("HOME", Root.c_str(), 1);
  const std::string Clip = (Root / "clip.avi").string();
  if (std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i "
                   "sine=r=44100 -t 1 -c:v mpeg4 -c:a mp2 '" +
                   Clip + "'")
                      .c_str()) != 0) {
    std::fprintf(stderr, "the ffmpeg tool could not make the clip\n");
    return 2;
  }
  for (int I = 0; I < Count; ++I)
    std::filesystem::create_hard_link(Clip, Inputs / ("clip" + std::to_string(I) + ".avi"));

  Application->Initialize();
  auto* Form = new TForm1(Application, TOptionFile((Root / "option.ini").string()), String());
  Form->AfterConstruction();
  Form->bsSkinSelectDirectoryDialog1->SetDirectory(Inputs.string());
  wintest::OnNextModalLoop([] { wintest::KeyPress(VK_RETURN, 13); });
  TWallClock::time_point Start = TWallClock::now();
  Form->Button12->Click();
  const double Ours = SecondsSince(Start);
  const Integer Rows = Form->lvFiles->Items()->Count();

  Start = TWallClock::now();
  for (int I = 0; I < Count; ++I) {
    const std::string File = (Inputs / ("clip" + std::to_string(I) + ".avi")).string();
    if (std::system(("ffprobe -v error -show_format -show_streams '" + File + "' >/dev/null").c_str()) != 0) {
      std::fprintf(stderr, "ffprobe failed on %s\n", File.c_str());
      break;
    }
  }
  const double Theirs = SecondsSince(Start);
  std::printf(
      "adding %d files: %.2f s (%.2f ms per file, %d rows); ffprobe loop: %.2f s (%.2f ms per file); ratio "
      "%.2f\n",
      Count, Ours, 1000 * Ours / Count, int(Rows), Theirs, 1000 * Theirs / Count, Ours / Theirs);
  Form->ZUVER->Stop(true);
  std::filesystem::remove_all(Root);
  std::fflush(stdout);
  std::_Exit(Rows == Count ? 0 : 1);
}
