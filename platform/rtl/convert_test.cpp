#include "platform/rtl/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/codepage.h"
#include "platform/rtl/exceptions.h"

namespace {

TEST(IntToStrTest, AllWidths) {
  EXPECT_EQ(IntToStr(Integer(0)), "0");
  EXPECT_EQ(IntToStr(Integer(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(IntToStr(Int64(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(IntToStr(Cardinal(4294967295u)), "4294967295");
  EXPECT_EQ(IntToStr(UInt64(UINT64_MAX)), "18446744073709551615");
}

TEST(StrToIntTest, ConversionTable) {
  struct Case {
    const char* Text;
    bool Valid32;
    Integer Value32;
    bool Valid64;
    Int64 Value64;
  };
  const Case Cases[] = {
      {"123", true, 123, true, 123},
      {"   -42", true, -42, true, -42},  // leading blanks are skipped
      {"+7", true, 7, true, 7},
      {"007", true, 7, true, 7},
      {"$FF", true, 255, true, 255},
      {"0x1f", true, 31, true, 31},
      {"0XfF", true, 255, true, 255},
      {"-$10", true, -16, true, -16},
      {"$FFFFFFFF", true, -1, true, 4294967295},  // hexadecimal takes the full unsigned width
      {"2147483647", true, 2147483647, true, 2147483647},
      {"-2147483648", true, -2147483647 - 1, true, -2147483648},
      {"2147483648", false, 0, true, 2147483648},
      {"-2147483649", false, 0, true, -2147483649},
      {"$100000000", false, 0, true, 4294967296},
      {"9223372036854775807", false, 0, true, INT64_MAX},
      {"-9223372036854775808", false, 0, true, INT64_MIN},
      {"$FFFFFFFFFFFFFFFF", false, 0, true, -1},
      {"9223372036854775808", false, 0, false, 0},
      {"$10000000000000000", false, 0, false, 0},
      {"99999999999999999999999", false, 0, false, 0},
      {"12 ", false, 0, false, 0},  // trailing blanks are refused
      {"", false, 0, false, 0},
      {" ", false, 0, false, 0},
      {"-", false, 0, false, 0},
      {"$", false, 0, false, 0},
      {"0x", false, 0, false, 0},
      {"1x", false, 0, false, 0},
      {"1.5", false, 0, false, 0},
      {"--1", false, 0, false, 0},
      {"$G", false, 0, false, 0},
      {"1e3", false, 0, false, 0},
  };
  for (const Case& C : Cases) {
    Integer V32 = 99;
    EXPECT_EQ(TryStrToInt(C.Text, V32), C.Valid32) << "'" << C.Text << "'";
    if (C.Valid32) {
      EXPECT_EQ(V32, C.Value32) << C.Text;
      EXPECT_EQ(StrToInt(C.Text), C.Value32) << C.Text;
    } else {
      EXPECT_EQ(StrToIntDef(C.Text, -7), -7) << C.Text;
    }
    Int64 V64 = 99;
    EXPECT_EQ(TryStrToInt64(C.Text, V64), C.Valid64) << "'" << C.Text << "'";
    if (C.Valid64) {
      EXPECT_EQ(V64, C.Value64) << C.Text;
    } else {
      EXPECT_EQ(StrToInt64Def(C.Text, -7), -7) << C.Text;
    }
  }
}

TEST(StrToIntTest, ErrorNamesTheText) {
  try {
    StrToInt("12 ");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'12 ' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64("x"), EConvertError);
}

TEST(StrToFloatTest, ConversionTable) {
  struct Case {
    const char* Text;
    bool Valid;
    Double Value;
  };
  const Case Cases[] = {
      {"1.5", true, 1.5},   {" -2.5e3 ", true, -2500}, {".5", true, 0.5}, {"5.", true, 5},
      {"+1E+2", true, 100}, {"1e-400", true, 0},       {"0", true, 0},    {"", false, 0},
      {".", false, 0},      {"e5", false, 0},          {"1e", false, 0},  {"1e+", false, 0},
      {"1,5", false, 0},    {"inf", false, 0},         {"nan", false, 0}, {"0x10", false, 0},
      {"1e400", false, 0},  {"1.5x", false, 0},        {"- 1", false, 0}, {"1 2", false, 0},
  };
  for (const Case& C : Cases) {
    Double V = 99;
    EXPECT_EQ(TryStrToFloat(C.Text, V), C.Valid) << "'" << C.Text << "'";
    if (C.Valid) {
      EXPECT_EQ(V, C.Value) << C.Text;
    } else {
      EXPECT_EQ(StrToFloatDef(C.Text, -7), -7) << C.Text;
    }
  }
  try {
    StrToFloat("1,5");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'1,5' is not a valid floating point value");
  }
}

TEST(FloatToStrTest, FifteenSignificantDigits) {
  struct Case {
    Extended Value;
    const char* Expected;
  };
  const Case Cases[] = {
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123.456, "123.456"},
      {-1.5, "-1.5"},
      {0.0, "0"},
      {-0.0, "0"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {1.5e100, "1.5E100"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-2.5e-10, "-2.5E-10"},
      {9.9999999999999999e14, "1E15"},  // rounding carries into a new digit
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Case& C : Cases) EXPECT_EQ(FloatToStr(C.Value), C.Expected) << static_cast<double>(C.Value);
}

TEST(FloatToStrTest, FloatFormats) {
  EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2), "1234.50");
  EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1), "1,234.5");
  EXPECT_EQ(FloatToStrF(-1234567.125, ffCurrency, 15, 2), "-1,234,567.13");
  EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), "1.235E+03");
  EXPECT_EQ(FloatToStrF(1e20, ffGeneral, 15, 2), "1E20");
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), "1E20");  // more integer digits than the precision
  EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0), "1");
}

TEST(FormatFloatTest, MaskTable) {
  struct Case {
    const char* Mask;
    Extended Value;
    const char* Expected;
  };
  const Case Cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"0.00", 0.125, "0.13"},  // an exact half goes away from zero
      {"0.00", 2.675, "2.67"},  // the double lies just below the half: 2.67499999999999982...
      {"0.00", -0.001, "0.00"},
      {"#,##0.0", 1234567.89, "1,234,567.9"},
      {"#,##0.0", 999.96, "1,000.0"},
      {"#,##0.0", 0.04, "0.0"},
      {"#,##0", -1234567, "-1,234,567"},
      {"#.##", 0.5, ".5"},
      {"0.##", 1, "1"},
      {"0.#0", 1.2, "1.20"},
      {"000", 7, "007"},
      {"00-00", 1234, "12-34"},
      {"0", 123456, "123456"},
      {"\"$\"#,##0", 1234, "$1,234"},
      {"'x;y' 0", 5, "x;y 5"},
      {"0.00;(0.00)", -1.5, "(1.50)"},
      {"0.00;(0.00)", 1.5, "1.50"},
      {"0.0;;zero", 0, "zero"},
      {"0.0;", -2, "-2.0"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.00012, "1.2E-4"},
      {"0.0E-0", 12000, "1.2E4"},
      {"00.0E+00", 1234.5, "12.3E+02"},
      {"", 1.5, "1.5"},
  };
  for (const Case& C : Cases) EXPECT_EQ(FormatFloat(C.Mask, C.Value), C.Expected) << C.Mask;
}

TEST(BoolTest, ToAndFromText) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_EQ(BoolToStr(false, true), "False");
  struct Case {
    const char* Text;
    bool Valid, Value;
  };
  const Case Cases[] = {{"True", true, true}, {"fALSE", true, false}, {"-1", true, true},
                        {"0", true, false},   {"2.5", true, true},    {"yes", false, false},
                        {"", false, false},   {"Truex", false, false}};
  for (const Case& C : Cases) {
    bool V = !C.Value;
    EXPECT_EQ(TryStrToBool(C.Text, V), C.Valid) << C.Text;
    if (C.Valid) {
      EXPECT_EQ(V, C.Value) << C.Text;
    }
  }
  EXPECT_TRUE(StrToBoolDef("maybe", true));
  try {
    StrToBool("yes");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'yes' is not a valid boolean value");
  }
}

TEST(ArithmeticTest, RoundHalvesToEvenAndTruncTowardZero) {
  struct Case {
    Extended Value;
    Int64 Rounded, Truncated;
    Integer Ceiled, Floored;
  };
  const Case Cases[] = {
      {0.5, 0, 0, 1, 0},   {1.5, 2, 1, 2, 1},      {2.5, 2, 2, 3, 2},
      {-0.5, 0, 0, 0, -1}, {-1.5, -2, -1, -1, -2}, {-2.5, -2, -2, -2, -3},
      {2.6, 3, 2, 3, 2},   {-2.6, -3, -2, -2, -3}, {0.49999999999999994, 0, 0, 1, 0},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Round(C.Value), C.Rounded) << static_cast<double>(C.Value);
    EXPECT_EQ(Trunc(C.Value), C.Truncated) << static_cast<double>(C.Value);
    EXPECT_EQ(Ceil(C.Value), C.Ceiled) << static_cast<double>(C.Value);
    EXPECT_EQ(Floor(C.Value), C.Floored) << static_cast<double>(C.Value);
  }
  EXPECT_EQ(Round(9007199254740993.0L), 9007199254740993);  // beyond double's exact integers
  EXPECT_EQ(Round(-9223372036854775808.0L), INT64_MIN);
  EXPECT_THROW(Round(9223372036854775808.0L), EInvalidOp);
  EXPECT_THROW(Round(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(Trunc(std::numeric_limits<double>::infinity()), EInvalidOp);
  EXPECT_THROW(Ceil(2147483647.5), EInvalidOp);
  EXPECT_EQ(Floor(2147483647.5), 2147483647);
}

TEST(ArithmeticTest, MulDivRoundsHalvesAwayFromZero) {
  struct Case {
    Integer A, B, C, Expected;
  };
  const Case Cases[] = {
      {10, 3, 4, 8},
      {-10, 3, 4, -8},
      {10, -3, 4, -8},
      {-10, -3, -4, -8},
      {-10, -3, 4, 8},
      {5, 1, 2, 3},
      {5, -1, 2, -3},
      {7, 1, 3, 2},
      {8, 1, 3, 3},
      {0, 5, 7, 0},
      {1, 1, 0, -1},
      {0, 0, 0, -1},
      {2147483647, 2147483647, 2147483647, 2147483647},  // needs the 64-bit intermediate
      {2147483647, 2, 1, -1},                            // result outside Integer
      {-2147483647 - 1, -1, 1, -1},
  };
  for (const Case& C : Cases) EXPECT_EQ(MulDiv(C.A, C.B, C.C), C.Expected) << C.A << "*" << C.B << "/" << C.C;
}

TEST(ArithmeticTest, RangesAndSigns) {
  EXPECT_EQ(EnsureRange(5, 0, 3), 3);
  EXPECT_EQ(EnsureRange(-5, 0, 3), 0);
  EXPECT_EQ(EnsureRange(2.5, 0.0, 3.0), 2.5);
  EXPECT_EQ(EnsureRange(5, 7, 3), 7);  // an empty range gives its lower end
  EXPECT_TRUE(InRange(3, 0, 3));
  EXPECT_FALSE(InRange(4, 0, 3));
  EXPECT_EQ(Min(Int64(-1), Int64(2)), -1);
  EXPECT_EQ(Max(1.5, -2.0), 1.5);
  EXPECT_EQ(Sign(-3.5), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Sign(Int64(9)), 1);
}

class CodePageTest : public testing::Test {
 protected:
  void TearDown() override { SetSystemCodePage("UTF-8"); }
};

TEST_F(CodePageTest, Utf8IsTheDefaultAndPassesTextThrough) {
  EXPECT_EQ(SystemCodePage(), "UTF-8");
  EXPECT_TRUE(SystemCodePageIsUtf8());
  String Out;
  EXPECT_TRUE(Utf8ToSystem("视频 a", Out));
  EXPECT_EQ(Out, "视频 a");
  EXPECT_FALSE(
      Utf8ToSystem("a\xFF"
                   "b",
                   Out));
  EXPECT_EQ(Out, "a?b");
  EXPECT_FALSE(SystemToUtf8("a\xFF", Out));
  EXPECT_EQ(Out, "a\xEF\xBF\xBD");
}

TEST_F(CodePageTest, ConvertsThroughOtherCodePages) {
  struct Case {
    const char* CodePage;
    const char* Utf8;
    bool Exact;
    const char* System;
  };
  const Case Cases[] = {
      {"ISO-8859-1", "café", true, "caf\xE9"},
      {"ISO-8859-1", "a视频b", false, "a??b"},
      {"ISO-8859-1", "x\xE4\xB8", false, "x??"},  // a cut-off sequence at the end
      {"CP1252", "5€", true, "5\x80"},
      {"CP1252", "€视", false, "\x80?"},
      {"GBK", "视频软件", true, "\xCA\xD3\xC6\xB5\xC8\xED\xBC\xFE"},
      {"GBK", "é😀", false, "\xA8\xA6?"},
  };
  for (const Case& C : Cases) {
    SetSystemCodePage(C.CodePage);
    EXPECT_EQ(SystemCodePage(), C.CodePage);
    EXPECT_FALSE(SystemCodePageIsUtf8());
    String Out;
    EXPECT_EQ(Utf8ToSystem(C.Utf8, Out), C.Exact) << C.CodePage << " " << C.Utf8;
    EXPECT_EQ(Out, C.System) << C.CodePage << " " << C.Utf8;
    if (C.Exact) {
      String Back;
      EXPECT_TRUE(SystemToUtf8(Out, Back));
      EXPECT_EQ(Back, C.Utf8);
    }
  }
}

TEST_F(CodePageTest, RefusesUnknownCodePagesAndBadBytes) {
  SetSystemCodePage("CP1252");
  EXPECT_THROW(SetSystemCodePage("NO-SUCH-CODEPAGE-42"), EConvertError);
  EXPECT_EQ(SystemCodePage(), "CP1252");
  String Out;
  EXPECT_FALSE(
      SystemToUtf8("a\x81"
                   "b",
                   Out));  // 0x81 is unassigned in CP1252
  EXPECT_EQ(Out,
            "a\xEF\xBF\xBD"
            "b");
  SetSystemCodePage("GBK");
  EXPECT_FALSE(SystemToUtf8("\xCA", Out));  // lead byte without its trail byte
  EXPECT_EQ(Out, "\xEF\xBF\xBD");
}

}  // namespace
