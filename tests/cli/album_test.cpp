// The demo album organizes as it promises (the README's first command runs on it).
#include <gtest/gtest.h>

#include <algorithm>

#include "album.h"
#include "cli_test_support.h"
#include "test_files.h"

namespace {

using clitest::CliResult;
using clitest::Has;
using clitest::RunCaptured;

TEST(DemoAlbum, OrganizesIntoTheDaysOfItsPhotosWithOneClash) {
  testfiles::TempFolder root;
  const std::string album = root / "相册";
  const std::string target = root / "整理";
  ASSERT_TRUE(testfiles::MakeFolders(album));
  ASSERT_TRUE(testfiles::MakeFolders(target));
  std::string error;
  ASSERT_TRUE(album::MakeDemoAlbum(album, &error)) << error;
  const std::vector<std::string> made = testfiles::ListFiles(album);
  const CliResult result = RunCaptured({"--error-file", root / "errors.txt", album, target});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(Has(result.out, "整理文件 16 个, 失败 1 个"));
  // Photos land on their EXIF days, in either byte order, not on the day they were copied
  // off the camera (2023); the JPEG without EXIF and the videos on their file days.
  const std::vector<std::string> placed = testfiles::ListFiles(target);
  EXPECT_EQ(placed.size(), 15u);
  for (const std::string& file : placed) {
    EXPECT_FALSE(file.starts_with("2023")) << file;
  }
  for (const char* day :
       {"2021年/2021-03-20/下载图片_20210320.jpg", "2020年/2020-08-16/MVI_0003.MOV",
        "2021年/2021-03-14/VID_20210314_102000.mp4"}) {
    EXPECT_NE(std::find(placed.begin(), placed.end(), day), placed.end()) << day;
  }
  EXPECT_EQ(testfiles::ListFiles(album), made) << "a copy leaves the album as it was";
  // The clash: one of the two IMG_0001.JPG.
  const std::string failures = testfiles::ReadAll(root / "errors.txt");
  EXPECT_EQ(failures.rfind("\xEF\xBB\xBF复制文件失败: ", 0), 0u) << failures;
  EXPECT_TRUE(Has(failures, testfiles::Native("/img_0001.jpg -> ")));
}

}  // namespace
