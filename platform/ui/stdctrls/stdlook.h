// The look of the unskinned standard controls: the product palette and the few drawing helpers they
// share (flat faces, 1-pixel borders, 3-pixel rounded corners, a 1-pixel accent ring for the focus).
#pragma once

#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"

namespace stdlook {

constexpr TColor rgb(Byte R, Byte G, Byte B) {
  return TColor(R | (G << 8) | (B << 16));
}

constexpr TColor WindowBack = rgb(0xF3, 0xF4, 0xF6);
constexpr TColor Surface = rgb(0xFF, 0xFF, 0xFF);
constexpr TColor SurfaceBorder = rgb(0xD9, 0xDC, 0xE1);
constexpr TColor Text = rgb(0x1F, 0x23, 0x28);
constexpr TColor TextSecondary = rgb(0x5B, 0x62, 0x70);
constexpr TColor TextDisabled = rgb(0xA3, 0xA9, 0xB3);
constexpr TColor Accent = rgb(0x2F, 0x6F, 0xDE);
constexpr TColor AccentHover = rgb(0x3B, 0x7B, 0xEA);
constexpr TColor AccentPressed = rgb(0x25, 0x59, 0xB8);
constexpr TColor SelectionUnfocused = rgb(0xDC, 0xE6, 0xF8);
constexpr TColor Face = rgb(0xFF, 0xFF, 0xFF);
constexpr TColor FaceHover = rgb(0xEE, 0xF2, 0xF8);
constexpr TColor FacePressed = rgb(0xE1, 0xE7, 0xF1);
constexpr TColor FaceBorder = rgb(0xC4, 0xC9, 0xD1);
constexpr TColor Track = rgb(0xE1, 0xE4, 0xE9);  // the groove of bars: one shade step below the face
constexpr TColor Success = rgb(0x2E, 0x9E, 0x5B);
constexpr TColor Warning = rgb(0xD9, 0x8E, 0x04);
constexpr TColor Error = rgb(0xD9, 0x3C, 0x3C);

// A rectangle filled with Fill inside a 1-pixel Border, its corners rounded by 3 pixels against
// Outside (the colour around it); Border clNone draws no border.
void RoundedBox(TCanvas* Canvas, const TRect& R, TColor Fill, TColor Border, TColor Outside);
// The focus ring: 1 pixel of accent just inside R's border.
void FocusRing(TCanvas* Canvas, const TRect& R);
// Text in the canvas's font, in Color, on a transparent background (DrawText's Format rules).
void DrawTextIn(TCanvas* Canvas, const String& Text, TRect R, UINT Format, TColor Color);
// A small filled triangle pointing down, centred at (CX, CY), Size pixels wide.
void DownArrow(TCanvas* Canvas, Integer CX, Integer CY, Integer Size, TColor Color);

}  // namespace stdlook
