// Internal to the Linux platform layer, open to its tests: the two ways a copy is written.
#pragma once

#include <string>

namespace platform::posix {

enum class CopyWay {
  kUnnamedFile,    // an O_TMPFILE file, named by linking once complete
  kTemporaryName,  // a hidden temporary file, renamed once complete
};

// CopyFileNoOverwrite written in the given way only (false also where that way is not
// available), and without its early test for an existing destination: the final naming step
// alone must refuse one, as when the name appears while the copy is written.
bool CopyFileUsing(CopyWay way, const std::string& source, const std::string& destination);

}  // namespace platform::posix
