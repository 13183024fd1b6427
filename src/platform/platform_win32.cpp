// Paths, copy and move, local time, lower-casing and the program's folder on Windows: thin
// calls of the system's own functions.
#include <windows.h>

#include <shlwapi.h>

#include "platform/platform.h"

namespace platform {

bool PathExists(const std::string& path) {
  return PathFileExistsA(path.c_str()) != FALSE;
}

bool CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool CopyFileNoOverwrite(const std::string& source, const std::string& destination) {
  return CopyFileA(source.c_str(), destination.c_str(), TRUE) != 0;
}

bool MoveFileNoOverwrite(const std::string& source, const std::string& destination) {
  // Without MOVEFILE_REPLACE_EXISTING the move never replaces; across volumes it copies, and
  // write-through makes it flush the copy before the source is deleted.
  return MoveFileExA(source.c_str(), destination.c_str(),
                     MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != 0;
}

bool LocalDateOfFileTime(FileTime time, LocalDate* date) {
  FILETIME utcTime;
  utcTime.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(time) & 0xFFFFFFFFu);
  utcTime.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(time) >> 32);
  SYSTEMTIME utc;
  SYSTEMTIME local;
  // Converting the calendar time applies the daylight-saving rule of that day, unlike
  // FileTimeToLocalFileTime, which applies today's.
  if (!FileTimeToSystemTime(&utcTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return false;
  }
  date->year = local.wYear;
  date->month = local.wMonth;
  date->day = local.wDay;
  return true;
}

std::string ToLower(const std::string& text) {
  std::string lower = text;
  if (!lower.empty()) {
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  }
  return lower;
}

std::string ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) {
      return {};
    }
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // the name was cut: read it again
  }
  const std::size_t backslash = path.rfind('\\');
  if (backslash == std::string::npos) {
    return {};
  }
  path.resize(backslash + 1);
  return path;
}

bool SetCurrentFolder(const std::string& folder) {
  return SetCurrentDirectoryA(folder.c_str()) != 0;
}

}  // namespace platform
