#include "organize/job_journals.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <utility>
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

// "YYYY-MM-DD_HHMMSS" followed by nothing or "_N", then ".txt".
bool HasTimeName(std::string_view name) {
  constexpr std::string_view kShape = "0000-00-00_000000";
  if (name.size() < kShape.size() + 4 || !name.ends_with(".txt")) {
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

// A journal's place in the order of jobs: the job number that leads its name
// ("000042_2024-05-01_101500.txt"), or 0 for the names of earlier versions, which carried only
// the local time ("2024-05-01_101500.txt") and so come before every numbered one. -1 for a
// name of another shape. Times can go back (a clock corrected, a time zone changed); the
// numbers only grow.
long long JobNumber(const std::string& name) {
  const std::size_t digits = name.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string::npos) {
    return -1;
  }
  if (name[digits] != '_') {
    return HasTimeName(name) ? 0 : -1;
  }
  return digits <= 12 && HasTimeName(std::string_view(name).substr(digits + 1))
             ? std::stoll(name.substr(0, digits))
             : -1;
}

// The journal names in `folder`, oldest first.
std::vector<std::string> JournalNames(const std::string& folder) {
  std::vector<std::pair<long long, std::string>> numbered;
  platform::FolderListing listing(folder);
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    const long long number = JobNumber(listing.Name());
    if (number >= 0 && !listing.IsFolder()) {
      numbered.emplace_back(number, listing.Name());
    }
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<std::string> names;
  for (auto& [number, name] : numbered) {
    names.push_back(std::move(name));
  }
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
  // The oldest go; the newest, last in the order, always stays.
  const std::size_t keep = kKeptJobJournals - 1;
  for (std::size_t i = 0; i + keep < names.size(); ++i) {
    platform::RemoveFile(folder + names[i]);
  }
  const std::string time = NowText();
  std::string path;
  for (long long number = names.empty() ? 1 : JobNumber(names.back()) + 1;
       path.empty() || platform::PathExists(path); ++number) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%06lld_", number);
    path = folder + digits + time + ".txt";
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
