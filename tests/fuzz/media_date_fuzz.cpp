// Fuzz target: every reader of the media date lookup (HEIF, QuickTime, the raw, still image
// and video formats, the JPEG preview and bare EXIF blocks), the AVI date texts and the
// file-name patterns, all on the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "metadata/media_date.h"
#include "metadata/name_date.h"
#include "metadata/tiff_date_reader.h"
#include "metadata/video_date_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const platform::LocalDate latest{2030, 1, 1};
  MemorySource source(data, size);
  for (int kind = static_cast<int>(MediaKind::kHeif);
       kind <= static_cast<int>(MediaKind::kMatroska); ++kind) {
    DayInsideFile(static_cast<MediaKind>(kind), source, latest);
  }
  platform::LocalDate day;
  tiffdate::ReadJpegDay(source, 0, size, &day);
  tiffdate::ReadExifBytesDay(data, size, &day);
  tiffdate::ReadDirectoryDay(source, 0, size, size > 0 && data[0] & 1, 0, &day);
  // The first bytes as a file name and as an AVI date text.
  const std::string_view head(reinterpret_cast<const char*>(data), size < 64 ? size : 64);
  DayFromFileName(std::string(head), &day);
  ParseAviDateText(head, &day);
  return 0;
}
