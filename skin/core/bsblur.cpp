#include "skin/core/bsblur.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {
// One line of a separable pass: Count samples at Get(i), weighted sums written through Put(i, sum).
// The sums slide: moving right loses the left half (centre included) and gains the right half plus the
// entering sample.
template <typename Get, typename Put>
void triangleLine(Integer Count, Integer Radius, Get&& get, Put&& put) {
  auto at = [&](Integer i) { return get(std::clamp(i, 0, Count - 1)); };
  Int64 sum[3] = {}, outgoing[3] = {}, incoming[3] = {};
  for (Integer i = -Radius; i <= Radius; ++i) {
    const auto v = at(i);
    const Integer w = Radius + 1 - std::abs(i);
    for (int c = 0; c < 3; ++c) {
      sum[c] += Int64(v[c]) * w;
      (i <= 0 ? outgoing : incoming)[c] += v[c];
    }
  }
  for (Integer x = 0; x < Count; ++x) {
    put(x, sum);
    const auto leaving = at(x - Radius), entering = at(x + Radius + 1), centre = at(x + 1);
    for (int c = 0; c < 3; ++c) {
      sum[c] += incoming[c] + entering[c] - outgoing[c];
      outgoing[c] += centre[c] - leaving[c];
      incoming[c] += entering[c] - centre[c];
    }
  }
}
}  // namespace

void StackBlurBitmap(TbsBitmap* Bitmap, Integer Radius) {
  if (Radius <= 0 || !Bitmap || Bitmap->Empty()) return;
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  const Int64 divisor = Int64(Radius + 1) * (Radius + 1);
  using TTriple = std::array<Integer, 3>;
  std::vector<TTriple> plane(size_t(w) * size_t(h));

  for (Integer y = 0; y < h; ++y) {
    const TbsColor* row = Bitmap->GetRowPtr(y);
    TTriple* out = &plane[size_t(y) * size_t(w)];
    triangleLine(
        w, Radius,
        [&](Integer i) {
          const TbsColor p = row[i];
          return TTriple{Integer(p & 0xFF), Integer((p >> 8) & 0xFF), Integer((p >> 16) & 0xFF)};
        },
        [&](Integer x, const Int64* s) {
          for (int c = 0; c < 3; ++c) out[x][size_t(c)] = Integer(s[c] / divisor);
        });
  }
  for (Integer x = 0; x < w; ++x) {
    triangleLine(
        h, Radius, [&](Integer i) { return plane[size_t(i) * size_t(w) + size_t(x)]; },
        [&](Integer y, const Int64* s) {
          const TbsColor b = TbsColor(s[0] / divisor), g = TbsColor(s[1] / divisor),
                         r = TbsColor(s[2] / divisor);
          *Bitmap->GetPixelPtr(x, y) = 0xFF000000 | (r << 16) | (g << 8) | b;
        });
  }
}

void AlphaFromMask(TbsBitmap* Bitmap, TbsBitmap* Mask) {
  if (!Bitmap || !Mask || Bitmap->Empty() || Mask->Empty()) return;
  const Integer w = std::min(Bitmap->Width(), Mask->Width());
  const Integer h = std::min(Bitmap->Height(), Mask->Height());
  for (Integer y = 0; y < h; ++y) {
    TbsColor* row = Bitmap->GetRowPtr(y);
    const TbsColor* mask = Mask->GetRowPtr(y);
    for (Integer x = 0; x < w; ++x) {
      const TbsColor m = mask[x];
      const TbsColor grey = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
      row[x] = (row[x] & 0x00FFFFFF) | (grey << 24);
    }
  }
}

void AlphaFromMaskPremultiplied(TbsBitmap* Bitmap, TbsBitmap* Mask) {
  AlphaFromMask(Bitmap, Mask);
  if (Bitmap) Bitmap->CheckRGBA2();
}
