// Random access to the bytes of a file for the box readers: every read names its offset and
// length, and fails unless all of those bytes are there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Bytes in the file.
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `length` bytes at `offset`; false when any of them is missing.
  virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t length) = 0;
};

// Bytes held in memory (tests, the fuzz target).
class MemorySource : public ByteSource {
 public:
  MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// An open file; reads seek only when they do not continue where the last one ended.
class FileSource : public ByteSource {
 public:
  // Size() is 0 when the file's size cannot be found (a pipe, a device).
  explicit FileSource(platform::InputFile* file);
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override;

 private:
  platform::InputFile* file_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
  bool positioned_ = false;  // the stream stands at position_
};
