// Runs the photo date lookup alone over every .jpg below a folder, the way the organize walk
// reaches them (entries beginning with '.' or '~' are skipped). The benchmark times it against
// other date readers; with --print it lists "path<TAB>date" so their answers can be compared.
// With --media it runs the media date lookup instead (JPEG, HEIF, raw photos, other images,
// videos, then file names) on every file whose ending it reads; --trace (with --media) lists
// instead the byte ranges each read asks for ("path<TAB>offset<TAB>length"), and --replay LIST
// reads exactly those ranges with unbuffered reads and no parsing: the bare cost of the same
// bytes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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
  bool trace = false;
};

// Passes reads on and lists each one.
class TracingSource : public ByteSource {
 public:
  TracingSource(ByteSource& inner, const std::string& path) : inner_(inner), path_(path) {}
  std::uint64_t Size() const override { return inner_.Size(); }
  bool ReadAt(std::uint64_t offset, void* out, std::size_t length) override {
    std::printf("%s\t%llu\t%zu\n", path_.c_str(), static_cast<unsigned long long>(offset), length);
    return inner_.ReadAt(offset, out, length);
  }

 private:
  ByteSource& inner_;
  const std::string& path_;
};

void TraceReads(const platform::FolderListing& listing, const std::string& path) {
  platform::InputFile file;
  if (listing.OpenEntry(&file)) {
    FileSource source(&file);
    TracingSource tracing(source, path);
    DayInsideFile(MediaKindOf(path), tracing, platform::LocalDate{9999, 12, 31});
  }
}

// Reads the listed ranges, file after file, unbuffered; returns the bytes read.
long long Replay(const char* list) {
  std::FILE* in = std::fopen(list, "r");
  if (in == nullptr) {
    return -1;
  }
  long long total = 0;
  std::string open;
  std::FILE* file = nullptr;
  std::vector<char> buffer;
  char line[8192];
  while (std::fgets(line, sizeof line, in) != nullptr) {
    char* tab = std::strchr(line, '\t');
    if (tab == nullptr) {
      continue;
    }
    *tab = '\0';
    unsigned long long offset = 0;
    std::size_t length = 0;
    if (std::sscanf(tab + 1, "%llu %zu", &offset, &length) != 2) {
      continue;
    }
    if (open != line) {
      if (file != nullptr) {
        std::fclose(file);
      }
      open = line;
      file = std::fopen(line, "rb");
      if (file != nullptr) {
        std::setvbuf(file, nullptr, _IONBF, 0);
      }
    }
    buffer.resize(std::max(buffer.size(), length));
    if (file != nullptr && std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0) {
      total += static_cast<long long>(std::fread(buffer.data(), 1, length, file));
    }
  }
  if (file != nullptr) {
    std::fclose(file);
  }
  std::fclose(in);
  return total;
}

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
    } else if (options.trace && MediaKindOf(name) != MediaKind::kOther &&
               MediaKindOf(name) != MediaKind::kJpeg) {
      TraceReads(listing, folder + name);
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
    } else if (std::strcmp(argv[i], "--trace") == 0) {
      options.trace = true;
    } else if (std::strcmp(argv[i], "--replay") == 0 && argc == 3) {
      const long long bytes = Replay(argv[2]);
      std::fprintf(stderr, "%lld bytes read\n", bytes);
      return bytes < 0 ? 1 : 0;
    } else {
      argc = 0;
    }
  }
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: tallowick-date-scan [--print] [--media] [--trace] FOLDER\n"
                 "       tallowick-date-scan --replay LIST\n");
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
