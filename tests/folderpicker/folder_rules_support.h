// What differs between the platforms in the path-rule tests.
#pragma once

#include <string>
#include <vector>

#include "folderpicker/folder_rules.h"

struct PathRuleCase {
  std::string path;
  int checked;  // CreateFolderPath's result when only checking
};

// The root every valid path begins with ("C:\" or "/").
extern const char kRootOfTests[];
// Paths whose validity is a matter of this platform's root rule.
extern const std::vector<PathRuleCase> kPlatformPathCases;
// A folder name the rules accept but the file system refuses to create.
extern const std::string kUncreatableName;
// A drive root that does not exist here: valid, so the user is asked, and creating it fails
// ("" where every path has its root).
std::string MissingRoot();

// Answers the question as told and records every message box.
class ScriptedMessages : public CFolderMessages {
 public:
  explicit ScriptedMessages(bool yes) : yes_(yes) {}
  bool AskYesNo(const std::string& text) override {
    shown.push_back("? " + text);
    return yes_;
  }
  void Warn(const std::string& text) override { shown.push_back("! " + text); }
  std::vector<std::string> shown;

 private:
  bool yes_;
};
