#include "app/folder_argument.h"

#include <windows.h>

#include "platform/platform.h"

namespace {

constexpr char kSeparator = platform::kPathSeparator;

bool IsRoot(const std::string& path) {
  return path.size() == 3 && path[1] == ':' && path[2] == kSeparator;
}

// The path's attributes, or INVALID_FILE_ATTRIBUTES. Narrow text is the program's UTF-8.
DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == kSeparator && !IsRoot(folder))
    folder.pop_back();
  const DWORD attributes = AttributesOf(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return std::string();
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return folder;
  const std::size_t cut = folder.find_last_of(kSeparator);
  if (cut == std::string::npos)
    return std::string();
  folder.resize(cut);
  if (folder.size() == 2 && folder[1] == ':')
    folder += kSeparator;
  return folder;
}

std::string CommandLineArguments() {
  const wchar_t* line = GetCommandLineW();
  // The program's name: quoted, or up to the first blank.
  if (*line == L'"') {
    for (++line; *line && *line != L'"'; ++line) {
    }
    if (*line)
      ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t')
      ++line;
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string arguments(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, arguments.data(), size, nullptr, nullptr);
  arguments.resize(arguments.size() - 1);
  return arguments;
}

std::string PathArgument(const std::string& arguments, const std::string& startFolder) {
  std::string path;
  const std::size_t quote = arguments.find('"');
  if (quote != std::string::npos) {
    const std::size_t end = arguments.find('"', quote + 1);
    path = arguments.substr(quote + 1, end == std::string::npos ? end : end - quote - 1);
  } else {
    const std::size_t first = arguments.find_first_not_of(" \t\r\n");
    if (first != std::string::npos)
      path = arguments.substr(first, arguments.find_last_not_of(" \t\r\n") - first + 1);
  }
  if (path.empty())
    return path;
  const bool absolute = (path.size() > 2 && path[1] == ':' && path[2] == kSeparator) ||
                        path.rfind(std::string(2, kSeparator), 0) == 0;
  if (!absolute) {
    const bool separated = !startFolder.empty() && startFolder.back() == kSeparator;
    path = startFolder + (separated ? "" : std::string(1, kSeparator)) + path;
  }
  // "." and ".." resolved; the current folder is not used for an absolute path.
  char full[MAX_PATH * 4] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

std::string PickedFolderPath(const std::string& folder) {
  return folder + kSeparator;
}
