#include "metadata/iso_boxes.h"

namespace isobox {

std::uint64_t BigEndian(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

bool ReadBox(ByteSource& source, std::uint64_t offset, std::uint64_t limit, Box* box) {
  std::uint8_t header[16];
  if (offset > limit || limit - offset < 8 || !source.ReadAt(offset, header, 8)) {
    return false;
  }
  std::uint64_t size = BigEndian(header, 4);
  std::uint64_t headerSize = 8;
  if (size == 1) {
    if (limit - offset < 16 || !source.ReadAt(offset + 8, header + 8, 8)) {
      return false;
    }
    size = BigEndian(header + 8, 8);
    headerSize = 16;
  } else if (size == 0) {
    size = limit - offset;
  }
  if (size < headerSize || size > limit - offset) {
    return false;
  }
  box->type = static_cast<std::uint32_t>(BigEndian(header + 4, 4));
  box->payload = offset + headerSize;
  box->end = offset + size;
  return true;
}

bool FindBox(ByteSource& source, std::uint64_t from, std::uint64_t limit, std::uint32_t type,
             Box* found) {
  std::uint64_t offset = from;
  for (int i = 0; i < kMaxBoxesPerLevel; ++i) {
    Box box;
    if (!ReadBox(source, offset, limit, &box)) {
      return false;
    }
    if (box.type == type) {
      *found = box;
      return true;
    }
    offset = box.end;
  }
  return false;
}

bool ReadPayload(ByteSource& source, const Box& box, std::size_t maxBytes,
                 std::vector<std::uint8_t>* bytes) {
  if (box.PayloadSize() > maxBytes) {
    return false;
  }
  bytes->resize(static_cast<std::size_t>(box.PayloadSize()));
  return source.ReadAt(box.payload, bytes->data(), bytes->size());
}

}  // namespace isobox
