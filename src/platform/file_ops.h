// Small file operations: a file's size and last-write time, and removing a file or an empty
// folder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace platform {

struct FileInfo {
  std::uint64_t size = 0;
  FileTime lastWrite = 0;
};

// Size and last-write time of the regular file at `path` (links followed). False when there
// is none or it is not a regular file.
bool ReadFileInfo(const std::string& path, FileInfo* info);

// The last-write time of the entry at `path` as a folder listing gives it (FolderListing::
// LastWriteTime): that of the file a link leads to where the platform's listing follows links,
// else the entry's own; 0 when there is none.
FileTime EntryLastWriteTime(const std::string& path);

// Removes one file. False when it could not be removed.
bool RemoveFile(const std::string& path);

// Removes a folder only when it is empty. False otherwise.
bool RemoveEmptyFolder(const std::string& path);

}  // namespace platform
