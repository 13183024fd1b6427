// Entry point of the window program: the application object does the work.
#include <windows.h>

#include "app/app_globals.h"
#include "app/sort_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  theApp.InitInstance();
  return theApp.ExitInstance();
}
