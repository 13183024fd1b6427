// What the known tags put into the record, in both byte orders and every number format.
#include <gtest/gtest.h>

#include <cstring>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::ExifParse;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ExifTags, BothByteOrdersFillTheRecordAlike) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    ExifBuilder exif(order);
    int first = exif.AddDirectory();
    int sub = exif.AddDirectory();
    exif.AddAscii(first, 0x010F, "Maker");
    exif.AddAscii(first, 0x0110, "Model X");
    exif.AddShort(first, 0x0112, 6);
    exif.AddRational(first, 0x011A, 300, 1);
    exif.AddEntry(first, 0x011B, kSignedRational, 1,
                  Concat(exif.U32(static_cast<std::uint32_t>(-144)),
                         exif.U32(static_cast<std::uint32_t>(-2))));
    exif.AddShort(first, 0x0128, 3);
    exif.AddLink(first, kTagExifIfd, sub);
    exif.AddRational(sub, 0x829A, 1, 250);
    exif.AddRational(sub, 0x829D, 28, 10);
    exif.AddShort(sub, 0x8822, 2);
    exif.AddShort(sub, 0x8827, 100);
    exif.AddEntry(sub, 0x9000, kUndefined, 4, {'0', '2', '2', '1'});
    exif.AddAscii(sub, 0x9003, "2001:02:03 04:05:06");
    exif.AddLong(sub, 0x9102, 5);
    exif.AddEntry(sub, 0x9203, kSignedShort, 1, exif.U16(static_cast<std::uint16_t>(-3)));
    exif.AddEntry(sub, 0x9204, kSignedRational, 1,
                  Concat(exif.U32(static_cast<std::uint32_t>(-1)), exif.U32(3)));
    exif.AddEntry(sub, 0x9206, kDouble, 1,
                  order == ByteOrder::kBig ? Concat(exif.U32(0x40020000), exif.U32(0))
                                           : Concat(exif.U32(0), exif.U32(0x40020000)));
    exif.AddEntry(sub, 0x9207, kSignedByte, 1, {0xFE});
    exif.AddEntry(sub, 0x9208, kByte, 1, {0xFE});
    exif.AddShort(sub, 0x9209, 0x19);
    exif.AddEntry(sub, 0x920A, kFloat, 1, exif.U32(0x40B00000));  // 5.5f
    exif.AddLong(sub, 0xA002, 3000);
    exif.AddShort(sub, 0xA003, 2000);
    exif.AddRational(sub, 0xA20E, 1000, 1);
    exif.AddRational(sub, 0xA20F, 7, 0);  // zero denominator
    exif.AddShort(sub, 0xA210, 3);

    ExifParse parse(exif.Build());
    const PhotoMeta& m = parse.Meta();
    SCOPED_TRACE(order == ByteOrder::kBig ? "big-endian" : "little-endian");
    ASSERT_TRUE(parse.ok);
    EXPECT_EQ(parse.Error(), "");
    EXPECT_STREQ(m.maker, "Maker");
    EXPECT_STREQ(m.model, "Model X");
    EXPECT_EQ(m.orientationCode, 6);
    EXPECT_FLOAT_EQ(m.resolutionX, 300);
    EXPECT_FLOAT_EQ(m.resolutionY, 72);
    EXPECT_FLOAT_EQ(m.resolutionUnitInches, static_cast<float>(1 / 2.54));
    EXPECT_FLOAT_EQ(m.exposureSeconds, 0.004f);
    EXPECT_FLOAT_EQ(m.fNumber, 2.8f);
    EXPECT_EQ(m.exposureProgramCode, 2);
    EXPECT_EQ(m.isoSpeed, 100);
    EXPECT_STREQ(m.exifVersion, "0221");
    EXPECT_STREQ(m.takenAt, "2001:02:03 04:05:06");
    EXPECT_EQ(m.compressedBpp, 5);
    EXPECT_FLOAT_EQ(m.brightnessValue, -3);
    EXPECT_FLOAT_EQ(m.exposureBiasEv, -1.0f / 3);
    EXPECT_FLOAT_EQ(m.subjectDistance, 2.25f);
    EXPECT_EQ(m.meteringModeCode, -2);
    EXPECT_EQ(m.lightSource, 254);
    EXPECT_EQ(m.flashFired, 1);
    EXPECT_FLOAT_EQ(m.focalLengthMm, 5.5f);
    EXPECT_FLOAT_EQ(m.focalPlaneResX, 1000);
    EXPECT_FLOAT_EQ(m.focalPlaneResY, 0);
    EXPECT_FLOAT_EQ(m.focalPlaneUnitInches, static_cast<float>(1 / 2.54));
    // Largest of 3000 and 2000 pixels, in centimetre units of 1/1000.
    EXPECT_FLOAT_EQ(m.sensorWidth, 3000 * static_cast<float>(1 / 2.54) / 1000);
  }
}

TEST(ExifTags, IsoOrientationFlashAndUnits) {
  const auto parse = [](std::uint16_t tag, std::uint16_t value) {
    ExifBuilder exif;
    exif.AddShort(exif.AddDirectory(), tag, value);
    exif.AddAscii(0, kTagDateTimeOriginal, "2012:05:17");  // the walk goes on after the tag
    return ExifParse(exif.Build());
  };
  EXPECT_EQ(parse(0x8827, 40).Meta().isoSpeed, 8000);
  EXPECT_EQ(parse(0x8827, 50).Meta().isoSpeed, 50);

  ExifParse rotation = parse(0x0112, 9);
  EXPECT_TRUE(rotation.ok);
  EXPECT_EQ(rotation.Error(), "Undefined rotation value");
  EXPECT_EQ(rotation.Meta().orientationCode, 0);
  EXPECT_STREQ(rotation.Meta().takenAt, "2012:05:17");
  EXPECT_EQ(parse(0x0112, 0).Error(), "Undefined rotation value");
  EXPECT_EQ(parse(0x0112, 8).Meta().orientationCode, 8);

  EXPECT_EQ(parse(0x9209, 0x10).Meta().flashFired, 0);  // only bits 0-2 count
  EXPECT_EQ(parse(0x9209, 0x04).Meta().flashFired, 1);

  EXPECT_FLOAT_EQ(parse(0x0128, 2).Meta().resolutionUnitInches, 1);
  EXPECT_FLOAT_EQ(parse(0xA210, 4).Meta().focalPlaneUnitInches, static_cast<float>(1 / 25.4));
  EXPECT_FLOAT_EQ(parse(0xA210, 5).Meta().focalPlaneUnitInches, static_cast<float>(1 / 25400.0));
  PhotoMeta start{};
  start.focalPlaneUnitInches = 0.5f;
  ExifBuilder unknown;
  unknown.AddShort(unknown.AddDirectory(), 0xA210, 6);
  EXPECT_FLOAT_EQ(ExifParse(unknown.Build(), start).Meta().focalPlaneUnitInches, 0.5f);
}

TEST(ExifTags, ApexValuesOnlyFillEmptyFields) {
  ExifBuilder apex;
  int dir = apex.AddDirectory();
  apex.AddRational(dir, 0x9201, 5, 1);  // 1/2^5 s
  apex.AddRational(dir, 0x9202, 4, 1);  // F 2^(4/2)
  apex.AddRational(dir, 0x9205, 6, 1);  // later aperture: ignored
  ExifParse fromApex(apex.Build());
  EXPECT_FLOAT_EQ(fromApex.Meta().exposureSeconds, 1.0f / 32);
  EXPECT_FLOAT_EQ(fromApex.Meta().fNumber, 4);

  ExifBuilder direct;
  dir = direct.AddDirectory();
  direct.AddRational(dir, 0x829A, 1, 100);
  direct.AddRational(dir, 0x829D, 56, 10);
  direct.AddRational(dir, 0x9201, 5, 1);
  direct.AddRational(dir, 0x9202, 4, 1);
  ExifParse kept(direct.Build());
  EXPECT_FLOAT_EQ(kept.Meta().exposureSeconds, 0.01f);
  EXPECT_FLOAT_EQ(kept.Meta().fNumber, 5.6f);
}

TEST(ExifTags, TextCopiesStopAtNulAndTheirCap) {
  ExifBuilder exif;
  int dir = exif.AddDirectory();
  exif.AddAscii(dir, 0x010F, std::string(50, 'm'));
  exif.AddAscii(dir, 0x0110, std::string("ab\0cd", 5));
  exif.AddAscii(dir, kTagDateTimeOriginal, "2012:05:17 10:20:30.25");
  PhotoMeta start{};
  std::memset(start.model, 'z', sizeof start.model - 1);
  ExifParse parse(exif.Build(), start);
  EXPECT_EQ(std::string(parse.Meta().maker), std::string(31, 'm'));
  EXPECT_STREQ(parse.Meta().takenAt, "2012:05:17 10:20:30");
  // The rest of the capped bytes are filled with NUL, not left as they were.
  EXPECT_STREQ(parse.Meta().model, "ab");
  EXPECT_EQ(parse.Meta().model[10], '\0');
}

TEST(ExifTags, UserComment) {
  const auto comment = [](const Bytes& value, ByteOrder order = ByteOrder::kLittle) {
    ExifBuilder exif(order);
    exif.AddEntry(exif.AddDirectory(), 0x9286, kUndefined, static_cast<std::uint32_t>(value.size()),
                  value);
    ExifParse parse(exif.Build());
    return std::string(parse.Meta().commentText);
  };
  const Bytes prefixed{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'w', 'o', 'r', 'd', ' ', ' ', ' '};
  EXPECT_EQ(comment(prefixed), "word");
  EXPECT_EQ(comment(prefixed, ByteOrder::kBig), "word");
  EXPECT_EQ(comment({'A', 'S', 'C', 'I', 'I', ' ', ' ', ' ', ' ', ' ', 'x'}), "");
  EXPECT_EQ(comment({'H', 'i', ' ', 't', 'h', 'e', 'r', 'e', ' ', ' '}), "Hi there");
  EXPECT_EQ(comment({' ', ' ', ' ', ' ', ' ', ' '}), "");
  EXPECT_EQ(comment(Bytes(300, 'c')), std::string(199, 'c'));

  // Trailing blanks are cut in the section bytes themselves.
  ExifBuilder exif;
  exif.AddEntry(exif.AddDirectory(), 0x9286, kUndefined, 8,
                {'a', 'b', ' ', 'c', ' ', ' ', ' ', ' '});
  ExifParse parse(exif.Build());
  const std::uint8_t* value = parse.Block() + 8 + 2 + 12 + 4;
  EXPECT_EQ(Bytes(value, value + 8), (Bytes{'a', 'b', ' ', 'c', 0, 0, 0, 0}));
}

}  // namespace
