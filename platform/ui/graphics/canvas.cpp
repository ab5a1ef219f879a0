#include "platform/ui/graphics/canvas.h"

#include "platform/rtl/sysutils.h"
#include "platform/ui/graphics/graphic.h"

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) {
    if ((FState & csFontValid) && FHandle) SelectObject(FHandle, FOldFont);
    FState &= ~csFontValid;
  };
  FPen->OnChange = [this](TObject*) {
    if ((FState & csPenValid) && FHandle) SelectObject(FHandle, FOldPen);
    FState &= ~csPenValid;
  };
  FBrush->OnChange = [this](TObject*) {
    if ((FState & csBrushValid) && FHandle) SelectObject(FHandle, FOldBrush);
    FState &= ~csBrushValid;
  };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
}

HDC TCanvas::Handle() {
  RequiredState(csHandleValid);
  return FHandle;
}

void TCanvas::deselectHandles() {
  if (!FHandle) return;
  if (FState & csFontValid) SelectObject(FHandle, FOldFont);
  if (FState & csPenValid) SelectObject(FHandle, FOldPen);
  if (FState & csBrushValid) SelectObject(FHandle, FOldBrush);
  FState &= ~(csFontValid | csPenValid | csBrushValid);
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  deselectHandles();
  FHandle = Value;
  FState = Value ? csHandleValid : 0;
}

void TCanvas::selectFont() {
  FOldFont = SelectObject(FHandle, FFont->Handle());
  SetTextColor(FHandle, ColorToRGB(FFont->Color()));
  FState |= csFontValid;
}

void TCanvas::selectPen() {
  FOldPen = SelectObject(FHandle, FPen->Handle());
  SetROP2(FHandle, PenModeToROP2(FPen->Mode()));
  FState |= csPenValid;
}

void TCanvas::selectBrush() {
  FOldBrush = SelectObject(FHandle, FBrush->Handle());
  SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
  SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
  FState |= csBrushValid;
}

void TCanvas::RequiredState(Integer ReqState) {
  const Integer needed = ReqState & ~FState;
  if (!needed) return;
  if (!FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed & csFontValid) selectFont();
  if (needed & csPenValid) selectPen();
  if (needed & csBrushValid) selectBrush();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Refresh() {
  deselectHandles();
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  TPoint p;
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TColor TCanvas::Pixels(Integer X, Integer Y) {
  RequiredState(csHandleValid);
  const COLORREF c = GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? -1 : TColor(c);
}

void TCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  SetPixelV(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  TRect r;
  GetClipBox(FHandle, &r);
  return r;
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(FHandle, Points.data(), Integer(Points.size()));
  Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  Canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left,
             Source.Top, Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::TextOut(Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ::TextOut(FHandle, X, Y, Text);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(FHandle, X, Y, options, &Rect, Text);
  Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState(csHandleValid | csFontValid);
  TSize size;
  GetTextExtentPoint32(FHandle, Text, &size);
  return size;
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width) {
  Canvas->Pen()->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  for (; Width > 0; --Width) {
    // Polylines leave out their last point, so each corner belongs to the line that starts there.
    const TPoint topLeft{Rect.Left, Rect.Top}, topRight{Rect.Right, Rect.Top};
    const TPoint bottomLeft{Rect.Left, Rect.Bottom}, bottomRight{Rect.Right, Rect.Bottom};
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({bottomLeft, topLeft, topRight});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({topRight, bottomRight, {bottomLeft.X - 1, bottomLeft.Y}});
    InflateRect(&Rect, -1, -1);
  }
  ++Rect.Bottom;
  ++Rect.Right;
}
