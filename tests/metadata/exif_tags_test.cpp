// What the known tags put into the record, in both byte orders and every number format.
#include <gtest/gtest.h>

#include <cstring>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::ExifParse;

TEST(ExifTags, BothByteOrdersFillTheRecordAlike) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    SCOPED_TRACE(order == ByteOrder::kBig ? "big-endian" : "little-endian");
    ExifBuilder exif(order);
    const auto two = [&](std::uint32_t a, std::uint32_t b) {
      Bytes bytes = exif.U32(a);
      const Bytes second = exif.U32(b);
      bytes.insert(bytes.end(), second.begin(), second.end());
      return bytes;
    };
    const int first = exif.AddDirectory();
    const int sub = exif.AddDirectory();
    exif.AddAscii(first, kTagMake, "Maker");
    exif.AddShort(first, kTagOrientation, 6);
    exif.AddRational(first, 0x011A, 300, 1);
    exif.AddEntry(first, 0x011B, kSignedRational, 1, two(-144u, -2u));
    exif.AddLink(first, kTagExifIfd, sub);
    exif.AddRational(sub, 0x829A, 1, 250);
    exif.AddRational(sub, 0x829D, 28, 10);
    exif.AddEntry(sub, 0x9000, kUndefined, 4, {'0', '2', '2', '1'});
    exif.AddAscii(sub, kTagDateTimeOriginal, "2001:02:03 04:05:06");
    exif.AddLong(sub, 0x9102, 5);
    exif.AddRational(sub, 0x9201, 5, 1);  // APEX values after the direct ones change nothing
    exif.AddRational(sub, 0x9202, 4, 1);
    exif.AddEntry(sub, 0x9203, kSignedShort, 1, exif.U16(static_cast<std::uint16_t>(-3)));
    exif.AddEntry(sub, 0x9204, kSignedRational, 1, two(-1u, 3));
    exif.AddEntry(sub, 0x9206, kDouble, 1,
                  order == ByteOrder::kBig ? two(0x40020000, 0) : two(0, 0x40020000));
    exif.AddEntry(sub, 0x9207, kSignedByte, 1, {0xFE});
    exif.AddEntry(sub, 0x9208, kByte, 1, {0xFE});
    exif.AddEntry(sub, 0x920A, kFloat, 1, exif.U32(0x40B00000));  // 5.5f
    exif.AddLong(sub, 0xA002, 3000);
    exif.AddShort(sub, 0xA003, 2000);
    exif.AddRational(sub, 0xA20E, 1000, 1);
    exif.AddRational(sub, 0xA20F, 7, 0);  // zero denominator
    exif.AddShort(sub, 0xA210, 3);

    const ExifParse parse(exif.Build());
    const PhotoMeta& m = parse.Meta();
    ASSERT_TRUE(parse.ok);
    EXPECT_EQ(parse.Error(), "");
    EXPECT_STREQ(m.maker, "Maker");
    EXPECT_EQ(m.orientationCode, 6);
    EXPECT_FLOAT_EQ(m.resolutionX, 300);
    EXPECT_FLOAT_EQ(m.resolutionY, 72);
    EXPECT_FLOAT_EQ(m.exposureSeconds, 0.004f);
    EXPECT_FLOAT_EQ(m.fNumber, 2.8f);
    EXPECT_STREQ(m.exifVersion, "0221");
    EXPECT_STREQ(m.takenAt, "2001:02:03 04:05:06");
    EXPECT_EQ(m.compressedBpp, 5);
    EXPECT_FLOAT_EQ(m.brightnessValue, -3);
    EXPECT_FLOAT_EQ(m.exposureBiasEv, -1.0f / 3);
    EXPECT_FLOAT_EQ(m.subjectDistance, 2.25f);
    EXPECT_EQ(m.meteringModeCode, -2);
    EXPECT_EQ(m.lightSource, 254);
    EXPECT_FLOAT_EQ(m.focalLengthMm, 5.5f);
    EXPECT_FLOAT_EQ(m.focalPlaneResX, 1000);
    EXPECT_FLOAT_EQ(m.focalPlaneResY, 0);
    EXPECT_FLOAT_EQ(m.focalPlaneUnitInches, static_cast<float>(1 / 2.54));
    // The larger of 3000 and 2000 pixels, in centimetre units of 1/1000.
    EXPECT_FLOAT_EQ(m.sensorWidth, 3000 * static_cast<float>(1 / 2.54) / 1000);
  }
}

TEST(ExifTags, IsoOrientationFlashUnitsAndApexRules) {
  // One entry, then the date: the walk goes on after the tag.
  const auto parse = [](std::uint16_t tag, std::uint16_t value, const PhotoMeta& start = {},
                        std::uint16_t format = kShort) {
    ExifBuilder exif;
    exif.AddRawEntry(exif.AddDirectory(), tag, format, 1, value);
    exif.AddAscii(0, kTagDateTimeOriginal, "2012:05:17");
    return ExifParse(exif.Build(), start);
  };
  EXPECT_EQ(parse(0x8827, 40).Meta().isoSpeed, 8000);
  EXPECT_EQ(parse(0x8827, 50).Meta().isoSpeed, 50);

  const ExifParse rotation = parse(kTagOrientation, 9);
  EXPECT_TRUE(rotation.ok);
  EXPECT_EQ(rotation.Error(), "Undefined rotation value");
  EXPECT_EQ(rotation.Meta().orientationCode, 0);
  EXPECT_STREQ(rotation.Meta().takenAt, "2012:05:17");
  EXPECT_EQ(parse(kTagOrientation, 0).Error(), "Undefined rotation value");
  EXPECT_EQ(parse(kTagOrientation, 8).Meta().orientationCode, 8);

  EXPECT_EQ(parse(0x9209, 0x10).Meta().flashFired, 0);  // only bits 0-2 count
  EXPECT_EQ(parse(0x9209, 0x04).Meta().flashFired, 1);

  EXPECT_FLOAT_EQ(parse(0x0128, 2).Meta().resolutionUnitInches, 1);
  EXPECT_FLOAT_EQ(parse(0xA210, 4).Meta().focalPlaneUnitInches, static_cast<float>(1 / 25.4));
  EXPECT_FLOAT_EQ(parse(0xA210, 5).Meta().focalPlaneUnitInches, static_cast<float>(1 / 25400.0));
  PhotoMeta start{};
  start.focalPlaneUnitInches = 0.5f;
  start.exposureProgramCode = 5;
  EXPECT_FLOAT_EQ(parse(0xA210, 6, start).Meta().focalPlaneUnitInches, 0.5f);  // unknown unit
  EXPECT_EQ(parse(0x8822, 7, start, 0).Meta().exposureProgramCode, 0);         // format 0 gives 0

  EXPECT_FLOAT_EQ(parse(0x9201, 5).Meta().exposureSeconds, 1.0f / 32);  // 1/2^5 s
  EXPECT_FLOAT_EQ(parse(0x9202, 4).Meta().fNumber, 4);                  // F 2^(4/2)
  EXPECT_FLOAT_EQ(parse(0x9205, 6).Meta().fNumber, 8);
}

TEST(ExifTags, TextsStopAtNulOrTheirCapAndClearTheRest) {
  ExifBuilder exif;
  const int dir = exif.AddDirectory();
  exif.AddAscii(dir, kTagMake, std::string(50, 'm'));
  exif.AddAscii(dir, kTagModel, std::string("ab\0cd", 5));
  exif.AddAscii(dir, kTagDateTimeOriginal, "2012:05:17 10:20:30.25");
  PhotoMeta start{};
  std::memset(start.model, 'z', sizeof start.model - 1);
  const ExifParse parse(exif.Build(), start);
  EXPECT_EQ(std::string(parse.Meta().maker), std::string(31, 'm'));
  EXPECT_STREQ(parse.Meta().takenAt, "2012:05:17 10:20:30");
  EXPECT_EQ(std::string(parse.Meta().model, sizeof start.model), "ab" + std::string(38, '\0'));
}

TEST(ExifTags, UserComment) {
  const auto comment = [](const Bytes& value) {
    ExifBuilder exif;
    exif.AddEntry(exif.AddDirectory(), 0x9286, kUndefined, static_cast<std::uint32_t>(value.size()),
                  value);
    return std::string(ExifParse(exif.Build()).Meta().commentText);
  };
  const struct {
    Bytes value;
    std::string text;
  } cases[] = {
      {{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'w', 'o', 'r', 'd', ' ', ' ', ' '}, "word"},
      {{'A', 'S', 'C', 'I', 'I', ' ', 0, ' ', 0, 'y', 'z'}, "yz"},    // text from byte 9
      {{'A', 'S', 'C', 'I', 'I', ' ', ' ', ' ', ' ', ' ', 'x'}, ""},  // but not from byte 10
      {{'A', 'S', 'C', 'I', 'I', 'x'}, "x"},
      {{'H', 'i', ' ', 't', 'h', 'e', 'r', 'e', ' ', ' '}, "Hi there"},
      {{' ', ' ', ' ', ' ', ' ', ' '}, ""},
      {Bytes(300, 'c'), std::string(199, 'c')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(comment(c.value), c.text);
  }

  // Trailing blanks are cut in the section bytes themselves.
  ExifBuilder exif;
  exif.AddEntry(exif.AddDirectory(), 0x9286, kUndefined, 8,
                {'a', 'b', ' ', 'c', ' ', ' ', ' ', ' '});
  const ExifParse parse(exif.Build());
  const std::uint8_t* value = parse.Block() + 8 + 2 + 12 + 4;
  EXPECT_EQ(Bytes(value, value + 8), (Bytes{'a', 'b', ' ', 'c', 0, 0, 0, 0}));
}

}  // namespace
