// Blend and stretch throughput of our surfaces against pixman doing the same work on the same pixels.
// One run each; prints the times and the ratio ours / pixman.
#include <pixman.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/gdi/gdi.h"

namespace {

constexpr int W = 1920, H = 1080;

struct Surface {
  HDC dc = nullptr;
  HBITMAP bm = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  Surface(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biBitCount = 32;
    bm = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bm);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);
  }
};

// Premultiplied pixels with every alpha from 0 to 255.
void fillPremultiplied(uint32_t* p, size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  for (size_t i = 0; i < n; ++i) {
    uint32_t a = rng() & 0xFF, v = rng();
    uint32_t b = (v & 0xFF) * a / 255, g = ((v >> 8) & 0xFF) * a / 255, r = ((v >> 16) & 0xFF) * a / 255;
    p[i] = b | (g << 8) | (r << 16) | (a << 24);
  }
}

template <class F>
double millis(F&& f) {
  auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void report(const char* name, double ours, double theirs) {
  std::printf("%-34s ours %8.2f ms   pixman %8.2f ms   ratio %.2f\n", name, ours, theirs, ours / theirs);
}

}  // namespace

int main() {
  Surface src(W, H), dst(W, H), small(W / 2, H / 2);
  fillPremultiplied(src.bits, size_t(W) * H, 1);
  fillPremultiplied(small.bits, size_t(W / 2) * (H / 2), 2);
  std::vector<uint32_t> dstStart(size_t(W) * H);
  fillPremultiplied(dstStart.data(), dstStart.size(), 3);

  std::vector<uint32_t> pxSrc(src.bits, src.bits + size_t(W) * H), pxDst(dstStart),
      pxSmall(small.bits, small.bits + size_t(W / 2) * (H / 2));
  pixman_image_t* pSrc = pixman_image_create_bits(PIXMAN_a8r8g8b8, W, H, pxSrc.data(), W * 4);
  pixman_image_t* pDst = pixman_image_create_bits(PIXMAN_a8r8g8b8, W, H, pxDst.data(), W * 4);
  pixman_image_t* pSmall = pixman_image_create_bits(PIXMAN_a8r8g8b8, W / 2, H / 2, pxSmall.data(), W / 2 * 4);

  // AlphaBlend: premultiplied source over destination, 1920x1080.
  std::memcpy(dst.bits, dstStart.data(), dstStart.size() * 4);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  double ours = millis([&] { AlphaBlend(dst.dc, 0, 0, W, H, src.dc, 0, 0, W, H, blend); });
  double theirs =
      millis([&] { pixman_image_composite32(PIXMAN_OP_OVER, pSrc, nullptr, pDst, 0, 0, 0, 0, 0, 0, W, H); });
  size_t differing = 0;
  for (size_t i = 0; i < dstStart.size(); ++i) differing += dst.bits[i] != pxDst[i];
  report("AlphaBlend 1920x1080 OVER", ours, theirs);
  std::printf("%-34s %zu pixels differ from pixman\n", "", differing);

  // StretchBlt: 960x540 → 1920x1080 nearest, source copy.
  pixman_transform_t scale;
  pixman_transform_init_scale(&scale, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(pSmall, &scale);
  pixman_image_set_filter(pSmall, PIXMAN_FILTER_NEAREST, nullptr, 0);
  ours = millis([&] { StretchBlt(dst.dc, 0, 0, W, H, small.dc, 0, 0, W / 2, H / 2, SRCCOPY); });
  theirs =
      millis([&] { pixman_image_composite32(PIXMAN_OP_SRC, pSmall, nullptr, pDst, 0, 0, 0, 0, 0, 0, W, H); });
  report("StretchBlt 960x540 -> 1920x1080", ours, theirs);

  // StretchBlt: 1920x1080 → 1280x720 nearest.
  pixman_transform_init_scale(&scale, pixman_double_to_fixed(1.5), pixman_double_to_fixed(1.5));
  pixman_image_set_transform(pSrc, &scale);
  pixman_image_set_filter(pSrc, PIXMAN_FILTER_NEAREST, nullptr, 0);
  ours = millis([&] { StretchBlt(dst.dc, 0, 0, 1280, 720, src.dc, 0, 0, W, H, SRCCOPY); });
  theirs = millis(
      [&] { pixman_image_composite32(PIXMAN_OP_SRC, pSrc, nullptr, pDst, 0, 0, 0, 0, 0, 0, 1280, 720); });
  report("StretchBlt 1920x1080 -> 1280x720", ours, theirs);

  pixman_image_unref(pSrc);
  pixman_image_unref(pDst);
  pixman_image_unref(pSmall);
  return 0;
}
