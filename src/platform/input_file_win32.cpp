// InputFile on Windows: the C runtime's own stream.
#include "platform/platform.h"

namespace platform {

bool InputFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
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

}  // namespace platform
