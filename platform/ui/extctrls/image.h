// A windowless picture: drawn at its size, stretched, centred, scaled proportionally, or transparent.
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/graphics/picture.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  String ClassName() const override { return "TImage"; }

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  // Scales down (or up, with Stretch) keeping the picture's proportions.
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  // The picture's transparent parts show what is under the image.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

  // Where the picture lands in the client area.
  TRect DestRect();

 protected:
  void Paint() override;
  // With AutoSize the image takes its picture's size (none while the picture is empty).
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

 private:
  void pictureChanged(TObject* Sender);
  void updateOpaque();

  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
};
