#include "organize/job_count.h"

#include "platform/disk_kind.h"

namespace {

// Measured (docs/speed.md, "Slow share"): on a share whose every request waits, files at once
// multiply the speed up to about this many; on a local disk that does not seek, this many cost
// nothing.
constexpr int kRemoteJobs = 8;
constexpr int kLocalJobs = 4;

}  // namespace

int AutomaticJobs(const std::string& source, const std::string& target) {
  const platform::DiskKind from = platform::DiskKindOf(source);
  // Several readers would make the head jump between files: one at a time, as ever.
  if (from == platform::DiskKind::kSpinning) {
    return 1;
  }
  if (from == platform::DiskKind::kRemote ||
      platform::DiskKindOf(target) == platform::DiskKind::kRemote) {
    return kRemoteJobs;
  }
  return kLocalJobs;
}
