// Existence and creation of paths, lower-casing, the program's own folder, and local days
// in years far from now.
#include <cstdio>
#include <string>

#include "platform_test_support.h"

namespace {

TEST(PathExistsAndCreateFolder, OneLevelAtATimeWithOrWithoutFinalSeparator) {
  testfiles::TempFolder root;
  EXPECT_TRUE(platform::CreateFolder(root / "相册"));
  EXPECT_TRUE(platform::CreateFolder(root / "相册/2012-05-17/"));
  EXPECT_FALSE(platform::CreateFolder(root / "相册"));  // already there
  EXPECT_FALSE(platform::CreateFolder(root / "a/b"));   // parent missing
  ASSERT_TRUE(testfiles::WriteText(root / "相册/a.jpg", "keep"));
  EXPECT_FALSE(platform::CreateFolder(root / "相册/a.jpg"));  // a file holds the name
  EXPECT_EQ(testfiles::ReadAll(root / "相册/a.jpg"), "keep");
  for (const std::string& path : {root / "相册/a.jpg", root / "相册/2012-05-17", root / "相册/"}) {
    EXPECT_TRUE(platform::PathExists(path)) << path;
  }
  for (const std::string& path : {root / "相册/b.jpg", root / "a", root / "a/b/", std::string()}) {
    EXPECT_FALSE(platform::PathExists(path)) << path;
  }
}

TEST(ToLower, LowersAsciiLettersOnly) {
  const std::pair<std::string, std::string> texts[] = {
      {"D:\\相册\\2012年\\照片ABC.JPG", "d:\\相册\\2012年\\照片abc.jpg"},
      {"/Home/照片/[Z]@.Avi", "/home/照片/[z]@.avi"},  // '@' and '[' border 'A' and 'Z'
      {"整理文件失败删除源文件", "整理文件失败删除源文件"},
      {"", ""}};
  for (const auto& [text, lower] : texts) {
    EXPECT_EQ(platform::ToLower(text), lower);
  }
}

TEST(ProgramFolder, EndsWithSeparatorAndHoldsThisProgram) {
  const std::string folder = platform::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), platform::kPathSeparator);
  EXPECT_TRUE(platform::PathExists(folder + "tests_platform") ||
              platform::PathExists(folder + "tests_platform.exe"))
      << folder;
}

TEST(LocalDateOfFileTime, NoonUtcKeepsItsDayInAnyYear) {
  for (const char* day : {"1601-01-02", "1900-02-28", "1969-12-31", "2038-01-20", "9999-12-30"}) {
    int year = 0, month = 0, date = 0;
    ASSERT_EQ(std::sscanf(day, "%d-%d-%d", &year, &month, &date), 3);
    EXPECT_EQ(platformtest::DayOf(platformtest::FileTimeOfUtcNoon(year, month, date)), day);
  }
  EXPECT_EQ(platformtest::DayOf(-1), "none");  // before 1601: no file time
}

}  // namespace
