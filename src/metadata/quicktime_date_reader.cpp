#include "metadata/quicktime_date_reader.h"

#include <cstring>
#include <vector>

#include "metadata/iso_boxes.h"

namespace {

using isobox::BigEndian;
using isobox::Box;
using isobox::FourCc;

constexpr char kCreationDateKey[] = "com.apple.quicktime.creationdate";
constexpr std::size_t kMaxKeysBytes = 64 * 1024;
constexpr std::uint64_t kMaxValueBytes = 64;  // an ISO 8601 time is about 25 characters
constexpr std::uint32_t kWellKnownUtf8 = 1;

// The movie header: version, flags, then the creation time in 32 bits (version 0) or 64.
bool ReadMovieHeader(ByteSource& source, const Box& mvhd, std::uint64_t* seconds) {
  std::uint8_t head[12];
  if (mvhd.PayloadSize() < sizeof head || !source.ReadAt(mvhd.payload, head, sizeof head)) {
    return false;
  }
  *seconds = head[0] == 1 ? BigEndian(head + 4, 8) : BigEndian(head + 4, 4);
  return true;
}

// The 1-based index of the creation date key in a keys payload; 0 when absent.
std::uint32_t CreationKeyIndex(const std::vector<std::uint8_t>& keys) {
  if (keys.size() < 8) {
    return 0;
  }
  const std::uint64_t count = BigEndian(keys.data() + 4, 4);
  std::size_t pos = 8;
  const std::size_t keyLength = sizeof kCreationDateKey - 1;
  for (std::uint64_t index = 1; index <= count && keys.size() - pos >= 8; ++index) {
    const std::uint64_t size = BigEndian(keys.data() + pos, 4);  // counts its own 8 bytes
    if (size < 8 || size > keys.size() - pos) {
      return 0;
    }
    if (size - 8 == keyLength && std::memcmp(keys.data() + pos + 4, "mdta", 4) == 0 &&
        std::memcmp(keys.data() + pos + 8, kCreationDateKey, keyLength) == 0) {
      return static_cast<std::uint32_t>(index);
    }
    pos += static_cast<std::size_t>(size);
  }
  return 0;
}

// The UTF-8 text in the data box of the ilst entry for key `index`.
bool ReadKeyValue(ByteSource& source, const Box& ilst, std::uint32_t index, std::string* text) {
  Box entry;
  Box data;
  std::uint8_t kind[8];
  if (!isobox::FindBox(source, ilst.payload, ilst.end, index, &entry) ||
      !isobox::FindBox(source, entry.payload, entry.end, FourCc("data"), &data) ||
      data.PayloadSize() < sizeof kind || data.PayloadSize() - sizeof kind > kMaxValueBytes ||
      !source.ReadAt(data.payload, kind, sizeof kind) ||
      (BigEndian(kind, 4) & 0xFFFFFF) != kWellKnownUtf8) {
    return false;
  }
  text->resize(static_cast<std::size_t>(data.PayloadSize() - sizeof kind));
  if (!source.ReadAt(data.payload + sizeof kind, text->data(), text->size())) {
    text->clear();
    return false;
  }
  return true;
}

// A metadata box of keys and values. In QuickTime files its children follow the header at
// once; in MP4 files, as a full box, after four bytes of version and flags.
bool ReadCreationKey(ByteSource& source, const Box& meta, std::string* text) {
  std::uint8_t peek[8];
  if (meta.PayloadSize() < sizeof peek || !source.ReadAt(meta.payload, peek, sizeof peek)) {
    return false;
  }
  const std::uint64_t children = meta.payload + (BigEndian(peek + 4, 4) == FourCc("hdlr") ? 0 : 4);
  Box keysBox;
  Box ilst;
  std::vector<std::uint8_t> keys;
  if (!isobox::FindBox(source, children, meta.end, FourCc("keys"), &keysBox) ||
      !isobox::ReadPayload(source, keysBox, kMaxKeysBytes, &keys)) {
    return false;
  }
  const std::uint32_t index = CreationKeyIndex(keys);
  return index != 0 && isobox::FindBox(source, children, meta.end, FourCc("ilst"), &ilst) &&
         ReadKeyValue(source, ilst, index, text);
}

}  // namespace

bool ReadQuickTimeDates(ByteSource& source, QuickTimeDates* dates) {
  *dates = QuickTimeDates{};
  Box moov;
  if (!isobox::FindBox(source, 0, source.Size(), FourCc("moov"), &moov)) {
    return false;
  }
  Box found;
  if (isobox::FindBox(source, moov.payload, moov.end, FourCc("mvhd"), &found)) {
    ReadMovieHeader(source, found, &dates->creationSeconds);
  }
  // Phones put the keys in moov/meta; some writers in moov/udta/meta.
  if (isobox::FindBox(source, moov.payload, moov.end, FourCc("meta"), &found) &&
      ReadCreationKey(source, found, &dates->localCreation)) {
    return true;
  }
  Box udta;
  if (isobox::FindBox(source, moov.payload, moov.end, FourCc("udta"), &udta) &&
      isobox::FindBox(source, udta.payload, udta.end, FourCc("meta"), &found)) {
    ReadCreationKey(source, found, &dates->localCreation);
  }
  return true;
}
