#include "skin/png_button.h"

#include <commctrl.h>

#include "framework/gdiplus_holders.h"

void PngButton::LoadPng(UINT id) {
  std::optional<ResourceImage> loaded = LoadResourceImage(id);
  if (!loaded)
    return;
  m_pImage = std::make_unique<ResourceImage>(std::move(*loaded));
  m_nImageWidth = static_cast<int>(m_pImage->width);
  m_nImageHeight = static_cast<int>(m_pImage->height);
  m_nFrameWidth = m_nImageWidth / 4;

  RECT rect;
  GetWindowRect(m_hWnd, &rect);
  POINT topLeft{rect.left, rect.top};
  ScreenToClient(GetParent(m_hWnd), &topLeft);
  MoveWindow(m_hWnd, topLeft.x, topLeft.y, m_nFrameWidth, m_nImageHeight, TRUE);
}

void PngButton::DrawItem(const DRAWITEMSTRUCT* item) {
  if (!m_pImage || !m_pImage->image)
    return;
  fw::GdipGraphics graphics;
  if (Gdiplus::DllExports::GdipCreateFromHDC(item->hDC, graphics.put()) != Gdiplus::Ok)
    return;
  int frame = PngButtonFrame((item->itemState & ODS_SELECTED) != 0, m_bHover != 0);
  Gdiplus::DllExports::GdipDrawImageRectRectI(graphics.get(), m_pImage->image.get(), 0, 0,
                                              m_nFrameWidth, m_nImageHeight, frame * m_nFrameWidth,
                                              0, m_nFrameWidth, m_nImageHeight, Gdiplus::UnitPixel,
                                              nullptr, nullptr, nullptr);
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
      InvalidateRect(m_hWnd, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_MOUSELEAVE:
      m_bTracking = 0;
      m_bHover = 0;
      InvalidateRect(m_hWnd, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      InvalidateRect(m_hWnd, nullptr, TRUE);
      *result = Default();
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
