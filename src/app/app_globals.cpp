// The program's globals, in the order they are built (and, reversed, destroyed): the settings
// first, so Config.ini is read before anything else and written after everything else; the
// logger last, so nothing built before it writes diagnostic lines.
#include "app/app_globals.h"

#include "app/sort_app.h"
#include "log/msgx.h"
#include "organize/app_config.h"

CAppConfig theConfig;
CSortApp theApp;
CLinkLabel g_linkMainWeb(0);
CLinkLabel g_linkAboutMail(1);
CLinkLabel g_linkAboutWeb(1);
CLinkLabel g_linkAboutQQ(1);
CMsgX theMsgX;

ULONG_PTR g_gdiplusToken = 0;
