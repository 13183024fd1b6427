// Drives windows as a user meets them: a real pointer and keyboard on the X display (xdotool,
// started from this Wine process as a Linux program), screenshots of the display, and the
// windows of another process read back through the window system.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace windriver {

// Runs a Linux shell command line, waits for it and returns its exit status, or -1 when it
// could not be started or did not end within 20 seconds. Its output is discarded.
int RunLinux(const std::string& commandLine);

// The real pointer and keyboard.
void Click(POINT screen);
void ClickCentre(HWND window);
// Presses at `from`, moves in steps to `to` and releases there.
void Drag(POINT from, POINT to);
// Keys in xdotool's names, e.g. "Escape", "alt+F4", "Return".
void Key(const std::string& keys);
// Types plain ASCII text into the window that has the keyboard focus.
void Type(const std::string& text);

// Saves the part of the display under `window` (null: all of it) as `name`.png in the build
// tree's window-shots folder and returns the Linux path of the file.
std::string Screenshot(const std::string& name, HWND window = nullptr);

// Waits up to `milliseconds` for `condition`, checking every 50 ms.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000);

// Window readers (any process).
std::string Text(HWND window);    // UTF-8
RECT ClientRectOf(HWND control);  // in its parent's client coordinates
RECT ScreenRectOf(HWND window);
// A visible top-level window of the process with the given window-class name and caption
// (null: any caption) whose owner is `owner` (null: any owner); null when there is none.
HWND FindTopLevel(DWORD processId, const char* className, const char* captionUtf8,
                  HWND owner = nullptr);
// Any visible top-level window, of any process, whose caption contains the text.
HWND FindTopLevelByCaption(const std::string& partUtf8);
// How many pixels of the screen inside `rect` have the colour, each channel within `tolerance`
// (text is drawn with smoothed edges).
int CountPixels(const RECT& screenRect, COLORREF colour, int tolerance = 0);
// How many pixels of the screen inside `rect` pass the test of their red, green and blue.
int CountPixelsWhere(const RECT& screenRect, const std::function<bool(int, int, int)>& test);

// A copy of Tallowick.exe in its own folder (which holds its Config.ini and errorFile.txt),
// started and watched from outside. Ends the process if it is still running when destroyed.
class ProgramUnderTest {
 public:
  // Copies the program into a new folder; `configIni` (may be empty) becomes its Config.ini.
  explicit ProgramUnderTest(const std::string& configIni);
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Starts the program (again, once it has ended) and waits for its main window; false when it
  // did not appear.
  bool Start();
  // Waits for the process to end; its exit code, or -1 on a timeout.
  int WaitForExit(int milliseconds = 10000);

  const std::string& Folder() const { return m_folder; }  // ends with '\'
  DWORD ProcessId() const { return m_process.dwProcessId; }
  HWND Main() const { return m_main; }
  HWND Control(int id) const { return GetDlgItem(m_main, id); }
  // The message box with the given caption that the program shows, once it is up.
  HWND WaitForMessageBox(const char* captionUtf8);
  // The text of a message box's message.
  static std::string MessageBoxText(HWND box);

 private:
  std::string m_folder;
  PROCESS_INFORMATION m_process{};
  HWND m_main = nullptr;
};

}  // namespace windriver
