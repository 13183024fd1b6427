// Internal to the Linux platform layer: the C stream behind InputFile.
#pragma once

#include <cstdio>

namespace platform::posix {

// How a read stream's descriptor is closed when the stream is.
enum class Closing {
  kAtOnce,
  // Added to this thread's pending descriptors, which are closed together: each close is a
  // system call, and on a walk through thousands of photos it was a third of them.
  kWithOthers,
  kNever,  // the descriptor stays open: it is another object's
};

// Opens `name` relative to the folder descriptor `folder` (AT_FDCWD: the current folder) as a
// read stream in mode "rb"; null when it cannot be opened.
std::FILE* OpenReadStream(int folder, const char* name, Closing closing);

// Closes this thread's pending descriptors now. Also done when 64 are pending and when the
// thread ends.
void ClosePendingDescriptors();

}  // namespace platform::posix
