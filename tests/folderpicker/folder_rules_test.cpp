// The picker's path rules: which names and paths are valid, creating nested folders, and the
// questions and warnings of the check run when OK is pressed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_rules_support.h"
#include "folderpicker/folder_rules.h"
#include "test_files.h"

namespace {

TEST(IsValidFolderName, RefusesEdgesAndForbiddenCharacters) {
  for (const char* name : {"2012", "a b", "a.b", "照片", "~tmp"}) {
    EXPECT_TRUE(IsValidFolderName(name)) << name;
  }
  for (const char* name : {"", " a", "a ", "\ta", "a\t", ".a", "a.", "a\"b", "a*b", "a/b", "a:b",
                           "a<b", "a>b", "a?b", "a\\b", "a|b"}) {
    EXPECT_FALSE(IsValidFolderName(name)) << "[" << name << "]";
  }
}

TEST(CreateFolderPath, CheckOnlyJudgesTheTextAlone) {
  const std::string root = kRootOfTests;
  using testfiles::Native;
  std::vector<PathRuleCase> cases = {
      {root + Native("Photos/2012/照片"), 0},  // checking does not look at the disk
      {root + Native("Photos/"), 1},           // a final separator
      {root + Native("Photos//2012"), 1},     {Native("Photos/2012"), 1},
      {root + Native("2012./a"), 1},          {"", 1}};
  cases.insert(cases.end(), kPlatformPathCases.begin(), kPlatformPathCases.end());
  for (const PathRuleCase& test : cases) {
    EXPECT_EQ(CreateFolderPath(test.path.c_str(), true), test.checked) << test.path;
  }
}

TEST(ValidateFolder, AsksWarnsAndCreatesAsTheUserAnswers) {
  testfiles::TempFolder temp;
  ASSERT_TRUE(testfiles::WriteText(temp / "file.txt", "x"));
  const std::string missing = temp / "Photos/2012";
  const std::string blocked = temp / ("Y/" + kUncreatableName + "/Z");
  auto ask = [](const std::string& path) {
    return "? The folder:\n\n" + path + "\n\ndoes not exist. Do you want the folder to be created?";
  };
  auto cannot = [](const std::string& path) {
    return "! The folder:\n\n" + path + "\n\ncan not be created. Please double check.";
  };
  struct Case {
    std::string path;
    bool yes;
    int result;
    std::vector<std::string> shown;
  };
  std::vector<Case> cases = {
      {temp / "file.txt", true, 0, {}},  // an existing file passes the existence test
      {missing, false, -1, {ask(missing)}},
      {temp / "Photos/",
       true,
       1,
       {"! The folder:\n\n" + temp / "Photos/" + "\n\nis invalid. Please reenter."}},
      {missing, true, 0, {ask(missing)}},
      {blocked, true, 2, {ask(blocked), cannot(blocked)}},
  };
  if (const std::string drive = MissingRoot(); !drive.empty()) {
    cases.push_back({drive, true, 2, {ask(drive), cannot(drive)}});
  }
  for (const auto& test : cases) {
    SCOPED_TRACE(test.path);
    ScriptedMessages messages(test.yes);
    EXPECT_EQ(ValidateFolder(test.path.c_str(), messages), test.result);
    EXPECT_EQ(messages.shown, test.shown);
    EXPECT_EQ(testfiles::Exists(test.path), test.result == 0);
    if (test.result == -1) {
      EXPECT_FALSE(testfiles::Exists(temp / "Photos")) << "made on Yes only";
    }
  }
  EXPECT_TRUE(testfiles::Exists(temp / "Y"));  // made before the failing folder
}

}  // namespace
