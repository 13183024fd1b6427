// Painting a window's skin brush into a device context that may belong to a child: a themed
// check box asks its parent to paint the background under it in the child's own context.
#pragma once

#include <windows.h>

// Fills the window's client area in `dc` with the pattern brush, the pattern aligned to the
// window's client origin wherever the context's own origin lies.
inline void PaintSkinBackground(HWND window, HDC dc, HBRUSH skin) {
  POINT origin{0, 0};
  LPtoDP(dc, &origin, 1);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, skin);
}
