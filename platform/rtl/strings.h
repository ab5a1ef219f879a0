// String routines of the runtime over UTF-8 `String`s.
//
// Byte-level routines (Pos, Copy, Delete, Trim, ...) index bytes from 0. The Utf8* routines count
// code points, for everything a user sees (fitting, truncating, caret moves). A byte that does not
// start a valid UTF-8 sequence counts as one code point of its own and decodes to U+FFFD, so every
// routine walks malformed text the same way and never reads past the end.
#pragma once

#include <string>

#include "platform/rtl/types.h"

// ---- Code points -------------------------------------------------------------------------------

// Decodes the code point starting at byte `Offset`; `Size` (optional) receives its length in bytes.
// U+FFFD with size 1 for a malformed sequence; 0 with size 0 at or past the end.
char32_t Utf8Decode(const String& S, Integer Offset, Integer* Size = nullptr);
// Appends the UTF-8 form of `C` (U+FFFD for surrogates and values past U+10FFFF).
void Utf8Append(String& S, char32_t C);
String Utf8Encode(char32_t C);

Integer Utf8Length(const String& S);  // number of code points
// Byte offset of code point `Index`; Length() for Index == Utf8Length(S); -1 when out of range.
Integer Utf8ByteOffset(const String& S, Integer Index);
// Index of the code point that holds byte `Offset` (Utf8Length(S) at the end; -1 out of range).
Integer Utf8CodePointIndex(const String& S, Integer Offset);
// Offset of the next code point after the one at `Offset` (at most S.size()).
Integer Utf8NextCodePoint(const String& S, Integer Offset);
// Offset of the code point before `Offset` (0 at the start).
Integer Utf8PrevCodePoint(const String& S, Integer Offset);
// `Count` code points from code point `Index`, clipped to the text.
String Utf8Copy(const String& S, Integer Index, Integer Count);
void Utf8Delete(String& S, Integer Index, Integer Count);

std::u16string Utf8ToUtf16(const String& S);
String Utf16ToUtf8(const std::u16string& S);  // unpaired surrogates become U+FFFD
std::u32string Utf8ToUtf32(const String& S);
String Utf32ToUtf8(const std::u32string& S);

// ---- Trimming, case and comparison (ASCII folding) ---------------------------------------------

String Trim(const String& S);  // drops bytes <= ' ' at both ends
String TrimLeft(const String& S);
String TrimRight(const String& S);

String UpperCase(const String& S);  // only 'a'..'z' change
String LowerCase(const String& S);  // only 'A'..'Z' change

// < 0, 0, > 0 as S1 sorts before, equal to, after S2 (bytewise).
Integer CompareStr(const String& S1, const String& S2);
// As CompareStr after folding 'a'..'z' to upper case.
Integer CompareText(const String& S1, const String& S2);
Integer AnsiCompareText(const String& S1, const String& S2);  // same as CompareText
bool SameStr(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);

// ---- Searching and editing (byte indexes from 0) -----------------------------------------------

// Index of the first occurrence of SubStr in S, or -1 when absent (also for an empty SubStr).
Integer Pos(const String& SubStr, const String& S);
// As Pos, searching from byte `Offset`; -1 when absent or Offset is outside S.
Integer PosEx(const String& SubStr, const String& S, Integer Offset = 0);
// Up to `Count` bytes from `Index`; an Index below 0 counts as 0; empty past the end.
String Copy(const String& S, Integer Index, Integer Count = 0x7FFFFFFF);
void Delete(String& S, Integer Index, Integer Count);
// Inserts Source before byte Index (clipped to 0 .. S.size()).
void Insert(const String& Source, String& S, Integer Index);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;  // rfReplaceAll | rfIgnoreCase
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

String StringOfChar(char Ch, Integer Count);
// Quote + S with every Quote doubled + Quote.
String AnsiQuotedStr(const String& S, char Quote);
String QuotedStr(const String& S);  // AnsiQuotedStr(S, '\'')
// Undoes AnsiQuotedStr; S is returned unchanged when it does not start with Quote. Text after the
// closing quote is dropped; a missing closing quote keeps everything after the opening one.
String AnsiDequotedStr(const String& S, char Quote);

// Upper-case hexadecimal with at least `Digits` digits; negatives in two's complement of the
// argument's width (8 digits for 32-bit, 16 for 64-bit values).
String IntToHex(Integer Value, Integer Digits);
String IntToHex(Cardinal Value, Integer Digits);
String IntToHex(Int64 Value, Integer Digits);
String IntToHex(UInt64 Value, Integer Digits);
