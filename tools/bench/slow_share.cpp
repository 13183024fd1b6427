// A slow share for benchmarks: serves a folder at a mount point through FUSE and answers every
// request only after a fixed wait, as a network share or a card reader does. Requests run on
// many threads at once, so a program that keeps several in flight gains as it would on a NAS.
//
//   slow-share FOLDER MOUNTPOINT WAIT_MS [--no-types] [--count FILE] [FUSE options...]
//
// Runs in the foreground until unmounted (fusermount3 -u MOUNTPOINT). --no-types leaves the
// kind of each entry out of folder listings, as some servers do, so that a reader must ask
// for each entry's attributes. --count writes the number of requests answered to FILE when
// unmounted. Built by tools/bench/share_bench.sh (needs libfuse3-dev).
#define FUSE_USE_VERSION 31
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string g_root;
timespec g_wait{};
bool g_types = true;
const char* g_countFile = nullptr;
std::atomic<long> g_requests{0};

std::string Real(const char* path) {
  return g_root + path;
}

void Wait() {
  ++g_requests;
  nanosleep(&g_wait, nullptr);
}

// The result of a system call as FUSE wants it: 0 or -errno.
int Result(int returned) {
  return returned < 0 ? -errno : 0;
}

int GetAttr(const char* path, struct stat* info, fuse_file_info* file) {
  Wait();
  if (file != nullptr) {
    return Result(fstat(static_cast<int>(file->fh), info));
  }
  return Result(lstat(Real(path).c_str(), info));
}

int ReadLink(const char* path, char* buffer, size_t size) {
  Wait();
  const ssize_t n = readlink(Real(path).c_str(), buffer, size - 1);
  if (n < 0) {
    return -errno;
  }
  buffer[n] = '\0';
  return 0;
}

int OpenDir(const char* path, fuse_file_info* file) {
  Wait();
  DIR* dir = opendir(Real(path).c_str());
  if (dir == nullptr) {
    return -errno;
  }
  file->fh = reinterpret_cast<uint64_t>(dir);
  return 0;
}

int ReadDir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* file,
            fuse_readdir_flags) {
  Wait();
  DIR* dir = reinterpret_cast<DIR*>(file->fh);
  rewinddir(dir);
  while (const dirent* entry = readdir(dir)) {
    struct stat info {};
    info.st_ino = entry->d_ino;
    info.st_mode = g_types ? static_cast<mode_t>(entry->d_type) << 12 : 0;
    if (fill(buffer, entry->d_name, &info, 0, static_cast<fuse_fill_dir_flags>(0)) != 0) {
      break;
    }
  }
  return 0;
}

int ReleaseDir(const char*, fuse_file_info* file) {
  Wait();
  closedir(reinterpret_cast<DIR*>(file->fh));
  return 0;
}

int Open(const char* path, fuse_file_info* file) {
  Wait();
  const int fd = open(Real(path).c_str(), file->flags);
  if (fd < 0) {
    return -errno;
  }
  file->fh = static_cast<uint64_t>(fd);
  return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* file) {
  Wait();
  const int fd = open(Real(path).c_str(), file->flags, mode);
  if (fd < 0) {
    return -errno;
  }
  file->fh = static_cast<uint64_t>(fd);
  return 0;
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  Wait();
  const ssize_t n = pread(static_cast<int>(file->fh), buffer, size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  Wait();
  const ssize_t n = pwrite(static_cast<int>(file->fh), buffer, size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int Flush(const char*, fuse_file_info*) {
  Wait();
  return 0;
}

int Release(const char*, fuse_file_info* file) {
  Wait();
  close(static_cast<int>(file->fh));
  return 0;
}

int Fsync(const char*, int, fuse_file_info* file) {
  Wait();
  return Result(fsync(static_cast<int>(file->fh)));
}

int MakeDir(const char* path, mode_t mode) {
  Wait();
  return Result(mkdir(Real(path).c_str(), mode));
}

int Unlink(const char* path) {
  Wait();
  return Result(unlink(Real(path).c_str()));
}

int RemoveDir(const char* path) {
  Wait();
  return Result(rmdir(Real(path).c_str()));
}

int Rename(const char* from, const char* to, unsigned int flags) {
  Wait();
  return Result(renameat2(AT_FDCWD, Real(from).c_str(), AT_FDCWD, Real(to).c_str(), flags));
}

int Link(const char* from, const char* to) {
  Wait();
  return Result(link(Real(from).c_str(), Real(to).c_str()));
}

int ChangeMode(const char* path, mode_t mode, fuse_file_info*) {
  Wait();
  return Result(chmod(Real(path).c_str(), mode));
}

int Truncate(const char* path, off_t size, fuse_file_info* file) {
  Wait();
  return Result(file != nullptr ? ftruncate(static_cast<int>(file->fh), size)
                                : truncate(Real(path).c_str(), size));
}

int SetTimes(const char* path, const timespec times[2], fuse_file_info* file) {
  Wait();
  return Result(file != nullptr ? futimens(static_cast<int>(file->fh), times)
                                : utimensat(AT_FDCWD, Real(path).c_str(), times, 0));
}

int StatFs(const char* path, struct statvfs* info) {
  Wait();
  return Result(statvfs(Real(path).c_str(), info));
}

void* Init(fuse_conn_info*, fuse_config* config) {
  config->use_ino = 1;
  return nullptr;
}

void Destroy(void*) {
  if (std::FILE* file = g_countFile != nullptr ? std::fopen(g_countFile, "w") : nullptr) {
    std::fprintf(file, "%ld\n", g_requests.load());
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: %s FOLDER MOUNTPOINT WAIT_MS [--no-types] [--count FILE] [FUSE options]\n",
                 argv[0]);
    return 2;
  }
  char* real = realpath(argv[1], nullptr);
  if (real == nullptr) {
    std::perror(argv[1]);
    return 2;
  }
  g_root = real;
  std::free(real);
  const long waitMicroseconds = std::lround(std::atof(argv[3]) * 1000);
  g_wait.tv_sec = waitMicroseconds / 1000000;
  g_wait.tv_nsec = waitMicroseconds % 1000000 * 1000;

  fuse_operations ops{};
  ops.getattr = GetAttr;
  ops.readlink = ReadLink;
  ops.opendir = OpenDir;
  ops.readdir = ReadDir;
  ops.releasedir = ReleaseDir;
  ops.open = Open;
  ops.create = Create;
  ops.read = Read;
  ops.write = Write;
  ops.flush = Flush;
  ops.release = Release;
  ops.fsync = Fsync;
  ops.mkdir = MakeDir;
  ops.unlink = Unlink;
  ops.rmdir = RemoveDir;
  ops.rename = Rename;
  ops.link = Link;
  ops.chmod = ChangeMode;
  ops.truncate = Truncate;
  ops.utimens = SetTimes;
  ops.statfs = StatFs;
  ops.init = Init;
  ops.destroy = Destroy;

  // The mount point, in the foreground, with many threads, and the caller's own options.
  std::vector<char*> args = {argv[0], argv[2], const_cast<char*>("-f"), const_cast<char*>("-o"),
                             const_cast<char*>("max_threads=64,max_idle_threads=64")};
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-types") == 0) {
      g_types = false;
    } else if (std::strcmp(argv[i], "--count") == 0 && i + 1 < argc) {
      g_countFile = argv[++i];
    } else {
      args.push_back(argv[i]);
    }
  }
  return fuse_main(static_cast<int>(args.size()), args.data(), &ops, nullptr);
}
