// The command line of tallowick-cli: options and the two folders.
#pragma once

#include <string>
#include <vector>

struct CliOptions {
  bool move = false;                 // --move: delete the sources (move instead of copy)
  bool flat = false;                 // --flat: day folders directly under the target
  bool dryRun = false;               // --dry-run: report only, change nothing on disk
  bool quiet = false;                // --quiet: only failures and the summary
  bool help = false;                 // --help
  bool version = false;              // --version
  std::string filter;                // --filter; the job's default text unless given
  bool filterGiven = false;          // --filter was given (it overrides Config.ini)
  std::string errorFile;             // --error-file; empty: errorFile.txt in the program's folder
  std::vector<std::string> folders;  // SOURCE and TARGET as typed
};

// Reads the arguments that follow the program name. Options may stand before, between or
// after the folders; "--" makes every later argument a folder. --help and --version end the
// reading at once. False with a one-line message in `error` when the command line is wrong
// (unknown option, missing or unexpected option argument, not exactly two folders).
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options, std::string* error);
