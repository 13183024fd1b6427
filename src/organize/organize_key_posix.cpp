// Destination keys where file names are case-sensitive: the path itself.
#include "organize/organize_job.h"

std::string COrganizeJob::DestinationKey(const std::string& path) {
  return path;
}
