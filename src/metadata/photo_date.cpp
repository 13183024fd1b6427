#include "metadata/photo_date.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "metadata/jpeg_meta_reader.h"

namespace {

// The stream buffer serves the markers, lengths and small sections. A larger section (an EXIF
// block with its thumbnail) is read by fread straight into its own buffer, past this one, so a
// bigger stream buffer would only copy more of the file for nothing.
constexpr std::size_t kStreamBufferBytes = 4 * 1024;

bool HasJpgEnding(const std::string& path) {
  static constexpr char kEnding[] = ".jpg";
  if (path.size() < 4) {
    return false;
  }
  const char* tail = path.data() + path.size() - 4;
  for (int i = 0; i < 4; ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != kEnding[i]) {
      return false;
    }
  }
  return true;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string GetPhotoDate(const std::string& path) {
  if (!HasJpgEnding(path)) {
    return {};
  }

  // Declared before the stream so that it outlives it.
  char buffer[kStreamBufferBytes];
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return {};
  }
  std::setvbuf(file.get(), buffer, _IOFBF, sizeof buffer);

  PhotoMeta record{};
  CJpegMetaReader reader(&record);
  reader.ReadSections(file.get());
  file.reset();
  if (!record.hasExif) {
    return {};
  }

  const char* const taken = record.takenAt;
  std::string date(taken, std::find(taken, taken + sizeof record.takenAt - 1, '\0'));
  const std::size_t blank = date.find(' ');
  if (blank != std::string::npos && blank > 0) {
    date.resize(blank);
  }
  std::replace(date.begin(), date.end(), ':', '-');
  return date;
}
