#include <windows.h>

#include "platform_test_support.h"

namespace platformtest {

platform::FileTime FileTimeOfLocal(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(year);
  local.wMonth = static_cast<WORD>(month);
  local.wDay = static_cast<WORD>(day);
  local.wHour = static_cast<WORD>(hour);
  local.wMinute = static_cast<WORD>(minute);
  local.wSecond = static_cast<WORD>(second);
  SYSTEMTIME utc;
  FILETIME time;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
      !SystemTimeToFileTime(&utc, &time)) {
    return -1;
  }
  return static_cast<platform::FileTime>(
      (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::string OtherFileSystemFolder() {
  // Under Wine the Linux root is drive Z:, and its shared-memory folder is a memory file
  // system apart from the prefix's drive C:, which holds the temporary folder.
  char temp[MAX_PATH + 1];
  const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
  const char* shm = "Z:\\dev\\shm\\";
  if (length == 0 || temp[0] == 'Z' || temp[0] == 'z' ||
      GetFileAttributesA(shm) == INVALID_FILE_ATTRIBUTES) {
    return {};
  }
  return shm;
}

}  // namespace platformtest
