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

// The base units a dialog takes from `font`: the average width of its letters, its height.
SIZE BaseUnitsOf(HFONT font) {
  static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  fw::WindowDC screen(nullptr);
  fw::SelectGuard select(screen.get(), font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.get(), &metrics);
  SIZE letters{};
  GetTextExtentPoint32W(screen.get(), kLetters, 52, &letters);
  return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
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
  if (Dpi() != fw::kBaseDpi)
    PlaceAsAtBaseDpi();
  return CDialog::OnInitDialog();
}

// The dialog manager placed the controls by the units of the dialog's font at this DPI, whose
// average width and height need not grow as the DPI does (under Wine the Song face of 15 pixels
// is as wide as one of 14), while the texts and images do: the controls and the window go where
// the font's units at 96 DPI put them, scaled, so that every DPI shows the picture of 96 DPI.
void CSkinDialog::PlaceAsAtBaseDpi() {
  RECT units{0, 0, 4, 8};
  MapDialogRect(m_hWnd, &units);  // the units in use: the average width, the height
  LOGFONTW font{};
  const HGDIOBJ dialogFont = reinterpret_cast<HGDIOBJ>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  if (!dialogFont || !GetObjectW(dialogFont, sizeof font, &font) || units.right <= 0 ||
      units.bottom <= 0)
    return;
  const int dpi = Dpi();
  font.lfHeight = MulDiv(font.lfHeight, fw::kBaseDpi, dpi);
  font.lfWidth = MulDiv(font.lfWidth, fw::kBaseDpi, dpi);
  const SIZE base = BaseUnitsOf(fw::Font(CreateFontIndirectW(&font)).get());
  auto x = [&](LONG v) { return MulDiv(v, base.cx * dpi, units.right * fw::kBaseDpi); };
  auto y = [&](LONG v) { return MulDiv(v, base.cy * dpi, units.bottom * fw::kBaseDpi); };
  for (const ControlPlace& place : ControlPlaces()) {
    const RECT& r = place.rect;
    SetWindowPos(place.control, nullptr, x(r.left), y(r.top), x(r.right) - x(r.left),
                 y(r.bottom) - y(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT window{};
  GetWindowRect(m_hWnd, &window);
  SetWindowPos(m_hWnd, nullptr, 0, 0, x(window.right - window.left), y(window.bottom - window.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<CSkinDialog::ControlPlace> CSkinDialog::ControlPlaces() const {
  std::vector<ControlPlace> places;
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
    places.push_back(
        {control, rect, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0))});
  }
  return places;
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
    m_firstPlaces = ControlPlaces();
  }
  m_nDpi = dpi;
  auto scaled = [&](LONG length) { return MulDiv(length, dpi, m_nFirstDpi); };
  std::vector<std::pair<HFONT, fw::Font>> fonts;
  for (const ControlPlace& place : m_firstPlaces) {
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
