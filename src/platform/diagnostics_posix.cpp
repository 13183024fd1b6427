// Debugger output, system folder and local time on Linux.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/diagnostics.h"

namespace platform {

void WriteDebugOutput(const char* line) {
  static const bool enabled = [] {
    const char* value = std::getenv("TALLOWICK_DEBUG_OUTPUT");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
  }();
  if (enabled) {
    std::fputs(line, stderr);
  }
}

std::string SystemFolder() {
  return "/etc/tallowick/";
}

LocalTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace platform
