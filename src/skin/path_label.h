// A static that shows a folder path: too long for its box, the path loses its middle to an
// ellipsis (ShortenPathInMiddle), so the folder's own name stays in view, and the whole path
// shows as a tooltip. The window text stays the whole path. The static becomes owner-drawn and
// draws in the colour its parent chooses for statics, with no background of its own.
#pragma once

#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

class CPathLabel : public CWnd {
 protected:
  void PreSubclassWindow() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  void Draw(const DRAWITEMSTRUCT* item);
  // The tooltip's tool: the label's rectangle in its parent, which receives the pointer's
  // moves (a static lets them through to it).
  TOOLINFOW Tool() const;
  // Shows `tip` as the tooltip; an empty text shows none.
  void SetTip(const std::wstring& tip);

  HWND m_hTip = nullptr;  // owned by the parent window, destroyed with the label
  std::wstring m_strTip;
};
