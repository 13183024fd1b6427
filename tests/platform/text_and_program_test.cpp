#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

TEST(ToLower, LowersAsciiLettersAndKeepsChineseText) {
  EXPECT_EQ(platform::ToLower("IMG_0001.JPG"), "img_0001.jpg");
  EXPECT_EQ(platform::ToLower("Clip.Mp4"), "clip.mp4");
  EXPECT_EQ(platform::ToLower("D:\\相册\\2012年\\照片ABC.JPG"), "d:\\相册\\2012年\\照片abc.jpg");
  EXPECT_EQ(platform::ToLower("/Home/照片/[Z]@.Avi"), "/home/照片/[z]@.avi");
  EXPECT_EQ(platform::ToLower(""), "");
  const std::string chinese = "整理文件失败删除源文件";
  EXPECT_EQ(platform::ToLower(chinese), chinese);
}

TEST(ProgramFolder, EndsWithSeparatorAndHoldsThisProgram) {
  const std::string folder = platform::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), platform::kPathSeparator);
  bool found = false;
  platform::FolderListing listing(folder);
  ASSERT_TRUE(listing.IsOpen()) << folder;
  do {
    found = found || platform::ToLower(listing.Name()).rfind("tests_platform", 0) == 0;
  } while (listing.Next());
  EXPECT_TRUE(found) << folder;
}

}  // namespace
