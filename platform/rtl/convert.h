// Number <-> text conversions and the class library's arithmetic helpers.
#pragma once

#include "platform/rtl/types.h"

// ---- Integers ----------------------------------------------------------------------------------

String IntToStr(Integer Value);
String IntToStr(Int64 Value);
String IntToStr(Cardinal Value);
String IntToStr(UInt64 Value);

// Decimal, or hexadecimal after "$", "0x" or "0X" (a sign may precede either). Leading blanks are
// skipped; anything after the digits, trailing blanks included, makes the text invalid. Decimal
// values must fit the type; hexadecimal ones may use the full unsigned width ("$FFFFFFFF" is -1).
// The raising forms throw EConvertError with SInvalidInteger naming the text.
Integer StrToInt(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
bool TryStrToInt(const String& S, Integer& Value);
Int64 StrToInt64(const String& S);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt64(const String& S, Int64& Value);

// ---- Floating point ----------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// [sign] digits ["." digits] [("E" | "e") [sign] digits], at least one mantissa digit, "." as
// decimal separator; blanks around the number are allowed. Values beyond the range of Double are
// refused (EConvertError with SInvalidFloat); values too small become 0.
Double StrToFloat(const String& S);
Double StrToFloatDef(const String& S, Double Default);
bool TryStrToFloat(const String& S, Double& Value);

// ffGeneral with 15 significant digits: 0.1 + 0.2 gives "0.3", 1E15 gives "1E15", 1E-5 "1E-5".
String FloatToStr(Extended Value);
// Precision = significant digits (1 .. 18). Digits: ffGeneral and ffExponent take it as the minimum
// number of exponent digits (0 .. 4); ffFixed, ffNumber and ffCurrency as the decimals (0 .. 18).
// ffGeneral writes the exponent sign only when negative, ffExponent always. ffCurrency is ffNumber
// without a currency sign. NaN and infinities give "NAN", "INF" and "-INF".
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits);
// Picture masks: "0" digit, "#" optional digit, "." decimal point, "," (anywhere) thousands
// separators, "E+"/"E-"/"e+"/"e-" followed by 0s scientific, '...' and "..." literal text; up to three
// sections "positive;negative;zero" (a missing or empty section falls back to the first, with a
// minus sign for negatives). An empty mask gives FloatToStr.
String FormatFloat(const String& Mask, Extended Value);

// ---- Booleans ----------------------------------------------------------------------------------

// "-1" / "0", or "True" / "False" when UseBoolStrs.
String BoolToStr(bool Value, bool UseBoolStrs = false);
// "True"/"False" in any case, or a number (non-zero is true); EConvertError with SInvalidBoolean.
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);
bool TryStrToBool(const String& S, bool& Value);

// ---- Arithmetic --------------------------------------------------------------------------------

// To the nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4). EInvalidOp for NaN, infinities
// and values outside Int64.
Int64 Round(Extended Value);
Int64 Trunc(Extended Value);    // toward zero; EInvalidOp as Round
Integer Ceil(Extended Value);   // EInvalidOp outside Integer
Integer Floor(Extended Value);  // EInvalidOp outside Integer

// Number * Numerator / Denominator with a 64-bit intermediate, halves rounded away from zero; -1 for a
// zero Denominator or a result outside Integer.
Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator);

template <typename T>
constexpr T Min(T A, T B) {
  return A < B ? A : B;
}
template <typename T>
constexpr T Max(T A, T B) {
  return A > B ? A : B;
}
// Value brought into [AMin, AMax]; AMin wins when the range is empty.
template <typename T>
constexpr T EnsureRange(T Value, T AMin, T AMax) {
  if (Value > AMax) Value = AMax;
  if (Value < AMin) Value = AMin;
  return Value;
}
template <typename T>
constexpr bool InRange(T Value, T AMin, T AMax) {
  return Value >= AMin && Value <= AMax;
}
using TValueSign = Integer;  // -1, 0, 1
template <typename T>
constexpr TValueSign Sign(T Value) {
  return Value < 0 ? -1 : (Value > 0 ? 1 : 0);
}
