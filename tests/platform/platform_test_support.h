// Helpers of the platform tests: local times and a second file system, made with the
// operating system's own calls.
#pragma once

#include <string>

#include "platform/platform.h"

namespace platformtest {

// The file time of a local calendar time, converted by the system's rules for that day.
platform::FileTime FileTimeOfLocal(int year, int month, int day, int hour, int minute, int second);

// The file time of noon UTC on a day: a time whose local day is that day in every zone.
platform::FileTime FileTimeOfUtcNoon(int year, int month, int day);

// A folder on another file system (or volume) than the temporary folder; empty when there is
// none.
std::string OtherFileSystemFolder();

// Bytes of every value, in an order that no offset mix-up preserves.
std::string MixedBytes(std::size_t size);

// The last-write time of `name` as the listing of `folder` gives it; 0 when it is not listed.
platform::FileTime ListedWriteTime(const std::string& folder, const std::string& name);

}  // namespace platformtest
