#include "platform/ui/graphics/picture.h"

#include "platform/rtl/files.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/gifimage.h"
#include "platform/ui/graphics/icon.h"
#include "platform/ui/graphics/jpegimage.h"
#include "platform/ui/graphics/pngimage.h"

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::takeGraphic(std::unique_ptr<TGraphic> Value) {
  FGraphic = std::move(Value);
  if (FGraphic) FGraphic->OnChange = [this](TObject* Sender) { Changed(Sender); };
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic.get()) return;
  if (!Value) return takeGraphic(nullptr);
  std::unique_ptr<TGraphic> copy = Value->NewGraphic();
  copy->Assign(Value);
  takeGraphic(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) takeGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) takeGraphic(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) return SetGraphic(nullptr);
  if (auto* picture = dynamic_cast<TPicture*>(Source)) return SetGraphic(picture->Graphic());
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) return SetGraphic(graphic);
  TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (auto* graphic = dynamic_cast<TGraphic*>(Dest)) return graphic->Assign(FGraphic.get());
  TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& FileName) {
  const String ext = LowerCase(ExtractFileExt(FileName));
  std::unique_ptr<TGraphic> graphic;
  if (ext == ".bmp")
    graphic = std::make_unique<TBitmap>();
  else if (ext == ".png")
    graphic = std::make_unique<TPngImage>();
  else if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".jfif")
    graphic = std::make_unique<TJPEGImage>();
  else if (ext == ".gif")
    graphic = std::make_unique<TGIFImage>();
  else if (ext == ".ico")
    graphic = std::make_unique<TIcon>();
  else
    throw EInvalidGraphic("Unknown picture file extension (." + (ext.empty() ? ext : ext.substr(1)) + ")");
  graphic->LoadFromFile(FileName);
  takeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}
