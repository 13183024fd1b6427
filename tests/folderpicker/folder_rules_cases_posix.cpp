#include "folder_rules_support.h"

const char kRootOfTests[] = "/";

const std::vector<PathRuleCase> kPlatformPathCases = {
    {"/", 0},               // the root
    {"C:\\Photos", 1},      // a drive-letter path is relative here
    {"//server/share", 1},  // an empty first component
    {"/Photos\\2012", 1},   // a backslash is still refused inside a name
};

// Longer than any file system allows a name to be.
const std::string kUncreatableName(256, 'n');
