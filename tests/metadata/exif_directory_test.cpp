// The EXIF block's header checks and its directory walk: links, bounds, thumbnails.
#include <gtest/gtest.h>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::ExifParse;

constexpr char kDate[] = "2012:05:17 10:20:30";

ExifBuilder DateInFirst(ByteOrder order = ByteOrder::kLittle) {
  ExifBuilder exif(order);
  exif.AddAscii(exif.AddDirectory(), kTagDateTimeOriginal, kDate);
  return exif;
}

TEST(ExifHeader, RejectsBadHeadersWithTheirTexts) {
  Bytes good = DateInFirst().Build();
  Bytes bad = good;
  bad[0] = bad[1] = 'X';
  EXPECT_EQ(ExifParse(bad).Error(), "Invalid Exif alignment marker.");
  bad = good;
  bad[2] = 43;
  EXPECT_EQ(ExifParse(bad).Error(), "Invalid Exif start (1)");
  // "MM" on a little-endian block reads 42 as 0x2A00.
  bad = good;
  bad[0] = bad[1] = 'M';
  EXPECT_EQ(ExifParse(bad).Error(), "Invalid Exif start (1)");

  // Blocks too short for their own header stop at the first check they cannot pass.
  EXPECT_EQ(ExifParse(Bytes{'I'}).Error(), "Invalid Exif alignment marker.");
  EXPECT_EQ(ExifParse(Bytes{'I', 'I', 42}).Error(), "Invalid Exif start (1)");
  ExifParse shortOffset(Bytes{'I', 'I', 42, 0, 8, 0, 0});
  EXPECT_FALSE(shortOffset.ok);
  EXPECT_EQ(shortOffset.Error(), "Suspicious offset of first IFD value");
  // Header right, but no room for the directory it names.
  ExifParse noDirectory(Bytes{'I', 'I', 42, 0, 8, 0, 0, 0});
  EXPECT_FALSE(noDirectory.ok);
  EXPECT_EQ(noDirectory.Error(), "Illegally sized directory");
}

TEST(ExifHeader, BadMagicAndShortPayloadFailInReadSections) {
  // Through a file: "Exif" without its two NUL bytes, and a four-byte "Exif" payload.
  Bytes bytes = JpegBuilder().Exif(DateInFirst().Build()).Scan().Data();
  bytes[2 + 4 + 4] = 'X';  // after SOI, marker and length, "Exif"
  metatest::JpegRead magic(bytes);
  EXPECT_EQ(magic.Error(), "Incorrect Exif header");
  EXPECT_FALSE(magic.Meta().hasExif);
  EXPECT_STREQ(magic.Meta().takenAt, "");

  metatest::JpegRead tiny(JpegBuilder().Section(0xE1, {'E', 'x', 'i', 'f'}).Scan().Data());
  EXPECT_TRUE(tiny.ok);
  EXPECT_EQ(tiny.Error(), "Incorrect Exif header");
  // Three bytes are not an EXIF section at all: dropped, no error.
  metatest::JpegRead three(JpegBuilder().Section(0xE1, {'E', 'x', 'i'}).Scan().Data());
  EXPECT_EQ(three.Error(), "");
  EXPECT_EQ(three.Reader().SectionCount(), 1);
}

TEST(ExifHeader, FirstDirectoryOffsetFrom8To16) {
  for (ByteOrder order : {ByteOrder::kLittle, ByteOrder::kBig}) {
    for (std::uint32_t offset : {8u, 16u, 7u, 17u}) {
      ExifBuilder exif = DateInFirst(order);
      exif.SetFirstDirectoryOffset(offset);
      ExifParse parse(exif.Build());
      const bool inRange = offset == 8 || offset == 16;
      EXPECT_EQ(parse.ok, inRange) << offset;
      EXPECT_STREQ(parse.Meta().takenAt, inRange ? kDate : "") << offset;
      EXPECT_EQ(parse.Error(), inRange ? "" : "Suspicious offset of first IFD value") << offset;
    }
  }
}

TEST(ExifHeader, ResetsFlashCommentAndLargestBeforeAnyCheck) {
  PhotoMeta start{};
  start.flashFired = 1;
  start.isoSpeed = 400;
  std::strcpy(start.commentText, "old");
  ExifParse parse(Bytes{'X', 'X'}, start);
  EXPECT_FALSE(parse.ok);
  EXPECT_EQ(parse.Meta().flashFired, 0);
  EXPECT_STREQ(parse.Meta().commentText, "");
  EXPECT_EQ(parse.Meta().isoSpeed, 400);  // no other field is reset
}

TEST(ExifDirectory, DateOnlyFromTag9003InAnyLinkedDirectory) {
  EXPECT_STREQ(ExifParse(ExifBlockWithDate(kDate)).Meta().takenAt, kDate);
  EXPECT_STREQ(ExifParse(ExifBlockWithDate(kDate, ByteOrder::kBig)).Meta().takenAt, kDate);

  ExifBuilder other;
  int first = other.AddDirectory();
  int sub = other.AddDirectory();
  other.AddAscii(first, kTagDateTime, kDate);
  other.AddLink(first, kTagExifIfd, sub);
  other.AddAscii(sub, kTagDateTimeDigitized, kDate);
  ExifParse parse(other.Build());
  EXPECT_TRUE(parse.ok);
  EXPECT_STREQ(parse.Meta().takenAt, "");
}

TEST(ExifDirectory, FailureInLinkedDirectoryKeepsResult) {
  ExifBuilder exif;
  int first = exif.AddDirectory();
  int sub = exif.AddDirectory();
  exif.AddLink(first, kTagExifIfd, sub);
  exif.AddShort(first, 0x8822, 2);  // after the link: the first directory carries on
  exif.AddAscii(sub, kTagDateTimeOriginal, kDate);
  exif.AddRawEntry(sub, 0x9209, 13, 1, 1);  // format 13
  exif.AddShort(sub, 0x8827, 100);          // after the failure: not read
  ExifParse parse(exif.Build());
  EXPECT_TRUE(parse.ok);
  EXPECT_STREQ(parse.Meta().takenAt, kDate);
  EXPECT_EQ(parse.Meta().exposureProgramCode, 2);
  EXPECT_EQ(parse.Meta().isoSpeed, 0);
  EXPECT_EQ(parse.Error(), "Illegal format code in EXIF dir");

  // The same broken entry in the first directory fails the block, date already taken or not.
  ExifBuilder broken = DateInFirst();
  broken.AddRawEntry(0, 0x9209, 13, 1, 1);
  ExifParse failed(broken.Build());
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.Error(), "Illegal format code in EXIF dir");
}

TEST(ExifDirectory, FormatZeroIsEmptyAndConvertsToZero) {
  PhotoMeta start{};
  start.exposureProgramCode = 5;
  ExifBuilder exif = DateInFirst();
  exif.AddRawEntry(0, 0x8822, 0, 1000, 0x12345678);
  ExifParse parse(exif.Build(), start);
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.Meta().exposureProgramCode, 0);
  EXPECT_EQ(parse.Error(), "");
}

TEST(ExifDirectory, ValueEndingAtBlockEnd) {
  Bytes block = DateInFirst().Build();  // the date is the last thing in the block
  ExifParse exact(block);
  EXPECT_TRUE(exact.ok);
  EXPECT_STREQ(exact.Meta().takenAt, kDate);

  block.pop_back();  // now the value ends one byte past the block
  ExifParse over(block);
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.Error(), "Illegal pointer offset value in EXIF.");
}

TEST(ExifDirectory, HugeCountsAndOffsetsNearTheTop) {
  struct Case {
    std::uint16_t format;
    std::uint32_t count, raw;
  } cases[] = {
      {kLong, 0x40000000, 8},      // 2^32 bytes: does not fit in 32 bits
      {kDouble, 0xFFFFFFFF, 8},    // far beyond 32 bits
      {kLong, 0x3FFFFFFF, 8},      // fits in 32 bits, beyond the block
      {kRational, 1, 0xFFFFFFF8},  // offset + 8 wraps in 32 bits
      {kAscii, 20, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    ExifBuilder exif = DateInFirst();
    exif.AddRawEntry(0, 0x829A, c.format, c.count, c.raw);
    ExifParse parse(exif.Build());
    EXPECT_FALSE(parse.ok) << c.count;
    EXPECT_EQ(parse.Error(), "Illegal pointer offset value in EXIF.") << c.count;
  }
}

TEST(ExifDirectory, LinkOffsetsAreCheckedAgainstTheBlock) {
  ExifBuilder farLink = DateInFirst();
  farLink.AddRawEntry(0, kTagExifIfd, kLong, 1, 0xFFFFFFFF);
  EXPECT_EQ(ExifParse(farLink.Build()).Error(), "Illegal subdirectory link");

  // A link to exactly the block's end passes the link check; that walk fails on its own.
  Bytes probe = DateInFirst().Build();
  ExifBuilder edge = DateInFirst();
  edge.AddRawEntry(0, kTagInteropIfd, kLong, 1, static_cast<std::uint32_t>(probe.size() + 12));
  ExifParse parse(edge.Build());
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.Error(), "Illegally sized directory");

  // A next-directory offset beyond the block fails the directory that holds it.
  Bytes block = DateInFirst().Build();
  const std::uint32_t nextAt = 8 + 2 + 12;
  block[nextAt] = block[nextAt + 1] = block[nextAt + 2] = block[nextAt + 3] = 0xFF;
  ExifParse next(block);
  EXPECT_FALSE(next.ok);
  EXPECT_EQ(next.Error(), "Illegal subdirectory link");
}

TEST(ExifDirectory, DirectoryAtBlockEndWithoutNextOffset) {
  ExifBuilder exif;
  int first = exif.AddDirectory();
  int sub = exif.AddDirectory();
  exif.AddLink(first, kTagExifIfd, sub);
  exif.AddShort(sub, 0x8827, 100);
  Bytes block = exif.Build();
  block.resize(block.size() - 4);  // the last directory's next offset does not fit
  ExifParse parse(block);
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.Meta().isoSpeed, 100);
  EXPECT_EQ(parse.Error(), "");

  // An entry count that reaches past the block.
  Bytes counted = DateInFirst().Build();
  counted[8] = 0x30;
  ExifParse sized(counted);
  EXPECT_FALSE(sized.ok);
  EXPECT_EQ(sized.Error(), "Illegally sized directory");
}

TEST(ExifDirectory, ThumbnailPairPerDirectory) {
  // The pair sits in the next directory; 40 bytes at the block's end stand for the thumbnail.
  const auto build = [](std::uint32_t offset, std::uint32_t length) {
    ExifBuilder exif;
    int first = exif.AddDirectory();
    int thumbs = exif.AddDirectory();
    exif.SetNext(first, thumbs);
    exif.AddLong(thumbs, kTagThumbnailOffset, offset);
    exif.AddLong(thumbs, kTagThumbnailLength, length);
    exif.AddEntry(thumbs, 0x9999, kUndefined, 40, Bytes(40, 0xAB));
    return exif.Build();
  };
  const auto tailAt = static_cast<std::uint32_t>(build(0, 0).size() - 40);
  ExifParse parse(build(tailAt, 40));
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.Meta().thumbnailBytes, parse.Block() + tailAt);
  EXPECT_EQ(parse.Meta().thumbnailLength, 40);

  // One byte too long, or a zero offset: nothing set.
  EXPECT_EQ(ExifParse(build(tailAt, 41)).Meta().thumbnailBytes, nullptr);
  EXPECT_EQ(ExifParse(build(0, 40)).Meta().thumbnailLength, 0);

  // A pair split over two directories sets nothing.
  ExifBuilder split;
  int a = split.AddDirectory();
  int b = split.AddDirectory();
  split.SetNext(a, b);
  split.AddLong(a, kTagThumbnailOffset, 8);
  split.AddLong(b, kTagThumbnailLength, 4);
  ExifParse splitParse(split.Build());
  EXPECT_TRUE(splitParse.ok);
  EXPECT_EQ(splitParse.Meta().thumbnailBytes, nullptr);
  EXPECT_EQ(splitParse.Meta().thumbnailLength, 0);
}

}  // namespace
