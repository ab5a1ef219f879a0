// Where the preview group's parts lie, in window client coordinates: the group in the right column
// (right of the job list, above the command buttons), the picture area, the button row, the position
// slider and the snapshot row.
#pragma once

#include "platform/rtl/types.h"

namespace previewlayout {

constexpr TRect GroupBounds{592, 101, 592 + 226, 101 + 284};
constexpr TRect ScreenBounds{600, 125, 600 + 210, 125 + 135};
constexpr Integer ButtonRowTop = 268;
constexpr Integer IconButton = 28;
constexpr Integer SliderLeft = 596, SliderTop = 302, SliderW = 218, SliderH = 20;
constexpr Integer SnapRowTop = 338;
constexpr Integer SnapButtonW = 76;
// The stopped-preview picture, centred on the screen.
constexpr Integer PlaceholderW = 84, PlaceholderH = 87;

}  // namespace previewlayout
