// The name a copy is written under before it takes its final name, ".~tallowick-HOST-PID-N" in
// the destination folder, hidden from the walk by its leading dot, and which of those a later
// job may remove. HOST is eight hex digits standing for the machine and build that write it:
// named temporaries are used where unnamed files are not, which means network shares, FAT and
// exFAT, and on a share another machine's process ids say nothing here. Earlier versions wrote
// ".~tallowick-PID-N". Internal to the platform layer, open to its tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform {

inline constexpr char kCopyTemporaryPrefix[] = ".~tallowick-";

// A temporary whose process cannot be asked (another machine's, or an earlier version's, which
// names no machine) counts as left by an ended copy only once it has not changed for this long:
// a copy in progress changes its file all the time.
inline constexpr FileTime kForeignTemporaryAge = 24LL * 3600 * 10'000'000;

// The HOST of this machine and build; the same for every call.
std::uint32_t ThisHostTag();

// A tag for the writer `identity` (a build's name and the host name): its FNV-1a hash, letter
// case aside, as host names ignore it.
inline std::uint32_t HostTagOf(std::string_view identity) {
  std::uint32_t hash = 2166136261u;
  for (const char c : identity) {
    hash =
        (hash ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c)) * 16777619u;
  }
  return hash;
}

// The temporary name for attempt `counter` of process `pid` on the host `host`.
inline std::string CopyTemporaryName(std::uint32_t host, unsigned long long pid, unsigned counter) {
  char tag[16];
  std::snprintf(tag, sizeof tag, "%08x-", static_cast<unsigned>(host));
  return kCopyTemporaryPrefix + (tag + std::to_string(pid)) + "-" + std::to_string(counter);
}

// What a temporary's name tells about its writer.
struct CopyTemporary {
  bool namesHost = false;  // false: an earlier version's name
  std::uint32_t host = 0;
  unsigned long long pid = 0;
};

// True when `name` has one of the two forms; `*found` then tells what it names. A user's file
// that only starts like one is not taken for one.
inline bool ParseCopyTemporaryName(std::string_view name, CopyTemporary* found) {
  constexpr std::string_view kPrefix = kCopyTemporaryPrefix;
  constexpr std::string_view kDecimal = "0123456789";
  const auto isRun = [](std::string_view part, std::string_view allowed, std::size_t most) {
    return !part.empty() && part.size() <= most &&
           part.find_first_not_of(allowed) == std::string_view::npos;
  };
  const std::size_t last = name.rfind('-');
  if (!name.starts_with(kPrefix) || last < kPrefix.size() ||
      !isRun(name.substr(last + 1), kDecimal, 10)) {
    return false;
  }
  const std::string_view rest = name.substr(kPrefix.size(), last - kPrefix.size());
  const std::size_t dash = rest.find('-');
  const std::string_view host = dash == std::string_view::npos ? "" : rest.substr(0, dash);
  const std::string_view pid = rest.substr(host.empty() ? 0 : dash + 1);
  if (!isRun(pid, kDecimal, 10) || (dash != std::string_view::npos &&
                                    (host.size() != 8 || !isRun(host, "0123456789abcdef", 8)))) {
    return false;
  }
  found->namesHost = !host.empty();
  found->host =
      host.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(std::string(host), nullptr, 16));
  found->pid = std::stoull(std::string(pid));
  return true;
}

// Whether the temporary `found` was left by a copy that ended: for one of this host, when
// `processEnded()` says so; for any other, when it last changed (`changed()`, the newest of its
// times) longer than kForeignTemporaryAge before `now`.
template <typename ProcessEnded, typename Changed>
bool IsLeftByEndedCopy(const CopyTemporary& found, FileTime now, ProcessEnded processEnded,
                       Changed changed) {
  return found.namesHost && found.host == ThisHostTag() ? processEnded()
                                                        : now - changed() > kForeignTemporaryAge;
}

// Removes from `folder` what ended copies left there, as RemoveStaleTemporaries does, judging
// ages against the time `now`.
void RemoveStaleTemporariesAsOf(const std::string& folder, FileTime now);

}  // namespace platform
