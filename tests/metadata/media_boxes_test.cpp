// Days inside HEIF images and QuickTime/MP4 videos, on files built box by box.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "box_builder.h"
#include "jpeg_builder.h"
#include "metadata/media_date.h"
#include "test_files.h"

namespace {

using namespace boxbuilder;
using jpegbuilder::ByteOrder;
using jpegbuilder::ExifBlockWithDate;
using platform::LocalDate;

constexpr LocalDate kLatest{2030, 1, 1};

// DayInsideBoxes on an exact-size heap copy, so the sanitizer build catches a read past the end.
MediaDay DayOf(MediaKind kind, const Bytes& bytes) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), copy.get());
  MemorySource source(copy.get(), bytes.size());
  return DayInsideBoxes(kind, source, kLatest);
}

int Yyyymmdd(const LocalDate& day) {
  return day.year * 10000 + day.month * 100 + day.day;
}

// The day as YYYYMMDD, 0 for none.
struct Case {
  const char* what;
  Bytes bytes;
  DaySource source;
  int day;
};

void ExpectDays(MediaKind kind, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const MediaDay found = DayOf(kind, c.bytes);
    EXPECT_EQ(found.source, c.source) << c.what;
    if (c.source != DaySource::kNone && found.source == c.source) {
      EXPECT_EQ(Yyyymmdd(found.day), c.day) << c.what;
    }
  }
}

constexpr DaySource kNone = DaySource::kNone;
constexpr DaySource kUtc = DaySource::kQuickTimeUtc;
constexpr DaySource kLocal = DaySource::kQuickTimeLocal;
constexpr DaySource kHeic = DaySource::kHeicExif;

// Noon UTC is the same day in every zone from UTC-11 to UTC+11.
const std::uint64_t kNoon = Seconds1904(2019, 7, 1, 12);

TEST(QuickTimeDay, MovieHeaderAndCreationDateKey) {
  const Bytes header = MovieHeader(0, kNoon);
  const Bytes truncatedMoov = [&] {
    Bytes b = Movie({header});
    b.resize(b.size() - 10);
    return b;
  }();
  const Bytes tinyBox = Cat({Ftyp("mp42"), U32(3), Text("free"), Box("moov", header)});
  // A meta box whose size points back into its own header.
  const Bytes brokenMeta = Movie({header, Cat({U32(4), Text("meta")})});
  ExpectDays(
      MediaKind::kQuickTime,
      {
          {"mvhd version 0", Movie({header}), kUtc, 20190701},
          {"mvhd version 1", Movie({MovieHeader(1, kNoon)}), kUtc, 20190701},
          {"mvhd time 0 means unknown", Movie({MovieHeader(0, 0)}), kNone, 0},
          {"mvhd before 1990", Movie({MovieHeader(0, Seconds1904(1989, 12, 30, 12))}), kNone, 0},
          {"mvhd after the latest day", Movie({MovieHeader(1, Seconds1904(2031, 1, 1, 12))}), kNone,
           0},
          {"mvhd cut short", Movie({Box("mvhd", Bytes{0, 0, 0})}), kNone, 0},
          {"64-bit mdat size", Cat({Ftyp("isom"), Box64("mdat", Bytes(40)), Box("moov", header)}),
           kUtc, 20190701},
          {"moov reaching past the file", truncatedMoov, kNone, 0},
          {"box smaller than its header", tinyBox, kNone, 0},
          {"broken meta leaves mvhd", brokenMeta, kUtc, 20190701},
          {"key, east of UTC", Movie({header, CreationDateMeta("2021-03-15T01:30:00+0800")}),
           kLocal, 20210315},
          {"key, west of UTC", Movie({header, CreationDateMeta("2021-03-14T21:30:00-05:00")}),
           kLocal, 20210314},
          {"key without zone", Movie({CreationDateMeta("2021-03-14T21:30:00")}), kLocal, 20210314},
          {"key in an MP4 full-box meta", Movie({CreationDateMeta("2018-01-02T03:04:05Z", true)}),
           kLocal, 20180102},
          {"key under udta", Movie({header, Box("udta", CreationDateMeta("2017-06-07T08:00:00Z"))}),
           kLocal, 20170607},
          {"impossible key falls back to mvhd",
           Movie({header, CreationDateMeta("2021-02-30T10:00:00+0800")}), kUtc, 20190701},
          {"no moov", Cat({Ftyp("isom"), Box("mdat", Bytes(16))}), kNone, 0},
          {"empty file", Bytes{}, kNone, 0},
      });
}

// A file of several gigabytes: its head (ftyp and the mdat header) and its tail (moov) are
// real, the media data between them may not be read at all.
class HugeMovie : public ByteSource {
 public:
  HugeMovie() {
    tail_ = Box("moov", MovieHeader(1, kNoon));
    const std::uint64_t mdatSize = kSize - Ftyp("isom").size() - tail_.size();
    head_ = Cat({Ftyp("isom"), U32(1), Text("mdat"), U64(mdatSize)});
  }
  std::uint64_t Size() const override { return kSize; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override {
    bytesRead += length;
    const std::uint64_t tailStart = kSize - tail_.size();
    if (offset + length <= head_.size()) {
      std::memcpy(out, head_.data() + offset, length);
    } else if (offset >= tailStart && offset + length <= kSize) {
      std::memcpy(out, tail_.data() + (offset - tailStart), length);
    } else {
      ADD_FAILURE() << "read of " << length << " bytes at " << offset;
      return false;
    }
    return true;
  }
  static constexpr std::uint64_t kSize = 6ULL << 30;
  std::uint64_t bytesRead = 0;

 private:
  Bytes head_, tail_;
};

TEST(QuickTimeDay, MoovAfterGigabytesOfMediaDataIsReachedBySeeking) {
  HugeMovie movie;
  const MediaDay found = DayInsideBoxes(MediaKind::kQuickTime, movie, kLatest);
  EXPECT_EQ(found.source, DaySource::kQuickTimeUtc);
  EXPECT_EQ(found.day.month, 7);
  EXPECT_LT(movie.bytesRead, 256u);
}

// The same through a real file on disk (sparse where the file system allows), so the stream's
// seeks and size are 64-bit on every platform.
TEST(QuickTimeDay, FileOfSixGigabytesWithMoovAtTheEnd) {
  testfiles::TempFolder folder;
  const std::string path = folder / "long.mov";
  const std::filesystem::path native(std::u8string(path.begin(), path.end()));
  const Bytes moov = Box("moov", MovieHeader(1, kNoon));
  const std::uint64_t size = HugeMovie::kSize;
  const Bytes head = Cat({Ftyp("isom"), U32(1), Text("mdat"), U64(size - 20 - moov.size())});
  ASSERT_EQ(head.size(), 36u);
  ASSERT_TRUE(jpegbuilder::WriteBytes(path, head));
  std::error_code error;
  std::filesystem::resize_file(native, size - moov.size(), error);
  if (error) {
    GTEST_SKIP() << "cannot make a file of 6 GiB here: " << error.message();
  }
  {
    std::ofstream out(native, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(moov.data()),
              static_cast<std::streamsize>(moov.size()));
    ASSERT_TRUE(out.good());
  }
  ASSERT_EQ(std::filesystem::file_size(native), size);
  const MediaDay found = FindMediaDay(path);
  EXPECT_EQ(found.source, DaySource::kQuickTimeUtc);
  EXPECT_EQ(Yyyymmdd(found.day), 20190701);
}

TEST(HeifDay, ExifItemFoundThroughItemTables) {
  const Bytes little = ExifBlockWithDate("2021:03:14 10:15:00");
  const Bytes big = ExifBlockWithDate("2021:03:14 10:15:00", ByteOrder::kBig);
  auto heif = [&](HeifLayout layout) { return HeifWithExif(little, layout); };
  Bytes notFtyp = heif({});
  std::memcpy(notFtyp.data() + 4, "free", 4);
  // The item's offset field claims more bytes before the TIFF header than the item holds.
  Bytes offsetPastItem = heif({});
  const std::string exifMark("Exif\0\0", 6);
  const std::size_t mark =
      std::string(offsetPastItem.begin(), offsetPastItem.end()).rfind(exifMark);
  ASSERT_NE(mark, std::string::npos);
  offsetPastItem[mark - 2] = 0x10;
  Bytes cut = heif({});
  cut.resize(cut.size() - 20);
  ExpectDays(
      MediaKind::kHeif,
      {
          {"one extent, TIFF after Exif\\0\\0", heif({}), kHeic, 20210314},
          {"big-endian EXIF", HeifWithExif(big), kHeic, 20210314},
          {"TIFF offset 0", heif({.tiffOffset = 0}), kHeic, 20210314},
          {"TIFF offset 10", heif({.tiffOffset = 10}), kHeic, 20210314},
          {"three extents", heif({.extents = 3}), kHeic, 20210314},
          {"iloc version 1, item in idat", heif({.ilocVersion = 1, .inIdat = true}), kHeic,
           20210314},
          {"iloc version 2, 32-bit ids", heif({.ilocVersion = 2, .infeVersion = 3}), kHeic,
           20210314},
          {"no Exif item", heif({.withExifItem = false}), kNone, 0},
          {"first box is not ftyp", notFtyp, kNone, 0},
          {"item cut off by the file's end", cut, kNone, 0},
          {"TIFF offset past the item", offsetPastItem, kNone, 0},
          {"EXIF without a date", HeifWithExif(jpegbuilder::ExifBlockWithDate("")), kNone, 0},
          {"impossible date", HeifWithExif(ExifBlockWithDate("2021:13:01 10:00:00")), kNone, 0},
          {"a video's bytes", Movie({MovieHeader(0, kNoon)}), kNone, 0},
      });
}

TEST(MediaKind, ChosenByTheNamesEnding) {
  const struct {
    const char* name;
    MediaKind kind;
  } cases[] = {
      {"a.jpg", MediaKind::kJpeg},      {"a.JPEG", MediaKind::kJpeg},
      {"a.HEIC", MediaKind::kHeif},     {"a.heif", MediaKind::kHeif},
      {"a.avif", MediaKind::kHeif},     {"a.MP4", MediaKind::kQuickTime},
      {"a.mov", MediaKind::kQuickTime}, {"a.m4v", MediaKind::kQuickTime},
      {"a.3gp", MediaKind::kQuickTime}, {"a.avi", MediaKind::kOther},
      {"heic", MediaKind::kOther},      {"a.mp4.txt", MediaKind::kOther},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MediaKindOf(c.name), c.kind) << c.name;
  }
}

}  // namespace
