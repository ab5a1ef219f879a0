// TJPEGImage: JPEG pictures over a bitmap, keeping the loaded file until the picture changes.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/graphic.h"

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
