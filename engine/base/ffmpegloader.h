// The library loader: loads the FFmpeg libraries, the C run-time and SDL from a chosen folder (then
// the system search), binds them through the binding tables, remembers which are ready, runs the
// post-load steps, and unloads them. One global loader serves every engine component.
//
// The module also owns three process-wide settings from start-up to shutdown: every floating-point
// exception masked, the engine-wide codec lock, and the file-size-limit signal (SIGXFSZ) ignored, so
// that a write past the limit fails (EFBIG) rather than ending the program.
#pragma once

#include "engine/base/engineutils.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/object.h"
#include "platform/rtl/threads.h"

// Loading order as well.
enum TLibrary { avCodec, avDevice, avFilter, avFormat, avUtil, swScale, swResample, myUtil, lbSDL };
inline constexpr Integer LibraryCount = lbSDL + 1;
using TLibraries = TEnumSet<TLibrary>;

using TFixupProc = void (*)(const TPathFileName& ALibName, HMODULE AHandle);
using TUnfixProc = void (*)();

// One row of the constant library table. The file name is "lib<Name>.so.<Version>" ("lib<Name>.so"
// for a Version of -1).
struct TLibraryItem {
  TLibrary Lib;
  const char* Name;
  Integer Version;
  TFixupProc Fixup;
  TUnfixProc Unfix;
};
extern const TLibraryItem LibraryTable[LibraryCount];

// Run-time state of one library.
struct TLibraryStatus {
  TLibrary Lib;
  TPathFileName Name;  // replaces the composed file name when not empty
  HMODULE Handle = nullptr;
  bool Fixuped = false;
};

inline constexpr TLibraries ConverterLibraries{avCodec, avFilter,   avFormat, avUtil,
                                               swScale, swResample, myUtil};
inline constexpr TLibraries ProbeLibraries{avCodec, avFormat, avUtil, swScale, swResample, myUtil};
inline constexpr TLibraries PlayerLibraries = ConverterLibraries + TLibraries{lbSDL};

class TFFmpegLoader : public TObject {
 public:
  TFFmpegLoader() = default;
  String ClassName() const override { return "TFFmpegLoader"; }

  bool Load(TLibrary ALibrary);
  // Loads the set in TLibrary order; at the first failure the members that this call loaded are
  // unloaded again and the result is False. EAssertionFailed for an empty set.
  bool Load(TLibraries ALibraries);
  bool Loaded(TLibrary ALibrary) const;
  bool Loaded(TLibraries ALibraries) const;
  void Unload(TLibrary ALibrary);
  void Unload(TLibraries ALibraries);

  // The text of the last loading failure; a success leaves it as it was.
  String LastErrMsg() const;
  // The folder to load from; empty for the system search only.
  TPathFileName LibraryPath() const;
  void SetLibraryPath(const TPathFileName& Value);
  // Install the engine logger's callback whenever libavutil has been loaded.
  bool InstallLogger() const { return FInstallLogger; }
  void SetInstallLogger(bool Value) { FInstallLogger = Value; }

  static TPathFileName LibraryFileName(TLibrary ALibrary);
  // ADir/AFileName when ADir is set and holds that file, else AFileName by the system search.
  // nullptr on failure with the system's text in AError.
  static HMODULE LoadLibraryFrom(const TPathFileName& ADir, const TPathFileName& AFileName, String& AError);

  // The run-time state (for diagnostics and tests).
  static const TLibraryStatus& Status(TLibrary ALibrary);

 private:
  bool FInstallLogger = true;
};

// The global loader: created at start-up, freed at shutdown (nullptr outside that span).
TFFmpegLoader* FFLoader();

// Held around every codec open and close and every stream-information probe of the engine: the
// library's codec open and close are not safe to run concurrently. Recursive.
TCriticalSection& CodecLock();
