// A borderless dialog painted from a skin bitmap: the window takes the bitmap's size, statics
// and check boxes draw their texts transparently over it in colours the dialog chooses, and a
// press on the body moves the window as a press on a caption would. It is laid out for the DPI
// of its screen as it is at 96 DPI, scaled, and again when that changes: every control scaled
// from its place and font at the first DPI, then what the dialog computes itself.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/dpi.h"
#include "framework/gdi_holders.h"

class CSkinDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  BOOL OnInitDialog() override;
  // Makes the skin from the bitmap (the brush keeps its own copy) and sizes the window to it.
  // Returns the bitmap's size.
  SIZE SetSkin(const fw::Bitmap& skin);
  // Makes the window bitmap `bitmapId`, as drawn for the dialog's DPI, the skin. Returns its size
  // at 96 DPI.
  SIZE LoadSkin(UINT bitmapId);
  // The DPI the dialog is laid out for, and a length of 96-DPI pixels at it.
  int Dpi();
  int Scaled(int length) { return fw::Scale(length, Dpi()); }
  // After a change of DPI has scaled the window and every control: lays out what the dialog
  // computes itself (its skin, image buttons and their places).
  virtual void OnDpiLayout() {}
  // The colour of a static's or a check box's text.
  virtual COLORREF TextColour(int id) const = 0;
  // Called at WM_DESTROY, before the skin is released.
  virtual void OnDestroy() {}
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  HBRUSH OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
  // Opened at another DPI than 96: places the controls and sizes the window as at 96, scaled.
  void PlaceAsAtBaseDpi();
  void OnDpiChanged(int dpi, const RECT& suggested);
  // The font for a control whose first font was `first`, at the dialog's DPI.
  HFONT ScaledFont(HFONT first, std::vector<std::pair<HFONT, fw::Font>>& made) const;

  fw::Brush m_brushSkin;
  int m_nDpi = 0;
  struct ControlPlace {
    HWND control;
    RECT rect;  // in the dialog's client area
    HFONT font;
  };
  // The controls where they are now.
  std::vector<ControlPlace> ControlPlaces() const;
  // The window and its controls at the first DPI, kept from the first change on.
  std::vector<ControlPlace> m_firstPlaces;
  SIZE m_firstSize{};
  int m_nFirstDpi = 0;
  std::vector<std::pair<HFONT, fw::Font>> m_scaledFonts;  // made for m_nDpi, by first font
};
