// Path keys where file names are case-sensitive: the path itself.
#include "organize/organize_job.h"

std::string COrganizeJob::PathKey(const std::string& path) {
  return path;
}
