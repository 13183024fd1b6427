// Internal to the Windows platform layer: a FILETIME as one number.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace platform::win32 {

inline FileTime FileTimeOf(const FILETIME& time) {
  return static_cast<FileTime>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime);
}

}  // namespace platform::win32
