// Pixel probes of the main window's display tests.
#pragma once

#include <algorithm>

#include "platform/gdi/codecs.h"
#include "platform/ui/core/control.h"
#include "platform/win/backends/x11/testkit/xvfb.h"

namespace mainformtest {

// The darkest colour channel on screen inside a client rectangle of a control, Margin pixels at its
// edges left out: text and ink are dark, faces and faded glyphs light.
inline Integer DarkestChannelIn(x11test::TScreenReader& Reader, TControl* C, TRect R, Integer Margin) {
  const TPoint P = C->ClientToScreen({0, 0});
  OffsetRect(&R, P.X, P.Y);
  const TRawImage Face = Reader.Capture(R);
  Integer Darkest = 255;
  for (Integer Y = Margin; Y < Face.Height - Margin; ++Y)
    for (Integer X = Margin; X < Face.Width - Margin; ++X)
      for (Integer Ch = 0; Ch < 3; ++Ch) Darkest = std::min<Integer>(Darkest, Face.Row(Y)[4 * X + Ch]);
  return Darkest;
}

}  // namespace mainformtest
