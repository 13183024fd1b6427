#include "metadata/raw_date_readers.h"

#include <cstring>
#include <vector>

#include "metadata/day_rules.h"
#include "metadata/iso_boxes.h"
#include "metadata/tiff_date_reader.h"

namespace {

using isobox::BigEndian;
using isobox::Box;
using isobox::FourCc;

std::uint64_t LittleEndian(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

// True when `length` bytes from `offset` lie inside a source of `size` bytes.
bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

constexpr std::uint8_t kCanonUuid[16] = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                         0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};

// The day in the CMT2 block of Canon's uuid box, else in its CMT1 block.
bool ReadCanonUuidDay(ByteSource& source, const Box& uuid, platform::LocalDate* day) {
  const std::uint64_t children = uuid.payload + sizeof kCanonUuid;
  Box block;
  for (const std::uint32_t type : {FourCc("CMT2"), FourCc("CMT1")}) {
    if (isobox::FindBox(source, children, uuid.end, type, &block) &&
        tiffdate::ReadTiffDay(source, block.payload, block.end, day)) {
      return true;
    }
  }
  return false;
}

// CRW heaps nest a few levels; a deeper one, or more of them, is no camera's.
constexpr int kMaxHeapDepth = 6;
constexpr int kMaxHeaps = 64;
constexpr std::uint32_t kMaxHeapEntries = 1024;
constexpr std::uint32_t kCrwCaptureTime = 0x180E;

class CrwHeaps {
 public:
  CrwHeaps(ByteSource& source, bool bigEndian) : source_(source), bigEndian_(bigEndian) {}

  // The heap in [start, end): its last four bytes give where its directory starts.
  bool FindDay(std::uint64_t start, std::uint64_t end, int depth, platform::LocalDate* day) {
    std::uint8_t bytes[10];
    if (depth > kMaxHeapDepth || ++heaps_ > kMaxHeaps || end - start < 6 ||
        !source_.ReadAt(end - 4, bytes, 4)) {
      return false;
    }
    const std::uint64_t directory = start + Number(bytes, 4);
    if (!Inside(directory, 2, end) || !source_.ReadAt(directory, bytes, 2)) {
      return false;
    }
    const std::uint64_t count = Number(bytes, 2);
    if (count > kMaxHeapEntries || !Inside(directory + 2, count * 10, end)) {
      return false;
    }
    std::vector<std::uint8_t> entries(count * 10);
    if (!source_.ReadAt(directory + 2, entries.data(), entries.size())) {
      return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint8_t* entry = entries.data() + i * 10;
      const std::uint32_t tag = static_cast<std::uint32_t>(Number(entry, 2));
      const std::uint64_t size = Number(entry + 2, 4);
      const std::uint64_t offset = start + Number(entry + 6, 4);
      const bool inEntry = (tag & 0x4000) != 0;
      const std::uint32_t type = (tag >> 8) & 0x38;
      std::uint8_t seconds[4];
      if ((tag & 0x3FFF) == kCrwCaptureTime) {
        const bool read =
            inEntry ? (std::memcpy(seconds, entry + 2, 4), true)
                    : size >= 4 && Inside(offset, 4, end) && source_.ReadAt(offset, seconds, 4);
        if (read &&
            dayrules::DayOfWallClockSeconds(static_cast<std::int64_t>(Number(seconds, 4)), day)) {
          return true;
        }
      } else if ((type == 0x28 || type == 0x30) && !inEntry && Inside(offset, size, end) &&
                 FindDay(offset, offset + size, depth + 1, day)) {
        return true;
      }
    }
    return false;
  }

 private:
  std::uint64_t Number(const std::uint8_t* bytes, int count) const {
    return bigEndian_ ? BigEndian(bytes, count) : LittleEndian(bytes, count);
  }

  ByteSource& source_;
  bool bigEndian_;
  int heaps_ = 0;
};

// X3F sections and properties.
constexpr std::uint32_t kMaxX3fSections = 64;
constexpr std::uint64_t kMaxPropertyBytes = 256 * 1024;
constexpr std::uint8_t kJpegImageHeader[16] = {'S', 'E', 'C', 'i', 0,  0, 2, 0,
                                               2,   0,   0,   0,   18, 0, 0, 0};
constexpr std::size_t kImageHeaderBytes = 28;

// The value of the property "TIME" in a property list "SECp" held in memory: UTF-16 texts.
bool X3fTimeProperty(const std::vector<std::uint8_t>& list, platform::LocalDate* day) {
  if (list.size() < 24 || std::memcmp(list.data(), "SECp", 4) != 0 ||
      LittleEndian(list.data() + 12, 4) != 0) {
    return false;
  }
  const std::uint64_t entries = LittleEndian(list.data() + 8, 4);
  const std::uint64_t chars = LittleEndian(list.data() + 20, 4);
  if (entries > list.size() / 8 || chars > list.size() / 2 ||
      24 + entries * 8 + chars * 2 > list.size()) {
    return false;
  }
  const std::uint8_t* text = list.data() + 24 + entries * 8;
  // The UTF-16 text starting at character `at`, in ASCII; false past the end or when long.
  const auto textAt = [&](std::uint64_t at, std::string* out) {
    out->clear();
    for (; at < chars && out->size() < 32; ++at) {
      const std::uint64_t c = LittleEndian(text + at * 2, 2);
      if (c == 0) {
        return true;
      }
      out->push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    return false;
  };
  std::string name;
  std::string value;
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint8_t* entry = list.data() + 24 + i * 8;
    if (!textAt(LittleEndian(entry, 4), &name) || name != "TIME" ||
        !textAt(LittleEndian(entry + 4, 4), &value) || value.empty() || value.size() > 12 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    return dayrules::DayOfWallClockSeconds(std::stoll(value), day);
  }
  return false;
}

}  // namespace

bool ReadCr3Day(ByteSource& source, platform::LocalDate* day) {
  const std::uint64_t size = source.Size();
  Box ftyp;
  Box moov;
  std::uint8_t brand[4];
  if (!isobox::ReadBox(source, 0, size, &ftyp) || ftyp.type != FourCc("ftyp") ||
      ftyp.PayloadSize() < 4 || !source.ReadAt(ftyp.payload, brand, 4) ||
      std::memcmp(brand, "crx ", 4) != 0 ||
      !isobox::FindBox(source, ftyp.end, size, FourCc("moov"), &moov)) {
    return false;
  }
  std::uint64_t offset = moov.payload;
  for (int i = 0; i < isobox::kMaxBoxesPerLevel; ++i) {
    Box box;
    if (!isobox::FindBox(source, offset, moov.end, FourCc("uuid"), &box)) {
      return false;
    }
    std::uint8_t userType[sizeof kCanonUuid];
    if (box.PayloadSize() >= sizeof userType &&
        source.ReadAt(box.payload, userType, sizeof userType) &&
        std::memcmp(userType, kCanonUuid, sizeof userType) == 0) {
      return ReadCanonUuidDay(source, box, day);
    }
    offset = box.end;
  }
  return false;
}

bool ReadRafDay(ByteSource& source, platform::LocalDate* day) {
  std::uint8_t header[92];
  if (!source.ReadAt(0, header, sizeof header) ||
      std::memcmp(header, "FUJIFILMCCD-RAW ", 16) != 0) {
    return false;
  }
  const std::uint64_t offset = BigEndian(header + 84, 4);
  const std::uint64_t length = BigEndian(header + 88, 4);
  return Inside(offset, length, source.Size()) &&
         tiffdate::ReadJpegDay(source, offset, offset + length, day);
}

bool ReadMrwDay(ByteSource& source, platform::LocalDate* day) {
  std::uint8_t header[8];
  if (!source.ReadAt(0, header, sizeof header) || std::memcmp(header, "\0MRM", 4) != 0) {
    return false;
  }
  const std::uint64_t end = 8 + BigEndian(header + 4, 4);
  if (end > source.Size()) {
    return false;
  }
  std::uint64_t offset = 8;
  for (int i = 0; i < 32 && Inside(offset, 8, end); ++i) {
    if (!source.ReadAt(offset, header, sizeof header)) {
      return false;
    }
    const std::uint64_t length = BigEndian(header + 4, 4);
    if (!Inside(offset + 8, length, end)) {
      return false;
    }
    if (std::memcmp(header, "\0TTW", 4) == 0) {
      return tiffdate::ReadTiffDay(source, offset + 8, offset + 8 + length, day);
    }
    offset += 8 + length;
  }
  return false;
}

bool ReadCrwDay(ByteSource& source, platform::LocalDate* day) {
  std::uint8_t header[14];
  if (!source.ReadAt(0, header, sizeof header) || std::memcmp(header + 6, "HEAPCCDR", 8) != 0 ||
      (std::memcmp(header, "II", 2) != 0 && std::memcmp(header, "MM", 2) != 0)) {
    return false;
  }
  const bool bigEndian = header[0] == 'M';
  const std::uint64_t heapStart =
      bigEndian ? BigEndian(header + 2, 4) : LittleEndian(header + 2, 4);
  const std::uint64_t size = source.Size();
  return heapStart >= sizeof header && heapStart < size &&
         CrwHeaps(source, bigEndian).FindDay(heapStart, size, 0, day);
}

bool ReadX3fDay(ByteSource& source, platform::LocalDate* day) {
  const std::uint64_t size = source.Size();
  std::uint8_t bytes[kImageHeaderBytes];
  if (size < 8 || !source.ReadAt(0, bytes, 4) || std::memcmp(bytes, "FOVb", 4) != 0 ||
      !source.ReadAt(size - 4, bytes, 4)) {
    return false;
  }
  const std::uint64_t directory = LittleEndian(bytes, 4);
  if (!Inside(directory, 12, size) || !source.ReadAt(directory, bytes, 12) ||
      std::memcmp(bytes, "SECd", 4) != 0) {
    return false;
  }
  const std::uint64_t count = LittleEndian(bytes + 8, 4);
  if (count > kMaxX3fSections || !Inside(directory + 12, count * 12, size)) {
    return false;
  }
  std::vector<std::uint8_t> sections(count * 12);
  if (!source.ReadAt(directory + 12, sections.data(), sections.size())) {
    return false;
  }
  // The preview's EXIF first; the property list if no preview gives a day.
  std::vector<std::uint8_t> properties;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint8_t* section = sections.data() + i * 12;
    const std::uint64_t offset = LittleEndian(section, 4);
    const std::uint64_t length = LittleEndian(section + 4, 4);
    if (!Inside(offset, length, size)) {
      continue;
    }
    if ((std::memcmp(section + 8, "IMA2", 4) == 0 || std::memcmp(section + 8, "IMAG", 4) == 0) &&
        length > kImageHeaderBytes && source.ReadAt(offset, bytes, kImageHeaderBytes) &&
        std::memcmp(bytes, kJpegImageHeader, sizeof kJpegImageHeader) == 0 &&
        tiffdate::ReadJpegDay(source, offset + kImageHeaderBytes, offset + length, day)) {
      return true;
    }
    if (std::memcmp(section + 8, "PROP", 4) == 0 && properties.empty() &&
        length <= kMaxPropertyBytes) {
      properties.resize(length);
      if (!source.ReadAt(offset, properties.data(), properties.size())) {
        properties.clear();
      }
    }
  }
  return X3fTimeProperty(properties, day);
}
