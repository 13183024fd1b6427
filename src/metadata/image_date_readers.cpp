#include "metadata/image_date_readers.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "metadata/iso_boxes.h"
#include "metadata/riff_chunks.h"
#include "metadata/tiff_date_reader.h"

namespace {

using isobox::BigEndian;
using isobox::FourCc;
using Bytes = std::vector<std::uint8_t>;

constexpr int kMaxPngChunks = 256;
// Some writers put their EXIF after the image data, just before the end: this much of a PNG's
// end is searched for such chunks.
constexpr std::uint64_t kPngTailBytes = 64 * 1024;
// A profile's directories lie in its first bytes (a thumbnail may follow them): this much of
// a text chunk is read, and this much of the EXIF block it holds is decoded.
constexpr std::uint64_t kMaxProfileChunkBytes = 256 * 1024;
constexpr std::size_t kMaxProfileBytes = 64 * 1024;
constexpr int kMaxPsdResources = 1024;

// The EXIF block (at most kMaxProfileBytes of it) that a profile text holds: "\nexif\n",
// the block's length in decimal, then its bytes as hex digits broken into lines.
bool DecodeProfileText(std::string_view text, Bytes* block) {
  std::size_t at = text.find_first_not_of(" \t\r\n");
  at = text.find_first_of(" \t\r\n", at);  // past the profile's name
  at = text.find_first_not_of(" \t\r\n", at);
  std::uint64_t length = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && length < (1u << 30); ++at) {
    length = length * 10 + static_cast<std::uint64_t>(text[at] - '0');
  }
  const auto digit = [](char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
  };
  block->clear();
  int high = -1;
  for (; at < text.size() && block->size() < length && block->size() < kMaxProfileBytes; ++at) {
    const int value = digit(text[at]);
    if (value < 0) {
      if (text[at] != '\n' && text[at] != '\r' && text[at] != ' ') {
        return false;
      }
    } else if (high < 0) {
      high = value;
    } else {
      block->push_back(static_cast<std::uint8_t>(high << 4 | value));
      high = -1;
    }
  }
  return !block->empty();
}

// The start of what zlib data inflates to, at most `limit` bytes.
bool Inflate(const std::uint8_t* data, std::size_t size, std::size_t limit, std::string* out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) {
    return false;
  }
  out->resize(limit);
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = reinterpret_cast<Bytef*>(out->data());
  stream.avail_out = static_cast<uInt>(limit);
  const int result = inflate(&stream, Z_SYNC_FLUSH);
  out->resize(limit - stream.avail_out);
  inflateEnd(&stream);
  return (result == Z_OK || result == Z_STREAM_END || result == Z_BUF_ERROR) && !out->empty();
}

// A text chunk (tEXt, zTXt or iTXt) held in memory: its profile's day, if it is a raw EXIF
// profile.
bool ProfileChunkDay(std::uint32_t type, const Bytes& chunk, platform::LocalDate* day) {
  const std::string_view all(reinterpret_cast<const char*>(chunk.data()), chunk.size());
  const std::size_t nul = all.find('\0');
  const std::string_view keyword = all.substr(0, nul);
  if (nul == std::string_view::npos ||
      (keyword != "Raw profile type exif" && keyword != "Raw profile type APP1")) {
    return false;
  }
  std::size_t at = nul + 1;
  bool compressed = false;
  if (type == FourCc("zTXt")) {
    compressed = true;
    ++at;  // the compression method
  } else if (type == FourCc("iTXt")) {
    compressed = at < all.size() && all[at] != 0;
    at += 2;                                                       // the flag and the method
    for (int field = 0; field < 2 && at <= all.size(); ++field) {  // language, translated keyword
      const std::size_t end = all.find('\0', at);
      at = end == std::string_view::npos ? all.size() + 1 : end + 1;
    }
  }
  if (at > all.size()) {
    return false;
  }
  std::string inflated;
  std::string_view text = all.substr(at);
  if (compressed) {
    // Two hex digits per byte, and room for the header and line breaks.
    if (!Inflate(chunk.data() + at, chunk.size() - at, kMaxProfileBytes * 2 + kMaxProfileBytes / 8,
                 &inflated)) {
      return false;
    }
    text = inflated;
  }
  Bytes block;
  return DecodeProfileText(text, &block) &&
         tiffdate::ReadExifBytesDay(block.data(), block.size(), day);
}

// The day of a TIFF block at `start`, or of one after "Exif\0\0" there.
bool ExifBlockDay(ByteSource& source, std::uint64_t start, std::uint64_t end,
                  platform::LocalDate* day) {
  std::uint8_t head[6];
  const bool prefixed =
      end - start >= 6 && source.ReadAt(start, head, 6) && std::memcmp(head, "Exif\0\0", 6) == 0;
  return tiffdate::ReadTiffDay(source, start + (prefixed ? 6 : 0), end, day);
}

// The day in an EXIF or text chunk held in memory.
bool PngChunkDay(std::uint32_t type, const std::uint8_t* data, std::size_t length,
                 platform::LocalDate* day) {
  if (type == FourCc("eXIf")) {
    return tiffdate::ReadExifBytesDay(data, length, day);
  }
  return (type == FourCc("tEXt") || type == FourCc("zTXt") || type == FourCc("iTXt")) &&
         ProfileChunkDay(type, Bytes(data, data + length), day);
}

// The chunks between the image data and the end, found in the file's last bytes by their
// types and confirmed by their CRCs.
bool PngTailDay(ByteSource& source, std::uint64_t imageData, platform::LocalDate* day) {
  const std::uint64_t size = source.Size();
  const std::uint64_t start = std::max(imageData, size - std::min(size, kPngTailBytes));
  Bytes tail(static_cast<std::size_t>(size - start));
  if (!source.ReadAt(start, tail.data(), tail.size())) {
    return false;
  }
  for (std::size_t at = 0; tail.size() - at >= 12; ++at) {
    const std::uint32_t type = static_cast<std::uint32_t>(BigEndian(tail.data() + at + 4, 4));
    const std::uint64_t length = BigEndian(tail.data() + at, 4);
    if ((type != FourCc("eXIf") && type != FourCc("tEXt") && type != FourCc("zTXt") &&
         type != FourCc("iTXt")) ||
        length > tail.size() - at - 12) {
      continue;
    }
    const std::uint8_t* typed = tail.data() + at + 4;
    const std::size_t bytes = static_cast<std::size_t>(length);
    if (crc32(0, typed, static_cast<uInt>(bytes + 4)) == BigEndian(typed + 4 + bytes, 4) &&
        PngChunkDay(type, typed + 4, bytes, day)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool ReadPngDay(ByteSource& source, platform::LocalDate* day) {
  std::uint8_t header[8];
  if (!source.ReadAt(0, header, 8) || std::memcmp(header, "\x89PNG\r\n\x1a\n", 8) != 0) {
    return false;
  }
  const std::uint64_t size = source.Size();
  std::uint64_t offset = 8;
  for (int i = 0; i < kMaxPngChunks && offset <= size && size - offset >= 12; ++i) {
    if (!source.ReadAt(offset, header, 8)) {
      return false;
    }
    const std::uint64_t length = BigEndian(header, 4);
    const std::uint32_t type = static_cast<std::uint32_t>(BigEndian(header + 4, 4));
    const std::uint64_t data = offset + 8;
    if (type == FourCc("IDAT")) {
      return PngTailDay(source, offset, day);
    }
    if (length > size - data || type == FourCc("IEND")) {
      return false;
    }
    if (type == FourCc("eXIf") && ExifBlockDay(source, data, data + length, day)) {
      return true;
    }
    if (type == FourCc("tEXt") || type == FourCc("zTXt") || type == FourCc("iTXt")) {
      Bytes chunk(static_cast<std::size_t>(std::min(length, kMaxProfileChunkBytes)));
      if (source.ReadAt(data, chunk.data(), chunk.size()) && ProfileChunkDay(type, chunk, day)) {
        return true;
      }
    }
    offset = data + length + 4;  // and the CRC
  }
  return false;
}

bool ReadWebpDay(ByteSource& source, platform::LocalDate* day) {
  riff::Chunk file;
  if (!riff::ReadChunk(source, 0, source.Size(), &file) || file.id != FourCc("RIFF") ||
      file.form != FourCc("WEBP")) {
    return false;
  }
  return riff::ForEachChunk(source, file.data, file.end, [&](const riff::Chunk& chunk) {
    return chunk.id == FourCc("EXIF") && ExifBlockDay(source, chunk.data, chunk.end, day);
  });
}

bool ReadJxlDay(ByteSource& source, platform::LocalDate* day) {
  static constexpr std::uint8_t kSignature[12] = {0,   0,   0,    12,   'J',  'X',
                                                  'L', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  std::uint8_t head[12];
  isobox::Box exif;
  if (!source.ReadAt(0, head, sizeof head) || std::memcmp(head, kSignature, sizeof head) != 0 ||
      !isobox::FindBox(source, sizeof head, source.Size(), FourCc("Exif"), &exif) ||
      exif.PayloadSize() < 4 || !source.ReadAt(exif.payload, head, 4)) {
    return false;
  }
  const std::uint64_t skip = BigEndian(head, 4);
  return skip <= exif.PayloadSize() - 4 &&
         tiffdate::ReadTiffDay(source, exif.payload + 4 + skip, exif.end, day);
}

bool ReadPsdDay(ByteSource& source, platform::LocalDate* day) {
  std::uint8_t bytes[30];
  const std::uint64_t size = source.Size();
  if (!source.ReadAt(0, bytes, 30) || std::memcmp(bytes, "8BPS", 4) != 0) {
    return false;
  }
  // The colour mode section's length, then the image resources section's.
  const std::uint64_t resourcesAt = 30 + BigEndian(bytes + 26, 4);
  if (resourcesAt > size - 4 || !source.ReadAt(resourcesAt, bytes, 4)) {
    return false;
  }
  const std::uint64_t end = resourcesAt + 4 + BigEndian(bytes, 4);
  if (end > size) {
    return false;
  }
  std::uint64_t offset = resourcesAt + 4;
  for (int i = 0; i < kMaxPsdResources && offset <= end && end - offset >= 12; ++i) {
    // Signature, id, a Pascal name padded to an even length, the data's size, the data.
    if (!source.ReadAt(offset, bytes, 7)) {
      return false;
    }
    const std::uint64_t id = BigEndian(bytes + 4, 2);
    const std::uint64_t nameBytes = (1 + std::uint64_t{bytes[6]} + 1) & ~std::uint64_t{1};
    const std::uint64_t sizeAt = offset + 6 + nameBytes;
    if (sizeAt > end - 4 || !source.ReadAt(sizeAt, bytes, 4)) {
      return false;
    }
    const std::uint64_t length = BigEndian(bytes, 4);
    const std::uint64_t data = sizeAt + 4;
    if (length > end - data) {
      return false;
    }
    if (id == 0x0422) {
      return tiffdate::ReadTiffDay(source, data, data + length, day);
    }
    offset = data + length + (length & 1);
  }
  return false;
}
