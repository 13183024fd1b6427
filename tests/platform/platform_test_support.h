// Helpers of the platform tests, built on the platform layer itself.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "platform/platform.h"
#include "test_files.h"

namespace platformtest {

// The file time of noon UTC on a day: a time whose local day is that day in every zone.
inline platform::FileTime FileTimeOfUtcNoon(int year, int month, int day) {
  using namespace std::chrono;
  const sys_seconds noon = sys_days{std::chrono::year{year} / month / day} + hours{12};
  return platform::kUnixEpochAsFileTime + noon.time_since_epoch().count() * 10'000'000;
}

// The local day of a file time as "YYYY-MM-DD"; "none" when it has none.
inline std::string DayOf(platform::FileTime time) {
  platform::LocalDate date;
  char text[32] = "none";
  if (platform::LocalDateOfFileTime(time, &date)) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  }
  return text;
}

struct Listed {
  bool folder = false;
  platform::FileTime written = 0;
  bool link = false;
};

inline std::map<std::string, Listed> ListedEntries(const std::string& folder) {
  std::map<std::string, Listed> entries;
  platform::FolderListing listing(folder);
  EXPECT_TRUE(listing.IsOpen()) << folder;
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    if (listing.Name() != "." && listing.Name() != "..") {
      const Listed entry{listing.IsFolder(), listing.LastWriteTime(), listing.IsLink()};
      EXPECT_TRUE(entries.emplace(listing.Name(), entry).second) << "twice: " << listing.Name();
    }
  }
  return entries;
}

}  // namespace platformtest
