#include "engine/base/avstubs.h"
#include "engine/base/sdlstubs.h"
#include "platform/rtl/format.h"

static_assert(LIBAVCODEC_VERSION_MAJOR == 59 && LIBAVFORMAT_VERSION_MAJOR == 59 &&
                  LIBAVUTIL_VERSION_MAJOR == 57 && LIBSWSCALE_VERSION_MAJOR == 6 &&
                  LIBSWRESAMPLE_VERSION_MAJOR == 4 && LIBAVFILTER_VERSION_MAJOR == 8 &&
                  LIBAVDEVICE_VERSION_MAJOR == 59,
              "the binding tables are written for FFmpeg 5.1");

void BindFunction(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  void*& AEntry) {
  AEntry = GetProcAddress(AHandle, AName);
  if (!AEntry && !AOptional)
    throw Exception(Format("Load function %s@%s error: %s", AName, ALibName, LastLibraryError()));
}

void BindVariable(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  void*& AEntry) {
  AEntry = GetProcAddress(AHandle, AName);
  if (!AEntry && !AOptional)
    throw Exception(Format("Load variable %s@%s error: %s", AName, ALibName, LastLibraryError()));
}

void CheckMajorVersion(const TPathFileName& ALibName, const char* AVersionFunction, unsigned AVersion,
                       Integer AExpected) {
  const Integer major = Integer(AVersion >> 16);
  if (major != AExpected)
    throw Exception(Format("Load function %s@%s error: %s", AVersionFunction, ALibName,
                           Format("major version %d, expected %d", major, AExpected)));
}

#define FF_FUNCTION(name) BindFunction(ALibName, AHandle, #name, false, name);
#define FF_VARIABLE(name) BindVariable(ALibName, AHandle, #name, false, name);
#define FF_ALIAS(name, exported) BindFunction(ALibName, AHandle, #exported, false, name);
// Fixup: bind every entry of the table in order, then check the library's major version.

void AVUtilStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/avutil.inc"
  CheckMajorVersion(ALibName, "avutil_version", avutil_version(), LIBAVUTIL_VERSION_MAJOR);
}

void SwScaleStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/swscale.inc"
  CheckMajorVersion(ALibName, "swscale_version", swscale_version(), LIBSWSCALE_VERSION_MAJOR);
}

void SwResampleStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/swresample.inc"
  CheckMajorVersion(ALibName, "swresample_version", swresample_version(), LIBSWRESAMPLE_VERSION_MAJOR);
}

void AVCodecStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/avcodec.inc"
  CheckMajorVersion(ALibName, "avcodec_version", avcodec_version(), LIBAVCODEC_VERSION_MAJOR);
}

void AVFormatStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/avformat.inc"
  CheckMajorVersion(ALibName, "avformat_version", avformat_version(), LIBAVFORMAT_VERSION_MAJOR);
}

void AVFilterStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/avfilter.inc"
  CheckMajorVersion(ALibName, "avfilter_version", avfilter_version(), LIBAVFILTER_VERSION_MAJOR);
}

void AVDeviceStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/avdevice.inc"
  CheckMajorVersion(ALibName, "avdevice_version", avdevice_version(), LIBAVDEVICE_VERSION_MAJOR);
  // Devices are not built in; they become available to the format lookups once registered.
  avdevice_register_all();
}

void MyUtilStubs::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/libc.inc"
}

void libsdl::Fixup(const TPathFileName& ALibName, HMODULE AHandle) {
#include "engine/base/tables/sdl.inc"
}

#undef FF_FUNCTION
#undef FF_VARIABLE
#undef FF_ALIAS

// Unfix: every entry back to nullptr.
#define FF_FUNCTION(name) name = nullptr;
#define FF_VARIABLE(name) name = nullptr;
#define FF_ALIAS(name, exported) name = nullptr;

void AVUtilStubs::Unfix() {
#include "engine/base/tables/avutil.inc"
}
void SwScaleStubs::Unfix() {
#include "engine/base/tables/swscale.inc"
}
void SwResampleStubs::Unfix() {
#include "engine/base/tables/swresample.inc"
}
void AVCodecStubs::Unfix() {
#include "engine/base/tables/avcodec.inc"
}
void AVFormatStubs::Unfix() {
#include "engine/base/tables/avformat.inc"
}
void AVFilterStubs::Unfix() {
#include "engine/base/tables/avfilter.inc"
}
void AVDeviceStubs::Unfix() {
#include "engine/base/tables/avdevice.inc"
}
void MyUtilStubs::Unfix() {
#include "engine/base/tables/libc.inc"
}
void libsdl::Unfix() {
#include "engine/base/tables/sdl.inc"
}
