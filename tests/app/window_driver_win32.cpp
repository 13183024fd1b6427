#include "window_driver.h"

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

namespace windriver {
namespace {

std::string Xdotool(const std::string& arguments) {
  return "/usr/bin/xdotool " + arguments;
}

std::string At(POINT p) {
  return std::to_string(p.x) + " " + std::to_string(p.y);
}

// The X server's picture of the screen inside `rect` (all of it when empty), saved by a Linux
// program to `file` in a form its extension or prefix names.
void Grab(const RECT& rect, const std::string& file) {
  CreateDirectoryA((std::string("Z:") + TALLOWICK_SHOT_DIR).c_str(), nullptr);
  std::string crop;
  if (!IsRectEmpty(&rect)) {
    crop = " -crop " + std::to_string(rect.right - rect.left) + "x" +
           std::to_string(rect.bottom - rect.top) + "+" + std::to_string(rect.left) + "+" +
           std::to_string(rect.top);
  }
  RunLinux("/usr/bin/import -window root" + crop + " -depth 8 -strip " + file);
}

// A copy of `bytes` in the memory of the process that owns `window` (left there).
void* CopyInto(HWND window, const std::string& bytes) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  void* copy =
      VirtualAllocEx(process, nullptr, bytes.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (copy)
    WriteProcessMemory(process, copy, bytes.data(), bytes.size(), nullptr);
  CloseHandle(process);
  return copy;
}

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(),
                                                      static_cast<int>(wide.size()))) -
              1);
  return wide;
}

// The Desktop key's LogPixels, which Wine reads at a program's start as the screen's DPI.
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

}  // namespace

void Drop(HWND window, POINT client, const std::vector<std::string>& paths) {
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.pt = client;
  header.fWide = TRUE;
  std::wstring names;
  for (const std::string& path : paths)
    names.append(Wide(path)).push_back(L'\0');
  names.push_back(L'\0');
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(CopyInto(window, bytes)), 0);
}

void ChangeDpi(HWND window, int dpi, int fromDpi) {
  // Its size at the new DPI, kept on the screen.
  RECT r = ScreenRectOf(window);
  const int width = MulDiv(r.right - r.left, dpi, fromDpi);
  const int height = MulDiv(r.bottom - r.top, dpi, fromDpi);
  r.left = std::max(0, std::min<int>(r.left, GetSystemMetrics(SM_CXSCREEN) - width));
  r.top = std::max(0, std::min<int>(r.top, GetSystemMetrics(SM_CYSCREEN) - height));
  r.right = r.left + width;
  r.bottom = r.top + height;
  // The rectangle is read in the receiver's memory, as Windows gives it.
  void* rect = CopyInto(window, std::string(reinterpret_cast<const char*>(&r), sizeof r));
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(rect),
                      SMTO_ABORTIFHUNG, 5000, &answer);
}

ScreenDpi::ScreenDpi(int dpi) {
  const DWORD value = static_cast<DWORD>(dpi);
  RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &value, sizeof value);
}

ScreenDpi::~ScreenDpi() {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
}

int RunLinux(const std::string& commandLine) {
  // Wine starts a Linux program but gives no handle that waits for it: the command runs in a shell
  // script that leaves its exit status in a file when it has finished.
  static int serial = 0;
  const char* folder = std::getenv("TMPDIR");  // a sandbox gives one of its own
  const std::string base = std::string(folder ? folder : "/tmp") + "/tallowick-run-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  const std::string script = "Z:" + base + ".sh";
  const std::string done = "Z:" + base + ".done";
  testfiles::WriteText(script, commandLine + " >/dev/null 2>&1\necho $? > " + base + ".tmp && mv " +
                                   base + ".tmp " + base + ".done\n");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = "/bin/sh " + base + ".sh";
  PROCESS_INFORMATION process{};
  int code = -1;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (WaitFor([&] { return testfiles::Exists(done); }, 20000))
      code = std::atoi(testfiles::ReadAll(done).c_str());
  }
  DeleteFileA(script.c_str());
  DeleteFileA(done.c_str());
  return code;
}

std::string LinuxPath(const std::string& windowsPath) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  std::wstring wide(windowsPath.size() + 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, windowsPath.c_str(), -1, wide.data(),
                      static_cast<int>(wide.size()));
  char* unix = toUnix ? toUnix(wide.c_str()) : nullptr;
  const std::string path = unix ? unix : "";
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// Each gesture is one run of xdotool, whose pauses let the pointer come to rest before a button
// goes down and the program's window thread take the event in its own time.
void MoveTo(POINT screen) {
  RunLinux(Xdotool("mousemove --sync " + At(screen) + " sleep 0.2"));
}

void ClickCentre(HWND window) {
  RECT r = ScreenRectOf(window);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  RunLinux(Xdotool("mousemove --sync " + At(centre) + " sleep 0.2 click 1 sleep 0.15"));
}

void Drag(POINT from, POINT to) {
  std::string gesture = "mousemove --sync " + At(from) + " mousedown 1 sleep 0.2";
  for (int step = 1; step <= 4; ++step) {
    gesture += " mousemove --sync " +
               At({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4}) +
               " sleep 0.05";
  }
  RunLinux(Xdotool(gesture + " mouseup 1 sleep 0.2"));
}

void Key(const std::string& keys) {
  RunLinux(Xdotool("key " + keys + " sleep 0.15"));
}

void Type(const std::string& text) {
  RunLinux(Xdotool("type --delay 20 '" + text + "'"));  // takes every word after it as text
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void Screenshot(const std::string& name, HWND window) {
  // Once the picture holds still: a window just opened may still be painting (under Wine the
  // first texts of a new font size take a while).
  const RECT rect = window ? ScreenRectOf(window) : RECT{};
  const std::string file = std::string(TALLOWICK_SHOT_DIR) + "/" + name + ".png";
  std::string last;
  for (int grabs = 0; grabs < 10; ++grabs) {
    Grab(rect, file);  // without a time stamp: the same pixels give the same bytes
    std::string picture = testfiles::ReadAll("Z:" + file);
    if (picture == last)
      break;
    last = std::move(picture);
  }
}

int CountPixelsWhere(const RECT& screenRect, const std::function<bool(int, int, int)>& test) {
  if (IsRectEmpty(&screenRect))
    return 0;
  const std::string file =
      std::string(TALLOWICK_SHOT_DIR) + "/sample-" + std::to_string(GetCurrentProcessId()) + ".rgb";
  Grab(screenRect, "rgb:" + file);
  const std::string pixels = testfiles::ReadAll("Z:" + file);
  DeleteFileA(("Z:" + file).c_str());
  int count = 0;
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
    count += test(static_cast<unsigned char>(pixels[i]), static_cast<unsigned char>(pixels[i + 1]),
                  static_cast<unsigned char>(pixels[i + 2]));
  }
  return count;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::string Text(HWND window) {
  // As wide text: the window may belong to a program whose code page is not this one's.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return std::string();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  const int size = static_cast<int>(copied);
  std::string utf8(static_cast<size_t>(size) * 3, '\0');
  utf8.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), size * 3, nullptr, nullptr)));
  return utf8;
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

HWND FindTopLevel(DWORD processId, const char* className, const char* captionPart, HWND owner) {
  struct Search {
    DWORD processId;
    const char *className, *caption;
    HWND owner, found;
  } search{processId, className, captionPart, owner, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if ((s->processId && pid != s->processId) || !IsWindowVisible(window) ||
            (s->className && std::strcmp(s->className, name) != 0) ||
            (s->owner && GetWindow(window, GW_OWNER) != s->owner) ||
            (s->caption && Text(window).find(s->caption) == std::string::npos))
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProgramUnderTest::ProgramUnderTest(const std::string& configIni, const char* program)
    : m_program(Folder() + (std::strrchr(program, '/') + 1)) {
  CopyFileA(program, m_program.c_str(), FALSE);
  if (!configIni.empty())
    testfiles::WriteText(Folder() + "Config.ini", configIni);
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
}

bool ProgramUnderTest::Start(int readyId, const std::string& arguments) {
  if (m_process.hProcess) {  // a restart once the program has ended
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = "\"" + m_program + "\" " + arguments;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &m_process))
    return false;
  return WaitFor(
      [&] {
        m_main = FindTopLevel(m_process.dwProcessId, "#32770", nullptr);
        return m_main && IsWindowVisible(GetDlgItem(m_main, readyId));
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

int ProgramUnderTest::StartSecond(const std::string& arguments,
                                  const std::string& currentFolder) const {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = "\"" + m_program + "\" " + arguments;
  PROCESS_INFORMATION second{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &second))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(second.hProcess, 15000) == WAIT_OBJECT_0)
    GetExitCodeProcess(second.hProcess, &code);
  else
    TerminateProcess(second.hProcess, 1);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  return static_cast<int>(code);
}

HWND ProgramUnderTest::WaitForMessageBox(const char* caption) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindTopLevel(m_process.dwProcessId, "#32770", caption)); });
  return box;
}

}  // namespace windriver
