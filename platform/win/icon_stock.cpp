// The stock icons, drawn by us at any size from shapes on a 32-unit grid (4 x 4 samples a pixel).
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "platform/win/window_internal.h"

namespace {

using TInside = std::function<bool(double x, double y)>;
struct TLayer {
  COLORREF Colour;
  TInside Inside;
};

constexpr COLORREF kError = RGB(0xD9, 0x3C, 0x3C);
constexpr COLORREF kWarning = RGB(0xD9, 0x8E, 0x04);
constexpr COLORREF kAccent = RGB(0x2F, 0x6F, 0xDE);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kInk = RGB(0x1F, 0x23, 0x28);
constexpr COLORREF kFrame = RGB(0x5B, 0x62, 0x70);

TInside disc(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

// A stroke with round ends from (ax, ay) to (bx, by), r wide on each side.
TInside stroke(double ax, double ay, double bx, double by, double r) {
  return [=](double x, double y) {
    double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0.0;
    double px = ax + t * dx - x, py = ay + t * dy - y;
    return px * px + py * py <= r * r;
  };
}

TInside triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  return [=](double x, double y) {
    auto side = [&](double x1, double y1, double x2, double y2) {
      return (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1);
    };
    double d1 = side(ax, ay, bx, by), d2 = side(bx, by, cx, cy), d3 = side(cx, cy, ax, ay);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
  };
}

TInside box(double l, double t, double r, double b) {
  return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

// The hook of a question mark: the ring around (cx, cy) without its lower left quarter.
TInside hook(double cx, double cy, double radius, double half) {
  return [=](double x, double y) {
    double dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
    return std::abs(d - radius) <= half && !(dx < 0 && dy > 0);
  };
}

std::vector<TLayer> layersOf(uintptr_t id) {
  switch (id) {
    case IDI_HAND:
      return {{kError, disc(16, 16, 14.5)},
              {kWhite, stroke(11, 11, 21, 21, 1.7)},
              {kWhite, stroke(21, 11, 11, 21, 1.7)}};
    case IDI_EXCLAMATION:
      return {{kWarning, triangle(16, 2.5, 30.5, 28.5, 1.5, 28.5)},
              {kInk, stroke(16, 11, 16, 19.5, 1.7)},
              {kInk, disc(16, 24, 1.9)}};
    case IDI_ASTERISK:
      return {{kAccent, disc(16, 16, 14.5)},
              {kWhite, disc(16, 9.5, 2.1)},
              {kWhite, stroke(16, 14.5, 16, 23.5, 1.7)}};
    case IDI_QUESTION:
      return {{kAccent, disc(16, 16, 14.5)},
              {kWhite, hook(16, 12, 4.6, 1.7)},
              {kWhite, stroke(16, 16.6, 16, 18.8, 1.7)},
              {kWhite, disc(16, 23.2, 1.9)}};
    case IDI_APPLICATION:
    case IDI_WINLOGO:
      return {{kFrame, box(3, 5, 29, 27)},
              {kWhite, box(4.5, 6.5, 27.5, 25.5)},
              {kAccent, box(4.5, 6.5, 27.5, 11)}};
    case IDI_SHIELD:
      return {{kAccent, box(6, 4, 26, 16)},
              {kAccent, triangle(6, 15.9, 26, 15.9, 16, 29)},
              {kWhite, stroke(11, 15, 14.5, 19, 1.5)},
              {kWhite, stroke(14.5, 19, 21, 11, 1.5)}};
    default:
      return {};
  }
}

}  // namespace

std::unique_ptr<TPlatformIcon> WinRenderStockIcon(uintptr_t id, Integer size) {
  std::vector<TLayer> layers = layersOf(id);
  if (layers.empty() || size <= 0) return nullptr;
  auto icon = std::make_unique<TPlatformIcon>();
  icon->Width = icon->Height = size;
  icon->Color.assign(size_t(size) * size, 0);
  icon->Mask.assign(size_t(size) * size, 1);
  icon->HasAlpha = true;
  constexpr Integer kSub = 4;
  double unit = 32.0 / size;
  for (Integer py = 0; py < size; ++py) {
    for (Integer px = 0; px < size; ++px) {
      Integer sum[3] = {}, covered = 0;
      for (Integer sy = 0; sy < kSub; ++sy) {
        for (Integer sx = 0; sx < kSub; ++sx) {
          double x = (px + (sx + 0.5) / kSub) * unit, y = (py + (sy + 0.5) / kSub) * unit;
          const TLayer* top = nullptr;
          for (const TLayer& l : layers) {
            if (l.Inside(x, y)) top = &l;
          }
          if (!top) continue;
          ++covered;
          sum[0] += GetBValue(top->Colour);
          sum[1] += GetGValue(top->Colour);
          sum[2] += GetRValue(top->Colour);
        }
      }
      if (!covered) continue;
      uint32_t c = uint32_t((covered * 255 + kSub * kSub / 2) / (kSub * kSub)) << 24;
      for (Integer k = 0; k < 3; ++k) c |= uint32_t((sum[k] + covered / 2) / covered) << (8 * k);
      size_t i = size_t(py) * size + px;
      icon->Color[i] = c;
      icon->Mask[i] = 0;
    }
  }
  return icon;
}
