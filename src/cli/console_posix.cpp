#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>

#include "cli/console.h"

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

int TerminalColumns(std::FILE* stream) {
  winsize size{};
  if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  if (const char* columns = std::getenv("COLUMNS")) {
    const int value = std::atoi(columns);
    if (value > 0) {
      return value;
    }
  }
  return 80;
}

void PrepareConsoleOutput() {}

void WriteText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}
