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
// as "\n". Three comments serve the undo (readers of the records pass over them):
//   # job<TAB>PHOTO-FOLDER<TAB>OUTPUT-FOLDER<TAB>end   a job's folders, before its records
//   # undone<TAB>N   the record on line N (counted from 1) was taken back
//   # undone         an undo went through every record
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"
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

// The line that marks a journal whose undo went through every record.
inline constexpr std::string_view kAllUndoneLine = "# undone";

// A "# job" line's folders. False when the line is none.
bool ParseJobLine(std::string_view line, std::string* source, std::string* target);

// A journal read whole and split into lines.
struct JournalLines {
  JournalLines() = default;
  JournalLines(const JournalLines&) = delete;  // the lines point into `text`
  JournalLines& operator=(const JournalLines&) = delete;

  std::string text;
  std::vector<std::string_view> lines;  // the complete lines, without their line breaks
  std::string_view cutShort;            // a last line that lacks its line break
  std::vector<bool> takenBack;          // for each line: a record an undo took back
};
// Reads the journal at `path`. False when it cannot be read.
bool ReadJournalLines(const std::string& path, JournalLines* journal);

class OrganizeJournal {
 public:
  // Opens `path` for appending (a journal given twice keeps both jobs). False on failure.
  bool Open(const std::string& path);

  // Each call writes and flushes one line. A failed write is remembered in Failed().
  void RecordFolder(const std::string& folder);
  // Records a placed file with its size and last-write time at `destination`: `placed`, as
  // read right after placing it, or when null as it has them now.
  void RecordPlaced(bool moved, const std::string& source, const std::string& destination,
                    const platform::FileInfo* placed = nullptr);
  // Records the folders of the job whose records follow.
  void RecordJob(const std::string& source, const std::string& target);
  // Records that the record on line `number` (counted from 1) was taken back.
  void RecordUndone(std::size_t number);
  // Records that an undo went through every record.
  void RecordAllUndone();

  bool Failed() const { return failed_; }

 private:
  void Write(const JournalRecord& record);
  void Write(const std::string& text);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
  bool failed_ = false;
};
