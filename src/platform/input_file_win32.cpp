// InputFile on Windows: the C runtime's own stream.
#include "platform/platform.h"

namespace platform {

bool InputFile::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  UseBuffer();
  return file_ != nullptr;
}

}  // namespace platform
