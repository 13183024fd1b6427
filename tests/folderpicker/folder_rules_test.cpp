// The picker's path rules: which names and paths are valid, creating nested folders, and the
// questions and warnings of the check run when OK is pressed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_rules_support.h"
#include "folderpicker/folder_rules.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

const std::string kSep(1, platform::kPathSeparator);

TEST(IsValidFolderName, RefusesEdgesAndForbiddenCharacters) {
  const std::pair<const char*, bool> names[] = {
      {"2012", true}, {"a b", true},          {"a.b", true},   {"照片", true}, {"~tmp", true},
      {"", false},    {" a", false},          {"a ", false},   {"\ta", false}, {"a\t", false},
      {".a", false},  {"a.", false},          {"a\"b", false}, {"a*b", false}, {"a/b", false},
      {"a:b", false}, {"a<b", false},         {"a>b", false},  {"a?b", false}, {"a\\b", false},
      {"a|b", false}, {"\xe8\xa1\xa8", true},  // UTF-8 bytes are all 0x80 or above
  };
  for (const auto& [name, valid] : names) {
    EXPECT_EQ(IsValidFolderName(name), valid) << "[" << name << "]";
  }
  EXPECT_FALSE(IsValidFolderName(nullptr));
}

TEST(CreateFolderPath, CheckOnlyJudgesTheTextAlone) {
  const std::string root = kRootOfTests;
  std::vector<PathRuleCase> cases = {
      {root + "Photos", 0},
      {root + "Photos" + kSep + "2012" + kSep + "照片", 0},
      {root + "missing" + kSep + "folders", 0},  // checking does not look at the disk
      {root + "Photos" + kSep, 1},               // a final separator
      {root + "Photos" + kSep + kSep + "2012", 1},
      {"Photos" + kSep + "2012", 1},  // relative
      {root + "Pho?tos", 1},
      {root + "2012." + kSep + "a", 1},
      {root + " Photos", 1},
      {"", 1},
  };
  cases.insert(cases.end(), kPlatformPathCases.begin(), kPlatformPathCases.end());
  for (const PathRuleCase& test : cases) {
    EXPECT_EQ(CreateFolderPath(test.path.c_str(), true), test.checked) << test.path;
  }
  EXPECT_EQ(CreateFolderPath(nullptr, true), 1);
}

TEST(CreateFolderPath, CreatesEveryMissingFolderAndKeepsThoseMadeBeforeAFailure) {
  testfiles::TempFolder temp;
  const std::string nested = temp / "A/B/照片";
  EXPECT_EQ(CreateFolderPath(nested.c_str(), false), 0);
  EXPECT_TRUE(testfiles::Exists(nested));
  EXPECT_EQ(CreateFolderPath(nested.c_str(), false), 0);  // existing folders are fine

  const std::string blocked = temp / ("X/" + kUncreatableName + "/C");
  EXPECT_EQ(CreateFolderPath(blocked.c_str(), true), 0);
  EXPECT_EQ(CreateFolderPath(blocked.c_str(), false), 2);
  EXPECT_TRUE(testfiles::Exists(temp / "X"));
}

TEST(ValidateFolder, AsksWarnsAndCreatesAsTheUserAnswers) {
  testfiles::TempFolder temp;
  ASSERT_TRUE(testfiles::WriteText(temp / "file.txt", "x"));
  const std::string missing = temp / "Photos/2012";
  const std::string invalid = temp / "Photos/";
  const std::string blocked = temp / ("Y/" + kUncreatableName);
  const std::string ask =
      "? The folder:\n\n" + missing + "\n\ndoes not exist. Do you want the folder to be created?";
  struct Case {
    std::string path;
    bool yes;
    int result;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {temp.Path().substr(0, temp.Path().size() - 1), true, 0, {}},
      {temp / "file.txt", true, 0, {}},  // an existing file passes the existence test
      {missing, false, -1, {ask}},
      {invalid, true, 1, {"! The folder:\n\n" + invalid + "\n\nis invalid. Please reenter."}},
      {missing, true, 0, {ask}},
      {blocked,
       true,
       2,
       {"? The folder:\n\n" + blocked + "\n\ndoes not exist. Do you want the folder to be created?",
        "! The folder:\n\n" + blocked + "\n\ncan not be created. Please double check."}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.path);
    const bool existedBefore = testfiles::Exists(test.path);
    ScriptedMessages messages(test.yes);
    EXPECT_EQ(ValidateFolder(test.path.c_str(), messages), test.result);
    EXPECT_EQ(messages.shown, test.shown);
    EXPECT_EQ(testfiles::Exists(test.path), test.result == 0);
    if (test.result == -1) {
      EXPECT_FALSE(existedBefore || testfiles::Exists(temp / "Photos"));
    }
  }
  EXPECT_TRUE(testfiles::Exists(temp / "Y"));  // made before the failing folder
}

}  // namespace
