// Screens of more than 96 dots per inch. The program declares itself per-monitor DPI aware, so
// Windows stretches none of its windows: each draws its skin, images, layout and fonts for the
// DPI of the screen it is on, from lengths given at 96 DPI.
#pragma once

#include <windows.h>

namespace fw {

// The DPI the skin and the windows' layouts are drawn for.
constexpr int kBaseDpi = 96;

// The DPI of the screen `window` is on (the system's where Windows cannot tell one window's).
int DpiOf(HWND window);

// `length` pixels at 96 DPI, at `dpi`, rounded half up as the skin's larger images are drawn.
inline int Scale(int length, int dpi) {
  return MulDiv(length, dpi, kBaseDpi);
}
// Pixels at `dpi` in pixels at 96 DPI (exact for what Scale made, at any DPI from 96 up).
inline int Unscale(int length, int dpi) {
  return MulDiv(length, kBaseDpi, dpi);
}

// Keeps the dialog manager from scaling `dialog` itself when its DPI changes (Windows 10 1703
// and later do for dialogs of per-monitor aware programs): the dialog does it.
void KeepDialogManagerFromScaling(HWND dialog);

}  // namespace fw
