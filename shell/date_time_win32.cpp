// CurrentDateTime on the system clock and the system's time-zone rules.
#include <windows.h>

#include "shell/date_time.h"

namespace vorrik {
namespace {

constexpr uint64_t kFileTimeTicksPerSecond = 10000000;
// Seconds from 1601-01-01, where file times start, to 1970-01-01.
constexpr int64_t kUnixEpochInFileTimeSeconds = 11644473600;

// Whole seconds only: the fraction is dropped, not rounded.
int64_t UnixSecondsNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks;
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  return static_cast<int64_t>(ticks.QuadPart / kFileTimeTicksPerSecond) - kUnixEpochInFileTimeSeconds;
}

SYSTEMTIME ToSystemTime(const DateTimeFields& fields) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(fields.year);
  time.wMonth = static_cast<WORD>(fields.month);
  time.wDay = static_cast<WORD>(fields.day);
  time.wHour = static_cast<WORD>(fields.hour);
  time.wMinute = static_cast<WORD>(fields.minute);
  time.wSecond = static_cast<WORD>(fields.second);
  return time;
}

DateTimeFields FromSystemTime(const SYSTEMTIME& time) {
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

DateTime CurrentDateTime() {
  const SYSTEMTIME universal = ToSystemTime(FieldsFromUnixSeconds(UnixSecondsNow()));
  SYSTEMTIME local;
  // Null zone: the active one, with the daylight-saving rule of that date.
  // It fails only on an invalid date, which the system clock cannot give;
  // universal time is then the best there is.
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) local = universal;
  return DateTimeFromFields(FromSystemTime(local));
}

}  // namespace vorrik
