// The product look's palette and sizes (sRGB 0xRRGGBB), shared by the product skin, its pictures and
// the tests that check them.
#pragma once

#include "platform/rtl/types.h"

namespace look {
constexpr Cardinal WindowBg = 0xF3F4F6;
constexpr Cardinal Surface = 0xFFFFFF;
constexpr Cardinal SurfaceBorder = 0xD9DCE1;
constexpr Cardinal Text = 0x1F2328;
constexpr Cardinal SecondaryText = 0x5B6270;
constexpr Cardinal DisabledText = 0xA3A9B3;
constexpr Cardinal Accent = 0x2F6FDE;
constexpr Cardinal AccentHover = 0x3B7BEA;
constexpr Cardinal AccentPressed = 0x2559B8;
constexpr Cardinal SelectionUnfocused = 0xDCE6F8;
constexpr Cardinal Face = 0xFFFFFF;
constexpr Cardinal FaceHover = 0xEEF2F8;
constexpr Cardinal FacePressed = 0xE1E7F1;
constexpr Cardinal FaceDisabled = 0xF7F8FA;
constexpr Cardinal ControlBorder = 0xC4C9D1;
constexpr Cardinal ControlBorderHover = 0xA9AFB9;
constexpr Cardinal FrameBorder = 0xBFC4CC;
constexpr Cardinal TitleActive = 0xFFFFFF;
constexpr Cardinal TitleInactive = 0xF3F4F6;
constexpr Cardinal TitleInactiveText = 0x8A919C;
constexpr Cardinal CaptionGlyph = 0x3A404A;
constexpr Cardinal CaptionHover = 0xE6E8EC;
constexpr Cardinal CaptionPressed = 0xD5D9DF;
constexpr Cardinal Close = 0xD93C3C;
constexpr Cardinal ClosePressed = 0xB83232;
constexpr Cardinal Thumb = 0xC4C9D1;
constexpr Cardinal ThumbHover = 0xA9AFB9;
constexpr Cardinal ThumbPressed = 0x8A919C;
constexpr Cardinal Success = 0x2E9E5B;
constexpr Cardinal Warning = 0xD98E04;
constexpr Cardinal Error = 0xD93C3C;

constexpr int Radius = 3;
constexpr int CaptionHeight = 32;
constexpr int CaptionButtonWidth = 46;
constexpr int ScrollBarSize = 12;
constexpr int ListRowHeight = 24;
constexpr int MenuItemHeight = 26;
}  // namespace look
