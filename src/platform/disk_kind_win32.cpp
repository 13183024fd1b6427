// Disk kinds on Windows: the drive type tells a network drive; the storage driver says whether
// a local volume's disk seeks.
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "platform/disk_kind.h"

namespace platform {

DiskKind DiskKindOf(const std::string& path) {
  char root[MAX_PATH];
  if (!GetVolumePathNameA(path.c_str(), root, sizeof root)) {
    return DiskKind::kUnknown;
  }
  if (GetDriveTypeA(root) == DRIVE_REMOTE) {
    return DiskKind::kRemote;
  }
  // The volume's device ("\\?\Volume{...}" without its final backslash), opened only to ask
  // it, which needs no rights.
  char volume[MAX_PATH];
  if (!GetVolumeNameForVolumeMountPointA(root, volume, sizeof volume)) {
    return DiskKind::kUnknown;
  }
  std::string device = volume;
  if (!device.empty() && device.back() == '\\') {
    device.pop_back();
  }
  const HANDLE handle = CreateFileA(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return DiskKind::kUnknown;
  }
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  query.QueryType = PropertyStandardQuery;
  DEVICE_SEEK_PENALTY_DESCRIPTOR seek{};
  DWORD returned = 0;
  const bool known = DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query,
                                     &seek, sizeof seek, &returned, nullptr) &&
                     returned >= sizeof seek;
  CloseHandle(handle);
  if (!known) {
    return DiskKind::kUnknown;
  }
  return seek.IncursSeekPenalty ? DiskKind::kSpinning : DiskKind::kSolid;
}

}  // namespace platform
