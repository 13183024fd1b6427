#include "framework/dpi.h"

namespace fw {
namespace {

// A function of user32 that older versions of Windows lack.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

}  // namespace

int DpiOf(HWND window) {
  static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window))
      return static_cast<int>(dpi);
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

void KeepDialogManagerFromScaling(HWND dialog) {
  // DDC_DISABLE_ALL: no resizing, no new fonts, no moved controls.
  constexpr int kDisableAll = 1;
  static const auto setBehaviour =
      User32Function<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior");
  if (setBehaviour)
    setBehaviour(dialog, kDisableAll, kDisableAll);
}

}  // namespace fw
