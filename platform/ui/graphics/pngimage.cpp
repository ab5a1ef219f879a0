#include "platform/ui/graphics/pngimage.h"

#include <cstring>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/graphicio.h"

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
  if (FHasKey && RGBOfBGR(&FColor[i * 3]) == FKey) return 0;
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
  return TColor(RGBOfBGR(&FColor[(size_t(Y) * size_t(FHeader.Width) + size_t(X)) * 3]));
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
  const std::vector<Byte> data = ReadStreamToEnd(Stream);
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
  WriteStreamBytes(Stream, EncodePng(straightImage(), options));
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
    const TRawImage image = OpaqueImage32(bitmap);
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
