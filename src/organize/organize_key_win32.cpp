// Path keys where file names ignore letter case: two paths that differ only in case name
// the same file, so they share one key.
#include "organize/organize_job.h"
#include "platform/platform.h"

std::string COrganizeJob::PathKey(const std::string& path) {
  return platform::ToLower(path);
}
