#include "platform/ui/graphics/jpegimage.h"

#include <algorithm>

#include "platform/ui/graphics/graphicio.h"

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>()) {
  FBitmap->SetPixelFormat(pf24bit);
}
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetWidth(Integer) {
  throw EInvalidGraphic("Cannot change the size of a JPEG image");
}
void TJPEGImage::SetHeight(Integer) {
  throw EInvalidGraphic("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetCompressionQuality(Integer Value) {
  FQuality = std::clamp(Value, 1, 100);
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  FData.clear();
  Changed(this);
}

void TJPEGImage::Compress() {
  FData.clear();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  std::vector<Byte> data = ReadStreamToEnd(Stream);
  bool grayscale = false;
  const TRawImage image = DecodeJpeg(data.data(), data.size(), &grayscale);
  FBitmap->LoadFromRawImage(image);
  FGrayscale = grayscale;
  FData = std::move(data);
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FData.empty()) {
    TJpegWriteOptions options;
    options.Quality = FQuality;
    options.Grayscale = FGrayscale;
    options.Progressive = FProgressive;
    FData = EncodeJpeg(FBitmap->ToRawImage(), options);
  }
  WriteStreamBytes(Stream, FData);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  ACanvas->StretchDraw(Rect, FBitmap.get());
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
    if (jpeg == this) return;
    FBitmap->Assign(jpeg->FBitmap.get());
    FData = jpeg->FData;
    FQuality = jpeg->FQuality;
    FGrayscale = jpeg->FGrayscale;
    FProgressive = jpeg->FProgressive;
    return Changed(this);
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    FBitmap->Assign(bitmap);
    FBitmap->SetTransparent(false);
    FData.clear();
    return Changed(this);
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) return bitmap->Assign(FBitmap.get());
  TGraphic::AssignTo(Dest);
}
