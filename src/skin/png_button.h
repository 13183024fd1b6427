// A push button drawn from a four-frame PNG strip (normal, pointer over, pressed, greyed), with
// the strip's alpha over whatever the screen shows beneath: 1:1 from the strip drawn for the
// button's DPI, else resampled from the nearest one. It paints no background, so
// every change of its look is drawn afresh over its parent's skin. Focused, it is the dialog's
// default push button (Enter and Space press it) and shows the focus rectangle while the
// window shows focus cues.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/dpi.h"
#include "framework/wnd.h"
#include "skin/global.h"

class PngButton : public CWnd {
 public:
  PngButton() = default;

  // Loads the strip drawn nearest to `dpi` (by default the button's) and gives the button the
  // size of one frame at that DPI at its current top-left corner. A second call releases the
  // first strip.
  void LoadPng(UINT id);
  void LoadPng(UINT id, int dpi);
  virtual void DrawItem(const DRAWITEMSTRUCT* item);

  int m_bTracking = 0;
  int m_bHover = 0;
  // The strip's size and a frame's width as shown at the button's DPI.
  int m_nImageWidth = 0;
  int m_nImageHeight = 0;
  int m_nFrameWidth = 0;
  std::unique_ptr<ResourceImage> m_pImage;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // The frame that an owner-draw item state shows.
  virtual int FrameOf(UINT itemState) const;

 private:
  // Has the parent paint its skin under the button, then the button over it.
  void RepaintOverSkin();

  int m_nDpi = fw::kBaseDpi;  // the DPI the strip was loaded for
};

// An image button that shows its strip's greyed frame while it is disabled.
class CDimmingPngButton : public PngButton {
 protected:
  int FrameOf(UINT itemState) const override {
    return (itemState & ODS_DISABLED) ? 3 : PngButton::FrameOf(itemState);
  }
};

// The frame a button state shows: pressed 2, pointer over 1, otherwise 0.
inline int PngButtonFrame(bool pressed, bool hover) {
  return pressed ? 2 : hover ? 1 : 0;
}
