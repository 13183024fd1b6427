// The last check before the organize job or its undo changes anything on disk. Whatever the
// walk or a journal hands over, a file is removed or moved away only from below one folder and
// a file or folder is made only below another (IsBelowFolder: by whole names on the very path
// the system call gets), so that a fault in the code above costs a failed file, never a file
// elsewhere on the disk. The job and its undo change the disk through this class only.
//
// Holds two texts and nothing else: the checks cost a comparison of the path with the folder,
// and one guard may serve any number of threads at once.
#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"

// What a guarded change came to.
enum class GuardedChange {
  kDone,           // allowed and carried out (a check alone: allowed)
  kFailed,         // allowed, but the system could not do it
  kOutsideSource,  // a path to remove or move away lies outside the folder it may come from
  kOutsideTarget,  // a path to make lies outside the folder it may go into
};

class FolderGuard {
 public:
  FolderGuard() = default;  // no folders: refuses every change
  // Files are removed or moved away only from below `source`; files and folders are made
  // only below `target`. Both with or without their final separator.
  FolderGuard(std::string source, std::string target)
      : source_(std::move(source)), target_(std::move(target)) {}

  // The checks alone, as the changes below make them (a dry run asks these).
  GuardedChange CheckRemove(const std::string& path) const;
  GuardedChange CheckMake(const std::string& path) const;
  GuardedChange CheckMove(const std::string& from, const std::string& to) const;

  // The changes, each carried out only when its check allows it. Copying reads from anywhere:
  // it takes nothing away.
  GuardedChange CreateFolder(const std::string& folder) const;
  // `held`: the file at `from`, kept open since its head was read (see platform::HeldFile).
  GuardedChange Copy(const std::string& from, const std::string& to,
                     const platform::HeldFile* held = nullptr) const;
  GuardedChange Move(const std::string& from, const std::string& to) const;
  GuardedChange RemoveFile(const std::string& path) const;
  GuardedChange RemoveEmptyFolder(const std::string& folder) const;
  // Clears the temporaries of killed copies from a folder below the target.
  void RemoveStaleTemporaries(const std::string& folder) const;

 private:
  std::string source_;
  std::string target_;
};
