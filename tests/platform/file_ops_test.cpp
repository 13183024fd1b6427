// A file's size and last-write time, and removing files and empty folders.
#include <string>

#include "platform/file_ops.h"
#include "platform_test_support.h"

namespace {

TEST(FileOps, InfoOfFilesOnlyAndTheSameTimeTheListingGives) {
  testfiles::TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "相册/a.jpg", "12345"));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(root / "相册/a.jpg", 2012, 5, 17));
  platform::FileInfo info;
  ASSERT_TRUE(platform::ReadFileInfo(root / "相册/a.jpg", &info));
  EXPECT_EQ(info.size, 5u);
  EXPECT_EQ(info.lastWrite, platformtest::ListedEntries(root / "相册/")["a.jpg"].written);
  EXPECT_FALSE(platform::ReadFileInfo(root / "相册", &info)) << "a folder";
  EXPECT_FALSE(platform::ReadFileInfo(root / "相册/none.jpg", &info));
}

TEST(FileOps, RemovesFilesAndOnlyEmptyFolders) {
  testfiles::TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "相册/2012-05-17/a.jpg", "a"));
  EXPECT_FALSE(platform::RemoveEmptyFolder(root / "相册/2012-05-17"));
  EXPECT_TRUE(testfiles::Exists(root / "相册/2012-05-17/a.jpg"));
  EXPECT_TRUE(platform::RemoveFile(root / "相册/2012-05-17/a.jpg"));
  EXPECT_FALSE(platform::RemoveFile(root / "相册/2012-05-17/a.jpg"));
  EXPECT_TRUE(platform::RemoveEmptyFolder(root / "相册/2012-05-17/"));
  EXPECT_FALSE(testfiles::Exists(root / "相册/2012-05-17"));
  EXPECT_FALSE(platform::RemoveFile(root / "相册")) << "a folder is no file";
}

}  // namespace
