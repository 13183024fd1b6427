// Copies and moves: never overwriting, name clashes, repeated runs, move mode, dry runs, and
// the job's own copies of the target and the delete flag.
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

using Files = std::vector<std::string>;

class TransferTest : public OrganizeTest {
 protected:
  // Two photos named x.jpg with the same date in two subfolders, told apart by their size.
  void MakeClash() const {
    Photo("src/a/x.jpg", "2012:05:17 10:20:30", jpegbuilder::ByteOrder::kLittle, 10);
    Photo("src/b/x.jpg", "2012:05:17 11:00:00", jpegbuilder::ByteOrder::kBig, 20);
  }
  std::string Placed() const {
    return testfiles::ReadAll(Tgt() + testfiles::Native("2012年/2012-05-17/x.jpg"));
  }
  std::string Source(const std::string& relative) const {
    return testfiles::ReadAll(temp / relative);
  }
};

TEST_F(TransferTest, SecondFileOfTheSameNameAndDateFailsWhenCopying) {
  MakeClash();
  const std::string a = Source("src/a/x.jpg");
  const std::string b = Source("src/b/x.jpg");
  RecordingJob job;
  Run(job);

  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/x.jpg"});
  // The failure names the source that was not placed; the placed one is intact.
  const std::string lowerSrc = platform::ToLower(Src());
  const bool aFailed = job.m_strErrors.find(lowerSrc + "a") != std::string::npos;
  const bool bFailed = job.m_strErrors.find(lowerSrc + "b") != std::string::npos;
  EXPECT_NE(aFailed, bFailed);
  EXPECT_EQ(Placed(), aFailed ? b : a);
  EXPECT_EQ(SourceFiles(), (Files{"a/x.jpg", "b/x.jpg"}));
}

TEST_F(TransferTest, FailedMoveLeavesItsSourceInPlace) {
  MakeClash();
  const std::string a = Source("src/a/x.jpg");
  const std::string b = Source("src/b/x.jpg");
  RecordingJob job;
  job.m_bDeleteSrc = true;
  Run(job);

  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 1);
  const Files left = SourceFiles();
  ASSERT_EQ(left.size(), 1u);
  // Whichever was moved is in the target; the other is still where it was, unchanged.
  EXPECT_EQ(Placed(), left[0] == "a/x.jpg" ? b : a);
  EXPECT_EQ(Source("src/" + left[0]), left[0] == "a/x.jpg" ? a : b);
  EXPECT_NE(job.m_strErrors.find("移动文件失败: "), std::string::npos);
}

TEST_F(TransferTest, SecondRunIntoAnOrganisedTargetFailsForEveryFile) {
  File("src/a.jpg");
  File("src/sub/b.avi");
  Photo("src/sub/c.jpg", "2012:05:17 10:20:30");
  RecordingJob job;
  Run(job);
  ASSERT_EQ(job.m_nFailCount, 0);
  const Files organised = TargetFiles();

  Run(job);  // the same job object: nothing of the first run may linger
  EXPECT_EQ(job.m_nFileCount, 3);
  EXPECT_EQ(job.m_nFailCount, 3);
  EXPECT_EQ(TargetFiles(), organised);
  // Three failure lines, then the summary.
  EXPECT_EQ(job.m_strErrors.substr(job.m_strErrors.rfind("\r\n\r\n")),
            "\r\n\r\n整理文件 3 个, 失败 3 个");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = job.m_strErrors.find("复制文件失败: ", at)) != std::string::npos;
       ++at) {
    ++lines;
  }
  EXPECT_EQ(lines, 3u);
}

TEST_F(TransferTest, MoveModeEmptiesTheSourceOfPlacedFilesOnly) {
  File("src/a.jpg");
  File("src/sub/b.mov", 2020, 1, 2);
  File("src/sub/.skip.jpg");
  File("src/notes.txt");
  RecordingJob job;
  job.m_bDeleteSrc = true;
  Run(job);

  EXPECT_EQ(SourceFiles(), (Files{"notes.txt", "sub/.skip.jpg"}));
  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/a.jpg", "2020年/2020-01-02/b.mov"}));
  EXPECT_EQ(testfiles::ReadAll(Tgt() + testfiles::Native("2019年/2019-03-04/a.jpg")), "data");
}

TEST_F(TransferTest, FolderThatCannotBeCreatedShowsAsFailedCopy) {
  File("src/a.jpg");
  File("tgt/2019年", 2019, 3, 4, "a file where the year folder belongs");
  RecordingJob job;
  Run(job);
  EXPECT_EQ(job.m_nFileCount, 1);
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_EQ(TargetFiles(), Files{"2019年"});
}

class DryRunTest : public TransferTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DryRunTest, ChangesNothingAndPredictsWhatTheRealRunDoes) {
  MakeClash();
  File("src/c.jpg");
  File("tgt/2019年/2019-03-04/c.jpg", 2019, 3, 4, "already there");
  const Files sourceBefore = ListEntries(Src());
  const Files targetBefore = ListEntries(Tgt());

  RecordingJob dry;
  dry.m_bDryRun = true;
  dry.m_bDeleteSrc = GetParam();
  Run(dry);
  EXPECT_EQ(ListEntries(Src()), sourceBefore);
  EXPECT_EQ(ListEntries(Tgt()), targetBefore);
  EXPECT_EQ(dry.m_nFileCount, 3);
  EXPECT_EQ(dry.m_nFailCount, 2);  // the clash and the c.jpg already there
  EXPECT_FALSE(testfiles::Exists(FailureFile()));
  EXPECT_TRUE(dry.failureFiles.empty());

  // A second dry run on the same object forgets the destinations promised by the first.
  const std::vector<std::string> firstMessages = dry.messages;
  dry.messages.clear();
  Run(dry);
  EXPECT_EQ(dry.messages, firstMessages);

  RecordingJob real;
  real.m_bDeleteSrc = GetParam();
  Run(real);
  EXPECT_EQ(real.messages, firstMessages);
  EXPECT_EQ(real.m_strErrors, dry.m_strErrors);
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, DryRunTest, ::testing::Bool());

TEST_F(TransferTest, WalkKeepsTheTargetAndDeleteFlagItStartedWith) {
  // The window may change its folders and the flag while a job runs.
  class ChangingJob : public RecordingJob {
   public:
    std::string otherTarget;

   protected:
    void PostOrganizeProgress() override {
      RecordingJob::PostOrganizeProgress();
      m_strPathTar = otherTarget;
      m_bDeleteSrc = true;
    }
  } job;
  File("one/a.jpg");
  File("two/b.jpg");
  job.otherTarget = Folder("other");
  job.m_strPathTar = Tgt();
  job.BeginJob();
  job.OrganizeFolder(Folder("one"));
  job.OrganizeFolder(Folder("two"));

  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/a.jpg", "2019年/2019-03-04/b.jpg"}));
  EXPECT_FALSE(testfiles::Exists(Folder("other")));
  EXPECT_TRUE(testfiles::Exists(temp / "two/b.jpg"));  // copied, not moved
  EXPECT_EQ(job.m_nFileCount, 2);
}

}  // namespace
