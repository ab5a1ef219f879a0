#include "platform/ui/stdctrls/stdlook.h"

#include "platform/gdi/text.h"

void DrawLookFrame(TCanvas* Canvas, const TRect& R, TColor Border, TColor Fill, TColor Outside) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Fill);
  Canvas->FillRect(R);
  Canvas->Brush()->SetColor(Border);
  Canvas->FrameRect(R);
  if (R.Width() < 6 || R.Height() < 6) return;
  // Rounding: two outside pixels on each edge at every corner, the diagonal one joins the border.
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  struct TCorner {
    Integer X, Y, DX, DY;
  };
  for (TCorner C : {TCorner{L, T, 1, 1}, TCorner{Rt, T, -1, 1}, TCorner{L, B, 1, -1}, TCorner{Rt, B, -1, -1}}) {
    Canvas->SetPixels(C.X, C.Y, Outside);
    Canvas->SetPixels(C.X + C.DX, C.Y, Outside);
    Canvas->SetPixels(C.X, C.Y + C.DY, Outside);
    Canvas->SetPixels(C.X + C.DX, C.Y + C.DY, Border);
  }
}

void DrawLookFocusRing(TCanvas* Canvas, const TRect& R, TColor Color) {
  TRect Ring = R;
  InflateRect(&Ring, -1, -1);
  if (Ring.Width() <= 0 || Ring.Height() <= 0) return;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FrameRect(Ring);
}

TColor LookBackground(const TControl* Control) {
  for (const TControl* C = Control; C != nullptr; C = C->Parent()) {
    if (C->Color() != clBtnFace) return C->Color();
    if (auto* S = dynamic_cast<const ILookSurface*>(C)) return S->LookSurfaceColor();
    if (!C->ParentColor()) break;
  }
  return clLookWindow;
}

TColor LookTextColor(TColor FontColor) {
  return FontColor == clWindowText || FontColor == clBtnText ? clLookText : FontColor;
}

TSize MeasureText(TFont* Font, const String& Text, UINT Flags) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  TRect R = Rect(0, 0, 0, 0);
  DrawText(DC, Text, &R, Flags | DT_CALCRECT);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return {R.Width(), R.Height()};
}

Integer DrawCanvasText(TCanvas* Canvas, const String& Text, TRect& R, UINT Flags) {
  Canvas->TextHeight("0");  // selects the canvas's font and its colour
  HDC DC = Canvas->Handle();
  Integer OldMode = SetBkMode(DC, TRANSPARENT);
  Integer Height = DrawText(DC, Text, &R, Flags);
  SetBkMode(DC, OldMode);
  return Height;
}
