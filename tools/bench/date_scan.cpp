// Runs the photo date lookup alone over every .jpg below a folder, the way the organize walk
// reaches them (entries beginning with '.' or '~' are skipped). The benchmark times it against
// other date readers; with --print it lists "path<TAB>date" so their answers can be compared.
#include <cstdio>
#include <cstring>
#include <string>

#include "metadata/jpeg_meta_reader.h"
#include "metadata/photo_date.h"
#include "organize/organize_job.h"
#include "platform/platform.h"

namespace {

struct Counts {
  long files = 0;
  long dated = 0;
};

void Scan(const std::string& folder, bool print, Counts* counts) {
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
      Scan(folder + name + platform::kPathSeparator, print, counts);
    } else if (HasJpgEnding(name)) {
      // The walk's own call: the file is opened relative to the listed folder.
      const std::string date = GetPhotoDate(listing);
      ++counts->files;
      counts->dated += date.empty() ? 0 : 1;
      if (print) {
        std::printf("%s%s\t%s\n", folder.c_str(), name.c_str(), date.c_str());
      }
    }
  } while (listing.Next());
}

}  // namespace

int main(int argc, char** argv) {
  const bool print = argc == 3 && std::strcmp(argv[1], "--print") == 0;
  if (argc != 2 && !print) {
    std::fprintf(stderr, "usage: tallowick-date-scan [--print] FOLDER\n");
    return 2;
  }
  std::string root = argv[argc - 1];
  if (root.back() != platform::kPathSeparator) {
    root += platform::kPathSeparator;
  }
  SetJpegReaderDiagnostics(nullptr);
  Counts counts;
  Scan(root, print, &counts);
  std::fprintf(stderr, "%ld JPEG files, %ld with a date of capture\n", counts.files, counts.dated);
  return 0;
}
