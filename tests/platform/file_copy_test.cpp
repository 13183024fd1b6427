#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform_test_support.h"
#include "test_files.h"

namespace {

using platformtest::ListedWriteTime;
using platformtest::MixedBytes;
using testfiles::ListFiles;
using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;

TEST(CopyFileNoOverwrite, CopiesContentAndLastWriteTime) {
  TempFolder source;
  TempFolder target;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty.mov", ""},
      {"照片.jpg", "small photo"},
      {"large.mp4", MixedBytes(5 * 1024 * 1024 + 321)},
  };
  for (const auto& [name, content] : files) {
    ASSERT_TRUE(WriteText(source / name, content));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(source / name, 2011, 3, 4, 8));
    const platform::FileTime written = ListedWriteTime(source.Path(), name);

    ASSERT_TRUE(platform::CopyFileNoOverwrite(source / name, target / name)) << name;
    EXPECT_TRUE(ReadAll(target / name) == content) << name;
    EXPECT_TRUE(ReadAll(source / name) == content) << name;
    EXPECT_EQ(ListedWriteTime(target.Path(), name), written) << name;
  }
  EXPECT_EQ(ListFiles(target.Path()), ListFiles(source.Path()));  // and nothing else
}

TEST(CopyFileNoOverwrite, NeverOverwrites) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "new/a.jpg", "new"));
  ASSERT_TRUE(WriteText(root / "old/a.jpg", "old"));
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "new/a.jpg", root / "old/a.jpg"));
  EXPECT_EQ(ReadAll(root / "old/a.jpg"), "old");
  EXPECT_EQ(ReadAll(root / "new/a.jpg"), "new");

  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "new/a.jpg", root / "new/a.jpg"));
  EXPECT_EQ(ReadAll(root / "new/a.jpg"), "new");

  // A folder holding the name is not replaced either.
  ASSERT_TRUE(testfiles::MakeFolders(root / "old/b.jpg"));
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "new/a.jpg", root / "old/b.jpg"));
  EXPECT_EQ(ListFiles(root.Path()), (std::vector<std::string>{"new/a.jpg", "old/a.jpg"}));
}

TEST(CopyFileNoOverwrite, FailureLeavesNoFileAndNoTemporary) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "source/folder.jpg"));
  ASSERT_TRUE(WriteText(root / "source/a.jpg", "a"));
  ASSERT_TRUE(testfiles::MakeFolders(root / "target"));

  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "source/folder.jpg", root / "target/f.jpg"));
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "source/gone.jpg", root / "target/g.jpg"));
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "source/a.jpg", root / "target/no/a.jpg"));

  EXPECT_FALSE(testfiles::Exists(root / "target/f.jpg"));
  EXPECT_FALSE(testfiles::Exists(root / "target/g.jpg"));
  EXPECT_FALSE(testfiles::Exists(root / "target/no"));
  EXPECT_EQ(ListFiles(root.Path()), std::vector<std::string>{"source/a.jpg"});
}

}  // namespace
