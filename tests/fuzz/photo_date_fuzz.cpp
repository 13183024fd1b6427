// Feeds each input, as the whole content of a .jpg file, to the photo date lookup: the same
// calls the walk makes, from the file's first byte through its stream to the date text. Both
// ways to name the file (by path, and as an entry of its folder's listing) must agree.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "metadata/jpeg_meta_reader.h"
#include "metadata/photo_date.h"
#include "platform/platform.h"

namespace {

std::string g_folder;  // this process's own folder, holding the one file
std::string g_path;    // the file, rewritten for every input
int g_fd = -1;

// A memory-backed folder when there is one: the file is rewritten for every input.
std::string ScratchParent() {
  if (access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  const char* temp = std::getenv("TMPDIR");
  return temp != nullptr ? temp : "/tmp";
}

std::string DateOfListedFile() {
  platform::FolderListing listing(g_folder);
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    if (listing.Name() == "photo.jpg") {
      return GetPhotoDate(listing);
    }
  }
  std::abort();  // the file must be listed
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetJpegReaderDiagnostics(nullptr);
  g_folder = ScratchParent() + "/photo-date-fuzz-" + std::to_string(getpid()) + "/";
  g_path = g_folder + "photo.jpg";
  mkdir(g_folder.c_str(), 0700);
  g_fd = open(g_path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (g_fd < 0) {
    std::perror(g_path.c_str());
    std::abort();
  }
  std::atexit([] {
    unlink(g_path.c_str());
    rmdir(g_folder.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(g_fd, 0) != 0 ||
      (size > 0 && pwrite(g_fd, data, size, 0) != static_cast<ssize_t>(size))) {
    std::abort();
  }
  const std::string date = GetPhotoDate(g_path);
  // The date comes from a 20-byte field (19 characters and its end) with its colons replaced.
  if (date.size() > 19 || date.find(':') != std::string::npos || DateOfListedFile() != date) {
    std::abort();
  }
  return 0;
}
