// What SDL needs around its start: the drivers it reads from the environment, and a connection to
// the X display that keeps the server from resetting while SDL's video driver opens its own.
#include <chrono>
#include <mutex>
#include <thread>

#include "engine/player/playerstages.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/environment.h"

// ---- drivers ----

namespace {

// The player's driver choices in SDL's names on this system. "DDraw" drew straight into the video
// hardware: the X server's direct access (DGA); "GDI" drew through the window system: X11.
// "DSound" played straight to the device: ALSA; "waveOut" through the system's mixer: PulseAudio.
const char* const VideoDriverNames[] = {nullptr, "dga", "x11"};
const char* const AudioDriverNames[] = {nullptr, "alsa", "pulse"};

// One of SDL's driver variables. The player sets it for a chosen driver and gives back what it held
// before (unset: SDL's own choice) for the default, unless someone else changed it meanwhile.
struct TDriverVariable {
  explicit TDriverVariable(const char* AName) : Name(AName) {}
  const char* Name;
  bool Ours = false;  // the value now set is the player's choice
  bool HadBefore = false;
  String Before, Chosen;
};

TDriverVariable VideoVariable("SDL_VIDEODRIVER");
TDriverVariable AudioVariable("SDL_AUDIODRIVER");
std::mutex DriverLock;

void ChooseDriver(TDriverVariable& AVariable, const char* ADriver) {
  const bool set = EnvironmentVariableExists(AVariable.Name);
  const String now = GetEnvironmentVariable(AVariable.Name);
  if (AVariable.Ours && (!set || now != AVariable.Chosen)) AVariable.Ours = false;
  if (ADriver) {
    if (!AVariable.Ours) {
      AVariable.HadBefore = set;
      AVariable.Before = now;
      AVariable.Ours = true;
    }
    AVariable.Chosen = ADriver;
    SetEnvironmentVariable(AVariable.Name, ADriver);
    return;
  }
  if (!AVariable.Ours) return;
  if (AVariable.HadBefore)
    SetEnvironmentVariable(AVariable.Name, AVariable.Before);
  else
    DeleteEnvironmentVariable(AVariable.Name);
  AVariable.Ours = false;
}

}  // namespace

void ChooseSDLDrivers(TVideoDriver AVideo, TAudioDriver AAudio) {
  std::lock_guard<std::mutex> hold(DriverLock);
  ChooseDriver(VideoVariable, VideoDriverNames[AVideo]);
  ChooseDriver(AudioVariable, AudioDriverNames[AAudio]);
}

// ---- the X display ----

namespace {

// Xlib's two calls, bound at run time: the engine includes no X header.
struct TXlib {
  int (*InitThreads)() = nullptr;
  void* (*OpenDisplay)(const char*) = nullptr;
  int (*CloseDisplay)(void*) = nullptr;
};

const TXlib& Xlib() {
  static const TXlib lib = [] {
    TXlib x;
    // Never unloaded: SDL's video driver uses the same library.
    if (HMODULE module = LoadLibrary("libX11.so.6", true)) {
      x.InitThreads = reinterpret_cast<int (*)()>(GetProcAddress(module, "XInitThreads"));
      x.OpenDisplay = reinterpret_cast<void* (*)(const char*)>(GetProcAddress(module, "XOpenDisplay"));
      x.CloseDisplay = reinterpret_cast<int (*)(void*)>(GetProcAddress(module, "XCloseDisplay"));
      // As the window layer does, before the process's first connection: SDL's threads share it.
      if (x.InitThreads) x.InitThreads();
      if (!x.OpenDisplay || !x.CloseDisplay) x = TXlib{};
    }
    return x;
  }();
  return lib;
}

// Whether SDL's video driver will connect to the X display.
bool SDLUsesXDisplay() {
  if (GetEnvironmentVariable("DISPLAY").empty()) return false;
  const String driver = GetEnvironmentVariable("SDL_VIDEODRIVER");
  return driver.empty() || driver == "x11" || driver == "dga";
}

constexpr Integer HoldAttempts = 100;
constexpr auto HoldRetryPause = std::chrono::milliseconds(10);

}  // namespace

TDisplayHold::TDisplayHold() {
  if (!SDLUsesXDisplay()) return;
  const TXlib& x = Xlib();
  if (!x.OpenDisplay) return;
  // A server resetting after its last client left drops connections for a moment.
  for (Integer attempt = 0; attempt < HoldAttempts && !FDisplay; ++attempt) {
    FDisplay = x.OpenDisplay(nullptr);
    if (!FDisplay) std::this_thread::sleep_for(HoldRetryPause);
  }
}

TDisplayHold::~TDisplayHold() {
  if (FDisplay) Xlib().CloseDisplay(FDisplay);
}
