// Image codecs over plain pixel buffers: BMP (our own), PNG (libpng), JPEG (libjpeg), GIF (giflib).
// Decoders take the whole file in memory and either return a complete image or raise EInvalidGraphic;
// they never hand back a half-filled picture.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/types.h"

NERIVO_EXCEPTION_CLASS(EInvalidGraphic, Exception);

// Decoders refuse anything larger before they allocate.
constexpr Integer MaxImageSide = 32768;
constexpr Int64 MaxImageBytes = Int64(256) << 20;

// Palette entry in the byte order of a bitmap file's colour table.
struct TPaletteEntry {
  Byte Blue = 0;
  Byte Green = 0;
  Byte Red = 0;
  Byte Reserved = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// A picture in memory: rows top-down, each RowBytes() long (padded to 4 bytes as in a DIB section).
// BitCount 1, 4 and 8 index Palette (most significant bits first); 24 is B, G, R; 32 is B, G, R, A.
struct TRawImage {
  Integer Width = 0;
  Integer Height = 0;
  Integer BitCount = 32;
  std::vector<TPaletteEntry> Palette;
  std::vector<Byte> Bits;

  // Sizes the image and zero-fills it; raises EInvalidGraphic beyond the bounds above.
  void Allocate(Integer AWidth, Integer AHeight, Integer ABitCount);
  bool Empty() const { return Width <= 0 || Height <= 0; }
  Integer RowBytes() const { return RowBytesFor(Width, BitCount); }
  Byte* Row(Integer y) { return Bits.data() + size_t(y) * size_t(RowBytes()); }
  const Byte* Row(Integer y) const { return Bits.data() + size_t(y) * size_t(RowBytes()); }
  // Palette index of pixel (x, y) for BitCount <= 8.
  Byte Index(Integer x, Integer y) const;
  void SetIndex(Integer x, Integer y, Byte value);

  static Integer RowBytesFor(Integer width, Integer bitCount) { return ((width * bitCount + 31) / 32) * 4; }
};

// Raises EInvalidGraphic("Image is too large (W x H)") when a picture of this size must not be allocated.
void CheckImageSize(Integer width, Integer height, Integer bitCount);

// Any raw image as 32-bit B, G, R, A; palette and 24-bit pixels get alpha 255.
TRawImage ConvertTo32(const TRawImage& source);

// ---- BMP ----
// Reads 1/4/8/16/24/32-bit files (info header sizes 12, 40, 52, 56, 108, 124; BI_RGB and BI_BITFIELDS;
// bottom-up and top-down). Palette files stay palette images, 16-bit becomes 24-bit, 32-bit keeps its
// fourth byte. A zero width or height gives an empty image.
TRawImage DecodeBmp(const Byte* data, size_t size);
// Writes a 40-byte info header, BI_RGB, bottom-up rows; bfSize is the exact file length.
std::vector<Byte> EncodeBmp(const TRawImage& image);

// ---- PNG ----
struct TPngInfo {
  Integer ColorType = 2;  // 0 grey, 2 true colour, 3 palette, 4 grey + alpha, 6 true colour + alpha
  Integer BitDepth = 8;
  bool Interlaced = false;
  // tRNS: a single transparent colour (types 0 and 2, or a palette whose alphas are only 0 and 255).
  bool HasTransparentKey = false;
  Cardinal TransparentKey = 0;          // 0x00BBGGRR at 8 bits per channel
  bool HasPartialTransparency = false;  // palette tRNS with alphas other than 0 and 255
};
// Every colour type and bit depth comes out as 32-bit B, G, R, A with straight alpha (255 where the file
// has none; 16-bit channels keep their high byte).
TRawImage DecodePng(const Byte* data, size_t size, TPngInfo* info = nullptr);

struct TPngWriteOptions {
  Integer ColorType = 2;           // 0, 2, 4 or 6; grey types take the green channel
  Integer CompressionLevel = 6;    // zlib level 0..9
  bool HasTransparentKey = false;  // tRNS for types 0 and 2
  Cardinal TransparentKey = 0;     // 0x00BBGGRR
};
// Takes a 24- or 32-bit image (palette images are expanded first).
std::vector<Byte> EncodePng(const TRawImage& image, const TPngWriteOptions& options = {});

// ---- JPEG ----
// Colour and greyscale (and Adobe CMYK) files become 24-bit B, G, R. A file that ends early raises.
TRawImage DecodeJpeg(const Byte* data, size_t size, bool* grayscale = nullptr);
struct TJpegWriteOptions {
  Integer Quality = 90;  // clamped to 1..100
  bool Grayscale = false;
  bool Progressive = false;
};
std::vector<Byte> EncodeJpeg(const TRawImage& image, const TJpegWriteOptions& options = {});

// ---- GIF ----
// The first frame, placed on the logical screen, as 32-bit B, G, R, A: transparent pixels and screen
// pixels the frame does not cover get alpha 0, all others 255. *transparent tells whether any did.
TRawImage DecodeGif(const Byte* data, size_t size, bool* transparent = nullptr);
// Up to 256 distinct colours are kept exactly; more are reduced by median cut (no dithering). With
// keepTransparency, pixels of alpha below 128 get their own transparent palette entry.
std::vector<Byte> EncodeGif(const TRawImage& image, bool keepTransparency = false);

// Reduces the colours of a 24- or 32-bit image to at most maxColors (1..256) palette entries and returns
// an 8-bit palette image. Colours are exact when the image has no more than maxColors of them.
TRawImage QuantizeColors(const TRawImage& image, Integer maxColors);

// File type by content: "bmp", "png", "jpg", "gif" or "" when unknown.
String SniffImageType(const Byte* data, size_t size);
