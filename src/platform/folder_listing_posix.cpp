// Folder listing on Linux: one open DIR* per listing, entries in readdir's order. The folder
// flag comes from the entry's type when the file system reports one; a stat is made only for
// links and untyped entries, or when the last-write time is asked for, and at most once per
// entry.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/file_time_posix.h"
#include "platform/platform.h"
#include "platform/read_stream_posix.h"

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

ListingError ListingErrorOf(int code) {
  switch (code) {
    case 0:
      return ListingError::kNone;
    case EACCES:
    case EPERM:
      return ListingError::kDenied;
    case ENOENT:
    case ENOTDIR:
      return ListingError::kMissing;
    case ENAMETOOLONG:
      return ListingError::kPathTooLong;
    case EMFILE:
    case ENFILE:
      return ListingError::kTooManyOpen;
    default:
      return ListingError::kOther;
  }
}

// Opens a folder for listing, relative to `parent` (AT_FDCWD: the current folder). When no
// descriptor is left, the photos' descriptors still pending are closed and it is tried again.
DIR* OpenFolder(int parent, const char* path) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = openat(parent, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
      DIR* dir = fdopendir(fd);
      if (dir == nullptr) {
        const int code = errno;
        close(fd);
        errno = code;
      }
      return dir;
    }
    if (errno != EMFILE || attempt > 0) {
      break;
    }
    posix::ClosePendingDescriptors();
  }
  return nullptr;
}

bool IdentityOf(int fd, FolderId* id) {
  struct stat info;
  if (fstat(fd, &info) != 0) {
    return false;
  }
  *id = FolderId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  return true;
}

}  // namespace

struct FolderListing::Impl {
  DirHandle dir;
  std::string name;
  unsigned char type = DT_UNKNOWN;
  int error = 0;  // errno of a failed open or read
  // The current entry's stat, following links (the link's own for a broken link).
  mutable bool statDone = false;
  mutable bool statOk = false;
  mutable struct stat info {};

  bool Read() {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (entry == nullptr) {
      error = errno;
      return false;
    }
    name.assign(entry->d_name);
    type = entry->d_type;
    statDone = false;
    return true;
  }

  void Open(int parent, const char* path) {
    dir.reset(OpenFolder(parent, path));
    if (!dir) {
      error = errno;
      return;
    }
    // Like FindFirstFile: an open listing stands on its first entry, and a folder that gives
    // no entry at all is not open.
    if (!Read()) {
      dir.reset();
    }
  }

  const struct stat* Stat() const {
    if (!statDone) {
      statDone = true;
      const int fd = dirfd(dir.get());
      statOk = fstatat(fd, name.c_str(), &info, 0) == 0 ||
               fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    }
    return statOk ? &info : nullptr;
  }
};

FolderListing::FolderListing(const std::string& folder) : impl_(std::make_unique<Impl>()) {
  // An empty path lists the current folder, as the Windows pattern "*" does.
  impl_->Open(AT_FDCWD, folder.empty() ? "." : folder.c_str());
}

FolderListing::FolderListing(const FolderListing& parent, const std::string& name,
                             const std::string& folder)
    : impl_(std::make_unique<Impl>()) {
  // Opened by its name in the parent, but only while its full path stays usable: the files
  // below are copied and moved by their paths.
  if (folder.size() >= PATH_MAX) {
    impl_->error = ENAMETOOLONG;
  } else if (parent.impl_->dir) {
    impl_->Open(dirfd(parent.impl_->dir.get()), name.c_str());
  } else {
    impl_->Open(AT_FDCWD, folder.c_str());
  }
}

FolderListing::~FolderListing() {
  // No entry of a folder that the walk has left stays open.
  posix::ClosePendingDescriptors();
}

bool FolderListing::IsOpen() const {
  return impl_->dir != nullptr;
}

const std::string& FolderListing::Name() const {
  return impl_->name;
}

bool FolderListing::IsFolder() const {
  if (!impl_->dir) {
    return false;
  }
  switch (impl_->type) {
    case DT_DIR:
      return true;
    case DT_LNK:
    case DT_UNKNOWN: {
      const struct stat* info = impl_->Stat();
      return info != nullptr && S_ISDIR(info->st_mode);
    }
    default:
      return false;
  }
}

bool FolderListing::IsLink() const {
  struct stat info;
  return impl_->dir &&
         (impl_->type == DT_LNK ||
          (impl_->type == DT_UNKNOWN &&
           fstatat(dirfd(impl_->dir.get()), impl_->name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(info.st_mode)));
}

FileTime FolderListing::LastWriteTime() const {
  if (!impl_->dir) {
    return 0;
  }
  const struct stat* info = impl_->Stat();
  return info != nullptr ? posix::FileTimeOf(info->st_mtim) : 0;
}

bool FolderListing::OpenEntry(InputFile* file) const {
  file->Close();
  if (!impl_->dir) {
    return false;
  }
  file->file_ = posix::OpenReadStream(dirfd(impl_->dir.get()), impl_->name.c_str(),
                                      posix::Closing::kWithOthers);
  file->UseBuffer();
  return file->file_ != nullptr;
}

bool FolderListing::IsHiddenSystem() const {
  return false;
}

bool FolderListing::Next() {
  return impl_->dir && impl_->Read();
}

ListingError FolderListing::Error() const {
  return ListingErrorOf(impl_->error);
}

int FolderListing::ErrorCode() const {
  return impl_->error;
}

bool FolderListing::Identity(FolderId* id) const {
  return impl_->dir && IdentityOf(dirfd(impl_->dir.get()), id);
}

bool FolderListing::VisitHolders(const std::function<bool(const FolderId&)>& visit) const {
  FolderId below;
  if (!Identity(&below)) {
    return false;
  }
  // ".." of an open folder is the folder that really holds it; at the root it is the root.
  int holder = openat(dirfd(impl_->dir.get()), "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
  while (holder >= 0) {
    FolderId id;
    const bool known = IdentityOf(holder, &id);
    const bool more = known && !(id == below) && visit(id);
    const int next = more ? openat(holder, "..", O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
    close(holder);
    if (!more) {
      return known;
    }
    holder = next;
    below = id;
  }
  return false;
}

bool FolderIdentity(const std::string& path, FolderId* id) {
  struct stat info;
  if (stat(path.empty() ? "." : path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return false;
  }
  *id = FolderId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  return true;
}

}  // namespace platform
