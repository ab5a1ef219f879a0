// TIcon: a graphic over an icon of the window layer (a 32-bit colour picture with a mask or per-pixel
// alpha). It loads and saves .ico files (BMP entries of 1 to 32 bits with their AND masks, and PNG
// entries; the largest, deepest entry is taken) and draws through DrawIconEx, stretched to the rectangle.
#pragma once

#include "platform/ui/graphics/bitmap.h"
#include "platform/win/icon.h"

NERIVO_EXCEPTION_CLASS(EInvalidGraphicOperation, Exception);

class TIcon : public TGraphic {
 public:
  TIcon();
  ~TIcon() override;
  String ClassName() const override { return "TIcon"; }

  // From another icon: a copy of its picture. From a bitmap: its pixels (pf32bit keeps alpha; other
  // formats take the bitmap's transparent colour as the mask when Transparent is set).
  void Assign(TPersistent* Source) override;
  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override;
  Integer Height() const override;
  // An icon's size is its picture's: EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  // The icon (null while empty). SetHandle takes ownership; ReleaseHandle gives it up and empties.
  HICON Handle() const { return FHandle; }
  void SetHandle(HICON Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  HICON ReleaseHandle();

  // EInvalidGraphic "Invalid icon" for a file that is not an icon or has no usable entry.
  void LoadFromStream(TStream* Stream) override;
  // One 32-bit entry with its mask; nothing for an empty icon.
  void SaveToStream(TStream* Stream) override;
  std::unique_ptr<TGraphic> NewGraphic() const override { return std::make_unique<TIcon>(); }

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  // To a TBitmap: pf32bit, straight alpha, masked pixels black with alpha 0.
  void AssignTo(TPersistent* Dest) override;

 private:
  void freeHandle();
  HICON FHandle = nullptr;
};

// An icon made of a 32-bit straight-alpha picture (alpha 0: the screen shows through); null for an
// empty picture.
HICON CreateIconFromRaw(const TRawImage& Image);
