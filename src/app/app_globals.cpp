// The program's globals, in the order they are built (and, reversed, destroyed): the folder the
// program was started in, before the settings change the current folder; the settings next, so
// Config.ini is read before anything else and written after everything else; the logger last,
// so nothing built before it writes diagnostic lines.
#include "app/app_globals.h"

#include "app/sort_app.h"
#include "log/msgx.h"
#include "organize/app_config.h"

namespace {
std::string CurrentFolder() {
  char folder[MAX_PATH * 4] = "";
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  return std::string(folder, length < sizeof folder ? length : 0);
}
}  // namespace

const std::string g_strStartFolder = CurrentFolder();
CAppConfig theConfig;
CSortApp theApp;
CLinkLabel g_linkMainWeb(0);
CLinkLabel g_linkAboutMail(1);
CLinkLabel g_linkAboutWeb(1);
CLinkLabel g_linkAboutQQ(1);
CMsgX theMsgX;

ULONG_PTR g_gdiplusToken = 0;
