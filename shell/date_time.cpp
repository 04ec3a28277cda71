#include "shell/date_time.h"

#include <cmath>
#include <cstring>

#include "shell/error_text.h"
#include "shell/texts.h"

namespace vorrik {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr DateTime kHalfSecond = 0.5 / kSecondsPerDay;
// Day 0 of the OLE calendar, 1899-12-30, counted from 1970-01-01.
constexpr int64_t kOleDayZeroFromUnixEpoch = -25569;

int64_t FloorDivide(int64_t a, int64_t b) {
  const int64_t quotient = a / b;
  return quotient * b > a ? quotient - 1 : quotient;
}

// Days since 1970-01-01, proleptic Gregorian. Years are counted from March
// so that the leap day ends the year; 400-year eras repeat exactly.
int64_t DaysFromCivil(int64_t year, int32_t month, int32_t day) {
  year -= month <= 2;
  const int64_t era = FloorDivide(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// Inverse of DaysFromCivil; fills year, month and day only.
DateTimeFields CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = FloorDivide(days, 146097);
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int32_t month = static_cast<int32_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  DateTimeFields fields{};
  fields.year = static_cast<int32_t>(yearOfEra + era * 400 + (month <= 2));
  fields.month = month;
  fields.day = static_cast<int32_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  return fields;
}

DateTimeFields FieldsFromDayAndSecond(int64_t unixDay, int64_t secondOfDay) {
  DateTimeFields fields = CivilFromDays(unixDay);
  fields.hour = static_cast<int32_t>(secondOfDay / 3600);
  fields.minute = static_cast<int32_t>(secondOfDay / 60 % 60);
  fields.second = static_cast<int32_t>(secondOfDay % 60);
  return fields;
}

DateTime LimitToWordedRange(DateTime value) {
  if (!(value >= kEarliestDateTime)) return kEarliestDateTime;
  return value > kLatestDateTime ? kLatestDateTime : value;
}

// Appends to a buffer sized for the longest wording.
class WordingWriter {
 public:
  // A number in plain decimal, then its unit.
  void Field(int32_t value, const char* unit) {
    length_ += FormatSignedDecimal(value, buffer_ + length_);
    const size_t size = std::strlen(unit);
    std::memcpy(buffer_ + length_, unit, size + 1);
    length_ += size;
  }
  ConstText Get() const { return buffer_; }

 private:
  // Six numbers of at most 11 characters and six two-byte units, with room
  // for the NUL that FormatSignedDecimal writes.
  char buffer_[6 * 11 + 6 * 2 + 1] = {};
  size_t length_ = 0;
};

}  // namespace

DateTime DateTimeFromFields(const DateTimeFields& fields) {
  const int64_t day = DaysFromCivil(fields.year, fields.month, fields.day) - kOleDayZeroFromUnixEpoch;
  const int64_t secondOfDay = fields.hour * 3600 + fields.minute * 60 + fields.second;
  const DateTime timeOfDay = static_cast<DateTime>(secondOfDay) / kSecondsPerDay;
  const DateTime whole = static_cast<DateTime>(day);
  return day < 0 ? whole - timeOfDay : whole + timeOfDay;
}

DateTimeFields SplitDateTime(DateTime value) {
  value = LimitToWordedRange(value);
  value += value > 0 ? kHalfSecond : -kHalfSecond;
  const DateTime whole = std::trunc(value);
  const DateTime timeOfDay = std::fabs(value - whole);
  // The fraction is below 1, but its product can round up to a full day.
  int64_t secondOfDay = static_cast<int64_t>(timeOfDay * kSecondsPerDay);
  if (secondOfDay >= kSecondsPerDay) secondOfDay = kSecondsPerDay - 1;
  return FieldsFromDayAndSecond(static_cast<int64_t>(whole) + kOleDayZeroFromUnixEpoch, secondOfDay);
}

DateTimeFields FieldsFromUnixSeconds(int64_t seconds) {
  const int64_t day = FloorDivide(seconds, kSecondsPerDay);
  return FieldsFromDayAndSecond(day, seconds - day * kSecondsPerDay);
}

Text DateTimeToText(DateTime value) {
  const DateTimeFields f = SplitDateTime(value);
  WordingWriter text;
  text.Field(f.year, "年");
  text.Field(f.month, "月");
  text.Field(f.day, "日");
  // The time part runs down to the smallest unit that is not zero.
  if (f.hour || f.minute || f.second) text.Field(f.hour, "时");
  if (f.minute || f.second) text.Field(f.minute, "分");
  if (f.second) text.Field(f.second, "秒");
  return JoinTexts({text.Get()});
}

Text MakeClockLine(DateTime value) {
  Text wording = DateTimeToText(value);
  Text line = JoinTexts(" Zell报时：", wording);
  ReleaseBlock(wording);
  return line;
}

}  // namespace vorrik
