// Where a scroll request code takes a control's content position.
#include "platform/win/scrollrequest.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrollRequestPosition, EachCodeMovesFromThePositionByItsStep) {
  const TScrollSteps Steps{/*Line=*/3, /*Page=*/10, /*Thumb=*/42, /*End=*/99};
  const struct {
    Word Code;
    std::optional<Integer> Expected;
  } Cases[] = {
      {SB_LINEUP, 17},   {SB_LINEDOWN, 23},      {SB_PAGEUP, 10},
      {SB_PAGEDOWN, 30}, {SB_THUMBPOSITION, 42}, {SB_THUMBTRACK, 42},
      {SB_TOP, 0},       {SB_BOTTOM, 99},        {SB_ENDSCROLL, std::nullopt},
  };
  for (const auto& C : Cases) EXPECT_EQ(ScrollRequestPosition(C.Code, 20, Steps), C.Expected) << C.Code;
}

TEST(ScrollRequestPosition, LeavesClampingToTheControl) {
  const TScrollSteps Steps{/*Line=*/1, /*Page=*/8, /*Thumb=*/0, /*End=*/5};
  EXPECT_EQ(ScrollRequestPosition(SB_PAGEUP, 2, Steps), -6);
  EXPECT_EQ(ScrollRequestPosition(SB_PAGEDOWN, 2, Steps), 10);
}

}  // namespace
