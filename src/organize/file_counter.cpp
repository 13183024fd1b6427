#include "organize/file_counter.h"

#include <utility>

namespace {
constexpr char kSep = platform::kPathSeparator;
}  // namespace

FileCounter::FileCounter(std::string folder, const std::string& target,
                         const OrganizeSettings& settings)
    : settings_(settings), folders_(target) {
  if (!folder.empty() && folder.back() != kSep) {
    folder += kSep;
  }
  thread_ = std::thread([this, folder] {
    platform::FolderListing listing(folder);
    CountFolder(folder, listing);
    done_ = !stop_;
  });
}

FileCounter::~FileCounter() {
  stop_ = true;
  thread_.join();
}

void FileCounter::CountFolder(const std::string& path, platform::FolderListing& listing) {
  if (!listing.IsOpen() || !folders_.Enter(listing)) {
    return;
  }
  const FolderFiles files(path, settings_.fileFilters, settings_.sidecars);
  // The filter sees the lower-cased path, as in the walk.
  const std::string lowerPath = platform::ToLower(path);
  std::string lowerFile;
  do {
    const std::string& name = listing.Name();
    if (IsSkippedEntry(name)) {
      continue;
    }
    if (listing.IsFolder()) {
      const std::string folder = path + name + kSep;
      platform::FolderListing below(listing, name, folder);
      CountFolder(folder, below);
    } else {
      lowerFile.assign(lowerPath).append(platform::ToLower(name));
      count_ += files.PlacedWith(lowerFile, name);
    }
  } while (!stop_ && listing.Next());
}
