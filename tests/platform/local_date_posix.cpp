#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform_test_support.h"

namespace {

// Sets the process's time zone for one test and restores it afterwards.
class ZoneGuard {
 public:
  explicit ZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      old_ = old;
    }
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneGuard() {
    if (old_) {
      setenv("TZ", old_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

platform::LocalDate DateOf(platform::FileTime time) {
  platform::LocalDate date;
  EXPECT_TRUE(platform::LocalDateOfFileTime(time, &date));
  return date;
}

constexpr platform::FileTime kHour = 3600LL * 10'000'000;

TEST(LocalDatePosix, DaylightSavingOfThatDayDecides) {
  // Eastern time: UTC-5 in winter, UTC-4 from March to November.
  ZoneGuard zone("EST5EDT,M3.2.0,M11.1.0");
  // 04:30 UTC is 00:30 local in summer (the same day) but 23:30 the day before in winter.
  const platform::FileTime summer =
      platformtest::FileTimeOfUtcNoon(2012, 7, 4) - 7 * kHour - kHour / 2;
  const platform::FileTime winter =
      platformtest::FileTimeOfUtcNoon(2012, 1, 4) - 7 * kHour - kHour / 2;
  EXPECT_EQ(DateOf(summer).day, 4);
  EXPECT_EQ(DateOf(winter).day, 3);
}

TEST(LocalDatePosix, TimesBefore1970RoundDown) {
  ZoneGuard zone("UTC0");
  const platform::FileTime epoch = platform::kUnixEpochAsFileTime;
  const platform::LocalDate before = DateOf(epoch - 5'000'000);  // 1969-12-31 23:59:59.5
  EXPECT_EQ(before.year, 1969);
  EXPECT_EQ(before.month, 12);
  EXPECT_EQ(before.day, 31);
  EXPECT_EQ(DateOf(epoch).year, 1970);
  const platform::LocalDate first = DateOf(0);
  EXPECT_EQ(first.year, 1601);
  EXPECT_EQ(first.month, 1);
  EXPECT_EQ(first.day, 1);
}

}  // namespace
