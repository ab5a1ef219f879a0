#include "skin/core/bshsl.h"

#include <gtest/gtest.h>

namespace {

struct THSLCase {
  TbsColor color;
  Single h, s, l;
};

// Values as 32-bit floats: 1/3 and 2/3 are the floats nearest to them.
const THSLCase HSLCases[] = {
    {0xFFFF0000, 0.0f, 1.0f, 0.5f},     {0xFF00FF00, 1.0f / 3, 1.0f, 0.5f},
    {0xFF0000FF, 2.0f / 3, 1.0f, 0.5f}, {0xFF808080, 0.0f, 0.0f, 128.0f / 255},
    {0xFFFF00FF, 5.0f / 6, 1.0f, 0.5f},  // (g - b) / d = -1: -1/6 wraps to 5/6
    {0xFF000000, 0.0f, 0.0f, 0.0f},
};

TEST(HSL, ColorToHSL) {
  for (const auto& c : HSLCases) {
    Single h = -1, s = -1, l = -1;
    BsColorToHSL(c.color, h, s, l);
    EXPECT_EQ(h, c.h) << std::hex << c.color;
    EXPECT_EQ(s, c.s) << std::hex << c.color;
    EXPECT_EQ(l, c.l) << std::hex << c.color;
  }
}

TEST(HSL, HSLToColorBackToThePrimaries) {
  for (const auto& c : HSLCases) EXPECT_EQ(HSLToBsColor(c.h, c.s, c.l), c.color) << std::hex << c.color;
}

TEST(HSL, NegativeHueWrapsIntoTheUnitInterval) {
  // Red 255, blue 128: (g - b) / d is negative and gets 1 added.
  Single h, s, l;
  BsColorToHSL(0xFFFF0080, h, s, l);
  EXPECT_GT(h, 0.9f);
  EXPECT_LT(h, 1.0f);
}

TEST(HSL, ChannelTakesTheLowEightBitsOfTheRoundedValue) {
  // The three segments of the hue ramp between levels 0.2 and 1.0.
  EXPECT_EQ(HueToRGBChannel(0.2f, 1.0f, 0.0f), 51);        // m1: 0.2 * 255 = 51
  EXPECT_EQ(HueToRGBChannel(0.2f, 1.0f, 0.25f), 255);      // m2
  EXPECT_EQ(HueToRGBChannel(0.2f, 1.0f, 0.9f), 51);        // m1 again past 2/3
  EXPECT_EQ(HueToRGBChannel(0.0f, 1.0f, 1.0f / 12), 128);  // 6h is just above 0.5: 127.5000038 -> 128
  EXPECT_EQ(HueToRGBChannel(0.0f, 1.0f, 1.25f), 255);      // only the fraction of h counts
}

struct TChangeCase {
  const char* what;
  TbsColor (*fn)(TbsColor, Integer);
  TbsColor color;
  Integer arg;
  TbsColor expected;
};

const TChangeCase ChangeCases[] = {
    {"hue of red to 85", SetColorHue, 0xFFFF0000, 85, 0xFF00FF00},
    {"hue clamped above", SetColorHue, 0x80FF0000, 900, SetColorHue(0xFFFF0000, 255)},
    {"hue clamped below", SetColorHue, 0xFF00FF00, -5, 0xFFFF0000},
    {"hue shift 170", ChangeColorHue, 0xFFFF0000, 170, 0xFF0000FF},
    {"hue shift wraps by 255", ChangeColorHue, 0xFF0000FF, 170, ChangeColorHue(0xFFFF0000, 85)},
    // Saturation 1.0 (255) plus 1 wraps to 1/255: red turns almost grey.
    {"saturation wraps", ChangeColorSat, 0xFFFF0000, 1, 0xFF807F7F},
    {"saturation to zero", ChangeColorSat, 0xFFFF0000, -255, 0xFF808080},  // L * 255 = 127.5 -> 128
    {"brightness", ChangeColorBrightness, 0x00102030, 0x10, 0xFF203040},
    {"brightness clamps", ChangeColorBrightness, 0xFF10F030, 0x20, 0xFF30FF50},
    {"brightness huge", ChangeColorBrightness, 0xFF10F030, 70000, 0xFFFFFFFF},
    {"darkness huge", ChangeColorBrightness, 0xFF10F030, -70000, 0xFF000000},
};

TEST(HSL, ColourChanges) {
  for (const auto& c : ChangeCases) EXPECT_EQ(c.fn(c.color, c.arg), c.expected) << c.what;
}

}  // namespace
