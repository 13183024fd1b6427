#include "organize/same_content.h"

#include <cstring>
#include <memory>

#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

bool HaveSameContent(const std::string& first, const std::string& second) {
  platform::FileInfo firstInfo;
  platform::FileInfo secondInfo;
  if (!platform::ReadFileInfo(first, &firstInfo) || !platform::ReadFileInfo(second, &secondInfo) ||
      firstInfo.size != secondInfo.size) {
    return false;
  }
  platform::InputFile a;
  platform::InputFile b;
  if (!a.Open(first) || !b.Open(second)) {
    return false;
  }
  const std::unique_ptr<char[]> buffers(new char[2 * kChunk]);
  char* const bufferA = buffers.get();
  char* const bufferB = bufferA + kChunk;
  std::uint64_t compared = 0;
  for (;;) {
    const std::size_t readA = std::fread(bufferA, 1, kChunk, a.Stream());
    const std::size_t readB = std::fread(bufferB, 1, kChunk, b.Stream());
    if (readA != readB || std::memcmp(bufferA, bufferB, readA) != 0) {
      return false;
    }
    compared += readA;
    if (readA < kChunk) {
      // Both ended together: equal only when neither failed and all bytes were seen (a file
      // that changed size meanwhile does not count as the same).
      return !std::ferror(a.Stream()) && !std::ferror(b.Stream()) && compared == firstInfo.size;
    }
  }
}
