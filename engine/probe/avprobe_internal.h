// The probe's library objects: kept out of its public header, so that what uses the probe never
// sees the libraries' headers.
#pragma once

#include "engine/base/avholders.h"
#include "engine/probe/avprobe.h"
#include "engine/probe/rgbconvert.h"

struct TProbeLibraryState {
  TInputHolder OwnedInput;  // the file handle when the probe opened it
  TCodecContextHolder Codec;
  TRGBConvertContext RGBContext;
  TAVMemHolder<Byte> PictureBuffer;  // the picture's Buffer
  TPacketHolder Packet;
  TFrameHolder Frame;
};

static_assert(PictureDataPointers == AV_NUM_DATA_POINTERS);
static_assert(NoPTSValue == AV_NOPTS_VALUE);
