// The skin library's image type: a 32-bit top-down DIB section with its own memory DC, so that the
// same pixels are reachable through a pointer and through the platform's drawing calls.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/rtl/classes.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/graphic.h"

// 0xAARRGGBB, straight alpha; in memory the bytes are blue, green, red, alpha.
using TbsColor = Cardinal;
using PbsColorArray = TbsColor*;
// A growable row of pixels (the row buffers of the blit kernels).
using TArrayOfseColor = std::vector<TbsColor>;

// Transparent key of skin pictures without alpha: red 0x7F, green 0, blue 0x7F (compared on RGB).
constexpr TbsColor SkinKeyColor = 0x007F007F;

// ---- colour helpers ----
// 0x00BBGGRR -> opaque 0xFFRRGGBB.
TbsColor ColorRefToBsColor(COLORREF Ref);
// System colours resolved; the result carries Alpha.
TbsColor ColorToBsColor(TColor Color, Byte Alpha);
// Each of R, G, B clamped into 0..255.
TbsColor PackBsColor(SmallInt R, SmallInt G, SmallInt B, Byte A);
void ClampRGB(Integer& R, Integer& G, Integer& B);
inline Integer RectWidth(const TRect& R) {
  return R.Right - R.Left;
}
inline Integer RectHeight(const TRect& R) {
  return R.Bottom - R.Top;
}

class TbsBitmapLink;

class TbsBitmap : public TPersistent {
 public:
  TbsBitmap();
  ~TbsBitmap() override;
  String ClassName() const override { return "TbsBitmap"; }

  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  // Made on first use over DC; follows DC across size changes.
  TCanvas* Canvas() { return GetCanvas(); }
  TCanvas* GetCanvas();
  PbsColorArray Bits() const { return FBits; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  bool NewFormat() const { return FNewFormat; }
  void SetNewFormat(bool Value) { FNewFormat = Value; }

  // Absolute values are used. A zero side, or the current size, changes nothing. Otherwise all pixels
  // become 0. Raises Exception ("Can't allocate the DIB handle", "Can't create compatible DC",
  // "Can't bslect an object into DC") and leaves the bitmap empty on failure.
  void SetSize(Integer AWidth, Integer AHeight);
  bool Empty() const { return FHandle == nullptr; }
  void Clear(TbsColor Color);

  // No bounds checks.
  TbsColor* GetRowPtr(Integer Y) const { return FBits + ptrdiff_t(Y) * FWidth; }
  TbsColor* GetPixelPtr(Integer X, Integer Y) const { return FBits + ptrdiff_t(Y) * FWidth + X; }
  // Ignored outside the bitmap.
  void SetPixel(Integer X, Integer Y, TbsColor Value);

  // From TbsBitmap, TBitmap, any TGraphic or TPicture.
  void Assign(TPersistent* Source) override;

  // Name (stream string), width, height (negative: rows bottom to top), pixels.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  // 8-bit palette PCX (RLE or raw); other manufacturers leave the bitmap unchanged.
  void LoadFromPcxStream(TStream* Stream);
  // The bitmap resource ResName of the resource module ResFileName: a shared library that exports each
  // bitmap resource under its name as the resource's data, a DIB (info header, colour table, rows) as
  // bitmap resources are stored. A missing module or resource leaves the bitmap unchanged.
  void LoadFromResource(const String& ResFileName, const String& ResName);
  // Graphic stretched into DstRect; pixels the graphic leaves magenta (255, 0, 255) are not copied.
  void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);

  void SetAlpha(Byte Alpha);
  void SetAlpha(Byte Alpha, const TRect& Rect);
  void CheckingAlphaBlend();
  void CheckingAlphaBlend(const TRect& ARect);
  void CheckingTransparent(TbsColor Color);
  void CheckingTransparent(const TRect& ARect, TbsColor Color);
  void CheckRGBA();
  void CheckRGBA2();
  void FlipVert();

  // New link on a sub-rectangle; the caller owns it (include skin/core/bsbitmaplinks.h).
  std::unique_ptr<TbsBitmapLink> GetBitmapLink(const TRect& Rect);
  std::unique_ptr<TbsBitmapLink> GetBitmapLink(const String& Rect);

  // ---- drawing ----
  // Alpha-blended, key-coloured or copied by AlphaBlend / Transparent; stretched when the rectangles
  // differ in size. A DC that belongs to another live TbsBitmap is drawn in memory.
  void Draw(HDC DC, Integer X, Integer Y);
  void Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(HDC DC, const TRect& DstRect);
  void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, Integer X, Integer Y);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TbsBitmap* Bitmap, Integer X, Integer Y);
  void Draw(TbsBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TbsBitmap* Bitmap, const TRect& DstRect);
  void Draw(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

  // SrcRect repeated over DstRect, the last tiles cut (never stretched).
  void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  // As Tile, but only tiles meeting a non-empty DstClip are drawn (whole).
  void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TbsBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);

  // SrcRect of Bitmap laid under this bitmap at (X, Y).
  void MergeDraw(TbsBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
  // Blended when AlphaBlend is set, written otherwise.
  void FillRect(const TRect& R, TbsColor Color);

  // ---- colour effects (pixels with alpha 0 untouched) ----
  void ChangeBitmapBrightness(Integer DeltaBrightness);
  void SetBitmapHue(Integer Hue);
  void ChangeBitmapSat(Integer DeltaSat);
  void ChangeBitmapHue(Integer DeltaHue);
  // Flip, then fade the alpha to 0 at half the height (divisors 3, 4 and 2).
  void Reflection();
  void Reflection2();
  void Reflection3();

  // ---- members that exist and draw nothing ----
  void DrawBevel(const TRect&, TbsColor, Integer, bool) {}
  void DrawEdge(const TRect&, TbsColor, TbsColor) {}
  void DrawEllipse(const TRect&, TbsColor) {}
  void DrawFocusRect(const TRect&, TbsColor) {}
  void DrawLine(const TRect&, TbsColor) {}
  void DrawRect(const TRect&, TbsColor) {}
  void DrawRoundRect(const TRect&, Integer, TbsColor) {}
  void DrawPolygon(const std::vector<TPoint>&, TbsColor) {}
  void FillPolygon(const std::vector<TPoint>&, TbsColor) {}
  void FillHalftonePolygon(const std::vector<TPoint>&, TbsColor, TbsColor) {}
  Integer DrawText(const String&, TRect&, Cardinal) { return 0; }
  Integer DrawText(const String&, Integer, Integer) { return 0; }
  Integer DrawVerticalText(const String&, const TRect&, Cardinal, bool) { return 0; }
  void FillEllipse(const TRect&, TbsColor) {}
  void FillGradientRect(const TRect&, TbsColor, TbsColor, bool) {}
  void FillHalftoneRect(const TRect&, TbsColor, TbsColor) {}
  void FillRadialGradientRect(const TRect&, TbsColor, TbsColor, const TPoint&) {}
  void FillRoundRect(const TRect&, Integer, TbsColor) {}
  void LineTo(Integer, Integer, TbsColor) {}
  void MoveTo(Integer, Integer) {}
  Integer TextHeight(const String&) { return 0; }
  Integer TextWidth(const String&, Integer) { return 0; }

 protected:
  // Into a TBitmap (made 32-bit, this bitmap drawn over it) or a TPicture's bitmap.
  void AssignTo(TPersistent* Dest) override;

 private:
  void releaseSurface();
  void assignFromPlainBitmap(TBitmap* Source);
  void tileInto(HDC DC, TCanvas* Canvas, TbsBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  void reflect(Integer Divisor);
  template <typename F>
  void mapOpaqueColors(F&& NewColor);

  PbsColorArray FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  String FName;
  BITMAPINFO FBitmapInfo;
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  bool FAlphaBlend = false;
  bool FTransparent = false;
  bool FNewFormat = false;
};

// Decodes bitmap resource data (a DIB as stored in a resource) into Bitmap; false for a bad header.
bool LoadBitmapResourceData(const void* Data, TBitmap* Bitmap);

// ---- the registry of live bitmaps (those that own a DC) ----
void RegisterLiveBitmap(TbsBitmap* Bitmap);
void UnregisterLiveBitmap(TbsBitmap* Bitmap);
// The first live bitmap whose DC is DC, or null.
TbsBitmap* FindLiveBitmapByDC(HDC DC);
void FreeLiveBitmaps();
