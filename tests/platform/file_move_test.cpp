#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform_test_support.h"
#include "test_files.h"

namespace {

using platformtest::ListedWriteTime;
using testfiles::Exists;
using testfiles::ListFiles;
using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;

TEST(MoveFileNoOverwrite, MovesWithinOneFileSystem) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "src/照片.JPG", "photo"));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(root / "src/照片.JPG", 2009, 8, 7));
  const platform::FileTime written = ListedWriteTime(root / "src/", "照片.JPG");
  ASSERT_TRUE(testfiles::MakeFolders(root / "2009年/2009-08-07"));

  ASSERT_TRUE(
      platform::MoveFileNoOverwrite(root / "src/照片.JPG", root / "2009年/2009-08-07/照片.JPG"));
  EXPECT_FALSE(Exists(root / "src/照片.JPG"));
  EXPECT_EQ(ReadAll(root / "2009年/2009-08-07/照片.JPG"), "photo");
  EXPECT_EQ(ListedWriteTime(root / "2009年/2009-08-07/", "照片.JPG"), written);
}

TEST(MoveFileNoOverwrite, NeverOverwritesAndKeepsTheSourceOnFailure) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "a/x.jpg", "first"));
  ASSERT_TRUE(WriteText(root / "b/x.jpg", "second"));
  EXPECT_FALSE(platform::MoveFileNoOverwrite(root / "b/x.jpg", root / "a/x.jpg"));
  EXPECT_FALSE(platform::MoveFileNoOverwrite(root / "b/x.jpg", root / "missing/x.jpg"));
  EXPECT_FALSE(platform::MoveFileNoOverwrite(root / "b/gone.jpg", root / "a/gone.jpg"));
  EXPECT_EQ(ReadAll(root / "a/x.jpg"), "first");
  EXPECT_EQ(ReadAll(root / "b/x.jpg"), "second");
  EXPECT_EQ(ListFiles(root.Path()), (std::vector<std::string>{"a/x.jpg", "b/x.jpg"}));
}

TEST(MoveFileNoOverwrite, MovesAcrossFileSystems) {
  const std::string other = platformtest::OtherFileSystemFolder();
  if (other.empty()) {
    GTEST_SKIP() << "no second file system beside the temporary folder";
  }
  TempFolder near;
  TempFolder far(other);
  const std::string content = platformtest::MixedBytes(3 * 1024 * 1024 + 17);
  ASSERT_TRUE(WriteText(far / "clip.mp4", content));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(far / "clip.mp4", 2015, 6, 1));
  const platform::FileTime written = ListedWriteTime(far.Path(), "clip.mp4");

  ASSERT_TRUE(platform::MoveFileNoOverwrite(far / "clip.mp4", near / "clip.mp4"));
  EXPECT_FALSE(Exists(far / "clip.mp4"));
  EXPECT_TRUE(ReadAll(near / "clip.mp4") == content);
  EXPECT_EQ(ListedWriteTime(near.Path(), "clip.mp4"), written);

  // Back onto an existing name: refused, both files as they were, no temporary left.
  ASSERT_TRUE(WriteText(far / "clip.mp4", "other"));
  EXPECT_FALSE(platform::MoveFileNoOverwrite(near / "clip.mp4", far / "clip.mp4"));
  EXPECT_EQ(ReadAll(far / "clip.mp4"), "other");
  EXPECT_TRUE(ReadAll(near / "clip.mp4") == content);
  EXPECT_EQ(ListFiles(far.Path()), std::vector<std::string>{"clip.mp4"});
  EXPECT_EQ(ListFiles(near.Path()), std::vector<std::string>{"clip.mp4"});
}

}  // namespace
