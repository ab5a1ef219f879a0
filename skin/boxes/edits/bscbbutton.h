// The small parts of a closed skinned control that several controls share: a button inside the
// control (edit buttons, spin halves, drop-down buttons) and the item area of a closed combo box.
#pragma once

#include "platform/ui/stdctrls/listbox.h"

struct TbsCBButtonX {
  TRect R{};
  bool MouseIn = false;
  bool Down = false;
};

struct TbsCBItem {
  TRect R{};
  TOwnerDrawState State;
};
