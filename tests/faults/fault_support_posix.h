// Fault tests of the real command-line tool: it runs as a child process that the test can
// limit, kill or interrupt, over a source tree whose every byte the test remembers.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace faulttest {

using Snapshot = std::map<std::string, std::string>;  // file name -> content

// Bytes that differ from file to file and from offset to offset.
std::string Pattern(const std::string& name, std::size_t size);

// Writes each file of `files` (name -> content) into `folder`, giving the photos among them
// an EXIF date of capture. Returns what was written, by name.
Snapshot FillSource(const std::string& folder,
                    const std::vector<std::pair<std::string, std::size_t>>& files);

// The child's start: its output goes to `outputFile`, its files may not grow past
// `fileSizeLimit` bytes (0: no limit; the signal a larger write raises is ignored, so that
// the write fails instead).
struct Child {
  pid_t pid = -1;
  std::string outputFile;
};
Child StartCli(const std::vector<std::string>& args, const std::string& outputFile,
               long fileSizeLimit = 0);
// Waits for the child; the raw wait status.
int WaitFor(const Child& child);
// Polls until the child holds `path` open (true) or has ended (false).
bool WaitUntilOpen(const Child& child, const std::string& path);

// The counts of the summary line "整理文件 N 个, 失败 M 个"; false when there is none.
bool SummaryCounts(const std::string& output, int* files, int* failures);

// The state after any fault: every file of the target is a complete copy of the source file
// of its name, and nothing else is there (no temporary either); every source file is intact
// or, gone after a move, complete in the target. Returns the names placed.
std::vector<std::string> CheckNothingLost(const Snapshot& sources, const std::string& source,
                                          const std::string& target);

// A small file system of the test's own (tmpfs), mounted over `folder` while the object lives.
class SmallFileSystem {
 public:
  SmallFileSystem(const std::string& folder, long bytes);
  ~SmallFileSystem();
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  bool Mounted() const { return mounted_; }
  const std::string& Error() const { return error_; }
  bool Resize(long bytes);

 private:
  std::string folder_;
  std::string error_;
  bool mounted_ = false;
};

}  // namespace faulttest
