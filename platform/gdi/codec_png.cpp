// PNG through libpng. libpng reports errors by longjmp, so every call into it runs inside one function
// whose C++ state lives in a context object owned by the caller: a longjmp back skips no destructor,
// and nothing C++ ever unwinds through libpng's frames.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/gdi/codecs.h"

namespace {

struct TPngIo {
  const Byte* Data = nullptr;
  size_t Size = 0;
  size_t Pos = 0;
  std::vector<Byte>* Out = nullptr;
  char Error[256] = {};
  bool TooLarge = false;
};

void onPngError(png_structp png, png_const_charp message) {
  auto* io = static_cast<TPngIo*>(png_get_error_ptr(png));
  std::snprintf(io->Error, sizeof io->Error, "%s", message ? message : "unknown error");
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readPngData(png_structp png, png_bytep out, png_size_t count) {
  auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
  if (io->Size - io->Pos < count) png_error(png, "the file ends early");
  std::memcpy(out, io->Data + io->Pos, count);
  io->Pos += count;
}

void writePngData(png_structp png, png_bytep data, png_size_t count) {
  auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
  bool ok = true;
  try {
    io->Out->insert(io->Out->end(), data, data + count);
  } catch (...) {
    ok = false;
  }
  if (!ok) png_error(png, "out of memory");
}

void flushPngData(png_structp) {}

Byte scaleSample(unsigned value, int bitDepth) {
  if (bitDepth == 16) return Byte(value >> 8);
  if (bitDepth == 8) return Byte(value);
  const unsigned max = (1u << bitDepth) - 1;
  return Byte((value & max) * 255 / max);
}

struct TPngReadState {
  TPngIo Io;
  TRawImage Image;
  std::vector<png_bytep> Rows;
  TPngInfo Info;
};

void collectTransparency(png_structp png, png_infop info, TPngInfo& out) {
  png_bytep alphas = nullptr;
  int count = 0;
  png_color_16p key = nullptr;
  if (!png_get_valid(png, info, PNG_INFO_tRNS) || !png_get_tRNS(png, info, &alphas, &count, &key)) return;
  if (out.ColorType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    int paletteSize = 0;
    png_get_PLTE(png, info, &palette, &paletteSize);
    int firstClear = -1;
    for (int i = 0; i < count; ++i) {
      if (alphas[i] != 0 && alphas[i] != 255) out.HasPartialTransparency = true;
      if (alphas[i] == 0 && firstClear < 0) firstClear = i;
    }
    if (!out.HasPartialTransparency && firstClear >= 0 && firstClear < paletteSize) {
      out.HasTransparentKey = true;
      const png_color& c = palette[firstClear];
      out.TransparentKey = Cardinal(c.red) | (Cardinal(c.green) << 8) | (Cardinal(c.blue) << 16);
    }
  } else if (key && out.ColorType == PNG_COLOR_TYPE_GRAY) {
    const Cardinal g = scaleSample(key->gray, out.BitDepth);
    out.HasTransparentKey = true;
    out.TransparentKey = g | (g << 8) | (g << 16);
  } else if (key && out.ColorType == PNG_COLOR_TYPE_RGB) {
    out.HasTransparentKey = true;
    out.TransparentKey = Cardinal(scaleSample(key->red, out.BitDepth)) |
                         (Cardinal(scaleSample(key->green, out.BitDepth)) << 8) |
                         (Cardinal(scaleSample(key->blue, out.BitDepth)) << 16);
  }
}

bool readPng(png_structp png, png_infop info, TPngReadState* s) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &s->Io, readPngData);
  png_set_user_limits(png, MaxImageSide, MaxImageSide);
  png_read_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  s->Info.ColorType = png_get_color_type(png, info);
  s->Info.BitDepth = png_get_bit_depth(png, info);
  s->Info.Interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
  collectTransparency(png, info, s->Info);
  if (Int64(width) * Int64(height) * 4 > MaxImageBytes) {
    s->Io.TooLarge = true;
    return false;
  }

  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!(s->Info.ColorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row layout");

  s->Image.Allocate(Integer(width), Integer(height), 32);
  s->Rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) s->Rows[y] = s->Image.Row(Integer(y));
  png_read_image(png, s->Rows.data());
  png_read_end(png, nullptr);
  return true;
}

struct TPngWriteState {
  TPngIo Io;
  std::vector<Byte> File;
  std::vector<Byte> Pixels;  // rows in the file's sample layout
  std::vector<png_bytep> Rows;
};

bool writePng(png_structp png, png_infop info, const TRawImage& image, const TPngWriteOptions& options,
              TPngWriteState* s) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &s->Io, writePngData, flushPngData);
  png_set_IHDR(png, info, png_uint_32(image.Width), png_uint_32(image.Height), 8, options.ColorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, std::clamp(options.CompressionLevel, 0, 9));
  if (options.HasTransparentKey &&
      (options.ColorType == PNG_COLOR_TYPE_GRAY || options.ColorType == PNG_COLOR_TYPE_RGB)) {
    png_color_16 key{};
    key.red = png_uint_16(options.TransparentKey & 0xFF);
    key.green = png_uint_16((options.TransparentKey >> 8) & 0xFF);
    key.blue = png_uint_16((options.TransparentKey >> 16) & 0xFF);
    key.gray = key.green;
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_write_info(png, info);
  png_write_image(png, s->Rows.data());
  png_write_end(png, info);
  return true;
}

}  // namespace

TRawImage DecodePng(const Byte* data, size_t size, TPngInfo* info) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
    throw EInvalidGraphic("PNG image is not valid: no PNG signature");
  auto state = std::make_unique<TPngReadState>();
  state->Io.Data = data;
  state->Io.Size = size;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state->Io, onPngError, onPngWarning);
  if (!png) throw EOutOfMemory("Out of memory");
  png_infop pngInfo = png_create_info_struct(png);
  if (!pngInfo) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    throw EOutOfMemory("Out of memory");
  }
  struct TReadGuard {
    png_structp* Png;
    png_infop* Info;
    ~TReadGuard() { png_destroy_read_struct(Png, Info, nullptr); }
  } guard{&png, &pngInfo};
  if (!readPng(png, pngInfo, state.get())) {
    if (state->Io.TooLarge)
      CheckImageSize(Integer(png_get_image_width(png, pngInfo)), Integer(png_get_image_height(png, pngInfo)),
                     32);
    throw EInvalidGraphic(String("PNG image is not valid: ") + state->Io.Error);
  }
  if (info) *info = state->Info;
  return std::move(state->Image);
}

std::vector<Byte> EncodePng(const TRawImage& source, const TPngWriteOptions& options) {
  const Integer type = options.ColorType;
  if (type != PNG_COLOR_TYPE_GRAY && type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_GRAY_ALPHA &&
      type != PNG_COLOR_TYPE_RGB_ALPHA)
    throw EInvalidGraphic("PNG colour type " + std::to_string(type) + " cannot be written");
  if (source.Empty()) throw EInvalidGraphic("PNG image is empty");
  const TRawImage image = source.BitCount == 32 || source.BitCount == 24 ? TRawImage() : ConvertTo32(source);
  const TRawImage& pixels = image.Empty() ? source : image;

  auto state = std::make_unique<TPngWriteState>();
  state->Io.Out = &state->File;
  const int channels = type == PNG_COLOR_TYPE_GRAY         ? 1
                       : type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                       : type == PNG_COLOR_TYPE_RGB        ? 3
                                                           : 4;
  const size_t rowBytes = size_t(pixels.Width) * size_t(channels);
  const int step = pixels.BitCount / 8;
  state->Pixels.resize(rowBytes * size_t(pixels.Height));
  state->Rows.resize(size_t(pixels.Height));
  for (Integer y = 0; y < pixels.Height; ++y) {
    const Byte* src = pixels.Row(y);
    Byte* dst = state->Pixels.data() + size_t(y) * rowBytes;
    state->Rows[size_t(y)] = dst;
    for (Integer x = 0; x < pixels.Width; ++x, src += step) {
      const Byte alpha = step == 4 ? src[3] : 255;
      switch (type) {
        case PNG_COLOR_TYPE_GRAY:
          *dst++ = src[1];
          break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
          *dst++ = src[1];
          *dst++ = alpha;
          break;
        case PNG_COLOR_TYPE_RGB:
          *dst++ = src[2];
          *dst++ = src[1];
          *dst++ = src[0];
          break;
        default:
          *dst++ = src[2];
          *dst++ = src[1];
          *dst++ = src[0];
          *dst++ = alpha;
      }
    }
  }

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state->Io, onPngError, onPngWarning);
  if (!png) throw EOutOfMemory("Out of memory");
  png_infop pngInfo = png_create_info_struct(png);
  struct TWriteGuard {
    png_structp* Png;
    png_infop* Info;
    ~TWriteGuard() { png_destroy_write_struct(Png, Info); }
  } guard{&png, &pngInfo};
  if (!pngInfo) throw EOutOfMemory("Out of memory");
  if (!writePng(png, pngInfo, pixels, options, state.get()))
    throw EInvalidGraphic(String("PNG image could not be written: ") + state->Io.Error);
  return std::move(state->File);
}
