// A static text turned into a link: its own font, a colour for normal, pointer-over and
// visited, a hand cursor, and a click that opens its target.
#pragma once

#include <windows.h>

#include <string>

#include "framework/gdi_holders.h"
#include "framework/wnd.h"

class CLinkLabel : public CWnd {
 public:
  explicit CLinkLabel(int underline);

  void SetNotify(int notify);
  void SetLinkCursor(HCURSOR cursor) { m_hLinkCursor = cursor; }
  int SetLink(std::string text);
  HBRUSH CtlColor(HDC dc, UINT kind);

  // Opens a link target; the shell's "open" unless replaced (a test watches it this way).
  using Launcher = void (*)(const char* target);
  static Launcher s_launcher;

  COLORREF m_crText = 0xFF0000;
  std::string m_strLink;
  int m_bVisited = 0;
  HCURSOR m_hLinkCursor = nullptr;  // borrowed: the window that sets it keeps it
  int m_bHover = 0;
  COLORREF m_crVisited = 0xFF0000;
  COLORREF m_crHover = 0x00FF00;
  COLORREF m_crNormal = 0xFF0000;
  LOGFONTA m_logFont{};
  fw::Font m_font;
  fw::Brush m_brushBack;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void PreSubclassWindow() override;

 private:
  void ShowColour(COLORREF colour);
  void OnMouseMove();
};
