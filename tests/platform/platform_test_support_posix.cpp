#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "platform_test_support.h"

namespace platformtest {

platform::FileTime FileTimeOfLocal(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return platform::kUnixEpochAsFileTime +
         static_cast<platform::FileTime>(std::mktime(&local)) * 10'000'000;
}

std::string OtherFileSystemFolder() {
  // The shared-memory file system, where it is a mount of its own.
  const std::string temp = std::filesystem::temp_directory_path().string();
  struct stat tempInfo;
  struct stat shmInfo;
  if (stat(temp.c_str(), &tempInfo) != 0 || stat("/dev/shm", &shmInfo) != 0 ||
      tempInfo.st_dev == shmInfo.st_dev || access("/dev/shm", W_OK) != 0) {
    return {};
  }
  return "/dev/shm/";
}

}  // namespace platformtest
