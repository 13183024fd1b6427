#include "cli/cli_paths.h"

#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 text; std::filesystem is told so explicitly, since on Windows its narrow
// conversion would otherwise follow the code page of the C runtime.
fs::path FromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string ToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The absolute, lexically normalised form, with every separator the platform's own. When the
// current folder cannot be found the typed text is only normalised.
std::string Normalised(const std::string& typed) {
  std::error_code error;
  fs::path path = fs::absolute(FromUtf8(typed), error);
  if (error) {
    path = FromUtf8(typed);
  }
  return ToUtf8(path.lexically_normal().make_preferred());
}

}  // namespace

std::string AbsoluteFolderPath(const std::string& typed) {
  if (typed.empty()) {
    return typed;
  }
  std::string path = Normalised(typed);
  if (path.empty() || path.back() != platform::kPathSeparator) {
    path += platform::kPathSeparator;
  }
  return path;
}

std::string AbsoluteFilePath(const std::string& typed) {
  if (typed.empty()) {
    return typed;
  }
  return Normalised(typed);
}
