#include "platform/ui/graphics/icon.h"

#include <cstring>

#include "platform/rtl/streams.h"

namespace {
constexpr const char* SInvalidIcon = "Invalid icon";
constexpr const char* SChangeIconSize = "Cannot change the size of an icon";

uint16_t le16(const Byte* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
uint32_t le32(const Byte* p) {
  return uint32_t(p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24));
}
void put16(std::vector<Byte>& v, uint32_t x) {
  v.push_back(Byte(x));
  v.push_back(Byte(x >> 8));
}
void put32(std::vector<Byte>& v, uint32_t x) {
  put16(v, x);
  put16(v, x >> 16);
}

// A BMP entry of an icon file: a DIB of doubled height (the colours, then the AND mask) without a file
// header. Decoded through the BMP reader with a header made for it, the mask applied as alpha 0.
TRawImage decodeDibEntry(const Byte* Data, size_t Size) {
  if (Size < 40) throw EInvalidGraphic(SInvalidIcon);
  const uint32_t HeaderSize = le32(Data);
  if (HeaderSize < 40 || HeaderSize > Size) throw EInvalidGraphic(SInvalidIcon);
  const int32_t W = int32_t(le32(Data + 4));
  const int32_t H2 = int32_t(le32(Data + 8));
  const uint16_t Bits = le16(Data + 14);
  const uint32_t Used = le32(Data + 32);
  if (W <= 0 || H2 <= 0 || H2 % 2 != 0 || W > 1024 || H2 > 2048) throw EInvalidGraphic(SInvalidIcon);
  const int32_t H = H2 / 2;
  const uint32_t Colours = Bits <= 8 ? (Used != 0 ? Used : (1u << Bits)) : 0;
  const size_t ColourBytes = size_t(TRawImage::RowBytesFor(W, Bits)) * size_t(H);
  const size_t Offset = HeaderSize + Colours * 4;
  if (Offset + ColourBytes > Size) throw EInvalidGraphic(SInvalidIcon);
  // A file header in front, the height halved: the reader sees a plain bottom-up bitmap.
  std::vector<Byte> File;
  File.push_back('B');
  File.push_back('M');
  put32(File, uint32_t(14 + Offset + ColourBytes));
  put32(File, 0);
  put32(File, uint32_t(14 + Offset));
  File.insert(File.end(), Data, Data + Offset + ColourBytes);
  const uint32_t HalfHeight = uint32_t(H);
  std::memcpy(File.data() + 14 + 8, &HalfHeight, 4);
  TRawImage Image = ConvertTo32(DecodeBmp(File.data(), File.size()));
  if (Image.Width != W || Image.Height != H) throw EInvalidGraphic(SInvalidIcon);
  // Icons of fewer than 32 bits carry no alpha: opaque, except where the mask lets the screen through.
  bool HasAlpha = false;
  if (Bits == 32)
    for (Integer y = 0; y < H && !HasAlpha; ++y)
      for (Integer x = 0; x < W; ++x)
        if (Image.Row(y)[x * 4 + 3] != 0) {
          HasAlpha = true;
          break;
        }
  const size_t MaskRow = size_t(TRawImage::RowBytesFor(W, 1));
  const Byte* Mask =
      Offset + ColourBytes + MaskRow * size_t(H) <= Size ? Data + Offset + ColourBytes : nullptr;
  for (Integer y = 0; y < H; ++y) {
    Byte* Row = Image.Row(y);
    const Byte* M = Mask != nullptr ? Mask + size_t(H - 1 - y) * MaskRow : nullptr;
    for (Integer x = 0; x < W; ++x) {
      const bool Through = M != nullptr && (M[x / 8] & (0x80 >> (x % 8))) != 0;
      if (!HasAlpha) Row[x * 4 + 3] = Through ? 0 : 255;
      if (Through && HasAlpha) Row[x * 4 + 3] = 0;
    }
  }
  return Image;
}

TRawImage decodeIco(const Byte* Data, size_t Size) {
  if (Size < 6 || le16(Data) != 0 || le16(Data + 2) != 1) throw EInvalidGraphic(SInvalidIcon);
  const Integer Count = le16(Data + 4);
  if (Count == 0 || 6 + size_t(Count) * 16 > Size) throw EInvalidGraphic(SInvalidIcon);
  // The largest entry, the deepest among equals.
  Integer Best = -1;
  Integer BestArea = -1, BestBits = -1;
  for (Integer i = 0; i < Count; ++i) {
    const Byte* E = Data + 6 + i * 16;
    const Integer W = E[0] == 0 ? 256 : E[0], H = E[1] == 0 ? 256 : E[1];
    const Integer Bits = le16(E + 6);
    const uint32_t Length = le32(E + 8), Offset = le32(E + 12);
    if (Offset >= Size || Length > Size - Offset) continue;
    if (W * H > BestArea || (W * H == BestArea && Bits > BestBits)) {
      Best = i;
      BestArea = W * H;
      BestBits = Bits;
    }
  }
  if (Best < 0) throw EInvalidGraphic(SInvalidIcon);
  const Byte* E = Data + 6 + Best * 16;
  const Byte* Entry = Data + le32(E + 12);
  const size_t Length = le32(E + 8);
  static const Byte PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (Length >= 8 && std::memcmp(Entry, PngSignature, 8) == 0) return DecodePng(Entry, Length);
  return decodeDibEntry(Entry, Length);
}

std::vector<Byte> encodeIco(Integer W, Integer H, const std::vector<uint32_t>& Argb) {
  std::vector<Byte> Dib;
  put32(Dib, 40);
  put32(Dib, uint32_t(W));
  put32(Dib, uint32_t(H * 2));
  put16(Dib, 1);
  put16(Dib, 32);
  for (int i = 0; i < 6; ++i) put32(Dib, 0);
  for (Integer y = H - 1; y >= 0; --y)
    for (Integer x = 0; x < W; ++x) put32(Dib, Argb[size_t(y) * size_t(W) + size_t(x)]);
  const Integer MaskRow = TRawImage::RowBytesFor(W, 1);
  for (Integer y = H - 1; y >= 0; --y) {
    std::vector<Byte> Row(size_t(MaskRow), 0);
    for (Integer x = 0; x < W; ++x)
      if ((Argb[size_t(y) * size_t(W) + size_t(x)] >> 24) == 0) Row[size_t(x / 8)] |= Byte(0x80 >> (x % 8));
    Dib.insert(Dib.end(), Row.begin(), Row.end());
  }
  std::vector<Byte> File;
  put16(File, 0);
  put16(File, 1);
  put16(File, 1);
  File.push_back(Byte(W >= 256 ? 0 : W));
  File.push_back(Byte(H >= 256 ? 0 : H));
  File.push_back(0);
  File.push_back(0);
  put16(File, 1);
  put16(File, 32);
  put32(File, uint32_t(Dib.size()));
  put32(File, 22);
  File.insert(File.end(), Dib.begin(), Dib.end());
  return File;
}

// The icon's pixels as a 32-bit straight-alpha picture.
TRawImage iconPixels(HICON Icon) {
  TRawImage Image;
  TSize Size{};
  std::vector<uint32_t> Argb;
  if (Icon == nullptr || !WinIconPixels(Icon, &Size, &Argb)) return Image;
  Image.Allocate(Size.cx, Size.cy, 32);
  for (Integer y = 0; y < Size.cy; ++y)
    std::memcpy(Image.Row(y), Argb.data() + size_t(y) * size_t(Size.cx), size_t(Size.cx) * 4);
  return Image;
}
}  // namespace

HICON CreateIconFromRaw(const TRawImage& Image) {
  if (Image.Empty()) return nullptr;
  const TRawImage Pixels = Image.BitCount == 32 ? Image : ConvertTo32(Image);
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = Pixels.Width;
  Info.bmiHeader.biHeight = -Pixels.Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP Colour = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (Colour == nullptr) return nullptr;
  for (Integer y = 0; y < Pixels.Height; ++y)
    std::memcpy(static_cast<Byte*>(Bits) + size_t(y) * size_t(Pixels.RowBytes()), Pixels.Row(y),
                size_t(Pixels.RowBytes()));
  ICONINFO II;
  II.hbmColor = Colour;
  HICON Icon = CreateIconIndirect(&II);
  DeleteObject(Colour);
  return Icon;
}

TIcon::TIcon() = default;

TIcon::~TIcon() {
  freeHandle();
}

void TIcon::freeHandle() {
  if (FHandle != nullptr) DestroyIcon(FHandle);
  FHandle = nullptr;
}

Integer TIcon::Width() const {
  return FHandle != nullptr ? WinIconSize(FHandle).cx : 0;
}

Integer TIcon::Height() const {
  return FHandle != nullptr ? WinIconSize(FHandle).cy : 0;
}

void TIcon::SetWidth(Integer Value) {
  if (Value != Width()) throw EInvalidGraphicOperation(SChangeIconSize);
}

void TIcon::SetHeight(Integer Value) {
  if (Value != Height()) throw EInvalidGraphicOperation(SChangeIconSize);
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  // The old icon goes after the change is announced: windows showing it take the new one first.
  HICON Old = FHandle;
  FHandle = Value;
  Changed(this);
  if (Old != nullptr) DestroyIcon(Old);
}

HICON TIcon::ReleaseHandle() {
  HICON H = FHandle;
  FHandle = nullptr;
  if (H != nullptr) Changed(this);
  return H;
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    SetHandle(nullptr);
    return;
  }
  if (auto* I = dynamic_cast<TIcon*>(Source)) {
    SetHandle(I->FHandle != nullptr ? CopyIcon(I->FHandle) : nullptr);
    return;
  }
  if (auto* B = dynamic_cast<TBitmap*>(Source)) {
    TRawImage Image = ConvertTo32(B->ToRawImage());
    if (B->PixelFormat() != pf32bit) {
      const bool Keyed = B->Transparent();
      const COLORREF Key = Keyed ? ColorToRGB(B->TransparentColor()) & 0xFFFFFF : 0;
      for (Integer y = 0; y < Image.Height; ++y) {
        Byte* Row = Image.Row(y);
        for (Integer x = 0; x < Image.Width; ++x) {
          const COLORREF C = RGB(Row[x * 4 + 2], Row[x * 4 + 1], Row[x * 4]);
          Row[x * 4 + 3] = Keyed && C == Key ? 0 : 255;
        }
      }
    }
    SetHandle(CreateIconFromRaw(Image));
    return;
  }
  TGraphic::Assign(Source);
}

void TIcon::AssignTo(TPersistent* Dest) {
  if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
    TRawImage Image = iconPixels(FHandle);
    for (Integer y = 0; y < Image.Height; ++y) {
      Byte* Row = Image.Row(y);
      for (Integer x = 0; x < Image.Width; ++x)
        if (Row[x * 4 + 3] == 0) std::memset(Row + x * 4, 0, 3);
    }
    if (Image.Empty()) {
      B->SetSize(0, 0);
      return;
    }
    B->LoadFromRawImage(Image);
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FHandle == nullptr || Rect.Width() <= 0 || Rect.Height() <= 0) return;
  DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr,
             DI_NORMAL);
}

void TIcon::LoadFromStream(TStream* Stream) {
  const Int64 Left = Stream->Size() - Stream->Position();
  if (Left <= 0) throw EInvalidGraphic(SInvalidIcon);
  std::vector<Byte> Data(static_cast<size_t>(Left));
  Stream->ReadBuffer(Data.data(), Left);
  HICON Icon = CreateIconFromRaw(decodeIco(Data.data(), Data.size()));
  if (Icon == nullptr) throw EInvalidGraphic(SInvalidIcon);
  SetHandle(Icon);
}

void TIcon::SaveToStream(TStream* Stream) {
  TSize Size{};
  std::vector<uint32_t> Argb;
  if (FHandle == nullptr || !WinIconPixels(FHandle, &Size, &Argb)) return;
  const std::vector<Byte> File = encodeIco(Size.cx, Size.cy, Argb);
  Stream->WriteBuffer(File.data(), Int64(File.size()));
}
