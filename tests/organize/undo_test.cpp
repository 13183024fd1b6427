// A job recorded in its journal and taken back: after copy and move, after the user changed
// or removed placed files, and from a journal cut short.
#include <map>
#include <string>
#include "platform/file_ops.h"

#include "organize/organize_journal.h"
#include "organize/organize_undo.h"
#include "organize_fixture.h"

namespace {

using Tree = std::map<std::string, std::string>;  // relative path -> content

class UndoTest : public OrganizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Two photos of one name and day, a sidecar, a video, a file the filter leaves alone, and a
  // name already taken in the target.
  void SetUp() override {
    OrganizeTest::SetUp();
    Photo("src/a/x.jpg", "2012:05:17 10:20:30");
    Photo("src/b/x.jpg", "2012:05:17 11:00:00");
    File("src/b/x.xmp", 2019, 3, 9, "sidecar");
    File("src/c/clip.mp4", 2013, 1, 2, "video");
    File("src/c/notes.txt");
    File("tgt/2012年/kept.txt", 2019, 3, 4, "was there before");
    sourceBefore_ = testfiles::ReadTree(Src());
    targetBefore_ = testfiles::ReadTree(Tgt());
  }

  std::string Journal() const { return temp / "journal.txt"; }

  // The organize job, with the journal, every option and copy or move by the parameter.
  void Organize() {
    OrganizeJournal journal;
    ASSERT_TRUE(journal.Open(Journal()));
    RecordingJob job;
    job.m_pJournal = &journal;
    job.m_bDeleteSrc = GetParam();
    job.m_settings.skipIdentical = true;
    job.m_settings.renameClashes = true;
    job.m_settings.sidecars = true;
    Run(job);
    ASSERT_EQ(job.m_nFailCount, 0);
    ASSERT_EQ(job.m_nFileCount, 4);
    ASSERT_FALSE(journal.Failed());
  }

  UndoCounts Undo(bool dryRun = false) {
    UndoCounts counts;
    reported_.clear();
    EXPECT_TRUE(UndoJournal(
        Journal(), dryRun, [&](const std::string& line) { reported_ += line + "\n"; }, &counts));
    return counts;
  }
  bool Reported(const std::string& part) const { return reported_.find(part) != std::string::npos; }
  // The placed file of photo b (its content tells it from a's).
  std::string PlacedB() const {
    for (const char* name : {"x.jpg", "x(1).jpg"}) {
      const std::string path = Tgt() + testfiles::Native("2012年/2012-05-17/") + name;
      if (testfiles::ReadAll(path) == sourceBefore_.at("b/x.jpg")) {
        return path;
      }
    }
    ADD_FAILURE() << "photo b not placed";
    return "";
  }

  Tree sourceBefore_, targetBefore_;
  std::string reported_;
};

TEST_P(UndoTest, TakesTheJobBackCompletely) {
  Organize();
  ASSERT_NE(testfiles::ReadTree(Tgt()), targetBefore_);
  const Tree placed = testfiles::ReadTree(Tgt());

  // A dry run reports what it would do and changes nothing.
  const UndoCounts dry = Undo(true);
  EXPECT_EQ(dry.undone, 4);
  EXPECT_EQ(dry.notUndone, 0);
  EXPECT_TRUE(Reported(GetParam() ? "将移回: " : "将删除副本: ")) << reported_;
  EXPECT_EQ(testfiles::ReadTree(Tgt()), placed);

  const UndoCounts counts = Undo();
  EXPECT_EQ(counts.undone, 4);
  EXPECT_EQ(counts.notUndone, 0) << reported_;
  EXPECT_EQ(testfiles::ReadTree(Src()), sourceBefore_);
  EXPECT_EQ(testfiles::ReadTree(Tgt()), targetBefore_);
  // The folders the job made are gone; the year folder that held a file before stays.
  EXPECT_FALSE(testfiles::Exists(Tgt() + "2013年"));
  EXPECT_FALSE(testfiles::Exists(Tgt() + testfiles::Native("2012年/2012-05-17")));
  EXPECT_TRUE(testfiles::Exists(Tgt() + "2012年"));
  // Moved files have their times back too.
  if (GetParam()) {
    platform::FolderListing listing(Folder("src/c"));
    for (bool more = listing.IsOpen(); more; more = listing.Next()) {
      if (listing.Name() == "clip.mp4") {
        platform::LocalDate day;
        ASSERT_TRUE(platform::LocalDateOfFileTime(listing.LastWriteTime(), &day));
        EXPECT_EQ(day.day, 2);
      }
    }
  }
}

TEST_P(UndoTest, LeavesFilesTheUserChangedOrRemovedAndCountsThem) {
  Organize();
  const std::string clip = Tgt() + testfiles::Native("2013年/2013-01-02/clip.mp4");
  const std::string b = PlacedB();
  ASSERT_TRUE(testfiles::WriteText(b, "edited by the user"));
  ASSERT_TRUE(platform::RemoveFile(clip));
  if (GetParam()) {
    // A new file where a moved one came from.
    ASSERT_TRUE(testfiles::WriteText(Src() + testfiles::Native("b/x.xmp"), "new"));
  }

  const UndoCounts counts = Undo();
  EXPECT_EQ(counts.notUndone, GetParam() ? 3 : 2) << reported_;
  EXPECT_EQ(counts.undone, GetParam() ? 1 : 2) << reported_;
  EXPECT_TRUE(Reported("无法撤销, 文件已改动: " + b)) << reported_;
  EXPECT_TRUE(Reported("无法撤销, 文件已不在: " + clip)) << reported_;
  EXPECT_EQ(testfiles::ReadAll(b), "edited by the user");
  EXPECT_TRUE(testfiles::Exists(Tgt() + testfiles::Native("2012年/2012-05-17")));
  EXPECT_FALSE(testfiles::Exists(Tgt() + "2013年")) << "left empty, so removed";
}

TEST_P(UndoTest, CopyWhoseSourceIsGoneIsKeptAndAMoveGoesBack) {
  Organize();
  const std::string source = Src() + testfiles::Native("c/clip.mp4");
  const std::string placed = Tgt() + testfiles::Native("2013年/2013-01-02/clip.mp4");
  // After a copy the user deletes the source: the copy is the only one left.
  platform::RemoveFile(source);
  const UndoCounts counts = Undo();
  EXPECT_EQ(counts.notUndone, GetParam() ? 0 : 1) << reported_;
  EXPECT_EQ(testfiles::Exists(placed), !GetParam());
  EXPECT_EQ(testfiles::Exists(source), GetParam());
}

TEST_P(UndoTest, JournalCutShortByACrashThenAppendedTo) {
  Organize();
  // The last record loses its end, as when the program dies while writing it.
  std::string journal = testfiles::ReadAll(Journal());
  ASSERT_GT(journal.size(), 10u);
  journal.resize(journal.size() - 6);
  const std::string lastRecord = journal.substr(journal.rfind('\n') + 1);
  ASSERT_TRUE(testfiles::WriteText(Journal(), journal));

  // Undo right away takes back all but that file.
  const UndoCounts dry = Undo(true);
  EXPECT_EQ(dry.undone, 3);
  EXPECT_EQ(dry.notUndone, 1);
  EXPECT_TRUE(Reported("日志最后一行不完整, 无法撤销: " + lastRecord)) << reported_;

  // A later job appends to the journal without losing its first record to the cut line.
  File("src/d/late.mp4", 2014, 2, 3, "late");
  {
    OrganizeJournal later;
    ASSERT_TRUE(later.Open(Journal()));
    RecordingJob job;
    job.m_pJournal = &later;
    job.m_bDeleteSrc = GetParam();
    job.m_settings.skipIdentical = true;
    job.m_settings.renameClashes = true;
    Run(job);
    ASSERT_EQ(job.m_nFileCount, 1);
  }
  const UndoCounts counts = Undo();
  EXPECT_EQ(counts.undone, 4) << reported_;
  EXPECT_EQ(counts.notUndone, 1);
  EXPECT_TRUE(Reported("无法读取的日志行: " + lastRecord)) << reported_;
  EXPECT_FALSE(testfiles::Exists(Tgt() + "2014年"));
  EXPECT_EQ(testfiles::ReadTree(Tgt()).size(), targetBefore_.size() + 1);
}

TEST_P(UndoTest, JournalSavedWithCrLfStillReads) {
  Organize();
  std::string crlf;
  for (const char c : testfiles::ReadAll(Journal())) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  ASSERT_TRUE(testfiles::WriteText(Journal(), crlf));
  const UndoCounts counts = Undo();
  EXPECT_EQ(counts.undone, 4);
  EXPECT_EQ(counts.notUndone, 0) << reported_;
  EXPECT_EQ(testfiles::ReadTree(Tgt()), targetBefore_);
}

TEST_P(UndoTest, MissingJournalIsAnError) {
  UndoCounts counts;
  EXPECT_FALSE(UndoJournal(
      temp / "none.txt", false, [](const std::string&) {}, &counts));
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, UndoTest, ::testing::Bool());

}  // namespace
