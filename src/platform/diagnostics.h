// What the diagnostic logger needs from the system: the debugger output, the folder that holds
// its settings file, and the local time.
#pragma once

#include <string>

namespace platform {

// Sends one line to the debugger output. On Linux the line goes to standard error when the
// environment variable TALLOWICK_DEBUG_OUTPUT is set to anything but "0" or nothing.
void WriteDebugOutput(const char* line);

// The system folder, ending with kPathSeparator (on Linux /etc/tallowick/ stands in for it).
std::string SystemFolder();

struct LocalTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

LocalTime LocalTimeNow();

}  // namespace platform
