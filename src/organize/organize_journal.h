// The journal of an organize job: one line per folder the job created and per file it placed,
// written as the job goes, so that the job can be taken back.
//
// Format: UTF-8 text, one record per line ending with "\n", fields separated by a tab:
//   folder<TAB>PATH<TAB>end
//   copy<TAB>SOURCE<TAB>DESTINATION<TAB>SIZE<TAB>LAST-WRITE<TAB>end
//   move<TAB>SOURCE<TAB>DESTINATION<TAB>SIZE<TAB>LAST-WRITE<TAB>end
// The closing "end" tells a whole record from one cut short by a crash.
// SIZE is in bytes and LAST-WRITE in 100-nanosecond ticks since 1601-01-01 UTC, both decimal.
// In paths every byte below 0x20, the byte 0x7F and '%' are written as "%XX" (two upper-case
// hex digits), so a path of any bytes fits on one line; other bytes stand as they are. Lines
// starting with '#' are comments; a line break written as CR LF (an edited journal) is read
// as "\n".
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

struct JournalRecord {
  enum class Kind { kFolder, kCopy, kMove };
  Kind kind = Kind::kFolder;
  std::string source;       // empty for a folder
  std::string destination;  // the folder, or where the file was placed
  std::uint64_t size = 0;
  platform::FileTime lastWrite = 0;
};

// One record as a line, with its final "\n".
std::string FormatJournalLine(const JournalRecord& record);
// Reads a line without its "\n". False when it is no record.
bool ParseJournalLine(std::string_view line, JournalRecord* record);
// Reads the whole journal at `path` into `text`. False when it cannot be read.
bool ReadJournalFile(const std::string& path, std::string* text);

class OrganizeJournal {
 public:
  // Opens `path` for appending (a journal given twice keeps both jobs). False on failure.
  bool Open(const std::string& path);

  // Each call writes and flushes one line. A failed write is remembered in Failed().
  void RecordFolder(const std::string& folder);
  // Records a placed file with the size and last-write time it has at `destination` now.
  void RecordPlaced(bool moved, const std::string& source, const std::string& destination);

  bool Failed() const { return failed_; }

 private:
  void Write(const JournalRecord& record);
  void Write(const std::string& text);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
  bool failed_ = false;
};
