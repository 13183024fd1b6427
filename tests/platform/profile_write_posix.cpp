// Linux INI writes replace the file by a rename: the file keeps its permissions, no temporary
// file stays behind, and a file that cannot be read is never replaced.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform_test_support.h"

namespace {

TEST(ProfileWrite, KeepsPermissionsLeavesNoTemporaryAndNeverReplacesAnUnreadableFile) {
  testfiles::TempFolder folder;
  const std::string path = folder / "Config.ini";
  ASSERT_TRUE(testfiles::WriteText(path, "[A]\nx=1\n"));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_TRUE(platform::WriteIniText(path, "A", "x", "2"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(testfiles::ListFiles(folder.Path()), std::vector<std::string>{"Config.ini"});
  EXPECT_EQ(testfiles::ReadAll(path), "[A]\nx=2\n");

  const std::string blocked = folder / "folder.ini";  // a folder where the file should be
  ASSERT_TRUE(testfiles::MakeFolders(blocked));
  EXPECT_FALSE(platform::WriteIniText(blocked, "A", "x", "1"));
  EXPECT_TRUE(testfiles::Exists(blocked + "/"));
  EXPECT_EQ(testfiles::ListFiles(folder.Path()), std::vector<std::string>{"Config.ini"});
}

}  // namespace
