#include "organize/folder_guard.h"

#include "platform/file_ops.h"
#include "platform/folder_bounds.h"
#include "platform/platform.h"

namespace {

GuardedChange Carried(bool done) {
  return done ? GuardedChange::kDone : GuardedChange::kFailed;
}

}  // namespace

GuardedChange FolderGuard::CheckRemove(const std::string& path) const {
  return platform::IsBelowFolder(path, source_) ? GuardedChange::kDone
                                                : GuardedChange::kOutsideSource;
}

GuardedChange FolderGuard::CheckMake(const std::string& path) const {
  return platform::IsBelowFolder(path, target_) ? GuardedChange::kDone
                                                : GuardedChange::kOutsideTarget;
}

GuardedChange FolderGuard::CheckMove(const std::string& from, const std::string& to) const {
  const GuardedChange removal = CheckRemove(from);
  return removal != GuardedChange::kDone ? removal : CheckMake(to);
}

GuardedChange FolderGuard::CreateFolder(const std::string& folder) const {
  const GuardedChange check = CheckMake(folder);
  return check != GuardedChange::kDone ? check : Carried(platform::CreateFolder(folder));
}

GuardedChange FolderGuard::Copy(const std::string& from, const std::string& to,
                                const platform::HeldFile* held) const {
  const GuardedChange check = CheckMake(to);
  return check != GuardedChange::kDone ? check
                                       : Carried(platform::CopyFileNoOverwrite(from, to, held));
}

GuardedChange FolderGuard::Move(const std::string& from, const std::string& to) const {
  const GuardedChange check = CheckMove(from, to);
  return check != GuardedChange::kDone ? check : Carried(platform::MoveFileNoOverwrite(from, to));
}

GuardedChange FolderGuard::RemoveFile(const std::string& path) const {
  const GuardedChange check = CheckRemove(path);
  return check != GuardedChange::kDone ? check : Carried(platform::RemoveFile(path));
}

GuardedChange FolderGuard::RemoveEmptyFolder(const std::string& folder) const {
  const GuardedChange check = CheckRemove(folder);
  return check != GuardedChange::kDone ? check : Carried(platform::RemoveEmptyFolder(folder));
}

void FolderGuard::RemoveStaleTemporaries(const std::string& folder) const {
  if (CheckMake(folder) == GuardedChange::kDone) {
    platform::RemoveStaleTemporaries(folder);
  }
}
