#include "organize/organize_undo.h"

#include <string_view>
#include <vector>

#include "organize/organize_journal.h"
#include "organize/same_content.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

namespace {

class Undoer {
 public:
  Undoer(bool dryRun, const std::function<void(const std::string&)>& report, UndoCounts* counts)
      : dryRun_(dryRun), report_(report), counts_(counts) {}

  void Undo(const JournalRecord& record) {
    if (record.kind == JournalRecord::Kind::kFolder) {
      RemoveFolder(record.destination);
      return;
    }
    const std::string& placed = record.destination;
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
    if (!platform::MoveFileNoOverwrite(record.destination, record.source)) {
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
    if (!platform::RemoveFile(record.destination)) {
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
    } else if (platform::RemoveEmptyFolder(folder)) {
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
};

}  // namespace

bool UndoJournal(const std::string& journalPath, bool dryRun,
                 const std::function<void(const std::string&)>& report, UndoCounts* counts,
                 const std::atomic<bool>* running) {
  *counts = UndoCounts();
  std::string text;
  if (!ReadJournalFile(journalPath, &text)) {
    return false;
  }
  Undoer undoer(dryRun, report, counts);

  // A last line without its line break was cut short while being written: the file it was
  // about may or may not have been placed, so it is reported, not trusted.
  const std::size_t lastBreak = text.rfind('\n');
  const std::size_t complete = lastBreak == std::string::npos ? 0 : lastBreak + 1;
  if (complete < text.size()) {
    undoer.Refuse("日志最后一行不完整, 无法撤销: " + text.substr(complete));
  }

  std::vector<std::string_view> lines;
  std::string_view rest(text.data(), complete);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    // Journals write CR as "%0D", so a CR at a line's end came from an editor.
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    rest.remove_prefix(end + 1);
  }
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (running != nullptr && !*running) {
      break;
    }
    if (line->empty() || line->front() == '#') {
      continue;
    }
    JournalRecord record;
    if (ParseJournalLine(*line, &record)) {
      undoer.Undo(record);
    } else {
      undoer.Refuse("无法读取的日志行: " + std::string(*line));
    }
  }
  return true;
}
