// One typing script for every control that selects by typed letters (the list view, the tree view):
// the same entries, the same keys, the same entry expected after each.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/types.h"
#include "platform/win/testkit/testkit.h"

namespace typeahead {

// The entries in the order the control shows them; the script names them by index.
inline const std::vector<const char*> Names = {"Beta", "alpha", "Alps", "album", "Beach", "视频", "bed"};

// Types Letters, a key each.
void Type(const String& Letters);

// Types the script into the focused control and checks, after each step, that Selected() gives the
// index the step expects: a prefix typed within the pause, a pause starting a new one, one letter
// typed again stepping on, a letter nothing begins with, a character that is no letter, a pause
// shorter than the search's keeping the prefix, and an arrow key ending it.
void RunScript(TFakeClock& Clock, const std::function<Integer()>& Selected);

}  // namespace typeahead
