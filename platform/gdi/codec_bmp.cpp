// Windows bitmap files, read and written by us.
#include <algorithm>
#include <cstring>

#include "platform/gdi/codecs.h"

namespace {

constexpr Cardinal BI_RGB_ = 0;
constexpr Cardinal BI_BITFIELDS_ = 3;
constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;

[[noreturn]] void invalidBitmap() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

Word readWord(const Byte* p) {
  return Word(p[0] | (p[1] << 8));
}
Cardinal readCardinal(const Byte* p) {
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16) | (Cardinal(p[3]) << 24);
}
void putWord(Byte* p, Word v) {
  p[0] = Byte(v);
  p[1] = Byte(v >> 8);
}
void putCardinal(Byte* p, Cardinal v) {
  for (int i = 0; i < 4; ++i) p[i] = Byte(v >> (8 * i));
}

// One colour channel described by a bit mask, scaled to 8 bits.
struct TChannelMask {
  Cardinal Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit TChannelMask(Cardinal mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1)) ++Shift;
    while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1)) ++Bits;
  }
  Byte Extract(Cardinal value, Byte absent) const {
    if (!Mask) return absent;
    const Cardinal v = (value & Mask) >> Shift;
    const Cardinal max = Bits >= 32 ? 0xFFFFFFFFu : ((1u << Bits) - 1);
    if (Bits >= 8) return Byte(v >> (Bits - 8));
    return Byte((v * 255 + max / 2) / max);
  }
};

}  // namespace

TRawImage DecodeBmp(const Byte* data, size_t size) {
  if (size < FileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M') invalidBitmap();
  const Cardinal offBits = readCardinal(data + 10);
  const Cardinal headerSize = readCardinal(data + 14);
  if (headerSize < 12 || headerSize > size - FileHeaderSize) invalidBitmap();
  const Byte* h = data + FileHeaderSize;

  Int64 width = 0, height = 0;
  Integer bitCount = 0;
  Cardinal compression = BI_RGB_, colorsUsed = 0;
  size_t paletteEntrySize = 4;
  if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
    width = readWord(h + 4);
    height = SmallInt(readWord(h + 6));
    bitCount = readWord(h + 10);
    paletteEntrySize = 3;
  } else {
    if (headerSize < InfoHeaderSize) invalidBitmap();
    width = Integer(readCardinal(h + 4));
    height = Integer(readCardinal(h + 8));
    bitCount = readWord(h + 14);
    compression = readCardinal(h + 16);
    colorsUsed = readCardinal(h + 32);
  }
  if (readWord(h + (headerSize == 12 ? 8 : 12)) != 1) invalidBitmap();  // planes
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0) invalidBitmap();

  TRawImage image;
  if (width == 0 || height == 0) {
    image.BitCount = bitCount == 24 || bitCount == 32 ? bitCount : 24;
    return image;
  }
  if (width > MaxImageSide || height > MaxImageSide) CheckImageSize(Integer(width), Integer(height), 32);

  // Channel masks: BI_BITFIELDS keeps them after a 40-byte header, larger headers hold them inside.
  Cardinal masks[4] = {0, 0, 0, 0};
  size_t paletteOffset = FileHeaderSize + headerSize;
  if (compression == BI_BITFIELDS_) {
    if (bitCount != 16 && bitCount != 32) invalidBitmap();
    if (headerSize != InfoHeaderSize && headerSize < 52) invalidBitmap();
    const Byte* m = h + InfoHeaderSize;
    if (headerSize == InfoHeaderSize) {
      if (size < paletteOffset + 12) invalidBitmap();
      paletteOffset += 12;
    }
    for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i) masks[i] = readCardinal(m + 4 * i);
  } else if (compression != BI_RGB_) {
    throw EInvalidGraphic("Bitmap image is not valid (compression " + std::to_string(compression) +
                          " is not supported)");
  } else if (bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }

  const Integer outBits = bitCount == 16 ? 24 : bitCount;
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      invalidBitmap();
  }
  CheckImageSize(Integer(width), Integer(height), outBits);
  const Integer w = Integer(width), hgt = Integer(height);
  const size_t srcRowBytes = size_t(TRawImage::RowBytesFor(w, bitCount));
  if (offBits < paletteOffset || offBits > size || (size - offBits) / srcRowBytes < size_t(hgt))
    invalidBitmap();  // truncated or pointing outside the file

  image.Allocate(w, hgt, outBits);
  if (bitCount <= 8) {
    const size_t maxEntries = size_t(1) << bitCount;
    size_t entries = colorsUsed == 0 || colorsUsed > maxEntries ? maxEntries : colorsUsed;
    entries = std::min(entries, (offBits - paletteOffset) / paletteEntrySize);
    for (size_t i = 0; i < entries; ++i) {  // missing entries stay black, so every index is valid
      const Byte* e = data + paletteOffset + i * paletteEntrySize;
      image.Palette[i] = {e[0], e[1], e[2], 0};
    }
  }

  const TChannelMask red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  const bool plain32 = bitCount == 32 && (compression == BI_RGB_ ||
                                          (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF));
  for (Integer y = 0; y < hgt; ++y) {
    const Byte* src = data + offBits + size_t(topDown ? y : hgt - 1 - y) * srcRowBytes;
    Byte* dst = image.Row(y);
    if (bitCount != 16 && (bitCount != 32 || plain32)) {
      std::memcpy(dst, src, size_t(image.RowBytes()));
      if (bitCount == 32 && compression == BI_BITFIELDS_ && !masks[3])
        for (Integer x = 0; x < w; ++x) dst[x * 4 + 3] = 0;
      continue;
    }
    for (Integer x = 0; x < w; ++x) {
      const Cardinal v = bitCount == 16 ? readWord(src + x * 2) : readCardinal(src + x * 4);
      Byte* p = dst + x * (outBits / 8);
      p[0] = blue.Extract(v, 0);
      p[1] = green.Extract(v, 0);
      p[2] = red.Extract(v, 0);
      if (outBits == 32) p[3] = alpha.Extract(v, 0);
    }
  }
  return image;
}

std::vector<Byte> EncodeBmp(const TRawImage& image) {
  const Integer bitCount = image.BitCount;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
    throw EInvalidGraphic("Unsupported pixel depth (" + std::to_string(bitCount) + " bits)");
  const Integer w = image.Empty() ? 0 : image.Width, h = image.Empty() ? 0 : image.Height;
  const size_t maxEntries = bitCount <= 8 ? size_t(1) << bitCount : 0;
  const size_t entries = std::min(image.Palette.size(), maxEntries);
  const size_t rowBytes = size_t(TRawImage::RowBytesFor(w, bitCount));
  const size_t offBits = FileHeaderSize + InfoHeaderSize + entries * 4;
  const size_t imageSize = rowBytes * size_t(h);
  std::vector<Byte> file(offBits + imageSize, 0);

  Byte* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  putCardinal(p + 2, Cardinal(file.size()));
  putCardinal(p + 10, Cardinal(offBits));
  Byte* info = p + FileHeaderSize;
  putCardinal(info, InfoHeaderSize);
  putCardinal(info + 4, Cardinal(w));
  putCardinal(info + 8, Cardinal(h));
  putWord(info + 12, 1);
  putWord(info + 14, Word(bitCount));
  putCardinal(info + 16, BI_RGB_);
  putCardinal(info + 20, Cardinal(imageSize));
  putCardinal(info + 32, entries == maxEntries ? 0 : Cardinal(entries));
  for (size_t i = 0; i < entries; ++i) {
    Byte* e = p + FileHeaderSize + InfoHeaderSize + i * 4;
    e[0] = image.Palette[i].Blue;
    e[1] = image.Palette[i].Green;
    e[2] = image.Palette[i].Red;
  }
  for (Integer y = 0; y < h; ++y)
    std::memcpy(p + offBits + size_t(h - 1 - y) * rowBytes, image.Row(y), rowBytes);
  return file;
}
