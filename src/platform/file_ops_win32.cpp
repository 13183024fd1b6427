// File information and removal on Windows.
#include <windows.h>

#include "platform/file_ops.h"
#include "platform/file_time_win32.h"

namespace platform {

bool ReadFileInfo(const std::string& path, FileInfo* info) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  info->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  info->lastWrite = win32::FileTimeOf(data.ftLastWriteTime);
  return true;
}

FileTime EntryLastWriteTime(const std::string& path) {
  // The entry as a listing finds it: its own data, not that of a link's target.
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    return 0;
  }
  FindClose(find);
  return win32::FileTimeOf(data.ftLastWriteTime);
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

bool RemoveEmptyFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != 0;
}

}  // namespace platform
