// Names Windows will not give a folder as they stand.
#include <cctype>

#include "platform/folder_names.h"

namespace platform {
namespace {

// Device names; a device also answers to its name followed by an extension.
bool IsDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') {
    stem.pop_back();
  }
  for (char& c : stem) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* device : kDevices) {
    if (stem == device) {
      return true;
    }
  }
  // COM0-COM9 and LPT0-LPT9, also with the superscript digits 1-3 (UTF-8).
  const std::string head = stem.substr(0, 3);
  if (head != "COM" && head != "LPT") {
    return false;
  }
  const std::string tail = stem.substr(3);
  return (tail.size() == 1 && tail[0] >= '0' && tail[0] <= '9') || tail == "\xC2\xB9" ||
         tail == "\xC2\xB2" || tail == "\xC2\xB3";
}

}  // namespace

bool IsPlainFolderName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ' || IsDeviceName(name)) {
    return false;
  }
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string("<>:\"|?*").find(c) != std::string::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace platform
