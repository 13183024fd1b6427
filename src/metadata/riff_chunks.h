// Chunks of RIFF files (AVI videos, WebP images): a four-character id, a 32-bit little-endian
// size and the data, padded to an even length. LIST and RIFF chunks hold a form type and
// chunks of their own. Every chunk is checked against the end of what holds it.
#pragma once

#include <cstdint>

#include "metadata/byte_source.h"

namespace riff {

// Chunks looked at on one level before a search gives up.
constexpr int kMaxChunksPerLevel = 1024;

struct Chunk {
  std::uint32_t id = 0;    // the four characters, first one in the high byte
  std::uint32_t form = 0;  // for RIFF and LIST chunks: the form or list type
  std::uint64_t data = 0;  // offset of the data (after the form type for RIFF and LIST)
  std::uint64_t end = 0;   // one past the data, before any padding byte
  std::uint64_t Next() const { return end + (end & 1); }
};

// The chunk whose header starts at `offset`; false when it does not fit before `limit`. A
// chunk claiming to run past `limit` is cut there (writers that stopped early leave such
// sizes), so its known part can still be read.
bool ReadChunk(ByteSource& source, std::uint64_t offset, std::uint64_t limit, Chunk* chunk);

// Visits the chunks from `from` to `limit` in order until `visit` returns true (then true).
template <typename Visit>
bool ForEachChunk(ByteSource& source, std::uint64_t from, std::uint64_t limit, Visit visit) {
  std::uint64_t offset = from;
  for (int i = 0; i < kMaxChunksPerLevel; ++i) {
    Chunk chunk;
    if (!ReadChunk(source, offset, limit, &chunk)) {
      return false;
    }
    if (visit(chunk)) {
      return true;
    }
    offset = chunk.Next();
  }
  return false;
}

}  // namespace riff
