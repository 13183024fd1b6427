// Entry point of the window program: the application object does the work, unless a window of
// this program folder already runs.
#include <windows.h>

#include "app/app_globals.h"
#include "app/single_instance.h"
#include "app/sort_app.h"
#include "organize/app_config.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  const std::string key = instance::Key(theConfig.PathApp);
  if (!instance::Claim(key)) {
    instance::HandOver(key, arguments);
    // Ends here, without the settings' write-back at the end of the program: this start
    // changed nothing, and the running window writes them when it closes.
    ExitProcess(0);
  }
  theApp.InitInstance();
  return theApp.ExitInstance();
}
