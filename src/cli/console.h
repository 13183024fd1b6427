// What the command-line tool needs to know about the stream it prints to.
#pragma once

#include <cstdio>
#include <string_view>

// True when `stream` is shown on a terminal (console), not a file or a pipe.
bool IsTerminal(std::FILE* stream);

// Columns of the terminal that shows `stream`; 80 when it cannot be told.
int TerminalColumns(std::FILE* stream);

// Prepares the standard streams for UTF-8 text (a console on Windows is told its code page).
void PrepareConsoleOutput();

// Writes UTF-8 text to `stream`. A Windows console is given the text as UTF-16: the C
// runtime's own console output would decode the bytes in another code page.
void WriteText(std::FILE* stream, std::string_view text);
