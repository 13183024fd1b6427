// Copy and move of single files on Windows. The copy is written under a hidden temporary name
// in the destination folder and renamed to the final name only when complete, with a rename
// that never replaces; a failed copy deletes its temporary. The system's own copy calls are
// not used because they leave whatever they wrote when the disk fills up or a read fails.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/copy_temporary.h"
#include "platform/file_time_win32.h"
#include "platform/platform.h"

namespace platform {
namespace {

// A file handle that closes itself.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Closes now; false when closing fails.
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// Deletes a file, clearing its read-only attribute when that is what refuses the delete.
bool DeleteEvenReadOnly(const std::string& path) {
  if (DeleteFileA(path.c_str())) {
    return true;
  }
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
      !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
    return false;
  }
  if (DeleteFileA(path.c_str())) {
    return true;
  }
  SetFileAttributesA(path.c_str(), attributes);
  return false;
}

struct Source {
  UniqueHandle owned;  // unless the source was held open by the caller
  HANDLE handle = INVALID_HANDLE_VALUE;
  FILE_BASIC_INFO info{};
  std::uint64_t copied = 0;  // bytes read by the copy
};

// Opens a file (not a folder) for reading, letting others read it and delete it meanwhile, as
// the system's copy does, or takes the one `held` open (opened so too) from its start. Only the
// basic information is read: the full one also asks for the volume, which costs a round trip
// to another process under Wine.
bool OpenSource(const std::string& path, Source* source, const HeldFile* held = nullptr) {
  const LARGE_INTEGER start{};
  if (held != nullptr && held->IsOpen()) {
    source->handle = reinterpret_cast<HANDLE>(held->Native());
    if (!SetFilePointerEx(source->handle, start, nullptr, FILE_BEGIN)) {
      return false;
    }
  } else {
    source->owned.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    source->handle = source->owned.Get();
  }
  return source->handle != INVALID_HANDLE_VALUE &&
         GetFileInformationByHandleEx(source->handle, FileBasicInfo, &source->info,
                                      sizeof source->info) &&
         (source->info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The folder part of a path, with its final separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Copies the rest of `in` to `out` through a buffer each thread keeps for all its copies,
// adding the bytes to `*copied`.
bool CopyData(HANDLE in, HANDLE out, std::uint64_t* copied) {
  // Small enough to stay in the processor's cache between the read and the write: 256 KB
  // blocks cost more than twice the kernel time of 64 KB ones.
  constexpr DWORD kBlock = 64 * 1024;
  thread_local const std::unique_ptr<char[]> buffer(new char[kBlock]);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(in, buffer.get(), kBlock, &read, nullptr)) {
      return false;
    }
    if (read == 0) {
      return true;
    }
    DWORD written = 0;
    if (!WriteFile(out, buffer.get(), read, &written, nullptr) || written != read) {
      return false;
    }
    *copied += read;
  }
}

// True while the open source has the last-write and change times it had when opened and is as
// long as what was copied. Its sharing mode keeps Windows programs from writing to it while it
// is open, but not a program that opened it for writing before, nor, under Wine, a Linux one.
bool Unchanged(const Source& source) {
  FILE_BASIC_INFO now{};
  LARGE_INTEGER size{};
  return GetFileInformationByHandleEx(source.handle, FileBasicInfo, &now, sizeof now) &&
         GetFileSizeEx(source.handle, &size) &&
         static_cast<std::uint64_t>(size.QuadPart) == source.copied &&
         now.LastWriteTime.QuadPart == source.info.LastWriteTime.QuadPart &&
         now.ChangeTime.QuadPart == source.info.ChangeTime.QuadPart;
}

// The system's own name of a path, as a rename by handle wants it: \??\ before the full path,
// \??\UNC\ before a network path's server name. Empty when the path cannot be converted.
std::wstring SystemPathOf(const std::string& path) {
  const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(length > 0 ? length : 0, L'\0');
  if (length <= 0 || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length)) {
    return {};
  }
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  const DWORD used = size > 0 ? GetFullPathNameW(wide.c_str(), size, full.data(), nullptr) : 0;
  if (used == 0 || used >= size) {
    return {};
  }
  full.resize(used);
  if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) {
    return L"\\??\\" + full.substr(4);
  }
  if (full.rfind(L"\\\\", 0) == 0) {
    return L"\\??\\UNC\\" + full.substr(2);
  }
  return L"\\??\\" + full;
}

// Renames an open file (opened with DELETE access) to `to`, never replacing what is there.
bool RenameNoReplace(HANDLE file, const std::string& to) {
  const std::wstring name = SystemPathOf(to);
  if (name.empty()) {
    return false;
  }
  const DWORD nameBytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = nameBytes;
  std::memcpy(info->FileName, name.data(), nameBytes);
  return SetFileInformationByHandle(file, FileRenameInfo, info,
                                    static_cast<DWORD>(buffer.size())) != 0;
}

// A new file under a hidden name unique to this process and attempt, open for writing. It is
// closed and deleted when the object goes away, unless it has been given its final name.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile() {
    handle_.Close();
    if (!path_.empty()) {
      DeleteEvenReadOnly(path_);
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates the file in `folder`; false when that fails.
  bool Create(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = folder + CopyTemporaryName(ThisHostTag(), GetCurrentProcessId(), counter++);
      handle_.Reset(CreateFileA(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      if (handle_.Valid()) {
        return true;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
        break;
      }
    }
    path_.clear();
    return false;
  }

  HANDLE Handle() const { return handle_.Get(); }

  // Gives the file the name `to` unless `to` exists, then closes it; the object lets it be
  // from then on. The rename goes through the open handle, which spares looking up the
  // temporary name again (under Wine each lookup of a new name scans the folder).
  bool RenameAndClose(const std::string& to, bool flush) {
    if (!RenameNoReplace(handle_.Get(), to)) {
      return false;
    }
    const std::string named = to;
    path_.clear();
    const bool flushed = !flush || FlushFileBuffers(handle_.Get());
    if (!handle_.Close() || !flushed) {
      DeleteEvenReadOnly(named);
      return false;
    }
    return true;
  }

 private:
  std::string path_;
  UniqueHandle handle_;
};

// The attributes a copy takes over from its source.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Copies an open source to the new name `to`, complete or not at all: the data, its last-write
// time and its attributes go to a temporary first, which then takes the final name unless
// that name is taken by then, or the source changed while it was read. With `flush` the data
// and the rename are on disk on return.
bool CopyToNewName(Source& source, const std::string& to, bool flush) {
  // Zero times are left as they are; zero attributes too.
  FILE_BASIC_INFO kept{};
  kept.LastWriteTime = source.info.LastWriteTime;
  kept.FileAttributes = source.info.FileAttributes & kKeptAttributes;
  TemporaryFile out;
  return out.Create(FolderOf(to)) && CopyData(source.handle, out.Handle(), &source.copied) &&
         Unchanged(source) &&
         SetFileInformationByHandle(out.Handle(), FileBasicInfo, &kept, sizeof kept) &&
         (!flush || FlushFileBuffers(out.Handle())) && out.RenameAndClose(to, flush);
}

// A search handle that closes itself.
class UniqueSearch {
 public:
  explicit UniqueSearch(HANDLE handle) : handle_(handle) {}
  ~UniqueSearch() {
    if (Valid()) {
      FindClose(handle_);
    }
  }
  UniqueSearch(const UniqueSearch&) = delete;
  UniqueSearch& operator=(const UniqueSearch&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace

std::uint32_t ThisHostTag() {
  static const std::uint32_t tag = [] {
    char name[256] = {};
    DWORD size = sizeof name;
    GetComputerNameExA(ComputerNameDnsHostname, name, &size);
    return HostTagOf(std::string("windows ") + name);
  }();
  return tag;
}

void RemoveStaleTemporaries(const std::string& folder) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  RemoveStaleTemporariesAsOf(folder, win32::FileTimeOf(now));
}

void RemoveStaleTemporariesAsOf(const std::string& folder, FileTime now) {
  WIN32_FIND_DATAA found;
  const std::string pattern = folder + kCopyTemporaryPrefix + "*";
  const UniqueSearch search(FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0));
  if (!search.Valid()) {
    return;
  }
  do {
    CopyTemporary temporary;
    // A copy of this host still being written holds its temporary open without sharing it, so
    // the delete fails for it (a sharing violation); what a process that ended left goes. Of
    // the others, the creation time counts too: a copy gives its temporary the source's
    // last-write time before naming it.
    const std::string path = folder + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        ParseCopyTemporaryName(found.cFileName, &temporary) &&
        IsLeftByEndedCopy(
            temporary, now, [] { return true; },
            [&] {
              return std::max(win32::FileTimeOf(found.ftCreationTime),
                              win32::FileTimeOf(found.ftLastWriteTime));
            }) &&
        !DeleteFileA(path.c_str()) && GetLastError() == ERROR_ACCESS_DENIED) {
      DeleteEvenReadOnly(path);
    }
  } while (FindNextFileA(search.Get(), &found));
}

bool CopyFileNoOverwrite(const std::string& source, const std::string& destination,
                         const HeldFile* held) {
  Source from;
  return !PathExists(destination) && OpenSource(source, &from, held) &&
         CopyToNewName(from, destination, false);
}

bool MoveFileNoOverwrite(const std::string& source, const std::string& destination) {
  // Without MOVEFILE_REPLACE_EXISTING the rename never replaces.
  if (MoveFileExA(source.c_str(), destination.c_str(), 0)) {
    return true;
  }
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) {
    return false;
  }
  // Another volume: a flushed copy under its final name first, then the source goes, but only
  // when nothing has written to it since it was opened. Otherwise, or if the source cannot be
  // deleted, the copy is, so that nothing is lost or left twice.
  Source from;
  if (PathExists(destination) || !OpenSource(source, &from) ||
      !CopyToNewName(from, destination, true)) {
    return false;
  }
  const bool unchanged = Unchanged(from);
  from.owned.Close();
  if (!unchanged || !DeleteEvenReadOnly(source)) {
    DeleteEvenReadOnly(destination);
    return false;
  }
  return true;
}

}  // namespace platform
