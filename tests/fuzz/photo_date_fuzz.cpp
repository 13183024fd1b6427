// Feeds each input, as the whole content of a .jpg file, to the photo date lookup: the same
// call the walk makes, from the file's first byte through its stream to the date text.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "metadata/jpeg_meta_reader.h"
#include "metadata/photo_date.h"

namespace {

std::string g_path;  // this process's own file, rewritten for every input
int g_fd = -1;

// A memory-backed folder when there is one: the file is rewritten for every input.
std::string ScratchFolder() {
  if (access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  const char* temp = std::getenv("TMPDIR");
  return temp != nullptr ? temp : "/tmp";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetJpegReaderDiagnostics(nullptr);
  g_path = ScratchFolder() + "/photo-date-fuzz-" + std::to_string(getpid()) + ".jpg";
  g_fd = open(g_path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (g_fd < 0) {
    std::perror(g_path.c_str());
    std::abort();
  }
  std::atexit([] { unlink(g_path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(g_fd, 0) != 0 ||
      (size > 0 && pwrite(g_fd, data, size, 0) != static_cast<ssize_t>(size))) {
    std::abort();
  }
  const std::string date = GetPhotoDate(g_path);
  // The date comes from a 20-byte field (19 characters and its end) with its colons replaced.
  if (date.size() > 19 || date.find(':') != std::string::npos) {
    std::abort();
  }
  return 0;
}
