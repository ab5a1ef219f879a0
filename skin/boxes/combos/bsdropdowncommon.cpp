#include "skin/boxes/combos/bsdropdowncommon.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bssystem.h"

namespace {
const TColor FrameBlue = RGB(59, 107, 183);
const TColor HoverFill = RGB(193, 212, 243);
const TColor PressedFill = RGB(162, 188, 228);
}  // namespace

TPoint DropDownOrigin(TControl* Control, Integer Left, Integer ListHeight) {
  TPoint P = Point(Left, Control->Top() + Control->Height());
  if (Control->Parent() != nullptr) P = Control->Parent()->ClientToScreen(P);
  TRect WorkArea;
  GetScreenRect(true, WorkArea);
  auto* Win = dynamic_cast<TWinControl*>(Control);
  if (Win != nullptr && Win->HandleAllocated()) GetMonitorRectOfWindow(Win->Handle(), true, WorkArea);
  if (P.Y + ListHeight > WorkArea.Bottom) P.Y -= Control->Height() + ListHeight;
  return P;
}

void ApplyDropDownAlpha(HWND Wnd, bool AlphaBlend, bool Animation, Byte Value, bool& OldAlphaBlend,
                        Byte& OldAlphaBlendValue) {
  const LONG_PTR ExStyle = GetWindowLongPtr(Wnd, GWL_EXSTYLE);
  if (AlphaBlend && !OldAlphaBlend)
    SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle | WS_EX_LAYERED);
  else if (!AlphaBlend && OldAlphaBlend)
    SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle & ~LONG_PTR(WS_EX_LAYERED));
  OldAlphaBlend = AlphaBlend;
  if (!AlphaBlend || OldAlphaBlendValue == Value) return;
  OldAlphaBlendValue = Animation ? 0 : Value;
  SetWindowAlpha(Wnd, OldAlphaBlendValue);
}

void FadeInDropDown(HWND Wnd, Integer Target, Cardinal Last, bool ServeQueue) {
  const Integer Step = std::max(1, Target / 15);
  Integer Alpha = 0;
  while (Alpha < Target) {
    // Unsigned, so that the wrap of the tick count is one more millisecond.
    if (GetTickCount() - Last > 5) {
      Last = GetTickCount();
      Alpha = std::min(Target, Alpha + Step);
      SetWindowAlpha(Wnd, Byte(Alpha));
    } else {
      Sleep(1);
    }
    if (ServeQueue) Application->ProcessMessages();
  }
}

bool LoadMarkerGlyph(TBitmap* Glyph, TBitmap* Pic, const TRect& Src, TColor Key) {
  if (Pic == nullptr || IsEmptyRect(Src)) return false;
  Glyph->SetSize(RectWidth(Src), RectHeight(Src));
  Glyph->Canvas()->CopyRect(Rect(0, 0, Glyph->Width(), Glyph->Height()), Pic->Canvas(), Src);
  Glyph->SetTransparent(true);
  Glyph->SetTransparentColor(Key);
  return true;
}

void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Frame);
  C->FrameRect(R);
  C->Brush()->SetColor(Fill);
  C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void DrawDefaultDropButton(TCanvas* C, const TbsCBButtonX& Button, bool Enabled) {
  if (Button.Down && Button.MouseIn)
    FrameAndFill(C, Button.R, FrameBlue, PressedFill);
  else if (Button.MouseIn)
    FrameAndFill(C, Button.R, FrameBlue, HoverFill);
  else
    FrameAndFill(C, Button.R, clBtnShadow, clBtnFace);
  DrawArrow(C, Button.R, Enabled ? clBlack : clBtnShadow, 4);
}

void DrawDefaultToolButtonFrame(TCanvas* C, const TRect& R, bool Dropped, bool Hot) {
  if (Dropped)
    FrameAndFill(C, R, FrameBlue, PressedFill);
  else if (Hot)
    FrameAndFill(C, R, FrameBlue, HoverFill);
  else
    FrameAndFill(C, R, clBtnShadow, clBtnFace);
}

void CalcComboRects(const TbsComboLayout& L, Integer Width, Integer Height, TbsCBButtonX& Button,
                    TbsCBItem& Item) {
  if (L.Default) {
    Button.R = Rect(Width - 19, 0, Width, Height);
    Item.R = Rect(2, 2, Button.R.Left - 1, Height - 2);
    return;
  }
  const Integer DW = Width - RectWidth(L.SkinRect);
  Button.R = L.ButtonRect;
  if (L.ButtonRect.Left >= RectWidth(L.SkinRect) - L.RightPartX) OffsetRect(&Button.R, DW, 0);
  Item.R = L.ClRect;
  Item.R.Right += DW;
  if (!L.UseSkinSize) {
    const Integer DH = Height - RectHeight(L.SkinRect);
    Item.R.Bottom += DH;
    Button.R.Bottom += DH;
  }
}
