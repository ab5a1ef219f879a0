// Where a drop-down list opens: under its control, or above it when the list would pass the bottom
// of the work area of the control's monitor. The horizontal place is the caller's.
#pragma once

#include "platform/ui/core/control.h"

// Left is the list's left edge in the control's parent coordinates.
TPoint DropDownOrigin(TControl* Control, Integer Left, Integer ListHeight);
