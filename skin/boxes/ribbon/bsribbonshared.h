// What the ribbon's and the application menu's sources share: the component-state tests that decide
// between run time, the designer and loading, and cutting and laying out pieces of skin pictures.
#pragma once

#include "platform/rtl/component.h"
#include "platform/ui/graphics/bitmap.h"
#include "skin/core/bscompose.h"

inline bool RibbonDesigning(const TComponent* C) {
  return C->ComponentState().Contains(csDesigning);
}
inline bool RibbonLoading(const TComponent* C) {
  return C->ComponentState().Contains(csLoading);
}
inline bool RibbonDestroying(const TComponent* C) {
  return C->ComponentState().Contains(csDestroying);
}

// Piece of Source on B at B's origin, keyed on Key when Transparent.
void CutSkinPiece(TBitmap* B, TBitmap* Source, const TRect& Piece, bool Transparent, TColor Key);
// SourceRect of Source laid into R: stretched by StretchType with Stretch (full, one copy per column,
// one copy per row), else tiled from R's top-left corner in whole copies.
void LaySkinPicture(TCanvas* Cnvs, const TRect& R, TBitmap* Source, const TRect& SourceRect, bool Stretch,
                    TbsStretchType StretchType);
