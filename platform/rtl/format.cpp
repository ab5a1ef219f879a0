#include "platform/rtl/format.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

namespace {

constexpr Int64 MaxFieldSize = Int64(1) << 20;

class TFormatter {
 public:
  TFormatter(const String& Fmt, const TVarRec* Args, size_t Count) : FFmt(Fmt), FArgs(Args), FCount(Count) {}

  String Run() {
    while (FPos < FFmt.size()) {
      const char C = FFmt[FPos++];
      if (C != '%') {
        FResult += C;
      } else if (Peek() == '%') {
        ++FPos;
        FResult += '%';
      } else {
        Specifier();
      }
    }
    return FResult;
  }

 private:
  char Peek() const { return FPos < FFmt.size() ? FFmt[FPos] : '\0'; }

  [[noreturn]] void Invalid() const { throw EConvertError(Format(SInvalidFormat, FFmt)); }

  const TVarRec& NextArg() {
    if (FArgIndex >= FCount) throw EConvertError(Format(SArgumentMissing, FFmt));
    return FArgs[FArgIndex++];
  }

  // A decimal number or "*" (the next argument, an integer); -1 when neither is there.
  Int64 Number() {
    if (Peek() == '*') {
      ++FPos;
      const TVarRec& A = NextArg();
      if (A.VType() != TVarRec::vtInteger) Invalid();
      return std::max<Int64>(A.AsInt64(), 0);
    }
    if (Peek() < '0' || Peek() > '9') return -1;
    Int64 V = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      V = V * 10 + (FFmt[FPos++] - '0');
      if (V > std::numeric_limits<Integer>::max()) Invalid();
    }
    return V;
  }

  void Specifier() {
    Int64 First = Number();
    if (Peek() == ':') {
      ++FPos;
      FArgIndex = First < 0 ? 0 : static_cast<size_t>(First);
      First = -1;
    }
    bool LeftJustify = false;
    Int64 Width = First;
    if (Width < 0) {
      if (Peek() == '-') {
        LeftJustify = true;
        ++FPos;
      }
      Width = Number();
    }
    Int64 Precision = -1;
    if (Peek() == '.') {
      ++FPos;
      Precision = std::max<Int64>(Number(), 0);
    }
    // A field wider or more precise than any text needs is a malformed pattern, not a request for
    // gigabytes of padding.
    if (Width > MaxFieldSize || Precision > MaxFieldSize) Invalid();
    if (FPos >= FFmt.size()) Invalid();
    const char Type = FFmt[FPos++];
    if (String("dDuUxXpPsSeEfFgGnNmM").find(Type) == String::npos) Invalid();
    String Text = Convert(Type, NextArg(), static_cast<Integer>(Precision));
    const Integer Len = Utf8Length(Text);
    if (Width > Len) {
      const String Pad(Width - Len, ' ');
      Text = LeftJustify ? Text + Pad : Pad + Text;
    }
    FResult += Text;
  }

  String Convert(char Type, const TVarRec& A, Integer Precision) {
    switch (Type) {
      case 'd':
      case 'D':
      case 'u':
      case 'U': {
        if (A.VType() != TVarRec::vtInteger) Invalid();
        const bool AsUnsigned = A.IsUnsigned() || Type == 'u' || Type == 'U';
        UInt64 Magnitude = UnsignedBits(A);
        bool Negative = false;
        if (!AsUnsigned && A.AsInt64() < 0) {
          Negative = true;
          Magnitude = UInt64(0) - static_cast<UInt64>(A.AsInt64());
        }
        return (Negative ? "-" : "") + ZeroPadded(IntToStr(Magnitude), Precision);
      }
      case 'x':
      case 'X': {
        if (A.VType() != TVarRec::vtInteger) Invalid();
        String Hex = IntToHex(UnsignedBits(A), 1);
        if (Type == 'x') Hex = LowerCase(Hex);
        return ZeroPadded(Hex, Precision);
      }
      case 'p':
      case 'P':
        if (A.VType() != TVarRec::vtPointer) Invalid();
        return IntToHex(static_cast<UInt64>(reinterpret_cast<uintptr_t>(A.AsPointer())), 2 * sizeof(void*));
      case 's':
      case 'S': {
        String Text;
        if (A.VType() == TVarRec::vtString) {
          Text = String(A.AsText());
        } else if (A.VType() == TVarRec::vtChar) {
          Text = String(1, static_cast<char>(A.AsInt64()));
        } else {
          Invalid();
        }
        return Precision >= 0 ? Utf8Copy(Text, 0, Precision) : Text;
      }
      case 'e':
      case 'E':
        return FloatToStrF(FloatArg(A), ffExponent, Precision < 0 ? 15 : Precision, 3);
      case 'f':
      case 'F':
        return FloatToStrF(FloatArg(A), ffFixed, 18, Precision < 0 ? 2 : Precision);
      case 'g':
      case 'G':
        return FloatToStrF(FloatArg(A), ffGeneral, Precision < 0 ? 15 : Precision, 3);
      case 'n':
      case 'N':
        return FloatToStrF(FloatArg(A), ffNumber, 18, Precision < 0 ? 2 : Precision);
      case 'm':
      case 'M':
        return FloatToStrF(FloatArg(A), ffCurrency, 18, Precision < 0 ? 2 : Precision);
      default:
        Invalid();
    }
  }

  // The integer as an unsigned number of its own width (two's complement for negatives).
  static UInt64 UnsignedBits(const TVarRec& A) {
    const UInt64 V = static_cast<UInt64>(A.AsInt64());
    return A.Bits() == 64 ? V : (V & 0xFFFFFFFFu);
  }

  static String ZeroPadded(const String& Digits, Integer MinDigits) {
    return MinDigits > static_cast<Integer>(Digits.size()) ? String(MinDigits - Digits.size(), '0') + Digits
                                                           : Digits;
  }

  Extended FloatArg(const TVarRec& A) const {
    if (A.VType() != TVarRec::vtFloat) Invalid();
    return A.AsFloat();
  }

  const String& FFmt;
  const TVarRec* FArgs;
  size_t FCount;
  size_t FPos = 0;
  size_t FArgIndex = 0;
  String FResult;
};

}  // namespace

String FormatBuf(const String& Fmt, const TVarRec* Args, size_t Count) {
  return TFormatter(Fmt, Args, Count).Run();
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  return FormatBuf(Fmt, Args.begin(), Args.size());
}
