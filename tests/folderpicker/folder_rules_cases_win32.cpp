#include "folder_rules_support.h"
#include "platform/platform.h"

const char kRootOfTests[] = "C:\\";

// Drive roots; too short or no backslash after the colon; no drive letter; a slash is not
// the separator; a network path.
const std::vector<PathRuleCase> kPlatformPathCases = {
    {"C:\\", 0},  {"z:\\", 0},      {"C:", 1},      {"C:Photos", 1},
    {"1:\\a", 1}, {"C:/Photos", 1}, {"/Photos", 1}, {"\\\\server\\share", 1}};

// Control characters are allowed by the rules but not in Windows file names.
const std::string kUncreatableName = "bad\x01name";

std::string MissingRoot() {
  for (std::string root = "Q:\\"; root[0] <= 'Y'; ++root[0]) {
    if (!platform::PathExists(root)) {
      return root;
    }
  }
  return "";
}
