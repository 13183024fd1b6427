// A C++ object bound to an existing window by subclassing (comctl32's SetWindowSubclass).
// The binding ends at WM_NCDESTROY, so one long-lived object can be bound to a fresh window
// each time its dialog opens.
#pragma once

#include <windows.h>

// Private messages by which a parent hands WM_CTLCOLOR* and WM_DRAWITEM to the child's object.
constexpr UINT WM_REFLECT_BASE = WM_APP + 0x2000;

// A control's or a dialog's colour request: WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC.
inline bool IsCtlColorMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The message a window object is dispatching, for its Default().
struct WindowMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  bool SubclassWindow(HWND window);
  bool SubclassDlgItem(UINT id, HWND parent);
  // Ends the binding early; the window keeps working with its own procedure.
  HWND UnsubclassWindow();

  HWND m_hWnd = nullptr;

 protected:
  // The class's own message table: returns true with *result set when it handled the message.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The standard handling of the message being dispatched.
  LRESULT Default();
  // Called once the object is bound to a window.
  virtual void PreSubclassWindow() {}
  // Called after the binding has ended because the window was destroyed.
  virtual void OnFinalMessage() {}

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  WindowMessage m_current{};
};

// The parent's standard handling of WM_CTLCOLOR* and WM_DRAWITEM: asks the child concerned.
// Returns true when the child answered (a brush, or "drawn"), with the answer in *result.
bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
