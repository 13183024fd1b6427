#include "framework/wnd.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 0x54574E44;  // one subclass per window and object

HWND ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsCtlColorMessage(message))
    return reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_DRAWITEM:
      if (wParam == 0)
        return nullptr;  // a menu item, not a control
      return reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    default:
      return nullptr;
  }
}
}  // namespace

bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND child = ReflectionTarget(message, wParam, lParam);
  if (!child || !IsWindow(child))
    return false;
  LRESULT answer = SendMessageW(child, WM_REFLECT_BASE + message, wParam, lParam);
  if (answer == 0)
    return false;  // null brush or "not drawn": use the default
  *result = answer;
  return true;
}

CWnd::~CWnd() {
  UnsubclassWindow();
}

bool CWnd::SubclassWindow(HWND window) {
  if (!window || m_hWnd)
    return false;
  if (!SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  m_hWnd = window;
  PreSubclassWindow();
  return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) {
  return SubclassWindow(GetDlgItem(parent, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
  HWND window = m_hWnd;
  if (window)
    RemoveWindowSubclass(window, SubclassProc, kSubclassId);
  m_hWnd = nullptr;
  return window;
}

bool CWnd::HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) {
  return false;
}

LRESULT CWnd::Default() {
  const WindowMessage& m = m_current;
  LRESULT reflected = 0;
  if (ReflectToChild(m.message, m.wParam, m.lParam, &reflected))
    return reflected;
  return DefSubclassProc(m_hWnd, m.message, m.wParam, m.lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CWnd*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    self->m_hWnd = nullptr;
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    self->OnFinalMessage();
    return result;
  }
  // Nested messages (sent while a handler runs) keep their own "current message".
  WindowMessage saved = self->m_current;
  self->m_current = {message, wParam, lParam};
  LRESULT result = 0;
  if (!self->HandleMessage(message, wParam, lParam, &result))
    result = self->Default();
  self->m_current = saved;
  return result;
}
