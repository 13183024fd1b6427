// Boxes of the ISO base media file format (and QuickTime atoms, the same layout): a 32-bit
// big-endian size, a four-character type, a 64-bit size when the first one is 1, and the
// payload. Every box is checked against the end of the box or file that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "metadata/byte_source.h"

namespace isobox {

constexpr std::uint32_t FourCc(const char (&text)[5]) {
  return (std::uint32_t{static_cast<std::uint8_t>(text[0])} << 24) |
         (std::uint32_t{static_cast<std::uint8_t>(text[1])} << 16) |
         (std::uint32_t{static_cast<std::uint8_t>(text[2])} << 8) |
         std::uint32_t{static_cast<std::uint8_t>(text[3])};
}

// Boxes looked at on one level before a search gives up, so a file made of millions of tiny
// boxes cannot keep the walk reading.
constexpr int kMaxBoxesPerLevel = 4096;

struct Box {
  std::uint32_t type = 0;
  std::uint64_t payload = 0;  // offset of the first byte after the header
  std::uint64_t end = 0;      // offset one past the box's last byte
  std::uint64_t PayloadSize() const { return end - payload; }
};

// The box whose header starts at `offset`. Size 1 takes the 64-bit size that follows the
// type; size 0 means "up to `limit`". False when the header does not fit before `limit`, the
// size is smaller than the header, or the box would end after `limit`.
bool ReadBox(ByteSource& source, std::uint64_t offset, std::uint64_t limit, Box* box);

// The first box of `type` among the boxes laid end to end from `from` up to `limit`.
bool FindBox(ByteSource& source, std::uint64_t from, std::uint64_t limit, std::uint32_t type,
             Box* found);

// The payload of `box` in memory, when it holds at most `maxBytes` bytes.
bool ReadPayload(ByteSource& source, const Box& box, std::size_t maxBytes,
                 std::vector<std::uint8_t>* bytes);

// Big-endian numbers of 1 to 8 bytes.
std::uint64_t BigEndian(const std::uint8_t* bytes, int count);

}  // namespace isobox
