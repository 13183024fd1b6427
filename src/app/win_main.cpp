// Entry point of the window program.
#include <windows.h>

#include "app/sort_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunTallowick();
}
