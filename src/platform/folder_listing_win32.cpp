// Folder listing on Windows: one find handle per listing, entries as the file system returns
// them, each with its attribute bits and last-write time.
#include <windows.h>

#include "platform/platform.h"

namespace platform {
namespace {

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

ListingError ListingErrorOf(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
    case ERROR_FILE_NOT_FOUND:  // an empty drive root: not even "." is found
    case ERROR_NO_MORE_FILES:
      return ListingError::kNone;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return ListingError::kDenied;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_NAME:
      return ListingError::kMissing;
    case ERROR_FILENAME_EXCED_RANGE:
      return ListingError::kPathTooLong;
    case ERROR_TOO_MANY_OPEN_FILES:
      return ListingError::kTooManyOpen;
    default:
      return ListingError::kOther;
  }
}

}  // namespace

struct FolderListing::Impl {
  std::string folder;
  FindHandle find;
  WIN32_FIND_DATAA data{};
  std::string name;
  DWORD error = ERROR_SUCCESS;
};

FolderListing::FolderListing(const std::string& folder) : impl_(std::make_unique<Impl>()) {
  impl_->folder = folder;
  const std::string pattern = folder + "*";
  // The basic information skips the short 8.3 names, and the large fetch reads many entries
  // per call: both only make long folders faster.
  HANDLE find = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &impl_->data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find != INVALID_HANDLE_VALUE) {
    impl_->find.reset(find);
    impl_->name.assign(impl_->data.cFileName);
  } else {
    impl_->error = GetLastError();
  }
}

// The find functions take only full paths: the subfolder is listed by its path.
FolderListing::FolderListing(const FolderListing& /*parent*/, const std::string& /*name*/,
                             const std::string& folder)
    : FolderListing(folder) {}

FolderListing::~FolderListing() = default;

bool FolderListing::IsOpen() const {
  return impl_->find != nullptr;
}

const std::string& FolderListing::Name() const {
  return impl_->name;
}

bool FolderListing::IsFolder() const {
  return impl_->find && (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderListing::IsLink() const {
  return impl_->find && (impl_->data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FileTime FolderListing::LastWriteTime() const {
  if (!impl_->find) {
    return 0;
  }
  const FILETIME& written = impl_->data.ftLastWriteTime;
  return static_cast<FileTime>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) |
                               written.dwLowDateTime);
}

bool FolderListing::OpenEntry(InputFile* file) const {
  file->Close();
  return impl_->find && file->Open(impl_->folder + impl_->name);
}

bool FolderListing::IsHiddenSystem() const {
  constexpr DWORD kBoth = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return impl_->find && (impl_->data.dwFileAttributes & kBoth) == kBoth;
}

bool FolderListing::Next() {
  if (!impl_->find) {
    return false;
  }
  if (!FindNextFileA(impl_->find.get(), &impl_->data)) {
    impl_->error = GetLastError();
    return false;
  }
  impl_->name.assign(impl_->data.cFileName);
  return true;
}

ListingError FolderListing::Error() const {
  return ListingErrorOf(impl_->error);
}

int FolderListing::ErrorCode() const {
  return static_cast<int>(impl_->error);
}

bool FolderListing::Identity(FolderId* id) const {
  if (!impl_->find) {
    return false;
  }
  const char* path = impl_->folder.empty() ? "." : impl_->folder.c_str();
  HANDLE folder = CreateFileA(path, FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) {
    return false;
  }
  FileHandle owner(folder);
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder, &info)) {
    return false;
  }
  id->device = info.dwVolumeSerialNumber;
  id->node = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace platform
