// File information and removal on Linux.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_ops.h"
#include "platform/file_time_posix.h"

namespace platform {

bool ReadFileInfo(const std::string& path, FileInfo* info) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return false;
  }
  info->size = static_cast<std::uint64_t>(status.st_size);
  info->lastWrite = posix::FileTimeOf(status.st_mtim);
  return true;
}

FileTime EntryLastWriteTime(const std::string& path) {
  // As the listing reads it: through a link, else (a link leading nowhere) the link itself.
  struct stat status;
  return stat(path.c_str(), &status) == 0 || lstat(path.c_str(), &status) == 0
             ? posix::FileTimeOf(status.st_mtim)
             : 0;
}

bool RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool RemoveEmptyFolder(const std::string& path) {
  return rmdir(path.c_str()) == 0;
}

}  // namespace platform
