#include "app/skin_dialog.h"

namespace {

// Fills the window's client area in `dc` with the pattern brush, the pattern aligned to the
// window's client origin wherever the context's own origin lies: a themed check box asks its
// parent to paint the background under it in the child's own context.
void PaintSkinBackground(HWND window, HDC dc, HBRUSH skin) {
  POINT origin{0, 0};
  LPtoDP(dc, &origin, 1);
  SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, skin);
}

}  // namespace

SIZE CSkinDialog::SetSkin(const fw::Bitmap& skin) {
  BITMAP info{};
  GetObjectA(skin.get(), sizeof info, &info);
  m_brushSkin.reset(CreatePatternBrush(skin.get()));
  RECT window{};
  GetWindowRect(m_hWnd, &window);
  MoveWindow(m_hWnd, window.left, window.top, info.bmWidth, info.bmHeight, TRUE);
  return {info.bmWidth, info.bmHeight};
}

SIZE CSkinDialog::LoadSkin(UINT bitmapId) {
  const fw::Bitmap skin(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId)));
  return SetSkin(skin);
}

bool CSkinDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (IsCtlColorMessage(message)) {
    HBRUSH brush = OnCtlColor(message, wParam, lParam);
    *result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
  }
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      m_brushSkin.reset();
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      PaintSkinBackground(m_hWnd, reinterpret_cast<HDC>(wParam), m_brushSkin.get());
      *result = 1;
      return true;
    case WM_LBUTTONDOWN:
      PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
      return false;  // the press also takes its standard course
    default:
      return CDialog::HandleMessage(message, wParam, lParam, result);
  }
}

HBRUSH CSkinDialog::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  ReflectToChild(message, wParam, lParam, &reflected);  // a link label selects its font here
  if (message == WM_CTLCOLORDLG)
    return m_brushSkin.get();
  if (message != WM_CTLCOLORSTATIC)
    return reinterpret_cast<HBRUSH>(reflected);
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColour(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}
