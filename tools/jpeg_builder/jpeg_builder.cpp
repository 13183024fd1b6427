#include "jpeg_builder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace jpegbuilder {

ExifBuilder::ExifBuilder(ByteOrder order) : order_(order) {}

int ExifBuilder::AddDirectory() {
  dirs_.emplace_back();
  return static_cast<int>(dirs_.size()) - 1;
}

void ExifBuilder::AddEntry(int dir, std::uint16_t tag, std::uint16_t format, std::uint32_t count,
                           const Bytes& value) {
  dirs_.at(dir).entries.push_back({tag, format, count, value, 0, false, -1});
}

void ExifBuilder::AddRawEntry(int dir, std::uint16_t tag, std::uint16_t format, std::uint32_t count,
                              std::uint32_t raw) {
  dirs_.at(dir).entries.push_back({tag, format, count, {}, raw, true, -1});
}

void ExifBuilder::AddAscii(int dir, std::uint16_t tag, const std::string& text) {
  Bytes value(text.begin(), text.end());
  value.push_back(0);
  AddEntry(dir, tag, kAscii, static_cast<std::uint32_t>(value.size()), value);
}

void ExifBuilder::AddShort(int dir, std::uint16_t tag, std::uint16_t value) {
  AddEntry(dir, tag, kShort, 1, U16(value));
}

void ExifBuilder::AddLong(int dir, std::uint16_t tag, std::uint32_t value) {
  AddEntry(dir, tag, kLong, 1, U32(value));
}

void ExifBuilder::AddRational(int dir, std::uint16_t tag, std::uint32_t numerator,
                              std::uint32_t denominator) {
  Bytes value = U32(numerator);
  Bytes low = U32(denominator);
  value.insert(value.end(), low.begin(), low.end());
  AddEntry(dir, tag, kRational, 1, value);
}

void ExifBuilder::AddLink(int dir, std::uint16_t tag, int child) {
  dirs_.at(dir).entries.push_back({tag, kLong, 1, {}, 0, false, child});
}

void ExifBuilder::SetNext(int dir, int next) {
  dirs_.at(dir).next = next;
}

void ExifBuilder::SetFirstDirectoryOffset(std::uint32_t offset) {
  firstOffset_ = offset;
}

Bytes ExifBuilder::U16(std::uint16_t value) const {
  const auto high = static_cast<std::uint8_t>(value >> 8);
  const auto low = static_cast<std::uint8_t>(value);
  return order_ == ByteOrder::kBig ? Bytes{high, low} : Bytes{low, high};
}

Bytes ExifBuilder::U32(std::uint32_t value) const {
  Bytes first = U16(static_cast<std::uint16_t>(value >> 16));
  Bytes second = U16(static_cast<std::uint16_t>(value));
  if (order_ == ByteOrder::kLittle) {
    first.swap(second);
  }
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

namespace {

// Writes `bytes` over `out` from `at` on.
void Put(Bytes& out, std::size_t at, const Bytes& bytes) {
  std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::uint32_t ExifBuilder::DirectorySize(const Directory& d) const {
  std::uint32_t size = 2 + 12 * static_cast<std::uint32_t>(d.entries.size()) + 4;
  for (const Entry& e : d.entries) {
    if (!e.isRaw && e.linkTo < 0 && e.value.size() > 4) {
      size += static_cast<std::uint32_t>(e.value.size());
    }
  }
  return size;
}

std::uint32_t ExifBuilder::DirectoryOffset(int dir) const {
  std::uint32_t offset = firstOffset_ < 8 ? 8 : firstOffset_;
  for (int i = 0; i < dir; ++i) {
    offset += DirectorySize(dirs_.at(i));
  }
  return offset;
}

Bytes ExifBuilder::Build() const {
  const std::uint32_t start = DirectoryOffset(0);
  std::uint32_t total = start;
  for (const Directory& d : dirs_) {
    total += DirectorySize(d);
  }
  Bytes out(total, 0);
  out[0] = out[1] = order_ == ByteOrder::kBig ? 'M' : 'I';
  Put(out, 2, U16(42));
  Put(out, 4, U32(firstOffset_));

  std::uint32_t at = start;
  for (const Directory& d : dirs_) {
    Put(out, at, U16(static_cast<std::uint16_t>(d.entries.size())));
    std::uint32_t values = at + 2 + 12 * static_cast<std::uint32_t>(d.entries.size()) + 4;
    std::uint32_t entry = at + 2;
    for (const Entry& e : d.entries) {
      Put(out, entry, U16(e.tag));
      Put(out, entry + 2, U16(e.format));
      Put(out, entry + 4, U32(e.count));
      if (e.isRaw) {
        Put(out, entry + 8, U32(e.raw));
      } else if (e.linkTo >= 0) {
        Put(out, entry + 8, U32(DirectoryOffset(e.linkTo)));
      } else if (e.value.size() <= 4) {
        Put(out, entry + 8, e.value);
      } else {
        Put(out, entry + 8, U32(values));
        Put(out, values, e.value);
        values += static_cast<std::uint32_t>(e.value.size());
      }
      entry += 12;
    }
    Put(out, entry, U32(d.next >= 0 ? DirectoryOffset(d.next) : 0));
    at += DirectorySize(d);
  }
  return out;
}

Bytes ExifBlockWithDate(const std::string& takenAt, ByteOrder order) {
  ExifBuilder exif(order);
  int first = exif.AddDirectory();
  int sub = exif.AddDirectory();
  exif.AddAscii(first, kTagMake, "Tallowick");
  exif.AddLink(first, kTagExifIfd, sub);
  exif.AddAscii(sub, kTagDateTimeOriginal, takenAt);
  return exif.Build();
}

JpegBuilder::JpegBuilder() : data_{0xFF, 0xD8} {}

JpegBuilder& JpegBuilder::Section(std::uint8_t marker, const Bytes& payload) {
  const std::size_t length = payload.size() + 2;
  data_.insert(data_.end(), {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                             static_cast<std::uint8_t>(length)});
  data_.insert(data_.end(), payload.begin(), payload.end());
  return *this;
}

JpegBuilder& JpegBuilder::Exif(const Bytes& block) {
  Bytes payload{'E', 'x', 'i', 'f', 0, 0};
  payload.insert(payload.end(), block.begin(), block.end());
  return Section(0xE1, payload);
}

JpegBuilder& JpegBuilder::Jfif() {
  return Section(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
}

JpegBuilder& JpegBuilder::Comment(const std::string& text) {
  return Section(0xFE, Bytes(text.begin(), text.end()));
}

JpegBuilder& JpegBuilder::Frame(std::uint16_t width, std::uint16_t height,
                                std::uint8_t components) {
  Bytes payload{8,
                static_cast<std::uint8_t>(height >> 8),
                static_cast<std::uint8_t>(height),
                static_cast<std::uint8_t>(width >> 8),
                static_cast<std::uint8_t>(width),
                components};
  for (std::uint8_t c = 1; c <= components; ++c) {
    payload.insert(payload.end(), {c, 0x11, 0});
  }
  return Section(0xC0, payload);
}

JpegBuilder& JpegBuilder::QuantTable() {
  Bytes payload(65, 1);
  payload[0] = 0;
  return Section(0xDB, payload);
}

JpegBuilder& JpegBuilder::Scan(std::size_t dataBytes) {
  Section(0xDA, {1, 1, 0, 0, 63, 0});
  // Entropy-coded filler that contains no marker (no 0xFF byte).
  for (std::size_t i = 0; i < dataBytes; ++i) {
    data_.push_back(static_cast<std::uint8_t>(0x20 + (i * 37) % 0xC0));
  }
  data_.insert(data_.end(), {0xFF, 0xD9});
  return *this;
}

JpegBuilder& JpegBuilder::Raw(const Bytes& bytes) {
  data_.insert(data_.end(), bytes.begin(), bytes.end());
  return *this;
}

Bytes PhotoWithDate(const std::string& takenAt, ByteOrder order, std::size_t dataBytes) {
  JpegBuilder jpeg;
  jpeg.Jfif();
  if (!takenAt.empty()) {
    jpeg.Exif(ExifBlockWithDate(takenAt, order));
  }
  jpeg.QuantTable().Frame(640, 480).Scan(dataBytes);
  return jpeg.Data();
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    return false;
  }
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    return false;
  }
  return std::fclose(file.release()) == 0;
}

}  // namespace jpegbuilder
