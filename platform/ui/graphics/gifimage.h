// TGIFImage: the first frame of a GIF file with its transparency.
#pragma once

#include "platform/gdi/codecs.h"
#include "platform/ui/graphics/graphic.h"

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
