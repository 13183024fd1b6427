// Reads and drives the windows of another program in the same Wine prefix, for test scripts.
//   find [--class NAME] [--title TEXT] [--timeout MS]   top-level window: "HWND x y w h"
//   list HWND                    its controls: "id<TAB>class<TAB>x y w h<TAB>visible<TAB>text"
//   text HWND ID                 a control's text
//   rect HWND ID                 a control's screen rectangle "x y w h"
//   pixel X Y                    the screen's colour there: "r g b"
//   count X Y W H R G B          how many pixels of the screen rectangle have that colour
//   click HWND ID                posts a button click to a control
//   close HWND                   posts WM_CLOSE and waits up to 10 s for the window to go
// Exit status 0 on success, 1 when the window or control is missing, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(strlen(out.c_str()));
  return out;
}

std::wstring Wide(const char* text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(wcslen(out.c_str()));
  return out;
}

// Text of a window of another process; a hung owner gives an empty text after 2 s.
std::string WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      2000, &ignored);
  return Narrow(buffer);
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Narrow(name);
}

HWND ParseWindow(const char* text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(text, nullptr, 0)));
}

void PrintRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  printf("%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct Search {
  std::wstring cls, title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  wchar_t text[512] = {};
  if (!search->cls.empty()) {
    GetClassNameW(window, text, 512);
    if (search->cls != text)
      return TRUE;
  }
  if (!search->title.empty()) {
    GetWindowTextW(window, text, 512);
    if (search->title != text)
      return TRUE;
  }
  if (!IsWindowVisible(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

int Find(int argc, char** argv) {
  Search search;
  DWORD timeout = 0;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (!strcmp(argv[i], "--class"))
      search.cls = Wide(argv[i + 1]);
    else if (!strcmp(argv[i], "--title"))
      search.title = Wide(argv[i + 1]);
    else if (!strcmp(argv[i], "--timeout"))
      timeout = strtoul(argv[i + 1], nullptr, 10);
    else
      return 2;
  }
  DWORD start = GetTickCount();
  for (;;) {
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found)
      break;
    if (GetTickCount() - start >= timeout)
      return 1;
    Sleep(100);
  }
  printf("%llu ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(search.found)));
  PrintRect(search.found);
  printf("\n");
  return 0;
}

BOOL CALLBACK ListChild(HWND child, LPARAM) {
  printf("%d\t%s\t", GetDlgCtrlID(child), ClassOf(child).c_str());
  PrintRect(child);
  printf("\t%d\t%s\n", IsWindowVisible(child) ? 1 : 0, WindowText(child).c_str());
  return TRUE;
}

int CountColour(int x, int y, int w, int h, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  int count = 0;
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col)
      if (GetPixel(screen, col, row) == colour)
        ++count;
  ReleaseDC(nullptr, screen);
  return count;
}

HWND Control(char** argv) {
  HWND parent = ParseWindow(argv[0]);
  return IsWindow(parent) ? GetDlgItem(parent, atoi(argv[1])) : nullptr;
}

int Run(int argc, char** argv) {
  if (argc < 1)
    return 2;
  std::string command = argv[0];
  ++argv;
  --argc;
  if (command == "find")
    return Find(argc, argv);
  if (command == "list" && argc == 1) {
    HWND window = ParseWindow(argv[0]);
    if (!IsWindow(window))
      return 1;
    EnumChildWindows(window, ListChild, 0);
    return 0;
  }
  if ((command == "text" || command == "rect" || command == "click") && argc == 2) {
    HWND control = Control(argv);
    if (!control)
      return 1;
    if (command == "text")
      printf("%s\n", WindowText(control).c_str());
    if (command == "rect") {
      PrintRect(control);
      printf("\n");
    }
    if (command == "click")
      PostMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "pixel" && argc == 2) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, atoi(argv[0]), atoi(argv[1]));
    ReleaseDC(nullptr, screen);
    printf("%d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
    return 0;
  }
  if (command == "count" && argc == 7) {
    int v[7];
    for (int i = 0; i < 7; ++i)
      v[i] = atoi(argv[i]);
    printf("%d\n", CountColour(v[0], v[1], v[2], v[3], RGB(v[4], v[5], v[6])));
    return 0;
  }
  if (command == "close" && argc == 1) {
    HWND window = ParseWindow(argv[0]);
    if (!IsWindow(window))
      return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i)
      Sleep(100);
    return IsWindow(window) ? 1 : 0;
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int status = Run(argc - 1, argv + 1);
  fflush(stdout);
  if (status == 2)
    fprintf(stderr, "driver: bad usage (see the head of driver_win32.cpp)\n");
  return status;
}
