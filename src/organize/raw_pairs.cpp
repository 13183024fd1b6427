#include "organize/raw_pairs.h"

#include "metadata/media_date.h"
#include "organize/clash_names.h"
#include "organize/organize_job.h"
#include "platform/platform.h"

namespace {

bool IsPairedPhotoName(const std::string& name) {
  const MediaKind kind = MediaKindOf(name);
  return kind == MediaKind::kJpeg || kind == MediaKind::kHeif;
}

bool TakesAny(const std::string& filters, const std::vector<std::string>& endings) {
  for (const std::string& ending : endings) {
    if (PassesFilter("x." + ending, filters)) {
      return true;
    }
  }
  return false;
}

}  // namespace

void RawPairs::Group(const std::vector<std::string>& names, const Filter& passes) {
  partners_.clear();
  std::map<std::string, std::string> photoByStem;  // the first photo of each lower stem
  std::map<std::string, std::string> sorted;       // name -> lower name
  for (const std::string& name : names) {
    sorted.emplace(name, platform::ToLower(name));
  }
  for (const auto& [name, lower] : sorted) {
    if (IsPairedPhotoName(name) && passes(lower)) {
      photoByStem.emplace(lower.substr(0, ExtensionStart(lower)), name);
    }
  }
  for (const auto& [name, lower] : sorted) {
    if (!IsRawPhotoName(name) || !passes(lower)) {
      continue;
    }
    const auto photo = photoByStem.find(lower.substr(0, ExtensionStart(lower)));
    if (photo != photoByStem.end() && !partners_.count(photo->second)) {
      partners_[name] = photo->second;
      partners_[photo->second] = name;
    }
  }
}

const std::string* RawPairs::PartnerOf(const std::string& name) const {
  const auto found = partners_.find(name);
  return found == partners_.end() ? nullptr : &found->second;
}

bool FilterTakesRawPairs(const std::string& filters) {
  static const std::vector<std::string> kPhotoEndings = {"jpg",  "jpeg", "heic",
                                                         "heif", "hif",  "avif"};
  return TakesAny(filters, RawPhotoEndings()) && TakesAny(filters, kPhotoEndings);
}

std::string WithRawEndings(const std::string& filters) {
  std::string result = filters;
  for (const std::string& ending : RawPhotoEndings()) {
    if (!PassesFilter("x." + ending, result)) {
      result.append(result.empty() ? "" : ",").append(ending);
    }
  }
  return result;
}
