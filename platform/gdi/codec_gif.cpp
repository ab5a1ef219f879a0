// GIF through giflib (first frame on load; one frame on save) and our own colour reduction.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/gdi/codecs.h"

namespace {

[[noreturn]] void gifFailure(const char* what, int error) {
  const char* text = GifErrorString(error);
  throw EInvalidGraphic(String(what) + ": " + (text ? text : "unknown error"));
}

struct TGifInput {
  const Byte* Data;
  size_t Size;
  size_t Pos;
};

int readGifData(GifFileType* gif, GifByteType* out, int count) {
  auto* in = static_cast<TGifInput*>(gif->UserData);
  const size_t n = std::min(size_t(std::max(count, 0)), in->Size - in->Pos);
  std::memcpy(out, in->Data + in->Pos, n);
  in->Pos += n;
  return int(n);
}

int writeGifData(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<Byte>*>(gif->UserData);
  try {
    out->insert(out->end(), data, data + count);
  } catch (...) {
    return 0;  // giflib turns a short write into its own error
  }
  return count;
}

struct TDecoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using TGifDecoder = std::unique_ptr<GifFileType, TDecoderCloser>;

struct TEncoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};
using TGifEncoder = std::unique_ptr<GifFileType, TEncoderCloser>;

struct TMapCloser {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Colour of pixel x of row y of a 24- or 32-bit image as 0xAARRGGBB (alpha 255 for 24 bits).
Cardinal pixelAt(const TRawImage& image, Integer x, Integer y) {
  const Byte* p = image.Row(y) + x * (image.BitCount / 8);
  const Cardinal a = image.BitCount == 32 ? p[3] : 255;
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16) | (a << 24);
}

// Median cut over a 5-bit-per-channel histogram: boxes of bins are split at the pixel-weighted median
// of their longest side until there are enough boxes; each palette entry is the mean of its box.
struct TColorBox {
  std::array<int, 3> Lo{0, 0, 0};
  std::array<int, 3> Hi{31, 31, 31};
  Int64 Count = 0;
};

int binOf(int b, int g, int r) {
  return (r << 10) | (g << 5) | b;
}

struct THistogram {
  std::vector<Int64> Count = std::vector<Int64>(32768);
  std::vector<std::array<Int64, 3>> Sum = std::vector<std::array<Int64, 3>>(32768);
};

void shrinkBox(const THistogram& h, TColorBox& box) {
  std::array<int, 3> lo{32, 32, 32}, hi{-1, -1, -1};
  box.Count = 0;
  for (int r = box.Lo[2]; r <= box.Hi[2]; ++r)
    for (int g = box.Lo[1]; g <= box.Hi[1]; ++g)
      for (int b = box.Lo[0]; b <= box.Hi[0]; ++b) {
        const Int64 c = h.Count[size_t(binOf(b, g, r))];
        if (!c) continue;
        box.Count += c;
        const int v[3] = {b, g, r};
        for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], v[i]), hi[i] = std::max(hi[i], v[i]);
      }
  if (box.Count) box.Lo = lo, box.Hi = hi;
}

std::vector<TColorBox> medianCut(const THistogram& h, int maxColors) {
  std::vector<TColorBox> boxes(1);
  shrinkBox(h, boxes[0]);
  if (!boxes[0].Count) return {};
  while (int(boxes.size()) < maxColors) {
    int best = -1, bestAxis = 0, bestRange = 0;
    for (size_t i = 0; i < boxes.size(); ++i)
      for (int axis = 0; axis < 3; ++axis) {
        const int range = boxes[i].Hi[axis] - boxes[i].Lo[axis];
        if (range > bestRange ||
            (range == bestRange && range > 0 && boxes[i].Count > boxes[size_t(best)].Count))
          best = int(i), bestAxis = axis, bestRange = range;
      }
    if (best < 0) break;  // every box is a single bin
    TColorBox& box = boxes[size_t(best)];
    std::vector<Int64> slice(32, 0);
    for (int r = box.Lo[2]; r <= box.Hi[2]; ++r)
      for (int g = box.Lo[1]; g <= box.Hi[1]; ++g)
        for (int b = box.Lo[0]; b <= box.Hi[0]; ++b) {
          const int v[3] = {b, g, r};
          slice[size_t(v[bestAxis])] += h.Count[size_t(binOf(b, g, r))];
        }
    Int64 running = 0;
    int cut = box.Lo[bestAxis];
    for (int v = box.Lo[bestAxis]; v < box.Hi[bestAxis]; ++v) {
      running += slice[size_t(v)];
      cut = v;
      if (running * 2 >= box.Count) break;
    }
    TColorBox upper = box;
    box.Hi[bestAxis] = cut;
    upper.Lo[bestAxis] = cut + 1;
    shrinkBox(h, box);
    shrinkBox(h, upper);
    boxes.push_back(upper);
  }
  return boxes;
}

// The 8-bit palette image of a 32-bit one; with skipClear, pixels of alpha below 128 take the index
// just after the colours (the caller adds that entry).
TRawImage quantize(const TRawImage& image, int maxColors, bool skipClear) {
  TRawImage result;
  result.Allocate(image.Width, image.Height, 8);
  result.Palette.clear();
  const auto clear = [&](Cardinal c) { return skipClear && (c >> 24) < 128; };

  std::unordered_map<Cardinal, Byte> exact;
  bool fits = true;
  for (Integer y = 0; y < image.Height && fits; ++y)
    for (Integer x = 0; x < image.Width; ++x) {
      const Cardinal c = pixelAt(image, x, y);
      if (clear(c) || exact.count(c & 0xFFFFFF)) continue;
      if (int(exact.size()) == maxColors) {
        fits = false;
        break;
      }
      exact.emplace(c & 0xFFFFFF, Byte(exact.size()));
      result.Palette.push_back({Byte(c), Byte(c >> 8), Byte(c >> 16), 0});
    }

  std::vector<Byte> binIndex;
  if (!fits) {
    auto histogram = std::make_unique<THistogram>();
    for (Integer y = 0; y < image.Height; ++y)
      for (Integer x = 0; x < image.Width; ++x) {
        const Cardinal c = pixelAt(image, x, y);
        if (clear(c)) continue;
        const int b = c & 0xFF, g = (c >> 8) & 0xFF, r = (c >> 16) & 0xFF;
        const size_t bin = size_t(binOf(b >> 3, g >> 3, r >> 3));
        ++histogram->Count[bin];
        histogram->Sum[bin][0] += b, histogram->Sum[bin][1] += g, histogram->Sum[bin][2] += r;
      }
    result.Palette.clear();
    for (const TColorBox& box : medianCut(*histogram, maxColors)) {
      Int64 s[3] = {0, 0, 0};
      for (int r = box.Lo[2]; r <= box.Hi[2]; ++r)
        for (int g = box.Lo[1]; g <= box.Hi[1]; ++g)
          for (int b = box.Lo[0]; b <= box.Hi[0]; ++b)
            for (int i = 0; i < 3; ++i) s[i] += histogram->Sum[size_t(binOf(b, g, r))][size_t(i)];
      const Int64 n = box.Count, half = box.Count / 2;
      result.Palette.push_back(
          {Byte((s[0] + half) / n), Byte((s[1] + half) / n), Byte((s[2] + half) / n), 0});
    }
    // Each occupied bin maps to the palette entry nearest to the bin's own mean colour.
    binIndex.assign(32768, 0);
    for (size_t bin = 0; bin < 32768; ++bin) {
      const Int64 n = histogram->Count[bin];
      if (!n) continue;
      const Int64 mean[3] = {histogram->Sum[bin][0] / n, histogram->Sum[bin][1] / n,
                             histogram->Sum[bin][2] / n};
      Int64 bestDistance = -1;
      for (size_t i = 0; i < result.Palette.size(); ++i) {
        const TPaletteEntry& e = result.Palette[i];
        const Int64 d0 = mean[0] - e.Blue, d1 = mean[1] - e.Green, d2 = mean[2] - e.Red;
        const Int64 d = d0 * d0 + d1 * d1 + d2 * d2;
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, binIndex[bin] = Byte(i);
      }
    }
  }

  const Byte clearIndex = Byte(result.Palette.size());
  for (Integer y = 0; y < image.Height; ++y)
    for (Integer x = 0; x < image.Width; ++x) {
      const Cardinal c = pixelAt(image, x, y);
      Byte index;
      if (clear(c))
        index = clearIndex;
      else if (fits)
        index = exact.at(c & 0xFFFFFF);
      else
        index = binIndex[size_t(
            binOf(int(c & 0xFF) >> 3, int((c >> 8) & 0xFF) >> 3, int((c >> 16) & 0xFF) >> 3))];
      result.Row(y)[x] = index;
    }
  return result;
}

}  // namespace

TRawImage QuantizeColors(const TRawImage& image, Integer maxColors) {
  if (maxColors < 1 || maxColors > 256) throw EInvalidArgument("Palette size must be 1..256");
  if (image.BitCount != 24 && image.BitCount != 32) return quantize(ConvertTo32(image), maxColors, false);
  return quantize(image, maxColors, false);
}

TRawImage DecodeGif(const Byte* data, size_t size, bool* transparent) {
  if (SniffImageType(data, size) != "gif") throw EInvalidGraphic("GIF image is not valid: no GIF header");
  TGifInput input{data, size, 0};
  int error = 0;
  TGifDecoder gif(DGifOpen(&input, readGifData, &error));
  if (!gif) gifFailure("GIF image is not valid", error);

  int transparentIndex = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) gifFailure("GIF image is not valid", gif->Error);
    if (record == TERMINATE_RECORD_TYPE) throw EInvalidGraphic("GIF image is not valid: it holds no picture");
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
        gifFailure("GIF image is not valid", gif->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
          transparentIndex = control.TransparentColor;
      }
      while (block)
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
          gifFailure("GIF image is not valid", gif->Error);
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) gifFailure("GIF image is not valid", gif->Error);
    const GifImageDesc& frame = gif->Image;
    if (frame.Left < 0 || frame.Top < 0 || frame.Width <= 0 || frame.Height <= 0)
      throw EInvalidGraphic("GIF image is not valid: bad frame bounds");
    const Int64 width = std::max<Int64>(gif->SWidth, Int64(frame.Left) + frame.Width);
    const Int64 height = std::max<Int64>(gif->SHeight, Int64(frame.Top) + frame.Height);
    CheckImageSize(Integer(std::min<Int64>(width, MaxImageSide + 1)),
                   Integer(std::min<Int64>(height, MaxImageSide + 1)), 32);
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || !map->Colors) throw EInvalidGraphic("GIF image is not valid: it has no colour table");

    TRawImage image;
    image.Allocate(Integer(width), Integer(height), 32);
    std::vector<GifPixelType> line(size_t(frame.Width));
    bool anyClear = width > frame.Width || height > frame.Height;
    const int passStart[4] = {0, 4, 2, 1}, passStep[4] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass)
      for (int row = frame.Interlace ? passStart[pass] : 0; row < frame.Height;
           row += frame.Interlace ? passStep[pass] : 1) {
        if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
          gifFailure("GIF image is not valid", gif->Error);
        Byte* dst = image.Row(frame.Top + row) + size_t(frame.Left) * 4;
        for (int x = 0; x < frame.Width; ++x, dst += 4) {
          const int index = line[size_t(x)];
          if (index == transparentIndex) {
            anyClear = true;
            continue;
          }
          if (index < map->ColorCount) {
            const GifColorType& c = map->Colors[index];
            dst[0] = c.Blue, dst[1] = c.Green, dst[2] = c.Red;
          }
          dst[3] = 255;
        }
      }
    if (transparent) *transparent = anyClear;
    return image;
  }
}

std::vector<Byte> EncodeGif(const TRawImage& source, bool keepTransparency) {
  if (source.Empty()) throw EInvalidGraphic("GIF image is empty");
  if (source.Width > 65535 || source.Height > 65535) throw EInvalidGraphic("GIF image is too large");
  const TRawImage converted =
      source.BitCount == 24 || source.BitCount == 32 ? TRawImage() : ConvertTo32(source);
  const TRawImage& image = converted.Empty() ? source : converted;
  bool anyClear = false;
  if (keepTransparency && image.BitCount == 32)
    for (Integer y = 0; y < image.Height && !anyClear; ++y)
      for (Integer x = 0; x < image.Width && !anyClear; ++x) anyClear = image.Row(y)[x * 4 + 3] < 128;
  TRawImage indexed = quantize(image, anyClear ? 255 : 256, anyClear);

  int clearIndex = NO_TRANSPARENT_COLOR;
  if (anyClear) {
    clearIndex = int(indexed.Palette.size());
    indexed.Palette.push_back({0, 0, 0, 0});
  }
  int mapSize = 2;
  while (mapSize < int(indexed.Palette.size())) mapSize *= 2;
  std::vector<GifColorType> colors(size_t(mapSize), GifColorType{0, 0, 0});
  for (size_t i = 0; i < indexed.Palette.size(); ++i)
    colors[i] = {indexed.Palette[i].Red, indexed.Palette[i].Green, indexed.Palette[i].Blue};
  std::unique_ptr<ColorMapObject, TMapCloser> map(GifMakeMapObject(mapSize, colors.data()));
  if (!map) throw EOutOfMemory("Out of memory");

  std::vector<Byte> file;
  int error = 0;
  TGifEncoder gif(EGifOpen(&file, writeGifData, &error));
  if (!gif) gifFailure("GIF image could not be written", error);
  EGifSetGifVersion(gif.get(), anyClear);
  if (EGifPutScreenDesc(gif.get(), image.Width, image.Height, 8, 0, map.get()) == GIF_ERROR)
    gifFailure("GIF image could not be written", gif->Error);
  if (anyClear) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, clearIndex};
    GifByteType block[4];
    const size_t length = EGifGCBToExtension(&control, block);
    if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, int(length), block) == GIF_ERROR)
      gifFailure("GIF image could not be written", gif->Error);
  }
  if (EGifPutImageDesc(gif.get(), 0, 0, image.Width, image.Height, false, nullptr) == GIF_ERROR)
    gifFailure("GIF image could not be written", gif->Error);
  for (Integer y = 0; y < indexed.Height; ++y)
    if (EGifPutLine(gif.get(), indexed.Row(y), indexed.Width) == GIF_ERROR)
      gifFailure("GIF image could not be written", gif->Error);
  GifFileType* raw = gif.release();
  if (EGifCloseFile(raw, &error) == GIF_ERROR) gifFailure("GIF image could not be written", error);
  return file;
}
