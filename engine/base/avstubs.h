// Binding tables of the FFmpeg 5.1 libraries and the C run-time: one entry per function the engine
// calls, named like the function and typed with its 5.1 prototype, nullptr until the library loader
// has bound it. Call them as ff::avcodec_open2(...) (or through the library's own namespace).
//
// Each library's list lives in tables/<library>.inc, in binding order; adding a function there adds
// its entry, its binding and its clearing.
#pragma once

#include "engine/base/avheaders.h"
#include "engine/base/bindings.h"

#define FF_FUNCTION(name) inline decltype(&::name) name = nullptr;
#define FF_VARIABLE(name) inline decltype(&::name) name = nullptr;

namespace AVUtilStubs {
#include "engine/base/tables/avutil.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace AVUtilStubs

namespace SwScaleStubs {
#include "engine/base/tables/swscale.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace SwScaleStubs

namespace SwResampleStubs {
#include "engine/base/tables/swresample.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace SwResampleStubs

namespace AVCodecStubs {
#include "engine/base/tables/avcodec.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace AVCodecStubs

namespace AVFormatStubs {
#include "engine/base/tables/avformat.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace AVFormatStubs

namespace AVFilterStubs {
#include "engine/base/tables/avfilter.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace AVFilterStubs

namespace AVDeviceStubs {
#include "engine/base/tables/avdevice.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace AVDeviceStubs

namespace MyUtilStubs {
#include "engine/base/tables/libc.inc"
void Fixup(const TPathFileName& ALibName, HMODULE AHandle);
void Unfix();
}  // namespace MyUtilStubs

#undef FF_FUNCTION
#undef FF_VARIABLE

// Every FFmpeg and C run-time entry under one name.
namespace ff {
using namespace AVUtilStubs;
using namespace SwScaleStubs;
using namespace SwResampleStubs;
using namespace AVCodecStubs;
using namespace AVFormatStubs;
using namespace AVFilterStubs;
using namespace AVDeviceStubs;
using namespace MyUtilStubs;
}  // namespace ff
