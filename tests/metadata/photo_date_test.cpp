// The day text that the organize walk gets for a file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "metadata/photo_date.h"
#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;

constexpr char kDate[] = "2012:05:17 10:20:30";

TEST(PhotoDate, DayTextOfJpgFilesFromTheLastExifBlockThatParsed) {
  ExifBuilder otherDates;  // the dates of last change and of digitising are never used
  otherDates.AddAscii(otherDates.AddDirectory(), kTagDateTime, kDate);
  otherDates.AddAscii(0, kTagDateTimeDigitized, kDate);
  ExifBuilder broken;  // the date is taken, but the first directory fails after it
  broken.AddAscii(broken.AddDirectory(), kTagDateTimeOriginal, kDate);
  broken.AddRawEntry(0, 0x829A, kRational, 1, 0xFFFFFFF0);

  const Bytes photo = PhotoWithDate(kDate);
  const struct {
    const char* name;
    Bytes bytes;
    const char* day;
  } cases[] = {
      {"a.jpg", photo, "2012-05-17"},
      {"c.Jpg", photo, "2012-05-17"},
      {"d.jpeg", photo, ""},
      {"e.png", photo, ""},
      {"f.jpg.txt", photo, ""},
      {"g.jpg", PhotoWithDate("2012:05:17"), "2012-05-17"},
      {"h.jpg", PhotoWithDate("2012/05/17 10:20:30"), "2012/05/17"},
      // A leading blank cuts nothing; only 19 characters are ever taken.
      {"i.jpg", PhotoWithDate(" 2012:05:17 10:20:30"), " 2012-05-17 10-20-3"},
      {"j.jpg", PhotoWithDate("2012:05:17:10:20:30:40"), "2012-05-17-10-20-30"},
      {"k.jpg", PhotoWithDate(""), ""},  // no EXIF section
      {"l.jpg", JpegBuilder().Exif(otherDates.Build()).Scan().Data(), ""},
      {"m.jpg", JpegBuilder().Exif(broken.Build()).Scan().Data(), ""},
      {"n.jpg", JpegBuilder().Jfif().Exif(ExifBlockWithDate(kDate)).Data(), "2012-05-17"},  // cut
  };
  testfiles::TempFolder folder;
  std::map<std::string, std::string> days;
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteBytes(folder / c.name, c.bytes));
    EXPECT_EQ(GetPhotoDate(folder / c.name), c.day) << c.name;
    days[c.name] = c.day;
  }
  // The walk's form, from a listing's entry, gives the same answers.
  std::map<std::string, std::string> listed;
  platform::FolderListing listing(folder.Path());
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    if (!listing.IsFolder()) {
      listed[listing.Name()] = GetPhotoDate(listing);
    }
  }
  EXPECT_EQ(listed, days);
  ASSERT_TRUE(testfiles::MakeFolders(folder / "folder.jpg"));
  for (const std::string& unreadable :
       {folder / "folder.jpg", folder / "missing.jpg", std::string("jpg")}) {
    EXPECT_EQ(GetPhotoDate(unreadable), "") << unreadable;
  }
}

}  // namespace
