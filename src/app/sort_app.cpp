#include "app/sort_app.h"

#include "app/app_globals.h"
#include "app/main_dlg.h"
#include "framework/gdiplus_holders.h"

int CSortApp::InitInstance() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs
  Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
  {
    CMainDlg dialog;
    dialog.DoModal();
  }  // the window object and its image buttons go before GDI+
  return 0;
}

int CSortApp::ExitInstance() {
  Gdiplus::GdiplusShutdown(g_gdiplusToken);
  CDialog::SetMainWindow(nullptr);
  return 0;
}
