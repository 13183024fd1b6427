// Builds JPEG files and EXIF (TIFF layout) blocks byte by byte, so that each test states the
// exact bytes it feeds the reader. Also makes the demo album and the benchmark trees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jpegbuilder {

using Bytes = std::vector<std::uint8_t>;

enum class ByteOrder { kLittle, kBig };

// TIFF format codes.
enum Format : std::uint16_t {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
  kSignedByte = 6,
  kUndefined = 7,
  kSignedShort = 8,
  kSignedLong = 9,
  kSignedRational = 10,
  kFloat = 11,
  kDouble = 12,
};

// Well-known tags.
enum Tag : std::uint16_t {
  kTagMake = 0x010F,
  kTagModel = 0x0110,
  kTagOrientation = 0x0112,
  kTagDateTime = 0x0132,
  kTagThumbnailOffset = 0x0201,
  kTagThumbnailLength = 0x0202,
  kTagExifIfd = 0x8769,
  kTagInteropIfd = 0xA005,
  kTagDateTimeOriginal = 0x9003,
  kTagDateTimeDigitized = 0x9004,
};

// An EXIF block made of directories. Directory 0 is the first directory; the block lays the
// directories out one after another, each followed by its values that do not fit in four
// bytes, and fills in every offset.
class ExifBuilder {
 public:
  explicit ExifBuilder(ByteOrder order = ByteOrder::kLittle);

  // Adds an empty directory and returns its index (the first call returns 0).
  int AddDirectory();

  // An entry whose value bytes are given in the block's byte order; `count` is stored as is.
  void AddEntry(int dir, std::uint16_t tag, std::uint16_t format, std::uint32_t count,
                const Bytes& value);
  // An entry whose four value/offset bytes are stored exactly as `raw` (in block order).
  void AddRawEntry(int dir, std::uint16_t tag, std::uint16_t format, std::uint32_t count,
                   std::uint32_t raw);
  void AddAscii(int dir, std::uint16_t tag, const std::string& text);  // count includes NUL
  void AddShort(int dir, std::uint16_t tag, std::uint16_t value);
  void AddLong(int dir, std::uint16_t tag, std::uint32_t value);
  void AddRational(int dir, std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator);
  // A LONG entry holding the offset of directory `child` (tags 0x8769, 0xA005).
  void AddLink(int dir, std::uint16_t tag, int child);
  // The next-directory offset of `dir` points to directory `next` (cycles allowed).
  void SetNext(int dir, int next);
  // Offset of the first directory; default 8. Bytes between the header and it are zero.
  void SetFirstDirectoryOffset(std::uint32_t offset);

  // The TIFF block: byte-order mark, 42, first offset, directories.
  Bytes Build() const;
  // Offset of directory `dir` in the block that Build() returns.
  std::uint32_t DirectoryOffset(int dir) const;

  // Numbers in this block's byte order.
  Bytes U16(std::uint16_t value) const;
  Bytes U32(std::uint32_t value) const;

 private:
  struct Entry {
    std::uint16_t tag, format;
    std::uint32_t count;
    Bytes value;        // stored inline when at most 4 bytes, else out of line
    std::uint32_t raw;  // used when isRaw
    bool isRaw;
    int linkTo;  // directory index, or -1
  };
  struct Directory {
    std::vector<Entry> entries;
    int next = -1;
  };
  std::uint32_t DirectorySize(const Directory& d) const;  // entries + out-of-line values

  ByteOrder order_;
  std::uint32_t firstOffset_ = 8;
  std::vector<Directory> dirs_;
};

// A block whose first directory links (0x8769) to an EXIF sub-directory holding the date of
// capture, e.g. "2012:05:17 10:20:30".
Bytes ExifBlockWithDate(const std::string& takenAt, ByteOrder order = ByteOrder::kLittle);

// A JPEG file, section by section.
class JpegBuilder {
 public:
  JpegBuilder();  // starts with FF D8

  // FF, marker, two big-endian length bytes (payload + 2), payload.
  JpegBuilder& Section(std::uint8_t marker, const Bytes& payload);
  // APP1 with "Exif\0\0" and the block.
  JpegBuilder& Exif(const Bytes& block);
  // APP0 JFIF header.
  JpegBuilder& Jfif();
  // Comment section.
  JpegBuilder& Comment(const std::string& text);
  // Baseline start of frame (0xC0) with `components` components.
  JpegBuilder& Frame(std::uint16_t width, std::uint16_t height, std::uint8_t components = 3);
  // A quantisation table section (0xDB), an ordinary section that stays held.
  JpegBuilder& QuantTable();
  // Start of scan, `dataBytes` of entropy-coded filler, then FF D9.
  JpegBuilder& Scan(std::size_t dataBytes = 16);
  // Bytes appended unchanged.
  JpegBuilder& Raw(const Bytes& bytes);

  const Bytes& Data() const { return data_; }

 private:
  Bytes data_;
};

// A small complete photo: JFIF, EXIF with the date (if not empty), tables, frame, scan of
// `dataBytes`.
Bytes PhotoWithDate(const std::string& takenAt, ByteOrder order = ByteOrder::kLittle,
                    std::size_t dataBytes = 64);

// Writes bytes to a file (created or truncated). False on any failure.
bool WriteBytes(const std::string& path, const Bytes& bytes);

}  // namespace jpegbuilder
