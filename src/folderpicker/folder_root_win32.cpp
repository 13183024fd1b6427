// Windows: a path begins with a drive root such as "D:\"; network and relative paths have none.
#include "folderpicker/folder_root.h"

const std::size_t kMaxFolderPathLength = 259;  // MAX_PATH less the terminator

std::size_t FolderRootLength(const std::string& path) {
  if (path.size() < 3) {
    return 0;
  }
  const char drive = path[0];
  const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  return letter && path[1] == ':' && path[2] == '\\' ? 3 : 0;
}
