#include "engine/base/ffmpegloader.h"

#include <signal.h>

#include "engine/base/alsaerrors.h"
#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/sdlstubs.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

const TLibraryItem LibraryTable[LibraryCount] = {
    {avCodec, "avcodec", 59, AVCodecStubs::Fixup, AVCodecStubs::Unfix},
    {avDevice, "avdevice", 59, AVDeviceStubs::Fixup, AVDeviceStubs::Unfix},
    {avFilter, "avfilter", 8, AVFilterStubs::Fixup, AVFilterStubs::Unfix},
    {avFormat, "avformat", 59, AVFormatStubs::Fixup, AVFormatStubs::Unfix},
    {avUtil, "avutil", 57, AVUtilStubs::Fixup, AVUtilStubs::Unfix},
    {swScale, "swscale", 6, SwScaleStubs::Fixup, SwScaleStubs::Unfix},
    {swResample, "swresample", 4, SwResampleStubs::Fixup, SwResampleStubs::Unfix},
    {myUtil, "c", 6, MyUtilStubs::Fixup, MyUtilStubs::Unfix},
    {lbSDL, "SDL-1.2", 0, libsdl::Fixup, libsdl::Unfix},
};

namespace {

TLibraryStatus GStatus[LibraryCount] = {
    {avCodec, "", nullptr, false},    {avDevice, "", nullptr, false}, {avFilter, "", nullptr, false},
    {avFormat, "", nullptr, false},   {avUtil, "", nullptr, false},   {swScale, "", nullptr, false},
    {swResample, "", nullptr, false}, {myUtil, "", nullptr, false},   {lbSDL, "", nullptr, false}};
String GLastErrMsg;
TPathFileName GLibraryPath;
TFFmpegLoader* GLoader = nullptr;
TCriticalSection* GCodecLock = nullptr;

void AssertNotEmpty(TLibraries ALibraries, Integer ALine) {
  if (ALibraries.Empty())
    throw EAssertionFailed(Format(SAssertError, "Assertion failure", "FFmpegLoader", ALine));
}

// The floating-point mode in effect before start-up, put back at shutdown.
struct TFPUMode {
  unsigned short X87 = 0;
  unsigned MXCSR = 0;
};

TFPUMode SaveAndMaskFPU() {
  TFPUMode saved;
#if defined(__x86_64__)
  __asm__ __volatile__("fnstcw %0" : "=m"(saved.X87));
  saved.MXCSR = _mm_getcsr();
  // Every exception masked (invalid, denormal, zero divide, overflow, underflow, precision),
  // 64-bit mantissa, round to nearest.
  const unsigned short x87 = 0x133F;
  __asm__ __volatile__("fldcw %0" : : "m"(x87));
  _mm_setcsr((saved.MXCSR & ~0x6000u) | 0x1F80u);
#endif
  return saved;
}

void RestoreFPU(const TFPUMode& AMode) {
#if defined(__x86_64__)
  __asm__ __volatile__("fldcw %0" : : "m"(AMode.X87));
  _mm_setcsr(AMode.MXCSR);
#else
  (void)AMode;
#endif
}

// Engine start-up and shutdown: the loader, the floating-point mode and the codec lock live exactly
// as long as the program.
struct TLoaderModule {
  TFPUMode SavedFPU;
  TLoaderModule() {
    GLoader = new TFFmpegLoader;
    SavedFPU = SaveAndMaskFPU();
    GCodecLock = new TCriticalSection;
    // A write beyond a file size limit (RLIMIT_FSIZE) fails with EFBIG and its task ends naming the
    // file, instead of the signal's default ending the whole program with every task and the list.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
  }
  ~TLoaderModule() {
    // A holder still inside finishes first.
    GCodecLock->Enter();
    GCodecLock->Leave();
    delete GCodecLock;
    GCodecLock = nullptr;
    RestoreFPU(SavedFPU);
    delete GLoader;
    GLoader = nullptr;
  }
} GLoaderModule;

}  // namespace

TFFmpegLoader* FFLoader() {
  return GLoader;
}

TCriticalSection& CodecLock() {
  return *GCodecLock;
}

String TFFmpegLoader::LastErrMsg() const {
  return GLastErrMsg;
}

TPathFileName TFFmpegLoader::LibraryPath() const {
  return GLibraryPath;
}

void TFFmpegLoader::SetLibraryPath(const TPathFileName& Value) {
  GLibraryPath = Value;
}

const TLibraryStatus& TFFmpegLoader::Status(TLibrary ALibrary) {
  return GStatus[ALibrary];
}

TPathFileName TFFmpegLoader::LibraryFileName(TLibrary ALibrary) {
  if (!GStatus[ALibrary].Name.empty()) return GStatus[ALibrary].Name;
  const TLibraryItem& item = LibraryTable[ALibrary];
  String result = String("lib") + item.Name + ".so";
  if (item.Version >= 0) result += "." + std::to_string(item.Version);
  return result;
}

HMODULE TFFmpegLoader::LoadLibraryFrom(const TPathFileName& ADir, const TPathFileName& AFileName,
                                       String& AError) {
  // The dynamic linker finds a library's own dependencies by its rules (RPATH, the cache), neither
  // through PATH nor the current directory, so neither is touched here. The libraries stay mapped
  // after an unload: their dependencies (libzmq among them) crash when unmapped and mapped again.
  HMODULE handle = nullptr;
  const String full = ADir.empty() ? String() : IncludeTrailingPathDelimiter(ADir) + AFileName;
  if (!full.empty() && FileExists(full))
    handle = LoadLibrary(full, true);
  else
    handle = LoadLibrary(AFileName, true);
  if (!handle) AError = LastLibraryError();
  return handle;
}

bool TFFmpegLoader::Load(TLibrary ALibrary) {
  TLibraryStatus& status = GStatus[ALibrary];
  if (!status.Handle) {
    String name = LibraryFileName(ALibrary);
    String dir = ExtractFilePath(name);
    if (dir.empty() && !GLibraryPath.empty()) dir = IncludeTrailingPathDelimiter(GLibraryPath);
    name = ExtractFileName(name);
    String error;
    status.Handle = LoadLibraryFrom(dir, name, error);
    if (!status.Handle) {
      GLastErrMsg = Format("Load library %s error: %s", dir + name, error);
      return false;
    }
  }
  if (!status.Fixuped) {
    try {
      LibraryTable[ALibrary].Fixup(LibraryFileName(ALibrary), status.Handle);
      status.Fixuped = true;
    } catch (const Exception& e) {
      GLastErrMsg = e.Message();
      // The entries bound before the failure would point into a library that is freed below.
      LibraryTable[ALibrary].Unfix();
    }
  }
  if (!status.Fixuped) {
    Unload(ALibrary);
    return false;
  }
  if (ALibrary == avUtil && FInstallLogger) GetFFLogger()->InstallAVLogCallback();
  // SDL's audio start probes ALSA, whose reports would otherwise go to the terminal.
  if (ALibrary == lbSDL) RouteAlsaErrors();
  return true;
}

bool TFFmpegLoader::Load(TLibraries ALibraries) {
  AssertNotEmpty(ALibraries, __LINE__);
  TLibraries loadedBefore;
  for (Integer i = 0; i < LibraryCount; ++i)
    if (ALibraries.Contains(TLibrary(i)) && Loaded(TLibrary(i))) loadedBefore.Include(TLibrary(i));
  for (Integer i = 0; i < LibraryCount; ++i) {
    const TLibrary lib = TLibrary(i);
    if (!ALibraries.Contains(lib)) continue;
    if (!Load(lib)) {
      Unload(ALibraries - loadedBefore);
      return false;
    }
  }
  return true;
}

bool TFFmpegLoader::Loaded(TLibrary ALibrary) const {
  return GStatus[ALibrary].Handle != nullptr && GStatus[ALibrary].Fixuped;
}

bool TFFmpegLoader::Loaded(TLibraries ALibraries) const {
  AssertNotEmpty(ALibraries, __LINE__);
  for (Integer i = 0; i < LibraryCount; ++i)
    if (ALibraries.Contains(TLibrary(i)) && !Loaded(TLibrary(i))) return false;
  return true;
}

void TFFmpegLoader::Unload(TLibrary ALibrary) {
  TLibraryStatus& status = GStatus[ALibrary];
  if (status.Fixuped) {
    LibraryTable[ALibrary].Unfix();
    status.Fixuped = false;
  }
  if (status.Handle) {
    FreeLibrary(status.Handle);
    status.Handle = nullptr;
  }
}

void TFFmpegLoader::Unload(TLibraries ALibraries) {
  AssertNotEmpty(ALibraries, __LINE__);
  for (Integer i = 0; i < LibraryCount; ++i)
    if (ALibraries.Contains(TLibrary(i))) Unload(TLibrary(i));
}
