#include "organize/folder_layout.h"

namespace {

constexpr const char* kNames[] = {"year-day", "day", "year-month-day", "year-month", "numeric"};

}  // namespace

const char* FolderLayoutName(FolderLayout layout) {
  return kNames[static_cast<int>(layout)];
}

bool ParseFolderLayout(std::string_view name, FolderLayout* layout) {
  for (FolderLayout candidate : kFolderLayouts) {
    if (name == FolderLayoutName(candidate)) {
      *layout = candidate;
      return true;
    }
  }
  return false;
}

FolderLayout EffectiveLayout(const std::string& folderLayoutKey, int isClassifyByYear) {
  FolderLayout layout;
  if (ParseFolderLayout(folderLayoutKey, &layout)) {
    return layout;
  }
  return isClassifyByYear != 0 ? FolderLayout::kYearDay : FolderLayout::kDay;
}
