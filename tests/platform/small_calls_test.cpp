// Lower-casing, local days in years far from now, and which paths lie below a folder.
#include <string>
#include <vector>

#include "platform/folder_bounds.h"
#include "platform_test_support.h"

namespace {

TEST(ToLower, LowersAsciiLettersOnly) {
  // '@' and '[' border 'A' and 'Z'; Chinese text stays as it is.
  EXPECT_EQ(
      platform::ToLower("D:\\相册\\2012年\\照片ABC.JPG /Home/[Z]@.Avi 整理文件失败删除源文件"),
      "d:\\相册\\2012年\\照片abc.jpg /home/[z]@.avi 整理文件失败删除源文件");
  EXPECT_EQ(platform::ToLower(""), "");
}

TEST(LocalDateOfFileTime, NoonUtcKeepsItsDayInAnyYear) {
  for (const char* day : {"1601-01-02", "1900-02-28", "1969-12-31", "2038-01-20", "9999-12-30"}) {
    const auto noon =
        platformtest::FileTimeOfUtcNoon(std::stoi(day), std::stoi(day + 5), std::stoi(day + 8));
    EXPECT_EQ(platformtest::DayOf(noon), day);
  }
  EXPECT_EQ(platformtest::DayOf(-1), "none");  // before 1601: no file time
}

TEST(IsBelowFolder, WholeNamesBelowTheFolderOnly) {
  constexpr bool kWindows = platform::kPathSeparator == '\\';
  struct Case {
    const char *path, *folder;
    bool below;
  };
  std::vector<Case> cases = {
      {"/照片/a.jpg", "/照片", true},
      {"/照片/a/b/", "/照片/", true},    // a folder's path with its separator
      {"/照片/", "/照片", false},        // the folder itself
      {"/照片2/a.jpg", "/照片", false},  // a sibling whose name starts alike
      {"/照片/../etc/a", "/照片", false},
      {"/照片/a/..", "/照片", false},
      {"/照片/./a", "/照片", false},
      {"/照片//a", "/照片", false},
      {"/a", "/", true},  // a root's text ends with its separator
      {"/a", "", false},
      {"/照片/a\\..\\..\\b.jpg", "/照片", !kWindows},  // one name on Linux
  };
  if (kWindows) {
    cases.insert(cases.end(),
                 {{"d:/照片\\a.jpg", "D:\\照片", true},  // letter case and separators
                  {"\\\\?\\D:\\照片\\a", "d:\\照片\\", true},
                  {"\\\\?\\UNC\\nas\\照片\\a", "\\\\nas\\照片", true},
                  {"\\\\nas\\照片\\a", "\\nas\\照片", false},  // a share is no folder of this drive
                  {"D:\\照片\\...\\a", "D:\\照片", false},     // dots and blanks: gone or a step up
                  {"D:\\照片\\. .\\a", "D:\\照片", false},
                  {"D:\\照片\\a.jpg:zone", "D:\\照片", false},  // a stream, or another drive
                  {"D:\\照片\\C:\\a", "D:\\照片", false}});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(platform::IsBelowFolder(c.path, c.folder), c.below) << c.path << " in " << c.folder;
  }
}

}  // namespace
