// InputFile on Linux: streams over descriptors opened without blocking, so a FIFO that carries
// a photo's name cannot stall the walk (its read just finds no data).
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

#include "platform/platform.h"
#include "platform/read_stream_posix.h"

namespace platform {
namespace posix {
namespace {

// fdopen would first ask the descriptor for its flags, one more system call for every photo;
// a stream made of these two functions makes none of its own.
int DescriptorOf(void* cookie) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(cookie));
}

ssize_t ReadDescriptor(void* cookie, char* data, std::size_t size) {
  return read(DescriptorOf(cookie), data, size);
}

int CloseDescriptor(void* cookie) {
  return close(DescriptorOf(cookie));
}

}  // namespace

std::FILE* OpenReadStream(int folder, const char* name) {
  const int fd = openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return nullptr;
  }
  const cookie_io_functions_t functions{ReadDescriptor, nullptr, nullptr, CloseDescriptor};
  std::FILE* stream =
      fopencookie(reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)), "rb", functions);
  if (stream == nullptr) {
    close(fd);
  }
  return stream;
}

}  // namespace posix

bool InputFile::Open(const std::string& path) {
  Close();
  file_ = posix::OpenReadStream(AT_FDCWD, path.c_str());
  UseBuffer();
  return file_ != nullptr;
}

}  // namespace platform
