// What the standard controls need beyond the palette: the colour their background really shows
// (a panel's surface, a chosen colour, the parent's), the look's text colour, and text measuring.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/stdctrls/stdlook.h"

// A container that shows the look's surface (panels, group boxes) in place of the button face.
class ILookSurface {
 public:
  virtual ~ILookSurface() = default;
  virtual TColor LookSurfaceColor() const = 0;
};

// The colour a control's background really shows: its own colour when the program chose one (not the
// class library's button face), the surface of a panel or group box, else what its parent shows (with
// ParentColor), else the window's.
TColor LookBackground(const TControl* Control);
// Text colour: the default text colours become the look's text colour.
TColor LookTextColor(TColor FontColor);
// The size of Text in Font as DrawText measures it with Flags (DT_CALCRECT is added) within Width, on
// a screen DC: for controls that size themselves before they have a window.
TSize MeasureText(TFont* Font, const String& Text, UINT Flags = DT_SINGLELINE, Integer Width = 0);
