// The command line of tallowick-cli: options and the two folders.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
  bool move = false;     // --move: delete the sources (move instead of copy)
  bool flat = false;     // --flat: day folders directly under the target
  bool dryRun = false;   // --dry-run: report only, change nothing on disk
  bool quiet = false;    // --quiet: only failures and the summary
  bool help = false;     // --help
  bool version = false;  // --version
  // Options that Config.ini may switch on: "--NAME" or "--no-NAME" given last, else unset.
  std::optional<bool> mediaDates;     // --media-dates: days from files' own dates and names
  std::optional<bool> skipIdentical;  // --skip-identical: same bytes under the name count as placed
  std::optional<bool> renameClashes;  // --rename-clashes: "name(1).ext" when the name is taken
  std::optional<bool> sidecars;      // --sidecars: sidecars and live-photo videos follow their file
  std::optional<bool> rawFolder;     // --raw-folder: raw photos into a RAW folder below their day
  std::string journal;               // --journal: record created folders and placed files
  std::string undo;                  // --undo: take back the job of this journal (no folders)
  std::string layout;                // --layout: a FolderLayoutName, checked here
  std::string filter;                // --filter; the job's default text unless given
  bool filterGiven = false;          // --filter was given (it overrides Config.ini)
  std::string errorFile;             // --error-file; empty: errorFile.txt in the program's folder
  std::string jobsText;              // --jobs as typed
  std::optional<int> jobs;           // --jobs: files placed at once, 0: as suits the disks
  std::vector<std::string> folders;  // SOURCE and TARGET as typed
};

// Reads the arguments that follow the program name. Options may stand before, between or
// after the folders; "--" makes every later argument a folder. --help and --version end the
// reading at once. False with a one-line message in `error` when the command line is wrong
// (unknown option, missing or unexpected option argument, an unknown --layout name, a --jobs
// that is no number from 0 to kMaxJobs, not exactly two folders, or any folder with --undo).
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options, std::string* error);
