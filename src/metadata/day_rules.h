// Calendar rules shared by the media date readers: which days are believable, and days from
// texts and from instants.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace dayrules {

// A day that exists in the calendar (leap years included).
bool IsCalendarDay(const platform::LocalDate& day);

// A calendar day from 1990-01-01 up to `latest` (tomorrow, normally: a camera clock a few
// hours ahead of this computer's still gives a believable day).
bool IsPlausibleDay(const platform::LocalDate& day, const platform::LocalDate& latest);

// Tomorrow in local time.
platform::LocalDate Tomorrow();

// "YYYY-MM-DD" at the start of `text`, with ':', '-' or '/' between the numbers (EXIF writes
// colons, ISO 8601 hyphens). The day is not checked.
bool ParseDayText(std::string_view text, platform::LocalDate* day);

// The local day of an instant given in seconds since 1970-01-01 UTC.
bool LocalDayOfUnixSeconds(std::int64_t seconds, platform::LocalDate* day);

// The day of a wall-clock time that a camera counts in seconds since 1970-01-01 as if its own
// zone were UTC (Canon CRW, Sigma X3F): no zone is applied.
bool DayOfWallClockSeconds(std::int64_t seconds, platform::LocalDate* day);

}  // namespace dayrules
