#include <windows.h>

#include <atomic>
#include <thread>

#include "launch_command.h"

LaunchCommand WriteMarkerLater(const std::string& /*folder*/, const std::string& marker) {
  return {"cmd.exe", "/c ping -n 2 127.0.0.1 >nul & echo done> \"" + marker + "\""};
}

struct ShellErrorBoxAnswerer::Impl {
  std::atomic<bool> stop{false};
  std::thread watcher;
};

namespace {

// Presses OK on every dialog box of this process that is on screen.
BOOL CALLBACK PressOkOnOwnBoxes(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      lstrcmpA(className, "#32770") == 0) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}

}  // namespace

ShellErrorBoxAnswerer::ShellErrorBoxAnswerer() : impl_(std::make_unique<Impl>()) {
  impl_->watcher = std::thread([impl = impl_.get()] {
    while (!impl->stop) {
      EnumWindows(PressOkOnOwnBoxes, 0);
      Sleep(50);
    }
  });
}

ShellErrorBoxAnswerer::~ShellErrorBoxAnswerer() {
  impl_->stop = true;
  impl_->watcher.join();
}
