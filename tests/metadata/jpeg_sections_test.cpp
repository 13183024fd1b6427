// Walking a file's marker sections: which are held, the limits, early ends, frame and comment.
#include <gtest/gtest.h>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::JpegRead;

constexpr char kDate[] = "2012:05:17 10:20:30";

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

TEST(JpegSections, StartOfImageAndFillBytes) {
  for (const Bytes& notJpeg : {Bytes{}, Bytes{0xFF, 0xD9, 0xFF, 0xDA, 0, 2}}) {
    const JpegRead read(notJpeg);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.Error() + read.Printed(), "");
  }
  const auto withFills = [](int fills) {
    return JpegRead(JpegBuilder().Raw(Bytes(fills, 0xFF)).QuantTable().Scan().Data());
  };
  EXPECT_TRUE(withFills(5).ok);  // five fill bytes and the marker's own 0xFF
  const JpegRead seven = withFills(6);
  EXPECT_FALSE(seven.ok);
  EXPECT_EQ(seven.Printed(), "too many padding unsigned chars\n");

  // A marker code needs no 0xFF before it.
  EXPECT_STREQ(JpegRead(JpegBuilder().Raw({0xFE, 0, 4, 'h', 'i'}).Scan().Data()).Meta().commentText,
               "hi");
}

TEST(JpegSections, HeldSectionsInFileOrderTwentyAtMost) {
  // EXIF, comment, frame, another APPn, `tables` tables, start of scan; before each table an
  // APP0, an XMP packet, an APP1 too short to be EXIF and a second comment, all dropped.
  const auto read = [](int tables) {
    JpegBuilder jpeg;
    jpeg.Exif(ExifBlockWithDate(kDate)).Comment("first").Frame(640, 480).Section(0xE2, {1, 2, 3});
    for (int i = 0; i < tables; ++i) {
      jpeg.Jfif().Section(0xE1, Text("http://ns.adobe.com/xap/1.0/")).Section(0xE1, Text("Exi"));
      jpeg.Comment("second").QuantTable();
    }
    return JpegRead(jpeg.Scan().Data());
  };
  const JpegRead twenty = read(15);
  EXPECT_TRUE(twenty.ok);
  EXPECT_EQ(twenty.Error() + twenty.Printed(), "");
  ASSERT_EQ(twenty.Reader().SectionCount(), 20);
  const int markers[] = {0xE1, 0xFE, 0xC0, 0xE2, 0xDB};
  for (int i = 0; i < 20; ++i) {
    const JpegSection& section = twenty.Reader().Section(i);
    EXPECT_EQ(section.marker, i < 5 ? markers[i] : i < 19 ? 0xDB : 0xDA) << i;
    EXPECT_EQ(section.bytes[0] * 256 + section.bytes[1], section.length) << i;
  }
  EXPECT_EQ(twenty.Reader().Section(3).length, 5);
  EXPECT_STREQ(twenty.Meta().commentText, "first");

  const JpegRead tooMany = read(16);
  EXPECT_FALSE(tooMany.ok);
  EXPECT_EQ(tooMany.Error(), "Too many sections in jpg file");
  EXPECT_EQ(tooMany.Reader().SectionCount(), 20);
  EXPECT_TRUE(tooMany.Meta().hasExif);
  EXPECT_STREQ(tooMany.Meta().takenAt, kDate);
}

TEST(JpegSections, EarlyEndsKeepTheExifReadBefore) {
  const auto after = [](const Bytes& rest) {
    return JpegBuilder().Jfif().Exif(ExifBlockWithDate(kDate)).Raw(rest).Data();
  };
  const struct {
    Bytes bytes;
    const char* error;
    const char* printed;
  } cases[] = {
      {after({}), "invalid marker", ""},                  // where the next marker should stand
      {after({0xFF, 0xDB, 0}), "invalid marker", ""},     // inside the length bytes
      {after({0xFF, 0xDB, 0, 1}), "invalid marker", ""},  // a length below 2
      {after({0xFF, 0xDB, 0, 9, 1, 2}), "Premature end of file?", ""},
      {after({0xFF, 0xD9}), "invalid marker", ""},  // end of image: its length is read too
      {after({0xFF, 0xD9, 0, 2, 0xFF, 0xDA, 0, 2}), "", "No image in jpeg!\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const JpegRead read(c.bytes);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.Error(), c.error);
    EXPECT_EQ(read.Printed(), c.printed);
    EXPECT_TRUE(read.Meta().hasExif);
    EXPECT_STREQ(read.Meta().takenAt, kDate);
  }
}

TEST(JpegSections, FrameHeaderFromEveryStartOfFrameMarker) {
  const Bytes grey{8, 0x01, 0x02, 0x03, 0x04, 1, 1, 0x11, 0};
  for (int marker = 0xC1; marker <= 0xCF; ++marker) {
    SCOPED_TRACE(marker);
    const JpegRead read(JpegBuilder()
                            .Frame(640, 480, 3)
                            .Section(static_cast<std::uint8_t>(marker), grey)
                            .Scan()
                            .Data());
    // Not frames: Huffman tables (C4), reserved (C8), arithmetic conditioning (CC).
    const bool frame = marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    EXPECT_EQ(read.Meta().frameMarker, frame ? marker : 0xC0);
    EXPECT_EQ(read.Meta().imageHeight, frame ? 0x0102 : 480);
    EXPECT_EQ(read.Meta().imageWidth, frame ? 0x0304 : 640);
    EXPECT_EQ(read.Meta().colourFrame, frame ? 0 : 1);
  }
  // A frame section shorter than its fixed bytes leaves the fields alone.
  const JpegRead cut(JpegBuilder().Frame(640, 480).Section(0xC1, {8, 0, 1, 0, 1}).Scan().Data());
  EXPECT_TRUE(cut.ok);
  EXPECT_EQ(cut.Meta().imageWidth, 640);
  EXPECT_EQ(cut.Meta().frameMarker, 0xC0);
}

TEST(JpegSections, CommentText) {
  const auto comment = [](const std::string& text) {
    return std::string(
        JpegRead(JpegBuilder().Section(0xFE, Text(text)).Scan().Data()).Meta().commentText);
  };
  EXPECT_EQ(comment(std::string("a\r\nb\rc\0d\x01\t\x7f\x80\r", 13)), "a\nb?c?d?\t\x7f\x80?");
  EXPECT_EQ(comment(std::string(1200, 'x')), std::string(998, 'x'));
  // A CR whose LF lies just past the 998 bytes taken is still dropped.
  EXPECT_EQ(comment(std::string(997, 'x') + "\r\nyz"), std::string(997, 'x'));

  // The EXIF parse empties the text and its user comment replaces it; only the file's first
  // comment section is taken, even when its text is gone.
  ExifBuilder user;
  user.AddEntry(user.AddDirectory(), 0x9286, kUndefined, 4, Text("user"));
  const auto text = [](const JpegBuilder& jpeg) {
    return std::string(JpegRead(JpegBuilder(jpeg).Scan().Data()).Meta().commentText);
  };
  EXPECT_EQ(text(JpegBuilder().Comment("one").Exif(user.Build())), "user");
  EXPECT_EQ(text(JpegBuilder().Exif(user.Build()).Comment("one")), "one");
  EXPECT_EQ(text(JpegBuilder().Comment("one").Exif(ExifBlockWithDate(kDate)).Comment("two")), "");
}

TEST(JpegSections, LastExifSectionDecidesHasExif) {
  const Bytes broken[] = {Text("Exif"),
                          Bytes{'E', 'x', 'i', 'f', 0, 'X', 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}};
  for (const Bytes& payload : broken) {
    const JpegRead read(
        JpegBuilder().Exif(ExifBlockWithDate(kDate)).Section(0xE1, payload).Scan().Data());
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.Error(), "Incorrect Exif header");
    EXPECT_FALSE(read.Meta().hasExif);
    EXPECT_STREQ(read.Meta().takenAt, kDate);
  }
  const JpegRead lastGood(JpegBuilder()
                              .Exif(ExifBlockWithDate("1999:01:01 00:00:00"))
                              .Exif(ExifBlockWithDate(kDate, ByteOrder::kBig))
                              .Scan()
                              .Data());
  EXPECT_TRUE(lastGood.Meta().hasExif);
  EXPECT_STREQ(lastGood.Meta().takenAt, kDate);
}

}  // namespace
