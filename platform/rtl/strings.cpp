#include "platform/rtl/strings.h"

#include <algorithm>

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;

Integer SizeOf(const String& S) {
  return static_cast<Integer>(S.size());
}

bool IsContinuation(unsigned char B) {
  return (B & 0xC0) == 0x80;
}

char32_t FoldUpper(unsigned char C) {
  return (C >= 'a' && C <= 'z') ? C - 32 : C;
}

// Length of the well-formed sequence at P (1 .. 4), or 0 when malformed. Rejects overlong forms,
// surrogates and values past U+10FFFF, so that decoding and re-encoding give back the same bytes.
Integer SequenceSize(const unsigned char* P, size_t Avail, char32_t& Cp) {
  const unsigned char B0 = P[0];
  if (B0 < 0x80) {
    Cp = B0;
    return 1;
  }
  Integer Need;
  char32_t Min;
  if ((B0 & 0xE0) == 0xC0) {
    Need = 2, Cp = B0 & 0x1F, Min = 0x80;
  } else if ((B0 & 0xF0) == 0xE0) {
    Need = 3, Cp = B0 & 0x0F, Min = 0x800;
  } else if ((B0 & 0xF8) == 0xF0) {
    Need = 4, Cp = B0 & 0x07, Min = 0x10000;
  } else {
    return 0;
  }
  if (Avail < static_cast<size_t>(Need)) return 0;
  for (Integer I = 1; I < Need; ++I) {
    if (!IsContinuation(P[I])) return 0;
    Cp = (Cp << 6) | (P[I] & 0x3F);
  }
  if (Cp < Min || Cp > 0x10FFFF || (Cp >= 0xD800 && Cp <= 0xDFFF)) return 0;
  return Need;
}

}  // namespace

char32_t Utf8Decode(const String& S, Integer Offset, Integer* Size) {
  if (Offset < 0 || Offset >= SizeOf(S)) {
    if (Size) *Size = 0;
    return 0;
  }
  char32_t Cp = 0;
  Integer N = SequenceSize(reinterpret_cast<const unsigned char*>(S.data()) + Offset, S.size() - Offset, Cp);
  if (N == 0) {
    N = 1;
    Cp = kReplacementChar;
  }
  if (Size) *Size = N;
  return Cp;
}

void Utf8Append(String& S, char32_t C) {
  if (C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) C = kReplacementChar;
  if (C < 0x80) {
    S += static_cast<char>(C);
  } else if (C < 0x800) {
    S += static_cast<char>(0xC0 | (C >> 6));
    S += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    S += static_cast<char>(0xE0 | (C >> 12));
    S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    S += static_cast<char>(0xF0 | (C >> 18));
    S += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (C & 0x3F));
  }
}

String Utf8Encode(char32_t C) {
  String S;
  Utf8Append(S, C);
  return S;
}

Integer Utf8NextCodePoint(const String& S, Integer Offset) {
  if (Offset < 0) return 0;
  if (Offset >= SizeOf(S)) return SizeOf(S);
  Integer N = 0;
  Utf8Decode(S, Offset, &N);
  return Offset + N;
}

Integer Utf8PrevCodePoint(const String& S, Integer Offset) {
  Offset = std::min(Offset, SizeOf(S));
  if (Offset <= 0) return 0;
  // A well-formed sequence is at most 4 bytes; if the one found does not end exactly at Offset the
  // byte just before Offset stands alone.
  for (Integer Start = Offset - 1; Start >= 0 && Start >= Offset - 4; --Start) {
    const unsigned char B = static_cast<unsigned char>(S[Start]);
    if (IsContinuation(B)) continue;
    Integer N = 0;
    Utf8Decode(S, Start, &N);
    return Start + N == Offset ? Start : Offset - 1;
  }
  return Offset - 1;
}

Integer Utf8Length(const String& S) {
  Integer Count = 0;
  for (Integer P = 0; P < SizeOf(S); P = Utf8NextCodePoint(S, P)) ++Count;
  return Count;
}

Integer Utf8ByteOffset(const String& S, Integer Index) {
  if (Index < 0) return -1;
  Integer P = 0;
  for (; Index > 0; --Index) {
    if (P >= SizeOf(S)) return -1;
    P = Utf8NextCodePoint(S, P);
  }
  return P;
}

Integer Utf8CodePointIndex(const String& S, Integer Offset) {
  if (Offset < 0 || Offset > SizeOf(S)) return -1;
  Integer Index = 0;
  for (Integer P = 0;; ++Index) {
    const Integer Next = Utf8NextCodePoint(S, P);
    if (Offset < Next || P >= SizeOf(S)) return Index;
    P = Next;
  }
}

String Utf8Copy(const String& S, Integer Index, Integer Count) {
  if (Index < 0) Index = 0;
  if (Count <= 0) return String();
  const Integer Start = Utf8ByteOffset(S, Index);
  if (Start < 0) return String();
  Integer End = Start;
  for (; Count > 0 && End < SizeOf(S); --Count) End = Utf8NextCodePoint(S, End);
  return S.substr(Start, End - Start);
}

void Utf8Delete(String& S, Integer Index, Integer Count) {
  if (Index < 0 || Count <= 0) return;
  const Integer Start = Utf8ByteOffset(S, Index);
  if (Start < 0) return;
  Integer End = Start;
  for (; Count > 0 && End < SizeOf(S); --Count) End = Utf8NextCodePoint(S, End);
  S.erase(Start, End - Start);
}

std::u32string Utf8ToUtf32(const String& S) {
  std::u32string R;
  R.reserve(S.size());
  Integer N = 0;
  for (Integer P = 0; P < SizeOf(S); P += N) R += Utf8Decode(S, P, &N);
  return R;
}

String Utf32ToUtf8(const std::u32string& S) {
  String R;
  R.reserve(S.size());
  for (char32_t C : S) Utf8Append(R, C);
  return R;
}

std::u16string Utf8ToUtf16(const String& S) {
  std::u16string R;
  R.reserve(S.size());
  Integer N = 0;
  for (Integer P = 0; P < SizeOf(S); P += N) {
    char32_t C = Utf8Decode(S, P, &N);
    if (C >= 0x10000) {
      C -= 0x10000;
      R += static_cast<char16_t>(0xD800 + (C >> 10));
      R += static_cast<char16_t>(0xDC00 + (C & 0x3FF));
    } else {
      R += static_cast<char16_t>(C);
    }
  }
  return R;
}

String Utf16ToUtf8(const std::u16string& S) {
  String R;
  R.reserve(S.size());
  for (size_t I = 0; I < S.size(); ++I) {
    const char32_t C = S[I];
    if (C >= 0xD800 && C <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] <= 0xDFFF) {
      Utf8Append(R, 0x10000 + ((C - 0xD800) << 10) + (S[I + 1] - 0xDC00));
      ++I;
    } else {
      Utf8Append(R, C);  // a lone surrogate becomes U+FFFD there
    }
  }
  return R;
}

String TrimLeft(const String& S) {
  size_t I = 0;
  while (I < S.size() && static_cast<unsigned char>(S[I]) <= ' ') ++I;
  return S.substr(I);
}

String TrimRight(const String& S) {
  size_t N = S.size();
  while (N > 0 && static_cast<unsigned char>(S[N - 1]) <= ' ') --N;
  return S.substr(0, N);
}

String Trim(const String& S) {
  return TrimLeft(TrimRight(S));
}

String UpperCase(const String& S) {
  String R = S;
  for (char& C : R)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 32);
  return R;
}

String LowerCase(const String& S) {
  String R = S;
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
  return R;
}

Integer CompareStr(const String& S1, const String& S2) {
  const size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    const Integer D = static_cast<unsigned char>(S1[I]) - static_cast<unsigned char>(S2[I]);
    if (D != 0) return D;
  }
  return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

Integer CompareText(const String& S1, const String& S2) {
  const size_t N = std::min(S1.size(), S2.size());
  for (size_t I = 0; I < N; ++I) {
    const Integer D = static_cast<Integer>(FoldUpper(S1[I])) - static_cast<Integer>(FoldUpper(S2[I]));
    if (D != 0) return D;
  }
  return S1.size() < S2.size() ? -1 : (S1.size() > S2.size() ? 1 : 0);
}

Integer AnsiCompareText(const String& S1, const String& S2) {
  return CompareText(S1, S2);
}
bool SameStr(const String& S1, const String& S2) {
  return S1 == S2;
}
bool SameText(const String& S1, const String& S2) {
  return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}
bool AnsiSameText(const String& S1, const String& S2) {
  return SameText(S1, S2);
}

Integer Pos(const String& SubStr, const String& S) {
  return PosEx(SubStr, S, 0);
}

Integer PosEx(const String& SubStr, const String& S, Integer Offset) {
  if (SubStr.empty() || Offset < 0 || Offset >= SizeOf(S)) return -1;
  const size_t P = S.find(SubStr, Offset);
  return P == String::npos ? -1 : static_cast<Integer>(P);
}

String Copy(const String& S, Integer Index, Integer Count) {
  if (Index < 0) Index = 0;
  if (Count <= 0 || Index >= SizeOf(S)) return String();
  return S.substr(Index, Count);
}

void Delete(String& S, Integer Index, Integer Count) {
  if (Index < 0 || Count <= 0 || Index >= SizeOf(S)) return;
  S.erase(Index, Count);
}

void Insert(const String& Source, String& S, Integer Index) {
  S.insert(std::clamp(Index, 0, SizeOf(S)), Source);
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool IgnoreCase = Flags & rfIgnoreCase;
  const String Hay = IgnoreCase ? UpperCase(S) : S;
  const String Needle = IgnoreCase ? UpperCase(OldPattern) : OldPattern;
  String R;
  size_t From = 0;
  while (From <= Hay.size()) {
    const size_t P = Hay.find(Needle, From);
    if (P == String::npos) break;
    R.append(S, From, P - From);
    R += NewPattern;
    From = P + Needle.size();
    if (!(Flags & rfReplaceAll)) break;
  }
  R.append(S, From, String::npos);
  return R;
}

String StringOfChar(char Ch, Integer Count) {
  return Count > 0 ? String(Count, Ch) : String();
}

String AnsiQuotedStr(const String& S, char Quote) {
  String R(1, Quote);
  for (char C : S) {
    R += C;
    if (C == Quote) R += C;
  }
  R += Quote;
  return R;
}

String QuotedStr(const String& S) {
  return AnsiQuotedStr(S, '\'');
}

String AnsiDequotedStr(const String& S, char Quote) {
  if (S.empty() || S[0] != Quote) return S;
  String R;
  for (size_t I = 1; I < S.size(); ++I) {
    if (S[I] == Quote) {
      if (I + 1 < S.size() && S[I + 1] == Quote) {
        R += Quote;
        ++I;
      } else {
        return R;
      }
    } else {
      R += S[I];
    }
  }
  return R;
}

namespace {

String HexOf(UInt64 V, Integer Digits) {
  static const char kHex[] = "0123456789ABCDEF";
  String R;
  do {
    R += kHex[V & 15];
    V >>= 4;
  } while (V != 0);
  if (Digits > static_cast<Integer>(R.size())) R.append(Digits - R.size(), '0');
  std::reverse(R.begin(), R.end());
  return R;
}

}  // namespace

String IntToHex(Integer Value, Integer Digits) {
  return HexOf(static_cast<Cardinal>(Value), Digits);
}
String IntToHex(Cardinal Value, Integer Digits) {
  return HexOf(Value, Digits);
}
String IntToHex(Int64 Value, Integer Digits) {
  return HexOf(static_cast<UInt64>(Value), Digits);
}
String IntToHex(UInt64 Value, Integer Digits) {
  return HexOf(Value, Digits);
}
