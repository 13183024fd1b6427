// The album generator: the demo album organizes as it promises, benchmark trees are what
// their options say, and the command refuses what it must.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "album.h"
#include "cli_test_support.h"
#include "test_files.h"

namespace {

using clitest::CliResult;
using clitest::RunCaptured;

std::uintmax_t SizeOf(const std::string& path) {
  std::error_code error;
  return std::filesystem::file_size(clitest::Utf8Path(path), error);
}

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

  const CliResult result = RunCaptured({"--error-file", root / "errors.txt", album, target});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_NE(result.out.find("整理文件 16 个, 失败 1 个"), std::string::npos) << result.out;

  // Photos land on their EXIF days whatever their file dates and byte orders (0101 and 0202
  // little-endian, 0102 and 0201 big-endian); the JPEG without EXIF and the videos on their
  // file days. Nothing from .thumbs or .Trashes, no lock, text or png file.
  EXPECT_EQ(testfiles::ListFiles(target), (std::vector<std::string>{
                                              "2019年/2019-10-01/IMG_0101.JPG",
                                              "2019年/2019-10-01/IMG_0102.JPG",
                                              "2019年/2019-10-01/IMG_0103.JPG",
                                              "2019年/2019-10-02/IMG_0201.JPG",
                                              "2019年/2019-10-02/IMG_0202.jpg",
                                              "2020年/2020-08-15/IMG_0001.JPG",
                                              "2020年/2020-08-15/IMG_0002.JPG",
                                              "2020年/2020-08-16/IMG_0004.JPG",
                                              "2020年/2020-08-16/MVI_0003.MOV",
                                              "2020年/2020-08-17/IMG_0005.JPG",
                                              "2021年/2021-03-14/IMG_20210314_101500.jpg",
                                              "2021年/2021-03-14/IMG_20210314_101722.jpg",
                                              "2021年/2021-03-14/VID_20210314_102000.mp4",
                                              "2021年/2021-03-15/IMG_20210315_200130.jpg",
                                              "2021年/2021-03-20/下载图片_20210320.jpg",
                                          }));
  // A copy: the album, skipped entries included, is untouched.
  EXPECT_EQ(testfiles::ListFiles(album), made);
  for (const char* kept : {"2019 旅行/第二天/.thumbs/IMG_0201.jpg", "2019 旅行/~$行程安排.docx",
                           "Camera/.Trashes/IMG_0009.JPG"}) {
    EXPECT_NE(std::find(made.begin(), made.end(), kept), made.end()) << kept;
  }

  // The clash: exactly one failure, one of the two IMG_0001.JPG.
  const std::string failures = testfiles::ReadAll(root / "errors.txt");
  EXPECT_EQ(failures.rfind("复制文件失败: "), 0u) << failures;
  EXPECT_NE(failures.find(testfiles::Native("/img_0001.jpg -> ")), std::string::npos);
  // The placed one is one of the two originals, byte for byte.
  const std::string placed =
      testfiles::ReadAll(target + testfiles::Native("/2020年/2020-08-15/IMG_0001.JPG"));
  EXPECT_TRUE(placed == testfiles::ReadAll(
                            album + testfiles::Native("/Camera/DCIM/100CANON/IMG_0001.JPG")) ||
              placed == testfiles::ReadAll(
                            album + testfiles::Native("/Camera/DCIM/101CANON/IMG_0001.JPG")));
  EXPECT_NE(testfiles::ReadAll(album + testfiles::Native("/Camera/DCIM/100CANON/IMG_0001.JPG")),
            testfiles::ReadAll(album + testfiles::Native("/Camera/DCIM/101CANON/IMG_0001.JPG")));
}

class BenchmarkTree : public ::testing::Test {
 protected:
  static album::TreeOptions Options(std::uint64_t seed) {
    album::TreeOptions options;
    options.files = 400;
    options.seed = seed;
    options.minSize = 2 * 1024;
    options.maxSize = 64 * 1024;
    return options;
  }
};

TEST_F(BenchmarkTree, HoldsExactlyTheFilesAndBytesItReports) {
  testfiles::TempFolder root;
  album::TreeTotals totals;
  std::string error;
  ASSERT_TRUE(album::MakeBenchmarkTree(root.Path(), Options(3), &totals, &error)) << error;

  const std::vector<std::string> files = testfiles::ListFiles(root.Path());
  EXPECT_EQ(totals.files, 400);
  EXPECT_EQ(files.size(), 400u);
  EXPECT_EQ(totals.photos + totals.photosWithoutExif + totals.videos + totals.skipped, 400);
  std::uintmax_t bytes = 0;
  for (const std::string& file : files) {
    const std::uintmax_t size = SizeOf(root / file);
    bytes += size;
    const bool skipped = file.find("/.") != std::string::npos ||
                         file.find("/~") != std::string::npos || file.ends_with(".png") ||
                         file.ends_with(".xmp");
    if (!skipped) {
      EXPECT_GE(size, 2u * 1024) << file;
      EXPECT_LE(size, 64u * 1024) << file;
    }
  }
  EXPECT_EQ(bytes, totals.bytes);

  // The mix a benchmark wants: mostly photos with EXIF, some of everything else.
  EXPECT_GT(totals.photos, 300);
  EXPECT_GT(totals.photosWithoutExif, 0);
  EXPECT_GT(totals.videos, 10);
  EXPECT_GT(totals.skipped, 0);
}

TEST_F(BenchmarkTree, SameSeedSameTreeOtherSeedOtherTree) {
  testfiles::TempFolder first, second, third;
  album::TreeTotals totals;
  std::string error;
  ASSERT_TRUE(album::MakeBenchmarkTree(first.Path(), Options(11), &totals, &error)) << error;
  ASSERT_TRUE(album::MakeBenchmarkTree(second.Path(), Options(11), &totals, &error)) << error;
  ASSERT_TRUE(album::MakeBenchmarkTree(third.Path(), Options(12), &totals, &error)) << error;

  const std::vector<std::string> files = testfiles::ListFiles(first.Path());
  ASSERT_EQ(testfiles::ListFiles(second.Path()), files);
  for (const std::string& file : files) {
    ASSERT_EQ(testfiles::ReadAll(first / file), testfiles::ReadAll(second / file)) << file;
  }
  EXPECT_NE(testfiles::ListFiles(third.Path()), files);
}

TEST_F(BenchmarkTree, OrganizesWithoutFailuresAndSkipsWhatItSays) {
  testfiles::TempFolder source, target;
  album::TreeTotals totals;
  std::string error;
  ASSERT_TRUE(album::MakeBenchmarkTree(source.Path(), Options(5), &totals, &error)) << error;

  const CliResult result =
      RunCaptured({"--quiet", "--error-file", target / "errors.txt", source.Path(), target.Path()});
  EXPECT_EQ(result.status, 0) << result.out;
  const int handled = totals.photos + totals.photosWithoutExif + totals.videos;
  EXPECT_NE(result.out.find("整理文件 " + std::to_string(handled) + " 个, 失败 0 个"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(testfiles::ListFiles(target.Path()).size(), static_cast<std::size_t>(handled));
}

TEST(MakeAlbumCommand, RefusesWhatItMustAndCreatesMissingFolders) {
  testfiles::TempFolder root;
  clitest::CapturedStream out, err;
  ASSERT_TRUE(testfiles::WriteText(root / "full/a.txt", "x"));
  ASSERT_TRUE(testfiles::WriteText(root / "file.txt", "x"));

  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    clitest::CapturedStream caseOut, caseErr;
    EXPECT_EQ(album::RunMakeAlbum(c.args, caseOut.get(), caseErr.get()), 2) << c.error;
    EXPECT_NE(caseErr.Text().find(c.error), std::string::npos) << caseErr.Text();
    EXPECT_EQ(caseOut.Text(), "");
  }
  EXPECT_FALSE(testfiles::Exists(root / "x"));

  // A missing folder, two levels deep, is made; sizes take K and M.
  const std::string fresh = root / "new/tree";
  EXPECT_EQ(album::RunMakeAlbum(
                {"--files", "30", "--min-size", "1K", "--max-size", "1M", "--seed", "9", fresh},
                out.get(), err.get()),
            0)
      << err.Text();
  EXPECT_EQ(testfiles::ListFiles(fresh).size(), 30u);
  EXPECT_NE(out.Text().find("已生成 30 个文件"), std::string::npos) << out.Text();
}

}  // namespace
