// Lower-casing, and local days in years far from now.
#include <string>

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

}  // namespace
