// The album generator: the demo album organizes as it promises, benchmark trees are what
// their options say, and the command refuses what it must.
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
  EXPECT_GE(made.size(), 20u);
  EXPECT_LE(made.size(), 30u);
  for (const char* skipped : {"2019 旅行/第二天/.thumbs/IMG_0201.jpg", "2019 旅行/~$行程安排.docx",
                              "Camera/.Trashes/IMG_0009.JPG"}) {
    EXPECT_NE(std::find(made.begin(), made.end(), skipped), made.end()) << skipped;
  }

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

TEST(BenchmarkTree, HoldsWhatItReportsTheSameForTheSameSeedAndOrganizesCleanly) {
  testfiles::TempFolder tree, again, other, target;
  album::TreeOptions options;
  options.files = 400;
  options.seed = 5;
  options.minSize = 2 * 1024;
  options.maxSize = 64 * 1024;
  album::TreeTotals totals, ignored;
  std::string error;
  ASSERT_TRUE(album::MakeBenchmarkTree(tree.Path(), options, &totals, &error)) << error;
  ASSERT_TRUE(album::MakeBenchmarkTree(again.Path(), options, &ignored, &error)) << error;
  options.seed = 6;
  ASSERT_TRUE(album::MakeBenchmarkTree(other.Path(), options, &ignored, &error)) << error;

  const std::vector<std::string> files = testfiles::ListFiles(tree.Path());
  EXPECT_EQ(totals.files, 400);
  EXPECT_EQ(files.size(), 400u);
  EXPECT_EQ(totals.photos + totals.photosWithoutExif + totals.videos + totals.skipped, 400);
  // The mix a benchmark wants: mostly photos with EXIF, some of everything else.
  EXPECT_GT(totals.photos, 300);
  EXPECT_GT(totals.photosWithoutExif, 0);
  EXPECT_GT(totals.videos, 10);
  EXPECT_GT(totals.skipped, 0);
  std::uintmax_t bytes = 0;
  for (const std::string& file : files) {
    const std::string content = testfiles::ReadAll(tree / file);
    bytes += content.size();
    const bool skipped = file.find("/.") != std::string::npos ||
                         file.find("/~") != std::string::npos || file.ends_with(".png") ||
                         file.ends_with(".xmp");
    if (!skipped) {
      EXPECT_GE(content.size(), 2u * 1024) << file;
      EXPECT_LE(content.size(), 64u * 1024) << file;
    }
    EXPECT_EQ(testfiles::ReadAll(again / file), content) << file;
  }
  EXPECT_EQ(bytes, totals.bytes);
  EXPECT_EQ(testfiles::ListFiles(again.Path()), files);
  EXPECT_NE(testfiles::ListFiles(other.Path()), files);

  const CliResult result =
      RunCaptured({"--quiet", "--error-file", target / "errors.txt", tree.Path(), target.Path()});
  EXPECT_EQ(result.status, 0) << result.out;
  const int handled = totals.photos + totals.photosWithoutExif + totals.videos;
  EXPECT_TRUE(Has(result.out, "整理文件 " + std::to_string(handled) + " 个, 失败 0 个"));
  EXPECT_EQ(testfiles::ListFiles(target.Path()).size(), static_cast<std::size_t>(handled));
}

TEST(MakeAlbumCommand, RefusesWhatItMustAndCreatesMissingFolders) {
  testfiles::TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "full/a.txt", "x"));
  ASSERT_TRUE(testfiles::WriteText(root / "file.txt", "x"));
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{root / "full"}, "目录不是空的: " + (root / "full")},
      {{root / "file.txt"}, "不是目录: " + (root / "file.txt")},
      {{"--demo", "--files", "10", root / "x"}, "--demo 和 --files 只能选一个"},
      {{"--files", "10K", root / "x"}, "选项 --files 的参数不是数: 10K"},
      {{"--files", "0", root / "x"}, "--files 应在 1 到 10000000 之间"},
      {{"--seed", "3", root / "x"}, "--seed, --min-size 和 --max-size 只用于 --files"},
      {{"--files", "5", "--min-size", "4K", "--max-size", "2K", root / "x"},
       "--max-size 不能小于 --min-size"},
      {{"--files", "5", "--min-size", "100", root / "x"}, "--min-size 至少是 1K"},
      {{"--files", "5", "--max-size", "-5", root / "x"}, "选项 --max-size 的参数不是数: -5"},
      {{"--files"}, "选项 --files 需要一个参数"},
      {{root / "x", root / "y"}, "只能给一个目录"},
      {{}, "需要一个目录"},
  };
  for (const auto& [args, message] : cases) {
    clitest::CapturedStream out, err;
    EXPECT_EQ(album::RunMakeAlbum(args, out.get(), err.get()), 2) << message;
    EXPECT_TRUE(Has(err.Text(), message));
    EXPECT_EQ(out.Text(), "");
  }
  EXPECT_FALSE(testfiles::Exists(root / "x"));

  // A missing folder, two levels deep, is made; sizes take K and M.
  clitest::CapturedStream out, err;
  const std::string fresh = root / "new/tree";
  EXPECT_EQ(album::RunMakeAlbum(
                {"--files", "30", "--min-size", "1K", "--max-size", "1M", "--seed", "9", fresh},
                out.get(), err.get()),
            0)
      << err.Text();
  EXPECT_EQ(testfiles::ListFiles(fresh).size(), 30u);
  EXPECT_TRUE(Has(out.Text(), "已生成 30 个文件"));
}

}  // namespace
