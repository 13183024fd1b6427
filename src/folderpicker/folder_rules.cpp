// The path rules look at single bytes. That is safe with UTF-8 as the code page: every byte of
// a multi-byte character is 0x80 or above, so none can be taken for a separator or one of the
// forbidden ASCII characters. (In a double-byte code page a trail byte can equal '\' or '|';
// such names were split or refused, and still would be.)
#include "folderpicker/folder_rules.h"

#include <cstring>

#include "folderpicker/folder_root.h"
#include "platform/platform.h"

namespace {

bool IsEdgeCharacter(char c) {
  return c == '\t' || c == ' ' || c == '.';
}

// `pattern` with its "%s" replaced by `path`.
std::string MessageFor(const char* pattern, const char* path) {
  std::string text = pattern;
  text.replace(text.find("%s"), 2, path != nullptr ? path : "");
  return text;
}

}  // namespace

bool IsValidFolderName(const char* name) {
  if (name == nullptr || *name == '\0') {
    return false;
  }
  const std::size_t length = std::strlen(name);
  if (IsEdgeCharacter(name[0]) || IsEdgeCharacter(name[length - 1])) {
    return false;
  }
  return std::strpbrk(name, "\"*/:<>?\\|") == nullptr;
}

int CreateFolderPath(const char* path, bool checkOnly) {
  if (path == nullptr) {
    return kFolderInvalid;
  }
  const std::string copy(path, strnlen(path, kMaxFolderPathLength));
  const std::size_t root = FolderRootLength(copy);
  if (root == 0) {
    return kFolderInvalid;
  }
  if (copy.size() == root) {
    return checkOnly || platform::PathExists(copy) ? kFolderUsable : kFolderNotCreated;
  }
  for (std::size_t begin = root;;) {
    std::size_t end = copy.find(platform::kPathSeparator, begin);
    const bool last = end == std::string::npos;
    if (last) {
      end = copy.size();
    }
    if (!IsValidFolderName(copy.substr(begin, end - begin).c_str())) {
      return kFolderInvalid;
    }
    if (!checkOnly) {
      // An existing folder is fine: only whether it exists afterwards counts.
      const std::string folder = copy.substr(0, end);
      platform::CreateFolder(folder);
      if (!platform::PathExists(folder)) {
        return kFolderNotCreated;
      }
    }
    if (last) {
      return kFolderUsable;
    }
    begin = end + 1;
    if (begin == copy.size()) {
      return kFolderInvalid;  // ends with a separator
    }
  }
}

int ValidateFolder(const char* path, CFolderMessages& messages) {
  int result = CreateFolderPath(path, true);
  if (result == kFolderUsable) {
    if (platform::PathExists(path)) {
      return kFolderUsable;
    }
    if (!messages.AskYesNo(MessageFor(kAskCreateFolder, path))) {
      return kFolderDeclined;
    }
    result = CreateFolderPath(path, false);
    if (result == kFolderUsable) {
      return kFolderUsable;
    }
  }
  messages.Warn(
      MessageFor(result == kFolderInvalid ? kFolderIsInvalid : kFolderCannotBeCreated, path));
  return result;
}
