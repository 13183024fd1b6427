#include "skin/path_label.h"

#include <commctrl.h>

#include "framework/dpi.h"
#include "framework/gdi_holders.h"
#include "platform/platform.h"
#include "skin/path_ellipsis.h"

namespace {

// GDI reads narrow text in the font's code page, not the program's: the label draws UTF-16.
std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                      static_cast<int>(utf8.size()), wide.data(),
                                                      static_cast<int>(wide.size()))));
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

}  // namespace

void CPathLabel::PreSubclassWindow() {
  const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_OWNERDRAW);
  m_strTip.clear();
  m_hTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, GetParent(m_hWnd), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  TOOLINFOW tool = Tool();
  SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(m_hTip, TTM_SETMAXTIPWIDTH, 0,
               fw::Scale(600, fw::DpiOf(m_hWnd)));  // longer paths wrap
}

TOOLINFOW CPathLabel::Tool() const {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = GetParent(m_hWnd);
  tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd));
  GetWindowRect(m_hWnd, &tool.rect);
  MapWindowPoints(HWND_DESKTOP, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
  tool.lpszText = const_cast<wchar_t*>(m_strTip.c_str());
  return tool;
}

void CPathLabel::SetTip(const std::wstring& tip) {
  if (tip == m_strTip)
    return;
  m_strTip = tip;
  TOOLINFOW tool = Tool();
  SendMessageW(m_hTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CPathLabel::Draw(const DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  // The parent sets the text colour and the transparent background of its statics.
  SendMessageA(GetParent(m_hWnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(m_hWnd));
  fw::SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
  std::wstring path(static_cast<size_t>(GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
  path.resize(
      static_cast<size_t>(GetWindowTextW(m_hWnd, path.data(), static_cast<int>(path.size()))));
  RECT box = item->rcItem;
  const std::wstring shown =
      Wide(ShortenPathInMiddle(Utf8(path), platform::kPathSeparator, [&](const std::string& text) {
        const std::wstring wide = Wide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx <= box.right - box.left;
      }));
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &box,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetTip(shown == path ? std::wstring() : path);
}

bool CPathLabel::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_REFLECT_BASE + WM_DRAWITEM:
      Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      *result = TRUE;
      return true;
    case WM_WINDOWPOSCHANGED: {
      TOOLINFOW tool = Tool();
      SendMessageW(m_hTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
      *result = Default();
      return true;
    }
    case WM_DESTROY:
      if (IsWindow(m_hTip))
        DestroyWindow(m_hTip);
      m_hTip = nullptr;
      *result = Default();
      return true;
    default:
      return false;
  }
}
