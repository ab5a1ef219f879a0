// JPEG through libjpeg. Its fatal errors leave by longjmp into the one function that talks to the
// library; all C++ state lives in a context object owned by the caller.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/gdi/codecs.h"

namespace {

struct TJpegError {
  jpeg_error_mgr Manager;
  jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX] = {};
  bool TooLarge = false;
};

void onJpegError(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, error->Message);
  std::longjmp(error->Jump, 1);
}

// libjpeg pads a file that ends early with a fake end marker and only warns; we refuse it instead.
void onJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
    auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
    std::snprintf(error->Message, sizeof error->Message, "the file ends early");
    std::longjmp(error->Jump, 1);
  }
}

void initError(TJpegError& error) {
  jpeg_std_error(&error.Manager);
  error.Manager.error_exit = onJpegError;
  error.Manager.emit_message = onJpegMessage;
}

// The jpeg structs start zeroed (value-initialised state), so destroying one that was never created is
// harmless.
struct TJpegReadState {
  TJpegError Error;
  jpeg_decompress_struct Info;
  TRawImage Image;
  std::vector<Byte> Line;  // one decoded row when it needs converting
  bool Grayscale = false;
};

bool readJpeg(const Byte* data, size_t size, TJpegReadState* s) {
  j_decompress_ptr cinfo = &s->Info;
  if (setjmp(s->Error.Jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  if (cinfo->image_width > JDIMENSION(MaxImageSide) || cinfo->image_height > JDIMENSION(MaxImageSide) ||
      Int64(TRawImage::RowBytesFor(Integer(cinfo->image_width), 24)) * cinfo->image_height > MaxImageBytes) {
    s->Error.TooLarge = true;
    return false;
  }
  const J_COLOR_SPACE in = cinfo->jpeg_color_space;
  const bool cmyk = in == JCS_CMYK || in == JCS_YCCK;
  s->Grayscale = in == JCS_GRAYSCALE;
  cinfo->out_color_space = cmyk ? JCS_CMYK : s->Grayscale ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_start_decompress(cinfo);

  const Integer width = Integer(cinfo->output_width);
  s->Image.Allocate(width, Integer(cinfo->output_height), 24);
  s->Line.resize(size_t(width) * size_t(cinfo->output_components));
  while (cinfo->output_scanline < cinfo->output_height) {
    const Integer y = Integer(cinfo->output_scanline);
    Byte* dst = s->Image.Row(y);
    if (cinfo->out_color_space == JCS_EXT_BGR) {
      JSAMPROW row = dst;
      jpeg_read_scanlines(cinfo, &row, 1);
      continue;
    }
    JSAMPROW row = s->Line.data();
    jpeg_read_scanlines(cinfo, &row, 1);
    const Byte* src = s->Line.data();
    for (Integer x = 0; x < width; ++x, dst += 3) {
      if (cmyk) {  // Adobe files store inverted CMYK: the samples are already 255 - ink
        const unsigned k = src[x * 4 + 3];
        dst[0] = Byte(src[x * 4 + 2] * k / 255);
        dst[1] = Byte(src[x * 4 + 1] * k / 255);
        dst[2] = Byte(src[x * 4 + 0] * k / 255);
      } else {
        dst[0] = dst[1] = dst[2] = src[x];
      }
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

struct TJpegWriteState {
  TJpegError Error;
  jpeg_compress_struct Info;
  unsigned char* Buffer = nullptr;
  unsigned long BufferSize = 0;
  std::vector<Byte> Line;
};

bool writeJpeg(const TRawImage& image, const TJpegWriteOptions& options, TJpegWriteState* s) {
  j_compress_ptr cinfo = &s->Info;
  if (setjmp(s->Error.Jump)) return false;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, &s->Buffer, &s->BufferSize);
  cinfo->image_width = JDIMENSION(image.Width);
  cinfo->image_height = JDIMENSION(image.Height);
  const bool direct = !options.Grayscale && (image.BitCount == 24 || image.BitCount == 32);
  if (options.Grayscale) {
    cinfo->input_components = 1;
    cinfo->in_color_space = JCS_GRAYSCALE;
  } else {
    cinfo->input_components = direct ? image.BitCount / 8 : 3;
    cinfo->in_color_space = !direct ? JCS_RGB : image.BitCount == 24 ? JCS_EXT_BGR : JCS_EXT_BGRX;
  }
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, std::clamp(options.Quality, 1, 100), TRUE);
  if (options.Progressive) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    const Integer y = Integer(cinfo->next_scanline);
    JSAMPROW row;
    if (direct) {
      row = const_cast<Byte*>(image.Row(y));
    } else {
      Byte* dst = s->Line.data();
      for (Integer x = 0; x < image.Width; ++x) {
        Byte b, g, r;
        if (image.BitCount >= 24) {
          const Byte* p = image.Row(y) + x * (image.BitCount / 8);
          b = p[0], g = p[1], r = p[2];
        } else {
          const size_t i = image.Index(x, y);
          const TPaletteEntry e = i < image.Palette.size() ? image.Palette[i] : TPaletteEntry{};
          b = e.Blue, g = e.Green, r = e.Red;
        }
        if (options.Grayscale) {
          *dst++ = Byte((r * 77u + g * 150u + b * 29u + 128) >> 8);
        } else {
          *dst++ = r;
          *dst++ = g;
          *dst++ = b;
        }
      }
      row = s->Line.data();
    }
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

TRawImage DecodeJpeg(const Byte* data, size_t size, bool* grayscale) {
  if (size < 3 || data[0] != 0xFF || data[1] != 0xD8)
    throw EInvalidGraphic("JPEG image is not valid: no JPEG header");
  auto state = std::make_unique<TJpegReadState>();
  state->Info.err = &state->Error.Manager;
  initError(state->Error);
  struct TGuard {
    jpeg_decompress_struct* Info;
    ~TGuard() { jpeg_destroy_decompress(Info); }
  } guard{&state->Info};
  if (!readJpeg(data, size, state.get())) {
    if (state->Error.TooLarge)
      CheckImageSize(Integer(state->Info.image_width), Integer(state->Info.image_height), 24);
    throw EInvalidGraphic(String("JPEG image is not valid: ") + state->Error.Message);
  }
  if (grayscale) *grayscale = state->Grayscale;
  return std::move(state->Image);
}

std::vector<Byte> EncodeJpeg(const TRawImage& image, const TJpegWriteOptions& options) {
  if (image.Empty()) throw EInvalidGraphic("JPEG image is empty");
  auto state = std::make_unique<TJpegWriteState>();
  state->Info.err = &state->Error.Manager;
  initError(state->Error);
  struct TGuard {
    TJpegWriteState* State;
    ~TGuard() {
      jpeg_destroy_compress(&State->Info);
      std::free(State->Buffer);
    }
  } guard{state.get()};
  state->Line.resize(size_t(image.Width) * 3);
  if (!writeJpeg(image, options, state.get()))
    throw EInvalidGraphic(String("JPEG image could not be written: ") + state->Error.Message);
  return std::vector<Byte>(state->Buffer, state->Buffer + state->BufferSize);
}
