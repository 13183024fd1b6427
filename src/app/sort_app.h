// The application object: starts GDI+, runs the main window modally, shuts GDI+ down.
#pragma once

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
};
