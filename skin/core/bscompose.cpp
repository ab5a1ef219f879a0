#include "skin/core/bscompose.h"

#include "skin/core/bsdraw.h"

namespace {

TRect offsetBy(const TRect& R, const TRect& SkinRect) {
  return Rect(R.Left + SkinRect.Left, R.Top + SkinRect.Top, R.Right + SkinRect.Left, R.Bottom + SkinRect.Top);
}

// A source rectangle relative to the element, addressed in the picture.
struct ElementSource {
  TCanvas* Canvas;
  TRect SkinRect;
  TRect at(Integer L, Integer T, Integer R, Integer B) const { return offsetBy(Rect(L, T, R, B), SkinRect); }
};

void edge(TCanvas* Dst, const TRect& To, const ElementSource& Src, const TRect& From, bool Stretch,
          bool Across) {
  if (Stretch)
    CopyPiece(Dst, To, Src.Canvas, From);
  else if (Across)
    TileAcross(Dst, To.Left, To.Right, To.Top, To.Bottom, Src.Canvas, From);
  else
    TileDown(Dst, To.Top, To.Bottom, To.Left, To.Right, Src.Canvas, From);
}

void tileClient(TCanvas* Dst, const TRect& N, TCanvas* Src, const TRect& Piece) {
  const Integer pw = RectWidth(Piece), ph = RectHeight(Piece);
  // An empty client piece would divide by zero: it draws nothing.
  if (pw <= 0 || ph <= 0) return;
  const Integer rows = RectHeight(N) / ph + 1;
  for (Integer j = 0; j < rows; ++j) {
    Integer top = N.Top + j * ph, bottom = top + ph, srcBottom = Piece.Bottom;
    if (bottom > N.Bottom) {
      srcBottom -= bottom - N.Bottom;
      bottom = N.Bottom;
    }
    TileAcross(Dst, N.Left, N.Right, top, bottom, Src, Rect(Piece.Left, Piece.Top, Piece.Right, srcBottom));
  }
}

// The client part: tiled, or stretched whole, or stretched one way and repeated the other way.
void drawClient(TCanvas* Dst, const TRect& N, TCanvas* Src, const TRect& Piece, bool StretchEffect,
                TbsStretchType StretchType) {
  if (!StretchEffect) {
    tileClient(Dst, N, Src, Piece);
    return;
  }
  const Integer pw = RectWidth(Piece), ph = RectHeight(Piece);
  if (pw <= 0 || ph <= 0 || RectWidth(N) <= 0 || RectHeight(N) <= 0) return;
  TBitmap piece(pw, ph);
  piece.Canvas()->CopyRect(Rect(0, 0, pw, ph), Src, Piece);
  switch (StretchType) {
    case bsstFull:
      Dst->StretchDraw(N, &piece);
      break;
    case bsstHorz: {
      // The band's copies past N are clipped away, so each cut copy is the band's left part.
      TBitmap band(pw, RectHeight(N));
      band.Canvas()->StretchDraw(Rect(0, 0, pw, RectHeight(N)), &piece);
      TileAcross(Dst, N.Left, N.Right, N.Top, N.Bottom, band.Canvas(), Rect(0, 0, pw, RectHeight(N)));
      break;
    }
    case bsstVert: {
      TBitmap band(RectWidth(N), ph);
      band.Canvas()->StretchDraw(Rect(0, 0, RectWidth(N), ph), &piece);
      TileDown(Dst, N.Top, N.Bottom, N.Left, N.Right, band.Canvas(), Rect(0, 0, RectWidth(N), ph));
      break;
    }
  }
}

struct NineSlice {
  TPoint LTPt, RTPt, LBPt, RBPt;
  TRect ClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
};

void composeNineSlice(const NineSlice& G, TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW,
                      Integer AH, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType, bool NoRight) {
  Dest->SetSize(AW, AH);
  if (G.RBPt.X == G.LTPt.X || G.RBPt.Y == G.LTPt.Y || Source == nullptr || Source->Empty()) return;
  const Integer w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  TCanvas* d = Dest->Canvas();
  const ElementSource s{Source->Canvas(), SkinRect};
  const TRect& cl = G.ClRect;
  const TRect& n = G.NewClRect;

  const Integer topEnd = NoRight ? AW : G.NewRTPoint.X;
  const Integer bottomEnd = NoRight ? AW : G.NewRBPoint.X;
  edge(d, Rect(G.NewLTPoint.X, 0, topEnd, n.Top), s, s.at(G.LTPt.X, 0, G.RTPt.X, cl.Top), TopStretch, true);
  edge(d, Rect(G.NewLBPoint.X, n.Bottom, bottomEnd, AH), s, s.at(G.LBPt.X, cl.Bottom, G.RBPt.X, h),
       BottomStretch, true);
  edge(d, Rect(0, G.NewLTPoint.Y, n.Left, G.NewLBPoint.Y), s, s.at(0, G.LTPt.Y, cl.Left, G.LBPt.Y),
       LeftStretch, false);
  if (!NoRight)
    edge(d, Rect(n.Right, G.NewRTPoint.Y, AW, G.NewRBPoint.Y), s, s.at(cl.Right, G.RTPt.Y, w, G.RBPt.Y),
         RightStretch, false);

  // The fixed pieces, in an order where a later one wins where they meet.
  CopyPiece(d, Rect(0, 0, G.NewLTPoint.X, n.Top), s.Canvas, s.at(0, 0, G.LTPt.X, cl.Top));
  CopyPiece(d, Rect(0, n.Top, n.Left, G.NewLTPoint.Y), s.Canvas, s.at(0, cl.Top, cl.Left, G.LTPt.Y));
  if (!NoRight) {
    CopyPiece(d, Rect(G.NewRTPoint.X, 0, AW, n.Top), s.Canvas, s.at(G.RTPt.X, 0, w, cl.Top));
    CopyPiece(d, Rect(n.Right, n.Top, AW, G.NewRTPoint.Y), s.Canvas, s.at(cl.Right, cl.Top, w, G.RTPt.Y));
  }
  CopyPiece(d, Rect(0, G.NewLBPoint.Y, n.Left, AH), s.Canvas, s.at(0, G.LBPt.Y, cl.Left, h));
  CopyPiece(d, Rect(n.Left, n.Bottom, G.NewLBPoint.X, AH), s.Canvas, s.at(cl.Left, cl.Bottom, G.LBPt.X, h));
  if (!NoRight) {
    CopyPiece(d, Rect(G.NewRBPoint.X, n.Bottom, AW, AH), s.Canvas, s.at(G.RBPt.X, cl.Bottom, w, h));
    CopyPiece(d, Rect(n.Right, G.NewRBPoint.Y, AW, n.Bottom), s.Canvas,
              s.at(cl.Right, G.RBPt.Y, w, cl.Bottom));
  }

  if (!DrawClient) return;
  TRect client = n;
  if (NoRight) client.Right = AW;
  drawClient(d, client, s.Canvas, offsetBy(cl, SkinRect), StretchEffect, StretchType);
}

enum class ThreeSliceEnds { Both, LeftOnly, None };

void composeHorizontal(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                       const TRect& SkinRect, Integer NewWidth, bool AStretch, ThreeSliceEnds Ends) {
  const Integer w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  Dest->SetSize(NewWidth, h);
  if (Source == nullptr || Source->Empty()) return;
  TCanvas* d = Dest->Canvas();
  const ElementSource s{Source->Canvas(), SkinRect};
  if (Ends != ThreeSliceEnds::None && LeftWidth != 0)
    CopyPiece(d, Rect(0, 0, LeftWidth, h), s.Canvas, s.at(0, 0, LeftWidth, h));
  if (Ends == ThreeSliceEnds::Both && RightWidth != 0)
    CopyPiece(d, Rect(NewWidth - RightWidth, 0, NewWidth, h), s.Canvas, s.at(w - RightWidth, 0, w, h));
  const Integer start = Ends == ThreeSliceEnds::None ? 0 : LeftWidth;
  const Integer end = Ends == ThreeSliceEnds::Both ? NewWidth - RightWidth : NewWidth;
  edge(d, Rect(start, 0, end, h), s, s.at(LeftWidth, 0, w - RightWidth, h), AStretch, true);
}

// Count copies of a piece Len long laid from Start on, the one crossing End cut short (every copy when
// Count <= 0). Lay(from, to, cut) draws one copy covering from..to, cut pixels shorter than the piece.
template <class TLay>
void tileAlong(Integer Len, Integer Start, Integer End, Integer Count, TLay Lay) {
  if (Len <= 0) return;
  if (Count <= 0) Count = (End - Start) / Len + 1;
  for (Integer i = 0; i < Count; ++i) {
    const Integer from = Start + i * Len, to = from + Len;
    if (to > End)
      Lay(from, End, to - End);
    else
      Lay(from, to, 0);
  }
}

}  // namespace

void CopyPiece(TCanvas* DstCanvas, const TRect& Dst, TCanvas* SrcCanvas, const TRect& Src) {
  // A negative extent would mirror the piece; a span that runs backwards draws nothing instead.
  if (IsEmptyRect(Dst) || IsEmptyRect(Src)) return;
  DstCanvas->CopyRect(Dst, SrcCanvas, Src);
}

void TileAcross(TCanvas* DstCanvas, Integer Start, Integer End, Integer Top, Integer Bottom,
                TCanvas* SrcCanvas, const TRect& Src, Integer Count) {
  tileAlong(RectWidth(Src), Start, End, Count, [&](Integer left, Integer right, Integer cut) {
    CopyPiece(DstCanvas, Rect(left, Top, right, Bottom), SrcCanvas,
              Rect(Src.Left, Src.Top, Src.Right - cut, Src.Bottom));
  });
}

void TileDown(TCanvas* DstCanvas, Integer Start, Integer End, Integer Left, Integer Right, TCanvas* SrcCanvas,
              const TRect& Src, Integer Count) {
  tileAlong(RectHeight(Src), Start, End, Count, [&](Integer top, Integer bottom, Integer cut) {
    CopyPiece(DstCanvas, Rect(Left, top, Right, bottom), SrcCanvas,
              Rect(Src.Left, Src.Top, Src.Right, Src.Bottom - cut));
  });
}

void ComposeSkinImage(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                      const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                      const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                      TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                      bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType) {
  composeNineSlice(
      {LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect}, Dest,
      Source, SkinRect, AW, AH, DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch,
      StretchEffect, StretchType, false);
}

void ComposeSkinImage2(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                       const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                       const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                       TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                       bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                       bool BottomStretch, bool StretchEffect, TbsStretchType StretchType) {
  ComposeSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                   Dest, Source, SkinRect, AW, AH, DrawClient, LeftStretch, TopStretch, RightStretch,
                   BottomStretch, StretchEffect, StretchType);
}

void ComposeSkinImageNoRight(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                             const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                             const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                             TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH,
                             bool DrawClient, bool LeftStretch, bool TopStretch, bool, bool BottomStretch,
                             bool StretchEffect, TbsStretchType StretchType) {
  composeNineSlice(
      {LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect}, Dest,
      Source, SkinRect, AW, AH, DrawClient, LeftStretch, TopStretch, false, BottomStretch, StretchEffect,
      StretchType, true);
}

void ComposeStretchedSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& SkinRect, const TRect& ClRect,
                               bool DrawClient) {
  const Integer aw = Dest->Width(), ah = Dest->Height();
  const Integer w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  const TRect n = Rect(ClRect.Left, ClRect.Top, aw - (w - ClRect.Right), ah - (h - ClRect.Bottom));
  ComposeSkinImage(Point(ClRect.Left, ClRect.Top), Point(ClRect.Right, ClRect.Top),
                   Point(ClRect.Left, ClRect.Bottom), Point(ClRect.Right, ClRect.Bottom), ClRect,
                   Point(n.Left, n.Top), Point(n.Right, n.Top), Point(n.Left, n.Bottom),
                   Point(n.Right, n.Bottom), n, Dest, Source, SkinRect, aw, ah, DrawClient, true, true, true,
                   true, true, bsstFull);
}

void ComposeSkinImageH(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                       const TRect& SkinRect, Integer NewWidth, Integer, bool AStretch) {
  composeHorizontal(LeftWidth, RightWidth, Dest, Source, SkinRect, NewWidth, AStretch, ThreeSliceEnds::Both);
}

void ComposeSkinImageHNoRight(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                              const TRect& SkinRect, Integer NewWidth, Integer, bool AStretch) {
  composeHorizontal(LeftWidth, RightWidth, Dest, Source, SkinRect, NewWidth, AStretch,
                    ThreeSliceEnds::LeftOnly);
}

void ComposeSkinImageHMiddle(Integer LeftWidth, Integer RightWidth, TBitmap* Dest, TBitmap* Source,
                             const TRect& SkinRect, Integer NewWidth, Integer, bool AStretch) {
  composeHorizontal(LeftWidth, RightWidth, Dest, Source, SkinRect, NewWidth, AStretch, ThreeSliceEnds::None);
}

void ComposeSkinImageV(Integer TopHeight, Integer BottomHeight, TBitmap* Dest, TBitmap* Source,
                       const TRect& SkinRect, Integer, Integer NewHeight, bool AStretch) {
  const Integer w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  Dest->SetSize(w, NewHeight);
  if (Source == nullptr || Source->Empty()) return;
  TCanvas* d = Dest->Canvas();
  const ElementSource s{Source->Canvas(), SkinRect};
  if (TopHeight != 0) CopyPiece(d, Rect(0, 0, w, TopHeight), s.Canvas, s.at(0, 0, w, TopHeight));
  if (BottomHeight != 0)
    CopyPiece(d, Rect(0, NewHeight - BottomHeight, w, NewHeight), s.Canvas, s.at(0, h - BottomHeight, w, h));
  edge(d, Rect(0, TopHeight, w, NewHeight - BottomHeight), s, s.at(0, TopHeight, w, h - BottomHeight),
       AStretch, false);
}

void ComposeSkinBorders(const TPoint& LTPt, const TPoint& RTPt, const TPoint& LBPt, const TPoint& RBPt,
                        const TRect& ClRect, const TPoint& NewLTPoint, const TPoint& NewRTPoint,
                        const TPoint& NewLBPoint, const TPoint& NewRBPoint, const TRect& NewClRect,
                        TBitmap* LeftBorder, TBitmap* TopBorder, TBitmap* RightBorder, TBitmap* BottomBorder,
                        TBitmap* Source, const TRect& SkinRect, Integer AW, Integer AH, bool LeftStretch,
                        bool TopStretch, bool RightStretch, bool BottomStretch) {
  const Integer w = RectWidth(SkinRect), h = RectHeight(SkinRect);
  const ElementSource s{Source->Canvas(), SkinRect};

  // Top and bottom bands: the edge stretched between the new points, or tiled from column 0 across the
  // whole band; then the two fixed ends over it.
  auto band = [&](TBitmap* B, Integer SrcTop, Integer Height, Integer L, Integer R, Integer NewL,
                  Integer NewR, bool Stretch) {
    B->SetSize(AW, Height);
    TCanvas* d = B->Canvas();
    const TRect edgeSrc = s.at(L, SrcTop, R, SrcTop + Height);
    if (Stretch)
      CopyPiece(d, Rect(NewL, 0, NewR, Height), s.Canvas, edgeSrc);
    else
      TileAcross(d, 0, AW, 0, Height, s.Canvas, edgeSrc);
    CopyPiece(d, Rect(0, 0, NewL, Height), s.Canvas, s.at(0, SrcTop, L, SrcTop + Height));
    CopyPiece(d, Rect(NewR, 0, AW, Height), s.Canvas, s.at(R, SrcTop, w, SrcTop + Height));
  };
  if (AW > 0 && NewClRect.Top > 0 && RTPt.X > LTPt.X)
    band(TopBorder, 0, NewClRect.Top, LTPt.X, RTPt.X, NewLTPoint.X, NewRTPoint.X, TopStretch);
  const Integer d = AH - NewClRect.Bottom;
  if (AW > 0 && d > 0 && RBPt.X > LBPt.X)
    band(BottomBorder, h - d, d, LBPt.X, RBPt.X, NewLBPoint.X, NewRBPoint.X, BottomStretch);

  const Integer m = AH - TopBorder->Height() - BottomBorder->Height();
  // Side strips: the edge stretched between the fixed ends or tiled from row 0 down the whole strip;
  // then the parts of the border above and below the edge.
  auto strip = [&](TBitmap* B, Integer SrcLeft, Integer SrcRight, Integer Width, Integer T, Integer Bt,
                   bool Stretch) {
    B->SetSize(Width, m);
    TCanvas* dc = B->Canvas();
    const TRect edgeSrc = s.at(SrcLeft, T, SrcRight, Bt);
    if (Stretch)
      CopyPiece(dc, Rect(0, T - ClRect.Top, Width, m - (ClRect.Bottom - Bt)), s.Canvas, edgeSrc);
    else
      TileDown(dc, 0, m, 0, Width, s.Canvas, edgeSrc);
    if (T > ClRect.Top)
      CopyPiece(dc, Rect(0, 0, Width, T - ClRect.Top), s.Canvas, s.at(SrcLeft, ClRect.Top, SrcRight, T));
    if (ClRect.Bottom > Bt)
      CopyPiece(dc, Rect(0, m - (ClRect.Bottom - Bt), Width, m), s.Canvas,
                s.at(SrcLeft, Bt, SrcRight, ClRect.Bottom));
  };
  if (NewClRect.Left > 0 && m > 0 && LBPt.Y > LTPt.Y)
    strip(LeftBorder, 0, NewClRect.Left, NewClRect.Left, LTPt.Y, LBPt.Y, LeftStretch);
  const Integer r = AW - NewClRect.Right;
  if (r >= 1 && m >= 1 && RBPt.Y - RTPt.Y >= 1)
    strip(RightBorder, ClRect.Right, w, r, RTPt.Y, RBPt.Y, RightStretch);
}
