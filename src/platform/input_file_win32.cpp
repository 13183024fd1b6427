// InputFile on Windows: the C runtime's own stream.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool InputFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  UseBuffer();
  return file_ != nullptr;
}

bool InputFile::Open(const HeldFile& held) {
  Close();
  // A second handle of the same open file: closing the stream closes only that one. Both
  // share one file position, which the copy sets again.
  HANDLE own = nullptr;
  const HANDLE process = GetCurrentProcess();
  const LARGE_INTEGER start{};
  if (!held.IsOpen() || !DuplicateHandle(process, reinterpret_cast<HANDLE>(held.Native()), process,
                                         &own, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
    return false;
  }
  const int fd = SetFilePointerEx(own, start, nullptr, FILE_BEGIN)
                     ? _open_osfhandle(reinterpret_cast<std::intptr_t>(own), _O_RDONLY | _O_BINARY)
                     : -1;
  if (fd < 0) {
    CloseHandle(own);
    return false;
  }
  file_ = _fdopen(fd, "rb");
  if (file_ == nullptr) {
    _close(fd);
  }
  UseBuffer();
  return file_ != nullptr;
}

bool InputFile::Seek(std::int64_t offset) {
  return file_ != nullptr && _fseeki64(file_, offset, SEEK_SET) == 0;
}

std::int64_t InputFile::Size() {
  if (file_ == nullptr || _fseeki64(file_, 0, SEEK_END) != 0) {
    return -1;
  }
  return _ftelli64(file_);
}

HeldFile::~HeldFile() {
  Close();
}

bool HeldFile::Open(const std::string& path) {
  Close();
  // As the copy opens its source: others may read it or delete it, not write to it.
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  handle_ = handle == INVALID_HANDLE_VALUE ? kNone : reinterpret_cast<std::intptr_t>(handle);
  return IsOpen();
}

void HeldFile::Close() {
  if (IsOpen()) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kNone;
  }
}

}  // namespace platform
