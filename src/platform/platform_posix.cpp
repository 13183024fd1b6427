// Paths, local time, lower-casing and the program's folder on Linux.
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "platform/platform.h"

namespace platform {

bool PathExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

bool CreateFolder(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0;
}

bool LocalDateOfFileTime(FileTime time, LocalDate* date) {
  // Negative values are no file times (Windows refuses them too).
  if (time < 0) {
    return false;
  }
  constexpr FileTime kTicksPerSecond = 10'000'000;
  const FileTime sinceEpoch = time - kUnixEpochAsFileTime;
  // Rounded down, so that a time just before 1970 stays in 1969.
  FileTime seconds = sinceEpoch / kTicksPerSecond;
  if (sinceEpoch % kTicksPerSecond < 0) {
    --seconds;
  }
  const auto unixTime = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&unixTime, &local) == nullptr) {
    return false;
  }
  date->year = local.tm_year + 1900;
  date->month = local.tm_mon + 1;
  date->day = local.tm_mday;
  return true;
}

std::string ToLower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

std::string ProgramFolder() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) {
      return {};
    }
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);  // the name may have been cut: read it again
  }
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return {};
  }
  path.resize(slash + 1);
  return path;
}

bool SetCurrentFolder(const std::string& folder) {
  return chdir(folder.c_str()) == 0;
}

}  // namespace platform
