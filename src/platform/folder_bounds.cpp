#include "platform/folder_bounds.h"

namespace platform {

bool IsBelowFolder(std::string_view path, std::string_view folder) {
  using namespace path_syntax;
  if (folder.empty()) {
    return false;
  }
  bool pathNetwork = false;
  bool folderNetwork = false;
  path = Unprefixed(path, &pathNetwork);
  folder = Unprefixed(folder, &folderNetwork);
  while (!folder.empty() && IsSeparator(folder.back())) {
    folder.remove_suffix(1);
  }
  // The folder's own text, then a separator (a root such as "/" has only that).
  if (pathNetwork != folderNetwork || path.size() <= folder.size() + 1 ||
      !IsSeparator(path[folder.size()])) {
    return false;
  }
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (!SameByte(path[i], folder[i])) {
      return false;
    }
  }
  std::string_view rest = path.substr(folder.size() + 1);
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) {
      ++end;
    }
    const std::string_view name = rest.substr(0, end);
    if (!IsPlainName(name)) {
      return false;
    }
    rest.remove_prefix(end == rest.size() ? end : end + 1);
  }
  return true;
}

}  // namespace platform
