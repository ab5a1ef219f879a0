// The one reading of a WM_HSCROLL / WM_VSCROLL request that every scrolling control shares: where
// its content position goes for each request code.
#pragma once

#include <optional>

#include "platform/win/scrollbar.h"

// The steps a control scrolls by, in its own units (rows, pixels, lines).
struct TScrollSteps {
  Integer Line = 1;
  Integer Page = 1;
  // The thumb's position for SB_THUMBTRACK and SB_THUMBPOSITION.
  Integer Thumb = 0;
  // The position SB_BOTTOM goes to.
  Integer End = 0;
};

// The new position for request Code from Pos: a line or a page back or on, the thumb's, the start or
// the end; none for a code that moves nothing (SB_ENDSCROLL). The control clamps it itself.
std::optional<Integer> ScrollRequestPosition(Word Code, Integer Pos, const TScrollSteps& Steps);
