#include "cli/cli_paths.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

using testfiles::Native;

TEST(CliPaths, RelativeFoldersBecomeAbsoluteWithOneFinalSeparator) {
  testfiles::TempFolder root;
  clitest::CurrentFolder here(root.Path());
  const std::string base = root.Path();  // ends with the separator

  EXPECT_EQ(AbsoluteFolderPath("相册"), base + "相册" + platform::kPathSeparator);
  EXPECT_EQ(AbsoluteFolderPath("相册/2019"), base + Native("相册/2019/"));
  EXPECT_EQ(AbsoluteFolderPath("相册/2019/"), base + Native("相册/2019/"));
  EXPECT_EQ(AbsoluteFolderPath("a/../b/./c"), base + Native("b/c/"));
  EXPECT_EQ(AbsoluteFolderPath("."), base);
  EXPECT_EQ(AbsoluteFolderPath("a/.."), base);
}

TEST(CliPaths, AbsoluteFoldersAreNormalisedNotDoubled) {
  testfiles::TempFolder root;
  const std::string base = root.Path();
  EXPECT_EQ(AbsoluteFolderPath(base), base);
  EXPECT_EQ(AbsoluteFolderPath(base + "x"), base + "x" + platform::kPathSeparator);
  EXPECT_EQ(AbsoluteFolderPath(base + Native("x/../y/")), base + Native("y/"));
  // Separators typed twice collapse into one.
  EXPECT_EQ(AbsoluteFolderPath(base + Native("x//y")), base + Native("x/y/"));
}

TEST(CliPaths, EmptyStaysEmptySoTheStartCheckAsksForAFolder) {
  EXPECT_EQ(AbsoluteFolderPath(""), "");
  EXPECT_EQ(AbsoluteFilePath(""), "");
}

TEST(CliPaths, FilePathsGetNoFinalSeparator) {
  testfiles::TempFolder root;
  clitest::CurrentFolder here(root.Path());
  EXPECT_EQ(AbsoluteFilePath("logs/../errors.txt"), root.Path() + "errors.txt");
  EXPECT_EQ(AbsoluteFilePath(root / "错误.txt"), root.Path() + "错误.txt");
}

}  // namespace
