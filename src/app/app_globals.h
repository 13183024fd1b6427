// The program's process-wide objects, built in the order app_globals.cpp gives them.
#pragma once

#include <windows.h>

#include "skin/link_label.h"

#include <string>

class CSortApp;
extern CSortApp theApp;

// The folder the program was started in (the settings then make the program's folder the
// current one): a relative path on the command line is taken from it.
extern const std::string g_strStartFolder;

// Link labels bound afresh to a static each time their window opens.
extern CLinkLabel g_linkMainWeb;    // main window, static 1013
extern CLinkLabel g_linkAboutMail;  // About box, static 1015
extern CLinkLabel g_linkAboutWeb;   // About box, static 1014
extern CLinkLabel g_linkAboutQQ;    // About box, static 1018

// Token of the running GDI+ session.
extern ULONG_PTR g_gdiplusToken;
