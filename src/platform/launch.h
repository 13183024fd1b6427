// Starting a program or opening a file through the desktop shell.
#pragma once

namespace platform {

// The show command of a normal window (SW_SHOWNORMAL).
inline constexpr int kShowNormal = 1;

// Runs `file` with the parameter text `parameters` (may be null) for the shell verb `verb`
// (may be null). With `wait` set, returns once the started process has ended: 0, or -1 at once
// when no process was started. Without `wait` returns 0, whether or not anything started.
int LaunchFile(const char* file, const char* parameters, bool wait, int show, const char* verb);

}  // namespace platform
