// Decoded pictures into 24-bit bitmaps: one conversion context per picture consumer (the probe,
// the transcoder's hook and preview, the player), which keeps its bitmap, buffer and scaler between
// pictures so that a run of same-sized pictures allocates nothing after the first.
#pragma once

#include <memory>

#include "engine/base/avholders.h"
#include "platform/ui/graphics/bitmap.h"

// Plane pointers and line sizes of a picture (laid out like AVFrame's data and linesize).
struct TAVPicture {
  uint8_t* data[AV_NUM_DATA_POINTERS] = {};
  int linesize[AV_NUM_DATA_POINTERS] = {};
};

// The planes of a decoded frame.
TAVPicture PictureOf(const AVFrame* AFrame);

// All zeros is not ready for use: its holder calls ResetRGBContext first, and again to free it.
struct TRGBConvertContext {
  AVPixelFormat RGBPixFmt = AVPixelFormat(0);  // AV_PIX_FMT_BGR24 after a reset
  TPixelFormat BMPPixFmt = pfDevice;           // pf24bit after a reset
  std::unique_ptr<TBitmap> Bitmap;
  TAVMemHolder<uint8_t> RGBBuf;  // only grows
  Integer RGBBufSize = 0;
  TAVPicture RGBPicture;
  // The picture whose rows were copied last: RGBPicture after a conversion, the caller's picture
  // after a direct copy (for the frame hooks that write the bitmap back).
  const TAVPicture* RGBPictureRef = nullptr;
  TSwsContextHolder toRGB_convert_ctx;
  TSwsContextHolder fromRGB_convert_ctx;
};

// Frees what the context holds and makes it ready for use.
void ResetRGBContext(TRGBConvertContext& AContext);
// Puts the picture into AContext.Bitmap (created on first use, resized to the picture): copied
// directly when it already is in RGBPixFmt with even sizes and bitmap-aligned rows, converted
// through the scaler otherwise. False when the buffer or the scaler cannot be had.
bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, AVPixelFormat APixFmt,
                     Integer AWidth, Integer AHeight);
