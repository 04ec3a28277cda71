#include "shell/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "tests/unit/host_blocks.h"

namespace vorrik {

void PrintTo(const DateTimeFields& f, std::ostream* out) {
  *out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':' << f.second;
}

namespace {

constexpr double kDay2013_11_02 = 41580;  // OLE day of 2013-11-02
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A time on a day at or after day 0, where the fraction simply adds.
constexpr double At(double day, int hour, int minute, double second) {
  return day + (hour * 3600 + minute * 60 + second) / 86400;
}

class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override { liveAtStart_ = LiveBlockCount(); }
  void TearDown() override { EXPECT_EQ(LiveBlockCount(), liveAtStart_) << "block leaked or released twice"; }

 private:
  long liveAtStart_ = 0;
};

std::string Take(Text text) {
  std::string bytes(text ? text : "(null)");
  ReleaseBlock(text);
  return bytes;
}

TEST_F(DateTimeTest, WordingEndsAtTheSmallestNonZeroUnit) {
  const struct {
    double value;
    const char* wording;
  } cases[] = {
      {At(kDay2013_11_02, 8, 5, 3), "2013年11月2日8时5分3秒"},
      {At(kDay2013_11_02, 8, 5, 0), "2013年11月2日8时5分"},
      {At(kDay2013_11_02, 8, 0, 0), "2013年11月2日8时"},
      {At(kDay2013_11_02, 0, 0, 0), "2013年11月2日"},
      {At(kDay2013_11_02, 0, 0, 1), "2013年11月2日0时0分1秒"},
      {At(kDay2013_11_02, 0, 0, 7), "2013年11月2日0时0分7秒"},
      {At(kDay2013_11_02, 14, 0, 30), "2013年11月2日14时0分30秒"},
      {At(kDay2013_11_02, 0, 10, 0), "2013年11月2日0时10分"},
      {At(kDay2013_11_02, 23, 59, 59), "2013年11月2日23时59分59秒"},
      {At(36585, 12, 0, 0), "2000年2月29日12时"},
  };
  for (const auto& c : cases) EXPECT_EQ(Take(DateTimeToText(c.value)), c.wording) << c.value;
}

TEST_F(DateTimeTest, WordingRoundsToTheNearestSecond) {
  const struct {
    double value;
    const char* wording;
  } cases[] = {
      {At(kDay2013_11_02, 8, 5, 2.4), "2013年11月2日8时5分2秒"},
      {At(kDay2013_11_02, 8, 5, 2.5), "2013年11月2日8时5分3秒"},
      {At(kDay2013_11_02, 8, 4, 59.6), "2013年11月2日8时5分"},
      {At(kDay2013_11_02, 23, 59, 59.6), "2013年11月3日"},
      {At(kDay2013_11_02, 0, 0, 0.4), "2013年11月2日"},
      {At(36584, 23, 59, 59.5), "2000年2月29日"},
      {At(59, 23, 59, 59.7), "1900年2月28日"},
      {At(60, 23, 59, 59.7), "1900年3月1日"},
      {At(-1, 0, 0, 0) - 0.4 / 86400, "1899年12月29日"},  // rounds in the value's direction
  };
  for (const auto& c : cases) EXPECT_EQ(Take(DateTimeToText(c.value)), c.wording) << c.value;
}

TEST_F(DateTimeTest, WordingBeforeDayZeroCountsTheFractionForwards) {
  const struct {
    double value;
    const char* wording;
  } cases[] = {
      {0.0, "1899年12月30日"},
      {-0.0, "1899年12月30日"},
      {-0.5, "1899年12月30日12时"},
      {-1.0, "1899年12月29日"},
      {-1.25, "1899年12月29日6时"},
      {-1.75, "1899年12月29日18时"},
      {-(1 + (6 * 3600 + 0.6) / 86400), "1899年12月29日6时0分1秒"},
      {-109205.5, "1601年1月1日12时"},
  };
  for (const auto& c : cases) EXPECT_EQ(Take(DateTimeToText(c.value)), c.wording) << c.value;
}

TEST_F(DateTimeTest, WordingIsLimitedToItsRange) {
  const struct {
    double value;
    const char* wording;
  } cases[] = {
      {kLatestDateTime, "9999年12月31日"},
      {2958465.5, "9999年12月31日"},
      {2958465.9999999, "9999年12月31日"},
      {1e300, "9999年12月31日"},
      {kInfinity, "9999年12月31日"},
      {At(2958464, 23, 59, 59), "9999年12月30日23时59分59秒"},
      {kEarliestDateTime, "100年1月1日"},
      {-657434.25, "100年1月1日"},
      {-693593.0, "100年1月1日"},
      {-kInfinity, "100年1月1日"},
      {std::nan(""), "100年1月1日"},
      {-657433.25, "100年1月2日6时"},
  };
  for (const auto& c : cases) EXPECT_EQ(Take(DateTimeToText(c.value)), c.wording) << c.value;
}

TEST_F(DateTimeTest, CalendarFollowsTheGregorianLeapRules) {
  const struct {
    DateTimeFields fields;
    double value;
  } cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0},
      {{1899, 12, 31, 0, 0, 0}, 1},
      {{1900, 2, 28, 0, 0, 0}, 60},  // 1900 has no 29 February
      {{1900, 3, 1, 0, 0, 0}, 61},
      {{1970, 1, 1, 0, 0, 0}, 25569},
      {{2000, 2, 29, 0, 0, 0}, 36585},  // but 2000 has
      {{2000, 3, 1, 0, 0, 0}, 36586},
      {{2013, 11, 2, 8, 5, 3}, At(kDay2013_11_02, 8, 5, 3)},
      {{2024, 2, 29, 18, 0, 0}, 45351.75},
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{1601, 1, 1, 0, 0, 0}, -109205},
      {{100, 1, 1, 0, 0, 0}, kEarliestDateTime},
      {{9999, 12, 31, 0, 0, 0}, kLatestDateTime},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(DateTimeFromFields(c.fields), c.value) << c.value;
    EXPECT_EQ(SplitDateTime(c.value), c.fields) << c.value;
  }
}

TEST_F(DateTimeTest, EveryDayOfTheRangeSplitsToTheNextCalendarDay) {
  DateTimeFields previous = SplitDateTime(kEarliestDateTime);
  for (double day = kEarliestDateTime + 1; day <= kLatestDateTime; ++day) {
    const DateTimeFields f = SplitDateTime(day);
    const bool nextInMonth = f.year == previous.year && f.month == previous.month && f.day == previous.day + 1;
    const bool nextMonth = f.day == 1 && ((f.year == previous.year && f.month == previous.month + 1) ||
                                          (f.year == previous.year + 1 && f.month == 1 && previous.month == 12));
    ASSERT_TRUE(nextInMonth || nextMonth) << day;
    ASSERT_LE(f.day, 31) << day;
    ASSERT_EQ(DateTimeFromFields(f), day);
    previous = f;
  }
  EXPECT_EQ(previous, (DateTimeFields{9999, 12, 31, 0, 0, 0}));
}

TEST_F(DateTimeTest, FieldsFromUnixSecondsAreUniversalTime) {
  const struct {
    int64_t seconds;
    DateTimeFields fields;
  } cases[] = {
      {0, {1970, 1, 1, 0, 0, 0}},
      {-1, {1969, 12, 31, 23, 59, 59}},
      {1383379503, {2013, 11, 2, 8, 5, 3}},
      {951868799, {2000, 2, 29, 23, 59, 59}},
      {-2203848000, {1900, 3, 1, 12, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(FieldsFromUnixSeconds(c.seconds), c.fields) << c.seconds;
}

TEST_F(DateTimeTest, ClockLineIsThePrefixAndTheWording) {
  EXPECT_EQ(Take(MakeClockLine(At(kDay2013_11_02, 8, 5, 3))), " Zell报时：2013年11月2日8时5分3秒");
  EXPECT_EQ(Take(MakeClockLine(At(kDay2013_11_02, 8, 5, 0))), " Zell报时：2013年11月2日8时5分");
  EXPECT_EQ(Take(MakeClockLine(At(kDay2013_11_02, 0, 0, 0))), " Zell报时：2013年11月2日");
}

}  // namespace
}  // namespace vorrik
