// tallowick-cli: runs one organize job from the command line with the same checks and texts
// as the window.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Where the tool prints and what it may assume about it.
struct CliStreams {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool outIsTerminal = false;    // redraw one progress line instead of printing every file
  int columns = 80;              // the terminal's width
  bool catchInterrupts = false;  // route Ctrl+C to the job while it runs
  std::string configFile;        // the settings read; empty: Config.ini beside the program
};

// Runs the tool with `args` (without the program name). Returns the exit status: 0 when no
// file failed, 1 when any did, 2 for a wrong command line or a refused start, kExitInterrupted
// when Ctrl+C stopped the job.
int RunCli(const std::vector<std::string>& args, const CliStreams& streams);

// The program's entry: the standard streams, Ctrl+C handling, the real terminal.
int RunCli(int argc, char** argv);
