#include "skin/link_label.h"

#include <shellapi.h>

#include "skin/link_rule.h"

namespace {
void ShellOpen(const char* target) {
  ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
}  // namespace

CLinkLabel::Launcher CLinkLabel::s_launcher = ShellOpen;

CLinkLabel::CLinkLabel(int underline) {
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof m_logFont, &m_logFont);
  m_logFont.lfUnderline = static_cast<BYTE>(underline);
  m_font.reset(CreateFontIndirectA(&m_logFont));
}

// A static control may select its own font after asking for its colours, so the label's font
// is also made the control's font.
void CLinkLabel::PreSubclassWindow() {
  SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
}

void CLinkLabel::SetNotify(int notify) {
  LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  style = notify ? (style | SS_NOTIFY) : (style & ~static_cast<LONG_PTR>(SS_NOTIFY));
  SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
}

int CLinkLabel::SetLink(std::string text) {
  return ApplyLinkRule(text, &m_strLink);
}

HBRUSH CLinkLabel::CtlColor(HDC dc, UINT kind) {
  if (kind == CTLCOLOR_STATIC) {
    // The label's font (or the one a change of DPI gave it) stays selected for its text.
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
    SetTextColor(dc, m_crText);
    SetBkMode(dc, TRANSPARENT);
  }
  if (!m_brushBack)
    m_brushBack.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  return m_brushBack.get();
}

void CLinkLabel::ShowColour(COLORREF colour) {
  m_crText = colour;
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Pointer-over detection: the label holds the capture only while it needs to see the pointer
// leave after a second move over it.
void CLinkLabel::OnMouseMove() {
  SetCapture(m_hWnd);
  POINT pointer;
  GetCursorPos(&pointer);
  RECT rect;
  GetWindowRect(m_hWnd, &rect);
  if (!PtInRect(&rect, pointer)) {
    m_bHover = 0;
    ReleaseCapture();
    ShowColour(m_bVisited ? m_crVisited : m_crNormal);
    return;
  }
  if (m_bHover)
    return;
  m_bHover = 1;
  ShowColour(m_bVisited ? m_crVisited : m_crHover);
  ReleaseCapture();
  Default();
}

bool CLinkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  switch (message) {
    case WM_REFLECT_BASE + WM_CTLCOLORMSGBOX:
    case WM_REFLECT_BASE + WM_CTLCOLOREDIT:
    case WM_REFLECT_BASE + WM_CTLCOLORLISTBOX:
    case WM_REFLECT_BASE + WM_CTLCOLORBTN:
    case WM_REFLECT_BASE + WM_CTLCOLORDLG:
    case WM_REFLECT_BASE + WM_CTLCOLORSCROLLBAR:
    case WM_REFLECT_BASE + WM_CTLCOLORSTATIC: {
      UINT kind = message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX;
      HDC dc = reinterpret_cast<HDC>(wParam);
      *result = reinterpret_cast<LRESULT>(CtlColor(dc, kind));
      return true;
    }
    case WM_LBUTTONDOWN:
      m_bVisited = 1;
      ShowColour(m_crVisited);
      if (!m_strLink.empty())
        s_launcher(m_strLink.c_str());
      *result = Default();
      return true;
    case WM_SETCURSOR:
      if (!m_hLinkCursor)
        return false;
      SetCursor(m_hLinkCursor);
      *result = TRUE;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove();
      *result = 0;
      return true;
    default:
      return false;
  }
}
