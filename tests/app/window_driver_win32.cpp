#include "window_driver.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "test_files.h"

namespace windriver {
namespace {

std::wstring Wide(const std::string& text) {
  int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                      nullptr, nullptr);
  return narrow;
}

std::string Xdotool(const std::string& arguments) {
  return "/usr/bin/xdotool " + arguments;
}

std::string Coordinates(POINT p) {
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

int RunLinux(const std::string& commandLine) {
  // Wine starts a Linux program but gives no handle that waits for it: the command runs in a
  // shell script that leaves its exit status in a file when it has finished.
  static int serial = 0;
  const std::string base = "/tmp/tallowick-run-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++serial);
  const std::string script = "Z:" + base + ".sh";
  const std::string done = "Z:" + base + ".done";
  testfiles::WriteText(script, commandLine + " >/dev/null 2>&1\necho $? > " + base + ".tmp && mv " +
                                   base + ".tmp " + base + ".done\n");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = Wide("/bin/sh " + base + ".sh");
  PROCESS_INFORMATION process{};
  int code = -1;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (WaitFor([&] { return testfiles::Exists(done); }, 20000))
      code = std::atoi(testfiles::ReadAll(done).c_str());
  }
  DeleteFileW(Wide(script).c_str());
  DeleteFileW(Wide(done).c_str());
  return code;
}

void Click(POINT screen) {
  // As a user does: the pointer comes to rest over the target before the button goes down.
  RunLinux(Xdotool("mousemove --sync " + Coordinates(screen)));
  Pause(200);
  RunLinux(Xdotool("click 1"));
  Pause(150);  // the window thread of the program takes the click in its own time
}

void ClickCentre(HWND window) {
  RECT r = ScreenRectOf(window);
  Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Drag(POINT from, POINT to) {
  RunLinux(Xdotool("mousemove --sync " + Coordinates(from) + " mousedown 1"));
  Pause(200);
  for (int step = 1; step <= 4; ++step) {
    POINT p{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4};
    RunLinux(Xdotool("mousemove --sync " + Coordinates(p)));
    Pause(50);
  }
  RunLinux(Xdotool("mouseup 1"));
  Pause(200);
}

void Key(const std::string& keys) {
  RunLinux(Xdotool("key " + keys));
  Pause(150);
}

void Type(const std::string& text) {
  RunLinux(Xdotool("type --delay 20 '" + text + "'"));  // text without single quotes
  Pause(150);
}

std::string Screenshot(const std::string& name, HWND window) {
  CreateDirectoryW(Wide(std::string("Z:") + TALLOWICK_SHOT_DIR).c_str(), nullptr);
  std::string file = std::string(TALLOWICK_SHOT_DIR) + "/" + name + ".png";
  std::string crop;
  if (window) {
    const RECT r = ScreenRectOf(window);
    crop = " -crop " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
           "+" + std::to_string(r.left) + "+" + std::to_string(r.top);
  }
  RunLinux("/usr/bin/import -window root" + crop + " " + file);
  return file;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    Pause(50);
  }
  return true;
}

std::string Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return std::string();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return Narrow(text);
}

RECT ScreenRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT ClientRectOf(HWND control) {
  RECT r = ScreenRectOf(control);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND FindTopLevel(DWORD processId, const char* className, const char* captionUtf8, HWND owner) {
  struct Search {
    DWORD processId;
    std::wstring className;
    const char* caption;
    HWND owner;
    HWND found;
  } search{processId, Wide(className), captionUtf8, owner, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        wchar_t name[64] = L"";
        GetClassNameW(window, name, 64);
        if (pid != s->processId || !IsWindowVisible(window) || s->className != name)
          return TRUE;
        if (s->owner && GetWindow(window, GW_OWNER) != s->owner)
          return TRUE;
        if (s->caption && Text(window) != s->caption)
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevelByCaption(const std::string& partUtf8) {
  struct Search {
    const std::string* part;
    HWND found;
  } search{&partUtf8, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && Text(window).find(*s->part) != std::string::npos) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int CountPixelsWhere(const RECT& screenRect, const std::function<bool(int, int, int)>& test) {
  const int width = screenRect.right - screenRect.left;
  const int height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0)
    return 0;
  // The X server's own picture of the screen, as raw RGB bytes.
  CreateDirectoryW(Wide(std::string("Z:") + TALLOWICK_SHOT_DIR).c_str(), nullptr);
  const std::string file =
      std::string(TALLOWICK_SHOT_DIR) + "/sample-" + std::to_string(GetCurrentProcessId()) + ".rgb";
  RunLinux("/usr/bin/import -window root -crop " + std::to_string(width) + "x" +
           std::to_string(height) + "+" + std::to_string(screenRect.left) + "+" +
           std::to_string(screenRect.top) + " -depth 8 rgb:" + file);
  const std::string pixels = testfiles::ReadAll("Z:" + file);
  DeleteFileW(Wide("Z:" + file).c_str());  // (a sample that could not be read is left)
  int count = 0;
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
    count += test(static_cast<unsigned char>(pixels[i]), static_cast<unsigned char>(pixels[i + 1]),
                  static_cast<unsigned char>(pixels[i + 2]));
  }
  return count;
}

int CountPixels(const RECT& screenRect, COLORREF colour, int tolerance) {
  auto within = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
  return CountPixelsWhere(screenRect, [&](int r, int g, int b) {
    return within(r, GetRValue(colour)) && within(g, GetGValue(colour)) &&
           within(b, GetBValue(colour));
  });
}

ProgramUnderTest::ProgramUnderTest(const std::string& configIni) {
  static int serial = 0;
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  m_folder = Narrow(temp) + "tallowick-window-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++serial) + "\\";
  testfiles::MakeFolders(m_folder);
  CopyFileW(Wide(TALLOWICK_EXE).c_str(), Wide(m_folder + "Tallowick.exe").c_str(), FALSE);
  if (!configIni.empty())
    testfiles::WriteText(m_folder + "Config.ini", configIni);
}

ProgramUnderTest::~ProgramUnderTest() {
  if (m_process.hProcess) {
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_process.hProcess, 1);
      WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  for (const std::string& file : testfiles::ListFiles(m_folder))
    DeleteFileW(Wide(m_folder + testfiles::Native(file)).c_str());
  RemoveDirectoryW(Wide(m_folder).c_str());
}

bool ProgramUnderTest::Start() {
  if (m_process.hProcess) {  // a restart once the program has ended
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = L"\"" + Wide(m_folder) + L"Tallowick.exe\"";
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &m_process))
    return false;
  return WaitFor(
      [this] {
        m_main = FindTopLevel(m_process.dwProcessId, "#32770", nullptr);
        return m_main && IsWindowVisible(GetDlgItem(m_main, 1005));
      },
      20000);
}

int ProgramUnderTest::WaitForExit(int milliseconds) {
  if (WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0)
    return -1;
  DWORD code = 0;
  GetExitCodeProcess(m_process.hProcess, &code);
  return static_cast<int>(code);
}

HWND ProgramUnderTest::WaitForMessageBox(const char* captionUtf8) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindTopLevel(m_process.dwProcessId, "#32770", captionUtf8)); });
  return box;
}

std::string ProgramUnderTest::MessageBoxText(HWND box) {
  return Text(GetDlgItem(box, 0xFFFF));  // the message's static in a system message box
}

}  // namespace windriver
