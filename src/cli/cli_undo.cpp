#include "cli/cli_undo.h"

#include "cli/cli_paths.h"
#include "cli/cli_texts.h"
#include "cli/console.h"
#include "organize/organize_undo.h"

int RunUndoCli(const std::string& journal, bool dryRun, const CliStreams& streams) {
  const std::string path = AbsoluteFilePath(journal);
  if (dryRun) {
    WriteText(streams.out, kUndoDryRunStart);
  }
  UndoCounts counts;
  const bool read = UndoJournal(
      path, dryRun, [&](const std::string& line) { WriteText(streams.out, line + "\n"); }, &counts);
  if (!read) {
    WriteText(streams.err, kJournalNotRead + path + "\n");
    return 2;
  }
  const std::string summary = std::string(dryRun ? "可撤销文件 " : "撤销文件 ") +
                              std::to_string(counts.undone) + " 个, 无法撤销 " +
                              std::to_string(counts.notUndone) + " 个\n";
  WriteText(streams.out, "\n" + summary);
  if (dryRun) {
    WriteText(streams.out, kDryRunEnd);
  }
  std::fflush(streams.out);
  return counts.notUndone > 0 ? 1 : 0;
}
