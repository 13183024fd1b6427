// The window's journals beside the program and an undo run as a job: the newest journal is the
// last job's, an undo takes back what is unchanged, lists the rest, and is not offered twice.
#include <string>
#include <utility>

#include "organize/job_journals.h"
#include "organize/organize_journal.h"
#include "organize_fixture.h"

namespace {

TEST_F(OrganizeTest, TheLastJobIsTakenBackOnceAndAChangedFileIsListed) {
  const std::string app = Folder("app");
  // Of 25 older journals the newest 19 stay beside the new one.
  for (int i = 10; i < 35; ++i) {
    File("app/journal/2000-01-01_0000" + std::to_string(i) + ".txt");
  }
  const std::string path = NewJobJournalPath(app);
  EXPECT_EQ(testfiles::ListFiles(JobJournalFolder(app)).front(), "2000-01-01_000016.txt");

  Photo("src/a.jpg", "2012:05:17 10:20:30");
  Photo("src/sub/c.jpg", "2012:05:17 10:20:30");
  File("src/b.mp4");
  OrganizeJournal journal;
  ASSERT_TRUE(journal.Open(path));
  RecordingJob job;
  job.m_pJournal = &journal;
  job.m_bDeleteSrc = true;
  Run(job);
  EXPECT_EQ(LastJobJournal(app), path);
  JournalCounts counts;
  EXPECT_TRUE(CountJournal(path, &counts));
  EXPECT_EQ(std::pair(counts.files, counts.folders), std::pair(3, 4));
  const std::string changed = Tgt() + testfiles::Native("2019年/2019-03-04/b.mp4");
  ASSERT_TRUE(testfiles::WriteText(changed, "changed since"));

  RecordingJob undo;
  undo.BeginJob();
  undo.RunUndo(path, FailureFile());
  EXPECT_EQ(SourceFiles(), (Files{"a.jpg", "sub/c.jpg"}));
  EXPECT_EQ(TargetFiles(), Files{"2019年/2019-03-04/b.mp4"});
  const std::string summary = "\r\n\r\n撤销文件 2 个, 无法撤销 1 个";
  EXPECT_EQ(undo.LatestMessage(), summary);
  EXPECT_EQ(testfiles::ReadAll(FailureFile()),
            "\xEF\xBB\xBF无法撤销, 文件已改动: " + changed + "\r\n" + summary);
  EXPECT_EQ(LastJobJournal(app), "");
  EXPECT_TRUE(CountJournal(path, &counts) && counts.files == 3);  // the mark is no record
}

}  // namespace
