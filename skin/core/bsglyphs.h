// The default glyphs of the window commands, drawn when the skin has no picture for them, and two small
// drawing routines. Glyph coordinates are offsets from (X, Y); lines stop before their end point.
#pragma once

#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"
#include "skin/core/bsskinvalues.h"  // TbsStdCommand: one definition, shared with the skin records

// A cross two pixels thick.
void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
// A window with a two-pixel title bar.
void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
// Two overlapping windows.
void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeToTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

// Red, green and blue each (c1 + c2) shr 1, system colours resolved.
TColor AverageColor(TColor C1, TColor C2);
// Every other pixel of R's outline (R's last column and row included) in the canvas's font colour.
void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R);
