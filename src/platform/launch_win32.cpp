// Launching through ShellExecuteExA.
#include <windows.h>

#include <shellapi.h>

#include "platform/launch.h"

namespace platform {

int LaunchFile(const char* file, const char* parameters, bool wait, int show, const char* verb) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_DOENVSUBST |
               SEE_MASK_NO_CONSOLE | SEE_MASK_FLAG_LOG_USAGE;
  info.lpVerb = verb;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.nShow = show;
  ShellExecuteExA(&info);  // a failure shows as a missing process handle
  if (!wait) {
    if (info.hProcess != nullptr) {
      CloseHandle(info.hProcess);
    }
    return 0;
  }
  if (info.hProcess == nullptr) {
    return -1;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hProcess);
  return 0;
}

}  // namespace platform
