// Raw photos shot together with a JPEG or HEIF photo of the same name in the same folder
// ("IMG_0001.CR2" beside "IMG_0001.JPG"). With media dates on, a file of such a pair that
// holds no date of its own takes its partner's, so both land in one day folder. Decided on
// the walk's thread, per folder, before its files are placed.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class RawPairs {
 public:
  // Tells from a lower-cased name whether it passes the job's filter.
  using Filter = std::function<bool(const std::string& lowerName)>;

  // Pairs the names of one folder's files: each raw photo that passes the filter with the
  // photo of the same stem (any letter case) that passes it too; with several such photos,
  // the first in sorted order.
  void Group(const std::vector<std::string>& names, const Filter& passes);

  // The partner of `name`, or null when it has none.
  const std::string* PartnerOf(const std::string& name) const;

 private:
  std::map<std::string, std::string> partners_;  // both ways
};

// True when the filter text takes some raw photo ending and some JPEG or HEIF one, so that a
// folder may hold pairs at all.
bool FilterTakesRawPairs(const std::string& filters);

// The filter text with the raw photo endings it does not take yet appended ("jpg,avi" ->
// "jpg,avi,cr2,nef,..."): what the options dialog's "加入 RAW 格式" does.
std::string WithRawEndings(const std::string& filters);
