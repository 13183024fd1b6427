// The About box: a small borderless dialog painted from its own skin, with three links to the
// maker and one image button that closes it.
#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "framework/gdi_holders.h"
#include "skin/png_button.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  HBRUSH OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);

  PngButton m_btnOK;
  fw::Brush m_brushSkin;
};
