// File writing helpers of the album generator.
#include <chrono>
#include <ctime>
#include <filesystem>

#include "album.h"
#include "jpeg_builder.h"

namespace album {

bool SetLocalWriteTime(const std::string& path, const LocalStamp& when) {
  std::tm local{};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_isdst = -1;  // the daylight-saving rule of that day
  const std::time_t time = std::mktime(&local);
  if (time == static_cast<std::time_t>(-1)) {
    return false;
  }
  const auto written =
      std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(time));
  std::error_code error;
  std::filesystem::last_write_time(std::u8string(path.begin(), path.end()), written, error);
  return !error;
}

bool WriteFileAt(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 const LocalStamp& when) {
  return jpegbuilder::WriteBytes(path, bytes) && SetLocalWriteTime(path, when);
}

}  // namespace album
