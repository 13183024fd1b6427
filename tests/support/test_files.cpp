#include "test_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "album.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace testfiles {
namespace {

fs::path ToPath(const std::string& utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string FromPath(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::vector<std::string> Listed(const std::string& root, bool everything) {
  std::vector<std::string> entries;
  std::error_code error;
  const fs::path base = ToPath(root);
  for (fs::recursive_directory_iterator it(base, error), end; !error && it != end;
       it.increment(error)) {
    if (everything || it->is_regular_file()) {
      entries.push_back(FromPath(it->path().lexically_relative(base).generic_u8string()) +
                        (everything && it->is_directory() ? "/" : ""));
    }
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

std::string Native(const std::string& relative) {
  std::string out = relative;
  std::replace(out.begin(), out.end(), '/', platform::kPathSeparator);
  return out;
}

TempFolder::TempFolder() : TempFolder(FromPath(fs::temp_directory_path())) {}

TempFolder::TempFolder(const std::string& parent) {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path base = ToPath(parent) /
                  ("tallowick-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  path_ = FromPath(fs::canonical(base));
  if (path_.empty() || path_.back() != platform::kPathSeparator) {
    path_ += platform::kPathSeparator;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(ToPath(path_), ignored);
}

std::string TempFolder::operator/(const std::string& relative) const {
  return path_ + Native(relative);
}

bool MakeFolders(const std::string& path) {
  std::error_code error;
  fs::create_directories(ToPath(path), error);
  return !error;
}

bool WriteText(const std::string& path, const std::string& text) {
  fs::path target = ToPath(path);
  if (target.has_parent_path() && !MakeFolders(FromPath(target.parent_path()))) {
    return false;
  }
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(ToPath(path), error);
}

std::map<std::string, std::string> ReadTree(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const std::string& file : ListFiles(root)) {
    tree[file] = ReadAll(root + Native(file));
  }
  return tree;
}

bool SetLocalWriteTime(const std::string& path, int year, int month, int day, int hour) {
  return album::SetLocalWriteTime(path, {year, month, day, hour});
}

std::vector<std::string> ListEntries(const std::string& root) {
  return Listed(root, true);
}

std::vector<std::string> ListFiles(const std::string& root) {
  return Listed(root, false);
}

}  // namespace testfiles
