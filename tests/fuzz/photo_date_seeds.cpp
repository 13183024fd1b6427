// Writes the builder-made seeds of the photo date fuzz target into the folder given as its
// argument: well-formed photos in both byte orders and the awkward shapes the reader must
// survive (linked, looping and far-pointing directories, thumbnails, comments, cut-off files).
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "jpeg_builder.h"

namespace {

using namespace jpegbuilder;

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(std::min(size, bytes.size()));
  return bytes;
}

Bytes FullHead(ByteOrder order) {
  ExifBuilder exif(order);
  const int first = exif.AddDirectory();
  const int sub = exif.AddDirectory();
  const int interop = exif.AddDirectory();
  const int thumb = exif.AddDirectory();
  exif.AddAscii(first, kTagMake, "Maker");
  exif.AddAscii(first, kTagModel, "Model X");
  exif.AddShort(first, kTagOrientation, 6);
  exif.AddAscii(first, kTagDateTime, "2015:01:02 03:04:05");
  exif.AddLink(first, kTagExifIfd, sub);
  exif.SetNext(first, thumb);
  exif.AddAscii(sub, kTagDateTimeOriginal, "2014:12:31 23:59:59");
  exif.AddRational(sub, 0x829A, 1, 250);
  exif.AddRational(sub, 0x829D, 28, 10);
  exif.AddShort(sub, 0x8827, 200);
  exif.AddEntry(sub, 0x9286, kUndefined, 16,
                {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'e', 'l', 'l', 'o', 0, 0, 0});
  exif.AddLink(sub, kTagInteropIfd, interop);
  exif.AddAscii(interop, 0x0001, "R98");
  exif.AddLong(thumb, kTagThumbnailOffset, 0);
  exif.AddLong(thumb, kTagThumbnailLength, 4);
  return JpegBuilder()
      .Jfif()
      .Exif(exif.Build())
      .Comment("a comment")
      .QuantTable()
      .Frame(640, 480)
      .Scan(32)
      .Data();
}

Bytes LoopingDirectories() {
  ExifBuilder exif(ByteOrder::kBig);
  const int first = exif.AddDirectory();
  const int sub = exif.AddDirectory();
  exif.AddLink(first, kTagExifIfd, sub);
  exif.AddLink(sub, kTagInteropIfd, first);
  exif.SetNext(sub, first);
  exif.AddAscii(sub, kTagDateTimeOriginal, "2001:02:03 04:05:06");
  return JpegBuilder().Exif(exif.Build()).Frame(8, 8).Scan().Data();
}

Bytes FarOffsets() {
  ExifBuilder exif;
  const int first = exif.AddDirectory();
  exif.AddRawEntry(first, kTagDateTimeOriginal, kAscii, 20, 0xFFFFFFF0u);
  exif.AddRawEntry(first, kTagExifIfd, kLong, 1, 0x7FFFFFFFu);
  exif.AddRawEntry(first, kTagModel, kAscii, 0xFFFFFFFFu, 8);
  return JpegBuilder().Exif(exif.Build()).Scan().Data();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const Bytes little = PhotoWithDate("2012:05:17 10:20:30", ByteOrder::kLittle);
  const Bytes big = PhotoWithDate("2012:05:17 10:20:30", ByteOrder::kBig);
  const std::vector<std::pair<std::string, Bytes>> seeds = {
      {"little_endian.jpg", little},
      {"big_endian.jpg", big},
      {"no_exif.jpg", PhotoWithDate("")},
      {"full_head.jpg", FullHead(ByteOrder::kLittle)},
      {"full_head_big.jpg", FullHead(ByteOrder::kBig)},
      {"looping_directories.jpg", LoopingDirectories()},
      {"far_offsets.jpg", FarOffsets()},
      {"cut_in_exif.jpg", Cut(little, 40)},
      {"cut_in_length.jpg", Cut(big, 5)},
      {"fill_bytes.jpg", JpegBuilder()
                             .Raw({0xFF, 0xFF, 0xFF})
                             .Exif(ExifBlockWithDate("2010:10:10 10:10:10"))
                             .Scan()
                             .Data()},
      {"date_with_separators.jpg", PhotoWithDate("../../..:01 00:00:00")},
  };
  for (const auto& [name, bytes] : seeds) {
    if (!WriteBytes(std::string(argv[1]) + "/" + name, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", name.c_str());
      return 1;
    }
  }
  return 0;
}
