// The small operating-system layer: files and folders, local time, lower-casing and the
// program's own folder. platform_win32.cpp calls the Windows functions; platform_posix.cpp
// gives the same results on Linux. Paths are narrow text in the process's code page (UTF-8
// on Linux and in our Windows programs, whose manifests select it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// The separator written between path components.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A point in time as Windows keeps file times: 100-nanosecond ticks since 1601-01-01 UTC.
using FileTime = std::int64_t;

// Ticks between 1601-01-01 and 1970-01-01 (the Unix epoch).
inline constexpr FileTime kUnixEpochAsFileTime = 116444736000000000LL;

// A calendar day in local time.
struct LocalDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// The identity of a folder on disk, to recognise one folder reached by two paths.
struct FolderId {
  std::uint64_t device = 0;
  std::uint64_t node = 0;
  friend bool operator<(const FolderId& a, const FolderId& b) {
    return a.device != b.device ? a.device < b.device : a.node < b.node;
  }
  friend bool operator==(const FolderId&, const FolderId&) = default;
};

// Identity of the folder at `path` (links followed); false when there is none or the platform
// cannot tell.
bool FolderIdentity(const std::string& path, FolderId* id);

// A file kept open from the reading of its head to its copy, so that a share, whose every
// request waits, is asked to open it once. Opened as a copy opens its source (on Windows
// other programs may read or delete it meanwhile, not write to it). Closes itself.
class HeldFile {
 public:
  HeldFile() = default;
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // Opens the file at `path`; false when it cannot be opened.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return handle_ != kNone; }
  // The descriptor (Linux) or handle (Windows), for the platform layer.
  std::intptr_t Native() const { return handle_; }

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;
};

// A file open for reading through a buffered C stream (mode "rb") whose buffer lives in this
// object, so reading a file's head allocates no buffer. Closes itself.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path`; false when it cannot be opened for reading.
  bool Open(const std::string& path);
  // Reads `held` from its start; closing this stream leaves `held` open.
  bool Open(const HeldFile& held);
  void Close();

  // The open stream, or null.
  std::FILE* Stream() const { return file_; }

  // Moves the open stream to byte `offset` from the file's start (64-bit on every platform).
  // False on failure.
  bool Seek(std::int64_t offset);
  // The open file's size in bytes, found by seeking to its end (seek again before reading);
  // -1 when unknown.
  std::int64_t Size();

 private:
  friend class FolderListing;  // opens entries relative to its folder
  void UseBuffer();

  std::FILE* file_ = nullptr;
  char buffer_[4096];
};

// Why a folder could not be listed, or why its listing ended early.
enum class ListingError {
  kNone,         // listed to its end (or empty)
  kDenied,       // no permission
  kMissing,      // gone, or no longer a folder
  kPathTooLong,  // its path is longer than the platform takes
  kTooManyOpen,  // the process may open no more files (a tree deeper than that limit)
  kOther,        // any other failure; FolderListing::ErrorCode() gives the system's number
};

// One folder's entries, in the order the file system gives them; "." and ".." may appear.
// The listing stays open (one handle) until the object goes away.
class FolderListing {
 public:
  // `folder` ends with kPathSeparator. Check IsOpen() afterwards: a missing or unreadable
  // folder, or one whose path is too long, gives a listing that is not open, and Error()
  // says why; an empty folder gives one that is not open, without an error. An open listing
  // already stands on its first entry (as a find-first call does); Next() moves on.
  explicit FolderListing(const std::string& folder);
  // The subfolder `name` of the entry `parent` stands on; `folder` is its full path (the
  // parent's, the name and a separator). Where the platform can, it is opened relative to
  // the parent's open folder, so that a walk's cost does not grow with the tree's depth.
  FolderListing(const FolderListing& parent, const std::string& name, const std::string& folder);
  ~FolderListing();
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  bool IsOpen() const;

  // The current entry; valid while the listing is open and the last Next() returned true.
  const std::string& Name() const;
  bool IsFolder() const;  // a folder, or a link that leads to one
  // A link, whatever it leads to (on Windows any reparse point, such as a junction).
  bool IsLink() const;
  FileTime LastWriteTime() const;

  // Opens the current entry for reading, as file->Open(folder + Name()) would. On Linux the
  // entry is found relative to the open folder, without looking up the folder's path again,
  // and once the file is closed its descriptor is released together with others, at the
  // latest when the listing goes away.
  bool OpenEntry(InputFile* file) const;

  // True when the current entry is marked both hidden and system, as Windows marks the
  // folders it keeps from users at a drive's root; never on Linux.
  bool IsHiddenSystem() const;

  // Moves to the next entry; false at the end or when reading fails (Error() then says why).
  bool Next();

  // Why the folder could not be opened or read to its end; kNone when it was.
  ListingError Error() const;
  // The system's error number behind Error().
  int ErrorCode() const;

  // Identity of the listed folder itself; false where the platform cannot tell.
  bool Identity(FolderId* id) const;

  // Calls `visit` with the identity of each folder that holds the listed one on disk, from its
  // parent up to the root (of a network share: the share), until `visit` returns false: the
  // folders it really lies in, whatever path led to it (through a link, say). False when it
  // broke off before that, where the platform could not tell.
  bool VisitHolders(const std::function<bool(const FolderId&)>& visit) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// True when a file or folder exists at `path` (a final separator is allowed).
bool PathExists(const std::string& path);

// Creates one folder level. False when it could not be created (also when it exists).
bool CreateFolder(const std::string& path);

// Copies `source` to `destination`, keeping its last-write time. Never overwrites: fails when
// `destination` exists. Never leaves a partly written file under the destination name.
// `held`, when open, is the file at `source`, copied without opening it again.
bool CopyFileNoOverwrite(const std::string& source, const std::string& destination,
                         const HeldFile* held);
inline bool CopyFileNoOverwrite(const std::string& source, const std::string& destination) {
  return CopyFileNoOverwrite(source, destination, nullptr);
}

// Moves or renames `source` to `destination`, also across file systems. Never overwrites.
// Across file systems the source is deleted only after the copy is complete and flushed;
// a failed move leaves the source in place.
bool MoveFileNoOverwrite(const std::string& source, const std::string& destination);

// Removes from `folder` the temporaries of copies whose process ended before finishing them
// (killed, or the machine stopped); those of copies still being written stay. Another
// machine's (on a share), whose process cannot be asked, go only after a day without a change.
void RemoveStaleTemporaries(const std::string& folder);

// The local calendar day of a file time, with the daylight-saving rule of that day.
// False when the time cannot be converted.
bool LocalDateOfFileTime(FileTime time, LocalDate* date);

// The system's lower-casing of narrow text: ASCII A-Z become a-z; Chinese text is unchanged.
std::string ToLower(const std::string& text);

// Full path of the folder holding the running program, ending with kPathSeparator.
std::string ProgramFolder();

// Makes `folder` the process's current folder; false when it cannot.
bool SetCurrentFolder(const std::string& folder);

}  // namespace platform
