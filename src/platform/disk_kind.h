// What kind of disk holds a folder: how many requests at once suit it.
#pragma once

#include <string>

namespace platform {

enum class DiskKind {
  kUnknown,   // the platform cannot tell
  kSpinning,  // a local disk whose head seeks between files
  kSolid,     // a local disk without seeks: SSD, flash card or stick
  kRemote,    // a network share, or files served by a program (FUSE): each request waits
};

// The kind of disk the existing folder or file at `path` lies on.
DiskKind DiskKindOf(const std::string& path);

}  // namespace platform
