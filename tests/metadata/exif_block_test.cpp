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

// The date block with one more entry in the first directory, its four value bytes `raw`.
Bytes DateAnd(std::uint16_t tag, std::uint16_t format, std::uint32_t count, std::uint32_t raw) {
  ExifBuilder exif = DateInFirst();
  exif.AddRawEntry(0, tag, format, count, raw);
  return exif.Build();
}

Bytes Patched(Bytes block, std::size_t at, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
  return block;
}

Bytes FirstAt(std::uint32_t offset, ByteOrder order) {
  ExifBuilder exif = DateInFirst(order);
  exif.SetFirstDirectoryOffset(offset);
  return exif.Build();
}

// The date in a directory linked from the first, then an entry of format 13 there.
Bytes DateInAFailingLinkedDirectory() {
  ExifBuilder exif;
  const int first = exif.AddDirectory();
  const int linked = exif.AddDirectory();
  exif.AddLink(first, kTagExifIfd, linked);
  exif.AddAscii(linked, kTagDateTimeOriginal, kDate);
  exif.AddRawEntry(linked, 0x9209, 13, 1, 1);
  return exif.Build();
}

TEST(ExifBlock, HeaderAndBoundsChecksGiveTheirTexts) {
  const Bytes good = DateInFirst().Build();  // directory at 8, next offset at 22, date last
  const auto end = static_cast<std::uint32_t>(good.size() + 12);  // size with one more entry
  const char* const kOffset = "Suspicious offset of first IFD value";
  const char* const kPointer = "Illegal pointer offset value in EXIF.";
  const struct {
    Bytes block;
    bool ok;
    const char* error;
  } cases[] = {
      {good, true, ""},
      {FirstAt(16, ByteOrder::kBig), true, ""},
      {FirstAt(7, ByteOrder::kLittle), false, kOffset},
      {FirstAt(17, ByteOrder::kBig), false, kOffset},
      {Patched(good, 0, {'X', 'X'}), false, "Invalid Exif alignment marker."},
      {Patched(good, 2, {43}), false, "Invalid Exif start (1)"},
      {Patched(good, 0, {'M', 'M'}), false, "Invalid Exif start (1)"},  // 42 read as 0x2A00
      // Too short for their own header: the first check they cannot pass.
      {{'I'}, false, "Invalid Exif alignment marker."},
      {{'I', 'I', 42}, false, "Invalid Exif start (1)"},
      {{'I', 'I', 42, 0, 8, 0, 0}, false, kOffset},
      {{'I', 'I', 42, 0, 8, 0, 0, 0}, false, "Illegally sized directory"},
      {Patched(good, 8, {0x30}), false, "Illegally sized directory"},  // entries past the end
      {Patched(good, 22, {0xFF, 0xFF, 0xFF, 0xFF}), false, "Illegal subdirectory link"},
      {Bytes(good.begin(), good.end() - 1), false, kPointer},  // the date one byte too long
      {DateAnd(0x9209, 13, 1, 1), false, "Illegal format code in EXIF dir"},
      {DateInAFailingLinkedDirectory(), true, "Illegal format code in EXIF dir"},  // that walk ends
      {DateAnd(0x8822, 0, 1000, 0x12345678), true, ""},  // format 0 has no bytes
      // Sizes and offsets whose sums pass 32 bits.
      {DateAnd(0x829A, kLong, 0x40000000, 8), false, kPointer},
      {DateAnd(0x829A, kRational, 1, 0xFFFFFFF8), false, kPointer},
      {DateAnd(kTagExifIfd, kLong, 1, 0xFFFFFFFF), false, "Illegal subdirectory link"},
      // Links to the block's end or one byte before it pass; only the linked walk fails.
      {DateAnd(kTagInteropIfd, kLong, 1, end), true, "Illegally sized directory"},
      {DateAnd(kTagExifIfd, kLong, 1, end - 1), true, "Illegally sized directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const ExifParse parse(c.block);
    EXPECT_EQ(parse.ok, c.ok);
    EXPECT_EQ(parse.Error(), c.error);
    if (c.ok) {
      EXPECT_STREQ(parse.Meta().takenAt, kDate);
    }
  }
}

TEST(ExifBlock, CyclesRepeatedLinksAndDeepChainsEnd) {
  // A hundred links to one directory walk it once, so the limit of 64 walked directories
  // still leaves room for the date behind them; the date's directory links back to the first.
  ExifBuilder repeated;
  const int first = repeated.AddDirectory();
  const int twin = repeated.AddDirectory();
  const int sub = repeated.AddDirectory();
  for (int i = 0; i < 100; ++i) {
    repeated.AddLink(first, kTagInteropIfd, twin);
  }
  repeated.AddLink(first, kTagExifIfd, sub);
  repeated.AddAscii(sub, kTagDateTimeOriginal, kDate);
  repeated.AddLink(sub, kTagInteropIfd, first);
  repeated.SetNext(sub, first);
  EXPECT_STREQ(ExifParse(repeated.Build()).Meta().takenAt, kDate);

  // 300 directories, each linked three times to the next: without the record of walked
  // directories the walk would grow as 3^depth. Links deeper than 32 are not followed.
  ExifBuilder chain;
  for (int i = 0; i < 300; ++i) {
    chain.AddDirectory();
  }
  for (int i = 0; i + 1 < 300; ++i) {
    chain.AddLink(i, kTagExifIfd, i + 1);
    chain.AddLink(i, kTagInteropIfd, i + 1);
    chain.SetNext(i, i + 1);
  }
  chain.AddAscii(3, kTagDateTimeOriginal, kDate);
  chain.AddShort(32, 0x8827, 100);
  chain.AddShort(33, 0x8822, 2);
  const ExifParse parse(chain.Build());
  EXPECT_TRUE(parse.ok);
  EXPECT_STREQ(parse.Meta().takenAt, kDate);
  EXPECT_EQ(parse.Meta().isoSpeed, 100);
  EXPECT_EQ(parse.Meta().exposureProgramCode, 0);
}

TEST(ExifBlock, ValuesEndingAtTheBlockEndAreReadNoFurther) {
  // One entry whose inline value ends the block, the next-directory offset cut off: numbers
  // wider than the four bytes read as 0, a text without NUL stops at the end.
  const auto lastEntry = [](std::uint16_t tag, std::uint16_t format, std::uint32_t count) {
    ExifBuilder exif;
    exif.AddRawEntry(exif.AddDirectory(), tag, format, count, 0x41424344);
    Bytes block = exif.Build();
    block.resize(block.size() - 4);
    return ExifParse(block);
  };
  for (std::uint16_t format : {kRational, kSignedRational, kDouble}) {
    const ExifParse parse = lastEntry(0x829A, format, 0);
    EXPECT_TRUE(parse.ok) << format;
    EXPECT_EQ(parse.Meta().exposureSeconds, 0) << format;
  }
  EXPECT_STREQ(lastEntry(kTagMake, kAscii, 4).Meta().maker, "DCBA");
}

}  // namespace
