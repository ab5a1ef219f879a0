#include "tools/skingen/vectorpaint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/rtl/streams.h"
#include "platform/ui/graphics/bitmap.h"

namespace {

float segmentDistance(float PX, float PY, TPointF A, TPointF B) {
  const float DX = B.X - A.X, DY = B.Y - A.Y;
  const float Len2 = DX * DX + DY * DY;
  float T = Len2 > 0 ? ((PX - A.X) * DX + (PY - A.Y) * DY) / Len2 : 0;
  T = std::clamp(T, 0.0f, 1.0f);
  return std::hypot(PX - (A.X + T * DX), PY - (A.Y + T * DY));
}

float roundRectDistance(float X, float Y, float L, float T, float R, float B, float Radius) {
  const float CX = (L + R) / 2, CY = (T + B) / 2;
  const float HX = (R - L) / 2 - Radius, HY = (B - T) / 2 - Radius;
  const float QX = std::fabs(X - CX) - HX, QY = std::fabs(Y - CY) - HY;
  const float Outside = std::hypot(std::max(QX, 0.0f), std::max(QY, 0.0f));
  return Outside + std::min(std::max(QX, QY), 0.0f) - Radius;
}

}  // namespace

TShape RoundRectShape(float L, float T, float R, float B, float Radius) {
  return [=](float X, float Y) { return roundRectDistance(X, Y, L, T, R, B, Radius); };
}

TShape RoundRectRingShape(float L, float T, float R, float B, float Radius, float Width) {
  return [=](float X, float Y) {
    const float D = roundRectDistance(X, Y, L, T, R, B, Radius);
    return std::fabs(D + Width / 2) - Width / 2;
  };
}

TShape CircleShape(float CX, float CY, float Radius) {
  return [=](float X, float Y) { return std::hypot(X - CX, Y - CY) - Radius; };
}

TShape CircleRingShape(float CX, float CY, float Radius, float Width) {
  return [=](float X, float Y) { return std::fabs(std::hypot(X - CX, Y - CY) - Radius) - Width / 2; };
}

TShape StrokeShape(std::vector<TPointF> Points, float Width, bool Closed) {
  if (Closed && !Points.empty()) Points.push_back(Points.front());
  return [Points = std::move(Points), Width](float X, float Y) {
    float D = 1e9f;
    for (size_t i = 0; i + 1 < Points.size(); ++i)
      D = std::min(D, segmentDistance(X, Y, Points[i], Points[i + 1]));
    if (Points.size() == 1) D = std::hypot(X - Points[0].X, Y - Points[0].Y);
    return D - Width / 2;
  };
}

TShape PolygonShape(std::vector<TPointF> Points) {
  return [Points = std::move(Points)](float X, float Y) {
    bool Inside = false;
    float D = 1e9f;
    for (size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
      const TPointF A = Points[i], B = Points[j];
      if ((A.Y > Y) != (B.Y > Y) && X < (B.X - A.X) * (Y - A.Y) / (B.Y - A.Y) + A.X) Inside = !Inside;
      D = std::min(D, segmentDistance(X, Y, A, B));
    }
    return Inside ? -D : D;
  };
}

TShape ArcShape(float CX, float CY, float Radius, float A0, float A1, float Width) {
  std::vector<TPointF> Points;
  const int Steps = 48;
  for (int i = 0; i <= Steps; ++i) {
    const float A = A0 + (A1 - A0) * float(i) / Steps;
    Points.push_back({CX + Radius * std::cos(A), CY + Radius * std::sin(A)});
  }
  return StrokeShape(std::move(Points), Width);
}

TShape UnionShape(std::vector<TShape> Parts) {
  return [Parts = std::move(Parts)](float X, float Y) {
    float D = 1e9f;
    for (const auto& P : Parts) D = std::min(D, P(X, Y));
    return D;
  };
}

TVectorImage::TVectorImage(Integer AWidth, Integer AHeight)
    : FWidth(AWidth), FHeight(AHeight), FPixels(size_t(AWidth) * size_t(AHeight) * 4, 0.0f) {}

void TVectorImage::Clear(TPaint P) {
  Fill([](float, float) { return -1.0f; }, P);
}

void TVectorImage::Fill(const TShape& Shape, TPaint P) {
  const float R = float((P.RGB >> 16) & 0xFF) / 255, G = float((P.RGB >> 8) & 0xFF) / 255,
              B = float(P.RGB & 0xFF) / 255;
  for (Integer y = 0; y < FHeight; ++y)
    for (Integer x = 0; x < FWidth; ++x) {
      // A pixel far from the edge is wholly in or out: one sample decides it.
      const float Centre = Shape(float(x) + 0.5f, float(y) + 0.5f);
      float Cover;
      if (Centre <= -0.75f)
        Cover = 1;
      else if (Centre >= 0.75f)
        Cover = 0;
      else {
        int In = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx)
            if (Shape(float(x) + (float(sx) + 0.5f) / 4, float(y) + (float(sy) + 0.5f) / 4) <= 0) ++In;
        Cover = float(In) / 16;
      }
      const float A = Cover * P.Alpha;
      if (A <= 0) continue;
      float* Px = &FPixels[(size_t(y) * size_t(FWidth) + size_t(x)) * 4];
      Px[0] = R * A + Px[0] * (1 - A);
      Px[1] = G * A + Px[1] * (1 - A);
      Px[2] = B * A + Px[2] * (1 - A);
      Px[3] = A + Px[3] * (1 - A);
    }
}

void TVectorImage::Fade(float Factor) {
  for (float& V : FPixels) V *= Factor;
}

Cardinal TVectorImage::Pixel(Integer X, Integer Y) const {
  const float* Px = &FPixels[(size_t(Y) * size_t(FWidth) + size_t(X)) * 4];
  if (Px[3] <= 0) return 0;
  auto byte = [](float V) { return Cardinal(std::lround(std::clamp(V, 0.0f, 1.0f) * 255)); };
  return (byte(Px[3]) << 24) | (byte(Px[0] / Px[3]) << 16) | (byte(Px[1] / Px[3]) << 8) | byte(Px[2] / Px[3]);
}

TRawImage TVectorImage::ToRaw() const {
  TRawImage Raw;
  Raw.Allocate(FWidth, FHeight, 32);
  for (Integer y = 0; y < FHeight; ++y) {
    Byte* Row = Raw.Row(y);
    for (Integer x = 0; x < FWidth; ++x) {
      const Cardinal P = Pixel(x, y);
      Row[x * 4 + 0] = Byte(P);
      Row[x * 4 + 1] = Byte(P >> 8);
      Row[x * 4 + 2] = Byte(P >> 16);
      Row[x * 4 + 3] = Byte(P >> 24);
    }
  }
  return Raw;
}

void TVectorImage::CopyTo(TBitmap* Target, Integer X, Integer Y, Cardinal Backdrop) const {
  const Integer Bytes = Target->PixelFormat() == pf24bit ? 3 : 4;
  const float BR = float((Backdrop >> 16) & 0xFF) / 255, BG = float((Backdrop >> 8) & 0xFF) / 255,
              BB = float(Backdrop & 0xFF) / 255;
  for (Integer y = 0; y < FHeight; ++y) {
    if (Y + y < 0 || Y + y >= Target->Height()) continue;
    Byte* Row = Target->ScanLine(Y + y);
    for (Integer x = 0; x < FWidth; ++x) {
      if (X + x < 0 || X + x >= Target->Width()) continue;
      const float* Px = &FPixels[(size_t(y) * size_t(FWidth) + size_t(x)) * 4];
      auto byte = [](float V) { return Byte(std::lround(std::clamp(V, 0.0f, 1.0f) * 255)); };
      Byte* D = Row + (X + x) * Bytes;
      D[0] = byte(Px[2] + BB * (1 - Px[3]));
      D[1] = byte(Px[1] + BG * (1 - Px[3]));
      D[2] = byte(Px[0] + BR * (1 - Px[3]));
      if (Bytes == 4) D[3] = 255;
    }
  }
}

void SavePng(const TVectorImage& Image, const String& FileName) {
  TPngWriteOptions Options;
  Options.ColorType = 6;
  const std::vector<Byte> Data = EncodePng(Image.ToRaw(), Options);
  TFileStream F(FileName, fmCreate);
  F.WriteBuffer(Data.data(), Int64(Data.size()));
}
