// Internal to the Linux platform layer: the C stream behind InputFile.
#pragma once

#include <cstdio>

namespace platform::posix {

// Opens `name` relative to the folder descriptor `folder` (AT_FDCWD: the current folder) as a
// read stream in mode "rb"; null when it cannot be opened.
std::FILE* OpenReadStream(int folder, const char* name);

}  // namespace platform::posix
