// A small anti-aliased painter for the product's pictures: shapes given as signed distances (negative
// inside), covered by 4 x 4 samples per pixel and laid over the image with straight source-over.
#pragma once

#include <functional>
#include <vector>

#include "platform/gdi/codecs.h"
#include "platform/rtl/types.h"

class TBitmap;

// An sRGB colour as written in the look's palette (0xRRGGBB), with an opacity.
struct TPaint {
  Cardinal RGB = 0;
  float Alpha = 1.0f;
};
// The palette's 0xRRGGBB as the class library's colour (0x00BBGGRR).
constexpr Cardinal ColorOfRGB(Cardinal RGB) {
  return ((RGB & 0xFF) << 16) | (RGB & 0xFF00) | ((RGB >> 16) & 0xFF);
}

using TShape = std::function<float(float X, float Y)>;

struct TPointF {
  float X = 0, Y = 0;
};

// Distances of the shapes the pictures are made of; pixel centres lie at half coordinates.
TShape RoundRectShape(float L, float T, float R, float B, float Radius);
// A ring Width wide inside the outline of the rounded rectangle (a 1-px border when Width is 1).
TShape RoundRectRingShape(float L, float T, float R, float B, float Radius, float Width);
TShape CircleShape(float CX, float CY, float Radius);
TShape CircleRingShape(float CX, float CY, float Radius, float Width);
// An open (or Closed) line of Width with round joins and caps.
TShape StrokeShape(std::vector<TPointF> Points, float Width, bool Closed = false);
// A filled polygon (any winding).
TShape PolygonShape(std::vector<TPointF> Points);
// An arc of a circle from angle A0 to A1 (radians, clockwise on screen from the positive x axis).
TShape ArcShape(float CX, float CY, float Radius, float A0, float A1, float Width);
TShape UnionShape(std::vector<TShape> Parts);

class TVectorImage {
 public:
  TVectorImage(Integer AWidth, Integer AHeight);
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void Clear(TPaint P);
  void Fill(const TShape& Shape, TPaint P);
  // Multiplies every pixel's opacity (the disabled twins).
  void Fade(float Factor);
  // Straight-alpha pixel, 0xAARRGGBB.
  Cardinal Pixel(Integer X, Integer Y) const;
  // 32-bit B, G, R, A rows for the PNG writer.
  TRawImage ToRaw() const;
  // Opaque pixels into a 24- or 32-bit bitmap at X, Y (the image is flattened on Backdrop first).
  void CopyTo(TBitmap* B, Integer X, Integer Y, Cardinal Backdrop) const;

 private:
  Integer FWidth, FHeight;
  std::vector<float> FPixels;  // premultiplied R, G, B, A
};

void SavePng(const TVectorImage& Image, const String& FileName);
