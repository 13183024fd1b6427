#include "folder_rules_support.h"

const char kRootOfTests[] = "/";

// The root; a drive-letter path is relative here; an empty first component; a backslash is
// still refused inside a name.
const std::vector<PathRuleCase> kPlatformPathCases = {
    {"/", 0}, {"C:\\Photos", 1}, {"//server/share", 1}, {"/Photos\\2012", 1}};

// Longer than any file system allows a name to be.
const std::string kUncreatableName(256, 'n');

std::string MissingRoot() {
  return "";
}
