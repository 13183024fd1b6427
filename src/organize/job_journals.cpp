#include "organize/job_journals.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string_view>
#include <utility>
#include <vector>

#include "organize/organize_journal.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

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
  JournalLines journal;
  if (!ReadJournalLines(path, &journal)) {
    return {};
  }
  bool undone = false;
  bool anyRecord = false;
  for (const std::string_view line : journal.lines) {
    JournalRecord record;
    undone |= line == kAllUndoneLine;
    anyRecord |= ParseJournalLine(line, &record);
  }
  return undone || !anyRecord ? std::string() : path;
}

bool MarkJournalUndone(const std::string& path) {
  OrganizeJournal journal;
  if (!journal.Open(path)) {
    return false;
  }
  journal.RecordAllUndone();
  return !journal.Failed();
}

bool CountJournal(const std::string& path, JournalCounts* counts) {
  *counts = JournalCounts();
  JournalLines journal;
  if (!ReadJournalLines(path, &journal)) {
    return false;
  }
  for (std::size_t i = 0; i < journal.lines.size(); ++i) {
    JournalRecord record;
    if (journal.takenBack[i] || !ParseJournalLine(journal.lines[i], &record)) {
      continue;
    }
    // An undo stopped half-way has removed some folders already.
    if (record.kind != JournalRecord::Kind::kFolder) {
      ++counts->files;
    } else if (platform::PathExists(record.destination)) {
      ++counts->folders;
    }
  }
  return true;
}
