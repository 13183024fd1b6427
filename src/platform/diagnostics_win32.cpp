// Debugger output, system folder and local time on Windows.
#include <windows.h>

#include "platform/diagnostics.h"

namespace platform {

void WriteDebugOutput(const char* line) {
  OutputDebugStringA(line);
}

std::string SystemFolder() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  return std::string(folder, length) + "\\";
}

LocalTime LocalTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace platform
