#include "organize/organize_undo.h"

#include <string_view>
#include <vector>

#include "organize/folder_guard.h"
#include "organize/organize_journal.h"
#include "organize/same_content.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

constexpr char kSep = platform::kPathSeparator;

// The folder that holds `path` (a file, or a folder ending with the separator), with its
// final separator; empty when there is none.
std::string ParentOf(std::string_view path) {
  if (!path.empty() && path.back() == kSep) {
    path.remove_suffix(1);
  }
  const std::size_t separator = path.rfind(kSep);
  return separator == std::string_view::npos ? std::string()
                                             : std::string(path.substr(0, separator + 1));
}

// Narrows `shared` (empty: nothing yet) to the folders it has in common with `folder`.
void KeepCommonFolder(std::string* shared, const std::string& folder, bool first) {
  if (first) {
    *shared = folder;
    return;
  }
  std::size_t end = 0;
  for (std::size_t i = 0; i < shared->size() && i < folder.size() && (*shared)[i] == folder[i];
       ++i) {
    if (folder[i] == kSep) {
      end = i + 1;
    }
  }
  shared->resize(end);
}

// The guard of each line's record: files are taken from the job's output folder and put back
// into its photo folder, as the "# job" line above the record names them. Records above any
// such line (journals of earlier versions) get the folders that all of them share.
std::vector<FolderGuard> UndoGuards(const JournalLines& journal,
                                    std::vector<std::size_t>* guardOfLine) {
  std::vector<FolderGuard> guards(1);
  std::string placed, sources;
  bool firstPlaced = true, firstSource = true;
  guardOfLine->assign(journal.lines.size(), 0);
  for (std::size_t i = 0; i < journal.lines.size(); ++i) {
    std::string source, target;
    JournalRecord record;
    if (ParseJobLine(journal.lines[i], &source, &target)) {
      guards.emplace_back(target, source);
    } else if (guards.size() == 1 && ParseJournalLine(journal.lines[i], &record)) {
      KeepCommonFolder(&placed, ParentOf(record.destination), firstPlaced);
      firstPlaced = false;
      if (record.kind != JournalRecord::Kind::kFolder) {
        KeepCommonFolder(&sources, ParentOf(record.source), firstSource);
        firstSource = false;
      }
    }
    (*guardOfLine)[i] = guards.size() - 1;
  }
  guards[0] = FolderGuard(placed, sources);
  return guards;
}

class Undoer {
 public:
  Undoer(bool dryRun, const std::function<void(const std::string&)>& report, UndoCounts* counts)
      : dryRun_(dryRun), report_(report), counts_(counts) {}

  // Takes one record back within the folders `guard` allows.
  void Undo(const JournalRecord& record, const FolderGuard& guard) {
    guard_ = &guard;
    const std::string& placed = record.destination;
    const GuardedChange allowed = record.kind == JournalRecord::Kind::kMove
                                      ? guard.CheckMove(placed, record.source)
                                      : guard.CheckRemove(placed);
    if (allowed != GuardedChange::kDone) {
      return Refuse("无法撤销, 不在日志记录的目录内: " +
                    (allowed == GuardedChange::kOutsideSource ? placed : record.source));
    }
    if (record.kind == JournalRecord::Kind::kFolder) {
      RemoveFolder(record.destination);
      return;
    }
    platform::FileInfo info;
    if (!platform::ReadFileInfo(placed, &info)) {
      return Refuse("无法撤销, 文件已不在: " + placed);
    }
    if (info.size != record.size || info.lastWrite != record.lastWrite) {
      return Refuse("无法撤销, 文件已改动: " + placed);
    }
    if (record.kind == JournalRecord::Kind::kMove) {
      MoveBack(record);
    } else {
      DeleteCopy(record);
    }
  }

  void Refuse(const std::string& text) {
    ++counts_->notUndone;
    report_(text);
  }

 private:
  void MoveBack(const JournalRecord& record) {
    const std::string arrow = record.destination + " -> " + record.source;
    if (platform::PathExists(record.source)) {
      return Refuse("无法撤销, 原位置已有文件: " + arrow);
    }
    if (dryRun_) {
      return Done("将移回: " + arrow);
    }
    if (guard_->Move(record.destination, record.source) != GuardedChange::kDone) {
      return Refuse("无法撤销, 移回失败: " + arrow);
    }
    Done("已移回: " + arrow);
  }

  void DeleteCopy(const JournalRecord& record) {
    // The copy may be the only one left of its bytes: it goes only while its source still holds
    // the same ones. Sizes and times could not tell: an edit or a reused card may keep the
    // size, and FAT cards round the times.
    if (!HaveSameContent(record.source, record.destination)) {
      return Refuse("无法撤销, 源文件已不在或已改动, 保留副本: " + record.destination);
    }
    if (dryRun_) {
      return Done("将删除副本: " + record.destination);
    }
    if (guard_->RemoveFile(record.destination) != GuardedChange::kDone) {
      return Refuse("无法撤销, 删除失败: " + record.destination);
    }
    Done("已删除副本: " + record.destination);
  }

  // A folder the job created goes only when nothing is left in it.
  void RemoveFolder(const std::string& folder) {
    if (!platform::PathExists(folder)) {
      return;
    }
    if (dryRun_) {
      report_("将删除目录 (如果已空): " + folder);
    } else if (guard_->RemoveEmptyFolder(folder) == GuardedChange::kDone) {
      report_("已删除空目录: " + folder);
    } else {
      report_("目录不空, 保留: " + folder);
    }
  }

  void Done(const std::string& text) {
    ++counts_->undone;
    report_(text);
  }

  bool dryRun_;
  const std::function<void(const std::string&)>& report_;
  UndoCounts* counts_;
  const FolderGuard* guard_ = nullptr;  // the record in hand's
};

}  // namespace

bool UndoJournal(const std::string& journalPath, bool dryRun,
                 const std::function<void(const std::string&)>& report, UndoCounts* counts,
                 const std::atomic<bool>* running) {
  *counts = UndoCounts();
  JournalLines journal;
  if (!ReadJournalLines(journalPath, &journal)) {
    return false;
  }
  Undoer undoer(dryRun, report, counts);

  // A last line without its line break was cut short while being written: the file it was
  // about may or may not have been placed, so it is reported, not trusted.
  if (!journal.cutShort.empty()) {
    undoer.Refuse("日志最后一行不完整, 无法撤销: " + std::string(journal.cutShort));
  }

  std::vector<std::size_t> guardOfLine;
  const std::vector<FolderGuard> guards = UndoGuards(journal, &guardOfLine);
  // What is taken back is noted in the journal at once, so that an undo stopped or killed
  // half-way goes on from there the next time.
  OrganizeJournal progress;
  bool progressOpened = false;
  for (std::size_t i = journal.lines.size(); i-- > 0;) {
    if (running != nullptr && !*running) {
      return true;
    }
    const std::string_view line = journal.lines[i];
    if (line.empty() || line.front() == '#' || journal.takenBack[i]) {
      continue;
    }
    JournalRecord record;
    if (!ParseJournalLine(line, &record)) {
      undoer.Refuse("无法读取的日志行: " + std::string(line));
      continue;
    }
    const int undoneBefore = counts->undone;
    undoer.Undo(record, guards[guardOfLine[i]]);
    if (counts->undone != undoneBefore && !dryRun) {
      if (!progressOpened && !progress.Open(journalPath)) {
        report("无法在日志中记下撤销进度: " + journalPath);
      }
      progressOpened = true;
      progress.RecordUndone(i + 1);
    }
  }
  counts->complete = true;
  return true;
}
