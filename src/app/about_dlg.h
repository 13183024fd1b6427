// The About box: a small borderless dialog painted from its own skin, with three links to the
// maker and one image button that closes it.
#pragma once

#include <windows.h>

#include "app/skin_dialog.h"
#include "skin/png_button.h"

class CAboutDlg : public CSkinDialog {
 public:
  CAboutDlg();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  COLORREF TextColour(int id) const override;
  void OnDpiLayout() override;

 private:
  // The skin and the OK button in its corner, for the dialog's DPI.
  void LayOutSkin();

  PngButton m_btnOK;
};
