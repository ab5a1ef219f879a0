#include "skin/core/bsstrings.h"

#include <gtest/gtest.h>

TEST(ResourceStrData, HoldsTheDefaultLinesInOrder) {
  TbsResourceStrData Table(nullptr);
  ASSERT_EQ(Table.ResStrings()->Count(), 131);
  EXPECT_EQ(Table.ResStrings()->Strings(0), "MI_MINCAPTION=Mi&nimize");
  EXPECT_EQ(Table.ResStrings()->Strings(130), "DBNAV_REFRESH=REFRESH");
  EXPECT_EQ(Table.CharSet(), DEFAULT_CHARSET);
  // Every default line is found again by its own name: no name is shadowed by an earlier line.
  for (Integer i = 0; i < Table.ResStrings()->Count(); ++i) {
    const String Line = Table.ResStrings()->Strings(i);
    const size_t Eq = Line.find('=');
    ASSERT_NE(Eq, String::npos) << Line;
    EXPECT_EQ(Table.GetResStr(Line.substr(0, Eq)), Line.substr(Eq + 1)) << Line;
  }
}

TEST(ResourceStrData, LooksUpByNameIgnoringCase) {
  TbsResourceStrData Table(nullptr);
  struct {
    const char* Key;
    const char* Value;
  } Cases[] = {
      {"mi_mincaption", "Mi&nimize"}, {"FLV_LOOKIN", "Look in: "}, {"find_replace_all", "Replace All"},
      {"MSG_BTN_OK", "OK"},           {"NO_SUCH_KEY", ""},         {"", ""},
  };
  for (const auto& C : Cases) EXPECT_EQ(Table.GetResStr(C.Key), C.Value) << C.Key;
}

TEST(ResourceStrData, SplitsAtTheFirstEqualsAndTakesTheFirstOfTwins) {
  TbsResourceStrData Table(nullptr);
  TStringList Lines;
  for (const char* L : {"A=x=y", "EMPTY=", "LONELY", "TWIN=first", "twin=second", "=nameless"}) Lines.Add(L);
  Table.SetResStrings(&Lines);
  ASSERT_EQ(Table.ResStrings()->Count(), 6);
  EXPECT_EQ(Table.GetResStr("a"), "x=y");
  EXPECT_EQ(Table.GetResStr("EMPTY"), "");
  EXPECT_EQ(Table.GetResStr("LONELY"), "");
  EXPECT_EQ(Table.GetResStr("Twin"), "first");
  EXPECT_EQ(Table.GetResStr(""), "nameless");
}

TEST(ResourceStrData, AnEmptyListLeavesNothingToFind) {
  TbsResourceStrData Table(nullptr);
  TStringList None;
  Table.SetResStrings(&None);
  EXPECT_EQ(Table.ResStrings()->Count(), 0);
  EXPECT_EQ(Table.GetResStr("MI_CLOSECAPTION"), "");
  // Writing the table's own list back must not lose it.
  TbsResourceStrData Other(nullptr);
  Other.SetResStrings(Other.ResStrings());
  EXPECT_EQ(Other.ResStrings()->Count(), 131);
}
