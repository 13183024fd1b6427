// InputFile on Linux: streams over descriptors opened without blocking, so a FIFO that carries
// a photo's name cannot stall the walk (its read just finds no data).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "platform/platform.h"
#include "platform/read_stream_posix.h"

namespace platform {
namespace posix {
namespace {

// Descriptors whose streams are closed, kept open until a batch is full. Closing a run of
// consecutive descriptors takes one close_range call; a freshly opened descriptor is the
// lowest free number, so the photos of one folder mostly form a single run.
class PendingDescriptors {
 public:
  ~PendingDescriptors() { CloseAll(); }

  void Add(int fd) {
    fds_[count_++] = fd;
    if (count_ == kCapacity) {
      CloseAll();
    }
  }

  void CloseAll() {
    std::sort(fds_, fds_ + count_);
    for (int first = 0; first < count_;) {
      int last = first;
      while (last + 1 < count_ && fds_[last + 1] == fds_[last] + 1) {
        ++last;
      }
      CloseRun(fds_[first], fds_[last]);
      first = last + 1;
    }
    count_ = 0;
  }

 private:
  static constexpr int kCapacity = 64;

  // Every descriptor from `low` to `high` is one of ours.
  static void CloseRun(int low, int high) {
    if (low == high || close_range(low, high, 0) != 0) {
      for (int fd = low; fd <= high; ++fd) {
        close(fd);
      }
    }
  }

  int fds_[kCapacity];
  int count_ = 0;
};

thread_local PendingDescriptors pending;

// fdopen would first ask the descriptor for its flags, one more system call for every photo;
// a stream made of these functions makes none of its own.
int DescriptorOf(void* cookie) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(cookie));
}

ssize_t ReadDescriptor(void* cookie, char* data, std::size_t size) {
  return read(DescriptorOf(cookie), data, size);
}

// Used only by InputFile::Seek and Size: closing a read stream does not seek.
int SeekDescriptor(void* cookie, off64_t* position, int whence) {
  const off64_t reached = lseek64(DescriptorOf(cookie), *position, whence);
  if (reached < 0) {
    return -1;
  }
  *position = reached;
  return 0;
}

int CloseDescriptor(void* cookie) {
  return close(DescriptorOf(cookie));
}

int CloseDescriptorWithOthers(void* cookie) {
  pending.Add(DescriptorOf(cookie));
  return 0;
}

int KeepDescriptor(void*) {
  return 0;
}

// A read stream over the descriptor `fd`, closed as `closing` says; null when none can be made
// (the descriptor is then closed unless kept).
std::FILE* StreamOf(int fd, Closing closing) {
  const cookie_io_functions_t functions{ReadDescriptor, nullptr, SeekDescriptor,
                                        closing == Closing::kAtOnce  ? CloseDescriptor
                                        : closing == Closing::kNever ? KeepDescriptor
                                                                     : CloseDescriptorWithOthers};
  std::FILE* stream =
      fopencookie(reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)), "rb", functions);
  if (stream == nullptr && closing != Closing::kNever) {
    close(fd);
  }
  return stream;
}

}  // namespace

std::FILE* OpenReadStream(int folder, const char* name, Closing closing) {
  const int fd = openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  return fd < 0 ? nullptr : StreamOf(fd, closing);
}

void ClosePendingDescriptors() {
  pending.CloseAll();
}

}  // namespace posix

bool InputFile::Open(const std::string& path) {
  Close();
  file_ = posix::OpenReadStream(AT_FDCWD, path.c_str(), posix::Closing::kAtOnce);
  UseBuffer();
  return file_ != nullptr;
}

bool InputFile::Open(const HeldFile& held) {
  Close();
  const int fd = static_cast<int>(held.Native());
  if (held.IsOpen() && lseek(fd, 0, SEEK_SET) == 0) {
    file_ = posix::StreamOf(fd, posix::Closing::kNever);
  }
  UseBuffer();
  return file_ != nullptr;
}

HeldFile::~HeldFile() {
  Close();
}

bool HeldFile::Open(const std::string& path) {
  Close();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    return false;
  }
  // Its head is read first and all of it next: one request for the first 128 KB, where the
  // head's first read would fetch only 16 KB and the copy then ask for the rest.
  posix_fadvise(fd, 0, 128 * 1024, POSIX_FADV_WILLNEED);
  handle_ = fd;
  return true;
}

void HeldFile::Close() {
  if (handle_ != kNone) {
    close(static_cast<int>(handle_));
    handle_ = kNone;
  }
}

bool InputFile::Seek(std::int64_t offset) {
  return file_ != nullptr && fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

std::int64_t InputFile::Size() {
  if (file_ == nullptr || fseeko(file_, 0, SEEK_END) != 0) {
    return -1;
  }
  return ftello(file_);
}

}  // namespace platform
