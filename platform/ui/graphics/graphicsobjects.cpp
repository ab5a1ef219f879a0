// Fonts, pens and brushes.
#include "platform/ui/graphics/graphicsobjects.h"

#include "platform/rtl/sysutils.h"
#include "platform/ui/graphics/bitmap.h"

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
  // The old handle goes first: a change handler that asks for the handle gets the new font.
  freeHandle();
  Changed();
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
