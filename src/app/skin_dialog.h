// A borderless dialog painted from a skin bitmap: the window takes the bitmap's size, statics
// and check boxes draw their texts transparently over it in colours the dialog chooses, and a
// press on the body moves the window as a press on a caption would.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "framework/gdi_holders.h"

class CSkinDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  // Makes the skin from the bitmap (the brush keeps its own copy) and sizes the window to it.
  // Returns the bitmap's size.
  SIZE SetSkin(const fw::Bitmap& skin);
  SIZE LoadSkin(UINT bitmapId);
  // The colour of a static's or a check box's text.
  virtual COLORREF TextColour(int id) const = 0;
  // Called at WM_DESTROY, before the skin is released.
  virtual void OnDestroy() {}
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  HBRUSH OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);

  fw::Brush m_brushSkin;
};
