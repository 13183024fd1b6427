// A drive root that does not exist is a valid path: the user is asked, and creating it fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folder_rules_support.h"
#include "folderpicker/folder_rules.h"
#include "platform/platform.h"

namespace {

TEST(ValidateFolder, AMissingDriveIsAskedForAndCannotBeCreated) {
  std::string root;
  for (char drive = 'Q'; drive <= 'Y' && root.empty(); ++drive) {
    const std::string candidate = std::string(1, drive) + ":\\";
    if (!platform::PathExists(candidate)) {
      root = candidate;
    }
  }
  if (root.empty()) {
    GTEST_SKIP() << "every drive from Q: to Y: exists here";
  }
  EXPECT_EQ(CreateFolderPath(root.c_str(), true), 0);
  ScriptedMessages messages(true);
  EXPECT_EQ(ValidateFolder(root.c_str(), messages), 2);
  EXPECT_EQ(
      messages.shown,
      (std::vector<std::string>{
          "? The folder:\n\n" + root + "\n\ndoes not exist. Do you want the folder to be created?",
          "! The folder:\n\n" + root + "\n\ncan not be created. Please double check."}));
}

}  // namespace
