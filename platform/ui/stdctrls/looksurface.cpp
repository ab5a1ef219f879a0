#include "platform/ui/stdctrls/looksurface.h"

#include "platform/gdi/text.h"

TColor LookBackground(const TControl* Control) {
  for (const TControl* C = Control; C != nullptr; C = C->Parent()) {
    if (C->Color() != clBtnFace) return C->Color();
    if (auto* S = dynamic_cast<const ILookSurface*>(C)) return S->LookSurfaceColor();
    if (!C->ParentColor()) break;
  }
  return stdlook::WindowBack;
}

TColor LookTextColor(TColor FontColor) {
  return FontColor == clWindowText || FontColor == clBtnText ? stdlook::Text : FontColor;
}

TSize MeasureText(TFont* Font, const String& Text, UINT Flags, Integer Width) {
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  TRect R = Rect(0, 0, Width, 0);
  DrawText(DC, Text, &R, Flags | DT_CALCRECT);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return {R.Width(), R.Height()};
}
