// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day (local time).
#pragma once

#include "platform/rtl/types.h"

inline constexpr Integer HoursPerDay = 24;
inline constexpr Integer MinsPerDay = 24 * 60;
inline constexpr Integer SecsPerDay = 24 * 60 * 60;
inline constexpr Integer MSecsPerDay = SecsPerDay * 1000;
inline constexpr Integer UnixDateDelta = 25569;  // day number of 1970-01-01

// The formats of 'c', DateToStr, TimeToStr and DateTimeToStr.
inline constexpr const char* ShortDateFormat = "yyyy-mm-dd";
inline constexpr const char* LongTimeFormat = "hh:nn:ss";

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);

// Year 1..9999; EncodeDate/EncodeTime raise EConvertError on invalid parts.
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime DateTime, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec,
                    Word& MSec);
// 1 = Sunday … 7 = Saturday.
Word DayOfWeek(TDateTime DateTime);

// Local wall-clock time, to the millisecond.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Masks: yyyy yy (also y, yyy), m mm mmm mmmm (m right after h or hh means minutes), d dd ddd dddd,
// h hh, n nn, s ss, z zzz, am/pm a/p ampm (12-hour clock when present), c (date and time),
// "quoted" and 'quoted' text; every other character, '/' and ':' included, stands for itself.
// Month and day names are English.
String FormatDateTime(const String& Format, TDateTime DateTime);
String DateToStr(TDateTime Date);
String TimeToStr(TDateTime Time);
// Date and time; the time is left out when it is midnight.
String DateTimeToStr(TDateTime DateTime);
