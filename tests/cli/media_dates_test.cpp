// --media-dates end to end: the day of each kind of file, the dry run's sources, and the
// tool unchanged without the option.
#include <gtest/gtest.h>

#include "box_builder.h"
#include "cli_test_support.h"
#include "jpeg_builder.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

using clitest::Has;
using clitest::RunCaptured;

class MediaDates : public ::testing::Test {
 protected:
  MediaDates() : source_(root_ / "相册/"), target_(root_ / "整理/"), errors_(root_ / "e.txt") {
    using namespace boxbuilder;
    testfiles::MakeFolders(source_);
    testfiles::MakeFolders(target_);
    const std::uint64_t noonUtc = Seconds1904(2019, 7, 1, 12);
    Add("phone.heic", HeifWithExif(jpegbuilder::ExifBlockWithDate("2021:03:14 10:15:00")));
    Add("clip.mp4", Movie({MovieHeader(0, noonUtc)}));
    Add("phone.mov",
        Movie({MovieHeader(0, noonUtc), CreationDateMeta("2020-02-02T23:30:00-0500")}));
    Add("IMG_20180505_101010.jpg", jpegbuilder::PhotoWithDate(""));
    Add("scan.jpeg", jpegbuilder::PhotoWithDate("2012:05:17 10:20:30"));
    Add("broken.mp4", Text("not a movie"));
  }

  void Add(const std::string& name, const boxbuilder::Bytes& bytes) {
    ASSERT_TRUE(jpegbuilder::WriteBytes(source_ + name, bytes));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(source_ + name, 2013, 1, 2));
  }

  clitest::CliResult Run(std::vector<std::string> options) {
    options.insert(options.end(),
                   {"--filter", "jpg,peg,mov,mp4,eic", "--error-file", errors_, source_, target_});
    return RunCaptured(options);
  }

  testfiles::TempFolder root_;
  std::string source_, target_, errors_;
};

TEST_F(MediaDates, EachFileGoesUnderTheDayOfItsBestSource) {
  ASSERT_EQ(Run({"--media-dates"}).status, 0);
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2012年/2012-05-17/scan.jpeg", "2013年/2013-01-02/broken.mp4",
                                      "2018年/2018-05-05/IMG_20180505_101010.jpg",
                                      "2019年/2019-07-01/clip.mp4", "2020年/2020-02-02/phone.mov",
                                      "2021年/2021-03-14/phone.heic"}));
}

TEST_F(MediaDates, DryRunNamesTheSourceOfEachDayOnlyWithTheOption) {
  const clitest::CliResult on = Run({"--dry-run", "--media-dates"});
  const std::string sep(1, platform::kPathSeparator);
  const struct {
    const char* file;
    const char* source;
  } lines[] = {
      {"phone.heic", "HEIC EXIF"},
      {"clip.mp4", "QuickTime UTC"},
      {"phone.mov", "QuickTime local"},
      {"IMG_20180505_101010.jpg", "name"},
      {"scan.jpeg", "EXIF"},
      {"broken.mp4", "file date"},
  };
  for (const auto& line : lines) {
    EXPECT_TRUE(Has(on.out, sep + line.file + "\n日期来源: " + line.source + "\n"));
  }

  const clitest::CliResult off = Run({"--dry-run"});
  EXPECT_EQ(off.out.find("日期来源"), std::string::npos) << off.out;
  // Without the option only .jpg files are read: everything else goes by its file date.
  EXPECT_TRUE(Has(off.out, "2013-01-02" + sep + "scan.jpeg\n"));
  EXPECT_TRUE(Has(off.out, "2013-01-02" + sep + "phone.heic\n"));
  EXPECT_TRUE(Has(off.out, "2013-01-02" + sep + "IMG_20180505_101010.jpg\n"));
}

}  // namespace
