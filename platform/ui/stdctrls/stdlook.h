// The flat look of the unskinned standard controls: one palette and the few shapes they share, so a
// window of plain controls reads as one family (1-pixel borders, light faces, one accent colour).
#pragma once

#include "platform/ui/controls.h"
#include "platform/ui/graphics.h"

constexpr TColor clLookWindow = TColor(RGB(0xF3, 0xF4, 0xF6));
constexpr TColor clLookSurface = TColor(RGB(0xFF, 0xFF, 0xFF));
constexpr TColor clLookSurfaceBorder = TColor(RGB(0xD9, 0xDC, 0xE1));
constexpr TColor clLookText = TColor(RGB(0x1F, 0x23, 0x28));
constexpr TColor clLookTextSecondary = TColor(RGB(0x5B, 0x62, 0x70));
constexpr TColor clLookTextDisabled = TColor(RGB(0xA3, 0xA9, 0xB3));
constexpr TColor clLookAccent = TColor(RGB(0x2F, 0x6F, 0xDE));
constexpr TColor clLookAccentHover = TColor(RGB(0x3B, 0x7B, 0xEA));
constexpr TColor clLookAccentPressed = TColor(RGB(0x25, 0x59, 0xB8));
constexpr TColor clLookFace = TColor(RGB(0xFF, 0xFF, 0xFF));
constexpr TColor clLookFaceHover = TColor(RGB(0xEE, 0xF2, 0xF8));
constexpr TColor clLookFacePressed = TColor(RGB(0xE1, 0xE7, 0xF1));
constexpr TColor clLookFaceBorder = TColor(RGB(0xC4, 0xC9, 0xD1));

// A control whose colour is still the class library's button face shows the look's colour for its
// role instead; a colour the program chose stays.
inline TColor LookColor(TColor Color, TColor LookDefault) {
  return Color == clBtnFace ? LookDefault : Color;
}

// A container that shows the look's surface (panels, group boxes) in place of the button face.
class ILookSurface {
 public:
  virtual ~ILookSurface() = default;
  virtual TColor LookSurfaceColor() const = 0;
};

// The colour a control's background really shows: its own colour when the program chose one, the
// surface of a panel or group box, else what its parent shows (with ParentColor), else the window's.
TColor LookBackground(const TControl* Control);
// Text colour: the default text colours become the look's text colour.
TColor LookTextColor(TColor FontColor);

// Fills R and frames it with a 1-pixel border whose corners are rounded off (radius 3 at this size):
// the corner pixels take Outside, so the parent's colour shows there.
void DrawLookFrame(TCanvas* Canvas, const TRect& R, TColor Border, TColor Fill, TColor Outside);

// A 1-pixel ring just inside R (the focus mark of the look).
void DrawLookFocusRing(TCanvas* Canvas, const TRect& R, TColor Color);

// The size of Text in Font as DrawText measures it with Flags (DT_CALCRECT is added), on a screen DC:
// for controls that size themselves before they have a window.
TSize MeasureText(TFont* Font, const String& Text, UINT Flags = DT_SINGLELINE);

// DrawText on a canvas in its font and font colour, without a background (R is updated with
// DT_CALCRECT).
Integer DrawCanvasText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags);
