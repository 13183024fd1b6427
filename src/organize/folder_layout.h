// The shapes of the folders a file is placed in under the target, and their names as the
// FolderLayout key and the --layout option write them.
#pragma once

#include <string>
#include <string_view>

enum class FolderLayout {
  kYearDay,       // 2012年\2012-05-17
  kDay,           // 2012-05-17
  kYearMonthDay,  // 2012年\05月\2012-05-17
  kYearMonth,     // 2012年\2012-05
  kNumeric,       // 2012\05\17
};

// Every layout, in the order the choices are offered.
inline constexpr FolderLayout kFolderLayouts[] = {FolderLayout::kYearDay, FolderLayout::kDay,
                                                  FolderLayout::kYearMonthDay,
                                                  FolderLayout::kYearMonth, FolderLayout::kNumeric};

// The layout's short ASCII name ("year-day", "day", "year-month-day", "year-month", "numeric").
const char* FolderLayoutName(FolderLayout layout);

// The layout named `name` (exactly as FolderLayoutName writes it). False for any other text.
bool ParseFolderLayout(std::string_view name, FolderLayout* layout);

// The layout a job uses: the one the FolderLayout key names, else (empty or unknown) the one
// IsClassifyByYear chooses, year folders above the days unless it is 0.
FolderLayout EffectiveLayout(const std::string& folderLayoutKey, int isClassifyByYear);
