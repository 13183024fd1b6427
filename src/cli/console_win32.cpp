#include <windows.h>

#include <io.h>

#include <string>

#include "cli/console.h"

namespace {

// The console behind a C stream, or null when the stream goes to a file, a pipe or a device.
HANDLE QueryConsole(std::FILE* stream) {
  const intptr_t raw = _get_osfhandle(_fileno(stream));
  if (raw == -1) {
    return nullptr;
  }
  HANDLE handle = reinterpret_cast<HANDLE>(raw);  // borrowed from the C runtime
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// The consoles of the standard streams, asked once per run: each question is a round trip to
// the system (under Wine, to its server), and the tool writes once or more per file.
struct StandardConsoles {
  bool known = false;
  HANDLE out = nullptr;
  HANDLE err = nullptr;
};
StandardConsoles standardConsoles;

HANDLE ConsoleOf(std::FILE* stream) {
  if (standardConsoles.known && stream == stdout) {
    return standardConsoles.out;
  }
  if (standardConsoles.known && stream == stderr) {
    return standardConsoles.err;
  }
  return QueryConsole(stream);
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
  standardConsoles.out = QueryConsole(stdout);
  standardConsoles.err = QueryConsole(stderr);
  standardConsoles.known = true;
  // Our texts and paths are UTF-8 (the manifest makes it the process's code page); a console
  // shows them right only when its output code page says so too.
  if (standardConsoles.out != nullptr || standardConsoles.err != nullptr) {
    SetConsoleOutputCP(CP_UTF8);
  }
  // Output that no one watches line by line goes out in large blocks: the C runtime would
  // write to a character device such as NUL unbuffered, one system call per message.
  if (standardConsoles.out == nullptr) {
    std::setvbuf(stdout, nullptr, _IOFBF, 64 * 1024);
  }
}

void WriteText(std::FILE* stream, std::string_view text) {
  // Standard output may be held back in its buffer: what goes to standard error keeps its
  // place after it where both end in one file.
  if (stream == stderr) {
    std::fflush(stdout);
  }
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
