// Test support for the skin bitmap and its blit kernels: bitmaps with given pixels, readers of their
// rows, and a 32-bit DIB section in a memory DC as a plain platform target.
#pragma once

#include <vector>

#include "skin/core/bskernels.h"

inline std::unique_ptr<TbsBitmap> makeBitmap(Integer w, Integer h, const std::vector<TbsColor>& pixels = {}) {
  auto b = std::make_unique<TbsBitmap>();
  b->SetSize(w, h);
  for (size_t i = 0; i < pixels.size(); ++i) b->Bits()[i] = pixels[i];
  return b;
}

// Every pixel, row by row from the top.
inline std::vector<TbsColor> pixelsOf(const TbsBitmap& b) {
  return std::vector<TbsColor>(b.Bits(), b.Bits() + size_t(b.Width()) * b.Height());
}

inline std::vector<TbsColor> row(const TbsBitmap& b, Integer y) {
  return std::vector<TbsColor>(b.GetRowPtr(y), b.GetRowPtr(y) + b.Width());
}

// Opaque, every pixel different: 0xFF000000 | y << 8 | x.
inline TbsColor gridAt(Integer x, Integer y) {
  return 0xFF000000 | TbsColor(y << 8) | TbsColor(x);
}

inline std::unique_ptr<TbsBitmap> gridBitmap(Integer w, Integer h) {
  auto b = makeBitmap(w, h);
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) *b->GetPixelPtr(x, y) = gridAt(x, y);
  return b;
}

// A 32-bit DIB section selected into a memory DC; positive height = bottom-up rows.
struct TSectionDC {
  TSectionDC(Integer w, Integer h) : Width(w), Height(h) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<TbsColor*>(bits);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  ~TSectionDC() {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
  TSectionDC(const TSectionDC&) = delete;
  TSectionDC& operator=(const TSectionDC&) = delete;
  // Pixel (x, y) counted from the top.
  TbsColor& At(Integer x, Integer y) { return Bits[(Height > 0 ? Height - 1 - y : y) * Width + x]; }
  Integer Width, Height;
  HBITMAP Bitmap;
  TbsColor* Bits;
  HDC DC;
  HGDIOBJ Old;
};
