// The date readers of raw photos, other still images and camera videos on files built in
// code: per format the date found, no date, a cut file, a size that points past the end and
// a near-miss that must not be taken as a date. The builders' layouts are exiftool's reading
// (tools/check_builders.sh).
#include <gtest/gtest.h>

#include <cstring>

#include "box_builder.h"
#include "camera_builder.h"
#include "metadata/video_date_readers.h"
#include "metadata_test_support.h"

namespace {

using namespace camerabuilder;
using boxbuilder::Cat;
using boxbuilder::Text;
using boxbuilder::U32;
using metatest::ExpectDays;

constexpr char kTaken[] = "2015:06:07 10:20:30";
constexpr std::uint32_t kSeconds = 1433672430;  // 2015-06-07 10:20:30 as if UTC
const std::string kRaw = "RAW EXIF 2015-06-07";

Bytes Cut(Bytes bytes, std::size_t keep) {
  bytes.resize(keep);
  return bytes;
}
// Where `text` first stands in `bytes`.
std::size_t Find(const Bytes& bytes, const std::string& text) {
  const auto at =
      std::search(bytes.begin(), bytes.end(), text.begin(), text.end(),
                  [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
  EXPECT_NE(at, bytes.end()) << text;
  return static_cast<std::size_t>(at - bytes.begin());
}
// `bytes` with `part` written over them at `at` (negative: from the end).
Bytes Put(Bytes bytes, std::ptrdiff_t at, const Bytes& part) {
  const std::size_t from = at < 0 ? bytes.size() + at : static_cast<std::size_t>(at);
  std::copy(part.begin(), part.end(), bytes.begin() + static_cast<std::ptrdiff_t>(from));
  return bytes;
}
Bytes Tiff(const std::string& takenAt = kTaken) {
  return RawTiff("II*\0", takenAt);
}
Bytes Exif(const std::string& takenAt = kTaken) {
  return Cat({Text(std::string("Exif\0\0", 6)), Tiff(takenAt)});
}

TEST(CameraDay, RawPhotosLaidOutAsTiff) {
  const Bytes tiff = Tiff();
  const std::size_t exifLink = Find(tiff, "\x69\x87");
  // A date only in 0x9004 (digitized), and an Exif directory reached through IFD1.
  jpegbuilder::ExifBuilder digitized;
  jpegbuilder::ExifBuilder chained;
  for (int dir = 0; dir < 3; ++dir) {
    digitized.AddDirectory();
    chained.AddDirectory();
  }
  digitized.AddLink(0, jpegbuilder::kTagExifIfd, 1);
  digitized.AddAscii(1, jpegbuilder::kTagDateTimeDigitized, kTaken);
  jpegbuilder::ExifBuilder both;  // IFD0's own date gives way to the Exif directory's
  both.AddDirectory();
  both.AddDirectory();
  both.AddAscii(0, jpegbuilder::kTagDateTimeOriginal, "2014:01:01 10:00:00");
  both.AddLink(0, jpegbuilder::kTagExifIfd, 1);
  both.AddAscii(1, jpegbuilder::kTagDateTimeOriginal, kTaken);
  chained.SetNext(0, 1);
  chained.AddAscii(0, jpegbuilder::kTagMake, "Tallowick");
  chained.AddLink(1, jpegbuilder::kTagExifIfd, 2);
  chained.AddAscii(2, jpegbuilder::kTagDateTimeOriginal, kTaken);
  ExpectDays(MediaKind::kTiffRaw,
             {
                 {tiff, kRaw},
                 {RawTiff("MM\0*", kTaken), kRaw},
                 {RawTiff("IIRO", kTaken), kRaw},
                 {RawTiff("IIRS", kTaken), kRaw},
                 {RawTiff("MMOR", kTaken), kRaw},
                 {RawTiff("IIU\0", kTaken, false, Bytes(16, 0x88)), kRaw},
                 {RawTiff("II*\0", kTaken, false, {'C', 'R', 2, 0, 0, 0, 0, 0}), kRaw},
                 {RawTiff("MM\0*", kTaken, true), kRaw},
                 {chained.Build(), kRaw},
                 {both.Build(), kRaw},
                 {Tiff(""), "none"},
                 {Cut(tiff, tiff.size() - 8), "none"},
                 {Put(tiff, 8, {0xFF, 0xFF}), "none"},
                 {Put(tiff, static_cast<std::ptrdiff_t>(exifLink + 8), U32(0xFFFFFF00)), "none"},
                 {RawTiff("II+\0", kTaken), "none"},
                 {digitized.Build(), "none"},
                 {Tiff("2015:13:07 10:20:30"), "none"},
             });
  ExpectDays(MediaKind::kTiff, {{tiff, "TIFF EXIF 2015-06-07"}});
}

TEST(CameraDay, RawPhotosInOtherContainers) {
  const Bytes cr3 = Cr3(TiffWithDateInFirstDirectory(kTaken));
  const Bytes raf = Raf(PreviewWithDate(kTaken));
  const Bytes mrw = Mrw(RawTiff("MM\0*", kTaken));
  const Bytes crw = Crw(kSeconds);
  const Bytes x3f = X3f(PreviewWithDate(kTaken), "");
  Bytes otherUuid = cr3;
  otherUuid[Find(cr3, "uuid") + 4] ^= 1;
  // The CRW heap's last entry (ImageProps) claims a size past the end.
  const std::size_t crwDirectory = 26 + (crw[crw.size() - 4] | crw[crw.size() - 3] << 8);
  ExpectDays(
      MediaKind::kCr3,
      {
          {cr3, kRaw},
          {Cr3(TiffWithDateInFirstDirectory("")), "none"},
          {Cut(cr3, Find(cr3, "CMT2") + 20), "none"},
          {Put(cr3, static_cast<std::ptrdiff_t>(Find(cr3, "uuid") - 4), U32(0x7FFFFFFF)), "none"},
          {otherUuid, "none"},
          {Put(cr3, 8, Text("isom")), "none"},
      });
  ExpectDays(MediaKind::kRaf, {
                                  {raf, kRaw},
                                  {Raf(PreviewWithDate("")), "none"},
                                  {Cut(raf, 148 + 30), "none"},
                                  {Put(raf, 88, U32(0x10000000)), "none"},
                                  {Put(raf, 15, Text("X")), "none"},
                              });
  ExpectDays(
      MediaKind::kMrw,
      {
          {mrw, kRaw},
          {Mrw(RawTiff("MM\0*", "")), "none"},
          {Cut(mrw, mrw.size() - 10), "none"},
          {Put(mrw, static_cast<std::ptrdiff_t>(Find(mrw, "TTW") + 3), U32(0x7FFFFFFF)), "none"},
          {Put(mrw, 3, Text("I")), "none"},
      });
  ExpectDays(
      MediaKind::kCrw,
      {
          {crw, kRaw},
          {Crw(kSeconds, 0, true), kRaw},
          {Crw(0), "none"},  // 1970: the camera's clock was not set
          {Cut(crw, crw.size() - 4), "none"},
          {Put(crw, static_cast<std::ptrdiff_t>(crwDirectory + 14), {0xFF, 0xFF, 0xFF, 0x7F}),
           "none"},
          {Put(crw, 13, Text("X")), "none"},
      });
  ExpectDays(MediaKind::kX3f, {
                                  {x3f, kRaw},
                                  {X3f({}, std::to_string(kSeconds)), kRaw},
                                  {X3f({}, ""), "none"},
                                  {Cut(x3f, x3f.size() - 4), "none"},
                                  {Put(x3f, -4, U32(0xFFFFFF7F)), "none"},
                                  {X3f({}, "14336724x0"), "none"},
                              });
}

TEST(CameraDay, PngWebpJpegXlAndPsd) {
  const Bytes png = Png({PngChunk("eXIf", Tiff())});
  const std::string png_ = "PNG EXIF 2015-06-07";
  const Bytes iptc = PngChunk(
      "tEXt", Cat({Text("Raw profile type iptc"), Bytes{0}, Text(RawProfileText(Exif()))}));
  ExpectDays(MediaKind::kPng,
             {
                 {png, png_},
                 {Png({PngProfileChunk("zTXt", Tiff())}), png_},
                 {Png({PngProfileChunk("tEXt", Tiff())}), png_},
                 {Png({PngProfileChunk("iTXt", Tiff(), true)}), png_},
                 {Png({PngProfileChunk("iTXt", Tiff(), false)}), png_},
                 {Png({}, 0, {PngChunk("eXIf", Tiff())}), png_},
                 {Png({}, 0, {PngProfileChunk("zTXt", Tiff())}), png_},
                 {Put(Png({}, 0, {PngChunk("eXIf", Tiff())}), -13, {0}), "none"},  // its CRC broken
                 {Png({}), "none"},
                 {Cut(png, 33 + 30), "none"},
                 {Put(png, 33, U32(0x7FFFFFFF)), "none"},
                 {Png({iptc}), "none"},
             });
  const Bytes webp = Webp(Tiff());
  ExpectDays(MediaKind::kWebp, {
                                   {webp, "WebP EXIF 2015-06-07"},
                                   {Webp(Exif()), "WebP EXIF 2015-06-07"},
                                   {Webp({}), "none"},
                                   {Cut(webp, webp.size() - 8), "none"},
                                   // A RIFF size past the end is cut to the file.
                                   {Put(webp, 4, {0xF0, 0xFF, 0xFF, 0xFF}), "WebP EXIF 2015-06-07"},
                                   {Webp(Text("<x:xmpmeta/>")), "none"},
                               });
  const Bytes jxl = Jxl(Tiff());
  ExpectDays(
      MediaKind::kJxl,
      {
          {jxl, "JXL EXIF 2015-06-07"},
          {Jxl(Tiff("")), "none"},
          {Cut(jxl, jxl.size() - 10), "none"},
          {Put(jxl, static_cast<std::ptrdiff_t>(Find(jxl, "Exif") + 4), U32(0x7FFFFFFF)), "none"},
          {Bytes{0xFF, 0x0A, 0xFA, 0x1F}, "none"},
      });
  const Bytes psd = Psd(Tiff());
  const std::size_t exifResource = Find(psd, "8BIM\x04\x22");
  ExpectDays(MediaKind::kPsd,
             {
                 {psd, "PSD EXIF 2015-06-07"},
                 {Psd({}), "none"},
                 {Cut(psd, exifResource + 30), "none"},
                 {Put(psd, static_cast<std::ptrdiff_t>(exifResource + 8), U32(0x7FFFFFFF)), "none"},
                 {Put(psd, static_cast<std::ptrdiff_t>(exifResource + 5), {0x21}), "none"},
             });
}

TEST(CameraDay, AviAvchdAndMatroska) {
  const Bytes avi = Avi({.idit = "SUN JUN 07 10:20:30 2015"});
  ExpectDays(
      MediaKind::kAvi,
      {
          {avi, "AVI IDIT 2015-06-07"},
          {Avi({.idit = kTaken}), "AVI IDIT 2015-06-07"},
          {Avi({.streamTakenAt = kTaken}), "AVI EXIF 2015-06-07"},
          {Avi({.nikonTakenAt = kTaken}), "AVI EXIF 2015-06-07"},
          {Avi({.idit = kTaken, .streamTakenAt = "2016:01:01 10:00:00"}), "AVI IDIT 2015-06-07"},
          {Avi({}), "none"},
          {Cut(avi, Find(avi, "IDIT") + 12), "none"},
          {Put(avi, 4, {0xF0, 0xFF, 0xFF, 0xFF}), "AVI IDIT 2015-06-07"},  // cut to the file
          {Avi({.idit = "SUN JUX 07 10:20:30 2015"}), "none"},
      });
  const Bytes mts = TransportStream(MdpmSei(2015, 6, 7));
  Bytes otherUuid = mts;
  otherUuid[Find(mts, "MDPM") - 16] ^= 1;
  ExpectDays(MediaKind::kAvchd,
             {
                 {mts, "AVCHD 2015-06-07"},
                 {TransportStream(MdpmSei(2015, 6, 7), 188), "AVCHD 2015-06-07"},
                 {TransportStream({}), "none"},
                 {Cut(mts, Find(mts, "MDPM") + 6), "none"},
                 // The PES header claims more bytes than the packet holds.
                 {Put(mts, static_cast<std::ptrdiff_t>(Find(mts, std::string("\0\0\1\xE0", 4)) + 8),
                      {0xFF}),
                  "none"},
                 {otherUuid, "none"},
             });
  const Bytes mkv = Matroska(MatroskaTime(2015, 6, 7, 12));
  const std::size_t segment = Find(mkv, "\x18\x53\x80\x67");
  ExpectDays(
      MediaKind::kMatroska,
      {
          {mkv, "Matroska UTC 2015-06-07"},
          {Matroska(0, false), "none"},
          {Cut(mkv, segment + 20), "none"},
          {Put(mkv, static_cast<std::ptrdiff_t>(segment + 5), {0x7F, 0xFF, 0xFF}), "none"},
          {Put(mkv, static_cast<std::ptrdiff_t>(Find(mkv, "\x44\x61\x88") + 1), {0x62}), "none"},
      });
}

TEST(CameraDay, AviDateTexts) {
  std::string days;
  for (const char* text :
       {"SUN MAR 10 15:04:43 2003\n", "mon mar 10 15:04:43 2003", "2003:03:10 15:04:43",
        "2005/11/28/ 09:19", "2001/ 1/27  1:42PM", "  2002-12-16  15:35:01", "03/10/2003",
        "SUN MARCH 10 2003 x", "SUN MAR 10 15:04:43 03", ""}) {
    platform::LocalDate day;
    days += ParseAviDateText(text, &day)
                ? std::to_string(day.year * 10000 + day.month * 100 + day.day) + " "
                : "- ";
  }
  EXPECT_EQ(days, "20030310 20030310 20030310 20051128 20010127 20021216 - - - - ");
}

// A file of `size` bytes whose metadata is real and whose image or media data reads as zeros;
// counts the bytes asked for.
class CountingSource : public ByteSource {
 public:
  explicit CountingSource(const Bytes& bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override {
    read += length;
    return MemorySource(bytes_.data(), bytes_.size()).ReadAt(offset, out, length);
  }
  std::uint64_t read = 0;

 private:
  const Bytes& bytes_;
};

TEST(CameraDay, LargeFilesCostAFewKilobytesOfReads) {
  constexpr std::size_t kBig = 8 << 20;
  const std::pair<MediaKind, Bytes> files[] = {
      {MediaKind::kTiffRaw, RawTiff("II*\0", kTaken, false, {}, kBig)},
      {MediaKind::kCr3, Cr3(TiffWithDateInFirstDirectory(kTaken), kBig)},
      {MediaKind::kRaf, Raf(PreviewWithDate(kTaken), kBig)},
      {MediaKind::kMrw, Mrw(Tiff(), kBig)},
      {MediaKind::kCrw, Crw(kSeconds, kBig)},
      {MediaKind::kX3f, X3f(PreviewWithDate(kTaken), "", kBig)},
      {MediaKind::kPng, Png({PngChunk("eXIf", Tiff())}, kBig)},
      {MediaKind::kPng, Png({}, kBig, {PngChunk("eXIf", Tiff())})},
      {MediaKind::kWebp, Webp(Tiff(), kBig)},
      {MediaKind::kJxl, Jxl(Tiff(), kBig)},
      {MediaKind::kPsd, Psd(Tiff(), kBig)},
      {MediaKind::kAvi, Avi({.idit = kTaken, .movieBytes = kBig})},
      {MediaKind::kAvchd, TransportStream(MdpmSei(2015, 6, 7), 192, kBig)},
      {MediaKind::kMatroska, Matroska(MatroskaTime(2015, 6, 7, 12), true, kBig)},
  };
  for (const auto& [kind, bytes] : files) {
    CountingSource source(bytes);
    EXPECT_NE(DayInsideFile(kind, source, {2030, 1, 1}).source, DaySource::kNone)
        << static_cast<int>(kind);
    EXPECT_LT(source.read, 16u * 1024) << static_cast<int>(kind);
  }
}

}  // namespace

namespace {

TEST(CameraDay, AviWithoutADateTakesTheThmBesideIt) {
  testfiles::TempFolder folder;
  const auto write = [&](const char* name, const Bytes& bytes) {
    EXPECT_TRUE(jpegbuilder::WriteBytes(folder / name, bytes));
    return folder / name;
  };
  write("MVI_1.THM", jpegbuilder::PhotoWithDate(kTaken));
  write("MVI_2.thm", jpegbuilder::PhotoWithDate(kTaken));
  write("MVI_3.THM", jpegbuilder::PhotoWithDate("2016:01:01 10:00:00"));
  EXPECT_EQ(metatest::DayText(FindMediaDay(write("MVI_1.AVI", Avi({})))), "THM EXIF 2015-06-07");
  EXPECT_EQ(metatest::DayText(FindMediaDay(write("MVI_2.AVI", Avi({})))), "THM EXIF 2015-06-07");
  EXPECT_EQ(metatest::DayText(FindMediaDay(write("MVI_3.AVI", Avi({.idit = kTaken})))),
            "AVI IDIT 2015-06-07");
  EXPECT_EQ(metatest::DayText(FindMediaDay(write("MVI_4.AVI", Avi({})))), "none");
  EXPECT_EQ(metatest::DayText(FindContentDay(folder / "MVI_1.AVI")), "none");
}

}  // namespace
