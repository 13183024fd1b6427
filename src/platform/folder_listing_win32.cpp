// Folder listing on Windows: one find handle per listing, entries as the file system returns
// them, each with its attribute bits and last-write time.
#include <windows.h>

#include "platform/file_time_win32.h"
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

// A file or folder opened for its information only, whatever others do with it; null when it
// cannot be opened.
FileHandle OpenForInformation(const std::string& path) {
  const HANDLE handle = CreateFileA(path.empty() ? "." : path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
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
  return impl_->find ? win32::FileTimeOf(impl_->data.ftLastWriteTime) : 0;
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
  return impl_->find && FolderIdentity(impl_->folder, id);
}

bool FolderListing::VisitHolders(const std::function<bool(const FolderId&)>& visit) const {
  const FileHandle folder = impl_->find ? OpenForInformation(impl_->folder) : nullptr;
  // The path the system resolved, through junctions and links: "\\?\C:\a\b" or
  // "\\?\UNC\server\share\a". Each folder above it is opened by its path up to the root.
  // (Asked for the size, Wine leaves the final zero out of it: one more byte serves both.)
  const DWORD size = folder ? GetFinalPathNameByHandleA(folder.get(), nullptr, 0, 0) + 1 : 0;
  std::string real(size, '\0');
  const DWORD length = size > 1 ? GetFinalPathNameByHandleA(folder.get(), real.data(), size, 0) : 0;
  if (length < 2 || length >= size) {
    return false;
  }
  real.resize(length);
  // The backslash before the root: "\\?\|C:\", "\\?\UNC\server\|share\".
  const std::size_t beforeRoot = real.starts_with("\\\\?\\UNC\\") ? real.find('\\', 8) : 3;
  // The root ends with its backslash, any other folder without one.
  for (std::size_t cut = real.find_last_of('\\', length - 2);
       cut != std::string::npos && cut > beforeRoot; cut = real.find_last_of('\\', cut - 1)) {
    FolderId id;
    if (!FolderIdentity(real.substr(0, cut + 1), &id)) {
      return false;
    }
    if (!visit(id)) {
      return true;
    }
  }
  return true;
}

bool FolderIdentity(const std::string& path, FolderId* id) {
  const FileHandle folder = OpenForInformation(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder || !GetFileInformationByHandle(folder.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return false;
  }
  id->device = info.dwVolumeSerialNumber;
  id->node = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace platform
