// Text with a soft coloured halo or a fading mirror image under it. Each routine draws the effect, then
// the plain text on top, with the canvas's font and its colour. The effect is the text's coverage drawn in
// pure red on a fresh bitmap, optionally blurred, turned into the alpha of the effect colour (a plain RGB
// colour) and blended onto the canvas.
#pragma once

#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"

// Glow GlowSize wide around the text thickened by one pixel each way, moved by GlowOffset.
void DrawGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags, Integer GlowOffset,
                  TColor GlowColor, Integer GlowSize);
// As DrawGlowText without the thickening; returns the text's DrawText result.
Integer DrawGlowTextWide(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                         Integer GlowOffset, TColor GlowColor, Integer GlowSize);
// A blurred glow plate behind the text (margin 10); drawn also for an empty text.
Integer DrawVistaGlowTextNarrow(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                                TColor GlowColor);
// A wider plate (margin 12), reaching 3 pixels beyond R sideways and stopping 2 inside at top and bottom.
Integer DrawVistaGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                          TColor GlowColor);
// The text and under it its mirror image, fading out upward from 70 % coverage.
void DrawReflectionText(TCanvas* Canvas, const TRect& R, const String& Text, Cardinal Flags,
                        Integer ReflectionOffset, TColor ReflectionColor);
