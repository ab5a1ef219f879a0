#include "platform/rtl/strings.h"

#include <gtest/gtest.h>

namespace {

// "a中😀b": byte offsets 0, 1, 4, 8; 9 bytes, 4 code points.
const String kMixed =
    "a\xE4\xB8\xAD\xF0\x9F\x98\x80"
    "b";

TEST(Utf8Test, CountsCodePointsAndMapsIndexes) {
  EXPECT_EQ(Utf8Length(""), 0);
  EXPECT_EQ(Utf8Length("Nerivo视频软件"), 10);
  EXPECT_EQ(Utf8Length(kMixed), 4);

  struct Case {
    Integer Index, Offset;
  };
  for (const Case& C : {Case{0, 0}, Case{1, 1}, Case{2, 4}, Case{3, 8}, Case{4, 9}}) {
    EXPECT_EQ(Utf8ByteOffset(kMixed, C.Index), C.Offset) << C.Index;
    EXPECT_EQ(Utf8CodePointIndex(kMixed, C.Offset), C.Index) << C.Offset;
  }
  EXPECT_EQ(Utf8ByteOffset(kMixed, 5), -1);
  EXPECT_EQ(Utf8ByteOffset(kMixed, -1), -1);
  EXPECT_EQ(Utf8CodePointIndex(kMixed, 6), 2);  // inside the emoji
  EXPECT_EQ(Utf8CodePointIndex(kMixed, 10), -1);
}

TEST(Utf8Test, StepsForwardAndBackward) {
  const Integer Starts[] = {0, 1, 4, 8, 9};
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(Utf8NextCodePoint(kMixed, Starts[I]), Starts[I + 1]);
    EXPECT_EQ(Utf8PrevCodePoint(kMixed, Starts[I + 1]), Starts[I]);
  }
  EXPECT_EQ(Utf8NextCodePoint(kMixed, 9), 9);
  EXPECT_EQ(Utf8PrevCodePoint(kMixed, 0), 0);
}

TEST(Utf8Test, MalformedBytesAreSingleCodePoints) {
  // A cut-off sequence, a stray continuation byte, an overlong "/" and an encoded surrogate.
  const String Bad =
      "\xE4\xB8"
      "x\x80"
      "\xC0\xAF"
      "\xED\xA0\x80";
  EXPECT_EQ(Utf8Length(Bad), 9);
  Integer Size = -1;
  EXPECT_EQ(Utf8Decode(Bad, 0, &Size), U'\xFFFD');
  EXPECT_EQ(Size, 1);
  EXPECT_EQ(Utf8Decode(Bad, 2, &Size), U'x');
  EXPECT_EQ(Utf8PrevCodePoint(Bad, 2), 1);
  EXPECT_EQ(Utf8Decode(Bad, 99, &Size), 0u);
  EXPECT_EQ(Size, 0);
  // Walking back and forth over the whole text visits the same boundaries.
  Integer Count = 0;
  for (Integer P = static_cast<Integer>(Bad.size()); P > 0; P = Utf8PrevCodePoint(Bad, P)) ++Count;
  EXPECT_EQ(Count, 9);
}

TEST(Utf8Test, CopyAndDeleteByCodePoints) {
  struct Case {
    const char* Text;
    Integer Index, Count;
    const char* Copied;
    const char* AfterDelete;
  };
  const Case Cases[] = {
      {"Nerivo视频软件", 6, 2, "视频", "Nerivo软件"},
      {"视频软件", 1, 100, "频软件", "视"},
      {"视频软件", 4, 1, "", "视频软件"},
      {"视频软件", 9, 1, "", "视频软件"},
      {"视频软件", 0, 0, "", "视频软件"},
      {"视频软件", -3, 1, "视", "视频软件"},  // Copy clamps the index; Delete ignores it
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Utf8Copy(C.Text, C.Index, C.Count), C.Copied) << C.Text << " " << C.Index;
    String S = C.Text;
    Utf8Delete(S, C.Index, C.Count);
    EXPECT_EQ(S, C.AfterDelete) << C.Text << " " << C.Index;
  }
}

TEST(Utf8Test, ConvertsToAndFromUtf16AndUtf32) {
  const std::u16string Wide =
      u"a\u4E2D\xD83D\xDE00"
      u"b";
  EXPECT_EQ(Utf8ToUtf16(kMixed), Wide);
  EXPECT_EQ(Utf16ToUtf8(Wide), kMixed);
  EXPECT_EQ(Utf8ToUtf32(kMixed), std::u32string(U"a\u4E2D\U0001F600b"));
  EXPECT_EQ(Utf32ToUtf8(U"a\u4E2D\U0001F600b"), kMixed);
  // Unpaired surrogates and out-of-range values cannot be encoded.
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xD800x\xDC00")), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(Utf32ToUtf8(std::u32string{0x110000, 0xDFFF}), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string(u"\xFFFD"));
}

TEST(StringsTest, TrimsControlCharactersAndBlanksOnly) {
  EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x \n"), "  x");
  EXPECT_EQ(Trim("   "), "");
  // Bytes of non-ASCII text (here an ideographic space) are above ' ' and stay.
  EXPECT_EQ(Trim("\xE3\x80\x80"
                 "a "),
            "\xE3\x80\x80"
            "a");
}

TEST(StringsTest, CaseAndComparisonFoldAsciiOnly) {
  EXPECT_EQ(UpperCase("abzAZ09é"), "ABZAZ09é");
  EXPECT_EQ(LowerCase("ABZaz09É"), "abzaz09É");
  struct Case {
    const char *A, *B;
    int Text, Str;  // expected signs
  };
  const Case Cases[] = {
      {"abc", "ABC", 0, 1}, {"abc", "abd", -1, -1}, {"ab", "abc", -1, -1},
      {"b", "A", 1, 1},     {"a_", "A[", 1, 1},  // '_' sorts after letters folded to upper case
      {"", "", 0, 0},       {"中文", "中文", 0, 0},
  };
  auto Sign = [](Integer V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); };
  for (const Case& C : Cases) {
    EXPECT_EQ(Sign(CompareText(C.A, C.B)), C.Text) << C.A << " " << C.B;
    EXPECT_EQ(Sign(AnsiCompareText(C.A, C.B)), C.Text) << C.A << " " << C.B;
    EXPECT_EQ(Sign(CompareStr(C.A, C.B)), C.Str) << C.A << " " << C.B;
    EXPECT_EQ(SameText(C.A, C.B), C.Text == 0) << C.A << " " << C.B;
  }
}

TEST(StringsTest, SearchesWithZeroBasedIndexes) {
  EXPECT_EQ(Pos("b", "abcb"), 1);
  EXPECT_EQ(Pos("x", "abc"), -1);
  EXPECT_EQ(Pos("", "abc"), -1);
  EXPECT_EQ(Pos("abcd", "abc"), -1);
  EXPECT_EQ(Pos("文", "中文"), 3);
  EXPECT_EQ(PosEx("b", "abcb", 2), 3);
  EXPECT_EQ(PosEx("b", "abcb", 4), -1);
  EXPECT_EQ(PosEx("b", "abcb", -1), -1);
}

TEST(StringsTest, CopyDeleteInsertClipToTheText) {
  EXPECT_EQ(Copy("hello", 1, 3), "ell");
  EXPECT_EQ(Copy("hello", 3), "lo");
  EXPECT_EQ(Copy("hello", -2, 2), "he");
  EXPECT_EQ(Copy("hello", 5, 2), "");
  EXPECT_EQ(Copy("hello", 2, -1), "");
  String S = "hello";
  Delete(S, 1, 100);
  EXPECT_EQ(S, "h");
  Delete(S, 5, 1);
  EXPECT_EQ(S, "h");
  Insert("ab", S, 9);
  EXPECT_EQ(S, "hab");
  Insert("<", S, -4);
  EXPECT_EQ(S, "<hab");
}

TEST(StringsTest, StringReplaceFlags) {
  struct Case {
    const char *S, *Old, *New;
    TReplaceFlags Flags;
    const char* Expected;
  };
  const Case Cases[] = {
      {"aAaA", "a", "b", 0, "bAaA"},
      {"aAaA", "a", "b", rfReplaceAll, "bAbA"},
      {"AaAa", "a", "b", rfIgnoreCase, "baAa"},
      {"aAaA", "a", "b", rfReplaceAll | rfIgnoreCase, "bbbb"},
      {"aa", "a", "aa", rfReplaceAll, "aaaa"},  // replacements are not searched again
      {"abc", "", "x", rfReplaceAll, "abc"},
      {"C:\\a\\b", "\\", "/", rfReplaceAll, "C:/a/b"},
      {"x", "xyz", "q", rfReplaceAll, "x"},
  };
  for (const Case& C : Cases) EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Expected) << C.S;
}

TEST(StringsTest, QuotingAndHex) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("'it''s'", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("'ab'cd", '\''), "ab");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "open");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(StringOfChar('x', 3), "xxx");
  EXPECT_EQ(StringOfChar('x', -1), "");

  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64(-2), 1), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(IntToHex(Cardinal(0x80000000u), 1), "80000000");
  EXPECT_EQ(IntToHex(Int64(0x123456789), 12), "000123456789");
}

}  // namespace
