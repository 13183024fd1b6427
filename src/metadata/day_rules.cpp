#include "metadata/day_rules.h"

#include <chrono>
#include <tuple>

namespace dayrules {
namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsPerDay = 86400;
// Far beyond any believable day, and small enough that ticks cannot overflow.
constexpr std::int64_t kLatestSeconds = 400LL * 366 * kSecondsPerDay;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsDateSeparator(char c) {
  return c == ':' || c == '-' || c == '/';
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
  }
  return value;
}

auto Key(const platform::LocalDate& day) {
  return std::tie(day.year, day.month, day.day);
}

}  // namespace

bool IsCalendarDay(const platform::LocalDate& day) {
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (day.month < 1 || day.month > 12 || day.day < 1) {
    return false;
  }
  const bool leap = (day.year % 4 == 0 && day.year % 100 != 0) || day.year % 400 == 0;
  return day.day <= kDaysInMonth[day.month - 1] + (day.month == 2 && leap ? 1 : 0);
}

bool IsPlausibleDay(const platform::LocalDate& day, const platform::LocalDate& latest) {
  static constexpr platform::LocalDate kEarliest{1990, 1, 1};
  return IsCalendarDay(day) && Key(day) >= Key(kEarliest) && Key(day) <= Key(latest);
}

platform::LocalDate Tomorrow() {
  const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  platform::LocalDate day;
  if (!LocalDayOfUnixSeconds(now + kSecondsPerDay, &day)) {
    day = platform::LocalDate{9999, 12, 31};
  }
  return day;
}

bool ParseDayText(std::string_view text, platform::LocalDate* day) {
  if (text.size() < 10 || !IsDateSeparator(text[4]) || !IsDateSeparator(text[7])) {
    return false;
  }
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(text[i])) {
      return false;
    }
  }
  *day = platform::LocalDate{Number(text.substr(0, 4)), Number(text.substr(5, 2)),
                             Number(text.substr(8, 2))};
  return true;
}

bool LocalDayOfUnixSeconds(std::int64_t seconds, platform::LocalDate* day) {
  if (seconds < -kLatestSeconds || seconds > kLatestSeconds) {
    return false;
  }
  return platform::LocalDateOfFileTime(platform::kUnixEpochAsFileTime + seconds * kTicksPerSecond,
                                       day);
}

bool DayOfWallClockSeconds(std::int64_t seconds, platform::LocalDate* day) {
  if (seconds < -kLatestSeconds || seconds > kLatestSeconds) {
    return false;
  }
  using namespace std::chrono;
  const std::int64_t days =
      seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  const year_month_day date{sys_days{std::chrono::days{days}}};
  *day =
      platform::LocalDate{static_cast<int>(date.year()), static_cast<int>(unsigned{date.month()}),
                          static_cast<int>(unsigned{date.day()})};
  return true;
}

}  // namespace dayrules
