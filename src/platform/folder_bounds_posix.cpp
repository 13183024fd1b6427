// Linux path syntax: '/' separates, bytes compare as they are; realpath resolves links.
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/folder_bounds.h"

namespace platform {

namespace path_syntax {

bool IsSeparator(char c) {
  return c == '/';
}

bool SameByte(char a, char b) {
  return a == b;
}

std::string_view Unprefixed(std::string_view path, bool* network) {
  *network = false;
  return path;
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != "..";
}

}  // namespace path_syntax

std::string RealFolderPath(const std::string& folder) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(folder.c_str(), nullptr),
                                                         &std::free);
  return real ? std::string(real.get()) : std::string();
}

}  // namespace platform
