// InputFile: a C stream with its buffer inside the object.
#include "platform/platform.h"

namespace platform {

InputFile::~InputFile() {
  Close();
}

void InputFile::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void InputFile::UseBuffer() {
  if (file_ != nullptr) {
    std::setvbuf(file_, buffer_, _IOFBF, sizeof buffer_);
  }
}

}  // namespace platform
