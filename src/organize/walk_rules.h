// What a walk takes up, shared by the organize walk and the count that gives the progress line
// its total, so that both always handle the same folders and files: each folder once and
// never the output folder, and of each folder's files those that pass the filter, each
// followed by its sidecars.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "organize/raw_pairs.h"
#include "organize/sidecar_groups.h"
#include "platform/platform.h"

class WalkedFolders {
 public:
  // A walk that keeps out of the folder `outputFolder` (none when empty or missing).
  explicit WalkedFolders(const std::string& outputFolder = "");

  // True the first time the listed folder is met, unless it is the output folder or lies in
  // it on disk, whatever path led to it (a link, other letter case). A folder whose identity
  // the platform cannot tell is entered: the path limit then ends a loop through it.
  bool Enter(const platform::FolderListing& listing);

 private:
  bool hasOutput_ = false;
  platform::FolderId output_;
  std::set<platform::FolderId> met_;      // every folder met, entered or not
  std::set<platform::FolderId> outside_;  // folders known to lie outside the output folder
};

// Which files of one folder the walk places, and what goes with each.
class FolderFiles {
 public:
  // The files of `folder` (ending with the separator) for the filter text `filters`; with
  // `sidecars`, its sidecars are grouped first, with `pairRaws` its raw and photo pairs.
  FolderFiles(const std::string& folder, const std::string& filters, bool sidecars,
              bool pairRaws = false);

  // True when the file `name`, whose lower-cased path is `lowerPath`, is placed on its own:
  // it passes the filter and is no sidecar. Its sidecars are placed right after it.
  bool IsMainFile(const std::string& lowerPath, const std::string& name) const;
  const std::vector<Sidecar>& SidecarsOf(const std::string& mainName) const {
    return sidecars_.SidecarsOf(mainName);
  }
  // The files the walk places for the file `name`: none, or the file and its sidecars.
  int PlacedWith(const std::string& lowerPath, const std::string& name) const {
    return IsMainFile(lowerPath, name) ? 1 + static_cast<int>(SidecarsOf(name).size()) : 0;
  }
  // The raw file or photo that `name` was shot together with, or null.
  const std::string* PartnerOf(const std::string& name) const { return pairs_.PartnerOf(name); }

 private:
  std::string filters_;
  SidecarGroups sidecars_;
  RawPairs pairs_;
};
