#include "organize/sidecar_groups.h"

#include "organize/clash_names.h"
#include "organize/organize_job.h"
#include "platform/platform.h"

namespace {

std::string LowerExtension(const std::string& lowerName) {
  const std::size_t dot = ExtensionStart(lowerName);
  return dot < lowerName.size() ? lowerName.substr(dot + 1) : std::string();
}

bool IsSidecarExtension(const std::string& extension) {
  return extension == "xmp" || extension == "aae" || extension == "thm";
}

std::string LowerStem(const std::string& lowerName) {
  return lowerName.substr(0, ExtensionStart(lowerName));
}

}  // namespace

void SidecarGroups::Group(const std::vector<std::string>& names, const Filter& passes) {
  byMain_.clear();
  sidecars_.clear();

  // Sorted by name, so that the choice among several main files does not depend on the
  // order the file system lists them in.
  std::map<std::string, std::string> lowerOf;
  for (const std::string& name : names) {
    lowerOf.emplace(name, platform::ToLower(name));
  }
  std::set<std::string> heicStems;  // of photos that pass the filter
  for (const auto& [name, lower] : lowerOf) {
    if (LowerExtension(lower) == "heic" && passes(lower)) {
      heicStems.insert(LowerStem(lower));
    }
  }
  auto isLiveVideo = [&](const std::string& lower) {
    return LowerExtension(lower) == "mov" && passes(lower) && heicStems.count(LowerStem(lower));
  };

  std::map<std::string, std::string> mainByLowerName;
  std::map<std::string, std::string> mainByLowerStem;  // the first main file of each stem
  for (const auto& [name, lower] : lowerOf) {
    if (passes(lower) && !IsSidecarExtension(LowerExtension(lower)) && !isLiveVideo(lower)) {
      mainByLowerName.emplace(lower, name);
      mainByLowerStem.emplace(LowerStem(lower), name);
    }
  }

  for (const auto& [name, lower] : lowerOf) {
    const std::string stem = LowerStem(lower);
    const std::string* main = nullptr;
    bool followsFullName = false;
    if (isLiveVideo(lower)) {
      for (const auto& [mainLower, mainName] : mainByLowerName) {
        if (LowerExtension(mainLower) == "heic" && LowerStem(mainLower) == stem) {
          main = &mainName;
          break;
        }
      }
    } else if (IsSidecarExtension(LowerExtension(lower))) {
      if (auto full = mainByLowerName.find(stem); full != mainByLowerName.end()) {
        main = &full->second;
        followsFullName = true;
      } else if (auto byStem = mainByLowerStem.find(stem); byStem != mainByLowerStem.end()) {
        main = &byStem->second;
      }
    }
    if (main != nullptr) {
      byMain_[*main].push_back(Sidecar{name, followsFullName});
      sidecars_.insert(name);
    }
  }
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  platform::FolderListing listing(folder);
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    if (!IsSkippedEntry(listing.Name()) && !listing.IsFolder()) {
      names.push_back(listing.Name());
    }
  }
  return names;
}

const std::vector<Sidecar>& SidecarGroups::SidecarsOf(const std::string& mainName) const {
  static const std::vector<Sidecar> kNone;
  const auto found = byMain_.find(mainName);
  return found == byMain_.end() ? kNone : found->second;
}

std::string SidecarFinalName(const Sidecar& sidecar, const std::string& mainName,
                             const std::string& mainFinalName) {
  if (sidecar.followsFullName) {
    return mainFinalName + sidecar.name.substr(mainName.size());
  }
  return mainFinalName.substr(0, ExtensionStart(mainFinalName)) +
         sidecar.name.substr(ExtensionStart(mainName));
}
