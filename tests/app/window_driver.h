// Drives windows as a user meets them: a real pointer and keyboard on the X display (xdotool,
// started from this Wine process as a Linux program), screenshots of the display, and the
// windows of another process read back through the window system. Texts are UTF-8.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_files.h"

namespace windriver {

// Runs a Linux shell command line and returns its exit status, or -1 when it could not be
// started or did not end within 20 seconds. Its output is discarded.
int RunLinux(const std::string& commandLine);
// The Linux path of a Windows path (UTF-8 both).
std::string LinuxPath(const std::string& windowsPath);

// The real pointer and keyboard; keys in xdotool's names ("Escape", "alt+F4"), text in ASCII.
void MoveTo(POINT screen);
void ClickCentre(HWND window);
void Drag(POINT from, POINT to);
void Key(const std::string& keys);
void Type(const std::string& text);

// Saves the display under `window` (null: all of it) as `name`.png in the build's window-shots,
// once it holds still.
void Screenshot(const std::string& name, HWND window = nullptr);
// How many pixels of the screen inside the rectangle pass the test of their red, green, blue.
int CountPixelsWhere(const RECT& screenRect, const std::function<bool(int, int, int)>& test);
// Waits up to `milliseconds` for `condition`, checking every 50 ms.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000);

// Delivers to `window` (of another process) what the shell sends when `paths` are dropped on it
// at `client` (its client coordinates): WM_DROPFILES with the drop's data in that process.
void Drop(HWND window, POINT client, const std::vector<std::string>& paths);
// Sends `window` WM_DPICHANGED as Windows does when it moves to a screen of `dpi` from one of
// `fromDpi`, suggesting its size scaled, on the screen.
void ChangeDpi(HWND window, int dpi, int fromDpi);
// The DPI that programs started from now on see (Wine's LogPixels), for the object's life.
class ScreenDpi {
 public:
  explicit ScreenDpi(int dpi);
  ~ScreenDpi();
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;
};

// Window readers (any process).
std::string Text(HWND window);
RECT ClientRectOf(HWND control);  // in its parent's client coordinates
RECT ScreenRectOf(HWND window);
// A visible top-level window of the process (0: any) and window class (null: any) whose caption
// contains `caption` (null: any) and whose owner is `owner` (null: any); null when none is.
HWND FindTopLevel(DWORD processId, const char* className, const char* caption,
                  HWND owner = nullptr);

// A copy of a program of the build in a folder of its own, which holds its Config.ini and
// errorFile.txt, started and watched from outside; ended if it still runs when destroyed.
class ProgramUnderTest {
 public:
  explicit ProgramUnderTest(const std::string& configIni, const char* program = TALLOWICK_EXE);
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Starts it (again, once it has ended) with `arguments` and waits for its dialog to show
  // control `readyId`; false when it did not.
  bool Start(int readyId = 1005, const std::string& arguments = "");
  // Waits for the process to end; its exit code, or -1 on a timeout.
  int WaitForExit(int milliseconds = 10000);
  // Starts the same program once more while it runs, with `arguments`, in `currentFolder` (empty:
  // this one's); the exit code of that second process, or -1 when it did not end within 15 s.
  int StartSecond(const std::string& arguments = "", const std::string& currentFolder = "") const;

  const std::string& Folder() const { return m_folder.Path(); }  // ends with '\'
  DWORD ProcessId() const { return m_process.dwProcessId; }
  HWND Main() const { return m_main; }
  HWND Control(int id) const { return GetDlgItem(m_main, id); }
  // The message box with the given caption that the program shows, once it is up.
  HWND WaitForMessageBox(const char* caption);
  static std::string MessageBoxText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }

 private:
  testfiles::TempFolder m_folder;
  std::string m_program;  // the copy
  PROCESS_INFORMATION m_process{};
  HWND m_main = nullptr;
};

}  // namespace windriver
