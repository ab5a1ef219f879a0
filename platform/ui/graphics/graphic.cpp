#include "platform/ui/graphics/graphic.h"

#include "platform/rtl/files.h"
#include "platform/ui/graphics/canvas.h"

namespace {

// A memory DC holding a 32-bit top-down DIB section; freed with the holder.
struct TScratchSurface {
  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  Byte* Bits = nullptr;
  TScratchSurface(Integer width, Integer height) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!Bitmap) throw EOutOfResources("Out of system resources");
    Bits = static_cast<Byte*>(bits);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  ~TScratchSurface() {
    if (DC) {
      SelectObject(DC, Old);
      DeleteDC(DC);
    }
    DeleteObject(Bitmap);
  }
};

}  // namespace

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void DrawStraightAlpha(TCanvas* Canvas, const TRect& Rect, const TRawImage& Image) {
  if (Image.Empty() || Rect.Width() == 0 || Rect.Height() == 0) return;
  bool blend = false;
  for (Integer y = 0; y < Image.Height && !blend; ++y)
    for (Integer x = 0; x < Image.Width && !blend; ++x) blend = Image.Row(y)[x * 4 + 3] != 255;
  HDC dc = Canvas->Handle();
  if (!blend) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = Image.Width;
    info.bmiHeader.biHeight = -Image.Height;
    info.bmiHeader.biBitCount = 32;
    StretchDIBits(dc, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), 0, 0, Image.Width, Image.Height,
                  Image.Bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return;
  }
  TScratchSurface scratch(Image.Width, Image.Height);
  for (Integer y = 0; y < Image.Height; ++y) {
    const Byte* src = Image.Row(y);
    Byte* dst = scratch.Bits + size_t(y) * size_t(Image.Width) * 4;
    for (Integer x = 0; x < Image.Width * 4; x += 4) {
      const unsigned a = src[x + 3];
      for (int c = 0; c < 3; ++c) dst[x + c] = Byte((src[x + c] * a + 127) / 255);
      dst[x + 3] = Byte(a);
    }
  }
  AlphaBlend(dc, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), scratch.DC, 0, 0, Image.Width,
             Image.Height, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
}
