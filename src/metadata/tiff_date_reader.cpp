#include "metadata/tiff_date_reader.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "metadata/day_rules.h"

namespace tiffdate {
namespace {

constexpr std::uint16_t kTagExifDirectory = 0x8769;
constexpr std::uint16_t kTagTakenAt = 0x9003;
constexpr std::uint16_t kFormatAscii = 2;
constexpr std::uint16_t kFormatLong = 4;
constexpr std::uint16_t kFormatIfd = 13;
constexpr std::size_t kEntryBytes = 12;
// Raw files carry a few dozen entries per directory; a larger count is no directory of ours.
constexpr std::uint32_t kMaxEntries = 1024;
// IFD0 and the directories chained after it that are searched for the Exif pointer.
constexpr int kMaxChainedDirectories = 4;
constexpr int kMaxJpegSections = 64;

class Block {
 public:
  Block(ByteSource& source, std::uint64_t start, std::uint64_t end, bool bigEndian)
      : source_(source), start_(start), end_(end), bigEndian_(bigEndian) {}

  // `length` bytes at `offset` from the block's start, all inside the block.
  bool Read(std::uint64_t offset, void* out, std::size_t length) const {
    return offset <= end_ - start_ && length <= end_ - start_ - offset &&
           source_.ReadAt(start_ + offset, out, length);
  }
  std::uint32_t Number(const std::uint8_t* bytes, int count) const {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      value = (value << 8) | bytes[bigEndian_ ? i : count - 1 - i];
    }
    return value;
  }

 private:
  ByteSource& source_;
  std::uint64_t start_;
  std::uint64_t end_;
  bool bigEndian_;
};

struct DirectoryFinds {
  std::uint32_t exifOffset = 0;  // 0: no Exif pointer
  std::uint32_t next = 0;
  bool hasDay = false;
  platform::LocalDate day;
};

// The day of an ASCII entry's date text ("YYYY:MM:DD HH:MM:SS" and a NUL), whose value lies
// at an offset. All of it must be in the block, up to the 20 bytes of a date.
bool ReadDateValue(const Block& block, const std::uint8_t* entry, platform::LocalDate* day) {
  const std::uint32_t count = block.Number(entry + 4, 4);
  char text[20];
  const std::size_t length = count < sizeof text ? count : sizeof text;
  return block.Number(entry + 2, 2) == kFormatAscii && count >= 10 &&
         block.Read(block.Number(entry + 8, 4), text, length) &&
         dayrules::ParseDayText(std::string_view(text, length), day);
}

bool ReadDirectory(const Block& block, std::uint32_t offset, DirectoryFinds* finds) {
  std::uint8_t countBytes[2];
  if (!block.Read(offset, countBytes, 2)) {
    return false;
  }
  const std::uint32_t count = block.Number(countBytes, 2);
  if (count == 0 || count > kMaxEntries) {
    return false;
  }
  std::vector<std::uint8_t> entries(count * kEntryBytes + 4);
  if (!block.Read(offset + 2ULL, entries.data(), count * kEntryBytes)) {
    return false;
  }
  // A directory cut off after its entries has no next one.
  if (!block.Read(offset + 2ULL + count * kEntryBytes, entries.data() + count * kEntryBytes, 4)) {
    std::memset(entries.data() + count * kEntryBytes, 0, 4);
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = entries.data() + i * kEntryBytes;
    const std::uint32_t tag = block.Number(entry, 2);
    const std::uint32_t format = block.Number(entry + 2, 2);
    if (tag == kTagExifDirectory && (format == kFormatLong || format == kFormatIfd)) {
      finds->exifOffset = block.Number(entry + 8, 4);
    } else if (tag == kTagTakenAt && !finds->hasDay) {
      finds->hasDay = ReadDateValue(block, entry, &finds->day);
    }
  }
  finds->next = block.Number(entries.data() + count * kEntryBytes, 4);
  return true;
}

bool ReadDayFrom(const Block& block, std::uint32_t firstDirectory, platform::LocalDate* day) {
  DirectoryFinds first;
  std::uint32_t offset = firstDirectory;
  for (int i = 0; i < kMaxChainedDirectories && (i == 0 || offset != 0); ++i) {
    DirectoryFinds finds;
    if (!ReadDirectory(block, offset, &finds)) {
      break;
    }
    if (i == 0) {
      first = finds;
    }
    DirectoryFinds exif;
    if (finds.exifOffset != 0 && ReadDirectory(block, finds.exifOffset, &exif) && exif.hasDay) {
      *day = exif.day;
      return true;
    }
    if (finds.exifOffset != 0 || finds.next == offset) {
      break;
    }
    offset = finds.next;
  }
  if (first.hasDay) {
    *day = first.day;
  }
  return first.hasDay;
}

}  // namespace

bool ReadTiffDay(ByteSource& source, std::uint64_t start, std::uint64_t end,
                 platform::LocalDate* day) {
  std::uint8_t header[8];
  if (start > end || end - start < sizeof header || !source.ReadAt(start, header, sizeof header)) {
    return false;
  }
  bool bigEndian;
  if (std::memcmp(header, "II", 2) == 0) {
    bigEndian = false;
  } else if (std::memcmp(header, "MM", 2) == 0) {
    bigEndian = true;
  } else {
    return false;
  }
  const Block block(source, start, end, bigEndian);
  const std::uint32_t magic = block.Number(header + 2, 2);
  if (magic != 42 && magic != 0x55 && magic != 0x4F52 && magic != 0x5352) {
    return false;
  }
  const std::uint32_t first = block.Number(header + 4, 4);
  return first >= sizeof header && ReadDayFrom(block, first, day);
}

bool ReadDirectoryDay(ByteSource& source, std::uint64_t start, std::uint64_t end, bool bigEndian,
                      std::uint32_t ifdOffset, platform::LocalDate* day) {
  return start <= end && ReadDayFrom(Block(source, start, end, bigEndian), ifdOffset, day);
}

bool ReadJpegDay(ByteSource& source, std::uint64_t start, std::uint64_t end,
                 platform::LocalDate* day) {
  std::uint8_t head[10];
  if (start > end || end - start < 2 || !source.ReadAt(start, head, 2) || head[0] != 0xFF ||
      head[1] != 0xD8) {
    return false;
  }
  std::uint64_t offset = start + 2;
  for (int i = 0; i < kMaxJpegSections && end - offset >= 4; ++i) {
    if (!source.ReadAt(offset, head, 4) || head[0] != 0xFF) {
      return false;
    }
    const int marker = head[1];
    if (marker == 0xFF) {  // a fill byte before the marker
      ++offset;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) {
      return false;  // the image data begins: no EXIF block before it
    }
    const std::uint64_t length = (std::uint64_t{head[2]} << 8) | head[3];
    if (length < 2 || length > end - offset - 2) {
      return false;
    }
    const std::uint64_t payload = offset + 4;
    if (marker == 0xE1 && length >= 16 && source.ReadAt(payload, head, 6) &&
        std::memcmp(head, "Exif\0\0", 6) == 0 &&
        ReadTiffDay(source, payload + 6, offset + 2 + length, day)) {
      return true;
    }
    offset += 2 + length;
  }
  return false;
}

bool ReadExifBytesDay(const std::uint8_t* bytes, std::size_t size, platform::LocalDate* day) {
  MemorySource source(bytes, size);
  const std::size_t skip = size >= 6 && std::memcmp(bytes, "Exif\0\0", 6) == 0 ? 6 : 0;
  return ReadTiffDay(source, skip, size, day);
}

}  // namespace tiffdate
