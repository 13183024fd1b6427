#include "organize/job_journals.h"

#include <algorithm>
#include <ctime>
#include <string_view>
#include <vector>

#include "organize/organize_journal.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

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
