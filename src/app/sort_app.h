// The application object: starts GDI+, runs the main window modally, shuts GDI+ down.
#pragma once

#include <string>

class CSortApp {
 public:
  CSortApp() = default;
  virtual ~CSortApp() = default;
  CSortApp(const CSortApp&) = delete;
  CSortApp& operator=(const CSortApp&) = delete;

  // The program's whole life: the main window runs inside. Always 0: no message loop follows.
  virtual int InitInstance();
  // Shuts GDI+ down; the result is the process's exit code.
  virtual int ExitInstance();

  // The path the command line named (see PathArgument); the main window takes it as the photo
  // folder when it opens.
  std::string m_strPathArgument;
};

// The window program: with a window of this program folder already running, hands it the path
// that the command line names and ends; else runs the application object.
int RunTallowick();
