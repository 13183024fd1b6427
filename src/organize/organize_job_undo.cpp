// Taking a job back on the job's worker: the same undo as the command line's, reported through
// the job's latest message, progress and failure file.
#include <string>

#include "organize/job_journals.h"
#include "organize/organize_job.h"
#include "organize/organize_undo.h"

void COrganizeJob::RunUndo(const std::string& journalPath, const std::string& failureFilePath) {
  UndoCounts counts;
  int refusedBefore = 0;
  const bool read = UndoJournal(
      journalPath, false,
      [&](const std::string& line) {
        m_messageBuf.assign(line).append("\r\n");
        // Each record left alone is counted before it is reported.
        if (counts.notUndone != refusedBefore) {
          refusedBefore = counts.notUndone;
          m_strErrors += m_messageBuf;
        }
        PublishMessage();
        PostOrganizeProgress();
      },
      &counts, &m_bRunning);
  if (!read) {
    m_strErrors += "无法读取日志: " + journalPath + "\r\n";
  } else if (counts.complete) {
    MarkJournalUndone(journalPath);
  }
  m_nFileCount = counts.undone;
  m_nFailCount = counts.notUndone;
  FinishRun("\r\n\r\n撤销文件 " + std::to_string(counts.undone) + " 个, 无法撤销 " +
                std::to_string(counts.notUndone) + " 个",
            failureFilePath);
}
