#include "engine/base/alsaerrors.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "engine/base/engineutils.h"
#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/dynlib.h"

namespace {

// alsa-lib's prototypes (asoundlib.h), written here so that no ALSA header is needed.
using TAlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt,
                                   ...);
using TSetErrorHandler = int (*)(TAlsaErrorHandler handler);
using TStrError = const char* (*)(int errnum);

TStrError GStrError = nullptr;

// The handler: one report, formatted as alsa-lib's own handler prints it, becomes one log line.
extern "C" void alsaError(const char* file, int line, const char* function, int err, const char* fmt, ...) {
  char where[512];
  std::snprintf(where, sizeof where, "ALSA lib %s:%d:(%s) ", file ? file : "?", line,
                function ? function : "?");
  char text[1024] = {};
  va_list args;
  va_start(args, fmt);
  std::vsnprintf(text, sizeof text, fmt ? fmt : "", args);
  va_end(args);
  String message = String(where) + text;
  if (err != 0 && GStrError) message += String(": ") + GStrError(err);
  // ALSA reports from whichever thread opens a device, perhaps while the main thread waits for that
  // thread (a sound being stopped, the player closing): the line is handed over without waiting.
  TMainThreadWaitBan noWait;
  GetFFLogger()->Log(nullptr, llError, message);
}

}  // namespace

bool RouteAlsaErrors() {
  static std::once_flag once;
  static bool routed = false;
  std::call_once(once, [] {
    // Kept loaded for the life of the process: the handler must outlive every ALSA call.
    HMODULE alsa = LoadLibrary("libasound.so.2", true);
    if (!alsa) return;
    auto setHandler = reinterpret_cast<TSetErrorHandler>(GetProcAddress(alsa, "snd_lib_error_set_handler"));
    GStrError = reinterpret_cast<TStrError>(GetProcAddress(alsa, "snd_strerror"));
    routed = setHandler && setHandler(&alsaError) == 0;
  });
  return routed;
}
