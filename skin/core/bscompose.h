// Composition of control images from skin elements: nine-slice (corner pieces fixed, edges and client
// stretched or tiled), three-slice, and the four border bitmaps of a frame. Every compositor sizes its
// destination itself; points and rectangles are only read.
//
// Geometry: SkinRect is the element in Source; ClRect and the corner points LTPt, RTPt, LBPt, RBPt are
// relative to SkinRect's top-left. The New... points and NewClRect place the same parts in an AW x AH
// destination. A side's edge is stretched when its flag is set, tiled (copies cut at the far end, never
// scaled) when clear. Spans of negative or zero length draw nothing.
#pragma once

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"

enum TbsStretchType { bsstFull, bsstHorz, bsstVert };

void ComposeSkinImage(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                      const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                      TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                      bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// The popup and hint windows' name for the same compositor.
void ComposeSkinImage2(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                       const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                       const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                       TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                       bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                       bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// Without the right border: top and bottom edges and the client run to AW (RightStretch unused).
void ComposeSkinImageNoRight(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                             const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                             const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                             TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                             bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                             bool BottomStretch, bool StretchEffect, TbsStretchType StretchType);
// The classic nine-slice at Dest's current size: fixed corners, everything else stretched.
void ComposeStretchedSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, const TRect& ClRect,
                               bool DrawClient);

// Horizontal three-slice: Dest becomes NewWidth x SkinRect's height (NewHeight unused).
void ComposeSkinImageH(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                       const TRect& SkinRect, Integer NewWidth, Integer NewHeight, bool AStretch);
void ComposeSkinImageHNoRight(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                              const TRect& SkinRect, Integer NewWidth, Integer NewHeight, bool AStretch);
void ComposeSkinImageHMiddle(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                             const TRect& SkinRect, Integer NewWidth, Integer NewHeight, bool AStretch);
// Vertical three-slice: Dest becomes SkinRect's width x NewHeight (NewWidth unused).
void ComposeSkinImageV(Integer TopHeight, Integer BottomHeight, TBitmap* Dest, TBitmap* Source,
                       const TRect& SkinRect, Integer NewWidth, Integer NewHeight, bool AStretch);

// The frame of an AW x AH image as four bitmaps (each addressed from its own top-left); a border whose
// part of the geometry is empty is left as it was.
void ComposeSkinBorders(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                        const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                        const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                        TBitmap* LeftBorder, TBitmap* TopBorder, TBitmap* RightBorder, TBitmap* BottomBorder,
                        TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH, bool LeftStretch,
                        bool TopStretch, bool RightStretch, bool BottomStretch);

// ---- building blocks (also used by the region compositor) ----
// A 1:1 or scaled copy of Src (in SrcCanvas) into Dst; nothing when either has no area.
void CopyPiece(TCanvas* DstCanvas, const TRect& Dst, TCanvas* SrcCanvas, const TRect& Src);
// The tiling rule along x: Count copies of Src's columns laid from Start, the copy passing End cut at
// End (its source cut by the same amount); rows go from Dst.Top to Dst.Bottom (scaled when the heights
// differ). Count <= 0 takes (End - Start) div width + 1. Nothing for a source of no width.
void TileAcross(TCanvas* DstCanvas, Integer Start, Integer End, Integer Top, Integer Bottom,
                TCanvas* SrcCanvas, const TRect& Src, Integer Count = 0);
// The same along y, columns from Left to Right.
void TileDown(TCanvas* DstCanvas, Integer Start, Integer End, Integer Left, Integer Right, TCanvas* SrcCanvas,
              const TRect& Src, Integer Count = 0);
