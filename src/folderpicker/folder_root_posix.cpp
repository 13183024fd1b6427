// Linux: there are no drive letters; a path is usable when it is absolute ("/" is the root).
#include <climits>

#include "folderpicker/folder_root.h"

const std::size_t kMaxFolderPathLength = PATH_MAX - 1;

std::size_t FolderRootLength(const std::string& path) {
  return !path.empty() && path[0] == '/' ? 1 : 0;
}
