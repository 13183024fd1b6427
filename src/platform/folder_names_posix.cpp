#include "platform/folder_names.h"

namespace platform {

bool IsPlainFolderName(const std::string& name) {
  return !name.empty();
}

}  // namespace platform
