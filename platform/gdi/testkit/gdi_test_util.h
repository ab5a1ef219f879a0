// Small surfaces for the tests of this folder: a memory DC over a DIB section with direct pixel access.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"

class TTestSurface {
 public:
  TTestSurface(Integer width, Integer height, Integer bitCount = 32, bool topDown = true,
               std::vector<RGBQUAD> palette = {})
      : FWidth(width), FHeight(height), FBitCount(bitCount) {
    std::vector<Byte> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader = BITMAPINFOHEADER{};
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = topDown ? -height : height;
    info->bmiHeader.biBitCount = WORD(bitCount);
    info->bmiHeader.biClrUsed = DWORD(palette.size());
    if (!palette.empty())
      std::memcpy(block.data() + sizeof(BITMAPINFOHEADER), palette.data(), palette.size() * sizeof(RGBQUAD));
    FBitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
    FDC = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDC, FBitmap);
    FStride = ((width * bitCount + 31) / 32) * 4;
    FTopDown = topDown;
  }
  ~TTestSurface() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
    DeleteObject(FBitmap);
  }
  TTestSurface(const TTestSurface&) = delete;
  TTestSurface& operator=(const TTestSurface&) = delete;

  HDC DC() const { return FDC; }
  HBITMAP Bitmap() const { return FBitmap; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  Byte* Row(Integer y) const { return FBits + size_t(FTopDown ? y : FHeight - 1 - y) * size_t(FStride); }

  // The stored value: B, G, R, A word for 32 bits, B | G << 8 | R << 16 for 24, the index for palettes.
  uint32_t At(Integer x, Integer y) const {
    const Byte* r = Row(y);
    switch (FBitCount) {
      case 32: {
        uint32_t v;
        std::memcpy(&v, r + x * 4, 4);
        return v;
      }
      case 24:
        return r[x * 3] | (r[x * 3 + 1] << 8) | (r[x * 3 + 2] << 16);
      case 8:
        return r[x];
      case 4:
        return (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
      default:
        return (r[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  void Set(Integer x, Integer y, uint32_t v) {
    Byte* r = Row(y);
    switch (FBitCount) {
      case 32:
        std::memcpy(r + x * 4, &v, 4);
        break;
      case 24:
        r[x * 3] = Byte(v), r[x * 3 + 1] = Byte(v >> 8), r[x * 3 + 2] = Byte(v >> 16);
        break;
      case 8:
        r[x] = Byte(v);
        break;
      default:
        FAIL() << "Set supports 8, 24 and 32 bits";
    }
  }
  void Fill(uint32_t v) {
    for (Integer y = 0; y < FHeight; ++y)
      for (Integer x = 0; x < FWidth; ++x) Set(x, y, v);
  }

 private:
  Integer FWidth, FHeight, FBitCount, FStride = 0;
  bool FTopDown = true;
  HBITMAP FBitmap = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOld = nullptr;
  Byte* FBits = nullptr;
};

// A B, G, R, A word.
constexpr uint32_t Bgra(Byte b, Byte g, Byte r, Byte a = 0) {
  return uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16) | (uint32_t(a) << 24);
}
