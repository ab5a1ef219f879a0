// Skin kernels against pixman doing the same work on a 1920x1080 frame: alpha blending a whole frame
// (both blend forms) and stretching a half-size picture to the full frame with nearest samples.
// Prints the best time per frame of each and the ratio ours / pixman. Not a test: nothing is asserted.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "skin/core/bskernels.h"

namespace {

constexpr Integer FrameWidth = 1920;
constexpr Integer FrameHeight = 1080;
constexpr int Rounds = 15;

double bestMilliseconds(const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < Rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
  }
  return best;
}

void fillPattern(TbsColor* pixels, size_t count, Cardinal seed, bool partialAlpha) {
  Cardinal x = seed;
  for (size_t i = 0; i < count; ++i) {
    x = x * 1664525u + 1013904223u;
    TbsColor p = x >> 8;
    Cardinal a = partialAlpha ? (x >> 24) : 255;
    pixels[i] = (a << 24) | (p & 0xFFFFFF);
  }
}

// pixman's OVER takes premultiplied sources.
void premultiply(TbsColor* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const TbsColor p = pixels[i], a = p >> 24;
    auto mul = [a](TbsColor c) { return (c * a + 127) / 255; };
    pixels[i] = (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
  }
}

void report(const char* what, double ours, double pixman) {
  std::printf("%-44s ours %8.3f ms   pixman %8.3f ms   ratio %.2f\n", what, ours, pixman, ours / pixman);
}

}  // namespace

int main() {
  const size_t frame = size_t(FrameWidth) * FrameHeight;

  // ---- blend ----
  std::vector<TbsColor> src(frame), background(frame), dst(frame);
  fillPattern(src.data(), frame, 1, true);
  fillPattern(background.data(), frame, 2, false);
  std::vector<TbsColor> premultipliedSrc = src;
  premultiply(premultipliedSrc.data(), frame);
  std::vector<TbsColor> pixmanDst(frame);

  pixman_image_t* pmSrc = pixman_image_create_bits(PIXMAN_a8r8g8b8, FrameWidth, FrameHeight,
                                                   premultipliedSrc.data(), FrameWidth * 4);
  pixman_image_t* pmDst =
      pixman_image_create_bits(PIXMAN_a8r8g8b8, FrameWidth, FrameHeight, pixmanDst.data(), FrameWidth * 4);

  const double pixmanBlend = bestMilliseconds([&] {
    std::copy(background.begin(), background.end(), pixmanDst.begin());
    pixman_image_composite32(PIXMAN_OP_OVER, pmSrc, nullptr, pmDst, 0, 0, 0, 0, 0, 0, FrameWidth,
                             FrameHeight);
  });
  const double copyOnly =
      bestMilliseconds([&] { std::copy(background.begin(), background.end(), dst.begin()); });
  for (auto [name, kernel] : {std::pair{"RowBlend, MMX formula (frame)", &bsrow::RowBlendMMX},
                              std::pair{"RowBlend, plain formula (frame)", &bsrow::RowBlendPlain}}) {
    // A copy for the lambda: clang 14 cannot capture a structured binding.
    const auto blend = kernel;
    const double ours = bestMilliseconds([&] {
      std::copy(background.begin(), background.end(), dst.begin());
      for (Integer y = 0; y < FrameHeight; ++y)
        blend(src.data() + size_t(y) * FrameWidth, dst.data() + size_t(y) * FrameWidth, FrameWidth);
    });
    report(name, ours - copyOnly, pixmanBlend - copyOnly);
  }

  // ---- stretch ----
  TbsBitmap half, full;
  half.SetSize(FrameWidth / 2, FrameHeight / 2);
  full.SetSize(FrameWidth, FrameHeight);
  fillPattern(half.Bits(), size_t(half.Width()) * half.Height(), 3, true);
  const TRect dstRect = Rect(0, 0, FrameWidth, FrameHeight);
  const TRect srcRect = Rect(0, 0, half.Width(), half.Height());
  const double oursStretch =
      bestMilliseconds([&] { bsblit::BitmapStretchCopy(&full, dstRect, dstRect, &half, srcRect); });
  const double oursStretchAlpha =
      bestMilliseconds([&] { bsblit::BitmapStretchAlpha(&full, dstRect, dstRect, &half, srcRect); });

  pixman_image_t* pmHalf =
      pixman_image_create_bits(PIXMAN_a8r8g8b8, half.Width(), half.Height(), half.Bits(), half.Width() * 4);
  std::vector<TbsColor> pixmanFull(frame);
  pixman_image_t* pmFull =
      pixman_image_create_bits(PIXMAN_a8r8g8b8, FrameWidth, FrameHeight, pixmanFull.data(), FrameWidth * 4);
  pixman_transform_t scale;
  pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(half.Width()) / FrameWidth),
                              pixman_double_to_fixed(double(half.Height()) / FrameHeight));
  pixman_image_set_transform(pmHalf, &scale);
  pixman_image_set_filter(pmHalf, PIXMAN_FILTER_NEAREST, nullptr, 0);
  const double pixmanStretch = bestMilliseconds([&] {
    pixman_image_composite32(PIXMAN_OP_SRC, pmHalf, nullptr, pmFull, 0, 0, 0, 0, 0, 0, FrameWidth,
                             FrameHeight);
  });
  const double pixmanStretchOver = bestMilliseconds([&] {
    pixman_image_composite32(PIXMAN_OP_OVER, pmHalf, nullptr, pmFull, 0, 0, 0, 0, 0, 0, FrameWidth,
                             FrameHeight);
  });
  report("BitmapStretchCopy 960x540 -> 1920x1080", oursStretch, pixmanStretch);
  report("BitmapStretchAlpha 960x540 -> 1920x1080", oursStretchAlpha, pixmanStretchOver);

  pixman_image_unref(pmSrc);
  pixman_image_unref(pmDst);
  pixman_image_unref(pmHalf);
  pixman_image_unref(pmFull);
  return 0;
}
