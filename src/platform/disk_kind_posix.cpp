// Disk kinds on Linux: a block device says whether it spins (sysfs); a file system without
// one is told by its type.
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <string>

#include "platform/disk_kind.h"

namespace platform {
namespace {

// Types of file systems whose every request goes to another machine or program.
constexpr unsigned long kRemoteTypes[] = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE (sshfs, rclone mounts, phones over MTP)
    0x01021997,  // 9P
    0x00C36400,  // Ceph
    0x5346414F,  // AFS
};

// The "rotational" flag of the block device `device`, or of the disk its partition lies on:
// '1', '0', or 0 when there is none.
char RotationalFlag(dev_t device) {
  char base[64];
  std::snprintf(base, sizeof base, "/sys/dev/block/%u:%u/", major(device), minor(device));
  for (const char* flag : {"queue/rotational", "../queue/rotational"}) {
    if (std::FILE* file = std::fopen((std::string(base) + flag).c_str(), "r")) {
      const int value = std::fgetc(file);
      std::fclose(file);
      return value == '0' || value == '1' ? static_cast<char>(value) : 0;
    }
  }
  return 0;
}

}  // namespace

DiskKind DiskKindOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return DiskKind::kUnknown;
  }
  const char rotational = RotationalFlag(info.st_dev);
  if (rotational != 0) {
    return rotational == '1' ? DiskKind::kSpinning : DiskKind::kSolid;
  }
  struct statfs system {};
  if (statfs(path.c_str(), &system) != 0) {
    return DiskKind::kUnknown;
  }
  for (const unsigned long type : kRemoteTypes) {
    if (static_cast<unsigned long>(system.f_type) == type) {
      return DiskKind::kRemote;
    }
  }
  return DiskKind::kUnknown;
}

}  // namespace platform
