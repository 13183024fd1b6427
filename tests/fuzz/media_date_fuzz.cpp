// Fuzz target: the HEIF and QuickTime box readers and the file-name patterns on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "metadata/media_date.h"
#include "metadata/name_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const platform::LocalDate latest{2030, 1, 1};
  MemorySource source(data, size);
  DayInsideBoxes(MediaKind::kHeif, source, latest);
  DayInsideBoxes(MediaKind::kQuickTime, source, latest);
  // The first bytes as a file name.
  platform::LocalDate day;
  DayFromFileName(std::string(reinterpret_cast<const char*>(data), size < 64 ? size : 64), &day);
  return 0;
}
