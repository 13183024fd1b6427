#include "folder_rules_support.h"

const char kRootOfTests[] = "C:\\";

const std::vector<PathRuleCase> kPlatformPathCases = {
    {"C:\\", 0},
    {"z:\\", 0},  // drive roots
    {"C:", 1},
    {"C:Photos", 1},  // too short; no backslash after the colon
    {"1:\\a", 1},
    {"C:/Photos", 1},          // no drive letter; a slash is not the separator
    {"\\\\server\\share", 1},  // network path
    {"/Photos", 1},
};

// Control characters are allowed by the rules but not in Windows file names.
const std::string kUncreatableName = "bad\x01name";
