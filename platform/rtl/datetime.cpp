#include "platform/rtl/datetime.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date, and back (H. Hinnant's civil algorithms).
Int64 daysFromCivil(Int64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Int64 era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + Int64(doe) - 719468;
}

void civilFromDays(Int64 z, Int64& y, unsigned& m, unsigned& d) {
  z += 719468;
  const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = Int64(yoe) + era * 400 + (m <= 2);
}

// The day number and the milliseconds of the day. The integer part is the day (negative values
// count back from 1899-12-30) and the fraction's magnitude is the time of day.
void splitDateTime(TDateTime Value, Int64& Day, Int64& MSecOfDay) {
  // No date lies this far out; the bound keeps the day arithmetic below from overflowing on a
  // corrupt value, and a value that is no number at all reads as day zero.
  constexpr double MaxDays = 1e15;
  if (std::isnan(Value)) Value = 0;
  Value = std::clamp(Value, -MaxDays, MaxDays);
  const double whole = std::trunc(Value);
  Day = Int64(whole);
  MSecOfDay = Int64(std::llround(std::fabs(Value - whole) * MSecsPerDay));
  if (MSecOfDay >= MSecsPerDay) {
    ++Day;
    MSecOfDay = 0;
  }
}

const char* const kShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
const char* const kShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool startsWithNoCase(const String& s, size_t at, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i)
    if (at + i >= s.size() || lowerAscii(s[at + i]) != lowerAscii(prefix[i])) return false;
  return true;
}

String number(Integer value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
  return buffer;
}

struct TDateTimeParts {
  Word Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
};

void appendFormatted(String& out, const String& fmt, const TDateTimeParts& p, int depth);

// Whether the format uses a 12-hour marker: then every h/hh shows the 12-hour clock.
bool hasAmPm(const String& fmt) {
  for (size_t i = 0; i < fmt.size(); ++i) {
    const char c = fmt[i];
    if (c == '"' || c == '\'') {
      const size_t end = fmt.find(c, i + 1);
      if (end == String::npos) return false;
      i = end;
    } else if (startsWithNoCase(fmt, i, "am/pm") || startsWithNoCase(fmt, i, "a/p") ||
               startsWithNoCase(fmt, i, "ampm")) {
      return true;
    }
  }
  return false;
}

void appendFormatted(String& out, const String& fmt, const TDateTimeParts& p, int depth) {
  const bool twelveHour = hasAmPm(fmt);
  bool lastWasHour = false;
  size_t i = 0;
  auto runOf = [&](char lower) {
    size_t n = 0;
    while (i + n < fmt.size() && lowerAscii(fmt[i + n]) == lower) ++n;
    return n;
  };
  while (i < fmt.size()) {
    const char c = fmt[i];
    const char lc = lowerAscii(c);
    bool hourToken = false;
    if (c == '"' || c == '\'') {
      size_t end = fmt.find(c, i + 1);
      if (end == String::npos) end = fmt.size();
      out.append(fmt, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (lc == 'y') {
      const size_t n = runOf('y');
      out += n <= 2 ? number(p.Year % 100, 2) : number(p.Year, 4);
      i += n;
    } else if (lc == 'm' && lastWasHour) {
      const size_t n = std::min<size_t>(runOf('m'), 2);
      out += number(p.Min, int(n));
      i += n;
    } else if (lc == 'm') {
      const size_t n = std::min<size_t>(runOf('m'), 4);
      if (n <= 2)
        out += number(p.Month, int(n));
      else
        out += (n == 3 ? kShortMonthNames : kLongMonthNames)[p.Month - 1];
      i += n;
    } else if (lc == 'd') {
      const size_t n = runOf('d');
      if (n <= 2) {
        out += number(p.Day, int(n));
        i += n;
      } else {
        const size_t used = std::min<size_t>(n, 4);
        out += (used == 3 ? kShortDayNames : kLongDayNames)[p.DayOfWeek - 1];
        i += used;
      }
    } else if (lc == 'h') {
      const size_t n = std::min<size_t>(runOf('h'), 2);
      Integer hour = p.Hour;
      if (twelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
      }
      out += number(hour, int(n));
      i += n;
      hourToken = true;
    } else if (lc == 'n') {
      const size_t n = std::min<size_t>(runOf('n'), 2);
      out += number(p.Min, int(n));
      i += n;
    } else if (lc == 's') {
      const size_t n = std::min<size_t>(runOf('s'), 2);
      out += number(p.Sec, int(n));
      i += n;
    } else if (lc == 'z') {
      const size_t n = runOf('z');
      const size_t used = n >= 3 ? 3 : 1;
      out += number(p.MSec, used == 3 ? 3 : 1);
      i += used;
    } else if (lc == 'a' && startsWithNoCase(fmt, i, "am/pm")) {
      // The marker keeps the case of its first letter.
      const bool upper = fmt[i] == 'A';
      out += p.Hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
    } else if (lc == 'a' && startsWithNoCase(fmt, i, "a/p")) {
      const bool upper = fmt[i] == 'A';
      out += p.Hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
      i += 3;
    } else if (lc == 'a' && startsWithNoCase(fmt, i, "ampm")) {
      out += p.Hour < 12 ? "AM" : "PM";
      i += 4;
    } else if (lc == 'c' && depth == 0) {
      appendFormatted(out, ShortDateFormat, p, depth + 1);
      if (p.Hour || p.Min || p.Sec || p.MSec) {
        out += ' ';
        appendFormatted(out, LongTimeFormat, p, depth + 1);
      }
      ++i;
    } else {
      out += c;
      ++i;
    }
    // A space or separator between "hh" and "mm" keeps "mm" meaning minutes.
    if (hourToken)
      lastWasHour = true;
    else if (lc != ' ' && lc != ':')
      lastWasHour = false;
  }
}

}  // namespace

bool IsLeapYear(Word Year) {
  return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month) {
  static const Word kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : kDays[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
    return false;
  Date = double(daysFromCivil(Year, Month, Day) + UnixDateDelta);
  return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Time = double((Int64(Hour) * 3600 + Min * 60 + Sec) * 1000 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime result = 0;
  if (!TryEncodeDate(Year, Month, Day, result)) throw EConvertError(SDateEncodeError);
  return result;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime result = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, result)) throw EConvertError(STimeEncodeError);
  return result;
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec) {
  const TDateTime date = EncodeDate(Year, Month, Day);
  const TDateTime time = EncodeTime(Hour, Min, Sec, MSec);
  // Before 1899-12-30 the fraction counts the other way.
  return date < 0 ? date - time : date + time;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
  Int64 day = 0, msec = 0;
  splitDateTime(Date, day, msec);
  Int64 y = 0;
  unsigned m = 0, d = 0;
  civilFromDays(day - UnixDateDelta, y, m, d);
  Year = Word(y);
  Month = Word(m);
  Day = Word(d);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Int64 day = 0, msec = 0;
  splitDateTime(Time, day, msec);
  Hour = Word(msec / 3600000);
  Min = Word(msec / 60000 % 60);
  Sec = Word(msec / 1000 % 60);
  MSec = Word(msec % 1000);
}

void DecodeDateTime(TDateTime DateTime, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec,
                    Word& MSec) {
  DecodeDate(DateTime, Year, Month, Day);
  DecodeTime(DateTime, Hour, Min, Sec, MSec);
}

Word DayOfWeek(TDateTime DateTime) {
  Int64 day = 0, msec = 0;
  splitDateTime(DateTime, day, msec);
  // Day 0 (1899-12-30) was a Saturday.
  Int64 index = (day + 6) % 7;
  if (index < 0) index += 7;
  return Word(index + 1);
}

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  TDateTime date = 0, time = 0;
  TryEncodeDate(Word(local.tm_year + 1900), Word(local.tm_mon + 1), Word(local.tm_mday), date);
  // A leap second shows as :59.
  TryEncodeTime(Word(local.tm_hour), Word(local.tm_min), Word(local.tm_sec > 59 ? 59 : local.tm_sec),
                Word(ts.tv_nsec / 1000000), time);
  return date + time;
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  const TDateTime now = Now();
  return now - std::trunc(now);
}

String FormatDateTime(const String& Format, TDateTime DateTime) {
  TDateTimeParts p{};
  DecodeDateTime(DateTime, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
  p.DayOfWeek = DayOfWeek(DateTime);
  String out;
  appendFormatted(out, Format, p, 0);
  return out;
}

String DateToStr(TDateTime Date) {
  return FormatDateTime(ShortDateFormat, Date);
}

String TimeToStr(TDateTime Time) {
  return FormatDateTime(LongTimeFormat, Time);
}

String DateTimeToStr(TDateTime DateTime) {
  return FormatDateTime("c", DateTime);
}
