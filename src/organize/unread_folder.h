// The line that names a folder the walk could not read, and why.
#pragma once

#include <string>

#include "platform/platform.h"

// "无法读取文件夹: PATH (reason)", without a line break.
std::string UnreadFolderText(const std::string& folder, platform::ListingError error, int code);
