#include "app/single_instance.h"

#include <cstdint>
#include <cstdio>

#include "framework/gdi_holders.h"
#include "platform/platform.h"

namespace instance {
namespace {

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

struct Search {
  const char* property;
  HWND found;
};

HWND FindRunning(const std::string& key) {
  Search search{key.c_str(), nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (!GetPropA(window, s->property))
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::string Key(const std::string& appPath) {
  // A kernel object's name holds no backslash: the folder enters it as a hash (FNV-1a).
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : platform::ToLower(appPath)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  char text[40] = "";
  std::snprintf(text, sizeof text, "Tallowick-%016llx", static_cast<unsigned long long>(hash));
  return text;
}

bool Claim(const std::string& key) {
  static fw::OwnedHandle<HANDLE, CloseKernelHandle> mutex;
  HANDLE handle = CreateMutexA(nullptr, FALSE, ("Local\\" + key).c_str());
  const DWORD error = GetLastError();
  mutex.reset(handle);
  // Without the object (a name taken by another kind of object) the program still runs.
  return !handle || error != ERROR_ALREADY_EXISTS;
}

void Mark(HWND window, const std::string& key) {
  SetPropA(window, key.c_str(), window);
}

void Unmark(HWND window, const std::string& key) {
  RemovePropA(window, key.c_str());
}

bool HandOver(const std::string& key, const std::string& arguments) {
  HWND running = nullptr;
  for (int wait = 0; wait < 50 && !(running = FindRunning(key)); ++wait)
    Sleep(100);  // the first start may still be opening its window
  if (!running)
    return false;
  // Started by the user just now, this process may give the front to the running window.
  DWORD processId = 0;
  GetWindowThreadProcessId(running, &processId);
  AllowSetForegroundWindow(processId);
  COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(arguments.size()),
                      const_cast<char*>(arguments.data())};
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, 5000, &answer) != 0;
}

}  // namespace instance
