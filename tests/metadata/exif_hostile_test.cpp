// Blocks made to trap the walk: cycles, endless nesting, values pressed against the block's
// end. Each must finish; the sanitizer build shows that nothing is read outside the block.
#include <gtest/gtest.h>

#include "metadata_test_support.h"

namespace {

using namespace jpegbuilder;
using metatest::ExifParse;

constexpr char kDate[] = "2012:05:17 10:20:30";

TEST(ExifHostile, CyclesEndAndStillFillTheRecord) {
  ExifBuilder self;
  int only = self.AddDirectory();
  self.AddLink(only, kTagExifIfd, only);
  self.SetNext(only, only);
  self.AddAscii(only, kTagDateTimeOriginal, kDate);
  ExifParse selfParse(self.Build());
  EXPECT_TRUE(selfParse.ok);
  EXPECT_STREQ(selfParse.Meta().takenAt, kDate);

  ExifBuilder pair;  // first -> sub -> first, by a sub-directory link and by next links
  int first = pair.AddDirectory();
  int sub = pair.AddDirectory();
  pair.AddLink(first, kTagExifIfd, sub);
  pair.AddLink(sub, kTagInteropIfd, first);
  pair.SetNext(sub, first);
  pair.AddAscii(sub, kTagDateTimeOriginal, kDate);
  ExifParse pairParse(pair.Build());
  EXPECT_TRUE(pairParse.ok);
  EXPECT_STREQ(pairParse.Meta().takenAt, kDate);

  ExifBuilder next;  // a ring of next-directory links
  int a = next.AddDirectory();
  int b = next.AddDirectory();
  int c = next.AddDirectory();
  next.SetNext(a, b);
  next.SetNext(b, c);
  next.SetNext(c, a);
  next.AddShort(c, 0x8827, 100);
  ExifParse nextParse(next.Build());
  EXPECT_TRUE(nextParse.ok);
  EXPECT_EQ(nextParse.Meta().isoSpeed, 100);
}

TEST(ExifHostile, DeepChainsAndFanOutEnd) {
  // A chain of 300 directories, each linking to the next by both kinds of link.
  ExifBuilder chain;
  for (int i = 0; i < 300; ++i) {
    chain.AddDirectory();
  }
  for (int i = 0; i + 1 < 300; ++i) {
    chain.AddLink(i, kTagExifIfd, i + 1);
    chain.SetNext(i, i + 1);
  }
  chain.AddAscii(3, kTagDateTimeOriginal, kDate);
  chain.AddShort(40, 0x8827, 100);
  ExifParse chainParse(chain.Build());
  EXPECT_TRUE(chainParse.ok);
  EXPECT_STREQ(chainParse.Meta().takenAt, kDate);
  EXPECT_EQ(chainParse.Meta().isoSpeed, 0);  // links deeper than 32 are not followed

  // Every directory links to the next one three times: without a record of walked
  // directories the walk would grow as 3^depth.
  ExifBuilder fan;
  for (int i = 0; i < 40; ++i) {
    fan.AddDirectory();
  }
  for (int i = 0; i + 1 < 40; ++i) {
    fan.AddLink(i, kTagExifIfd, i + 1);
    fan.AddLink(i, kTagInteropIfd, i + 1);
    fan.SetNext(i, i + 1);
  }
  EXPECT_TRUE(ExifParse(fan.Build()).ok);

  // A hundred links to one directory walk it once and still reach the date behind them.
  ExifBuilder repeated;
  int first = repeated.AddDirectory();
  int twin = repeated.AddDirectory();
  int sub = repeated.AddDirectory();
  for (int i = 0; i < 100; ++i) {
    repeated.AddLink(first, kTagInteropIfd, twin);
  }
  repeated.AddLink(first, kTagExifIfd, sub);
  repeated.AddAscii(sub, kTagDateTimeOriginal, kDate);
  EXPECT_STREQ(ExifParse(repeated.Build()).Meta().takenAt, kDate);
}

TEST(ExifHostile, ValuesPressedAgainstTheBlockEnd) {
  // Texts without a NUL that end at the block's end.
  ExifBuilder texts;
  int dir = texts.AddDirectory();
  texts.AddEntry(dir, kTagMake, kUndefined, 8, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
  ExifParse textParse(texts.Build());
  EXPECT_STREQ(textParse.Meta().maker, "ABCDEFGH");

  ExifBuilder comment;
  comment.AddEntry(comment.AddDirectory(), 0x9286, kUndefined, 6, {'A', 'S', 'C', 'I', 'I', 'x'});
  EXPECT_STREQ(ExifParse(comment.Build()).Meta().commentText, "x");

  // The last entry's inline value, with the next-directory offset cut off so that the value
  // ends the block: first components wider than four bytes, and a text without a NUL.
  const auto lastEntry = [](std::uint16_t tag, std::uint16_t format, std::uint32_t count) {
    ExifBuilder exif;
    exif.AddRawEntry(exif.AddDirectory(), tag, format, count, 0x41424344);
    Bytes block = exif.Build();
    block.resize(block.size() - 4);
    return ExifParse(block);
  };
  for (std::uint16_t format : {kRational, kSignedRational, kDouble}) {
    ExifParse parse = lastEntry(0x829A, format, 0);
    EXPECT_TRUE(parse.ok) << format;
    EXPECT_FLOAT_EQ(parse.Meta().exposureSeconds, 0) << format;
  }
  ExifParse maker = lastEntry(kTagMake, kAscii, 4);
  EXPECT_TRUE(maker.ok);
  EXPECT_STREQ(maker.Meta().maker, "DCBA");

  // A link whose directory starts one byte before the end: its count does not fit.
  ExifBuilder edge;
  edge.AddDirectory();
  const auto size = static_cast<std::uint32_t>(edge.Build().size() + 12);
  edge.AddRawEntry(0, kTagExifIfd, kLong, 1, size - 1);
  ExifParse edgeParse(edge.Build());
  EXPECT_TRUE(edgeParse.ok);
  EXPECT_EQ(edgeParse.Error(), "Illegally sized directory");
}

}  // namespace
