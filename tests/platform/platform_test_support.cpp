#include "platform_test_support.h"

#include <chrono>
#include <cstdint>

namespace platformtest {

platform::FileTime FileTimeOfUtcNoon(int year, int month, int day) {
  using namespace std::chrono;
  const sys_days date{std::chrono::year{year} / month / day};
  const auto noon = date + hours{12};
  return platform::kUnixEpochAsFileTime +
         duration_cast<seconds>(noon.time_since_epoch()).count() * 10'000'000;
}

std::string MixedBytes(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 23);
  }
  return bytes;
}

platform::FileTime ListedWriteTime(const std::string& folder, const std::string& name) {
  platform::FolderListing listing(folder);
  if (listing.IsOpen()) {
    do {
      if (listing.Name() == name) {
        return listing.LastWriteTime();
      }
    } while (listing.Next());
  }
  return 0;
}

}  // namespace platformtest
