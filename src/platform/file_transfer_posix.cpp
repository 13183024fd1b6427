// Copy and move of single files on Linux, with the guarantees of the Windows calls they stand
// in for: an existing destination is never replaced, no partly written file ever carries the
// destination name, and a failed move leaves the source where it was.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/copy_temporary.h"
#include "platform/copy_ways_posix.h"
#include "platform/file_time_posix.h"
#include "platform/platform.h"

namespace platform {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Close(); }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  // Closes now; false when the close reports an error (a late write error shows here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

// Removes a file by name when it goes out of scope, unless released.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::string path) : path_(std::move(path)) {}
  ~RemoveOnExit() {
    if (!path_.empty()) {
      unlink(path_.c_str());
    }
  }
  RemoveOnExit(const RemoveOnExit&) = delete;
  RemoveOnExit& operator=(const RemoveOnExit&) = delete;
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

struct Source {
  UniqueFd owned;  // unless the source was held open by the caller
  int fd = -1;
  struct stat info {};
};

// The attributes of the open file `fd` that a copy keeps and checks. The access time is not
// asked for: a FUSE share marks it stale after every read, so asking for it after the head
// has been read would cost one more request, one more wait, per file; what is cached is the
// time from before that read, the one to keep.
bool ReadSourceInfo(int fd, struct stat* info) {
  constexpr unsigned kWanted =
      STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME;
  struct statx got {};
  if (statx(fd, "", AT_EMPTY_PATH, kWanted, &got) != 0) {
    return false;
  }
  *info = {};
  info->st_dev = makedev(got.stx_dev_major, got.stx_dev_minor);
  info->st_ino = got.stx_ino;
  info->st_mode = got.stx_mode;
  info->st_size = static_cast<off_t>(got.stx_size);
  info->st_atim = {got.stx_atime.tv_sec, got.stx_atime.tv_nsec};
  info->st_mtim = {got.stx_mtime.tv_sec, got.stx_mtime.tv_nsec};
  info->st_ctim = {got.stx_ctime.tv_sec, got.stx_ctime.tv_nsec};
  return true;
}

// Opens a regular file for reading (following links), or takes the one `held` open. O_NONBLOCK
// keeps a FIFO from blocking the open; regular files ignore it.
bool OpenSource(const std::string& path, Source* source, const HeldFile* held = nullptr) {
  if (held != nullptr && held->IsOpen()) {
    source->fd = static_cast<int>(held->Native());
  } else {
    source->owned.Reset(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    source->fd = source->owned.Get();
  }
  return source->fd >= 0 && ReadSourceInfo(source->fd, &source->info) &&
         S_ISREG(source->info.st_mode);
}

bool NameTaken(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The folder part of a path, with its final separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Unsupported(int error) {
  return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP;
}

// Copies `size` bytes of `in` from its start to `out` at the same offsets: the kernel's
// in-place copy where the file systems allow it, else sendfile, else reads and writes. False
// also when the source turns out shorter than `size`: a copy cut short is no copy.
bool CopyData(int in, int out, off_t size) {
  constexpr off_t kMaxChunk = 1 << 30;
  enum class Way { kCopyRange, kSendFile, kReadWrite };
  Way way = Way::kCopyRange;
  off_t done = 0;
  while (done < size) {
    const auto chunk = static_cast<std::size_t>(std::min(size - done, kMaxChunk));
    ssize_t n = 0;
    if (way == Way::kCopyRange) {
      off_t inOffset = done;
      off_t outOffset = done;
      n = copy_file_range(in, &inOffset, out, &outOffset, chunk, 0);
      if ((n < 0 && Unsupported(errno)) || n == 0) {
        // sendfile writes at the file position, which copy_file_range left untouched.
        way = lseek(out, done, SEEK_SET) == done ? Way::kSendFile : Way::kReadWrite;
        continue;
      }
    } else if (way == Way::kSendFile) {
      off_t inOffset = done;
      n = sendfile(out, in, &inOffset, chunk);
      if ((n < 0 && Unsupported(errno)) || n == 0) {
        way = Way::kReadWrite;
        continue;
      }
    } else {
      char buffer[64 * 1024];
      n = pread(in, buffer, std::min(chunk, sizeof buffer), done);
      if (n == 0) {
        return false;  // the source shrank while it was copied
      }
      for (ssize_t written = 0; n > 0 && written < n;) {
        const ssize_t w = pwrite(out, buffer + written, n - written, done + written);
        if (w > 0) {
          written += w;
        } else if (w == 0 || errno != EINTR) {
          return false;
        }
      }
    }
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    done += n;
  }
  return true;
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// True while the open source has the size and the last-write and status-change times it had
// when opened: a file that a recorder, a sync program or an importer is still writing changes
// them, and a copy of it would hold only part of the file.
bool Unchanged(const Source& source) {
  struct stat now {};
  return ReadSourceInfo(source.fd, &now) && now.st_size == source.info.st_size &&
         SameTime(now.st_mtim, source.info.st_mtim) && SameTime(now.st_ctim, source.info.st_ctim);
}

// Fills a new, empty file with the source's bytes and gives it the source's permission bits
// and access and last-write times (both best effort: some file systems keep neither). False
// when the source changed meanwhile.
bool FillCopy(const Source& source, int out, bool flush) {
  if (!CopyData(source.fd, out, source.info.st_size) || !Unchanged(source)) {
    return false;
  }
  fchmod(out, source.info.st_mode & 0777);
  const timespec times[2] = {source.info.st_atim, source.info.st_mtim};
  futimens(out, times);
  return !flush || fsync(out) == 0;
}

// Gives the file `from` the name `to` unless `to` exists; `from` is gone afterwards. Where the
// file system has no no-replace rename, a hard link and an unlink do the same.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) {
    return false;
  }
  if (link(from.c_str(), to.c_str()) != 0) {
    return false;
  }
  if (unlink(from.c_str()) != 0) {
    unlink(to.c_str());
    return false;
  }
  return true;
}

// Set once linking an unnamed file has failed for want of /proc or of the right to do it.
std::atomic<bool> g_unnamedLinkFails{false};

// Failures of a link that lie in the new name or its file system, not in the way of linking:
// a named temporary file would meet them too.
bool NameFault(int error) {
  return error == EEXIST || error == ENAMETOOLONG || error == ENOSPC || error == EDQUOT ||
         error == EMLINK || error == EROFS;
}

// Gives an open unnamed (O_TMPFILE) file the name `to`; fails when `to` exists. `*retry` is
// set when the failure lies in the linking itself, so that a named file may do instead.
bool LinkUnnamed(int fd, const std::string& to, bool* retry) {
  char self[32];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  if (linkat(AT_FDCWD, self, AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return true;
  }
  if (NameFault(errno)) {
    return false;
  }
  // Without /proc: linking by descriptor, which needs a privilege.
  if (linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0) {
    return true;
  }
  *retry = !NameFault(errno);
  return false;
}

// Writes the copy as a nameless file in the destination folder and names it when complete,
// so nothing shows under any name before that, not even after a crash. `*fallback` is set
// when the file system cannot do this.
bool CopyAsUnnamed(const Source& source, const std::string& folder, const std::string& to,
                   bool flush, bool* fallback) {
  UniqueFd out(open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                    S_IRUSR | S_IWUSR));
  if (!out.Valid()) {
    *fallback = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
    return false;
  }
  if (!FillCopy(source, out.Get(), flush)) {
    return false;
  }
  if (LinkUnnamed(out.Get(), to, fallback)) {
    return true;
  }
  if (*fallback) {
    g_unnamedLinkFails = true;
  }
  return false;
}

// Writes the copy under a hidden temporary name in the destination folder and renames it to
// the final name when complete; the temporary never outlives this call, unless the process
// ends first (RemoveStaleTemporaries clears it then).
bool CopyAsTemporary(const Source& source, const std::string& folder, const std::string& to,
                     bool flush) {
  static std::atomic<unsigned> counter{0};
  std::string temporary;
  UniqueFd out;
  for (int attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
    temporary = folder + CopyTemporaryName(ThisHostTag(), getpid(), counter++);
    out.Reset(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!out.Valid() && errno != EEXIST) {
      return false;
    }
  }
  if (!out.Valid()) {
    return false;
  }
  RemoveOnExit remove(temporary);
  if (!FillCopy(source, out.Get(), flush) || !out.Close()) {
    return false;
  }
  if (!RenameNoReplace(temporary, to)) {
    return false;
  }
  remove.Release();
  return true;
}

// Copies an open source to the new name `to`, complete or not at all.
bool CopyToNewName(const Source& source, const std::string& to, bool flush) {
  const std::string folder = FolderOf(to);
  if (!g_unnamedLinkFails) {
    bool fallback = false;
    if (CopyAsUnnamed(source, folder, to, flush, &fallback)) {
      return true;
    }
    if (!fallback) {
      return false;
    }
  }
  return CopyAsTemporary(source, folder, to, flush);
}

// Flushes a folder's entries to disk; file systems that cannot do this for folders pass.
bool FlushFolder(const std::string& folder) {
  UniqueFd dir(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return dir.Valid() && (fsync(dir.Get()) == 0 || errno == EINVAL);
}

// A folder listing that closes itself.
struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::uint32_t ThisHostTag() {
  // Process ids of the Windows build under Wine are no Linux ones: the build is part of it.
  static const std::uint32_t tag = [] {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return HostTagOf(std::string("linux ") + name);
  }();
  return tag;
}

void RemoveStaleTemporaries(const std::string& folder) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  RemoveStaleTemporariesAsOf(folder, posix::FileTimeOf(now));
}

void RemoveStaleTemporariesAsOf(const std::string& folder, FileTime now) {
  const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) {
    return;
  }
  while (const dirent* entry = readdir(dir.get())) {
    CopyTemporary found;
    if (!ParseCopyTemporaryName(entry->d_name, &found)) {
      continue;
    }
    // This host's stays while its process lives. Of the others, the status change time counts
    // too: a copy sets its temporary's last-write time to the source's before naming it.
    const bool ended = IsLeftByEndedCopy(
        found, now, [&] { return kill(static_cast<pid_t>(found.pid), 0) != 0 && errno == ESRCH; },
        [&] {
          struct stat info {};
          return fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0
                     ? now
                     : std::max(posix::FileTimeOf(info.st_mtim), posix::FileTimeOf(info.st_ctim));
        });
    if (ended) {
      unlinkat(dirfd(dir.get()), entry->d_name, 0);
    }
  }
}

namespace posix {

bool CopyFileUsing(CopyWay way, const std::string& source, const std::string& destination) {
  Source from;
  if (!OpenSource(source, &from)) {
    return false;
  }
  const std::string folder = FolderOf(destination);
  bool fallback = false;
  return way == CopyWay::kUnnamedFile ? CopyAsUnnamed(from, folder, destination, false, &fallback)
                                      : CopyAsTemporary(from, folder, destination, false);
}

}  // namespace posix

bool CopyFileNoOverwrite(const std::string& source, const std::string& destination,
                         const HeldFile* held) {
  if (NameTaken(destination)) {
    return false;
  }
  Source from;
  return OpenSource(source, &from, held) && CopyToNewName(from, destination, false);
}

bool MoveFileNoOverwrite(const std::string& source, const std::string& destination) {
  if (RenameNoReplace(source, destination)) {
    return true;
  }
  if (errno != EXDEV) {
    return false;
  }
  // Another file system: a durable copy first, then the source goes, but only while the path
  // still names the file copied and nothing has written to it since it was opened. Otherwise,
  // or if the source cannot be removed, the copy is, so that nothing is lost or left twice.
  Source from;
  if (NameTaken(destination) || !OpenSource(source, &from) ||
      !CopyToNewName(from, destination, true)) {
    return false;
  }
  struct stat named {};
  if (!FlushFolder(FolderOf(destination)) || !Unchanged(from) ||
      stat(source.c_str(), &named) != 0 || named.st_dev != from.info.st_dev ||
      named.st_ino != from.info.st_ino || unlink(source.c_str()) != 0) {
    unlink(destination.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
