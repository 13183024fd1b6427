#include "metadata/video_date_readers.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "metadata/day_rules.h"
#include "metadata/iso_boxes.h"
#include "metadata/riff_chunks.h"
#include "metadata/tiff_date_reader.h"

namespace {

using isobox::FourCc;
using Bytes = std::vector<std::uint8_t>;

// ---- AVI

constexpr std::uint64_t kMaxDateTextBytes = 64;
constexpr std::uint64_t kMaxNikonTagsBytes = 64 * 1024;
constexpr std::uint32_t kNikonTakenAt = 0x13;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The number of `digits` digits or fewer (at least one) at `at`, blanks before them skipped.
bool TakeNumber(std::string_view text, std::size_t* at, std::size_t digits, int* value) {
  while (*at < text.size() && text[*at] == ' ') {
    ++*at;
  }
  const std::size_t first = *at;
  *value = 0;
  for (; *at < text.size() && IsDigit(text[*at]) && *at - first < digits; ++*at) {
    *value = *value * 10 + (text[*at] - '0');
  }
  return *at > first;
}

// A word that is a number of 1 to `digits` digits and nothing else.
bool WholeNumber(std::string_view word, std::size_t digits, int* value) {
  std::size_t at = 0;
  return !word.empty() && word[0] != ' ' && TakeNumber(word, &at, digits, value) &&
         at == word.size();
}

// "SUN MAR 10 15:04:43 2003": the month's name, the day, the time, the year.
bool ParseNamedMonth(std::string_view text, platform::LocalDate* day) {
  static constexpr std::string_view kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
  std::string_view words[5];
  std::size_t count = 0;
  for (std::size_t at = 0; count < 5;) {
    const std::size_t start = text.find_first_not_of(" \t\r\n", at);
    if (start == std::string_view::npos) {
      break;
    }
    at = std::min(text.find_first_of(" \t\r\n", start), text.size());
    words[count++] = text.substr(start, at - start);
  }
  if (count < 5 || words[1].size() != 3) {
    return false;
  }
  std::string month(words[1]);
  for (char& c : month) {
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  const std::size_t found = kMonths.find(month);
  int date = 0;
  int year = 0;
  if (found == std::string_view::npos || found % 3 != 0 || !WholeNumber(words[2], 2, &date) ||
      words[4].size() != 4 || !WholeNumber(words[4].substr(0, 4), 4, &year)) {
    return false;
  }
  *day = platform::LocalDate{year, static_cast<int>(found / 3) + 1, date};
  return true;
}

// Reads the AVI header list and what lies beside it.
class AviReader {
 public:
  explicit AviReader(ByteSource& source) : source_(source) {}

  AviDate Read(platform::LocalDate* day) {
    riff::Chunk file;
    if (!riff::ReadChunk(source_, 0, source_.Size(), &file) || file.id != FourCc("RIFF") ||
        file.form != FourCc("AVI ")) {
      return AviDate::kNone;
    }
    Visit(file, 0);
    if (hasIdit_) {
      *day = idit_;
      return AviDate::kIdit;
    }
    if (hasExif_) {
      *day = exif_;
      return AviDate::kExif;
    }
    return AviDate::kNone;
  }

 private:
  // The chunks inside `list`, and those of the lists in it that hold header data.
  void Visit(const riff::Chunk& list, int depth) {
    riff::ForEachChunk(source_, list.data, list.end, [&](const riff::Chunk& chunk) {
      if (chunk.id == FourCc("LIST") && depth < 3 && chunk.form != FourCc("movi")) {
        Visit(chunk, depth + 1);
      } else if (chunk.id == FourCc("IDIT") && !hasIdit_) {
        hasIdit_ = ReadIdit(chunk);
      } else if (chunk.id == FourCc("strd") && !hasExif_) {
        hasExif_ = ReadStreamData(chunk);
      } else if (chunk.id == FourCc("nctg") && list.form == FourCc("ncdt") && !hasExif_) {
        hasExif_ = ReadNikonTags(chunk);
      }
      return hasIdit_;
    });
  }

  bool ReadIdit(const riff::Chunk& chunk) {
    char text[kMaxDateTextBytes];
    const std::size_t length =
        static_cast<std::size_t>(std::min(chunk.end - chunk.data, kMaxDateTextBytes));
    return source_.ReadAt(chunk.data, text, length) &&
           ParseAviDateText(std::string_view(text, length), &idit_);
  }

  // "AVIF", four bytes, then a little-endian directory whose offsets count from its own start.
  bool ReadStreamData(const riff::Chunk& chunk) {
    char head[4];
    return chunk.end - chunk.data > 8 && source_.ReadAt(chunk.data, head, 4) &&
           std::memcmp(head, "AVIF", 4) == 0 &&
           tiffdate::ReadDirectoryDay(source_, chunk.data + 8, chunk.end, false, 0, &exif_);
  }

  // Records of a 16-bit tag and a 16-bit size, little-endian; 0x13 holds the date text.
  bool ReadNikonTags(const riff::Chunk& chunk) {
    const std::uint64_t size = chunk.end - chunk.data;
    if (size > kMaxNikonTagsBytes) {
      return false;
    }
    Bytes tags(static_cast<std::size_t>(size));
    if (!source_.ReadAt(chunk.data, tags.data(), tags.size())) {
      return false;
    }
    for (std::size_t at = 0; tags.size() - at >= 4;) {
      const std::uint32_t tag = tags[at] | tags[at + 1] << 8;
      const std::size_t length = tags[at + 2] | tags[at + 3] << 8;
      at += 4;
      if (length > tags.size() - at) {
        return false;
      }
      if (tag == kNikonTakenAt) {
        return dayrules::ParseDayText(
            std::string_view(reinterpret_cast<const char*>(tags.data() + at), length), &exif_);
      }
      at += length;
    }
    return false;
  }

  ByteSource& source_;
  bool hasIdit_ = false;
  bool hasExif_ = false;
  platform::LocalDate idit_;
  platform::LocalDate exif_;
};

// ---- AVCHD

constexpr std::uint8_t kMdpmMark[20] = {0x17, 0xee, 0x8c, 0x60, 0xf8, 0x4d, 0x11, 0xd9, 0x8c, 0xd6,
                                        0x08, 0x00, 0x20, 0x0c, 0x9a, 0x66, 'M',  'D',  'P',  'M'};
// The first SEI comes before the first picture: these bounds leave room for a long header.
constexpr std::uint64_t kMaxStreamScanBytes = 1024 * 1024;
constexpr std::size_t kMaxVideoBytes = 64 * 1024;
constexpr std::size_t kReadBlock = 192 * 64;
// A record list holds at most 255 records of five bytes.
constexpr std::size_t kMaxRecordBytes = 1 + 255 * 5;

int Bcd(std::uint8_t value) {
  return (value >> 4) <= 9 && (value & 15) <= 9 ? (value >> 4) * 10 + (value & 15) : -1;
}

// The day in the MDPM records at `records` (after the mark): a count, then records of a tag
// and four bytes; 0x18 (zone, century and year, year, month) followed by 0x19 (day, ...).
bool MdpmDay(const Bytes& records, platform::LocalDate* day) {
  if (records.empty()) {
    return false;
  }
  const std::size_t count = std::min<std::size_t>(records[0], (records.size() - 1) / 5);
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::uint8_t* record = records.data() + 1 + i * 5;
    if (record[0] == 0x18 && record[5] == 0x19) {
      const int century = Bcd(record[2]);
      const int year = Bcd(record[3]);
      const int month = Bcd(record[4]);
      const int date = Bcd(record[6]);
      if (century < 0 || year < 0 || month < 0 || date < 0) {
        return false;
      }
      *day = platform::LocalDate{century * 100 + year, month, date};
      return true;
    }
  }
  return false;
}

// The video stream's bytes, gathered from the transport packets of the first PID whose
// packetized stream is a video one.
class TransportStream {
 public:
  explicit TransportStream(ByteSource& source) : source_(source) {}

  bool FindDay(platform::LocalDate* day) {
    std::uint8_t head[200];
    if (!source_.ReadAt(0, head, sizeof head)) {
      return false;
    }
    if (head[4] == 0x47 && head[196] == 0x47) {
      packet_ = 192;
      sync_ = 4;
    } else if (head[0] != 0x47 || head[188] != 0x47) {
      return false;
    }
    Bytes block(kReadBlock);
    const std::uint64_t end = std::min(source_.Size(), kMaxStreamScanBytes);
    for (std::uint64_t offset = 0; offset < end && video_.size() < kMaxVideoBytes;) {
      const std::size_t length = static_cast<std::size_t>(
          std::min<std::uint64_t>(block.size(), (end - offset) / packet_ * packet_));
      if (length == 0 || !source_.ReadAt(offset, block.data(), length)) {
        break;
      }
      for (std::size_t at = 0; at < length; at += packet_) {
        if (!TakePacket(block.data() + at + sync_)) {
          return false;
        }
      }
      offset += length;
      if (FindRecords(day, false)) {
        return true;
      }
    }
    return FindRecords(day, true);
  }

 private:
  bool TakePacket(const std::uint8_t* packet) {
    if (packet[0] != 0x47) {
      return false;  // lost the packets' rhythm: no transport stream of ours
    }
    const int pid = (packet[1] & 0x1F) << 8 | packet[2];
    const bool unitStart = (packet[1] & 0x40) != 0;
    const int adaptation = (packet[3] >> 4) & 3;
    std::size_t at = 4;
    if (adaptation == 2 || adaptation == 0) {
      return true;  // no payload
    }
    if (adaptation == 3) {
      at += 1 + packet[4];
    }
    if (at >= 188) {
      return true;
    }
    if (unitStart && 188 - at >= 9 && packet[at] == 0 && packet[at + 1] == 0 &&
        packet[at + 2] == 1) {
      // A packetized stream header: a video stream id (0xE0-0xEF), then its own header length.
      if (videoPid_ < 0 && (packet[at + 3] & 0xF0) == 0xE0) {
        videoPid_ = pid;
      }
      if (pid == videoPid_) {
        at += 9 + packet[at + 8];
      }
    }
    if (pid == videoPid_ && at < 188) {
      const std::size_t room = kMaxVideoBytes - video_.size();
      video_.insert(video_.end(), packet + at, packet + at + std::min(188 - at, room));
    }
    return true;
  }

  // Looks for the mark in the bytes gathered so far; with `final`, records cut short count.
  bool FindRecords(platform::LocalDate* day, bool final) {
    const auto from = video_.begin() + static_cast<std::ptrdiff_t>(searched_);
    const auto mark = std::search(from, video_.end(), kMdpmMark, kMdpmMark + sizeof kMdpmMark);
    if (mark == video_.end()) {
      searched_ = video_.size() < sizeof kMdpmMark ? 0 : video_.size() - sizeof kMdpmMark;
      return false;
    }
    const std::size_t start = static_cast<std::size_t>(mark - video_.begin()) + sizeof kMdpmMark;
    if (!final && video_.size() - start < kMaxRecordBytes * 2) {
      return false;  // wait for the records to be gathered
    }
    // The stream escapes 00 00 0x as 00 00 03 0x: the records are read without the 03.
    Bytes records;
    int zeros = 0;
    for (std::size_t i = start; i < video_.size() && records.size() < kMaxRecordBytes; ++i) {
      if (zeros >= 2 && video_[i] == 3) {
        zeros = 0;
        continue;
      }
      zeros = video_[i] == 0 ? zeros + 1 : 0;
      records.push_back(video_[i]);
    }
    searched_ = video_.size();
    return MdpmDay(records, day);
  }

  ByteSource& source_;
  std::size_t packet_ = 188;
  std::size_t sync_ = 0;
  int videoPid_ = -1;
  Bytes video_;
  std::size_t searched_ = 0;
};

// ---- Matroska

constexpr std::uint32_t kEbmlHeader = 0x1A45DFA3;
constexpr std::uint32_t kSegment = 0x18538067;
constexpr std::uint32_t kInfo = 0x1549A966;
constexpr std::uint32_t kCluster = 0x1F43B675;
constexpr std::uint32_t kDateUtc = 0x4461;
constexpr int kMaxElementsPerLevel = 256;
constexpr std::int64_t kSeconds1970To2001 = 978307200;

struct Element {
  std::uint32_t id = 0;
  std::uint64_t data = 0;
  std::uint64_t end = 0;
  bool sizeKnown = true;
};

// The element whose header starts at `offset`: an id of 1-4 bytes (marker bit kept), a size
// of 1-8 bytes (marker removed; all ones: unknown, up to `limit`).
bool ReadElement(ByteSource& source, std::uint64_t offset, std::uint64_t limit, Element* element) {
  std::uint8_t bytes[12] = {};
  if (offset >= limit) {
    return false;
  }
  const std::size_t available =
      static_cast<std::size_t>(std::min<std::uint64_t>(12, limit - offset));
  if (!source.ReadAt(offset, bytes, available)) {
    return false;
  }
  const auto width = [](std::uint8_t first) {
    int n = 1;
    for (std::uint8_t mask = 0x80; mask != 0 && (first & mask) == 0; mask >>= 1) {
      ++n;
    }
    return n;
  };
  const int idBytes = width(bytes[0]);
  if (idBytes > 4 || static_cast<std::size_t>(idBytes) >= available) {
    return false;
  }
  const int sizeBytes = width(bytes[idBytes]);
  if (sizeBytes > 8 || static_cast<std::size_t>(idBytes + sizeBytes) > available) {
    return false;
  }
  element->id = static_cast<std::uint32_t>(isobox::BigEndian(bytes, idBytes));
  std::uint64_t size = isobox::BigEndian(bytes + idBytes, sizeBytes);
  const std::uint64_t valueBits = 7 * static_cast<std::uint64_t>(sizeBytes);
  size &= (std::uint64_t{1} << valueBits) - 1;
  element->data = offset + static_cast<std::uint64_t>(idBytes + sizeBytes);
  element->sizeKnown = size != (std::uint64_t{1} << valueBits) - 1;
  if (!element->sizeKnown) {
    element->end = limit;
  } else if (size > limit - element->data) {
    return false;
  } else {
    element->end = element->data + size;
  }
  return true;
}

bool ReadDateUtc(ByteSource& source, const Element& info, platform::LocalDate* day) {
  std::uint64_t offset = info.data;
  for (int i = 0; i < kMaxElementsPerLevel; ++i) {
    Element element;
    if (!ReadElement(source, offset, info.end, &element) || !element.sizeKnown) {
      return false;
    }
    std::uint8_t value[8];
    if (element.id == kDateUtc) {
      if (element.end - element.data != 8 || !source.ReadAt(element.data, value, 8)) {
        return false;
      }
      const auto nanoseconds = static_cast<std::int64_t>(isobox::BigEndian(value, 8));
      // Whole seconds, rounded down also before 2001.
      const std::int64_t seconds =
          nanoseconds / 1000000000 - (nanoseconds % 1000000000 < 0 ? 1 : 0);
      return dayrules::LocalDayOfUnixSeconds(seconds + kSeconds1970To2001, day);
    }
    offset = element.end;
  }
  return false;
}

}  // namespace

bool ParseAviDateText(std::string_view text, platform::LocalDate* day) {
  if (ParseNamedMonth(text, day)) {
    return true;
  }
  // A four-digit year, the month and the day, with '-', '/' or ':' after the year and the
  // month; blanks may stand before the month and the day.
  std::size_t at = text.find_first_not_of(" \t\r\n");
  if (at == std::string_view::npos || text.size() - at < 4 || !IsDigit(text[at])) {
    return false;
  }
  const auto separator = [&] {
    if (at >= text.size() || (text[at] != '-' && text[at] != '/' && text[at] != ':')) {
      return false;
    }
    ++at;
    return true;
  };
  int year = 0;
  int month = 0;
  int date = 0;
  if (!WholeNumber(text.substr(at, 4), 4, &year)) {
    return false;
  }
  at += 4;
  if (!separator() || !TakeNumber(text, &at, 2, &month) || !separator() ||
      !TakeNumber(text, &at, 2, &date)) {
    return false;
  }
  *day = platform::LocalDate{year, month, date};
  return true;
}

AviDate ReadAviDay(ByteSource& source, platform::LocalDate* day) {
  return AviReader(source).Read(day);
}

bool ReadAvchdDay(ByteSource& source, platform::LocalDate* day) {
  return TransportStream(source).FindDay(day);
}

bool ReadMatroskaDay(ByteSource& source, platform::LocalDate* day) {
  const std::uint64_t size = source.Size();
  Element element;
  if (!ReadElement(source, 0, size, &element) || element.id != kEbmlHeader) {
    return false;
  }
  std::uint64_t offset = element.end;
  for (int i = 0; i < 8; ++i) {
    if (!ReadElement(source, offset, size, &element)) {
      return false;
    }
    if (element.id == kSegment) {
      break;
    }
    offset = element.end;
  }
  if (element.id != kSegment) {
    return false;
  }
  const std::uint64_t segmentEnd = element.end;
  offset = element.data;
  for (int i = 0; i < kMaxElementsPerLevel; ++i) {
    if (!ReadElement(source, offset, segmentEnd, &element) || element.id == kCluster) {
      return false;
    }
    if (element.id == kInfo) {
      return ReadDateUtc(source, element, day);
    }
    if (!element.sizeKnown) {
      return false;
    }
    offset = element.end;
  }
  return false;
}
