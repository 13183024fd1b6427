// Files that go with a photo or video of the same folder: its .xmp, .aae and .thm files
// (named "IMG_0001.xmp" or "IMG_0001.JPG.xmp"), and the video of a live photo ("IMG_0001.MOV"
// beside "IMG_0001.HEIC").
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct Sidecar {
  std::string name;
  bool followsFullName = false;  // "IMG_0001.JPG.xmp": the main file's whole name leads
};

class SidecarGroups {
 public:
  // Tells from a lower-cased name whether it passes the job's filter.
  using Filter = std::function<bool(const std::string& lowerName)>;

  // Groups the names of one folder's files. A main file is one that passes the filter and is
  // no sidecar itself; a sidecar whose main file is missing or filtered out stays ungrouped
  // (an ordinary file). A live photo's video is grouped only when both pass the filter. When
  // one stem has several main files, the sidecar goes with the first name in sorted order.
  void Group(const std::vector<std::string>& names, const Filter& passes);

  bool IsSidecar(const std::string& name) const { return sidecars_.count(name) != 0; }
  // The sidecars of a main file, empty when it has none.
  const std::vector<Sidecar>& SidecarsOf(const std::string& mainName) const;

 private:
  std::map<std::string, std::vector<Sidecar>> byMain_;
  std::set<std::string> sidecars_;
};

// The names of the files (not folders, nor entries the walk passes over) in `folder`, which
// ends with the separator.
std::vector<std::string> FileNamesIn(const std::string& folder);

// The name a sidecar gets beside its main file once the main file is `mainFinalName`
// (after a clash rename): ("IMG_0001.xmp", "IMG_0001(1).JPG") -> "IMG_0001(1).xmp".
std::string SidecarFinalName(const Sidecar& sidecar, const std::string& mainName,
                             const std::string& mainFinalName);
