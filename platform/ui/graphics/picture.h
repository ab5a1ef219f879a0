// TPicture: one graphic of any class, chosen by the file's extension when loading.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/ui/graphics/graphic.h"

class TBitmap;
class TIcon;

// Holds one graphic of any class. LoadFromFile picks the class by the extension: .bmp TBitmap; .png
// TPngImage; .jpg, .jpeg, .jpe, .jfif TJPEGImage; .gif TGIFImage; .ico TIcon; any other raises
// EInvalidGraphic "Unknown picture file extension (.ext)".
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
  // The same for an icon.
  TIcon* Icon();
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
