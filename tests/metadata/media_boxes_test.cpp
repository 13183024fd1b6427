#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "box_builder.h"
#include "metadata/media_date.h"
#include "metadata_test_support.h"

namespace {

using namespace boxbuilder;
using jpegbuilder::ExifBlockWithDate;

// Noon UTC is the same day in every zone from UTC-11 to UTC+11.
const std::uint64_t kNoon = Seconds1904(2019, 7, 1, 12);
const std::string kNoonDay = "QuickTime UTC 2019-07-01";

using metatest::ExpectDays;

TEST(QuickTimeDay, MovieHeaderAndCreationDateKey) {
  const Bytes header = MovieHeader(0, kNoon);
  Bytes cutMoov = Movie({header});
  cutMoov.resize(cutMoov.size() - 10);
  ExpectDays(
      MediaKind::kQuickTime,
      {
          {Movie({header}), kNoonDay},
          {Movie({MovieHeader(0, 0)}), "none"},                            // time 0: unknown
          {Movie({MovieHeader(1, Seconds1904(2031, 1, 1, 12))}), "none"},  // after the latest
          {Movie({Box("mvhd", Bytes{0, 0, 0})}), "none"},
          {cutMoov, "none"},
          {Cat({Ftyp("mp42"), U32(3), Text("free"), Box("moov", header)}), "none"},
          // A meta box whose size points back into its own header leaves the movie header.
          {Movie({header, Cat({U32(4), Text("meta")})}), kNoonDay},
          // The key's own day, whatever its zone.
          {Movie({header, CreationDateMeta("2021-03-15T01:30:00+0800")}),
           "QuickTime local 2021-03-15"},
          {Movie({CreationDateMeta("2018-01-02T03:04:05Z", true)}), "QuickTime local 2018-01-02"},
          {Movie({header, CreationDateMeta("2021-02-30T10:00:00+0800")}), kNoonDay},
          {Bytes{}, "none"},
      });
}

// A file of several gigabytes: its head (ftyp and the mdat header) and its tail (moov with a
// 64-bit movie header) are real, the media data between them may not be read at all.
class HugeMovie : public ByteSource {
 public:
  static constexpr std::uint64_t kSize = 6ULL << 30;
  const Bytes tail = Box("moov", MovieHeader(1, kNoon));
  const Bytes head = Cat({Ftyp("isom"), U32(1), Text("mdat"), U64(kSize - 20 - tail.size())});
  std::uint64_t bytesRead = 0;

  std::uint64_t Size() const override { return kSize; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override {
    bytesRead += length;
    const std::uint64_t tailStart = kSize - tail.size();
    if (offset + length <= head.size()) {
      std::memcpy(out, head.data() + offset, length);
    } else if (offset >= tailStart && offset + length <= kSize) {
      std::memcpy(out, tail.data() + (offset - tailStart), length);
    } else {
      ADD_FAILURE() << "read of " << length << " bytes at " << offset;
      return false;
    }
    return true;
  }
};

TEST(QuickTimeDay, MoovAfterGigabytesOfMediaDataIsReachedBySeeking) {
  HugeMovie movie;
  EXPECT_EQ(metatest::DayText(DayInsideFile(MediaKind::kQuickTime, movie, {2030, 1, 1})), kNoonDay);
  EXPECT_LT(movie.bytesRead, 256u);
}

// The same through a real sparse file on disk, so the stream's seeks and size are 64-bit on
// every platform.
TEST(QuickTimeDay, FileOfSixGigabytesWithMoovAtTheEnd) {
  const HugeMovie movie;
  testfiles::TempFolder folder;
  const std::string path = folder / "long.mov";
  const std::filesystem::path native(std::u8string(path.begin(), path.end()));
  ASSERT_TRUE(jpegbuilder::WriteBytes(path, movie.head));
  // Where the file system would write every byte (no sparse files), 256 MiB take their room on
  // disk at once: the test is then skipped rather than writing 6 GiB.
  const auto room = [&] { return std::filesystem::space(native.parent_path()).available; };
  const std::uintmax_t before = room();
  std::error_code error;
  std::filesystem::resize_file(native, 256 << 20, error);
  if (error || room() + (64 << 20) < before) {
    GTEST_SKIP() << "no sparse files here" << (error ? ": " + error.message() : "");
  }
  std::filesystem::resize_file(native, HugeMovie::kSize - movie.tail.size(), error);
  ASSERT_FALSE(error) << error.message();
  {
    std::ofstream out(native, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(movie.tail.data()),
              static_cast<std::streamsize>(movie.tail.size()));
    ASSERT_TRUE(out.good());
  }
  EXPECT_EQ(metatest::DayText(FindMediaDay(path)), kNoonDay);
}

TEST(HeifDay, ExifItemFoundThroughItemTables) {
  const auto heif = [](HeifLayout layout) {
    return HeifWithExif(ExifBlockWithDate("2021:03:14 10:15:00"), layout);
  };
  const std::string day = "HEIC EXIF 2021-03-14";
  Bytes notFtyp = heif({});
  std::memcpy(notFtyp.data() + 4, "free", 4);
  Bytes cut = heif({});
  cut.resize(cut.size() - 20);
  // The item's offset field claims more bytes before the TIFF header than the item holds.
  Bytes offsetPastItem = heif({});
  const std::string bytes(offsetPastItem.begin(), offsetPastItem.end());
  offsetPastItem[bytes.rfind(std::string("Exif\0\0", 6)) - 2] = 0x10;
  ExpectDays(MediaKind::kHeif,
             {
                 {heif({}), day},
                 {heif({.tiffOffset = 0}), day},
                 {heif({.extents = 3}), day},
                 {heif({.ilocVersion = 1, .inIdat = true}), day},
                 {heif({.ilocVersion = 2, .infeVersion = 3}), day},  // 32-bit item ids
                 {heif({.withExifItem = false}), "none"},
                 {notFtyp, "none"},
                 {cut, "none"},
                 {offsetPastItem, "none"},
                 {HeifWithExif(ExifBlockWithDate("")), "none"},
                 {HeifWithExif(ExifBlockWithDate("2021:13:01 10:00:00")), "none"},
                 {Movie({MovieHeader(0, kNoon)}), "none"},
             });
}

TEST(MediaKind, ChosenByTheNamesEnding) {
  std::string kinds;  // MediaKind's numbers
  for (const char* name : {"a.jpg",  "a.JPEG", "a.HEIC", "a.heif", "a.avif",    "a.HIF", "a.MP4",
                           "a.mov",  "a.m4v",  "a.3gp",  "heic",   "a.mp4.txt", "a.CR2", "a.rw2",
                           "a.tiff", "a.cr3",  "a.RAF",  "a.mrw",  "a.crw",     "a.x3f", "a.png",
                           "a.webp", "a.jxl",  "a.psb",  "a.AVI",  "a.m2ts",    "a.webm"}) {
    kinds += std::to_string(static_cast<int>(MediaKindOf(name))) + " ";
  }
  EXPECT_EQ(kinds, "1 1 2 2 2 2 3 3 3 3 0 0 4 4 5 6 7 8 9 10 11 12 13 14 15 16 17 ");
  EXPECT_TRUE(IsRawPhotoName("x.NEF") && IsRawPhotoName("x.x3f") && !IsRawPhotoName("x.tif"));
  EXPECT_EQ(RawPhotoEndings().size(), 23u);
}

}  // namespace
