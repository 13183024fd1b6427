#include "organize/unread_folder.h"

std::string UnreadFolderText(const std::string& folder, platform::ListingError error, int code) {
  std::string reason;
  switch (error) {
    case platform::ListingError::kDenied:
      reason = "没有权限";
      break;
    case platform::ListingError::kMissing:
      reason = "文件夹已不存在";
      break;
    case platform::ListingError::kPathTooLong:
      reason = "路径太长";
      break;
    case platform::ListingError::kTooManyOpen:
      reason = "目录层次太深, 打开的文件太多";
      break;
    case platform::ListingError::kNone:
    case platform::ListingError::kOther:
      reason = "错误 " + std::to_string(code);
      break;
  }
  return "无法读取文件夹: " + folder + " (" + reason + ")";
}
