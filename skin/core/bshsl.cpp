#include "skin/core/bshsl.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/convert.h"

namespace {
// The stores: a wider expression rounded to the stored type.
inline Single single(Extended v) {
  return static_cast<Single>(v);
}
inline Byte channel(TbsColor c, int shift) {
  return Byte((c >> shift) & 0xFF);
}
}  // namespace

void BsColorToHSL(TbsColor Color, Single& H, Single& S, Single& L) {
  const Single r = single(Extended(channel(Color, 16)) / 255);
  const Single g = single(Extended(channel(Color, 8)) / 255);
  const Single b = single(Extended(channel(Color, 0)) / 255);
  const Single mx = std::max({r, g, b});
  const Single mn = std::min({r, g, b});
  L = single((Extended(mx) + mn) / 2);
  if (mx == mn) {
    H = 0;
    S = 0;
    return;
  }
  const Single d = single(Extended(mx) - mn);
  if (L < 0.5)
    S = single(d / (Extended(mx) + mn));
  else
    S = single(d / (2 - Extended(mx) - mn));
  if (r == mx)
    H = single((Extended(g) - b) / d);
  else if (g == mx)
    H = single(2 + (Extended(b) - r) / d);
  else
    H = single(4 + (Extended(r) - g) / d);
  H = single(Extended(H) / 6);
  if (H < 0) H = single(Extended(H) + 1);
}

Byte HueToRGBChannel(Single m1, Single m2, Single h) {
  h = single(Extended(h) - std::floor(Extended(h)));
  Double v;
  if (6 * Extended(h) < 1)
    v = Double(m1 + (Extended(m2) - m1) * h * 6);
  else if (2 * Extended(h) < 1)
    v = m2;
  else if (3 * Extended(h) < 2)
    v = Double(m1 + (Extended(m2) - m1) * (Extended(2) / 3 - h) * 6);
  else
    v = m1;
  return Byte(Round(255 * Extended(v)) & 0xFF);
}

TbsColor HSLToBsColor(Single H, Single S, Single L) {
  if (S == 0) {
    const SmallInt v = SmallInt(Round(Extended(L) * 255));
    return PackBsColor(v, v, v, 255);
  }
  const Single m2 =
      L <= 0.5 ? single(Extended(L) * (1 + Extended(S))) : single(Extended(L) + S - Extended(L) * S);
  const Single m1 = single(2 * Extended(L) - m2);
  const Byte r = HueToRGBChannel(m1, m2, single(H + Extended(1) / 3));
  const Byte g = HueToRGBChannel(m1, m2, H);
  const Byte b = HueToRGBChannel(m1, m2, single(H - Extended(1) / 3));
  return PackBsColor(r, g, b, 255);
}

namespace {
Integer wrapBy255(Integer t) {
  if (t > 255) t -= 255;
  if (t < 0) t += 255;
  return t;
}
}  // namespace

TbsColor SetColorHue(TbsColor Color, Integer Hue) {
  Single h, s, l;
  BsColorToHSL(Color, h, s, l);
  return HSLToBsColor(single(Extended(EnsureRange(Hue, 0, 255)) / 255), s, l);
}

TbsColor ChangeColorSat(TbsColor Color, Integer Delta) {
  Single h, s, l;
  BsColorToHSL(Color, h, s, l);
  const Integer t = wrapBy255(Integer(Round(Extended(s) * 255)) + Delta);
  return HSLToBsColor(h, single(Extended(t) / 255), l);
}

TbsColor ChangeColorHue(TbsColor Color, Integer Delta) {
  Single h, s, l;
  BsColorToHSL(Color, h, s, l);
  const Integer t = wrapBy255(Integer(Round(Extended(h) * 255)) + Delta);
  return HSLToBsColor(single(Extended(t) / 255), s, l);
}

TbsColor ChangeColorBrightness(TbsColor Color, Integer Delta) {
  // Clamped in full integers first, so a large Delta cannot wrap the 16-bit packing arguments.
  Integer r = Integer(channel(Color, 16)) + EnsureRange(Delta, -512, 512);
  Integer g = Integer(channel(Color, 8)) + EnsureRange(Delta, -512, 512);
  Integer b = Integer(channel(Color, 0)) + EnsureRange(Delta, -512, 512);
  ClampRGB(r, g, b);
  return PackBsColor(SmallInt(r), SmallInt(g), SmallInt(b), 255);
}
