// Colours, fonts, pens, brushes and the canvas.
#include "platform/ui/graphics.h"

#include "platform/rtl/sysutils.h"

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return COLORREF(Color);
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont ----

TFont::TFont() = default;

TFont::~TFont() {
  freeHandle();
}

void TFont::freeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

// Listeners (the canvas) deselect the old object before it is deleted.
void TFont::fontChanged() {
  Changed();
  freeHandle();
}

void TFont::Assign(TPersistent* Source) {
  auto* font = dynamic_cast<TFont*>(Source);
  if (!font) return TGraphicsObject::Assign(Source);
  if (font == this) return;
  FName = font->FName;
  FHeight = font->FHeight;
  FStyle = font->FStyle;
  FColor = font->FColor;
  FCharset = font->FCharset;
  FPitch = font->FPitch;
  FOrientation = font->FOrientation;
  fontChanged();
}

LOGFONT TFont::LogFont() const {
  LOGFONT lf;
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  lf.lfCharSet = FCharset;
  lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                        : FPitch == fpVariable ? VARIABLE_PITCH
                                               : DEFAULT_PITCH;
  SetLogFontFaceName(lf, FName);
  return lf;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    const LOGFONT lf = LogFont();
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONT lf;
  if (!Value || GetObject(Value, sizeof lf, &lf) != Integer(sizeof lf)) return;
  FName = LogFontFaceName(lf);
  FHeight = lf.lfHeight;
  FStyle = {};
  if (lf.lfWeight >= FW_SEMIBOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FPitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? fpFixed
           : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? fpVariable
                                                         : fpDefault;
  FOrientation = lf.lfEscapement;
  fontChanged();
}

void TFont::SetName(const String& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  fontChanged();
}

Integer TFont::Size() const {
  return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(Integer Value) {
  SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetHeight(Integer Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  fontChanged();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  fontChanged();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  fontChanged();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  fontChanged();
}

void TFont::SetOrientation(Integer Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  fontChanged();
}

// ---- TPen ----

Integer PenModeToROP2(TPenMode Mode) {
  static constexpr Integer modes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                      R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                      R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                      R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return modes[Mode];
}

TPen::~TPen() {
  if (FHandle) DeleteObject(FHandle);
}

void TPen::penChanged() {
  Changed();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TPen::Assign(TPersistent* Source) {
  auto* pen = dynamic_cast<TPen*>(Source);
  if (!pen) return TGraphicsObject::Assign(Source);
  if (pen == this) return;
  FColor = pen->FColor;
  FWidth = pen->FWidth;
  FStyle = pen->FStyle;
  FMode = pen->FMode;
  penChanged();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static constexpr Integer styles[] = {Integer(PS_SOLID),      Integer(PS_DASH),       Integer(PS_DOT),
                                         Integer(PS_DASHDOT),    Integer(PS_DASHDOTDOT), Integer(PS_NULL),
                                         Integer(PS_INSIDEFRAME)};
    FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  penChanged();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  penChanged();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  penChanged();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  Changed();
}

// ---- TBrush ----

TBrush::~TBrush() {
  if (FHandle) DeleteObject(FHandle);
}

void TBrush::brushChanged() {
  Changed();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TBrush::Assign(TPersistent* Source) {
  auto* brush = dynamic_cast<TBrush*>(Source);
  if (!brush) return TGraphicsObject::Assign(Source);
  if (brush == this) return;
  FColor = brush->FColor;
  FStyle = brush->FStyle;
  FBitmap = brush->FBitmap;
  brushChanged();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle = CreatePatternBrush(FBitmap->Handle());
    } else if (FStyle == bsSolid) {
      FHandle = CreateSolidBrush(ColorToRGB(FColor));
    } else if (FStyle == bsClear) {
      FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    } else {
      static constexpr Integer hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                            HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
      FHandle = CreateHatchBrush(hatches[FStyle - bsHorizontal], ColorToRGB(FColor));
    }
  }
  return FHandle;
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  brushChanged();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  brushChanged();
}

void TBrush::SetBitmap(TBitmap* Value) {
  FBitmap = Value;
  brushChanged();
}

// ---- TCanvas ----

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
