#include "app/skin_dialog.h"

#include "skin/global.h"

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
  SIZE base{};
  const fw::Bitmap skin = LoadSkinBitmap(bitmapId, Dpi(), &base);
  SetSkin(skin);
  return base;
}

BOOL CSkinDialog::OnInitDialog() {
  fw::KeepDialogManagerFromScaling(m_hWnd);
  return CDialog::OnInitDialog();
}

int CSkinDialog::Dpi() {
  if (!m_nDpi)
    m_nDpi = fw::DpiOf(m_hWnd);
  return m_nDpi;
}

void CSkinDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  if (m_firstPlaces.empty()) {
    m_nFirstDpi = Dpi();
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    m_firstSize = {window.right - window.left, window.bottom - window.top};
    for (HWND control = GetWindow(m_hWnd, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
      RECT rect{};
      GetWindowRect(control, &rect);
      // A drop-down list's height is that of its open list.
      char kind[16] = "";
      GetClassNameA(control, kind, sizeof kind);
      if (lstrcmpiA(kind, "ComboBox") == 0)
        SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
      MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
      m_firstPlaces.push_back(
          {control, rect, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0))});
    }
  }
  m_nDpi = dpi;
  auto scaled = [&](LONG length) { return MulDiv(length, dpi, m_nFirstDpi); };
  std::vector<std::pair<HFONT, fw::Font>> fonts;
  for (const FirstPlace& place : m_firstPlaces) {
    SendMessageA(place.control, WM_SETFONT, reinterpret_cast<WPARAM>(ScaledFont(place.font, fonts)),
                 FALSE);
    const RECT& r = place.rect;
    SetWindowPos(place.control, nullptr, scaled(r.left), scaled(r.top),
                 scaled(r.right) - scaled(r.left), scaled(r.bottom) - scaled(r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_scaledFonts = std::move(fonts);  // the last DPI's fonts go, now that no control holds one
  SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, scaled(m_firstSize.cx),
               scaled(m_firstSize.cy), SWP_NOZORDER | SWP_NOACTIVATE);
  OnDpiLayout();
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HFONT CSkinDialog::ScaledFont(HFONT first, std::vector<std::pair<HFONT, fw::Font>>& made) const {
  if (!first || m_nDpi == m_nFirstDpi)
    return first;
  for (const auto& [from, font] : made) {
    if (from == first)
      return font.get();
  }
  LOGFONTW font{};
  GetObjectW(first, sizeof font, &font);
  font.lfHeight = MulDiv(font.lfHeight, m_nDpi, m_nFirstDpi);
  font.lfWidth = MulDiv(font.lfWidth, m_nDpi, m_nFirstDpi);
  made.emplace_back(first, fw::Font(CreateFontIndirectW(&font)));
  return made.back().second.get();
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
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      *result = 0;
      return true;
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
