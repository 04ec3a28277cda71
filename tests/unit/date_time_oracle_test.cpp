// DateTimeToText against an independent computation: random values over the
// whole range, worded by a civil-from-days algorithm written separately here.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "shell/blocks.h"
#include "shell/date_time.h"
#include "tests/unit/host_blocks.h"

namespace vorrik {
namespace {

// Days since 1970-01-01 to (year, month, day), proleptic Gregorian.
void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

// The wording computed in whole seconds: an OLE date counts its fraction
// away from day 0 on both sides, so a negative value's time runs forwards
// from its (truncated) day.
std::string Oracle(double v) {
  v = std::fmin(std::fmax(v, -657434.0), 2958465.0);
  v += v > 0 ? 0.5 / 86400 : -0.5 / 86400;
  const double wholeDays = std::trunc(v);
  const int64_t seconds = static_cast<int64_t>(std::floor(std::fabs(v - wholeDays) * 86400));
  int64_t y;
  int m, d;
  CivilFromDays(static_cast<int64_t>(wholeDays) - 25569, y, m, d);  // 25569: 1899-12-30 to 1970-01-01
  const int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60),
            second = static_cast<int>(seconds % 60);
  std::string text = std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(d) + "日";
  if (second) return text + std::to_string(hour) + "时" + std::to_string(minute) + "分" + std::to_string(second) + "秒";
  if (minute) return text + std::to_string(hour) + "时" + std::to_string(minute) + "分";
  if (hour) return text + std::to_string(hour) + "时";
  return text;
}

TEST(DateTimeOracle, RandomValuesOverTheWholeRangeMatchAnIndependentCalendar) {
  const long blocksBefore = LiveBlockCount();
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> anywhere(-657434.0, 2958465.0);
  std::uniform_int_distribution<int64_t> day(-657434, 2958464);
  std::uniform_int_distribution<int> second(0, 86399);
  for (int i = 0; i < 200000; ++i) {
    // Half arbitrary doubles, half exact whole seconds (where rounding matters most).
    double v = i % 2 ? anywhere(random) : double(day(random)) + second(random) / 86400.0;
    Text text = DateTimeToText(v);
    ASSERT_EQ(std::string(text ? text : ""), Oracle(v)) << "value " << v;
    ReleaseBlock(text);
  }
  EXPECT_EQ(LiveBlockCount(), blocksBefore);
}

}  // namespace
}  // namespace vorrik
