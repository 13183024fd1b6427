// Whether a text may name a folder of its own on this platform.
#pragma once

#include <string>

namespace platform {

// On Windows: false for a device name (CON, NUL, COM1, ... also with an extension), for a
// name holding a character Windows refuses in names or a control character, and for a name
// ending in a dot or a blank (Windows drops those, so the folder would get another name).
// Elsewhere any name without a separator will do. Separators are the caller's concern.
bool IsPlainFolderName(const std::string& name);

}  // namespace platform
