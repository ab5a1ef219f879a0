#include "skin/core/bsbitmap.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/rtl/convert.h"
#include "platform/rtl/dynlib.h"
#include "platform/ui/graphics/picture.h"
#include "skin/core/bskernels.h"
#include "skin/core/bsstreams.h"

// ---- colour helpers ----
TbsColor ColorRefToBsColor(COLORREF Ref) {
  return 0xFF000000 | (TbsColor(GetRValue(Ref)) << 16) | (TbsColor(GetGValue(Ref)) << 8) | GetBValue(Ref);
}

TbsColor ColorToBsColor(TColor Color, Byte Alpha) {
  const COLORREF rgb = ColorToRGB(Color);
  return (TbsColor(Alpha) << 24) | (TbsColor(GetRValue(rgb)) << 16) | (TbsColor(GetGValue(rgb)) << 8) |
         GetBValue(rgb);
}

TbsColor PackBsColor(SmallInt R, SmallInt G, SmallInt B, Byte A) {
  auto clamp = [](SmallInt v) { return TbsColor(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  return clamp(B) | (clamp(G) << 8) | (clamp(R) << 16) | (TbsColor(A) << 24);
}

void ClampRGB(Integer& R, Integer& G, Integer& B) {
  R = EnsureRange(R, 0, 255);
  G = EnsureRange(G, 0, 255);
  B = EnsureRange(B, 0, 255);
}

// ---- live bitmaps ----
namespace {
std::vector<TbsBitmap*>* LiveBitmaps = nullptr;
}

void RegisterLiveBitmap(TbsBitmap* Bitmap) {
  if (!LiveBitmaps) LiveBitmaps = new std::vector<TbsBitmap*>;
  LiveBitmaps->push_back(Bitmap);
}

void UnregisterLiveBitmap(TbsBitmap* Bitmap) {
  if (!LiveBitmaps) return;
  std::erase(*LiveBitmaps, Bitmap);
}

namespace {
bool isLiveBitmap(TbsBitmap* Bitmap) {
  return LiveBitmaps && std::find(LiveBitmaps->begin(), LiveBitmaps->end(), Bitmap) != LiveBitmaps->end();
}
}  // namespace

TbsBitmap* FindLiveBitmapByDC(HDC DC) {
  if (!LiveBitmaps) return nullptr;
  for (TbsBitmap* b : *LiveBitmaps)
    if (b->DC() == DC) return b;
  return nullptr;
}

void FreeLiveBitmaps() {
  delete LiveBitmaps;
  LiveBitmaps = nullptr;
}

// ---- TbsBitmap ----
TbsBitmap::TbsBitmap() {
  FBitmapInfo.bmiHeader.biSize = 40;
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TbsBitmap::~TbsBitmap() {
  UnregisterLiveBitmap(this);
  if (FCanvas) {
    FCanvas->SetHandle(nullptr);
    FCanvas.reset();
  }
  releaseSurface();
}

void TbsBitmap::releaseSurface() {
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
}

TCanvas* TbsBitmap::GetCanvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(FDC);
  }
  return FCanvas.get();
}

void TbsBitmap::SetSize(Integer AWidth, Integer AHeight) {
  auto magnitude = [](Integer v) { return v == INT_MIN ? INT_MAX : std::abs(v); };
  AWidth = magnitude(AWidth);
  AHeight = magnitude(AHeight);
  if (AWidth == 0 || AHeight == 0) return;
  if (AWidth == FWidth && AHeight == FHeight) return;

  if (FCanvas) FCanvas->SetHandle(nullptr);
  releaseSurface();
  FWidth = 0;
  FHeight = 0;
  FBitmapInfo.bmiHeader.biWidth = AWidth;
  FBitmapInfo.bmiHeader.biHeight = -AHeight;

  // A failure leaves the bitmap empty and, owning no DC, out of the registry.
  auto fail = [this](const char* message) {
    UnregisterLiveBitmap(this);
    throw Exception(message);
  };
  void* bits = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle || !bits) {
    if (handle) DeleteObject(handle);
    fail("Can't allocate the DIB handle");
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(handle);
    fail("Can't create compatible DC");
  }
  if (!SelectObject(dc, handle)) {
    DeleteDC(dc);
    DeleteObject(handle);
    fail("Can't bslect an object into DC");
  }
  FHandle = handle;
  FDC = dc;
  FBits = static_cast<PbsColorArray>(bits);
  if (!isLiveBitmap(this)) RegisterLiveBitmap(this);
  if (FCanvas) FCanvas->SetHandle(FDC);
  FWidth = AWidth;
  FHeight = AHeight;
}

void TbsBitmap::Clear(TbsColor Color) {
  if (Empty()) return;
  RowFill(FBits, FWidth * FHeight, Color);
}

void TbsBitmap::SetPixel(Integer X, Integer Y, TbsColor Value) {
  if (X >= 0 && X < FWidth && Y >= 0 && Y < FHeight && FBits) *GetPixelPtr(X, Y) = Value;
}

void TbsBitmap::assignFromPlainBitmap(TBitmap* Source) {
  SetSize(Source->Width(), Source->Height());
  if (Empty()) return;
  BitBlt(FDC, 0, 0, FWidth, FHeight, Source->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetAlpha(255);
}

void TbsBitmap::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TbsBitmap*>(Source)) {
    SetSize(src->Width(), src->Height());
    if (Empty() || src->Empty()) return;
    RowCopy(src->Bits(), FBits, FWidth * FHeight);
    FName = src->Name();
    FTransparent = src->Transparent();
    FAlphaBlend = src->AlphaBlend();
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    if (bmp->PixelFormat() == pf32bit && bmp->HandleType() == bmDIB) {
      SetSize(bmp->Width(), bmp->Height());
      if (Empty() || bmp->Width() != FWidth || bmp->Height() != FHeight) return;
      for (Integer y = 0; y < FHeight; ++y) std::memcpy(GetRowPtr(y), bmp->ScanLine(y), size_t(FWidth) * 4);
      CheckingAlphaBlend();
    } else {
      assignFromPlainBitmap(bmp);
    }
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetSize(graphic->Width(), graphic->Height());
    if (Empty()) return;
    DrawGraphic(graphic, Rect(0, 0, FWidth, FHeight));
    SetAlpha(255);
    return;
  }
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    TGraphic* graphic = picture->Graphic();
    if (auto* bmp = dynamic_cast<TBitmap*>(graphic)) {
      assignFromPlainBitmap(bmp);
      return;
    }
    SetSize(picture->Width(), picture->Height());
    if (Empty() || !graphic) return;
    DrawGraphic(graphic, Rect(0, 0, FWidth, FHeight));
    SetAlpha(255);
    return;
  }
  TPersistent::Assign(Source);
}

void TbsBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
  if (Empty() || !Graphic) return;
  TBitmap keyed;
  keyed.SetPixelFormat(pf32bit);
  keyed.SetSize(FWidth, FHeight);
  TCanvas* canvas = keyed.Canvas();
  canvas->Brush()->SetColor(clFuchsia);
  canvas->FillRect(Rect(-1, -1, FWidth + 1, FHeight + 1));
  canvas->StretchDraw(DstRect, Graphic);
  for (Integer y = 0; y < FHeight; ++y) {
    const Byte* row = keyed.ScanLine(y);
    for (Integer x = 0; x < FWidth; ++x) {
      const Byte* p = row + size_t(x) * 4;
      if (p[2] == 255 && p[1] == 0 && p[0] == 255) continue;
      TbsColor value;
      std::memcpy(&value, p, 4);
      SetPixel(x, y, value);
    }
  }
}

// ---- streams ----
void TbsBitmap::LoadFromStream(TStream* Stream) {
  String name;
  ReadStreamString(Stream, name);
  FName = name;
  Integer w = 0, h = 0;
  Stream->Read(&w, 4);
  Stream->Read(&h, 4);
  const bool bottomUp = h <= 0;
  const Integer rows = h == INT_MIN ? INT_MAX : std::abs(h);
  SetSize(w, rows);
  if (FWidth == w && FHeight == rows && !Empty()) {
    // Only the bytes that are there: a short stream leaves the remaining pixels as they were.
    Stream->Read(FBits, Int64(FWidth) * FHeight * 4);
  }
  if (bottomUp) FlipVert();
}

void TbsBitmap::SaveToStream(TStream* Stream) {
  WriteStreamString(Stream, FName);
  Integer w = FWidth, h = FHeight;
  Stream->WriteBuffer(&w, 4);
  Stream->WriteBuffer(&h, 4);
  if (FBits) Stream->WriteBuffer(FBits, Int64(FWidth) * FHeight * 4);
}

namespace {
// The system's 16-colour palette: the eight dark colours with silver, then grey and the eight bright ones.
const Byte SystemPalette16[16][3] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}};

Word readWord(const Byte* p) {
  return Word(p[0] | (p[1] << 8));
}
}  // namespace

void TbsBitmap::LoadFromPcxStream(TStream* Stream) {
  Byte header[128] = {};
  if (Stream->Read(header, 1) != 1) return;
  if (header[0] != 10 && header[0] != 205) return;
  Stream->Read(header + 1, 127);
  const Byte version = header[1];
  const bool rle = header[2] == 1;
  const Integer width = Integer(readWord(header + 8)) - readWord(header + 4) + 1;
  const Integer height = Integer(readWord(header + 10)) - readWord(header + 6) + 1;
  const Int64 lineLength = Int64(header[65]) * readWord(header + 66);
  if (width <= 0 || height <= 0) return;

  Byte palette[256][3] = {};
  const Int64 bodyStart = Stream->Position();
  const Int64 streamSize = Stream->Size();
  if (version == 3) {
    std::memcpy(palette, SystemPalette16, sizeof(SystemPalette16));
  } else if (streamSize >= 769) {
    Stream->Seek(streamSize - 769, soBeginning);
    Byte marker = 0;
    Stream->Read(&marker, 1);
    Stream->Read(palette, 768);
    Stream->SetPosition(bodyStart);
  }
  // The surface first: a size beyond the cap is refused before the body is read or decoded.
  SetSize(width, height);
  if (Empty()) return;

  std::vector<Byte> body(size_t(std::max<Int64>(0, streamSize - bodyStart)));
  if (!body.empty()) body.resize(size_t(Stream->Read(body.data(), Int64(body.size()))));

  // Only the first `width` bytes of each line are pixels; the decoded body is never held whole, so a
  // header with a huge line length costs nothing. Lines shorter than the width read on into the next
  // line, as the picture's own layout says; past the data they read index 0.
  const Int64 total = Int64(height) * lineLength;
  std::vector<Byte> decoded;
  const bool linesCoverWidth = lineLength >= width;
  decoded.resize(linesCoverWidth ? size_t(width) * size_t(height) : size_t(total), 0);
  auto put = [&](Int64 pos, Byte value) {
    if (!linesCoverWidth) {
      decoded[size_t(pos)] = value;
      return;
    }
    const Int64 x = pos % lineLength;
    if (x < width) decoded[size_t(pos / lineLength) * size_t(width) + size_t(x)] = value;
  };
  Int64 out = 0;
  if (rle) {
    for (size_t i = 0; i < body.size() && out < total; ++i) {
      const Byte b = body[i];
      if (b >= 0xC0) {
        const Byte value = i + 1 < body.size() ? body[++i] : 0;
        const Int64 run = std::min<Int64>(b & 0x3F, total - out);
        for (Int64 k = 0; k < run; ++k) put(out++, value);
      } else {
        put(out++, b);
      }
    }
  } else {
    for (size_t i = 0; i < body.size() && out < total; ++i) put(out++, body[i]);
  }

  for (Integer y = 0; y < height; ++y) {
    TbsColor* row = GetRowPtr(y);
    for (Integer x = 0; x < width; ++x) {
      Byte index = 0;
      if (linesCoverWidth) {
        index = decoded[size_t(y) * size_t(width) + size_t(x)];
      } else {
        const Int64 pos = Int64(y) * lineLength + x;
        if (pos < total) index = decoded[size_t(pos)];
      }
      const Byte* c = palette[index];
      row[x] = 0xFF000000 | (TbsColor(c[0]) << 16) | (TbsColor(c[1]) << 8) | c[2];
    }
  }
}

bool LoadBitmapResourceData(const void* Data, TBitmap* Bitmap) {
  const Byte* p = static_cast<const Byte*>(Data);
  Cardinal headerSize = 0;
  std::memcpy(&headerSize, p, 4);
  if (headerSize < 40) return false;
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof(h));
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > MaxSurfaceSide ||
      std::abs(Int64(h.biHeight)) > MaxSurfaceSide)
    return false;
  Int64 colors = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (Int64(1) << h.biBitCount) : 0);
  Int64 masks = (h.biCompression == BI_BITFIELDS && headerSize == 40) ? 12 : 0;
  const Int64 stride = ((Int64(h.biWidth) * h.biBitCount + 31) / 32) * 4;
  const Int64 dataSize = headerSize + masks + colors * 4 + stride * std::abs(Int64(h.biHeight));
  std::vector<Byte> file(14 + size_t(dataSize));
  const Cardinal fileSize = Cardinal(file.size());
  const Cardinal offBits = Cardinal(14 + headerSize + masks + colors * 4);
  file[0] = 'B';
  file[1] = 'M';
  std::memcpy(&file[2], &fileSize, 4);
  std::memcpy(&file[10], &offBits, 4);
  std::memcpy(&file[14], p, size_t(dataSize));
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), Int64(file.size()));
  stream.SetPosition(0);
  Bitmap->LoadFromStream(&stream);
  return true;
}

void TbsBitmap::LoadFromResource(const String& ResFileName, const String& ResName) {
  HMODULE module = LoadLibrary(ResFileName);
  if (!module) return;
  struct TRelease {
    HMODULE M;
    ~TRelease() { FreeLibrary(M); }
  } release{module};
  const void* data = GetProcAddress(module, ResName);
  if (!data) return;
  Word bitCount = 0;
  std::memcpy(&bitCount, static_cast<const Byte*>(data) + 14, 2);
  TBitmap bitmap;
  if (!LoadBitmapResourceData(data, &bitmap)) return;
  // Only a 32-bit resource keeps its alpha: the system loader gives the others as device bitmaps.
  if (bitCount == 32)
    bitmap.SetPixelFormat(pf32bit);
  else
    bitmap.SetHandleType(bmDDB);
  Assign(&bitmap);
}

// ---- alpha and key ----
void TbsBitmap::SetAlpha(Byte Alpha) {
  if (Empty()) return;
  RowSetAlpha(FBits, FWidth * FHeight, Alpha);
}

namespace {
TRect clipToSize(const TRect& R, Integer Width, Integer Height) {
  return Rect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Width), std::min(R.Bottom, Height));
}
}  // namespace

void TbsBitmap::SetAlpha(Byte Alpha, const TRect& Rect) {
  if (RectWidth(Rect) == 0 || RectHeight(Rect) == 0 || Empty()) return;
  const TRect r = clipToSize(Rect, FWidth, FHeight);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  RectSetAlpha(FBits, FWidth, FHeight, r.Left, r.Top, r.Right - 1, r.Bottom - 1, Alpha);
}

void TbsBitmap::CheckingAlphaBlend() {
  CheckingAlphaBlend(Rect(0, 0, FWidth, FHeight));
}

void TbsBitmap::CheckingAlphaBlend(const TRect& ARect) {
  FAlphaBlend = false;
  if (Empty()) return;
  const TRect r = clipToSize(ARect, FWidth, FHeight);
  for (Integer y = r.Top; y < r.Bottom; ++y) {
    const TbsColor* row = GetRowPtr(y);
    for (Integer x = r.Left; x < r.Right; ++x) {
      const Cardinal a = row[x] >> 24;
      if (a != 0 && a != 255) {
        FAlphaBlend = true;
        return;
      }
    }
  }
}

void TbsBitmap::CheckingTransparent(TbsColor Color) {
  CheckingTransparent(Rect(0, 0, FWidth, FHeight), Color);
}

void TbsBitmap::CheckingTransparent(const TRect& ARect, TbsColor Color) {
  FTransparent = false;
  if (Empty()) return;
  const Integer cr = (Color >> 16) & 0xFF, cg = (Color >> 8) & 0xFF, cb = Color & 0xFF;
  const TRect r = clipToSize(ARect, FWidth, FHeight);
  for (Integer y = r.Top; y < r.Bottom; ++y) {
    TbsColor* row = GetRowPtr(y);
    for (Integer x = r.Left; x < r.Right; ++x) {
      const TbsColor p = row[x];
      if (std::abs(Integer((p >> 16) & 0xFF) - cr) < 6 && std::abs(Integer((p >> 8) & 0xFF) - cg) < 6 &&
          std::abs(Integer(p & 0xFF) - cb) < 6) {
        row[x] = SkinKeyColor;
        FTransparent = true;
      }
    }
  }
}

void TbsBitmap::CheckRGBA() {
  if (FWidth == 0 || FHeight == 0 || !FBits) return;
  const Integer n = FWidth * FHeight;
  for (Integer i = 0; i < n; ++i) {
    const TbsColor p = FBits[i];
    const TbsColor a = p >> 24;
    const TbsColor r = std::min((p >> 16) & 0xFF, a), g = std::min((p >> 8) & 0xFF, a),
                   b = std::min(p & 0xFF, a);
    FBits[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

void TbsBitmap::CheckRGBA2() {
  if (FWidth == 0 || FHeight == 0 || !FBits) return;
  const Integer n = FWidth * FHeight;
  for (Integer i = 0; i < n; ++i) {
    const TbsColor p = FBits[i];
    const TbsColor a = p >> 24;
    auto premultiply = [a](TbsColor c) { return TbsColor(Round(Extended(c) * a / 255)); };
    FBits[i] = (a << 24) | (premultiply((p >> 16) & 0xFF) << 16) | (premultiply((p >> 8) & 0xFF) << 8) |
               premultiply(p & 0xFF);
  }
}

void TbsBitmap::FlipVert() {
  if (Empty()) return;
  TArrayOfseColor buffer(static_cast<size_t>(FWidth));
  for (Integer y = 0; y < FHeight / 2; ++y) {
    TbsColor* top = GetRowPtr(y);
    TbsColor* bottom = GetRowPtr(FHeight - 1 - y);
    RowCopy(top, buffer.data(), FWidth);
    RowCopy(bottom, top, FWidth);
    RowCopy(buffer.data(), bottom, FWidth);
  }
}
