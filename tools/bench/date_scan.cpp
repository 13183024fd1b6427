// Runs the photo date lookup alone over every .jpg below a folder, the way the organize walk
// reaches them (entries beginning with '.' or '~' are skipped). The benchmark times it against
// other date readers; with --print it lists "path<TAB>date" so their answers can be compared.
// With --media it runs the media date lookup instead (JPEG, HEIF, videos, then file names) on
// every file whose ending it reads.
#include <cstdio>
#include <cstring>
#include <string>

#include "metadata/jpeg_meta_reader.h"
#include "metadata/media_date.h"
#include "metadata/photo_date.h"
#include "organize/organize_job.h"
#include "platform/platform.h"

namespace {

struct Counts {
  long files = 0;
  long dated = 0;
};

struct ScanOptions {
  bool print = false;
  bool media = false;
};

// The media lookup's day as "YYYY-MM-DD", or an empty text.
std::string MediaDayText(const platform::FolderListing& listing, const std::string& folder) {
  const MediaDay found = FindMediaDay(listing, folder);
  if (found.source == DaySource::kNone) {
    return {};
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", found.day.year, found.day.month,
                found.day.day);
  return text;
}

void Scan(const std::string& folder, const ScanOptions& options, Counts* counts) {
  platform::FolderListing listing(folder);
  if (!listing.IsOpen()) {
    return;
  }
  do {
    const std::string& name = listing.Name();
    if (IsSkippedEntry(name)) {
      continue;
    }
    if (listing.IsFolder()) {
      Scan(folder + name + platform::kPathSeparator, options, counts);
    } else if (options.media ? MediaKindOf(name) != MediaKind::kOther : HasJpgEnding(name)) {
      // The walk's own calls: the file is opened relative to the listed folder.
      const std::string date =
          options.media ? MediaDayText(listing, folder) : GetPhotoDate(listing);
      ++counts->files;
      counts->dated += date.empty() ? 0 : 1;
      if (options.print) {
        std::printf("%s%s\t%s\n", folder.c_str(), name.c_str(), date.c_str());
      }
    }
  } while (listing.Next());
}

}  // namespace

int main(int argc, char** argv) {
  ScanOptions options;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--print") == 0) {
      options.print = true;
    } else if (std::strcmp(argv[i], "--media") == 0) {
      options.media = true;
    } else {
      argc = 0;
    }
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: tallowick-date-scan [--print] [--media] FOLDER\n");
    return 2;
  }
  std::string root = argv[argc - 1];
  if (root.back() != platform::kPathSeparator) {
    root += platform::kPathSeparator;
  }
  SetJpegReaderDiagnostics(nullptr);
  Counts counts;
  Scan(root, options, &counts);
  std::fprintf(stderr, "%ld %s files, %ld with a date of capture\n", counts.files,
               options.media ? "media" : "JPEG", counts.dated);
  return 0;
}
