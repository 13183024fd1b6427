// Job control: the start checks, stopping, the end of a job and the failure file.
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

using Files = std::vector<std::string>;

class JobTest : public OrganizeTest {
 protected:
  std::string Check(const std::string& source, const std::string& target) const {
    COrganizeJob job;
    job.m_strPathSrc = source;
    job.m_strPathTar = target;
    return job.CheckStart();
  }
};

TEST_F(JobTest, StartChecksInOrder) {
  const std::string missing = Folder("missing");
  const std::string gone = Folder("gone");

  // 1: a folder not chosen, whatever the other one is.
  EXPECT_EQ(Check("", Tgt()), "请先选择目录.");
  EXPECT_EQ(Check(Src(), ""), "请先选择目录.");
  EXPECT_EQ(Check("", ""), "请先选择目录.");
  // 2: one folder in two letter cases, checked before existence.
  EXPECT_EQ(Check(Folder("Photos"), Folder("photos")), "照片目录和输出目录不能是同一个目录.");
  EXPECT_EQ(Check(Folder("照片A"), Folder("照片a")), "照片目录和输出目录不能是同一个目录.");
  EXPECT_EQ(Check(missing, missing), "照片目录和输出目录不能是同一个目录.");
  // 3: nested either way, with the same letter case.
  EXPECT_EQ(Check(Src(), Src() + "sorted" + kSep), "照片目录和输出目录不能在是同一个目录内.");
  EXPECT_EQ(Check(Tgt() + "in" + kSep, Tgt()), "照片目录和输出目录不能在是同一个目录内.");
  // 4 before 5: the target is named even when the source is missing too.
  EXPECT_EQ(Check(gone, missing), "目录不存在:" + missing);
  EXPECT_EQ(Check(Src(), missing), "目录不存在:" + missing);
  EXPECT_EQ(Check(gone, Tgt()), "目录不存在:" + gone);
  EXPECT_EQ(Check(Src(), Tgt()), "");
}

TEST_F(JobTest, NestedFoldersDifferingInLetterCasePassTheChecks) {
  ASSERT_TRUE(testfiles::MakeFolders(Folder("Photos")));
  ASSERT_TRUE(testfiles::MakeFolders(Folder("photos/sorted")));
  EXPECT_EQ(Check(Folder("Photos"), Folder("photos/sorted")), "");
  EXPECT_EQ(Check(Folder("photos/sorted"), Folder("Photos")), "");
}

TEST_F(JobTest, EndOfJobMakesSummaryLatestAndClearsRunningFirst) {
  File("src/a.jpg");
  RecordingJob job;
  Run(job);
  const std::string summary = "\r\n\r\n整理文件 1 个, 失败 0 个";
  EXPECT_EQ(job.SummaryText(), summary);
  EXPECT_EQ(job.finishedCalls, 1);
  EXPECT_FALSE(job.runningWhenFinished);
  EXPECT_EQ(job.messageWhenFinished, summary);
  ASSERT_EQ(job.messages.size(), 2u);  // the file, then the summary after the finish
  EXPECT_EQ(job.messages.back(), summary);
  EXPECT_FALSE(job.m_bRunning);
  EXPECT_EQ(job.m_strErrors, "");
}

TEST_F(JobTest, FailureFileHoldsFailuresAndSummaryWithoutFinalLineBreak) {
  File("src/a.jpg");
  File("src/b.jpg");
  File("tgt/2019年/2019-03-04/b.jpg", 2019, 3, 4, "taken");
  ASSERT_TRUE(testfiles::WriteText(FailureFile(), "an older and much longer failure list"));

  RecordingJob job;
  Run(job);
  const std::string expected = "复制文件失败: " + platform::ToLower(Src()) + "b.jpg -> " + Tgt() +
                               testfiles::Native("2019年/2019-03-04/b.jpg") +
                               "\r\n\r\n\r\n整理文件 2 个, 失败 1 个";
  EXPECT_EQ(testfiles::ReadAll(FailureFile()), expected);  // truncated, no BOM
  EXPECT_EQ(job.m_strErrors, expected);
  EXPECT_EQ(job.failureFiles, Files{FailureFile()});
  EXPECT_EQ(job.LatestMessage(), "\r\n\r\n整理文件 2 个, 失败 1 个");

  // A following job without failures leaves the file alone; BeginJob forgets the old list.
  testfiles::TempFolder other;
  ASSERT_TRUE(testfiles::WriteText(other / "c.avi", "x"));
  job.m_strPathSrc = other.Path();
  job.BeginJob();
  EXPECT_EQ(job.m_nFileCount, 0);
  EXPECT_EQ(job.m_nFailCount, 0);
  EXPECT_EQ(job.m_strErrors, "");
  EXPECT_EQ(job.LatestMessage(), "");
  job.RunOrganize(FailureFile());
  EXPECT_EQ(job.m_nFileCount, 1);
  EXPECT_EQ(testfiles::ReadAll(FailureFile()), expected);
  EXPECT_EQ(job.failureFiles.size(), 1u);
}

TEST_F(JobTest, FailureFileThatCannotBeOpenedIsSkippedSilently) {
  File("src/a.jpg");
  File("tgt/2019年/2019-03-04/a.jpg");
  RecordingJob job;
  job.m_strPathSrc = Src();
  job.m_strPathTar = Tgt();
  job.BeginJob();
  job.RunOrganize(temp / "no/such/folder/errorFile.txt");
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_TRUE(job.failureFiles.empty());
  EXPECT_FALSE(testfiles::Exists(temp / "no"));
}

TEST_F(JobTest, StopEndsTheWalkAfterTheFileInHandAtAnyDepth) {
  File("src/a.jpg");
  File("src/s1/b.jpg");
  File("src/s1/s2/c.jpg");
  File("src/s1/s2/d.jpg");
  File("src/s1/s2/s3/e.jpg");
  File("src/f.jpg");
  // Whatever the listing order, stopping after each count ends some walk deep in the tree.
  for (std::size_t stopAfter = 1; stopAfter <= 5; ++stopAfter) {
    testfiles::TempFolder target;
    RecordingJob job;
    job.stopAfterFiles = stopAfter;
    job.m_strPathSrc = Src();
    job.m_strPathTar = target.Path();
    job.BeginJob();
    job.RunOrganize(FailureFile());
    EXPECT_EQ(job.m_nFileCount, static_cast<int>(stopAfter));
    EXPECT_EQ(testfiles::ListFiles(target.Path()).size(), stopAfter);
    EXPECT_EQ(job.messages.size(), stopAfter + 1);
    EXPECT_EQ(job.LatestMessage(),
              "\r\n\r\n整理文件 " + std::to_string(stopAfter) + " 个, 失败 0 个");
  }
}

TEST_F(JobTest, WalkDoesNothingWhileNotRunning) {
  File("src/a.jpg");
  RecordingJob job;
  job.m_strPathTar = Tgt();
  job.BeginJob();
  job.Stop();
  job.OrganizeFolder(Src());
  EXPECT_EQ(job.m_nFileCount, 0);
  EXPECT_TRUE(TargetFiles().empty());
}

}  // namespace
