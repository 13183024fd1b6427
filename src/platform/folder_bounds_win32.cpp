// Windows path syntax: '\' and '/' separate, ASCII letters compare without case, the "\\?\"
// prefix only switches off the system's rewriting of the path; the open folder's final path
// tells where a link or junction leads.
#include <windows.h>

#include <memory>

#include "platform/folder_bounds.h"

namespace platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) {
    return false;
  }
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (!path_syntax::SameByte(text[i], start[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

namespace path_syntax {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool SameByte(char a, char b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return lower(a) == lower(b) || (IsSeparator(a) && IsSeparator(b));
}

std::string_view Unprefixed(std::string_view path, bool* network) {
  *network = false;
  if (StartsWithNoCase(path, "\\\\?\\UNC\\")) {
    *network = true;
    return path.substr(8);
  }
  if (StartsWithNoCase(path, "\\\\?\\")) {
    return path.substr(4);
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    *network = true;
    return path.substr(2);
  }
  return path;
}

bool IsPlainName(std::string_view name) {
  // Windows drops a name's final dots and blanks: "..." or ". ." would become nothing or "..".
  return name.find_first_not_of(". ") != std::string_view::npos &&
         name.find(':') == std::string_view::npos;
}

}  // namespace path_syntax

std::string RealFolderPath(const std::string& folder) {
  HANDLE opened = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    return {};
  }
  const std::unique_ptr<void, HandleCloser> handle(opened);
  std::string real(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    // Too small a buffer gives the size it needs, counting the final zero.
    const DWORD length =
        GetFinalPathNameByHandleA(handle.get(), real.data(), static_cast<DWORD>(real.size()), 0);
    if (length == 0) {
      return {};
    }
    if (length < real.size()) {
      real.resize(length);
      // The usual spelling: "C:\..." or "\\server\share\...".
      bool network = false;
      const std::string_view plain = path_syntax::Unprefixed(real, &network);
      return (network ? "\\\\" : "") + std::string(plain);
    }
    real.resize(length);
  }
  return {};
}

}  // namespace platform
