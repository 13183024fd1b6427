// The day text that the organize walk gets for a file.
#include <gtest/gtest.h>

#include "metadata/photo_date.h"
#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;

TEST(PhotoDate, OnlyJpgNamesInAnyCaseAreRead) {
  testfiles::TempFolder folder;
  const Bytes photo = PhotoWithDate("2012:05:17 10:20:30");
  for (const char* name : {"a.jpg", "b.JPG", "c.Jpg", "d.jpeg", "e.png", "jpg", "f.jpg.txt"}) {
    ASSERT_TRUE(WriteBytes(folder / name, photo));
  }
  EXPECT_EQ(GetPhotoDate(folder / "a.jpg"), "2012-05-17");
  EXPECT_EQ(GetPhotoDate(folder / "b.JPG"), "2012-05-17");
  EXPECT_EQ(GetPhotoDate(folder / "c.Jpg"), "2012-05-17");
  EXPECT_EQ(GetPhotoDate(folder / "d.jpeg"), "");
  EXPECT_EQ(GetPhotoDate(folder / "e.png"), "");
  EXPECT_EQ(GetPhotoDate(folder / "f.jpg.txt"), "");
  EXPECT_EQ(GetPhotoDate("jpg"), "");
  EXPECT_EQ(GetPhotoDate(folder / "missing.jpg"), "");
  EXPECT_EQ(GetPhotoDate(folder.Path()), "");
}

TEST(PhotoDate, DateTextRules) {
  testfiles::TempFolder folder;
  const auto dateOf = [&](const std::string& takenAt, ByteOrder order = ByteOrder::kLittle) {
    const std::string path = folder / "photo.jpg";
    EXPECT_TRUE(WriteBytes(path, PhotoWithDate(takenAt, order)));
    return GetPhotoDate(path);
  };
  EXPECT_EQ(dateOf("2012:05:17 10:20:30", ByteOrder::kBig), "2012-05-17");
  EXPECT_EQ(dateOf("2012:05:17"), "2012-05-17");
  EXPECT_EQ(dateOf("2012/05/17 10:20:30"), "2012/05/17");
  // A leading blank cuts nothing; only 19 characters are ever taken.
  EXPECT_EQ(dateOf(" 2012:05:17 10:20:30"), " 2012-05-17 10-20-3");
  EXPECT_EQ(dateOf("2012:05:17:10:20:30:40"), "2012-05-17-10-20-30");
}

TEST(PhotoDate, NoDateUnlessTheLastExifParsedWell) {
  testfiles::TempFolder folder;
  const auto dateOf = [&](const Bytes& bytes) {
    const std::string path = folder / "photo.jpg";
    EXPECT_TRUE(WriteBytes(path, bytes));
    return GetPhotoDate(path);
  };
  EXPECT_EQ(dateOf(PhotoWithDate("")), "");

  ExifBuilder modified;
  modified.AddAscii(modified.AddDirectory(), kTagDateTime, "2012:05:17 10:20:30");
  EXPECT_EQ(dateOf(JpegBuilder().Exif(modified.Build()).Scan().Data()), "");

  // The date is taken before the broken entry, but the first directory fails.
  ExifBuilder broken;
  broken.AddAscii(broken.AddDirectory(), kTagDateTimeOriginal, "2012:05:17 10:20:30");
  broken.AddRawEntry(0, 0x829A, kRational, 1, 0xFFFFFFF0);
  EXPECT_EQ(dateOf(JpegBuilder().Exif(broken.Build()).Scan().Data()), "");

  // Cut off right after the EXIF section.
  EXPECT_EQ(dateOf(JpegBuilder().Jfif().Exif(ExifBlockWithDate("2012:05:17 10:20:30")).Data()),
            "2012-05-17");
}

}  // namespace
