#include "metadata/byte_source.h"

#include <cstring>

namespace {

bool FitsIn(std::uint64_t offset, std::size_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace

bool MemorySource::ReadAt(std::uint64_t offset, void* out, std::size_t length) {
  if (!FitsIn(offset, length, size_)) {
    return false;
  }
  if (length > 0) {
    std::memcpy(out, data_ + offset, length);
  }
  return true;
}

FileSource::FileSource(platform::InputFile* file) : file_(file) {
  const std::int64_t size = file->Stream() != nullptr ? file->Size() : -1;
  size_ = size > 0 ? static_cast<std::uint64_t>(size) : 0;
}

bool FileSource::ReadAt(std::uint64_t offset, void* out, std::size_t length) {
  if (!FitsIn(offset, length, size_)) {
    return false;
  }
  if (!positioned_ || position_ != offset) {
    positioned_ = file_->Seek(static_cast<std::int64_t>(offset));
    if (!positioned_) {
      return false;
    }
  }
  const std::size_t got = std::fread(out, 1, length, file_->Stream());
  position_ = offset + got;
  return got == length;
}
