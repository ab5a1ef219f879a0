// TGraphic, the base of the picture classes (bitmap, PNG, JPEG, GIF): size, transparency, files and
// streams, and drawing onto a canvas.
#pragma once

#include <memory>

#include "platform/gdi/codecs.h"
#include "platform/gdi/gdi.h"
#include "platform/rtl/component.h"
#include "platform/rtl/streams.h"

class TCanvas;

class TGraphic : public TPersistent {
 public:
  String ClassName() const override { return "TGraphic"; }

  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  // The whole stream from its position to its end is the file.
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  void LoadFromFile(const String& FileName);
  // EFCreateError when the file cannot be made.
  void SaveToFile(const String& FileName);

  // A new, empty graphic of the same class.
  virtual std::unique_ptr<TGraphic> NewGraphic() const = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);

  bool FTransparent = false;
  bool FModified = false;
};

// Draws a 32-bit straight-alpha image into Rect of Canvas, blending where alpha is below 255.
void DrawStraightAlpha(TCanvas* Canvas, const TRect& Rect, const TRawImage& Image);
