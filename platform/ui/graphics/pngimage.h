// TPngImage: PNG pictures with their colour types and kinds of transparency.
#pragma once

#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/ui/graphics/colors.h"
#include "platform/ui/graphics/graphic.h"

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
