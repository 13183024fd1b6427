// What the known tags put into the record: each field once, with its scaling rule or its cap.
// (The date in big-endian blocks: exif_block_test.)
#include <gtest/gtest.h>

#include <cstdio>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::ExifParse;

TEST(ExifTags, EachFieldWithItsScalingRuleOrCap) {
  ExifBuilder exif;  // little-endian
  const int dir = exif.AddDirectory();
  exif.AddAscii(dir, kTagMake, std::string(50, 'm'));                  // 31 bytes at most
  exif.AddAscii(dir, kTagModel, std::string("ab\0cd", 5));             // up to the NUL
  exif.AddAscii(dir, kTagDateTimeOriginal, "2012:05:17 10:20:30.25");  // 19 bytes
  exif.AddEntry(dir, 0x9286, kUndefined, 300, Bytes(300, 'c'));        // user comment: 199
  exif.AddEntry(dir, 0x9000, kUndefined, 4, {'0', '2', '2', '1'});
  exif.AddShort(dir, kTagOrientation, 6);
  exif.AddRational(dir, 0x011A, 300, 1);
  exif.AddEntry(dir, 0x011B, kSignedRational, 1,
                {0x70, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF});  // -144/-2
  exif.AddShort(dir, 0x0128, 2);                                    // inches
  exif.AddRational(dir, 0x829A, 1, 250);
  exif.AddRational(dir, 0x9201, 5, 1);  // APEX after the direct value changes nothing...
  exif.AddRational(dir, 0x9202, 4, 1);  // ...but stands in for a missing one: F 2^(4/2)
  exif.AddRational(dir, 0x9205, 6, 1);
  exif.AddRawEntry(dir, 0x8822, 0, 1, 7);  // format 0 gives 0
  exif.AddShort(dir, 0x8827, 40);          // ISO below 50: steps of 200
  exif.AddLong(dir, 0x9102, 5);
  exif.AddEntry(dir, 0x9203, kSignedShort, 1, exif.U16(static_cast<std::uint16_t>(-3)));
  exif.AddEntry(dir, 0x9204, kSignedRational, 1, {0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0});  // -1/3
  exif.AddEntry(dir, 0x9206, kDouble, 1, {0, 0, 0, 0, 0, 0, 2, 0x40});                   // 2.25
  exif.AddEntry(dir, 0x9207, kSignedByte, 1, {0xFE});
  exif.AddEntry(dir, 0x9208, kByte, 1, {0xFE});
  exif.AddShort(dir, 0x9209, 0x10);  // flash: only bits 0-2 count
  exif.AddEntry(dir, 0x920A, kFloat, 1, exif.U32(0x40B00000));
  exif.AddLong(dir, 0xA002, 3000);
  exif.AddShort(dir, 0xA003, 2000);
  exif.AddRational(dir, 0xA20E, 1000, 1);
  exif.AddRational(dir, 0xA20F, 7, 0);  // zero denominator
  exif.AddShort(dir, 0xA210, 3);        // centimetres
  exif.AddShort(dir, 0xA210, 6);        // an unknown unit changes nothing
  const ExifParse parse(exif.Build());
  ASSERT_TRUE(parse.ok);
  const PhotoMeta& m = parse.Meta();
  EXPECT_EQ(std::string(m.maker), std::string(31, 'm'));
  EXPECT_STREQ(m.model, "ab");
  EXPECT_STREQ(m.takenAt, "2012:05:17 10:20:30");
  EXPECT_EQ(std::string(m.commentText), std::string(199, 'c'));
  EXPECT_STREQ(m.exifVersion, "0221");
  // Orientation; resolution x, y and unit; exposure, F number, program, ISO, bits per pixel,
  // brightness, bias, distance, metering, light, flash, focal length; focal-plane y resolution
  // and unit; the sensor width: the larger pixel size in focal-plane units, as inches.
  char fields[200];
  std::snprintf(
      fields, sizeof fields, "%d; %g %g %g; %g %g %d %d %d %g %g %g %d %d %d %g; %g %g; %g",
      m.orientationCode, m.resolutionX, m.resolutionY, m.resolutionUnitInches, m.exposureSeconds,
      m.fNumber, m.exposureProgramCode, m.isoSpeed, m.compressedBpp, m.brightnessValue,
      m.exposureBiasEv, m.subjectDistance, m.meteringModeCode, m.lightSource, m.flashFired,
      m.focalLengthMm, m.focalPlaneResY, m.focalPlaneUnitInches, m.sensorWidth);
  EXPECT_STREQ(fields,
               "6; 300 72 1; 0.004 4 0 8000 5 -3 -0.333333 2.25 -2 254 0 5.5; 0 0.393701; 1.1811");
}

}  // namespace
