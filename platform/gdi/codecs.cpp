#include "platform/gdi/codecs.h"

#include <cstring>

void CheckImageSize(Integer width, Integer height, Integer bitCount) {
  if (width < 0 || height < 0 || width > MaxImageSide || height > MaxImageSide ||
      Int64(TRawImage::RowBytesFor(width, bitCount)) * height > MaxImageBytes)
    throw EInvalidGraphic("Image is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                          ")");
}

void TRawImage::Allocate(Integer AWidth, Integer AHeight, Integer ABitCount) {
  if (ABitCount != 1 && ABitCount != 4 && ABitCount != 8 && ABitCount != 24 && ABitCount != 32)
    throw EInvalidGraphic("Unsupported pixel depth (" + std::to_string(ABitCount) + " bits)");
  CheckImageSize(AWidth, AHeight, ABitCount);
  Width = AWidth;
  Height = AHeight;
  BitCount = ABitCount;
  Bits.assign(size_t(RowBytes()) * size_t(Height), 0);
  if (BitCount <= 8)
    Palette.resize(size_t(1) << BitCount);
  else
    Palette.clear();
}

Byte TRawImage::Index(Integer x, Integer y) const {
  const Byte* row = Row(y);
  switch (BitCount) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

void TRawImage::SetIndex(Integer x, Integer y, Byte value) {
  Byte* row = Row(y);
  switch (BitCount) {
    case 1: {
      const Byte bit = Byte(0x80 >> (x & 7));
      row[x >> 3] = (value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
      break;
    }
    case 4:
      if (x & 1)
        row[x >> 1] = Byte((row[x >> 1] & 0xF0) | (value & 0x0F));
      else
        row[x >> 1] = Byte((row[x >> 1] & 0x0F) | (value << 4));
      break;
    default:
      row[x] = value;
  }
}

TRawImage ConvertTo32(const TRawImage& source) {
  if (source.BitCount == 32) return source;
  TRawImage result;
  result.Allocate(source.Width, source.Height, 32);
  for (Integer y = 0; y < source.Height; ++y) {
    const Byte* src = source.Row(y);
    Byte* dst = result.Row(y);
    for (Integer x = 0; x < source.Width; ++x, dst += 4) {
      if (source.BitCount == 24) {
        std::memcpy(dst, src + x * 3, 3);
      } else {
        const size_t index = source.Index(x, y);
        if (index < source.Palette.size()) {
          const TPaletteEntry& e = source.Palette[index];
          dst[0] = e.Blue;
          dst[1] = e.Green;
          dst[2] = e.Red;
        }
      }
      dst[3] = 255;
    }
  }
  return result;
}

String SniffImageType(const Byte* data, size_t size) {
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return "bmp";
  if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return "png";
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return "jpg";
  if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) return "gif";
  return "";
}
