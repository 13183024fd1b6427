// The line that names a folder the walk could not read, and why.
#pragma once

#include <string>

#include "platform/platform.h"

// "无法读取文件夹: PATH (reason)", without a line break.
std::string UnreadFolderText(const std::string& folder, platform::ListingError error, int code);

// The summary's second line when folders could not be read: "未能读取的文件夹 N 个".
inline std::string UnreadFoldersLine(int count) {
  return "未能读取的文件夹 " + std::to_string(count) + " 个";
}
