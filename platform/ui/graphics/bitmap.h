// TBitmap: a picture over a top-down DIB section, with its canvas, pixel formats and BMP files.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/gdi/gdi.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/graphic.h"

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
