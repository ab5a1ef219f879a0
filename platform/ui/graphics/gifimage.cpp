#include "platform/ui/graphics/gifimage.h"

#include <cstring>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/graphicio.h"

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

void TGIFImage::SetWidth(Integer) {
  throw EInvalidGraphic("Cannot change the size of a GIF image");
}
void TGIFImage::SetHeight(Integer) {
  throw EInvalidGraphic("Cannot change the size of a GIF image");
}

Cardinal TGIFImage::PixelBGRA(Integer X, Integer Y) const {
  if (X < 0 || Y < 0 || X >= FImage.Width || Y >= FImage.Height) return 0;
  const Byte* p = FImage.Row(Y) + X * 4;
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16) | (Cardinal(p[3]) << 24);
}

void TGIFImage::LoadFromStream(TStream* Stream) {
  const std::vector<Byte> data = ReadStreamToEnd(Stream);
  bool transparent = false;
  FImage = DecodeGif(data.data(), data.size(), &transparent);
  FTransparent = transparent;
  Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream) {
  WriteStreamBytes(Stream, EncodeGif(FImage, FTransparent));
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DrawStraightAlpha(ACanvas, Rect, FImage);
}

void TGIFImage::Assign(TPersistent* Source) {
  if (auto* gif = dynamic_cast<TGIFImage*>(Source)) {
    if (gif == this) return;
    FImage = gif->FImage;
    FTransparent = gif->FTransparent;
    return Changed(this);
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    FImage = OpaqueImage32(bitmap);
    FTransparent = bitmap->Transparent() && !bitmap->Empty();
    if (FTransparent) {
      const COLORREF key = ColorToRGB(bitmap->TransparentColor()) & 0xFFFFFF;
      for (Integer y = 0; y < FImage.Height; ++y)
        for (Integer x = 0; x < FImage.Width; ++x) {
          Byte* p = FImage.Row(y) + x * 4;
          if (RGBOfBGR(p) == key) p[3] = 0;
        }
    }
    return Changed(this);
  }
  TGraphic::Assign(Source);
}

void TGIFImage::AssignTo(TPersistent* Dest) {
  auto* bitmap = dynamic_cast<TBitmap*>(Dest);
  if (!bitmap) return TGraphic::AssignTo(Dest);
  TRawImage image = FImage;
  if (image.Empty()) image.BitCount = 32;
  for (size_t i = 0; i + 3 < image.Bits.size(); i += 4)
    if (image.Bits[i + 3] == 0) std::memset(&image.Bits[i], 0, 3);
  bitmap->LoadFromRawImage(image);
  bitmap->SetTransparent(false);
}
