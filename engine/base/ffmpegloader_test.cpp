#include "engine/base/ffmpegloader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/sdlstubs.h"
#include "engine/base/testkit/logcapture.h"

namespace fs = std::filesystem;

using TEntry = std::pair<const char*, void*>;

#define FF_FUNCTION(name) v.push_back({#name, reinterpret_cast<void*>(name)});
#define FF_VARIABLE(name) v.push_back({#name, reinterpret_cast<void*>(name)});
#define FF_ALIAS(name, exported) v.push_back({#name, reinterpret_cast<void*>(name)});

// The entries of each table with their current values, in table order.
namespace AVUtilStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/avutil.inc"
  return v;
}
}  // namespace AVUtilStubs
namespace SwScaleStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/swscale.inc"
  return v;
}
}  // namespace SwScaleStubs
namespace SwResampleStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/swresample.inc"
  return v;
}
}  // namespace SwResampleStubs
namespace AVCodecStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/avcodec.inc"
  return v;
}
}  // namespace AVCodecStubs
namespace AVFormatStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/avformat.inc"
  return v;
}
}  // namespace AVFormatStubs
namespace AVFilterStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/avfilter.inc"
  return v;
}
}  // namespace AVFilterStubs
namespace AVDeviceStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/avdevice.inc"
  return v;
}
}  // namespace AVDeviceStubs
namespace MyUtilStubs {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/libc.inc"
  return v;
}
}  // namespace MyUtilStubs
namespace libsdl {
std::vector<TEntry> CollectEntries() {
  std::vector<TEntry> v;
#include "engine/base/tables/sdl.inc"
  return v;
}
}  // namespace libsdl

#undef FF_FUNCTION
#undef FF_VARIABLE
#undef FF_ALIAS

namespace {

std::vector<TEntry> EntriesOf(TLibrary ALibrary) {
  switch (ALibrary) {
    case avCodec:
      return AVCodecStubs::CollectEntries();
    case avDevice:
      return AVDeviceStubs::CollectEntries();
    case avFilter:
      return AVFilterStubs::CollectEntries();
    case avFormat:
      return AVFormatStubs::CollectEntries();
    case avUtil:
      return AVUtilStubs::CollectEntries();
    case swScale:
      return SwScaleStubs::CollectEntries();
    case swResample:
      return SwResampleStubs::CollectEntries();
    case myUtil:
      return MyUtilStubs::CollectEntries();
    case lbSDL:
      return libsdl::CollectEntries();
  }
  return {};
}

std::vector<String> UnboundEntries(TLibrary ALibrary) {
  std::vector<String> names;
  for (const auto& [name, value] : EntriesOf(ALibrary))
    if (!value) names.push_back(name);
  return names;
}

std::vector<String> BoundEntries(TLibrary ALibrary) {
  std::vector<String> names;
  for (const auto& [name, value] : EntriesOf(ALibrary))
    if (value) names.push_back(name);
  return names;
}

const TLibraries AllLibraries{avCodec, avDevice,   avFilter, avFormat, avUtil,
                              swScale, swResample, myUtil,   lbSDL};

String SystemLibrary(TLibrary ALibrary) {
  return "/usr/lib/x86_64-linux-gnu/" + TFFmpegLoader::LibraryFileName(ALibrary);
}

// The tests load and unload the real libraries many times. Their own dependencies allocate at start-up
// and would count as leaks once unmapped, so the test program keeps every one mapped (as the program
// does: it never unloads them). The loader's handles and entries are not affected.
class KeepRealLibrariesMapped : public ::testing::Environment {
 public:
  void SetUp() override {
    for (Integer i = 0; i < LibraryCount; ++i)
      ASSERT_NE(dlopen(SystemLibrary(TLibrary(i)).c_str(), RTLD_NOW | RTLD_NODELETE), nullptr) << dlerror();
  }
};
const auto* const keepMapped = ::testing::AddGlobalTestEnvironment(new KeepRealLibrariesMapped);

// A fresh "LibAV" folder; every test starts and ends with nothing loaded and no library path.
class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FFLoader()->Unload(AllLibraries);
    char pattern[] = "/tmp/nerivo-loader-XXXXXX";
    FRoot = mkdtemp(pattern);
    FLibAV = FRoot / "LibAV";
    fs::create_directory(FLibAV);
  }
  void TearDown() override {
    FFLoader()->Unload(AllLibraries);
    FFLoader()->SetLibraryPath("");
    fs::remove_all(FRoot);
  }
  // Puts AFile into the folder under ALibrary's file name.
  void Place(TLibrary ALibrary, const String& AFile) {
    fs::create_symlink(AFile, FLibAV / TFFmpegLoader::LibraryFileName(ALibrary));
  }
  void PlaceText(TLibrary ALibrary, const String& AText) {
    std::ofstream(FLibAV / TFFmpegLoader::LibraryFileName(ALibrary)) << AText;
  }
  fs::path FRoot, FLibAV;
};

TEST_F(LoaderTest, RealLibrariesLoadBindEveryEntryAndUnloadClearsThem) {
  ASSERT_TRUE(FFLoader()->Load(PlayerLibraries + TLibraries{avDevice})) << FFLoader()->LastErrMsg();
  for (Integer i = 0; i < LibraryCount; ++i) {
    SCOPED_TRACE(TFFmpegLoader::LibraryFileName(TLibrary(i)));
    EXPECT_TRUE(FFLoader()->Loaded(TLibrary(i)));
    EXPECT_EQ(UnboundEntries(TLibrary(i)), std::vector<String>());
  }
  // Both names of the SDL mutex operations reach the one export.
  EXPECT_EQ(reinterpret_cast<void*>(libsdl::SDL_LockMutex), reinterpret_cast<void*>(libsdl::SDL_mutexP));
  EXPECT_EQ(*MyUtilStubs::stderr, stderr);

  FFLoader()->Unload(PlayerLibraries + TLibraries{avDevice});
  for (Integer i = 0; i < LibraryCount; ++i) {
    SCOPED_TRACE(TFFmpegLoader::LibraryFileName(TLibrary(i)));
    EXPECT_FALSE(FFLoader()->Loaded(TLibrary(i)));
    EXPECT_EQ(TFFmpegLoader::Status(TLibrary(i)).Handle, nullptr);
    EXPECT_EQ(BoundEntries(TLibrary(i)), std::vector<String>());
  }
}

TEST_F(LoaderTest, SetsShareTheirLibraries) {
  ASSERT_TRUE(FFLoader()->Load(ConverterLibraries)) << FFLoader()->LastErrMsg();
  EXPECT_TRUE(FFLoader()->Loaded(ProbeLibraries));
  EXPECT_FALSE(FFLoader()->Loaded(PlayerLibraries));
  EXPECT_FALSE(FFLoader()->Loaded(avDevice));
  EXPECT_FALSE(FFLoader()->Loaded(lbSDL));
}

TEST_F(LoaderTest, EmptySetIsAnAssertionFailure) {
  EXPECT_THROW(FFLoader()->Load(TLibraries{}), EAssertionFailed);
  EXPECT_THROW(FFLoader()->Loaded(TLibraries{}), EAssertionFailed);
  EXPECT_THROW(FFLoader()->Unload(TLibraries{}), EAssertionFailed);
}

TEST_F(LoaderTest, MissingFunctionNamesTheFirstGapInTableOrderAndFreesTheLibrary) {
  Place(swScale, fake_swscale_gaps_PATH);
  FFLoader()->SetLibraryPath(FLibAV.string());
  EXPECT_FALSE(FFLoader()->Load(swScale));
  const String msg = FFLoader()->LastErrMsg();
  EXPECT_EQ(msg.rfind("Load function sws_scale@libswscale.so.6 error: ", 0), 0u) << msg;
  EXPECT_NE(msg.find("sws_scale"), msg.rfind("sws_scale")) << "the system's text names it too: " << msg;
  EXPECT_EQ(TFFmpegLoader::Status(swScale).Handle, nullptr);
  EXPECT_FALSE(FFLoader()->Loaded(swScale));
  // No entry is left pointing into the freed library.
  EXPECT_EQ(BoundEntries(swScale), std::vector<String>());
}

TEST_F(LoaderTest, MissingVariableIsReportedAsAVariable) {
  Place(myUtil, fake_libc_novar_PATH);
  FFLoader()->SetLibraryPath(FLibAV.string());
  EXPECT_FALSE(FFLoader()->Load(myUtil));
  EXPECT_EQ(FFLoader()->LastErrMsg().rfind("Load variable stderr@libc.so.6 error: ", 0), 0u)
      << FFLoader()->LastErrMsg();
  EXPECT_FALSE(FFLoader()->Loaded(myUtil));
  EXPECT_EQ(BoundEntries(myUtil), std::vector<String>());
}

TEST_F(LoaderTest, FolderIsSearchedBeforeTheSystem) {
  // A library of another major version in the folder is found first and refused.
  Place(swScale, fake_swscale_v7_PATH);
  FFLoader()->SetLibraryPath(FLibAV.string());
  EXPECT_FALSE(FFLoader()->Load(swScale));
  EXPECT_EQ(FFLoader()->LastErrMsg(),
            "Load function swscale_version@libswscale.so.6 error: major version 7, expected 6");
  EXPECT_EQ(TFFmpegLoader::Status(swScale).Handle, nullptr);

  // Without it there, the system's library loads.
  fs::remove(FLibAV / "libswscale.so.6");
  EXPECT_TRUE(FFLoader()->Load(swScale)) << FFLoader()->LastErrMsg();
}

TEST_F(LoaderTest, UnloadableFileReportsThePathTriedAndTheSystemsText) {
  PlaceText(swScale, "not a library");
  FFLoader()->SetLibraryPath(FLibAV.string());  // without a trailing delimiter
  EXPECT_FALSE(FFLoader()->Load(swScale));
  const String prefix = "Load library " + FLibAV.string() + "/libswscale.so.6 error: ";
  const String msg = FFLoader()->LastErrMsg();
  ASSERT_EQ(msg.rfind(prefix, 0), 0u) << msg;
  EXPECT_GT(msg.size(), prefix.size()) << "the system's text follows";

  // A success leaves the last failure text as it was.
  FFLoader()->SetLibraryPath("");
  EXPECT_TRUE(FFLoader()->Load(avUtil));
  EXPECT_EQ(FFLoader()->LastErrMsg(), msg);
}

TEST_F(LoaderTest, SetFailingPartWayUnloadsOnlyWhatThisCallLoaded) {
  for (TLibrary lib : {avCodec, avFilter, avFormat, avUtil, swResample}) Place(lib, SystemLibrary(lib));
  Place(swScale, fake_swscale_gaps_PATH);
  FFLoader()->SetLibraryPath(FLibAV.string());
  ASSERT_TRUE(FFLoader()->Load(avUtil));

  EXPECT_FALSE(FFLoader()->Load(ConverterLibraries));
  EXPECT_EQ(FFLoader()->LastErrMsg().rfind("Load function sws_scale@libswscale.so.6", 0), 0u);
  EXPECT_TRUE(FFLoader()->Loaded(avUtil)) << "loaded before the call, so it stays";
  for (TLibrary lib : {avCodec, avFilter, avFormat, swScale, swResample, myUtil}) {
    SCOPED_TRACE(TFFmpegLoader::LibraryFileName(lib));
    EXPECT_FALSE(FFLoader()->Loaded(lib));
    EXPECT_EQ(TFFmpegLoader::Status(lib).Handle, nullptr);
  }
}

TEST_F(LoaderTest, LoadingAgainRepeatsOnlyThePostLoadSteps) {
  ASSERT_TRUE(FFLoader()->Load(ConverterLibraries)) << FFLoader()->LastErrMsg();
  HMODULE handles[LibraryCount];
  for (Integer i = 0; i < LibraryCount; ++i) handles[i] = TFFmpegLoader::Status(TLibrary(i)).Handle;
  const auto codecEntries = EntriesOf(avCodec);

  TLogCapture log;
  // Someone puts FFmpeg's own callback back; loading again installs the logger's again.
  ff::av_log_set_callback(ff::av_log_default_callback);
  ASSERT_TRUE(FFLoader()->Load(ConverterLibraries));
  ff::av_log(nullptr, AV_LOG_ERROR, "after the second load\n");

  EXPECT_EQ(log.Messages(), std::vector<String>{"after the second load"});
  for (Integer i = 0; i < LibraryCount; ++i) EXPECT_EQ(TFFmpegLoader::Status(TLibrary(i)).Handle, handles[i]);
  EXPECT_EQ(EntriesOf(avCodec), codecEntries);
}

TEST(LoaderModule, StartUpMasksEveryFloatingPointException) {
  unsigned short x87 = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(x87));
  EXPECT_EQ(x87 & 0x1F3F, 0x133F) << std::hex << x87;  // bit 6 is reserved and reads as set
  unsigned mxcsr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  EXPECT_EQ(mxcsr & 0x1F80u, 0x1F80u);
  EXPECT_NE(FFLoader(), nullptr);
}

TEST(LoaderModule, StartUpIgnoresTheFileSizeSignal) {
  struct sigaction current {};
  ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &current), 0);
  EXPECT_EQ(current.sa_handler, SIG_IGN);
}

// The libraries are bound at run time only: no program of the engine links them.
TEST(LoaderModule, FFmpegAndSdlAreNeverLinked) {
  const String command = "ldd '" + fs::read_symlink("/proc/self/exe").string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  String out;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
  ASSERT_EQ(pclose(pipe), 0) << out;
  ASSERT_NE(out.find("libc.so.6"), String::npos) << out;
  for (const char* lib : {"libavcodec", "libavformat", "libavutil", "libavfilter", "libavdevice",
                          "libswscale", "libswresample", "libSDL"})
    EXPECT_EQ(out.find(lib), String::npos) << lib << " linked:\n" << out;
}

}  // namespace
