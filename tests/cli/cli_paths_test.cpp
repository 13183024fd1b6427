#include "cli/cli_paths.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "test_files.h"

namespace {

using testfiles::Native;

TEST(CliPaths, TypedPathsBecomeAbsoluteAndNormalised) {
  testfiles::TempFolder root;
  testfiles::CurrentFolder here(root.Path());
  const std::string base = root.Path();  // ends with the separator
  const std::pair<std::string, std::string> folders[] = {
      {"相册", Native("相册/")},
      {"相册/2019", Native("相册/2019/")},
      {"相册/2019/", Native("相册/2019/")},
      {"a/../b/./c", Native("b/c/")},
      {".", ""},
      {"a/..", ""},
      {base, ""},  // absolute: the separator is not doubled
      {base + Native("x/../y//z"), Native("y/z/")},
  };
  for (const auto& [typed, expected] : folders) {
    EXPECT_EQ(AbsoluteFolderPath(typed), base + expected) << typed;
  }
  EXPECT_EQ(AbsoluteFilePath("logs/../错误.txt"), base + "错误.txt");
  EXPECT_EQ(AbsoluteFilePath(base + "x.txt"), base + "x.txt");
  // Empty stays empty, so that the job's start check asks for a folder.
  EXPECT_EQ(AbsoluteFolderPath(""), "");
  EXPECT_EQ(AbsoluteFilePath(""), "");
}

}  // namespace
