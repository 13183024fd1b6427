#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "test_files.h"

namespace testfiles {

bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  const timespec times[2] = {{when, 0}, {when, 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace testfiles
