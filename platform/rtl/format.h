// Format: the class library's text formatting.
//
//   "%" [index ":"] ["-"] [width] ["." precision] type
//
// index, width and precision are decimal numbers or "*" (taken from the next argument, which must be an
// integer). An index (0-based) picks the argument and the following specifiers go on from there. Width
// pads with blanks on the left ("-": on the right); a leading 0 is part of the width, not a
// zero-padding flag (use the precision: "%.4x"). Width and precision count code points.
//
//   d     decimal integer; precision = minimum digits (zero-padded after the sign)
//   u     unsigned decimal integer (a negative value in two's complement of its width)
//   x, X  hexadecimal, lower / upper case; negatives in two's complement of the argument's width
//         (32 bits for int and smaller, 64 for 64-bit values); precision = minimum digits
//   s     string or single char; precision = maximum code points
//   f     fixed point, precision = decimals (default 2)
//   e     scientific, "-d.ddd...E+ddd": precision = total mantissa digits (default 15), exponent
//         sign always written, at least 3 exponent digits
//   g     general: shortest of fixed and scientific, precision = significant digits (default 15),
//         no trailing zeros; scientific when the value is below 0.0001 or has more integer digits
//         than the precision (exponent with "-" only, at least 3 digits)
//   n     as f with "," thousands separators
//   m     money: as n (2 decimals by default), without a currency sign
//   p     pointer, upper-case hexadecimal of pointer width
//   %%    a percent sign
//
// Decimal point is always ".". Decimal rounding is half away from zero on the value's first 18
// significant digits. An argument of the wrong kind for its type letter (e.g. a double for %d, an int
// for %f, a bool anywhere) or a malformed specifier raises EConvertError with SInvalidFormat; a missing
// argument raises EConvertError with SArgumentMissing.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "platform/rtl/types.h"

// One argument of Format: an integer of its width, a floating value, a text, a char, a pointer or a
// Boolean. Text arguments are referenced, not copied: a TVarRec lives only for the call it is built for.
class TVarRec {
 public:
  enum TVarType { vtInteger, vtFloat, vtString, vtChar, vtPointer, vtBoolean };

  TVarRec(signed char V) : TVarRec(static_cast<Int64>(V), 32, false) {}
  TVarRec(unsigned char V) : TVarRec(static_cast<Int64>(V), 32, false) {}
  TVarRec(short V) : TVarRec(static_cast<Int64>(V), 32, false) {}
  TVarRec(unsigned short V) : TVarRec(static_cast<Int64>(V), 32, false) {}
  TVarRec(int V) : TVarRec(static_cast<Int64>(V), 8 * sizeof(int), false) {}
  TVarRec(unsigned V) : TVarRec(static_cast<Int64>(V), 8 * sizeof(unsigned), true) {}
  TVarRec(long V) : TVarRec(static_cast<Int64>(V), 8 * sizeof(long), false) {}
  TVarRec(unsigned long V) : TVarRec(static_cast<Int64>(V), 8 * sizeof(long), true) {}
  TVarRec(long long V) : TVarRec(static_cast<Int64>(V), 64, false) {}
  TVarRec(unsigned long long V) : TVarRec(static_cast<Int64>(V), 64, true) {}
  TVarRec(float V) : FType(vtFloat), FFloat(V) {}
  TVarRec(double V) : FType(vtFloat), FFloat(V) {}
  TVarRec(long double V) : FType(vtFloat), FFloat(V) {}
  TVarRec(bool V) : FType(vtBoolean), FInt(V ? 1 : 0) {}
  TVarRec(char V) : FType(vtChar), FInt(static_cast<unsigned char>(V)) {}
  TVarRec(const char* V) : FType(vtString), FText(V ? std::string_view(V) : std::string_view()) {}
  TVarRec(const String& V) : FType(vtString), FText(V) {}
  TVarRec(std::string_view V) : FType(vtString), FText(V) {}
  TVarRec(const void* V) : FType(vtPointer), FPointer(V) {}
  TVarRec(std::nullptr_t) : FType(vtPointer), FPointer(nullptr) {}

  TVarType VType() const { return FType; }
  Int64 AsInt64() const { return FInt; }  // integers, chars and Booleans
  Integer Bits() const { return FBits; }  // width of an integer: 32 or 64
  bool IsUnsigned() const { return FUnsigned; }
  Extended AsFloat() const { return FFloat; }
  std::string_view AsText() const { return FText; }
  const void* AsPointer() const { return FPointer; }

 private:
  TVarRec(Int64 V, Integer Bits, bool Unsigned)
      : FType(vtInteger), FInt(V), FBits(Bits), FUnsigned(Unsigned) {}

  TVarType FType;
  Int64 FInt = 0;
  Integer FBits = 32;
  bool FUnsigned = false;
  Extended FFloat = 0;
  std::string_view FText;
  const void* FPointer = nullptr;
};

String FormatBuf(const String& Fmt, const TVarRec* Args, size_t Count);
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);

template <typename... TArgs>
String Format(const String& Fmt, const TArgs&... Args) {
  if constexpr (sizeof...(TArgs) == 0) {
    return FormatBuf(Fmt, nullptr, 0);
  } else {
    const TVarRec Recs[] = {TVarRec(Args)...};
    return FormatBuf(Fmt, Recs, sizeof...(TArgs));
  }
}
