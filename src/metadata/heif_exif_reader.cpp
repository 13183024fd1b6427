#include "metadata/heif_exif_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "metadata/iso_boxes.h"
#include "metadata/jpeg_meta_reader.h"

namespace {

using isobox::BigEndian;
using isobox::Box;
using isobox::FourCc;
using Bytes = std::vector<std::uint8_t>;

// Item tables of a phone photo take a few kilobytes; EXIF blocks some tens.
constexpr std::size_t kMaxTableBytes = 1 << 20;
constexpr std::uint64_t kMaxExifBytes = 1 << 20;
constexpr std::uint32_t kMaxExtents = 64;

// Reads numbers front to back from a table held in memory; a read past the end fails and
// every later one too.
class TableReader {
 public:
  explicit TableReader(const Bytes& bytes) : bytes_(bytes) {}
  // A big-endian number of `count` bytes (0 gives 0).
  std::uint64_t Take(int count) {
    if (!ok_ || static_cast<std::size_t>(count) > bytes_.size() - pos_) {
      ok_ = false;
      return 0;
    }
    const std::uint64_t value = BigEndian(bytes_.data() + pos_, count);
    pos_ += static_cast<std::size_t>(count);
    return value;
  }
  bool Skip(std::uint64_t count) {
    ok_ = ok_ && count <= bytes_.size() - pos_;
    pos_ += ok_ ? static_cast<std::size_t>(count) : 0;
    return ok_;
  }
  bool Ok() const { return ok_; }
  std::size_t Position() const { return pos_; }

 private:
  const Bytes& bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// The id of the first item of type "Exif" in an iinf payload.
bool FindExifItem(const Bytes& iinf, std::uint32_t* id) {
  TableReader table(iinf);
  const int version = static_cast<int>(table.Take(1));
  table.Skip(3);
  table.Take(version == 0 ? 2 : 4);  // entry count: the boxes themselves are walked
  if (!table.Ok()) {
    return false;
  }
  MemorySource entries(iinf.data(), iinf.size());
  std::uint64_t offset = table.Position();
  for (int i = 0; i < isobox::kMaxBoxesPerLevel; ++i) {
    Box infe;
    if (!isobox::ReadBox(entries, offset, iinf.size(), &infe)) {
      return false;
    }
    offset = infe.end;
    // Versions 2 and 3 carry the item type after a 16- or 32-bit id; older ones only a name.
    std::uint8_t entry[14];
    if (infe.type != FourCc("infe") || infe.PayloadSize() < 1 ||
        !entries.ReadAt(infe.payload, entry, 1) || (entry[0] != 2 && entry[0] != 3)) {
      continue;
    }
    const int idBytes = entry[0] == 2 ? 2 : 4;
    if (!entries.ReadAt(infe.payload, entry, static_cast<std::size_t>(10 + idBytes))) {
      continue;
    }
    if (BigEndian(entry + 4 + idBytes + 2, 4) == FourCc("Exif")) {
      *id = static_cast<std::uint32_t>(BigEndian(entry + 4, idBytes));
      return true;
    }
  }
  return false;
}

struct Extent {
  std::uint64_t offset;
  std::uint64_t length;  // 0: up to the end of the file or idat
};

struct ItemLocation {
  int method = 0;  // 0: file offsets, 1: offsets in the idat box
  std::uint64_t base = 0;
  std::vector<Extent> extents;
};

bool IsFieldSize(std::uint64_t size) {
  return size == 0 || size == 4 || size == 8;
}

// The location of item `id` in an iloc payload.
bool FindItemLocation(const Bytes& iloc, std::uint32_t id, ItemLocation* location) {
  TableReader table(iloc);
  const int version = static_cast<int>(table.Take(1));
  table.Skip(3);
  const std::uint64_t sizes = table.Take(2);
  const int offsetSize = static_cast<int>(sizes >> 12);
  const int lengthSize = static_cast<int>((sizes >> 8) & 15);
  const int baseSize = static_cast<int>((sizes >> 4) & 15);
  const int indexSize = version == 0 ? 0 : static_cast<int>(sizes & 15);
  const std::uint64_t itemCount = table.Take(version < 2 ? 2 : 4);
  if (!table.Ok() || version > 2 || !IsFieldSize(offsetSize) || !IsFieldSize(lengthSize) ||
      !IsFieldSize(baseSize) || !IsFieldSize(indexSize)) {
    return false;
  }
  const int extentSize = indexSize + offsetSize + lengthSize;
  for (std::uint64_t i = 0; i < itemCount && table.Ok(); ++i) {
    const std::uint64_t itemId = table.Take(version < 2 ? 2 : 4);
    const int method = version == 0 ? 0 : static_cast<int>(table.Take(2) & 15);
    table.Take(2);  // data reference index
    const std::uint64_t base = table.Take(baseSize);
    const std::uint64_t extentCount = table.Take(2);
    if (itemId != id) {
      table.Skip(extentCount * extentSize);
      continue;
    }
    if (extentCount == 0 || extentCount > kMaxExtents) {
      return false;
    }
    location->method = method;
    location->base = base;
    for (std::uint64_t e = 0; e < extentCount; ++e) {
      table.Take(indexSize);
      const std::uint64_t offset = table.Take(offsetSize);
      const std::uint64_t length = table.Take(lengthSize);
      location->extents.push_back(Extent{offset, length});
    }
    return table.Ok();
  }
  return false;
}

// The item's bytes, its extents one after another.
bool ReadItem(ByteSource& source, const ItemLocation& location, const Box* idat, Bytes* data) {
  std::uint64_t areaStart = 0;
  std::uint64_t areaEnd = source.Size();
  if (location.method == 1) {
    if (idat == nullptr) {
      return false;
    }
    areaStart = idat->payload;
    areaEnd = idat->end;
  } else if (location.method != 0) {
    return false;
  }
  for (const Extent& extent : location.extents) {
    const std::uint64_t areaSize = areaEnd - areaStart;
    if (location.base > areaSize || extent.offset > areaSize - location.base) {
      return false;
    }
    const std::uint64_t start = areaStart + location.base + extent.offset;
    const std::uint64_t length = extent.length != 0 ? extent.length : areaEnd - start;
    if (length > areaEnd - start || length > kMaxExifBytes - data->size()) {
      return false;
    }
    const std::size_t before = data->size();
    data->resize(before + static_cast<std::size_t>(length));
    if (!source.ReadAt(start, data->data() + before, static_cast<std::size_t>(length))) {
      return false;
    }
  }
  return true;
}

// The date of capture in an Exif item: a four-byte offset, then that many bytes before the
// TIFF header.
bool TakenAtOfExifItem(const Bytes& item, std::string* takenAt) {
  if (item.size() < 4) {
    return false;
  }
  const std::uint64_t tiffStart = 4 + BigEndian(item.data(), 4);
  if (tiffStart >= item.size()) {
    return false;
  }
  // The EXIF parser takes the block as an APP1 payload: "Exif", two NULs, the TIFF block.
  Bytes payload(6 + item.size() - tiffStart);
  std::memcpy(payload.data(), "Exif\0\0", 6);
  std::copy(item.begin() + static_cast<std::ptrdiff_t>(tiffStart), item.end(), payload.begin() + 6);
  PhotoMeta record{};
  CJpegMetaReader reader(&record);
  if (!reader.ParseExif(payload.data(), static_cast<int>(payload.size() + 2))) {
    return false;
  }
  const char* const text = record.takenAt;
  takenAt->assign(text, std::find(text, text + sizeof record.takenAt - 1, '\0'));
  return !takenAt->empty();
}

}  // namespace

bool ReadHeifTakenAt(ByteSource& source, std::string* takenAt) {
  const std::uint64_t size = source.Size();
  Box ftyp;
  Box meta;
  if (!isobox::ReadBox(source, 0, size, &ftyp) || ftyp.type != FourCc("ftyp") ||
      !isobox::FindBox(source, ftyp.end, size, FourCc("meta"), &meta) || meta.PayloadSize() < 4) {
    return false;
  }
  // meta is a full box: version and flags come before its children.
  const std::uint64_t children = meta.payload + 4;
  Box iinfBox;
  Box ilocBox;
  Bytes iinf;
  Bytes iloc;
  std::uint32_t id = 0;
  ItemLocation location;
  if (!isobox::FindBox(source, children, meta.end, FourCc("iinf"), &iinfBox) ||
      !isobox::ReadPayload(source, iinfBox, kMaxTableBytes, &iinf) || !FindExifItem(iinf, &id) ||
      !isobox::FindBox(source, children, meta.end, FourCc("iloc"), &ilocBox) ||
      !isobox::ReadPayload(source, ilocBox, kMaxTableBytes, &iloc) ||
      !FindItemLocation(iloc, id, &location)) {
    return false;
  }
  Box idat;
  const bool hasIdat = isobox::FindBox(source, children, meta.end, FourCc("idat"), &idat);
  Bytes item;
  return ReadItem(source, location, hasIdat ? &idat : nullptr, &item) &&
         TakenAtOfExifItem(item, takenAt);
}
