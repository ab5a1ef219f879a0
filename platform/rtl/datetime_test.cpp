#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/rtl/exceptions.h"

namespace {

TEST(EncodeDate, KnownDayNumbersAndRoundTrip) {
  struct {
    Word Y, M, D;
    double Days;
  } cases[] = {{1899, 12, 30, 0},  {1900, 1, 1, 2},         {1970, 1, 1, 25569}, {2000, 2, 29, 36585},
               {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Y << "-" << c.M << "-" << c.D);
    EXPECT_EQ(EncodeDate(c.Y, c.M, c.D), c.Days);
    Word y, m, d;
    DecodeDate(c.Days, y, m, d);
    EXPECT_EQ(y, c.Y);
    EXPECT_EQ(m, c.M);
    EXPECT_EQ(d, c.D);
  }
}

TEST(EncodeDate, InvalidPartsRaiseEConvertError) {
  struct {
    Word Y, M, D;
  } dates[] = {{2001, 2, 29}, {1900, 2, 29}, {2024, 13, 1}, {2024, 0, 1},
               {2024, 4, 31}, {0, 1, 1},     {10000, 1, 1}};
  for (const auto& c : dates) {
    SCOPED_TRACE(testing::Message() << c.Y << "-" << c.M << "-" << c.D);
    try {
      EncodeDate(c.Y, c.M, c.D);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DecodeTime, RoundsToTheMillisecondAndCarriesIntoTheNextDay) {
  Word h, n, s, ms, y, mo, d;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ((std::vector<Word>{h, n, s, ms}), (std::vector<Word>{23, 59, 59, 999}));
  // Just under midnight rounds up to the next day's 00:00:00.000.
  DecodeDateTime(EncodeDate(2023, 12, 31) + 0.9999999999, y, mo, d, h, n, s, ms);
  EXPECT_EQ((std::vector<Word>{y, mo, d, h, n, s, ms}), (std::vector<Word>{2024, 1, 1, 0, 0, 0, 0}));
  // Before 1899-12-30 the fraction is still the time of day.
  DecodeDateTime(-1.25, y, mo, d, h, n, s, ms);
  EXPECT_EQ((std::vector<Word>{y, mo, d, h}), (std::vector<Word>{1899, 12, 29, 6}));
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

// A corrupt value (no number, or far beyond any date) decodes to something harmless instead of
// overflowing the day arithmetic: no number reads as day zero, huge values stop at a bound.
TEST(DecodeDate, ValuesBeyondAnyDateAreHandledSafely) {
  Word y, mo, d, h, n, s, ms;
  DecodeDateTime(std::nan(""), y, mo, d, h, n, s, ms);
  EXPECT_EQ((std::vector<Word>{y, mo, d, h, n, s, ms}), (std::vector<Word>{1899, 12, 30, 0, 0, 0, 0}));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", std::nan("")), "1899-12-30 00:00");
  for (double far : {1e300, -1e300, HUGE_VAL, -HUGE_VAL}) {
    SCOPED_TRACE(far);
    const double bound = far > 0 ? 1e15 : -1e15;
    Word by, bmo, bd;
    DecodeDate(bound, by, bmo, bd);
    DecodeDateTime(far, y, mo, d, h, n, s, ms);
    EXPECT_EQ((std::vector<Word>{y, mo, d, h, n, s, ms}), (std::vector<Word>{by, bmo, bd, 0, 0, 0, 0}));
    EXPECT_EQ(DayOfWeek(far), DayOfWeek(bound));
  }
}

TEST(FormatDateTime, MaskTable) {
  const TDateTime t = EncodeDateTime(2009, 3, 7, 14, 5, 9, 45);  // a Saturday afternoon
  const TDateTime morning = EncodeDateTime(1999, 11, 21, 0, 30, 0, 0);
  struct {
    TDateTime When;
    const char* Mask;
    const char* Expected;
  } cases[] = {
      {t, "yyyy-mm-dd hh:nn:ss", "2009-03-07 14:05:09"},
      {t, "yy/m/d h:n:s", "09/3/7 14:5:9"},
      {t, "zzz|z", "045|45"},
      {t, "hh:mm", "14:05"},  // m after h is minutes
      {t, "h mm", "14 05"},
      {t, "mm/dd", "03/07"},
      {t, "h:nn am/pm", "2:05 pm"},
      {t, "hh:nn AM/PM", "02:05 PM"},
      {morning, "h:nn ampm", "12:30 AM"},
      {morning, "h a/p", "12 a"},
      {t, "\"yyyy\" 'mm' yyyy", "yyyy mm 2009"},
      {t, "ddd dddd mmm mmmm", "Sat Saturday Mar March"},
      {t, "c", "2009-03-07 14:05:09"},
      {EncodeDate(2009, 3, 7), "c", "2009-03-07"},
      {t, "[yyyy]#", "[2009]#"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.Mask, c.When), c.Expected) << c.Mask;
  EXPECT_EQ(DateTimeToStr(t), "2009-03-07 14:05:09");
  EXPECT_EQ(DateToStr(t), "2009-03-07");
  EXPECT_EQ(TimeToStr(t), "14:05:09");
}

TEST(Now, SplitsIntoDateAndTime) {
  const TDateTime before = Now();
  const TDateTime date = Date();
  const TDateTime time = Time();
  EXPECT_EQ(date, std::trunc(date));
  EXPECT_GE(time, 0.0);
  EXPECT_LT(time, 1.0);
  EXPECT_GT(before, EncodeDate(2020, 1, 1));
  // Unless midnight passed between the calls, the parts add up to about now.
  if (std::trunc(before) == date) {
    EXPECT_LT(std::abs(date + time - before), 1.0 / 24);
  }
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1);  // a Sunday
}

}  // namespace
