// Real folders and files for tests: a temporary folder removed with everything in it, and
// small helpers to fill and inspect a tree. Paths are narrow UTF-8 text.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testfiles {

// A new, empty folder under the system's temporary folder; removed with its contents.
class TempFolder {
 public:
  TempFolder();
  // A new folder inside `parent` instead (for a folder on another file system).
  explicit TempFolder(const std::string& parent);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Path() followed by `relative`, whose '/' become the platform's separator.
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

bool MakeFolders(const std::string& path);
bool WriteText(const std::string& path, const std::string& text);
// The whole content of a file; empty when it cannot be read.
std::string ReadAll(const std::string& path);
bool Exists(const std::string& path);
// Every file below `root`, as paths relative to it with '/' separators, sorted.
std::vector<std::string> ListFiles(const std::string& root);
// Every file and folder below `root` (folders with a final '/'), relative, sorted.
std::vector<std::string> ListEntries(const std::string& root);
// Every file below `root` with its content, by relative path.
std::map<std::string, std::string> ReadTree(const std::string& root);
// Sets a file's last-write time (not a folder's) to the given local time, in whole seconds.
bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour = 12);
// The platform's separator-joined form of a '/'-separated relative path.
std::string Native(const std::string& relative);

class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(std::u8string(folder.begin(), folder.end()));
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace testfiles
