#include "app/sort_app.h"

#include <windows.h>

#include "app/app_globals.h"
#include "app/folder_argument.h"
#include "app/main_dlg.h"
#include "app/single_instance.h"
#include "framework/gdiplus_holders.h"
#include "organize/app_config.h"

int CSortApp::InitInstance() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs
  Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
  {
    CMainDlg dialog;
    dialog.TakeFolderWhenOpen(m_strPathArgument);
    dialog.DoModal();
  }  // the window object and its image buttons go before GDI+
  return 0;
}

int CSortApp::ExitInstance() {
  Gdiplus::GdiplusShutdown(g_gdiplusToken);
  CDialog::SetMainWindow(nullptr);
  return 0;
}

int RunTallowick() {
  // Taken from the folder this process started in, which the running window does not know.
  const std::string path = PathArgument(CommandLineArguments(), g_strStartFolder);
  const std::string key = instance::Key(theConfig.PathApp);
  if (!instance::Claim(key)) {
    instance::HandOver(key, path.empty() ? path : "\"" + path + "\"");
    // Ends here, without the settings' write-back at the end of the program: this start
    // changed nothing, and the running window writes them when it closes.
    ExitProcess(0);
  }
  theApp.m_strPathArgument = path;
  theApp.InitInstance();
  return theApp.ExitInstance();
}
