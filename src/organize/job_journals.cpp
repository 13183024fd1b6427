#include "organize/job_journals.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <vector>

#include "organize/organize_journal.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

// The comment line that marks a journal whose job was taken back.
constexpr std::string_view kUndoneMark = "# undone";

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Calls `line` for each line of `text` without its line break (a CR before it included).
template <typename Each>
void ForEachLine(std::string_view text, Each line) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view one = text.substr(0, end);
    if (!one.empty() && one.back() == '\r') {
      one.remove_suffix(1);
    }
    line(one);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

// "YYYY-MM-DD_HHMMSS" followed by nothing or "_N", then ".txt": the names this file gives.
bool IsJournalName(const std::string& name) {
  constexpr std::string_view kShape = "0000-00-00_000000";
  if (name.size() < kShape.size() + 4 || name.compare(name.size() - 4, 4, ".txt") != 0) {
    return false;
  }
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (kShape[i] == '0' ? !digit : name[i] != kShape[i]) {
      return false;
    }
  }
  return true;
}

// The journal names in `folder`, oldest first (the names sort by the time they carry).
std::vector<std::string> JournalNames(const std::string& folder) {
  std::vector<std::string> names;
  platform::FolderListing listing(folder);
  if (!listing.IsOpen()) {
    return names;
  }
  do {
    if (!listing.IsFolder() && IsJournalName(listing.Name())) {
      names.push_back(listing.Name());
    }
  } while (listing.Next());
  std::sort(names.begin(), names.end());
  return names;
}

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  // Called from the window thread only, so the shared buffer of localtime is not contended.
  const std::tm* local = std::localtime(&now);
  char text[32] = "0000-00-00_000000";
  if (local != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d_%H%M%S", local);
  }
  return text;
}

}  // namespace

std::string JobJournalFolder(const std::string& appPath) {
  return appPath + "journal" + platform::kPathSeparator;
}

std::string NewJobJournalPath(const std::string& appPath) {
  const std::string folder = JobJournalFolder(appPath);
  if (!platform::PathExists(folder) && !platform::CreateFolder(folder)) {
    return {};
  }
  const std::vector<std::string> names = JournalNames(folder);
  const std::size_t keep = kKeptJobJournals - 1;
  for (std::size_t i = 0; i + keep < names.size(); ++i) {
    platform::RemoveFile(folder + names[i]);
  }
  const std::string stem = folder + NowText();
  std::string path = stem + ".txt";
  for (int number = 2; platform::PathExists(path); ++number) {
    path = stem + "_" + std::to_string(number) + ".txt";
  }
  return path;
}

std::string LastJobJournal(const std::string& appPath) {
  const std::string folder = JobJournalFolder(appPath);
  const std::vector<std::string> names = JournalNames(folder);
  if (names.empty()) {
    return {};
  }
  const std::string path = folder + names.back();
  std::string text;
  if (!ReadJournalFile(path, &text)) {
    return {};
  }
  bool undone = false;
  bool anyRecord = false;
  ForEachLine(text, [&](std::string_view line) {
    JournalRecord record;
    undone |= line == kUndoneMark;
    anyRecord |= ParseJournalLine(line, &record);
  });
  return undone || !anyRecord ? std::string() : path;
}

bool MarkJournalUndone(const std::string& path) {
  File file(std::fopen(path.c_str(), "ab"), &std::fclose);
  if (!file) {
    return false;
  }
  const std::string line = std::string(kUndoneMark) + "\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
  return std::fclose(file.release()) == 0 && written;
}

bool CountJournal(const std::string& path, JournalCounts* counts) {
  *counts = JournalCounts();
  std::string text;
  if (!ReadJournalFile(path, &text)) {
    return false;
  }
  ForEachLine(text, [&](std::string_view line) {
    JournalRecord record;
    if (line.empty() || line.front() == '#' || !ParseJournalLine(line, &record)) {
      return;
    }
    ++(record.kind == JournalRecord::Kind::kFolder ? counts->folders : counts->files);
  });
  return true;
}
