// The class library's graphics: colours, fonts, pens, brushes, the canvas over a DC, and the graphic
// classes (bitmap, PNG, JPEG, GIF) with the picture that holds any of them.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/gdi/gdi.h"
#include "platform/rtl/classes.h"

// ---- colours ----
// TColor: 0x00BBGGRR for a plain colour; a system colour is clSystemColor | COLOR_x (negative).
using TColor = Integer;

constexpr TColor clSystemColor = TColor(0x80000000);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// A system colour through GetSysColor; any other value unchanged.
COLORREF ColorToRGB(TColor Color);

// ---- graphics objects ----
class TGraphicsObject : public TPersistent {
 public:
  String ClassName() const override { return "TGraphicsObject"; }
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// Set of TFontStyle.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> items) {
    for (auto i : items) FBits |= bit(i);
  }
  constexpr bool Contains(TFontStyle i) const { return (FBits & bit(i)) != 0; }
  constexpr void Include(TFontStyle i) { FBits |= bit(i); }
  constexpr void Exclude(TFontStyle i) { FBits &= ~bit(i); }
  constexpr bool Empty() const { return FBits == 0; }
  friend constexpr TFontStyles operator+(TFontStyles a, TFontStyles b) { return fromBits(a.FBits | b.FBits); }
  friend constexpr TFontStyles operator-(TFontStyles a, TFontStyles b) {
    return fromBits(a.FBits & ~b.FBits);
  }
  friend constexpr TFontStyles operator*(TFontStyles a, TFontStyles b) { return fromBits(a.FBits & b.FBits); }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

 private:
  static constexpr Byte bit(TFontStyle i) { return Byte(1u << static_cast<int>(i)); }
  static constexpr TFontStyles fromBits(Byte bits) {
    TFontStyles s;
    s.FBits = bits;
    return s;
  }
  Byte FBits = 0;
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;

// Size is in points at 96 pixels per inch: Height = -MulDiv(Size, 96, 72), Size = -MulDiv(Height, 72, 96).
class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  String ClassName() const override { return "TFont"; }
  void Assign(TPersistent* Source) override;

  // The font object of the current values, made on first use.
  HFONT Handle();
  // Takes over a font object's values (the object itself stays the caller's).
  void SetHandle(HFONT Value);

  const String& Name() const { return FName; }
  void SetName(const String& Value);
  Integer Size() const;
  void SetSize(Integer Value);
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // colour changes never remake the font object
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer Orientation() const { return FOrientation; }
  void SetOrientation(Integer Value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }

  // The LOGFONT the handle is made from.
  LOGFONT LogFont() const;

 private:
  void fontChanged();
  void freeHandle();

  String FName = "Tahoma";
  Integer FHeight = -11;  // 8 points
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FOrientation = 0;
  Integer FPixelsPerInch = ScreenPixelsPerInch;
  HFONT FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
// The SetROP2 mode of a pen mode.
Integer PenModeToROP2(TPenMode Mode);

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  ~TPen() override;
  String ClassName() const override { return "TPen"; }
  void Assign(TPersistent* Source) override;

  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);  // a canvas state, not part of the pen object

 private:
  void penChanged();

  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBitmap;

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  ~TBrush() override;
  String ClassName() const override { return "TBrush"; }
  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // a clear brush becomes solid, as in the class library
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush from the bitmap (not owned; its pixels are taken when the handle is made).
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

 private:
  void brushChanged();

  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  HBRUSH FHandle = nullptr;
};

// ---- canvas ----
using TCopyMode = Cardinal;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TGraphic;

// Drawing on a DC with a font, pen and brush that are selected into it when an operation needs them.
// Pen, brush and font changes take effect at the next operation. The canvas restores the DC's own
// objects when its handle changes or it is destroyed.
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  String ClassName() const override { return "TCanvas"; }

  // The DC; a canvas without one asks CreateHandle, and raises EInvalidOperation "Canvas does not allow
  // drawing" when it still has none.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

  // Pixels[X, Y]: -1 outside the clip or surface.
  TColor Pixels(Integer X, Integer Y);
  void SetPixels(Integer X, Integer Y, TColor Value);
  // What can be drawn, in logical coordinates.
  TRect ClipRect();

  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);  // the end point is not drawn
  void Polyline(const std::vector<TPoint>& Points);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);   // with the brush; a clear brush draws nothing
  void FrameRect(const TRect& Rect);  // one pixel in the brush
  void DrawFocusRect(const TRect& Rect);

  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // StretchBlt from Canvas's Source to Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // Text in the font's colour; a solid brush fills the text cell with its colour, a clear one leaves the
  // background.
  void TextOut(Integer X, Integer Y, const String& Text);
  // As TextOut, clipped to Rect; a solid brush fills all of Rect first.
  void TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text);
  TSize TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // A per-canvas recursive lock for drawing from several threads (the engine's frame bitmaps).
  void Lock();
  void Unlock();
  bool TryLock();
  Integer LockCount() const { return FLockCount; }

  // Deselects the font, pen and brush so the next operation selects them afresh.
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  enum TCanvasStateItem { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
  virtual void CreateHandle() {}
  void RequiredState(Integer ReqState);
  virtual void Changing();
  virtual void Changed();

 private:
  void deselectHandles();
  void selectFont();
  void selectPen();
  void selectBrush();

  HDC FHandle = nullptr;
  Integer FState = 0;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};

// The raised or sunken frame: Width rings, each with its top and left lines in TopColor and its bottom
// and right lines in BottomColor (the top-right and bottom-left corner pixels take BottomColor). Rect
// comes back shrunk by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);

// ---- graphics ----
class TGraphic : public TPersistent {
 public:
  String ClassName() const override { return "TGraphic"; }

  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  // The whole stream from its position to its end is the file.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  // EFCreateError when the file cannot be made.
  void SaveToFile(const String& FileName);

  // A new, empty graphic of the same class.
  virtual std::unique_ptr<TGraphic> NewGraphic() const = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);

  bool FTransparent = false;
  bool FModified = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap over a top-down DIB section: ScanLine(y) is row y from the top. pfDevice is a 32-bit
// surface that reports itself as a device bitmap (HandleType bmDDB). New pixels are white (alpha 0);
// resizing keeps the pixels that stay inside. Palette formats start with a default colour table (black
// and white; the 16 standard colours; a 6x6x6 colour cube and 40 greys) unless loaded from a file.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(Integer AWidth, Integer AHeight);
  ~TBitmap() override;
  String ClassName() const override { return "TBitmap"; }

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  void SetWidth(Integer Value) override { SetSize(Value, FHeight); }
  void SetHeight(Integer Value) override { SetSize(FWidth, Value); }
  // Negative sizes count as 0. EInvalidGraphic beyond the size bounds.
  void SetSize(Integer AWidth, Integer AHeight);

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the pixels (colours to palette formats take the nearest table entry). pf15bit, pf16bit and
  // pfCustom are not supported (EInvalidGraphic).
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
  // bmDIB turns a device bitmap into pf32bit with the same pixels; bmDDB turns any bitmap into pfDevice.
  void SetHandleType(TBitmapHandleType Value);

  // The bitmap object. Taking it frees the canvas's DC so the caller may select it elsewhere; the canvas
  // takes it back at its next operation.
  HBITMAP Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  TCanvas* Canvas();
  // Row Y (top-down); EInvalidGraphic "Scan line index out of range" outside 0..Height-1.
  Byte* ScanLine(Integer Y);
  Integer BytesPerScanLine() const { return TRawImage::RowBytesFor(FWidth, bitCount()); }
  // The colour table of a palette format.
  const std::vector<TPaletteEntry>& ColorTable() const { return FPalette; }

  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  // tmAuto: the colour of the bottom-left pixel (clDefault for an empty bitmap); tmFixed: the set colour.
  TColor TransparentColor() const;
  // clDefault selects tmAuto; any other colour tmFixed.
  void SetTransparentColor(TColor Value);

  // Nothing to release here: the pixels live in the DIB section for the bitmap's whole life.
  void Dormant() {}
  void FreeImage() {}

  // BMP files; loading raises EInvalidGraphic for a bad file and takes the file's pixel format.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  std::unique_ptr<TGraphic> NewGraphic() const override { return std::make_unique<TBitmap>(); }

  // The pixels as a raw image (palette formats keep their indexes; pfDevice gives 32 bits) and back.
  TRawImage ToRawImage() const;
  void LoadFromRawImage(const TRawImage& Image);

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  friend class TBitmapCanvas;
  Integer bitCount() const;
  void freeContext();
  void replaceSurface(Integer AWidth, Integer AHeight, TPixelFormat Format,
                      const std::vector<TPaletteEntry>& Palette, bool KeepPixels);

  Integer FWidth = 0;
  Integer FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  std::vector<TPaletteEntry> FPalette;
  HBITMAP FHandle = nullptr;
  Byte* FBits = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
};

// ---- PNG ----
constexpr Byte COLOR_GRAYSCALE = 0;
constexpr Byte COLOR_RGB = 2;
constexpr Byte COLOR_PALETTE = 3;
constexpr Byte COLOR_GRAYSCALEALPHA = 4;
constexpr Byte COLOR_RGBALPHA = 6;

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

struct TPngHeader {
  Integer Width = 0;
  Integer Height = 0;
  Byte BitDepth = 8;
  Byte ColorType = COLOR_RGB;
  Byte InterlaceMethod = 0;
};

// A PNG picture kept as straight colours (Scanline: B, G, R per pixel) plus, for colour types 4 and 6,
// an alpha channel (AlphaScanline). Palette and grey pictures keep their colour type but hold their
// colours expanded. Files are written at 8 bits per sample: colour types 0, 2, 4 and 6 as they are, a
// palette picture as true colour (with its key colour, or with alpha when its palette had partial
// transparency).
class TPngImage : public TGraphic {
 public:
  TPngImage();
  ~TPngImage() override;
  String ClassName() const override { return "TPngImage"; }

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHeader.Width == 0 || FHeader.Height == 0; }
  Integer Width() const override { return FHeader.Width; }
  Integer Height() const override { return FHeader.Height; }
  // A PNG's size changes only through CreateBlank: EInvalidGraphic.
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  const TPngHeader& Header() const { return FHeader; }
  // A blank picture of that type and size: colours 0, alpha 0, no transparency chunk. EInvalidGraphic for
  // a colour type and bit depth that PNG does not allow together.
  void CreateBlank(Cardinal ColorType, Cardinal BitDepth, Cardinal AWidth, Cardinal AHeight);
  // Adds a fully opaque alpha channel to types 0, 2 and 3 (they become 4, 6 and 6); a palette's partial
  // transparency moves into the channel.
  void CreateAlpha();
  // Drops every kind of transparency (the alpha channel too).
  void RemoveTransparency();

  Byte* Scanline(Integer Y);
  // Null without an alpha channel (colour types 0, 2, 3).
  Byte* AlphaScanline(Integer Y);
  TColor Pixels(Integer X, Integer Y) const;
  void SetPixels(Integer X, Integer Y, TColor Value);

  TPNGTransparencyMode TransparencyMode() const;
  // The key colour of bit transparency; clNone without one.
  TColor TransparentColor() const;
  // Makes Value the key colour of a type 0, 2 or 3 picture (bit transparency).
  void SetTransparentColor(TColor Value);
  // Effective alpha of a pixel, whatever the kind of transparency.
  Byte AlphaAt(Integer X, Integer Y) const;

  Integer CompressionLevel() const { return FCompressionLevel; }
  void SetCompressionLevel(Integer Value);

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  std::unique_ptr<TGraphic> NewGraphic() const override { return std::make_unique<TPngImage>(); }

 protected:
  // Blended by the straight alpha (bit transparency and palette alpha included).
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // To TBitmap: pf32bit with the alpha bytes when the picture has partial transparency; otherwise
  // pf24bit, transparent with the key colour (tmFixed) under bit transparency.
  void AssignTo(TPersistent* Dest) override;

 private:
  TRawImage straightImage() const;

  TPngHeader FHeader;
  std::vector<Byte> FColor;  // Width * 3 per row
  std::vector<Byte> FAlpha;  // Width per row: the channel (types 4, 6) or a palette's alphas
  bool FHasAlphaChannel = false;
  bool FPaletteAlpha = false;  // FAlpha holds a palette's partial transparency
  bool FHasKey = false;
  COLORREF FKey = 0;
  Integer FCompressionLevel = 7;
};

// ---- JPEG ----
// Keeps the file it was loaded from until its picture changes; saving writes that file unchanged, or
// else compresses the picture with CompressionQuality (baseline unless ProgressiveEncoding).
class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  String ClassName() const override { return "TJPEGImage"; }

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return !FBitmap || FBitmap->Empty(); }
  Integer Width() const override { return FBitmap ? FBitmap->Width() : 0; }
  Integer Height() const override { return FBitmap ? FBitmap->Height() : 0; }
  // EInvalidGraphic "Cannot change the size of a JPEG image".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  Integer CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(Integer Value);  // clamped to 1..100
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  bool ProgressiveEncoding() const { return FProgressive; }
  void SetProgressiveEncoding(bool Value) { FProgressive = Value; }
  // Forgets the kept file, so the next save compresses again with the current settings.
  void Compress();
  // The picture: pf24bit after loading, the assigned bitmap's format after Assign.
  TBitmap* Bitmap() const { return FBitmap.get(); }

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  std::unique_ptr<TGraphic> NewGraphic() const override { return std::make_unique<TJPEGImage>(); }

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<Byte> FData;
  Integer FQuality = 90;
  bool FGrayscale = false;
  bool FProgressive = false;
};

// ---- GIF ----
// The first frame as colours with alpha 0 (transparent) or 255. Saving reduces the colours to a palette
// of at most 256 entries and keeps the transparent pixels when Transparent is set.
class TGIFImage : public TGraphic {
 public:
  TGIFImage();
  ~TGIFImage() override;
  String ClassName() const override { return "TGIFImage"; }

  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FImage.Empty(); }
  Integer Width() const override { return FImage.Width; }
  Integer Height() const override { return FImage.Height; }
  void SetWidth(Integer Value) override;  // EInvalidGraphic, as for JPEG
  void SetHeight(Integer Value) override;
  // Colour with the alpha in the top byte (0 or 255).
  Cardinal PixelBGRA(Integer X, Integer Y) const;

  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  std::unique_ptr<TGraphic> NewGraphic() const override { return std::make_unique<TGIFImage>(); }

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // To TBitmap: pf32bit with the alpha bytes; transparent pixels are black with alpha 0.
  void AssignTo(TPersistent* Dest) override;

 private:
  TRawImage FImage;  // 32-bit, straight alpha
};

// ---- picture ----
// Holds one graphic of any class. LoadFromFile picks the class by the extension: .bmp TBitmap; .png
// TPngImage; .jpg, .jpeg, .jpe, .jfif TJPEGImage; .gif TGIFImage; any other raises EInvalidGraphic
// "Unknown picture file extension (.ext)".
class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;
  String ClassName() const override { return "TPicture"; }

  void Assign(TPersistent* Source) override;
  TGraphic* Graphic() const { return FGraphic.get(); }
  // A copy of Value (null empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; a picture holding another class (or nothing) gets a new empty TBitmap.
  TBitmap* Bitmap();
  Integer Width() const { return FGraphic ? FGraphic->Width() : 0; }
  Integer Height() const { return FGraphic ? FGraphic->Height() : 0; }

  void LoadFromFile(const String& FileName);
  // Nothing when the picture is empty.
  void SaveToFile(const String& FileName);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  void takeGraphic(std::unique_ptr<TGraphic> Value);
  std::unique_ptr<TGraphic> FGraphic;
};

// Draws a 32-bit straight-alpha image into Rect of Canvas, blending where alpha is below 255.
void DrawStraightAlpha(TCanvas* Canvas, const TRect& Rect, const TRawImage& Image);
