// clang-format off
#include "platform/win/backends/x11/testkit/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

// Last: Xlib's macros (None, Bool, Status, ...) must not reach the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

extern char** environ;

namespace x11test {

TXvfb::TXvfb(const String& screenSize, bool resetWhenIdle) {
  int fds[2];
  if (pipe(fds) != 0) return;
  String fd = std::to_string(fds[1]);
  const char* args[] = {"Xvfb",
                        "-displayfd",
                        fd.c_str(),
                        "-screen",
                        "0",
                        screenSize.c_str(),
                        "-nolisten",
                        "tcp",
                        "-br",
                        "-nocursor",
                        resetWhenIdle ? nullptr : "-noreset",
                        nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(args), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return;
  }
  FPid = pid;
  // The number arrives once the server listens.
  String number;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1) break;
    if (c == '\n') {
      FName = ":" + number;
      break;
    }
    number += c;
  }
  close(fds[0]);
}

TXvfb::~TXvfb() {
  if (FPid > 0) {
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
}

TScreenReader::TScreenReader(const String& displayName) {
  FDisplay = XOpenDisplay(displayName.c_str());
}

TScreenReader::~TScreenReader() {
  if (FDisplay != nullptr) XCloseDisplay(static_cast<Display*>(FDisplay));
}

uint32_t TScreenReader::Pixel(Integer x, Integer y) {
  TRawImage one = Capture(Bounds(x, y, 1, 1));
  if (one.Empty()) return 0xFFFFFFFF;
  const Byte* p = one.Row(0);
  return uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
}

TRawImage TScreenReader::Capture(const TRect& area) {
  TRawImage result;
  if (FDisplay == nullptr || area.Width() <= 0 || area.Height() <= 0) return result;
  auto* display = static_cast<Display*>(FDisplay);
  XSync(display, False);
  XImage* image = XGetImage(display, DefaultRootWindow(display), area.Left, area.Top, unsigned(area.Width()),
                            unsigned(area.Height()), AllPlanes, ZPixmap);
  if (image == nullptr) return result;
  result.Allocate(area.Width(), area.Height(), 24);
  for (Integer y = 0; y < area.Height(); ++y) {
    Byte* row = result.Row(y);
    for (Integer x = 0; x < area.Width(); ++x) {
      unsigned long v = XGetPixel(image, x, y);  // 0xRRGGBB on a 24-bit screen
      row[x * 3 + 0] = Byte(v & 0xFF);
      row[x * 3 + 1] = Byte((v >> 8) & 0xFF);
      row[x * 3 + 2] = Byte((v >> 16) & 0xFF);
    }
  }
  XDestroyImage(image);
  return result;
}

void SaveBesideProgram(const TRawImage& shot, const String& fileName) {
  const std::vector<Byte> png = EncodePng(shot);
  std::ofstream(std::filesystem::read_symlink("/proc/self/exe").parent_path() / fileName, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

}  // namespace x11test
