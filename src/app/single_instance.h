// One running window per program folder: the folder holds Config.ini, so a second window would
// write its settings over the first one's. A second start hands its command-line arguments to
// the running window, which comes to the front, and ends.
#pragma once

#include <windows.h>

#include <string>

namespace instance {

// WM_COPYDATA's tag for a second start's hand-over; the data is its arguments as the process's
// narrow text (possibly empty).
constexpr ULONG_PTR kHandOverTag = 0x54574C4B;

// The name that stands for the program folder `appPath` (letter case ignored) in the system.
std::string Key(const std::string& appPath);
// Claims `key` for the rest of this process's life; false when another process holds it.
bool Claim(const std::string& key);
// Marks `window` as the running window of `key`; Unmark before the window goes.
void Mark(HWND window, const std::string& key);
void Unmark(HWND window, const std::string& key);
// Hands `arguments` to the running window of `key`, waiting a few seconds for it to open, and
// lets it come to the front. False when no such window appeared.
bool HandOver(const std::string& key, const std::string& arguments);

}  // namespace instance
