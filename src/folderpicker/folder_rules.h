// The folder picker's path rules: whether a typed path may name a folder, creating it with
// every missing folder above it, and the check run when the picker's OK is pressed. Portable;
// the picker's message boxes stand behind CFolderMessages.
#pragma once

#include <string>

// Results of CreateFolderPath and ValidateFolder.
enum FolderPathResult : int {
  kFolderUsable = 0,      // valid (and present, unless only checked)
  kFolderDeclined = -1,   // the user declined to create a missing folder
  kFolderInvalid = 1,     // not a valid path
  kFolderNotCreated = 2,  // creating a folder failed
};

// The picker's message boxes.
class CFolderMessages {
 public:
  virtual ~CFolderMessages() = default;
  // A question with Yes and No (question icon); true when the answer is Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A warning with OK (exclamation icon).
  virtual void Warn(const std::string& text) = 0;
};

// False for a null or empty name, a name that begins or ends with a TAB, blank or full stop,
// and a name holding any of " * / : < > ? \ |.
bool IsValidFolderName(const char* name);

// Checks `path` and, unless `checkOnly`, creates each missing folder of it from the root down,
// stopping at the first that cannot be made (those made before it stay). A path must begin
// with a root (on Windows a drive letter, a colon and a backslash; on Linux a slash), may not
// end with a separator unless it is the root, and may not hold two separators in a row.
// Returns kFolderUsable, kFolderInvalid or kFolderNotCreated.
int CreateFolderPath(const char* path, bool checkOnly);

// The check of a path typed into the picker: usable when it exists; when it is valid but
// missing, asks whether to create it and does; warns when it is invalid or cannot be created.
// Returns any FolderPathResult.
int ValidateFolder(const char* path, CFolderMessages& messages);

// The message texts ("%s" stands for the path).
inline constexpr char kAskCreateFolder[] =
    "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?";
inline constexpr char kFolderIsInvalid[] = "The folder:\n\n%s\n\nis invalid. Please reenter.";
inline constexpr char kFolderCannotBeCreated[] =
    "The folder:\n\n%s\n\ncan not be created. Please double check.";
