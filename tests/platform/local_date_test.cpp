#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform_test_support.h"

namespace {

using platformtest::FileTimeOfLocal;
using platformtest::FileTimeOfUtcNoon;

constexpr platform::FileTime kTick = 1;
constexpr platform::FileTime kSecond = 10'000'000;

testing::AssertionResult IsDay(platform::FileTime time, int year, int month, int day) {
  platform::LocalDate date;
  if (!platform::LocalDateOfFileTime(time, &date)) {
    return testing::AssertionFailure() << "no date for " << time;
  }
  if (date.year != year || date.month != month || date.day != day) {
    return testing::AssertionFailure()
           << "got " << date.year << "-" << date.month << "-" << date.day << " for " << time;
  }
  return testing::AssertionSuccess();
}

TEST(LocalDateOfFileTime, DayChangesExactlyAtLocalMidnight) {
  struct Case {
    int year, month, day;  // the day that begins at this midnight
    int prevYear, prevMonth, prevDay;
  };
  const Case cases[] = {
      {2012, 5, 17, 2012, 5, 16}, {2000, 3, 1, 2000, 2, 29},  {2024, 1, 1, 2023, 12, 31},
      {2021, 7, 15, 2021, 7, 14}, {2021, 1, 15, 2021, 1, 14},
  };
  for (const Case& c : cases) {
    const platform::FileTime midnight = FileTimeOfLocal(c.year, c.month, c.day, 0, 0, 0);
    EXPECT_TRUE(IsDay(midnight, c.year, c.month, c.day));
    EXPECT_TRUE(IsDay(midnight + kSecond - kTick, c.year, c.month, c.day));
    EXPECT_TRUE(IsDay(midnight - kTick, c.prevYear, c.prevMonth, c.prevDay));
    const platform::FileTime lastSecond = FileTimeOfLocal(c.year, c.month, c.day, 23, 59, 59);
    EXPECT_TRUE(IsDay(lastSecond + kSecond - kTick, c.year, c.month, c.day));
  }
}

TEST(LocalDateOfFileTime, ReachesYearsFarFromNow) {
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(1601, 1, 2), 1601, 1, 2));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(1601, 7, 2), 1601, 7, 2));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(1900, 2, 28), 1900, 2, 28));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(1969, 12, 31), 1969, 12, 31));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(2038, 1, 20), 2038, 1, 20));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(2100, 3, 1), 2100, 3, 1));
  EXPECT_TRUE(IsDay(FileTimeOfUtcNoon(9999, 12, 30), 9999, 12, 30));

  platform::LocalDate date;
  EXPECT_FALSE(platform::LocalDateOfFileTime(-1, &date));  // before 1601: no file time
}

}  // namespace
