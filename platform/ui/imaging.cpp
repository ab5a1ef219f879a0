// TPngImage, TJPEGImage and TGIFImage over the codecs.
#include <cstring>

#include "platform/ui/graphics.h"

namespace {

std::vector<Byte> readRest(TStream* Stream) {
  const Int64 count = Stream->Size() - Stream->Position();
  std::vector<Byte> data(size_t(count > 0 ? count : 0));
  if (!data.empty()) Stream->ReadBuffer(data.data(), Int64(data.size()));
  return data;
}

void writeAll(TStream* Stream, const std::vector<Byte>& data) {
  Stream->WriteBuffer(data.data(), Int64(data.size()));
}

// The bitmap's pixels as 32-bit colours with alpha 255.
TRawImage opaque32(TBitmap* bitmap) {
  TRawImage image = ConvertTo32(bitmap->ToRawImage());
  for (size_t i = 3; i < image.Bits.size(); i += 4) image.Bits[i] = 255;
  return image;
}

COLORREF rgbAt(const Byte* bgr) {
  return RGB(bgr[2], bgr[1], bgr[0]);
}

}  // namespace

// ---- TPngImage ----

TPngImage::TPngImage() = default;
TPngImage::~TPngImage() = default;

void TPngImage::SetWidth(Integer) {
  throw EInvalidGraphic("Cannot change the size of a PNG image");
}
void TPngImage::SetHeight(Integer) {
  throw EInvalidGraphic("Cannot change the size of a PNG image");
}

void TPngImage::CreateBlank(Cardinal ColorType, Cardinal BitDepth, Cardinal AWidth, Cardinal AHeight) {
  bool valid = false;
  switch (ColorType) {
    case COLOR_GRAYSCALE:
      valid = BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8 || BitDepth == 16;
      break;
    case COLOR_PALETTE:
      valid = BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8;
      break;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      valid = BitDepth == 8 || BitDepth == 16;
      break;
  }
  if (!valid) throw EInvalidGraphic("Invalid PNG colour type or bit depth");
  if (AWidth > Cardinal(MaxImageSide) || AHeight > Cardinal(MaxImageSide))
    CheckImageSize(MaxImageSide + 1, MaxImageSide + 1, 32);
  CheckImageSize(Integer(AWidth), Integer(AHeight), 32);
  FHeader = TPngHeader{Integer(AWidth), Integer(AHeight), Byte(BitDepth), Byte(ColorType), 0};
  FHasAlphaChannel = ColorType & 4;
  FColor.assign(size_t(AWidth) * AHeight * 3, 0);
  FAlpha.assign(FHasAlphaChannel ? size_t(AWidth) * AHeight : 0, 0);
  FPaletteAlpha = false;
  FHasKey = false;
  Changed(this);
}

Byte TPngImage::AlphaAt(Integer X, Integer Y) const {
  const size_t i = size_t(Y) * size_t(FHeader.Width) + size_t(X);
  if (FHasAlphaChannel || FPaletteAlpha) return FAlpha[i];
  if (FHasKey && rgbAt(&FColor[i * 3]) == FKey) return 0;
  return 255;
}

void TPngImage::CreateAlpha() {
  if (FHasAlphaChannel || Empty()) return;
  std::vector<Byte> alpha(size_t(FHeader.Width) * size_t(FHeader.Height));
  for (Integer y = 0; y < FHeader.Height; ++y)
    for (Integer x = 0; x < FHeader.Width; ++x)
      alpha[size_t(y) * size_t(FHeader.Width) + size_t(x)] = AlphaAt(x, y);
  FAlpha = std::move(alpha);
  FHeader.ColorType = FHeader.ColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
  if (FHeader.BitDepth < 8) FHeader.BitDepth = 8;
  FHasAlphaChannel = true;
  FPaletteAlpha = false;
  FHasKey = false;
  Changed(this);
}

void TPngImage::RemoveTransparency() {
  if (FHasAlphaChannel)
    FHeader.ColorType = FHeader.ColorType == COLOR_GRAYSCALEALPHA ? COLOR_GRAYSCALE : COLOR_RGB;
  FAlpha.clear();
  FHasAlphaChannel = FPaletteAlpha = FHasKey = false;
  Changed(this);
}

Byte* TPngImage::Scanline(Integer Y) {
  if (Y < 0 || Y >= FHeader.Height) throw EInvalidGraphic("Scan line index out of range");
  return FColor.data() + size_t(Y) * size_t(FHeader.Width) * 3;
}

Byte* TPngImage::AlphaScanline(Integer Y) {
  if (!FHasAlphaChannel) return nullptr;
  if (Y < 0 || Y >= FHeader.Height) throw EInvalidGraphic("Scan line index out of range");
  return FAlpha.data() + size_t(Y) * size_t(FHeader.Width);
}

TColor TPngImage::Pixels(Integer X, Integer Y) const {
  if (X < 0 || Y < 0 || X >= FHeader.Width || Y >= FHeader.Height) return clNone;
  return TColor(rgbAt(&FColor[(size_t(Y) * size_t(FHeader.Width) + size_t(X)) * 3]));
}

void TPngImage::SetPixels(Integer X, Integer Y, TColor Value) {
  if (X < 0 || Y < 0 || X >= FHeader.Width || Y >= FHeader.Height) return;
  const COLORREF c = ColorToRGB(Value);
  Byte* p = &FColor[(size_t(Y) * size_t(FHeader.Width) + size_t(X)) * 3];
  p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
}

TPNGTransparencyMode TPngImage::TransparencyMode() const {
  if (FHasAlphaChannel || FPaletteAlpha) return ptmPartial;
  return FHasKey ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const {
  return FHasKey ? TColor(FKey) : clNone;
}

void TPngImage::SetTransparentColor(TColor Value) {
  if (FHasAlphaChannel) return;
  FHasKey = true;
  FKey = ColorToRGB(Value) & 0xFFFFFF;
  FPaletteAlpha = false;
  FAlpha.clear();
  Changed(this);
}

void TPngImage::SetCompressionLevel(Integer Value) {
  FCompressionLevel = std::clamp(Value, 0, 9);
}

TRawImage TPngImage::straightImage() const {
  TRawImage image;
  if (Empty()) return image;
  image.Allocate(FHeader.Width, FHeader.Height, 32);
  for (Integer y = 0; y < FHeader.Height; ++y) {
    Byte* dst = image.Row(y);
    const Byte* src = FColor.data() + size_t(y) * size_t(FHeader.Width) * 3;
    for (Integer x = 0; x < FHeader.Width; ++x, dst += 4, src += 3) {
      std::memcpy(dst, src, 3);
      dst[3] = AlphaAt(x, y);
    }
  }
  return image;
}

void TPngImage::LoadFromStream(TStream* Stream) {
  const std::vector<Byte> data = readRest(Stream);
  TPngInfo info;
  const TRawImage image = DecodePng(data.data(), data.size(), &info);
  FHeader =
      TPngHeader{image.Width, image.Height, Byte(info.BitDepth), Byte(info.ColorType), Byte(info.Interlaced)};
  FHasAlphaChannel = info.ColorType & 4;
  FPaletteAlpha = info.HasPartialTransparency;
  FHasKey = info.HasTransparentKey;
  FKey = info.TransparentKey;
  const size_t pixels = size_t(image.Width) * size_t(image.Height);
  FColor.resize(pixels * 3);
  FAlpha.resize(FHasAlphaChannel || FPaletteAlpha ? pixels : 0);
  for (Integer y = 0; y < image.Height; ++y) {
    const Byte* src = image.Row(y);
    for (Integer x = 0; x < image.Width; ++x, src += 4) {
      const size_t i = size_t(y) * size_t(image.Width) + size_t(x);
      std::memcpy(&FColor[i * 3], src, 3);
      if (!FAlpha.empty()) FAlpha[i] = src[3];
    }
  }
  Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream) {
  TPngWriteOptions options;
  options.CompressionLevel = FCompressionLevel;
  options.HasTransparentKey = FHasKey;
  options.TransparentKey = FKey;
  switch (FHeader.ColorType) {
    case COLOR_GRAYSCALE:
      options.ColorType = 0;
      break;
    case COLOR_PALETTE:
      options.ColorType = FPaletteAlpha ? 6 : 2;
      break;
    case COLOR_GRAYSCALEALPHA:
      options.ColorType = 4;
      break;
    case COLOR_RGBALPHA:
      options.ColorType = 6;
      break;
    default:
      options.ColorType = 2;
  }
  writeAll(Stream, EncodePng(straightImage(), options));
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DrawStraightAlpha(ACanvas, Rect, straightImage());
}

void TPngImage::Assign(TPersistent* Source) {
  if (auto* png = dynamic_cast<TPngImage*>(Source)) {
    if (png == this) return;
    FHeader = png->FHeader;
    FColor = png->FColor;
    FAlpha = png->FAlpha;
    FHasAlphaChannel = png->FHasAlphaChannel;
    FPaletteAlpha = png->FPaletteAlpha;
    FHasKey = png->FHasKey;
    FKey = png->FKey;
    FCompressionLevel = png->FCompressionLevel;
    return Changed(this);
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    const TRawImage image = opaque32(bitmap);
    FHeader = TPngHeader{image.Width, image.Height, 8, COLOR_RGB, 0};
    FColor.assign(size_t(image.Width) * size_t(image.Height) * 3, 0);
    for (Integer y = 0; y < image.Height; ++y)
      for (Integer x = 0; x < image.Width; ++x)
        std::memcpy(&FColor[(size_t(y) * size_t(image.Width) + size_t(x)) * 3], image.Row(y) + x * 4, 3);
    FAlpha.clear();
    FHasAlphaChannel = FPaletteAlpha = false;
    FHasKey = bitmap->Transparent() && !bitmap->Empty();
    FKey = FHasKey ? ColorToRGB(bitmap->TransparentColor()) & 0xFFFFFF : 0;
    return Changed(this);
  }
  TGraphic::Assign(Source);
}

void TPngImage::AssignTo(TPersistent* Dest) {
  auto* bitmap = dynamic_cast<TBitmap*>(Dest);
  if (!bitmap) return TGraphic::AssignTo(Dest);
  TRawImage image = straightImage();
  if (TransparencyMode() != ptmPartial) {
    TRawImage rgb;
    rgb.BitCount = 24;
    if (!image.Empty()) {
      rgb.Allocate(image.Width, image.Height, 24);
      for (Integer y = 0; y < image.Height; ++y)
        for (Integer x = 0; x < image.Width; ++x) std::memcpy(rgb.Row(y) + x * 3, image.Row(y) + x * 4, 3);
    }
    image = std::move(rgb);
  }
  bitmap->LoadFromRawImage(image);
  if (TransparencyMode() == ptmBit) {
    bitmap->SetTransparentColor(TColor(FKey));
    bitmap->SetTransparent(true);
  } else {
    bitmap->SetTransparent(false);
  }
}

// ---- TJPEGImage ----

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetPixelFormat(pf24bit);
}
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(Integer) {
  throw EInvalidGraphic("Cannot change the size of a JPEG image");
}
void TJPEGImage::SetHeight(Integer) {
  throw EInvalidGraphic("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetCompressionQuality(Integer Value) {
  FQuality = std::clamp(Value, 1, 100);
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  FData.clear();
  Changed(this);
}

void TJPEGImage::Compress() {
  FData.clear();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  std::vector<Byte> data = readRest(Stream);
  bool grayscale = false;
  const TRawImage image = DecodeJpeg(data.data(), data.size(), &grayscale);
  FBitmap->LoadFromRawImage(image);
  FGrayscale = grayscale;
  FData = std::move(data);
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FData.empty()) {
    TJpegWriteOptions options;
    options.Quality = FQuality;
    options.Grayscale = FGrayscale;
    options.Progressive = FProgressive;
    FData = EncodeJpeg(FBitmap->ToRawImage(), options);
  }
  writeAll(Stream, FData);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  ACanvas->StretchDraw(Rect, FBitmap.get());
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    FBitmap->Assign(jpeg->FBitmap.get());
    FData = jpeg->FData;
    FQuality = jpeg->FQuality;
    FGrayscale = jpeg->FGrayscale;
    FProgressive = jpeg->FProgressive;
    return Changed(this);
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    FBitmap->Assign(bitmap);
    FBitmap->SetTransparent(false);
    FData.clear();
    return Changed(this);
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) return bitmap->Assign(FBitmap.get());
  TGraphic::AssignTo(Dest);
}

// ---- TGIFImage ----

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
  const std::vector<Byte> data = readRest(Stream);
  bool transparent = false;
  FImage = DecodeGif(data.data(), data.size(), &transparent);
  FTransparent = transparent;
  Changed(this);
}

void TGIFImage::SaveToStream(TStream* Stream) {
  writeAll(Stream, EncodeGif(FImage, FTransparent));
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
    FImage = opaque32(bitmap);
    FTransparent = bitmap->Transparent() && !bitmap->Empty();
    if (FTransparent) {
      const COLORREF key = ColorToRGB(bitmap->TransparentColor()) & 0xFFFFFF;
      for (Integer y = 0; y < FImage.Height; ++y)
        for (Integer x = 0; x < FImage.Width; ++x) {
          Byte* p = FImage.Row(y) + x * 4;
          if (rgbAt(p) == key) p[3] = 0;
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
