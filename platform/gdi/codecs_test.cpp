#include "platform/gdi/codecs.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

namespace {

using Bytes = std::vector<Byte>;

// A picture whose every pixel differs from its neighbours, so row or channel mix-ups show.
TRawImage patternImage(Integer width, Integer height, Integer bitCount) {
  TRawImage image;
  image.Allocate(width, height, bitCount);
  for (size_t i = 0; i < image.Palette.size(); ++i)
    image.Palette[i] = {Byte(i * 7), Byte(255 - i), Byte(i * 3 + 1), 0};
  for (Integer y = 0; y < height; ++y)
    for (Integer x = 0; x < width; ++x) {
      if (bitCount <= 8) {
        image.SetIndex(x, y, Byte((x * 5 + y * 3) & ((1 << bitCount) - 1)));
        continue;
      }
      Byte* p = image.Row(y) + x * (bitCount / 8);
      p[0] = Byte(x * 40 + y);
      p[1] = Byte(y * 50 + 3);
      p[2] = Byte(x * y + 17);
      if (bitCount == 32) p[3] = Byte(x * 60 + y * 7);
    }
  return image;
}

Cardinal pixel32(const TRawImage& image, Integer x, Integer y) {
  const Byte* p = image.Row(y) + x * 4;
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8) | (Cardinal(p[2]) << 16) | (Cardinal(p[3]) << 24);
}

Cardinal readLE32(const Bytes& b, size_t at) {
  return Cardinal(b[at]) | (Cardinal(b[at + 1]) << 8) | (Cardinal(b[at + 2]) << 16) |
         (Cardinal(b[at + 3]) << 24);
}

// ---- BMP ----

struct BmpCase {
  Integer Width, Height, BitCount;
  size_t FileSize;  // 14 + 40 + palette * 4 + padded rows
};

class BmpRoundTrip : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpRoundTrip, KeepsPixelsPaletteAndWritesExactFileSize) {
  const BmpCase c = GetParam();
  const TRawImage image = patternImage(c.Width, c.Height, c.BitCount);
  const Bytes file = EncodeBmp(image);
  ASSERT_EQ(file.size(), c.FileSize);
  EXPECT_EQ(readLE32(file, 2), c.FileSize);  // bfSize
  const size_t offBits = 54 + image.Palette.size() * 4;
  EXPECT_EQ(readLE32(file, 10), offBits);
  // Rows are stored bottom-up: the file's first row is the picture's last.
  EXPECT_TRUE(std::equal(file.begin() + long(offBits), file.begin() + long(offBits) + image.RowBytes(),
                         image.Row(c.Height - 1)));
  const TRawImage back = DecodeBmp(file.data(), file.size());
  EXPECT_EQ(back.Width, c.Width);
  EXPECT_EQ(back.Height, c.Height);
  EXPECT_EQ(back.BitCount, c.BitCount);
  EXPECT_EQ(back.Palette, image.Palette);
  EXPECT_EQ(back.Bits, image.Bits);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
                         testing::Values(BmpCase{5, 3, 1, 54 + 8 + 4 * 3}, BmpCase{5, 3, 4, 54 + 64 + 4 * 3},
                                         BmpCase{5, 3, 8, 54 + 1024 + 8 * 3}, BmpCase{5, 3, 24, 54 + 16 * 3},
                                         BmpCase{3, 2, 32, 54 + 12 * 2}));

// A hand-made file: 16-bit 5-5-5, top-down (negative height), 2 x 2.
Bytes handMadeBmp16() {
  Bytes f(14 + 40 + 8, 0);
  f[0] = 'B', f[1] = 'M';
  f[10] = 54;
  f[14] = 40;
  f[18] = 2;                                               // width
  f[22] = 0xFE, f[23] = 0xFF, f[24] = 0xFF, f[25] = 0xFF;  // height -2
  f[26] = 1;                                               // planes
  f[28] = 16;
  const Word px[4] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};  // red, green / blue, white
  for (int i = 0; i < 2; ++i) std::memcpy(&f[54 + i * 2], &px[i], 2);
  for (int i = 0; i < 2; ++i) std::memcpy(&f[58 + i * 2], &px[2 + i], 2);
  return f;
}

TEST(Bmp, Reads16BitTopDownAs24Bit) {
  const Bytes f = handMadeBmp16();
  const TRawImage image = DecodeBmp(f.data(), f.size());
  ASSERT_EQ(image.BitCount, 24);
  const Byte expected[2][2][3] = {{{0, 0, 255}, {0, 255, 0}}, {{255, 0, 0}, {255, 255, 255}}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(image.Row(y)[x * 3 + c], expected[y][x][c]) << x << "," << y;
}

TEST(Bmp, ShortPaletteLeavesMissingEntriesBlackSoEveryIndexIsSafe) {
  TRawImage image = patternImage(4, 1, 8);
  image.Palette.resize(2);
  const Bytes file = EncodeBmp(image);
  EXPECT_EQ(readLE32(file, 46), 2u);  // biClrUsed
  const TRawImage back = DecodeBmp(file.data(), file.size());
  ASSERT_EQ(back.Palette.size(), 256u);
  EXPECT_EQ(back.Palette[1], image.Palette[1]);
  EXPECT_EQ(back.Palette[200], TPaletteEntry{});
}

TEST(Bmp, EmptyImageRoundTripsAsHeaderOnly) {
  TRawImage empty;
  empty.BitCount = 24;
  const Bytes file = EncodeBmp(empty);
  EXPECT_EQ(file.size(), 54u);
  EXPECT_TRUE(DecodeBmp(file.data(), file.size()).Empty());
}

// ---- corrupt, truncated and oversized input of every kind ----

Bytes validFile(const String& kind) {
  const TRawImage image = patternImage(16, 12, 32);
  if (kind == "bmp") return EncodeBmp(patternImage(16, 12, 24));
  if (kind == "png") return EncodePng(image, {6});
  if (kind == "jpg") return EncodeJpeg(image);
  return EncodeGif(image);
}

TRawImage decode(const String& kind, const Bytes& f) {
  if (kind == "bmp") return DecodeBmp(f.data(), f.size());
  if (kind == "png") return DecodePng(f.data(), f.size());
  if (kind == "jpg") return DecodeJpeg(f.data(), f.size());
  return DecodeGif(f.data(), f.size());
}

struct BadInput {
  const char* Kind;
  const char* What;
  std::function<void(Bytes&)> Damage;
};

class Damaged : public testing::TestWithParam<BadInput> {};

TEST_P(Damaged, RaisesInvalidGraphic) {
  Bytes f = validFile(GetParam().Kind);
  ASSERT_NO_THROW(decode(GetParam().Kind, f));
  GetParam().Damage(f);
  EXPECT_THROW(decode(GetParam().Kind, f), EInvalidGraphic);
}

const auto cutTo = [](size_t n) { return [n](Bytes& f) { f.resize(std::min(n, f.size())); }; };
const auto cutHalf = [](Bytes& f) { f.resize(f.size() / 2); };
const auto cutTail = [](size_t n) { return [n](Bytes& f) { f.resize(f.size() - n); }; };
const auto flip = [](size_t at) { return [at](Bytes& f) { f[at] ^= 0xFF; }; };

INSTANTIATE_TEST_SUITE_P(
    AllKinds, Damaged,
    testing::Values(BadInput{"bmp", "empty", cutTo(0)}, BadInput{"bmp", "header only", cutTo(30)},
                    BadInput{"bmp", "half the rows", cutHalf}, BadInput{"bmp", "bad magic", flip(0)},
                    BadInput{"bmp", "offset past end", [](Bytes& f) { f[13] = 0x7F; }},
                    BadInput{"bmp", "bit count 7", [](Bytes& f) { f[28] = 7; }},
                    BadInput{"bmp", "RLE compression", [](Bytes& f) { f[30] = 1; }},
                    BadInput{"png", "signature only", cutTo(8)}, BadInput{"png", "half", cutHalf},
                    BadInput{"png", "no end chunk", cutTail(12)}, BadInput{"png", "header CRC", flip(29)},
                    BadInput{"png", "image data CRC", [](Bytes& f) { f[f.size() - 16] ^= 0x55; }},
                    BadInput{"jpg", "marker only", cutTo(2)}, BadInput{"jpg", "half", cutHalf},
                    BadInput{"jpg", "no end marker", cutTail(2)}, BadInput{"jpg", "bad start", flip(1)},
                    BadInput{"gif", "header only", cutTo(6)}, BadInput{"gif", "half", cutHalf},
                    BadInput{"gif", "screen only", cutTo(13)}, BadInput{"gif", "bad version", flip(4)}),
    [](const testing::TestParamInfo<BadInput>& info) {
      String name = String(info.param.Kind) + "_" + info.param.What;
      for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

// PNG chunk with its CRC.
void putChunk(Bytes& f, const char* type, const Bytes& data) {
  const Cardinal n = Cardinal(data.size());
  for (int s = 24; s >= 0; s -= 8) f.push_back(Byte(n >> s));
  const size_t start = f.size();
  f.insert(f.end(), type, type + 4);
  f.insert(f.end(), data.begin(), data.end());
  const Cardinal crc = Cardinal(crc32(0, f.data() + start, uInt(f.size() - start)));
  for (int s = 24; s >= 0; s -= 8) f.push_back(Byte(crc >> s));
}

Bytes be32(Cardinal v) {
  return {Byte(v >> 24), Byte(v >> 16), Byte(v >> 8), Byte(v)};
}

// A minimal PNG written by hand (so the decoder is checked against the format, not against libpng's
// writer): unfiltered rows, given colour type and depth, optional PLTE and tRNS.
Bytes handMadePng(Cardinal width, Cardinal height, Byte colorType, Byte bitDepth, const Bytes& rows,
                  const Bytes& plte = {}, const Bytes& trns = {}) {
  Bytes f = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr = be32(width);
  const Bytes h = be32(height);
  ihdr.insert(ihdr.end(), h.begin(), h.end());
  ihdr.insert(ihdr.end(), {bitDepth, colorType, 0, 0, 0});
  putChunk(f, "IHDR", ihdr);
  if (!plte.empty()) putChunk(f, "PLTE", plte);
  if (!trns.empty()) putChunk(f, "tRNS", trns);
  uLongf packedSize = compressBound(uLong(rows.size()));
  Bytes packed(packedSize);
  compress(packed.data(), &packedSize, rows.data(), uLong(rows.size()));
  packed.resize(packedSize);
  putChunk(f, "IDAT", packed);
  putChunk(f, "IEND", {});
  return f;
}

TEST(Limits, SizesBeyondTheBoundAreRefusedBeforeAllocating) {
  Bytes bmp = EncodeBmp(patternImage(1, 1, 24));
  bmp[18] = 0x40, bmp[19] = 0x9C;  // width 40000
  try {
    DecodeBmp(bmp.data(), bmp.size());
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Image is too large (40000 x 1)");
  }
  // 30000 x 30000 RGBA needs 3.6 GB: refused from the header alone.
  const Bytes png = handMadePng(30000, 30000, 6, 8, Bytes(5, 0));
  try {
    DecodePng(png.data(), png.size());
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Image is too large (30000 x 30000)");
  }
  TRawImage tooBig;
  EXPECT_THROW(tooBig.Allocate(MaxImageSide + 1, 1, 8), EInvalidGraphic);
  EXPECT_THROW(tooBig.Allocate(MaxImageSide, MaxImageSide, 32), EInvalidGraphic);  // 4 GiB
}

// ---- PNG ----

struct PngDecodeCase {
  const char* Name;
  Byte ColorType, BitDepth;
  Bytes Rows;  // with their filter bytes; 2 pixels in one row
  Bytes Plte, Trns;
  Cardinal Expected[2];  // 0xAARRGGBB
  bool Key, Partial;
  Cardinal KeyColor;  // 0x00BBGGRR
};

class PngDecode : public testing::TestWithParam<PngDecodeCase> {};

TEST_P(PngDecode, GivesStraightBgraAndReportsTransparency) {
  const PngDecodeCase& c = GetParam();
  const Bytes f = handMadePng(2, 1, c.ColorType, c.BitDepth, c.Rows, c.Plte, c.Trns);
  TPngInfo info;
  const TRawImage image = DecodePng(f.data(), f.size(), &info);
  ASSERT_EQ(image.BitCount, 32);
  ASSERT_EQ(image.Width, 2);
  EXPECT_EQ(pixel32(image, 0, 0), c.Expected[0]);
  EXPECT_EQ(pixel32(image, 1, 0), c.Expected[1]);
  EXPECT_EQ(info.ColorType, c.ColorType);
  EXPECT_EQ(info.BitDepth, c.BitDepth);
  EXPECT_EQ(info.HasTransparentKey, c.Key);
  EXPECT_EQ(info.HasPartialTransparency, c.Partial);
  if (c.Key) {
    EXPECT_EQ(info.TransparentKey, c.KeyColor);
  }
}

const Bytes plte3 = {10, 20, 30, 40, 50, 60, 70, 80, 90};

INSTANTIATE_TEST_SUITE_P(
    ColorTypesAndDepths, PngDecode,
    testing::Values(
        PngDecodeCase{"grey1", 0, 1, {0, 0x40}, {}, {}, {0xFF000000, 0xFFFFFFFF}, false, false, 0},
        PngDecodeCase{"grey2", 0, 2, {0, 0x60}, {}, {}, {0xFF555555, 0xFFAAAAAA}, false, false, 0},
        PngDecodeCase{
            "grey4_key", 0, 4, {0, 0x3C}, {}, {0, 3}, {0x00333333, 0xFFCCCCCC}, true, false, 0x333333},
        PngDecodeCase{"grey8", 0, 8, {0, 7, 200}, {}, {}, {0xFF070707, 0xFFC8C8C8}, false, false, 0},
        PngDecodeCase{
            "grey16", 0, 16, {0, 0x80, 0x40, 0x12, 0x34}, {}, {}, {0xFF808080, 0xFF121212}, false, false, 0},
        PngDecodeCase{"rgb8_key",
                      2,
                      8,
                      {0, 1, 2, 3, 4, 5, 6},
                      {},
                      {0, 4, 0, 5, 0, 6},
                      {0xFF010203, 0x00040506},
                      true,
                      false,
                      0x060504},
        PngDecodeCase{"rgb16",
                      2,
                      16,
                      {0, 0xAA, 1, 0xBB, 2, 0xCC, 3, 0, 0, 0xFF, 0xFF, 0, 0},
                      {},
                      {},
                      {0xFFAABBCC, 0xFF00FF00},
                      false,
                      false,
                      0},
        PngDecodeCase{"palette2_key",
                      3,
                      2,
                      {0, 0x10},
                      plte3,
                      {255, 0},
                      {0xFF0A141E, 0x0028323C},
                      true,
                      false,
                      0x3C3228},
        PngDecodeCase{
            "palette8_partial", 3, 8, {0, 2, 0}, plte3, {128}, {0xFF46505A, 0x800A141E}, false, true, 0},
        PngDecodeCase{
            "greyalpha8", 4, 8, {0, 9, 0, 250, 77}, {}, {}, {0x00090909, 0x4DFAFAFA}, false, false, 0},
        PngDecodeCase{"greyalpha16",
                      4,
                      16,
                      {0, 9, 0, 0x80, 0, 1, 2, 0xFF, 0xFF},
                      {},
                      {},
                      {0x80090909, 0xFF010101},
                      false,
                      false,
                      0},
        PngDecodeCase{
            "rgba8", 6, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {}, {}, {0x04010203, 0x08050607}, false, false, 0},
        PngDecodeCase{"rgba16",
                      6,
                      16,
                      {0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0},
                      {},
                      {},
                      {0x04010203, 0x08050607},
                      false,
                      false,
                      0}),
    [](const testing::TestParamInfo<PngDecodeCase>& info) { return String(info.param.Name); });

TEST(Png, RoundTripKeepsAlphaExactly) {
  const TRawImage image = patternImage(7, 5, 32);
  const Bytes f = EncodePng(image, {6});
  TPngInfo info;
  const TRawImage back = DecodePng(f.data(), f.size(), &info);
  EXPECT_EQ(info.ColorType, 6);
  EXPECT_EQ(back.Bits, image.Bits);
}

TEST(Png, TrueColourWriteDropsAlphaAndKeepsTheKey) {
  const TRawImage image = patternImage(7, 5, 32);
  TPngWriteOptions options;
  options.ColorType = 2;
  options.HasTransparentKey = true;
  options.TransparentKey = Cardinal(image.Row(1)[2 * 4 + 2]) | (Cardinal(image.Row(1)[2 * 4 + 1]) << 8) |
                           (Cardinal(image.Row(1)[2 * 4 + 0]) << 16);
  const Bytes f = EncodePng(image, options);
  TPngInfo info;
  const TRawImage back = DecodePng(f.data(), f.size(), &info);
  EXPECT_EQ(info.ColorType, 2);
  EXPECT_TRUE(info.HasTransparentKey);
  EXPECT_EQ(info.TransparentKey, options.TransparentKey);
  for (Integer y = 0; y < 5; ++y)
    for (Integer x = 0; x < 7; ++x) {
      const Cardinal rgb = pixel32(image, x, y) & 0xFFFFFF;
      EXPECT_EQ(pixel32(back, x, y), rgb | (x == 2 && y == 1 ? 0 : 0xFF000000u)) << x << "," << y;
    }
}

TEST(Png, GreyWriteTakesGreenChannel) {
  TRawImage image = patternImage(3, 2, 24);
  const Bytes f = EncodePng(image, {0});
  const TRawImage back = DecodePng(f.data(), f.size());
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x) {
      const Cardinal g = image.Row(y)[x * 3 + 1];
      EXPECT_EQ(pixel32(back, x, y), 0xFF000000u | g | (g << 8) | (g << 16));
    }
}

// ---- JPEG ----

TRawImage gradient(Integer w, Integer h) {
  TRawImage image;
  image.Allocate(w, h, 24);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      Byte* p = image.Row(y) + x * 3;
      p[0] = Byte(x * 255 / (w - 1));
      p[1] = Byte(y * 255 / (h - 1));
      p[2] = Byte(128 + (x - y) / 2);
    }
  return image;
}

double meanError(const TRawImage& a, const TRawImage& b) {
  double sum = 0;
  for (Integer y = 0; y < a.Height; ++y)
    for (Integer i = 0; i < a.Width * 3; ++i) sum += std::abs(int(a.Row(y)[i]) - int(b.Row(y)[i]));
  return sum / (double(a.Width) * a.Height * 3);
}

bool hasMarker(const Bytes& f, Byte marker) {
  for (size_t i = 0; i + 1 < f.size(); ++i)
    if (f[i] == 0xFF && f[i + 1] == marker) return true;
  return false;
}

TEST(Jpeg, RoundTripStaysCloseAndWritesBaseline) {
  const TRawImage image = gradient(48, 32);
  const Bytes f = EncodeJpeg(image);  // quality 90
  EXPECT_TRUE(hasMarker(f, 0xC0));
  EXPECT_FALSE(hasMarker(f, 0xC2));
  bool grey = true;
  const TRawImage back = DecodeJpeg(f.data(), f.size(), &grey);
  EXPECT_FALSE(grey);
  ASSERT_EQ(back.Width, 48);
  ASSERT_EQ(back.Height, 32);
  EXPECT_LT(meanError(image, back), 2.0);
}

TEST(Jpeg, QualityTradesSizeForError) {
  const TRawImage image = patternImage(64, 64, 24);
  const Bytes low = EncodeJpeg(image, {10});
  const Bytes high = EncodeJpeg(image, {100});
  EXPECT_LT(low.size(), high.size());
  const TRawImage lowBack = DecodeJpeg(low.data(), low.size());
  const TRawImage highBack = DecodeJpeg(high.data(), high.size());
  EXPECT_LT(meanError(image, highBack), meanError(image, lowBack));
  EXPECT_EQ(EncodeJpeg(image, {0}), EncodeJpeg(image, {1}));  // clamped into 1..100
}

TEST(Jpeg, GreyscaleFileLoadsAsEqualChannels) {
  const Bytes f = EncodeJpeg(gradient(16, 16), {90, true});
  bool grey = false;
  const TRawImage back = DecodeJpeg(f.data(), f.size(), &grey);
  EXPECT_TRUE(grey);
  for (Integer y = 0; y < 16; ++y)
    for (Integer x = 0; x < 16; ++x) {
      const Byte* p = back.Row(y) + x * 3;
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;
    }
}

TEST(Jpeg, ProgressiveOptionWritesProgressiveFrame) {
  const Bytes f = EncodeJpeg(gradient(48, 32), {90, false, true});
  EXPECT_TRUE(hasMarker(f, 0xC2));
  EXPECT_LT(meanError(gradient(48, 32), DecodeJpeg(f.data(), f.size())), 2.0);
}

// ---- GIF and colour reduction ----

TEST(Gif, SmallPaletteImageRoundTripsExactly) {
  TRawImage image;
  image.Allocate(9, 4, 24);
  const Byte colours[5][3] = {{0, 0, 0}, {255, 255, 255}, {10, 200, 30}, {90, 91, 92}, {1, 2, 3}};
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 9; ++x) std::memcpy(image.Row(y) + x * 3, colours[(x + 2 * y) % 5], 3);
  const Bytes f = EncodeGif(image);
  bool transparent = true;
  const TRawImage back = DecodeGif(f.data(), f.size(), &transparent);
  EXPECT_FALSE(transparent);
  ASSERT_EQ(back.Width, 9);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 9; ++x) {
      const Byte* c = colours[(x + 2 * y) % 5];
      EXPECT_EQ(pixel32(back, x, y), 0xFF000000u | c[0] | (c[1] << 8) | (c[2] << 16)) << x << "," << y;
    }
}

TEST(Gif, TransparencyIsKeptOnlyWhenAsked) {
  TRawImage image;
  image.Allocate(4, 2, 32);
  for (Integer x = 0; x < 4; ++x) {
    Byte* p = image.Row(0) + x * 4;
    p[0] = 200, p[2] = Byte(x * 60), p[3] = x < 2 ? 0 : 255;
  }
  for (bool keep : {false, true}) {
    const Bytes f = EncodeGif(image, keep);
    bool transparent = false;
    const TRawImage back = DecodeGif(f.data(), f.size(), &transparent);
    EXPECT_EQ(transparent, keep);
    EXPECT_EQ(pixel32(back, 0, 0) >> 24, keep ? 0u : 255u);
    EXPECT_EQ(pixel32(back, 3, 0), 0xFFB400C8u);  // red 180, blue 200
  }
}

// Two frames written through giflib: the first covers part of the screen, the second must be ignored.
TEST(Gif, FirstFrameIsPlacedOnTheScreenAndOtherFramesIgnored) {
  Bytes file;
  int error = 0;
  GifFileType* gif = EGifOpen(
      &file,
      [](GifFileType* g, const GifByteType* d, int n) {
        auto* out = static_cast<Bytes*>(g->UserData);
        out->insert(out->end(), d, d + n);
        return n;
      },
      &error);
  ASSERT_NE(gif, nullptr);
  GifColorType colors[2] = {{255, 0, 0}, {0, 0, 255}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  EGifPutScreenDesc(gif, 4, 3, 8, 0, map);
  const GifPixelType red[2] = {0, 0}, blue[4] = {1, 1, 1, 1};
  EGifPutImageDesc(gif, 1, 1, 2, 1, false, nullptr);
  EGifPutLine(gif, const_cast<GifPixelType*>(red), 2);
  EGifPutImageDesc(gif, 0, 0, 4, 1, false, nullptr);
  EGifPutLine(gif, const_cast<GifPixelType*>(blue), 4);
  ASSERT_EQ(EGifCloseFile(gif, &error), GIF_OK);
  GifFreeMapObject(map);

  bool transparent = false;
  const TRawImage back = DecodeGif(file.data(), file.size(), &transparent);
  ASSERT_EQ(back.Width, 4);
  ASSERT_EQ(back.Height, 3);
  EXPECT_TRUE(transparent);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x)
      EXPECT_EQ(pixel32(back, x, y), (y == 1 && (x == 1 || x == 2)) ? 0xFFFF0000u : 0u) << x << "," << y;
}

TEST(Quantize, ExactWhenColoursFitAndMedianCutOtherwise) {
  // Two clusters of 300 slightly different colours each: two entries land on the cluster means.
  TRawImage image;
  image.Allocate(600, 1, 24);
  for (Integer x = 0; x < 600; ++x) {
    Byte* p = image.Row(0) + x * 3;
    const bool dark = x < 300;
    const Integer i = x % 300;
    p[0] = Byte((dark ? 20 : 220) + i % 10);
    p[1] = Byte((dark ? 30 : 200) + (i / 10) % 10);
    p[2] = Byte((dark ? 40 : 180) + i / 100);
  }
  const TRawImage two = QuantizeColors(image, 2);
  ASSERT_EQ(two.Palette.size(), 2u);
  std::set<std::tuple<int, int, int>> entries;
  for (const TPaletteEntry& e : two.Palette) entries.insert({e.Blue, e.Green, e.Red});
  // Cluster means: blue 20/220 + 4.5, green 30/200 + 4.5, red 40/180 + 1 (rounded halves up).
  EXPECT_EQ(entries, (std::set<std::tuple<int, int, int>>{{25, 35, 41}, {225, 205, 181}}));
  EXPECT_NE(two.Row(0)[0], two.Row(0)[599]);
  EXPECT_EQ(two.Row(0)[0], two.Row(0)[299]);

  TRawImage few = patternImage(4, 4, 24);
  const TRawImage exact = QuantizeColors(few, 256);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x) {
      const TPaletteEntry& e = exact.Palette[exact.Row(y)[x]];
      const Byte* p = few.Row(y) + x * 3;
      EXPECT_TRUE(e.Blue == p[0] && e.Green == p[1] && e.Red == p[2]);
    }
}

TEST(Gif, ManyColoursAreReducedTo256WithSmallError) {
  const TRawImage image = gradient(64, 64);  // thousands of colours
  const Bytes f = EncodeGif(image);
  const TRawImage back = DecodeGif(f.data(), f.size());
  std::set<Cardinal> distinct;
  TRawImage back24;
  back24.Allocate(64, 64, 24);
  for (Integer y = 0; y < 64; ++y)
    for (Integer x = 0; x < 64; ++x) {
      distinct.insert(pixel32(back, x, y));
      std::memcpy(back24.Row(y) + x * 3, back.Row(y) + x * 4, 3);
    }
  EXPECT_LE(distinct.size(), 256u);
  EXPECT_GT(distinct.size(), 64u);
  EXPECT_LT(meanError(image, back24), 6.0);
}

TEST(Sniff, RecognisesEachKindByContent) {
  const TRawImage image = patternImage(2, 2, 24);
  EXPECT_EQ(SniffImageType(EncodeBmp(image).data(), 54), "bmp");
  const Bytes png = EncodePng(image), jpg = EncodeJpeg(image), gif = EncodeGif(image);
  EXPECT_EQ(SniffImageType(png.data(), png.size()), "png");
  EXPECT_EQ(SniffImageType(jpg.data(), jpg.size()), "jpg");
  EXPECT_EQ(SniffImageType(gif.data(), gif.size()), "gif");
  EXPECT_EQ(SniffImageType(png.data() + 1, png.size() - 1), "");
}

}  // namespace
