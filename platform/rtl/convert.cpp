#include "platform/rtl/convert.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

// ---- Integers ----------------------------------------------------------------------------------

namespace {

template <typename T>
String UnsignedToStr(T V, bool Negative) {
  char Buf[24];
  char* P = Buf + sizeof(Buf);
  do {
    *--P = static_cast<char>('0' + V % 10);
    V /= 10;
  } while (V != 0);
  if (Negative) *--P = '-';
  return String(P, Buf + sizeof(Buf));
}

String SignedToStr(Int64 V) {
  // Negate in unsigned arithmetic so that the most negative value survives.
  return V < 0 ? UnsignedToStr(UInt64(0) - static_cast<UInt64>(V), true) : UnsignedToStr(UInt64(V), false);
}

// The integer grammar of the class library's Val: blanks, sign, "$"/"0x" prefix, digits, nothing after.
bool ParseInteger(const String& S, Integer Bits, Int64& Value) {
  size_t I = 0;
  while (I < S.size() && S[I] == ' ') ++I;
  bool Negative = false;
  if (I < S.size() && (S[I] == '+' || S[I] == '-')) Negative = S[I++] == '-';
  bool Hex = false;
  if (I < S.size() && S[I] == '$') {
    Hex = true;
    ++I;
  } else if (I + 1 < S.size() && S[I] == '0' && (S[I + 1] == 'x' || S[I + 1] == 'X')) {
    Hex = true;
    I += 2;
  }
  const UInt64 Limit = Hex ? (Bits == 64 ? ~UInt64(0) : (UInt64(1) << Bits) - 1)
                           : (UInt64(1) << (Bits - 1)) - (Negative ? 0 : 1);
  const unsigned Base = Hex ? 16 : 10;
  UInt64 Acc = 0;
  const size_t First = I;
  for (; I < S.size(); ++I) {
    const char C = S[I];
    unsigned D;
    if (C >= '0' && C <= '9') {
      D = C - '0';
    } else if (Hex && C >= 'a' && C <= 'f') {
      D = C - 'a' + 10;
    } else if (Hex && C >= 'A' && C <= 'F') {
      D = C - 'A' + 10;
    } else {
      return false;
    }
    if (Acc > (Limit - D) / Base) return false;
    Acc = Acc * Base + D;
  }
  if (I == First) return false;
  if (Hex && Bits == 32) Acc = static_cast<UInt64>(static_cast<Int64>(static_cast<Integer>(Acc)));
  Value = static_cast<Int64>(Negative ? UInt64(0) - Acc : Acc);
  return true;
}

}  // namespace

String IntToStr(Integer Value) {
  return SignedToStr(Value);
}
String IntToStr(Int64 Value) {
  return SignedToStr(Value);
}
String IntToStr(Cardinal Value) {
  return UnsignedToStr(Value, false);
}
String IntToStr(UInt64 Value) {
  return UnsignedToStr(Value, false);
}

bool TryStrToInt(const String& S, Integer& Value) {
  Int64 V;
  if (!ParseInteger(S, 32, V)) return false;
  Value = static_cast<Integer>(V);
  return true;
}

bool TryStrToInt64(const String& S, Int64& Value) {
  return ParseInteger(S, 64, Value);
}

Integer StrToInt(const String& S) {
  Integer V;
  if (!TryStrToInt(S, V)) throw EConvertError(Format(SInvalidInteger, S));
  return V;
}

Integer StrToIntDef(const String& S, Integer Default) {
  Integer V;
  return TryStrToInt(S, V) ? V : Default;
}

Int64 StrToInt64(const String& S) {
  Int64 V;
  if (!TryStrToInt64(S, V)) throw EConvertError(Format(SInvalidInteger, S));
  return V;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
  Int64 V;
  return TryStrToInt64(S, V) ? V : Default;
}

// ---- Floating point: text to number ------------------------------------------------------------

bool TryStrToFloat(const String& S, Double& Value) {
  size_t I = 0, End = S.size();
  while (I < End && S[I] == ' ') ++I;
  while (End > I && S[End - 1] == ' ') --End;
  // Check the grammar here: strtod would also take "inf", "nan", hex floats and locale separators.
  String Clean;
  if (I < End && (S[I] == '+' || S[I] == '-')) Clean += S[I++];
  size_t MantissaDigits = 0;
  for (; I < End && S[I] >= '0' && S[I] <= '9'; ++I, ++MantissaDigits) Clean += S[I];
  if (I < End && S[I] == '.') {
    Clean += S[I++];
    for (; I < End && S[I] >= '0' && S[I] <= '9'; ++I, ++MantissaDigits) Clean += S[I];
  }
  if (MantissaDigits == 0) return false;
  if (I < End && (S[I] == 'e' || S[I] == 'E')) {
    Clean += S[I++];
    if (I < End && (S[I] == '+' || S[I] == '-')) Clean += S[I++];
    size_t ExpDigits = 0;
    for (; I < End && S[I] >= '0' && S[I] <= '9'; ++I, ++ExpDigits) Clean += S[I];
    if (ExpDigits == 0) return false;
  }
  if (I != End) return false;

  static const locale_t CLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  errno = 0;
  const double V = strtod_l(Clean.c_str(), nullptr, CLocale);
  if (std::isinf(V)) return false;
  Value = V;
  return true;
}

Double StrToFloat(const String& S) {
  Double V;
  if (!TryStrToFloat(S, V)) throw EConvertError(Format(SInvalidFloat, S));
  return V;
}

Double StrToFloatDef(const String& S, Double Default) {
  Double V;
  return TryStrToFloat(S, V) ? V : Default;
}

// ---- Floating point: number to text ------------------------------------------------------------

namespace {

constexpr Integer kMaxDigits = 18;  // significant digits kept of any value
constexpr Integer kNoLimit = 10000;

// |Value| = 0.Digits x 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TFloatDigits {
  bool Negative = false;
  Integer Exponent = 0;
  String Digits;
};

// The value's first 18 significant digits (exactly rounded by the C library), then rounded half away
// from zero to at most Precision significant digits and at most Decimals digits after the point.
TFloatDigits FloatToDecimal(Extended Value, Integer Precision, Integer Decimals) {
  TFloatDigits R;
  R.Negative = std::signbit(Value);
  if (Value == 0) return R;
  char Buf[64];
  std::snprintf(Buf, sizeof(Buf), "%.*Le", kMaxDigits - 1, std::fabs(Value));
  String Raw;
  const char* P = Buf;
  for (; *P && *P != 'e'; ++P)
    if (*P != '.') Raw += *P;
  R.Exponent = std::atoi(P + 1) + 1;

  const Integer Keep = std::min<Integer>(std::min(Precision, kMaxDigits), R.Exponent + Decimals);
  if (Keep < 0) return TFloatDigits{R.Negative, 0, String()};
  if (Keep < static_cast<Integer>(Raw.size())) {
    const bool Up = Raw[Keep] >= '5';
    Raw.resize(Keep);
    if (Up) {
      Integer I = Keep - 1;
      for (; I >= 0 && Raw[I] == '9'; --I) Raw[I] = '0';
      if (I >= 0) {
        ++Raw[I];
      } else {
        Raw.insert(Raw.begin(), '1');
        Raw.pop_back();
        if (Keep == 0) Raw = "1";
        ++R.Exponent;
      }
    }
  }
  while (!Raw.empty() && Raw.back() == '0') Raw.pop_back();
  R.Digits = Raw;
  return R;
}

char DigitAt(const TFloatDigits& D, Integer I) {
  return I >= 0 && I < static_cast<Integer>(D.Digits.size()) ? D.Digits[I] : '0';
}

String ExponentText(Integer Exp, Integer MinDigits, bool AlwaysSign) {
  String Body = IntToStr(Exp < 0 ? -Exp : Exp);
  if (static_cast<Integer>(Body.size()) < MinDigits) Body.insert(0, MinDigits - Body.size(), '0');
  return String("E") + (Exp < 0 ? "-" : (AlwaysSign ? "+" : "")) + Body;
}

String Grouped(const String& IntPart) {
  String R;
  for (size_t I = 0; I < IntPart.size(); ++I) {
    if (I > 0 && (IntPart.size() - I) % 3 == 0) R += ',';
    R += IntPart[I];
  }
  return R;
}

String GeneralText(Extended Value, Integer Precision, Integer ExpDigits) {
  const TFloatDigits D = FloatToDecimal(Value, Precision, kNoLimit);
  if (D.Digits.empty()) return "0";
  const Integer N = static_cast<Integer>(D.Digits.size());
  String R = D.Negative ? "-" : "";
  if (D.Exponent > Precision || D.Exponent < -3) {
    R += D.Digits[0];
    if (N > 1) R += "." + D.Digits.substr(1);
    return R + ExponentText(D.Exponent - 1, ExpDigits, false);
  }
  if (D.Exponent <= 0) return R + "0." + String(-D.Exponent, '0') + D.Digits;
  for (Integer I = 0; I < D.Exponent; ++I) R += DigitAt(D, I);
  if (N > D.Exponent) R += "." + D.Digits.substr(D.Exponent);
  return R;
}

String ExponentFormText(Extended Value, Integer Precision, Integer ExpDigits) {
  const TFloatDigits D = FloatToDecimal(Value, Precision, kNoLimit);
  String R = D.Negative && !D.Digits.empty() ? "-" : "";
  R += DigitAt(D, 0);
  if (Precision > 1) {
    R += '.';
    for (Integer I = 1; I < Precision; ++I) R += DigitAt(D, I);
  }
  return R + ExponentText(D.Digits.empty() ? 0 : D.Exponent - 1, ExpDigits, true);
}

String FixedText(Extended Value, Integer Precision, Integer Decimals, bool Thousands) {
  const TFloatDigits D = FloatToDecimal(Value, Precision, Decimals);
  if (D.Exponent > Precision) return GeneralText(Value, Precision, 0);
  String IntPart;
  for (Integer I = 0; I < D.Exponent; ++I) IntPart += DigitAt(D, I);
  if (IntPart.empty()) IntPart = "0";
  String R = D.Negative && !D.Digits.empty() ? "-" : "";
  R += Thousands ? Grouped(IntPart) : IntPart;
  if (Decimals > 0) {
    R += '.';
    for (Integer I = 0; I < Decimals; ++I) R += DigitAt(D, D.Exponent + I);
  }
  return R;
}

}  // namespace

String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  Precision = EnsureRange(Precision, 1, kMaxDigits);
  switch (Format) {
    case ffGeneral:
      return GeneralText(Value, Precision, EnsureRange(Digits, 0, 4));
    case ffExponent:
      return ExponentFormText(Value, Precision, EnsureRange(Digits, 0, 4));
    case ffFixed:
      return FixedText(Value, Precision, EnsureRange(Digits, 0, kMaxDigits), false);
    case ffNumber:
    case ffCurrency:
      return FixedText(Value, Precision, EnsureRange(Digits, 0, kMaxDigits), true);
  }
  return String();
}

String FloatToStr(Extended Value) {
  return FloatToStrF(Value, ffGeneral, 15, 0);
}

// ---- Picture masks -----------------------------------------------------------------------------

namespace {

struct TMaskSection {
  String Text;
  Integer IntPlaceholders = 0;
  Integer MinIntDigits = 0;  // placeholders from the first integer "0" on
  Integer FracPlaceholders = 0;
  Integer MinFracDigits = 0;  // up to the last fraction "0"
  bool Thousands = false;
  bool Scientific = false;
};

std::vector<String> SplitSections(const String& Mask) {
  std::vector<String> R(1);
  char Quote = 0;
  for (char C : Mask) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == '"' || C == '\'') {
      Quote = C;
    } else if (C == ';') {
      R.emplace_back();
      continue;
    }
    R.back() += C;
  }
  return R;
}

// True when S[I] starts an exponent marker "E+", "E-", "e+" or "e-".
bool IsExponentAt(const String& S, size_t I) {
  return (S[I] == 'E' || S[I] == 'e') && I + 1 < S.size() && (S[I + 1] == '+' || S[I + 1] == '-');
}

TMaskSection AnalyseSection(const String& Text) {
  TMaskSection M;
  M.Text = Text;
  bool InFraction = false;
  Integer FirstIntZero = -1;
  for (size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    if (C == '"' || C == '\'') {
      const size_t Close = Text.find(C, I + 1);
      if (Close == String::npos) break;
      I = Close;
    } else if (C == '0' || C == '#') {
      if (InFraction) {
        ++M.FracPlaceholders;
        if (C == '0') M.MinFracDigits = M.FracPlaceholders;
      } else {
        if (C == '0' && FirstIntZero < 0) FirstIntZero = M.IntPlaceholders;
        ++M.IntPlaceholders;
      }
    } else if (C == '.' && !InFraction && !M.Scientific) {
      InFraction = true;
    } else if (C == ',') {
      M.Thousands = true;
    } else if (!M.Scientific && IsExponentAt(Text, I)) {
      M.Scientific = true;
      for (I += 2; I < Text.size() && Text[I] == '0'; ++I) {
      }
      --I;
    }
  }
  if (FirstIntZero >= 0) M.MinIntDigits = M.IntPlaceholders - FirstIntZero;
  return M;
}

String ApplySection(const TMaskSection& M, Extended Magnitude, bool MinusSign) {
  String IntDigits, FracDigits;
  Integer Exponent = 0;
  bool IsZero;
  if (M.Scientific) {
    const Integer IntCount = std::max(M.IntPlaceholders, 1);
    const TFloatDigits D = FloatToDecimal(Magnitude, IntCount + M.FracPlaceholders, kNoLimit);
    IsZero = D.Digits.empty();
    if (!IsZero) {
      Exponent = D.Exponent - IntCount;
      for (Integer I = 0; I < IntCount; ++I) IntDigits += DigitAt(D, I);
    }
    for (Integer I = 0; I < M.FracPlaceholders; ++I) FracDigits += DigitAt(D, IntCount + I);
  } else {
    const TFloatDigits D = FloatToDecimal(Magnitude, kMaxDigits, M.FracPlaceholders);
    IsZero = D.Digits.empty();
    if (D.Exponent > kMaxDigits) return (MinusSign ? "-" : "") + GeneralText(Magnitude, kMaxDigits, 0);
    for (Integer I = 0; I < D.Exponent; ++I) IntDigits += DigitAt(D, I);
    for (Integer I = 0; I < M.FracPlaceholders; ++I) FracDigits += DigitAt(D, D.Exponent + I);
  }
  if (static_cast<Integer>(IntDigits.size()) < M.MinIntDigits)
    IntDigits.insert(0, M.MinIntDigits - IntDigits.size(), '0');
  while (static_cast<Integer>(FracDigits.size()) > M.MinFracDigits && FracDigits.back() == '0')
    FracDigits.pop_back();

  String R = MinusSign && !IsZero ? "-" : "";
  const Integer L = static_cast<Integer>(IntDigits.size());
  const Integer N = M.IntPlaceholders;
  auto EmitIntDigit = [&](Integer Idx) {
    R += IntDigits[Idx];
    const Integer Rest = L - 1 - Idx;
    if (M.Thousands && Rest > 0 && Rest % 3 == 0) R += ',';
  };
  auto EmitAllInt = [&] {
    for (Integer I = 0; I < L; ++I) EmitIntDigit(I);
  };
  Integer IntSeen = 0, FracSeen = 0;
  bool InFraction = false, IntEmitted = false;
  const String& T = M.Text;
  for (size_t I = 0; I < T.size(); ++I) {
    const char C = T[I];
    if (C == '"' || C == '\'') {
      const size_t Close = T.find(C, I + 1);
      R += T.substr(I + 1, Close == String::npos ? String::npos : Close - I - 1);
      if (Close == String::npos) break;
      I = Close;
    } else if ((C == '0' || C == '#') && !InFraction) {
      // Right-align the digits on the placeholders; the first one takes any surplus.
      const Integer From = IntSeen == 0 ? 0 : L - N + IntSeen;
      for (Integer Idx = std::max(From, 0); Idx < L - N + IntSeen + 1; ++Idx) EmitIntDigit(Idx);
      ++IntSeen;
      IntEmitted = true;
    } else if (C == '0' || C == '#') {
      if (FracSeen < static_cast<Integer>(FracDigits.size())) R += FracDigits[FracSeen];
      ++FracSeen;
    } else if (C == '.' && !InFraction) {
      if (N == 0 && !IntEmitted) {
        EmitAllInt();
        IntEmitted = true;
      }
      InFraction = true;
      if (!FracDigits.empty()) R += '.';
    } else if (C == ',') {
      // a flag, not output
    } else if (M.Scientific && IsExponentAt(T, I)) {
      size_t Zeros = 0;
      size_t J = I + 2;
      for (; J < T.size() && T[J] == '0'; ++J) ++Zeros;
      R += C;
      if (Exponent < 0) {
        R += '-';
      } else if (T[I + 1] == '+') {
        R += '+';
      }
      String E = IntToStr(Exponent < 0 ? -Exponent : Exponent);
      if (E.size() < Zeros) E.insert(0, Zeros - E.size(), '0');
      R += E;
      I = J - 1;
      InFraction = true;  // digits after the exponent are literal placeholders no more
    } else {
      R += C;
    }
  }
  if (N == 0 && !IntEmitted && L > 0 && M.FracPlaceholders + M.IntPlaceholders > 0) EmitAllInt();
  return R;
}

}  // namespace

String FormatFloat(const String& Mask, Extended Value) {
  if (std::isnan(Value) || std::isinf(Value)) return FloatToStr(Value);
  if (Mask.empty()) return FloatToStr(Value);
  const std::vector<String> Sections = SplitSections(Mask);
  const bool Negative = Value < 0;
  if (Value == 0 && Sections.size() > 2 && !Sections[2].empty())
    return ApplySection(AnalyseSection(Sections[2]), 0, false);
  if (Negative && Sections.size() > 1 && !Sections[1].empty())
    return ApplySection(AnalyseSection(Sections[1]), -Value, false);
  return ApplySection(AnalyseSection(Sections[0]), std::fabs(Value), Negative);
}

// ---- Booleans ----------------------------------------------------------------------------------

String BoolToStr(bool Value, bool UseBoolStrs) {
  if (UseBoolStrs) return Value ? "True" : "False";
  return Value ? "-1" : "0";
}

bool TryStrToBool(const String& S, bool& Value) {
  Double D;
  if (TryStrToFloat(S, D)) {
    Value = D != 0;
    return true;
  }
  if (SameText(S, "True")) {
    Value = true;
    return true;
  }
  if (SameText(S, "False")) {
    Value = false;
    return true;
  }
  return false;
}

bool StrToBool(const String& S) {
  bool V;
  if (!TryStrToBool(S, V)) throw EConvertError(Format(SInvalidBoolean, S));
  return V;
}

bool StrToBoolDef(const String& S, bool Default) {
  bool V;
  return TryStrToBool(S, V) ? V : Default;
}

// ---- Arithmetic --------------------------------------------------------------------------------

namespace {

Int64 CheckedInt64(long double R) {
  // 2^63 is exact in long double; NaN fails both comparisons.
  if (!(R >= -9223372036854775808.0L && R < 9223372036854775808.0L)) throw EInvalidOp(SInvalidOp);
  return static_cast<Int64>(R);
}

Integer CheckedInteger(long double R) {
  if (!(R >= -2147483648.0L && R <= 2147483647.0L)) throw EInvalidOp(SInvalidOp);
  return static_cast<Integer>(R);
}

}  // namespace

Int64 Round(Extended Value) {
  return CheckedInt64(std::nearbyint(Value));
}
Int64 Trunc(Extended Value) {
  return CheckedInt64(std::trunc(Value));
}
Integer Ceil(Extended Value) {
  return CheckedInteger(std::ceil(Value));
}
Integer Floor(Extended Value) {
  return CheckedInteger(std::floor(Value));
}

Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator) {
  if (Denominator == 0) return -1;
  const Int64 Product = static_cast<Int64>(Number) * Numerator;
  Int64 Q = Product / Denominator;
  const Int64 Rem = Product % Denominator;
  const Int64 AbsRem = Rem < 0 ? -Rem : Rem;
  const Int64 AbsDen = Denominator < 0 ? -static_cast<Int64>(Denominator) : Denominator;
  if (2 * AbsRem >= AbsDen) Q += ((Product < 0) != (Denominator < 0)) ? -1 : 1;
  if (Q < std::numeric_limits<Integer>::min() || Q > std::numeric_limits<Integer>::max()) return -1;
  return static_cast<Integer>(Q);
}
