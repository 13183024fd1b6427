#include "skin/path_ellipsis.h"

namespace {

constexpr char kEllipsis[] = "\xE2\x80\xA6";  // U+2026

bool StartsCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

std::string ShortenPathInMiddle(const std::string& path, char separator,
                                const std::function<bool(const std::string&)>& fits) {
  if (fits(path))
    return path;
  const std::size_t headEnd = path.find(separator);
  if (headEnd != std::string::npos) {
    const std::string head = path.substr(0, headEnd + 1) + kEllipsis;
    // Each separator after the head, the first one tried last, starts a shorter end.
    for (std::size_t cut = path.find(separator, headEnd + 1);
         cut != std::string::npos && cut + 1 < path.size(); cut = path.find(separator, cut + 1)) {
      const std::string shown = head + path.substr(cut);
      if (fits(shown))
        return shown;
    }
  }
  for (std::size_t start = 1; start < path.size(); ++start) {
    if (!StartsCharacter(path[start]))
      continue;
    const std::string shown = kEllipsis + path.substr(start);
    if (fits(shown))
      return shown;
  }
  return kEllipsis;
}
