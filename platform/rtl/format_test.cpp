#include "platform/rtl/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/rtl/exceptions.h"

namespace {

struct FormatCase {
  const char* Fmt;
  std::vector<TVarRec> Args;  // the texts referenced by the records are literals
  const char* Expected;
};

void PrintTo(const FormatCase& C, std::ostream* Os) {
  *Os << C.Fmt;
}

class FormatTableTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTableTest, Formats) {
  const FormatCase& C = GetParam();
  EXPECT_EQ(FormatBuf(C.Fmt, C.Args.data(), C.Args.size()), C.Expected);
}

const String kOwned = "owned";

INSTANTIATE_TEST_SUITE_P(
    Integers, FormatTableTest,
    testing::Values(
        FormatCase{"%d|%5d|%-5d|", {42, 42, 42}, "42|   42|42   |"},
        FormatCase{"%.3d|%.3d|%.0d", {-5, 1234, 0}, "-005|1234|0"},
        FormatCase{"%*d|%-*.*d|", {5, 42, 6, 3, 7}, "   42|007   |"}, FormatCase{"%*d", {-3, 1}, "1"},
        FormatCase{"%.2d:%.2d:%.2d.%.3d", {1, 2, 3, 45}, "01:02:03.045"},
        FormatCase{"%d %d", {INT64_MIN, UINT64_MAX}, "-9223372036854775808 18446744073709551615"},
        FormatCase{"%d %u %u", {4294967295u, -1, int64_t(-1)}, "4294967295 4294967295 18446744073709551615"},
        FormatCase{"%x|%X|%x", {-1, int64_t(-1), short(-2)}, "ffffffff|FFFFFFFFFFFFFFFF|fffffffe"},
        FormatCase{"%.4X|%X|%x", {255, 0u, uint64_t(0xABCDEF0123)}, "00FF|0|abcdef0123"},
        FormatCase{"0x%04x", {26}, "0x  1a"},  // 0 is part of the width, not a flag
        FormatCase{"%D|%U", {7, 8}, "7|8"}));

INSTANTIATE_TEST_SUITE_P(
    TextsAndIndexes, FormatTableTest,
    testing::Values(FormatCase{"[%s] [%s] [%s]", {"lit", kOwned, 'c'}, "[lit] [owned] [c]"},
                    FormatCase{"%5s|%-5s|%.2s", {"ab", "ab", "abc"}, "   ab|ab   |ab"},
                    FormatCase{"%4s|%.2s", {"中文", "视频软件"}, "  中文|视频"},  // code points
                    FormatCase{"%s", {static_cast<const char*>(nullptr)}, ""},
                    FormatCase{"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},
                    FormatCase{"%2:s-%s-%0:s-%s", {"a", "b", "c", "d"}, "c-d-a-b"},
                    FormatCase{"%*:s", {1, "x", "y"}, "x"}, FormatCase{"100%% %s%%", {"done"}, "100% done%"},
                    FormatCase{"no specifiers", {}, "no specifiers"},
                    FormatCase{"%p", {reinterpret_cast<const void*>(uintptr_t(0x1234))}, "0000000000001234"},
                    FormatCase{"%p", {nullptr}, "0000000000000000"}));

INSTANTIATE_TEST_SUITE_P(
    Floats, FormatTableTest,
    testing::Values(
        FormatCase{"%f|%.0f|%.3f|%5.1f", {3.14159, 2.5, 1e-10, 3.14159}, "3.14|3|0.000|  3.1"},
        FormatCase{"%f|%.2f|%f", {0.125, -0.001, -1.005}, "0.13|0.00|-1.00"},  // halves away from 0
        FormatCase{"%0.3f|%.1f", {1.5f, 1e6L}, "1.500|1000000.0"},
        FormatCase{"%e", {1234.5}, "1.23450000000000E+003"},
        FormatCase{"%.5e|%.3e|%.2e", {1234.5, -0.00012345, 9.999}, "1.2345E+003|-1.23E-004|1.0E+001"},
        FormatCase{"%e|%.1e", {0.0, 1e300}, "0.00000000000000E+000|1E+300"},
        FormatCase{"%g|%g|%g|%g", {0.1 + 0.2, 123456.0, 0.0001, 0.0}, "0.3|123456|0.0001|0"},
        FormatCase{
            "%g|%g|%.3g|%g", {1e20, 0.00001, 1234.0, -1.0 / 3}, "1E020|1E-005|1.23E003|-0.333333333333333"},
        FormatCase{"%g", {999999999999999.0}, "999999999999999"},
        FormatCase{"%n|%.0n|%n", {1234567.891, 999.5, -1234.5}, "1,234,567.89|1,000|-1,234.50"},
        FormatCase{"%n|%.1n", {0.0, 123.45}, "0.00|123.5"},
        FormatCase{"%m|%.0m", {1234.5, -1234567.5}, "1,234.50|-1,234,568"},
        FormatCase{"%.2f GB", {1073741825.0 / 1073741824}, "1.00 GB"}));

TEST(FormatTest, VariadicAndListFormsAgree) {
  const String Owned = "x";
  EXPECT_EQ(Format("%s=%d (%.1f)", Owned, 5, 2.25), "x=5 (2.3)");
  EXPECT_EQ(Format("%s=%d (%.1f)", {Owned, 5, 2.25}), "x=5 (2.3)");
  EXPECT_EQ(Format("plain"), "plain");
}

TEST(FormatTest, RejectsMismatchedArgumentsAndBadSpecifiers) {
  struct Case {
    const char* Fmt;
    std::vector<TVarRec> Args;
  };
  const Case Cases[] = {
      {"%d", {1.5}},
      {"%x", {"1"}},
      {"%f", {1}},
      {"%e", {'c'}},
      {"%s", {1}},
      {"%s", {2.0}},
      {"%d", {true}},
      {"%s", {false}},
      {"%p", {5}},
      {"%d", {nullptr}},
      {"%*d", {"a", 5}},
      {"%y", {1}},
      {"abc%", {1}},
      {"%5", {1}},
      {"%-", {1}},
      {"%.", {1}},
      {"%99999999999d", {1}},
      // Fields beyond a mebibyte, written out or through "*", are refused rather than allocated.
      {"%2147483647d", {1}},
      {"%-2000000s", {"a"}},
      {"%.2000000d", {1}},
      {"%.2000000f", {1.5}},
      {"%*d", {int64_t(1) << 40, 1}},
      {"%*s", {2147483647, "a"}},
      {"%-*.*d", {1, 1 << 30, 1}},
  };
  for (const Case& C : Cases) {
    try {
      FormatBuf(C.Fmt, C.Args.data(), C.Args.size());
      ADD_FAILURE() << "no error for " << C.Fmt;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), String("Format '") + C.Fmt + "' invalid or incompatible with argument");
    }
  }
}

TEST(FormatTest, MissingArgumentsAreReported) {
  for (const char* Fmt : {"%d %d", "%2:d", "%*d"}) {
    try {
      Format(Fmt, 1);
      ADD_FAILURE() << "no error for " << Fmt;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), String("No argument for format '") + Fmt + "'");
    }
  }
}

}  // namespace
