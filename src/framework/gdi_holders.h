// Move-only owners of GDI handles, and scope guards for device contexts and selections.
// A borrowed handle stays a plain handle; only these types delete what they hold.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// Owns one handle (or pointer to an object) and frees it with Free::operator() when it goes.
template <typename Handle, typename Free>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : m_h(handle) {}
  ~OwnedHandle() { reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : m_h(other.release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }

  Handle get() const { return m_h; }
  explicit operator bool() const { return m_h != nullptr; }
  Handle release() { return std::exchange(m_h, nullptr); }
  void reset(Handle handle = nullptr) {
    Handle old = std::exchange(m_h, handle);
    if (old)
      Free{}(old);
  }
  // For functions that hand out a new handle through a pointer: frees the old one first.
  Handle* put() {
    reset();
    return &m_h;
  }

 private:
  Handle m_h = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyCursorHandle {
  void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};

using Brush = OwnedHandle<HBRUSH, DeleteGdiObject>;
using Font = OwnedHandle<HFONT, DeleteGdiObject>;
using Bitmap = OwnedHandle<HBITMAP, DeleteGdiObject>;
// Only for cursors made or loaded from a file; shared cursors from LoadCursor stay borrowed.
using Cursor = OwnedHandle<HCURSOR, DestroyCursorHandle>;

// Selects an object into a device context and puts the previous one back at scope end.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (m_previous && m_previous != HGDI_ERROR)
      SelectObject(m_dc, m_previous);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// GetDC / ReleaseDC of one window (null: the screen).
class WindowDC {
 public:
  explicit WindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  ~WindowDC() {
    if (m_dc)
      ReleaseDC(m_window, m_dc);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// BeginPaint / EndPaint for a WM_PAINT handler.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
  ~PaintDC() { EndPaint(m_window, &m_paint); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return m_dc; }
  const RECT& area() const { return m_paint.rcPaint; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

}  // namespace fw
