#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_files.h"

namespace {

using testfiles::TempFolder;

TEST(PathExists, FindsFilesAndFoldersWithOrWithoutFinalSeparator) {
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "相册/a.jpg", "x"));
  EXPECT_TRUE(platform::PathExists(root / "相册/a.jpg"));
  EXPECT_TRUE(platform::PathExists(root / "相册"));
  EXPECT_TRUE(platform::PathExists(root / "相册/"));
  EXPECT_TRUE(platform::PathExists(root.Path()));
  EXPECT_FALSE(platform::PathExists(root / "相册/b.jpg"));
  EXPECT_FALSE(platform::PathExists(root / "missing/"));
  EXPECT_FALSE(platform::PathExists(root / "missing/a.jpg"));
  EXPECT_FALSE(platform::PathExists(""));
}

TEST(CreateFolder, CreatesOneLevelOnlyAndFailsWhenPresent) {
  TempFolder root;
  EXPECT_TRUE(platform::CreateFolder(root / "2012年"));
  EXPECT_TRUE(platform::PathExists(root / "2012年/"));
  EXPECT_TRUE(platform::CreateFolder(root / "2012年/2012-05-17/"));  // final separator
  EXPECT_TRUE(platform::PathExists(root / "2012年/2012-05-17"));

  EXPECT_FALSE(platform::CreateFolder(root / "2012年"));  // already there
  EXPECT_FALSE(platform::CreateFolder(root / "a/b"));     // parent missing
  EXPECT_FALSE(platform::PathExists(root / "a"));

  ASSERT_TRUE(testfiles::WriteText(root / "file", "keep"));
  EXPECT_FALSE(platform::CreateFolder(root / "file"));  // a file holds the name
  EXPECT_EQ(testfiles::ReadAll(root / "file"), "keep");
}

}  // namespace
