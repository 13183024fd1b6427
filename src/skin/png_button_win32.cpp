#include "skin/png_button.h"

#include <commctrl.h>

#include "framework/dpi.h"
#include "framework/gdiplus_holders.h"

void PngButton::LoadPng(UINT id) {
  LoadPng(id, fw::DpiOf(m_hWnd));
}

void PngButton::LoadPng(UINT id, int dpi) {
  int scale = 100;
  std::optional<ResourceImage> loaded = LoadResourceImageForDpi(id, dpi, &scale);
  if (!loaded)
    return;
  m_pImage = std::make_unique<ResourceImage>(std::move(*loaded));
  m_nDpi = dpi;
  // The strip's size at 96 DPI, then at the button's.
  auto shown = [&](UINT drawn) {
    return fw::Scale(MulDiv(static_cast<int>(drawn), 100, scale), dpi);
  };
  m_nImageWidth = shown(m_pImage->width);
  m_nImageHeight = shown(m_pImage->height);
  m_nFrameWidth = shown(m_pImage->width / 4);

  RECT rect;
  GetWindowRect(m_hWnd, &rect);
  POINT topLeft{rect.left, rect.top};
  ScreenToClient(GetParent(m_hWnd), &topLeft);
  MoveWindow(m_hWnd, topLeft.x, topLeft.y, m_nFrameWidth, m_nImageHeight, TRUE);
}

void PngButton::DrawItem(const DRAWITEMSTRUCT* item) {
  // The button class draws a change of focus or press straight over its last picture, where
  // the strip's translucent pixels would pile up (and a focus rectangle, drawn by inversion,
  // cancel out): such changes are drawn afresh over the skin instead.
  if (item->itemAction != ODA_DRAWENTIRE) {
    RepaintOverSkin();
    return;
  }
  if (!m_pImage || !m_pImage->image)
    return;
  const LONG frameWidth = static_cast<LONG>(m_pImage->width / 4);
  const LONG left = FrameOf(item->itemState) * frameWidth;
  DrawImagePart(item->hDC, m_pImage->image.get(),
                {left, 0, left + frameWidth, static_cast<LONG>(m_pImage->height)},
                {0, 0, m_nFrameWidth, m_nImageHeight});
  const bool cuesHidden = (item->itemState & ODS_NOFOCUSRECT) ||
                          (SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  if ((item->itemState & ODS_FOCUS) && !cuesHidden) {
    RECT inner = item->rcItem;
    InflateRect(&inner, -fw::Scale(2, m_nDpi), -fw::Scale(2, m_nDpi));
    DrawFocusRect(item->hDC, &inner);
  }
}

int PngButton::FrameOf(UINT itemState) const {
  return PngButtonFrame((itemState & ODS_SELECTED) != 0, m_bHover != 0);
}

void PngButton::RepaintOverSkin() {
  HWND parent = GetParent(m_hWnd);
  RECT rect{};
  GetWindowRect(m_hWnd, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool PngButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_REFLECT_BASE + WM_DRAWITEM:
      DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      *result = TRUE;
      return true;
    case WM_MOUSEMOVE:
      if (!m_bTracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = _TrackMouseEvent(&track);
      }
      *result = Default();
      return true;
    case WM_MOUSEHOVER:
      m_bHover = 1;
      RepaintOverSkin();
      *result = 0;
      return true;
    case WM_MOUSELEAVE:
      m_bTracking = 0;
      m_bHover = 0;
      RepaintOverSkin();
      *result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      *result = Default();
      RepaintOverSkin();
      return true;
    case WM_GETDLGCODE:
      // Owner-drawn, the button is no push button to the dialog manager, which would then
      // give Enter to the dialog's default command (the main window's OK would end it). While
      // focused it is the default push button, so Enter presses it as Space does.
      *result = Default() | (GetFocus() == m_hWnd ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return true;
    case BM_SETSTYLE:
      // The dialog manager marks its default button by the push-button styles: keep the type.
      *result = DefSubclassProc(m_hWnd, message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
      return true;
    case WM_LBUTTONDBLCLK:
      // The second click of a double-click presses the button again.
      *result = DefSubclassProc(m_hWnd, WM_LBUTTONDOWN, wParam, lParam);
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    default:
      return false;
  }
}
