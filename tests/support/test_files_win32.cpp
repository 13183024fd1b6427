#include <windows.h>

#include "test_files.h"

namespace testfiles {

bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour) {
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(year);
  local.wMonth = static_cast<WORD>(month);
  local.wDay = static_cast<WORD>(day);
  local.wHour = static_cast<WORD>(hour);
  SYSTEMTIME utc;
  FILETIME written;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
      !SystemTimeToFileTime(&utc, &written)) {
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  const bool ok = SetFileTime(file, nullptr, nullptr, &written) != 0;
  CloseHandle(file);
  return ok;
}

}  // namespace testfiles
