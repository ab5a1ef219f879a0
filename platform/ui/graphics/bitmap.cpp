// TBitmap over a DIB section.
#include "platform/ui/graphics/bitmap.h"

#include <cstring>

#include "platform/rtl/sysutils.h"
#include "platform/ui/graphics/graphicio.h"

namespace {

Integer bitsOf(TPixelFormat format) {
  switch (format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf24bit:
      return 24;
    case pf32bit:
    case pfDevice:
      return 32;
    default:
      throw EInvalidGraphic("Unsupported pixel format");
  }
}

std::vector<TPaletteEntry> defaultPalette(Integer bits) {
  std::vector<TPaletteEntry> p;
  if (bits == 1) {
    p = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  } else if (bits == 4) {
    static constexpr Cardinal vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                         0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};  // 0xRRGGBB
    for (Cardinal c : vga) p.push_back({Byte(c), Byte(c >> 8), Byte(c >> 16), 0});
  } else if (bits == 8) {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) p.push_back({Byte(b * 51), Byte(g * 51), Byte(r * 51), 0});
    for (int i = 1; i <= 40; ++i) {
      const Byte v = Byte(i * 255 / 41);
      p.push_back({v, v, v, 0});
    }
  }
  return p;
}

Byte nearestIndex(const std::vector<TPaletteEntry>& palette, Byte b, Byte g, Byte r) {
  Integer best = -1;
  Byte index = 0;
  for (size_t i = 0; i < palette.size(); ++i) {
    const Integer db = palette[i].Blue - b, dg = palette[i].Green - g, dr = palette[i].Red - r;
    const Integer d = db * db + dg * dg + dr * dr;
    if (best < 0 || d < best) best = d, index = Byte(i);
  }
  return index;
}

}  // namespace

// The canvas of a bitmap: a memory DC with the bitmap selected, made when drawing needs it and given
// up when someone takes the bitmap's handle.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    HDC dc = HandleAllocated() ? Handle() : nullptr;
    if (!dc) return;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    if (FBitmap->FHandle) FOldBitmap = SelectObject(dc, FBitmap->FHandle);
    SetHandle(dc);
  }
  void Changed() override {
    TCanvas::Changed();
    FBitmap->Changed(FBitmap);
  }

 private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer AWidth, Integer AHeight) {
  SetSize(AWidth, AHeight);
}

TBitmap::~TBitmap() {
  FCanvas.reset();
  if (FHandle) DeleteObject(FHandle);
}

Integer TBitmap::bitCount() const {
  return bitsOf(FPixelFormat);
}

void TBitmap::freeContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::replaceSurface(Integer AWidth, Integer AHeight, TPixelFormat Format,
                             const std::vector<TPaletteEntry>& Palette, bool KeepPixels) {
  const Integer bits = bitsOf(Format);
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  CheckImageSize(AWidth, AHeight, bits);
  std::vector<TPaletteEntry> palette = Palette;
  if (bits <= 8) {
    if (palette.empty()) palette = defaultPalette(bits);
    palette.resize(size_t(1) << bits);
  } else {
    palette.clear();
  }
  freeContext();

  HBITMAP handle = nullptr;
  Byte* newBits = nullptr;
  if (AWidth > 0 && AHeight > 0) {
    std::vector<Byte> infoBuffer(sizeof(BITMAPINFOHEADER) + palette.size() * sizeof(RGBQUAD) +
                                 sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(infoBuffer.data());
    info->bmiHeader = BITMAPINFOHEADER{};
    info->bmiHeader.biWidth = AWidth;
    info->bmiHeader.biHeight = -AHeight;
    info->bmiHeader.biBitCount = Word(bits);
    info->bmiHeader.biClrUsed = Cardinal(palette.size());
    auto* colors = reinterpret_cast<RGBQUAD*>(infoBuffer.data() + sizeof(BITMAPINFOHEADER));
    for (size_t i = 0; i < palette.size(); ++i)
      colors[i] = RGBQUAD{palette[i].Blue, palette[i].Green, palette[i].Red, 0};
    void* p = nullptr;
    handle = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &p, nullptr, 0);
    if (!handle) throw EOutOfResources("Out of system resources");
    newBits = static_cast<Byte*>(p);

    const size_t stride = size_t(TRawImage::RowBytesFor(AWidth, bits));
    if (bits >= 24) {
      std::memset(newBits, 0xFF, stride * size_t(AHeight));
      if (bits == 32)
        for (size_t i = 3; i < stride * size_t(AHeight); i += 4) newBits[i] = 0;
    } else {
      TRawImage view;  // fill through the index writer
      view.Width = AWidth, view.Height = 1, view.BitCount = bits;
      view.Bits.assign(stride, 0);
      const Byte white = nearestIndex(palette, 255, 255, 255);
      for (Integer x = 0; x < AWidth; ++x) view.SetIndex(x, 0, white);
      for (Integer y = 0; y < AHeight; ++y)
        std::memcpy(newBits + stride * size_t(y), view.Bits.data(), stride);
    }

    if (KeepPixels && FHandle) {
      const Integer w = std::min(AWidth, FWidth), h = std::min(AHeight, FHeight);
      if (Format == FPixelFormat || bitsOf(FPixelFormat) == bits) {
        const size_t oldStride = size_t(BytesPerScanLine());
        for (Integer y = 0; y < h; ++y) {
          if (bits >= 8) {
            std::memcpy(newBits + stride * size_t(y), FBits + oldStride * size_t(y),
                        size_t(w) * size_t(bits / 8));
            continue;
          }
          TRawImage from, to;  // sub-byte rows copy pixel by pixel
          from.Width = FWidth, from.Height = 1, from.BitCount = bits;
          from.Bits.assign(FBits + oldStride * size_t(y), FBits + oldStride * size_t(y + 1));
          to.Width = AWidth, to.Height = 1, to.BitCount = bits;
          to.Bits.assign(newBits + stride * size_t(y), newBits + stride * size_t(y + 1));
          for (Integer x = 0; x < w; ++x) to.SetIndex(x, 0, from.Index(x, 0));
          std::memcpy(newBits + stride * size_t(y), to.Bits.data(), stride);
        }
      } else {
        HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
        HGDIOBJ oldSrc = SelectObject(src, FHandle), oldDst = SelectObject(dst, handle);
        BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
        SelectObject(src, oldSrc);
        SelectObject(dst, oldDst);
        DeleteDC(src);
        DeleteDC(dst);
      }
    }
  }
  if (FHandle) DeleteObject(FHandle);
  FHandle = handle;
  FBits = newBits;
  FWidth = handle ? AWidth : 0;
  FHeight = handle ? AHeight : 0;
  FPixelFormat = Format;
  FPalette = std::move(palette);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  replaceSurface(AWidth, AHeight, FPixelFormat, FPalette, true);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  bitsOf(Value);  // refuses the formats we do not keep
  replaceSurface(FWidth, FHeight, Value,
                 bitsOf(Value) == bitCount() ? FPalette : std::vector<TPaletteEntry>(), true);
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  if (Value == bmDIB) {
    FPixelFormat = pf32bit;  // same 32-bit surface
    Changed(this);
  } else {
    SetPixelFormat(pfDevice);
  }
}

HBITMAP TBitmap::Handle() {
  freeContext();
  return FHandle;
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

Byte* TBitmap::ScanLine(Integer Y) {
  if (Y < 0 || Y >= FHeight || !FBits) throw EInvalidGraphic("Scan line index out of range");
  return FBits + size_t(Y) * size_t(BytesPerScanLine());
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  const Byte* row = FBits + size_t(FHeight - 1) * size_t(BytesPerScanLine());
  const Integer bits = bitCount();
  if (bits >= 24) return TColor(RGB(row[2], row[1], row[0]));
  TRawImage view;
  view.Width = FWidth, view.Height = 1, view.BitCount = bits;
  view.Bits.assign(row, row + BytesPerScanLine());
  const TPaletteEntry& e = FPalette[view.Index(0, 0)];
  return TColor(RGB(e.Red, e.Green, e.Blue));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor && FTransparentMode == (Value == clDefault ? tmAuto : tmFixed)) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

TRawImage TBitmap::ToRawImage() const {
  TRawImage image;
  image.BitCount = bitCount();
  if (Empty()) return image;
  image.Allocate(FWidth, FHeight, bitCount());
  image.Palette = FPalette;
  std::memcpy(image.Bits.data(), FBits, image.Bits.size());
  return image;
}

void TBitmap::LoadFromRawImage(const TRawImage& Image) {
  TPixelFormat format;
  switch (Image.BitCount) {
    case 1:
      format = pf1bit;
      break;
    case 4:
      format = pf4bit;
      break;
    case 8:
      format = pf8bit;
      break;
    case 24:
      format = pf24bit;
      break;
    case 32:
      format = pf32bit;
      break;
    default:
      throw EInvalidGraphic("Unsupported pixel depth (" + std::to_string(Image.BitCount) + " bits)");
  }
  const Integer w = Image.Empty() ? 0 : Image.Width, h = Image.Empty() ? 0 : Image.Height;
  replaceSurface(w, h, format, Image.Palette, false);
  if (FBits) std::memcpy(FBits, Image.Bits.data(), size_t(BytesPerScanLine()) * size_t(FHeight));
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  std::vector<Byte> data = ReadStreamToEnd(Stream);
  // A bitmap file says how long it is, so a stream may hold more after it.
  if (data.size() >= 14 && data[0] == 'B' && data[1] == 'M') {
    const size_t fileSize =
        size_t(data[2]) | (size_t(data[3]) << 8) | (size_t(data[4]) << 16) | (size_t(data[5]) << 24);
    if (fileSize >= 26 && fileSize < data.size()) {
      Stream->Seek(Int64(fileSize) - Int64(data.size()), soCurrent);
      data.resize(fileSize);
    }
  }
  LoadFromRawImage(DecodeBmp(data.data(), data.size()));
}

void TBitmap::SaveToStream(TStream* Stream) {
  const std::vector<Byte> file = EncodeBmp(ToRawImage());
  Stream->WriteBuffer(file.data(), Int64(file.size()));
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  auto* bitmap = dynamic_cast<TBitmap*>(Source);
  if (!bitmap) return TGraphic::Assign(Source);
  if (bitmap == this) return;
  replaceSurface(bitmap->FWidth, bitmap->FHeight, bitmap->FPixelFormat, bitmap->FPalette, false);
  if (FBits) std::memcpy(FBits, bitmap->FBits, size_t(BytesPerScanLine()) * size_t(FHeight));
  FTransparent = bitmap->FTransparent;
  FTransparentMode = bitmap->FTransparentMode;
  FTransparentColor = bitmap->FTransparentColor;
  Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HDC src = Canvas()->Handle();
  HDC dst = ACanvas->Handle();
  if (Transparent()) {
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                   ColorToRGB(TransparentColor()) & 0xFFFFFF);
  } else {
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
               ACanvas->CopyMode());
  }
}
