// Date-time values: OLE Automation dates in local time. Portable; the clock
// itself is read by CurrentDateTime in date_time_win32.cpp.
#pragma once
#include <cstdint>

#include "shell/blocks.h"

namespace vorrik {

// Days since 1899-12-30 (day 0); the fraction is the time of day. Before
// day 0 the whole part is negative but the fraction still counts forwards
// from midnight: -1.25 is 1899-12-29 06:00.
using DateTime = double;

// The range that can be worded: 0100-01-01 and 9999-12-31, both at midnight.
constexpr DateTime kEarliestDateTime = -657434.0;
constexpr DateTime kLatestDateTime = 2958465.0;

// Proleptic Gregorian calendar fields; month 1-12, day 1-31, hour 0-23.
struct DateTimeFields {
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
  bool operator==(const DateTimeFields&) const = default;
};

// The OLE date of valid fields.
DateTime DateTimeFromFields(const DateTimeFields& fields);

// Fields of a value limited to the worded range and rounded to the nearest
// second (halves away from zero). NaN counts as the earliest value.
DateTimeFields SplitDateTime(DateTime value);

// UTC fields of a count of seconds since 1970-01-01 00:00:00 UTC.
DateTimeFields FieldsFromUnixSeconds(int64_t seconds);

// The local date and time now, to the whole second. Target only.
DateTime CurrentDateTime();

// "2013年11月2日8时5分3秒"; the time part ends at the smallest non-zero unit
// and is left out at midnight. A new block owned by the caller.
Text DateTimeToText(DateTime value);

// The game window's clock line: " Zell报时：" and the wording of value.
Text MakeClockLine(DateTime value);

}  // namespace vorrik
