#include "platform/ui/stdctrls/stdlook.h"

namespace stdlook {

namespace {
void fill(TCanvas* Canvas, const TRect& R, TColor Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}
}  // namespace

void RoundedBox(TCanvas* Canvas, const TRect& R, TColor Fill, TColor Border, TColor Outside) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const bool Framed = Border != clNone;
  fill(Canvas, R, Framed ? Border : Fill);
  if (Framed) fill(Canvas, Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1), Fill);
  if (R.Width() < 6 || R.Height() < 6) return;
  // A 3-pixel radius: two outside pixels along each edge and one on the diagonal, the border pixel
  // moved inwards diagonally.
  const TColor Edge = Framed ? Border : Fill;
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  struct TCorner {
    Integer X, Y, DX, DY;
  };
  for (const TCorner& C :
       {TCorner{L, T, 1, 1}, TCorner{Rt, T, -1, 1}, TCorner{L, B, 1, -1}, TCorner{Rt, B, -1, -1}}) {
    Canvas->SetPixels(C.X, C.Y, Outside);
    Canvas->SetPixels(C.X + C.DX, C.Y, Outside);
    Canvas->SetPixels(C.X, C.Y + C.DY, Outside);
    Canvas->SetPixels(C.X + C.DX, C.Y + C.DY, Edge);
    Canvas->SetPixels(C.X + 2 * C.DX, C.Y, Edge);
    Canvas->SetPixels(C.X, C.Y + 2 * C.DY, Edge);
  }
}

void FocusRing(TCanvas* Canvas, const TRect& R) {
  if (R.Width() < 4 || R.Height() < 4) return;
  Canvas->Brush()->SetColor(Accent);
  Canvas->FrameRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void DrawTextIn(TCanvas* Canvas, const String& Text, TRect R, UINT Format, TColor Color) {
  // Straight on the DC: the canvas selects its font and colours only for its own text calls.
  HDC DC = Canvas->Handle();
  HGDIOBJ Old = SelectObject(DC, Canvas->Font()->Handle());
  const COLORREF OldColor = SetTextColor(DC, ColorToRGB(Color));
  const Integer OldMode = SetBkMode(DC, TRANSPARENT);
  DrawText(DC, Text, &R, Format);
  SetBkMode(DC, OldMode);
  SetTextColor(DC, OldColor);
  SelectObject(DC, Old);
}

void DownArrow(TCanvas* Canvas, Integer CX, Integer CY, Integer Size, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  const Integer Rows = (Size + 1) / 2;
  for (Integer i = 0; i < Rows; ++i) {
    const Integer Half = Size / 2 - i;
    Canvas->FillRect(Rect(CX - Half, CY - Rows / 2 + i, CX + Half + 1, CY - Rows / 2 + i + 1));
  }
}

}  // namespace stdlook
