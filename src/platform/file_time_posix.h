// Internal to the Linux platform layer: file times as Windows keeps them.
#pragma once

#include <time.h>

#include "platform/platform.h"

namespace platform::posix {

// A time of the system's clock or of a file's status, in 100-ns ticks since 1601.
inline FileTime FileTimeOf(const timespec& when) {
  return kUnixEpochAsFileTime + static_cast<FileTime>(when.tv_sec) * 10'000'000 +
         when.tv_nsec / 100;
}

}  // namespace platform::posix
