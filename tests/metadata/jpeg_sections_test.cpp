// Walking a file's marker sections: start of image, fill bytes, the 20 held sections, early
// ends, the last EXIF section, the frame header and the comment's cap.
#include <gtest/gtest.h>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::JpegRead;

constexpr char kDate[] = "2012:05:17 10:20:30";

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// The date's EXIF section after `fills` fill bytes, held sections, then `tables` tables; before
// each table an APP0, an XMP packet, an APP1 too short to be EXIF and a second comment, which
// are all dropped.
Bytes Photo(int fills, int tables) {
  JpegBuilder jpeg;
  jpeg.Raw(Bytes(fills, 0xFF)).Exif(ExifBlockWithDate(kDate)).Comment("first").Frame(640, 480);
  for (int i = 0; i < tables; ++i) {
    jpeg.Jfif().Section(0xE1, Text("http://ns.adobe.com/xap/1.0/")).Section(0xE1, Text("Exi"));
    jpeg.Comment("second").QuantTable();
  }
  return jpeg.Scan().Data();
}

TEST(JpegSections, WhereTheWalkEndsAndWhichExifSectionCounts) {
  const auto after = [](const Bytes& rest) {
    return JpegBuilder().Jfif().Exif(ExifBlockWithDate(kDate)).Raw(rest).Data();
  };
  const auto lastExif = [](const Bytes& payload) {
    return JpegBuilder().Exif(ExifBlockWithDate(kDate)).Section(0xE1, payload).Scan().Data();
  };
  const Bytes noFfBeforeMarker = [] {  // a marker code needs no 0xFF before it
    const Bytes exif = JpegBuilder().Exif(ExifBlockWithDate(kDate)).Data();
    return JpegBuilder().Raw(Bytes(exif.begin() + 3, exif.end())).Scan().Data();
  }();
  const Bytes lastGood = JpegBuilder()
                             .Exif(ExifBlockWithDate("1999:01:01 00:00:00"))
                             .Exif(ExifBlockWithDate(kDate, ByteOrder::kBig))
                             .Scan()
                             .Data();
  const char* const kInvalid = "invalid marker";
  const struct {
    Bytes bytes;
    bool ok;
    const char* said;  // the error text, then what the reader printed
    bool hasExif, dated;
  } cases[] = {
      {{}, false, "", false, false},
      {{0xFF, 0xD9, 0xFF, 0xDA, 0, 2}, false, "", false, false},  // no start of image
      {Photo(5, 0), true, "", true, true},  // five fill bytes and the marker's own 0xFF
      {Photo(6, 0), false, "too many padding unsigned chars\n", false, false},
      {noFfBeforeMarker, true, "", true, true},
      {Photo(0, 16), true, "", true, true},  // 20 sections held, the last the start of scan
      {Photo(0, 17), false, "Too many sections in jpg file", true, true},
      {after({}), false, kInvalid, true, true},               // where the next marker should stand
      {after({0xFF, 0xDB, 0}), false, kInvalid, true, true},  // inside the length bytes
      {after({0xFF, 0xDB, 0, 1}), false, kInvalid, true, true},  // a length below 2
      {after({0xFF, 0xDB, 0, 9, 1, 2}), false, "Premature end of file?", true, true},
      {after({0xFF, 0xD9}), false, kInvalid, true, true},  // end of image: its length is read too
      {after({0xFF, 0xD9, 0, 2, 0xFF, 0xDA, 0, 2}), false, "No image in jpeg!\n", true, true},
      // The last EXIF section decides, but the date read before it stays.
      {lastExif(Text("Exif")), true, "Incorrect Exif header", false, true},
      {lastExif({'E', 'x', 'i', 'f', 0, 'X', 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0}), true,
       "Incorrect Exif header", false, true},
      {lastGood, true, "", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const JpegRead read(c.bytes);
    EXPECT_EQ(read.ok, c.ok);
    EXPECT_EQ(read.said, c.said);
    EXPECT_EQ(read.Meta().hasExif, c.hasExif);
    EXPECT_STREQ(read.Meta().takenAt, c.dated ? kDate : "");
  }
}

TEST(JpegSections, FrameHeaderFromStartOfFrameMarkersOnly) {
  const Bytes grey{8, 0x01, 0x02, 0x03, 0x04, 1, 1, 0x11, 0};
  const struct {
    std::uint8_t marker;
    Bytes payload;
    const char* frame;  // marker, width x height, 1 for three components
  } cases[] = {
      {0xC2, grey, "C2 772x258 0"},             // a progressive frame
      {0xC4, grey, "C0 640x480 1"},             // Huffman tables: no frame
      {0xC1, {8, 0, 1, 0, 1}, "C0 640x480 1"},  // shorter than a frame header's fixed bytes
  };
  for (const auto& c : cases) {
    const PhotoMeta m =
        JpegRead(JpegBuilder().Frame(640, 480).Section(c.marker, c.payload).Scan().Data()).Meta();
    char frame[40];
    std::snprintf(frame, sizeof frame, "%X %dx%d %d", m.frameMarker, m.imageWidth, m.imageHeight,
                  m.colourFrame);
    EXPECT_STREQ(frame, c.frame);
  }
}

TEST(JpegSections, CommentTextIsCutAt998Bytes) {
  const JpegRead read(JpegBuilder().Comment(std::string(1200, 'x')).Scan().Data());
  EXPECT_EQ(std::string(read.Meta().commentText), std::string(998, 'x'));
}

}  // namespace
