#include "engine/probe/rgbconvert.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/base/avstubs.h"

TAVPicture PictureOf(const AVFrame* AFrame) {
  TAVPicture picture;
  for (int i = 0; i < AV_NUM_DATA_POINTERS; ++i) {
    picture.data[i] = AFrame->data[i];
    picture.linesize[i] = AFrame->linesize[i];
  }
  return picture;
}

void ResetRGBContext(TRGBConvertContext& AContext) {
  AContext.Bitmap.reset();
  AContext.RGBBuf.reset();
  AContext.toRGB_convert_ctx.reset();
  AContext.fromRGB_convert_ctx.reset();
  AContext.RGBPixFmt = AV_PIX_FMT_BGR24;
  AContext.BMPPixFmt = pf24bit;
  AContext.RGBBufSize = 0;
  AContext.RGBPicture = TAVPicture();
  AContext.RGBPictureRef = nullptr;
}

namespace {

std::unique_ptr<TBitmap> CreateRGBBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(AFormat);
  bitmap->SetSize(AWidth, AHeight);
  bitmap->Canvas()->Brush()->SetStyle(bsClear);
  return bitmap;
}

}  // namespace

bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, AVPixelFormat APixFmt,
                     Integer AWidth, Integer AHeight) {
  if (!AContext.Bitmap) AContext.Bitmap = CreateRGBBitmap(AWidth, AHeight, AContext.BMPPixFmt);
  AContext.Bitmap->SetSize(AWidth, AHeight);

  const int bitmapRow = (AWidth * 24 + 31) / 32 * 4;
  if (APixFmt == AContext.RGBPixFmt && AWidth % 2 == 0 && AHeight % 2 == 0 &&
      APicture.linesize[0] == bitmapRow) {
    AContext.RGBPictureRef = &APicture;
  } else {
    const int size = ff::av_image_get_buffer_size(AContext.RGBPixFmt, AWidth, AHeight, 1);
    if (size < 0) return false;
    if (!AContext.RGBBuf || AContext.RGBBufSize < size) {
      AContext.RGBBufSize = 0;
      AContext.RGBBuf.reset(static_cast<uint8_t*>(ff::av_malloc(size_t(size))));
      if (!AContext.RGBBuf) return false;
      AContext.RGBBufSize = size;
    }
    ff::av_image_fill_arrays(AContext.RGBPicture.data, AContext.RGBPicture.linesize, AContext.RGBBuf.get(),
                             AContext.RGBPixFmt, AWidth, AHeight, 1);
    // The cached call frees the old scaler when it cannot reuse it.
    AContext.toRGB_convert_ctx.reset(
        ff::sws_getCachedContext(AContext.toRGB_convert_ctx.release(), AWidth, AHeight, APixFmt, AWidth,
                                 AHeight, AContext.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!AContext.toRGB_convert_ctx) return false;
    ff::sws_scale(AContext.toRGB_convert_ctx.get(), APicture.data, APicture.linesize, 0, AHeight,
                  AContext.RGBPicture.data, AContext.RGBPicture.linesize);
    AContext.RGBPictureRef = &AContext.RGBPicture;
  }

  // Scan line 0 is the picture's top row. A row never copies more than the bitmap's row holds.
  const TAVPicture& ref = *AContext.RGBPictureRef;
  const size_t rowBytes =
      std::min<size_t>(size_t(std::abs(ref.linesize[0])), size_t(AContext.Bitmap->BytesPerScanLine()));
  for (Integer row = 0; row < AHeight; ++row)
    std::memcpy(AContext.Bitmap->ScanLine(row), ref.data[0] + ptrdiff_t(row) * ref.linesize[0], rowBytes);
  return true;
}
