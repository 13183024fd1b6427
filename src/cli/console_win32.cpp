#include <windows.h>

#include <io.h>

#include <string>

#include "cli/console.h"

namespace {

// The console behind a C stream, or null when the stream goes to a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream) {
  const intptr_t raw = _get_osfhandle(_fileno(stream));
  if (raw == -1) {
    return nullptr;
  }
  HANDLE handle = reinterpret_cast<HANDLE>(raw);  // borrowed from the C runtime
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
  return ConsoleOf(stream) != nullptr;
}

int TerminalColumns(std::FILE* stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE console = ConsoleOf(stream);
  if (console != nullptr && GetConsoleScreenBufferInfo(console, &info)) {
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    if (columns > 0) {
      return columns;
    }
  }
  return 80;
}

void PrepareConsoleOutput() {
  // Our texts and paths are UTF-8 (the manifest makes it the process's code page); a console
  // shows them right only when its output code page says so too.
  if (ConsoleOf(stdout) != nullptr || ConsoleOf(stderr) != nullptr) {
    SetConsoleOutputCP(CP_UTF8);
  }
}

void WriteText(std::FILE* stream, std::string_view text) {
  HANDLE console = ConsoleOf(stream);
  if (console == nullptr || text.empty()) {
    std::fwrite(text.data(), 1, text.size(), stream);
    return;
  }
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  std::fflush(stream);  // keep the order of anything the stream still holds
  DWORD written = 0;
  WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}
