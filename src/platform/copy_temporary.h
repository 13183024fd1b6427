// The name a copy is written under before it takes its final name: ".~tallowick-PID-N" in the
// destination folder, hidden from the walk by its leading dot. Internal to the platform layer.
#pragma once

#include <string>

namespace platform {

inline constexpr char kCopyTemporaryPrefix[] = ".~tallowick-";

// The temporary name for attempt `counter` of process `pid`.
inline std::string CopyTemporaryName(unsigned long long pid, unsigned counter) {
  return kCopyTemporaryPrefix + std::to_string(pid) + "-" + std::to_string(counter);
}

// True when `name` has the form CopyTemporaryName gives; `*pid` is then the process that made
// it. A user's file that only starts like one is not taken for one.
inline bool IsCopyTemporaryName(const std::string& name, unsigned long long* pid) {
  const std::size_t start = sizeof kCopyTemporaryPrefix - 1;
  const std::size_t dash = name.find_first_not_of("0123456789", start);
  if (name.compare(0, start, kCopyTemporaryPrefix) != 0 || dash == std::string::npos ||
      dash == start || dash - start > 10 || name[dash] != '-' || dash + 1 == name.size() ||
      name.find_first_not_of("0123456789", dash + 1) != std::string::npos) {
    return false;
  }
  *pid = 0;
  for (std::size_t i = start; i < dash; ++i) {
    *pid = *pid * 10 + static_cast<unsigned>(name[i] - '0');
  }
  return true;
}

}  // namespace platform
