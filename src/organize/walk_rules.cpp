#include "organize/walk_rules.h"

#include "organize/organize_job.h"

WalkedFolders::WalkedFolders(const std::string& outputFolder) {
  hasOutput_ = !outputFolder.empty() && platform::FolderIdentity(outputFolder, &output_);
  if (hasOutput_) {
    met_.insert(output_);
  }
}

bool WalkedFolders::Enter(const platform::FolderListing& listing) {
  platform::FolderId id;
  if (!listing.Identity(&id)) {
    return true;
  }
  if (!met_.insert(id).second) {
    return false;
  }
  if (!hasOutput_) {
    return true;
  }
  // Up through the folders that hold it, to the first known to lie outside (for a folder
  // reached by its name, its parent): the output folder on the way means it lies inside.
  bool inside = false;
  std::vector<platform::FolderId> climbed;
  const bool whole = listing.VisitHolders([&](const platform::FolderId& holder) {
    inside = holder == output_;
    climbed.push_back(holder);
    return !inside && outside_.count(holder) == 0;
  });
  if (inside) {
    return false;
  }
  // Once the climb came to a known folder or the root, every folder on the way lies outside
  // too. Where it broke off, nothing is known, and the folder is entered.
  if (whole) {
    outside_.insert(id);
    outside_.insert(climbed.begin(), climbed.end());
  }
  return true;
}

FolderFiles::FolderFiles(const std::string& folder, const std::string& filters, bool sidecars,
                         bool pairRaws)
    : filters_(filters) {
  pairRaws = pairRaws && FilterTakesRawPairs(filters_);
  if (!sidecars && !pairRaws) {
    return;
  }
  const std::string lowerFolder = platform::ToLower(folder);
  const auto passes = [&](const std::string& lowerName) {
    return PassesFilter(lowerFolder + lowerName, filters_);
  };
  const std::vector<std::string> names = FileNamesIn(folder);
  if (sidecars) {
    sidecars_.Group(names, passes);
  }
  if (pairRaws) {
    pairs_.Group(names, passes);
  }
}

bool FolderFiles::IsMainFile(const std::string& lowerPath, const std::string& name) const {
  return PassesFilter(lowerPath, filters_) && !sidecars_.IsSidecar(name);
}
