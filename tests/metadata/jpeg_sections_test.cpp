// Walking a file's marker sections: which are held, the limits, truncation, frame and comment.
#include <gtest/gtest.h>

#include "metadata/photo_date.h"
#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::JpegRead;

constexpr char kDate[] = "2012:05:17 10:20:30";

// `held` sections before the start of scan, the EXIF block with the date first among them;
// `dropped` APP0 and XMP sections in between, which do not count.
Bytes WithHeldSections(int held, int dropped = 0) {
  JpegBuilder jpeg;
  jpeg.Exif(ExifBlockWithDate(kDate));
  const std::string xmp = "http://ns.adobe.com/xap/1.0/";
  for (int i = 0; i < dropped; ++i) {
    jpeg.Jfif().Section(0xE1, Bytes(xmp.begin(), xmp.end()));
  }
  for (int i = 1; i < held; ++i) {
    jpeg.QuantTable();
  }
  return jpeg.Scan().Data();
}

TEST(JpegSections, HeldSectionsInFileOrder) {
  JpegRead read(JpegBuilder()
                    .Jfif()
                    .QuantTable()
                    .Exif(ExifBlockWithDate(kDate))
                    .Comment("first")
                    .Comment("second")
                    .Frame(640, 480)
                    .Section(0xE2, {1, 2, 3})
                    .Scan()
                    .Data());
  ASSERT_TRUE(read.ok);
  const int expected[] = {0xDB, 0xE1, 0xFE, 0xC0, 0xE2, 0xDA};
  ASSERT_EQ(read.Reader().SectionCount(), 6);
  for (int i = 0; i < 6; ++i) {
    const JpegSection& section = read.Reader().Section(i);
    EXPECT_EQ(section.marker, expected[i]) << i;
    ASSERT_NE(section.bytes, nullptr);
    EXPECT_EQ(section.bytes[0] * 256 + section.bytes[1], section.length) << i;
  }
  EXPECT_EQ(read.Reader().Section(4).length, 5);
  EXPECT_TRUE(read.Meta().hasExif);
  EXPECT_STREQ(read.Meta().commentText, "first");
  EXPECT_EQ(read.Printed(), "");
}

TEST(JpegSections, StartAndFillBytes) {
  EXPECT_FALSE(JpegRead(Bytes{}).ok);
  JpegRead notJpeg(Bytes{0xFF, 0xD9, 0xFF, 0xDA, 0, 2});
  EXPECT_FALSE(notJpeg.ok);
  EXPECT_EQ(notJpeg.Error(), "");
  EXPECT_EQ(notJpeg.Printed(), "");

  const auto withFills = [](int fills) {
    return JpegBuilder().Raw(Bytes(fills, 0xFF)).QuantTable().Scan().Data();
  };
  JpegRead six(withFills(5));  // five fill bytes and the marker's own 0xFF
  EXPECT_TRUE(six.ok);
  EXPECT_EQ(six.Printed(), "");
  JpegRead seven(withFills(6));
  EXPECT_FALSE(seven.ok);
  EXPECT_EQ(seven.Printed(), "too many padding unsigned chars\n");
  EXPECT_EQ(seven.Reader().SectionCount(), 0);

  // A marker code needs no 0xFF before it.
  JpegRead noFF(JpegBuilder().Raw({0xFE, 0, 4, 'h', 'i'}).Scan().Data());
  EXPECT_TRUE(noFF.ok);
  EXPECT_STREQ(noFF.Meta().commentText, "hi");
}

TEST(JpegSections, TwentySectionLimit) {
  JpegRead twentieth(WithHeldSections(19));
  EXPECT_TRUE(twentieth.ok);
  EXPECT_EQ(twentieth.Reader().SectionCount(), 20);

  JpegRead dropped(WithHeldSections(19, 30));
  EXPECT_TRUE(dropped.ok);
  EXPECT_EQ(dropped.Reader().SectionCount(), 20);

  JpegRead tooMany(WithHeldSections(20));
  EXPECT_FALSE(tooMany.ok);
  EXPECT_EQ(tooMany.Error(), "Too many sections in jpg file");
  EXPECT_EQ(tooMany.Reader().SectionCount(), 20);

  testfiles::TempFolder folder;
  ASSERT_TRUE(WriteBytes(folder / "many.jpg", WithHeldSections(20)));
  EXPECT_EQ(GetPhotoDate(folder / "many.jpg"), "2012-05-17");
}

TEST(JpegSections, TruncatedFilesKeepTheirEarlierExif) {
  const Bytes whole = PhotoWithDate(kDate);
  const Bytes head = JpegBuilder().Jfif().Exif(ExifBlockWithDate(kDate)).Data();
  const auto cut = [&](std::size_t extra) {
    return Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(head.size() + extra));
  };
  struct Case {
    Bytes bytes;
    const char* error;
  } cases[] = {
      {cut(0), "invalid marker"},           // ends where the next marker should stand
      {cut(3), "invalid marker"},           // ends inside the length bytes
      {cut(10), "Premature end of file?"},  // ends inside the payload
      {JpegBuilder().Jfif().Exif(ExifBlockWithDate(kDate)).Raw({0xFF, 0xDB, 0, 1}).Data(),
       "invalid marker"},  // a length below 2
  };
  for (const Case& c : cases) {
    JpegRead read(c.bytes);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.Error(), c.error);
    EXPECT_TRUE(read.Meta().hasExif);
    EXPECT_STREQ(read.Meta().takenAt, kDate);
  }
}

TEST(JpegSections, EndOfImageBeforeScan) {
  JpegRead read(JpegBuilder().QuantTable().Raw({0xFF, 0xD9, 0, 2}).Scan().Data());
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.Printed(), "No image in jpeg!\n");
  // At the very end, its length bytes are missing first.
  JpegRead atEnd(JpegBuilder().QuantTable().Raw({0xFF, 0xD9}).Data());
  EXPECT_EQ(atEnd.Error(), "invalid marker");
  EXPECT_EQ(atEnd.Printed(), "");
}

TEST(JpegSections, FrameHeader) {
  Bytes grey{8, 0x01, 0x02, 0x03, 0x04, 1, 1, 0x11, 0};
  JpegRead read(JpegBuilder()
                    .Frame(640, 480, 3)
                    .Section(0xC4, grey)  // Huffman tables, not a frame
                    .Data());
  EXPECT_EQ(read.Meta().imageWidth, 640);
  EXPECT_EQ(read.Meta().imageHeight, 480);
  EXPECT_EQ(read.Meta().colourFrame, 1);
  EXPECT_EQ(read.Meta().frameMarker, 0xC0);

  JpegRead later(JpegBuilder().Frame(640, 480, 3).Section(0xCF, grey).Scan().Data());
  EXPECT_EQ(later.Meta().imageHeight, 0x0102);
  EXPECT_EQ(later.Meta().imageWidth, 0x0304);
  EXPECT_EQ(later.Meta().colourFrame, 0);
  EXPECT_EQ(later.Meta().frameMarker, 0xCF);

  // A frame section shorter than its fixed bytes leaves the fields alone.
  JpegRead shortFrame(JpegBuilder().Frame(640, 480).Section(0xC1, {8, 0, 1, 0, 1}).Scan().Data());
  EXPECT_TRUE(shortFrame.ok);
  EXPECT_EQ(shortFrame.Meta().imageWidth, 640);
  EXPECT_EQ(shortFrame.Meta().frameMarker, 0xC0);
}

TEST(JpegSections, CommentText) {
  const auto comment = [](const std::string& text) {
    JpegRead read(JpegBuilder().Section(0xFE, Bytes(text.begin(), text.end())).Scan().Data());
    return std::string(read.Meta().commentText);
  };
  EXPECT_EQ(comment(std::string("a\r\nb\rc\0d\x01\t\x7f\x80\r", 13)), "a\nb?c?d?\t\x7f\x80?");
  EXPECT_EQ(comment(std::string(1200, 'x')), std::string(998, 'x'));
  // A CR whose LF lies just past the 998 bytes taken is still dropped.
  EXPECT_EQ(comment(std::string(997, 'x') + "\r\nyz"), std::string(997, 'x'));
}

TEST(JpegSections, CommentAndUserCommentShareOneText) {
  const auto withUserComment = [](const std::string& text) {
    ExifBuilder exif;
    exif.AddEntry(exif.AddDirectory(), 0x9286, kUndefined, static_cast<std::uint32_t>(text.size()),
                  Bytes(text.begin(), text.end()));
    return exif.Build();
  };
  JpegRead replaced(JpegBuilder().Comment("section").Exif(withUserComment("user")).Scan().Data());
  EXPECT_STREQ(replaced.Meta().commentText, "user");
  JpegRead emptied(JpegBuilder().Comment("section").Exif(ExifBlockWithDate(kDate)).Scan().Data());
  EXPECT_STREQ(emptied.Meta().commentText, "");
  JpegRead after(JpegBuilder().Exif(withUserComment("user")).Comment("section").Scan().Data());
  EXPECT_STREQ(after.Meta().commentText, "section");
  // A second comment section is dropped, even after the first one's text was replaced.
  JpegRead second(
      JpegBuilder().Comment("one").Exif(withUserComment("u")).Comment("two").Scan().Data());
  EXPECT_STREQ(second.Meta().commentText, "u");
  EXPECT_EQ(second.Reader().SectionCount(), 3);
}

TEST(JpegSections, LastExifSectionDecidesHasExif) {
  Bytes broken = ExifBlockWithDate("1999:01:01 00:00:00");
  broken[0] = broken[1] = 'X';
  JpegRead lastBroken(JpegBuilder().Exif(ExifBlockWithDate(kDate)).Exif(broken).Scan().Data());
  EXPECT_FALSE(lastBroken.Meta().hasExif);
  EXPECT_STREQ(lastBroken.Meta().takenAt, kDate);
  EXPECT_EQ(lastBroken.Error(), "Invalid Exif alignment marker.");

  JpegRead lastGood(JpegBuilder()
                        .Exif(ExifBlockWithDate("1999:01:01 00:00:00"))
                        .Exif(ExifBlockWithDate(kDate, ByteOrder::kBig))
                        .Scan()
                        .Data());
  EXPECT_TRUE(lastGood.Meta().hasExif);
  EXPECT_STREQ(lastGood.Meta().takenAt, kDate);
}

}  // namespace
