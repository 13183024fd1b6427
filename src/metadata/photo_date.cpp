#include "metadata/photo_date.h"

#include <algorithm>

#include "metadata/jpeg_meta_reader.h"

namespace {

// The file's stream buffer (4 KiB) serves the markers, lengths and small sections. A larger
// section (an EXIF block with its thumbnail) is read by fread straight into its own buffer,
// past the stream's, so a bigger stream buffer would only copy more of the file for nothing.
std::string DateOfOpenFile(platform::InputFile* file) {
  if (file->Stream() == nullptr) {
    return {};
  }
  PhotoMeta record{};
  CJpegMetaReader reader(&record);
  reader.ReadSections(file->Stream());
  file->Close();
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

}  // namespace

bool HasJpgEnding(const std::string& name) {
  static constexpr char kEnding[] = ".jpg";
  if (name.size() < 4) {
    return false;
  }
  const char* tail = name.data() + name.size() - 4;
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

std::string GetPhotoDate(const std::string& path, const platform::HeldFile* held) {
  platform::InputFile file;
  if (HasJpgEnding(path)) {
    held != nullptr && held->IsOpen() ? file.Open(*held) : file.Open(path);
  }
  return DateOfOpenFile(&file);
}

std::string GetPhotoDate(const platform::FolderListing& listing) {
  platform::InputFile file;
  if (HasJpgEnding(listing.Name())) {
    listing.OpenEntry(&file);
  }
  return DateOfOpenFile(&file);
}
