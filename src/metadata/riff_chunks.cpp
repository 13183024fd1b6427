#include "metadata/riff_chunks.h"

#include "metadata/iso_boxes.h"

namespace riff {

bool ReadChunk(ByteSource& source, std::uint64_t offset, std::uint64_t limit, Chunk* chunk) {
  std::uint8_t header[12];
  if (offset > limit || limit - offset < 8 || !source.ReadAt(offset, header, 8)) {
    return false;
  }
  chunk->id = static_cast<std::uint32_t>(isobox::BigEndian(header, 4));
  const std::uint64_t size = std::uint64_t{header[4]} | std::uint64_t{header[5]} << 8 |
                             std::uint64_t{header[6]} << 16 | std::uint64_t{header[7]} << 24;
  chunk->data = offset + 8;
  chunk->end = size > limit - chunk->data ? limit : chunk->data + size;
  chunk->form = 0;
  if (chunk->id == isobox::FourCc("RIFF") || chunk->id == isobox::FourCc("LIST")) {
    if (chunk->end - chunk->data < 4 || !source.ReadAt(chunk->data, header + 8, 4)) {
      return false;
    }
    chunk->form = static_cast<std::uint32_t>(isobox::BigEndian(header + 8, 4));
    chunk->data += 4;
  }
  return true;
}

}  // namespace riff
