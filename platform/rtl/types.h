// Base types of the runtime: the class library's integer names, String, points and rectangles.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

using String = std::string;  // UTF-8
using Integer = int32_t;
using Cardinal = uint32_t;
using LongInt = int32_t;
using LongWord = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Byte = uint8_t;
using Word = uint16_t;
using SmallInt = int16_t;
using ShortInt = int8_t;
using Boolean = bool;
using Single = float;
using Double = double;
using Extended = long double;
using TDateTime = double;  // days since 1899-12-30, fraction = time of day

// Points and rectangles are built as TPoint(x, y) and TRect(l, t, r, b) everywhere; the constructors
// make that plain C++ rather than C++20's parenthesised aggregate initialisation, which clang 14 (the
// fuzz build's compiler) lacks.
struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(Integer AX, Integer AY) : X(AX), Y(AY) {}
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
      : Left(ALeft), Top(ATop), Right(ARight), Bottom(ABottom) {}
  Integer Width() const { return Right - Left; }
  Integer Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

inline TPoint Point(Integer x, Integer y) {
  return {x, y};
}
inline TRect Rect(Integer l, Integer t, Integer r, Integer b) {
  return {l, t, r, b};
}
inline TRect Bounds(Integer l, Integer t, Integer w, Integer h) {
  return {l, t, l + w, t + h};
}
