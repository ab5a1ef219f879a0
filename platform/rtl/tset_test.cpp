#include "platform/rtl/tset.h"

#include <gtest/gtest.h>

namespace {

// Members far apart so that a narrow word or a wrong shift shows.
enum TProbe { pA, pB, pC, pD = 31, pE = 32, pF = 63 };
using TProbes = TSet<TProbe>;

TEST(TSet, MembersFromTheListAndIncludeExcludeOneAtATime) {
  TProbes s{pB, pE, pF};
  for (TProbe m : {pA, pB, pC, pD, pE, pF}) {
    const bool in = m == pB || m == pE || m == pF;
    EXPECT_EQ(s.Contains(m), in) << int(m);
  }
  s.Exclude(pE);
  s.Include(pD);
  s.Include(pD);
  EXPECT_EQ(s, (TProbes{pB, pD, pF}));
  s.Exclude(pA);  // not a member: nothing changes
  EXPECT_EQ(s, (TProbes{pB, pD, pF}));
  EXPECT_FALSE(s.Empty());
  s.Exclude(pB), s.Exclude(pD), s.Exclude(pF);
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s, TProbes());
  EXPECT_TRUE(TProbes().Empty());
}

struct TSetOpCase {
  TProbes A, B, Union, Difference, Intersection;
};

TEST(TSet, UnionDifferenceAndIntersection) {
  const TSetOpCase cases[] = {
      {{pA, pB}, {pB, pC}, {pA, pB, pC}, {pA}, {pB}},
      {{pD, pE, pF}, {pA, pE}, {pA, pD, pE, pF}, {pD, pF}, {pE}},
      {{}, {pF}, {pF}, {}, {}},
      {{pC, pF}, {}, {pC, pF}, {pC, pF}, {}},
      {{pA, pF}, {pA, pF}, {pA, pF}, {}, {pA, pF}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.A + c.B, c.Union);
    EXPECT_EQ(c.A - c.B, c.Difference);
    EXPECT_EQ(c.A * c.B, c.Intersection);
    EXPECT_EQ(c.B + c.A, c.Union);  // union and intersection do not depend on the order
    EXPECT_EQ(c.B * c.A, c.Intersection);
  }
  EXPECT_NE(TProbes{pD}, TProbes{pE});
}

static_assert((TProbes{pA} + TProbes{pF}).Contains(pF), "usable in constant expressions");

}  // namespace
