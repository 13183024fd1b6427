// Copies and moves: never overwriting, name clashes, repeated runs and dry runs.
#include <string>

#include "organize_fixture.h"

namespace {

class TransferTest : public OrganizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Two photos named x.jpg with the same date in two subfolders, and two files not taken.
  void MakeClash() const {
    Photo("src/a/x.jpg", "2012:05:17 10:20:30");
    Photo("src/b/x.jpg", "2012:05:17 11:00:00");
    File("src/a/notes.txt");
    File("src/a/.skip.jpg");
  }
};

TEST_P(TransferTest, SecondFileOfTheSameNameAndDateFailsAndStaysWhereItWas) {
  MakeClash();
  const std::string a = testfiles::ReadAll(temp / "src/a/x.jpg");
  RecordingJob job;
  job.m_strPathTar = Tgt();
  job.m_bDeleteSrc = GetParam();
  job.BeginJob();
  job.OrganizeFolder(Folder("src/a"));  // one folder per call: a comes first
  job.OrganizeFolder(Folder("src/b"));
  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/x.jpg"});
  EXPECT_EQ(testfiles::ReadAll(Tgt() + testfiles::Native("2012年/2012-05-17/x.jpg")), a);
  EXPECT_EQ(SourceFiles(), GetParam()
                               ? (Files{"a/.skip.jpg", "a/notes.txt", "b/x.jpg"})
                               : (Files{"a/.skip.jpg", "a/notes.txt", "a/x.jpg", "b/x.jpg"}));

  // Again with the same job object, into the organised target: every file left now fails.
  Run(job);
  EXPECT_EQ(job.m_nFileCount, GetParam() ? 1 : 2);
  EXPECT_EQ(job.m_nFailCount, GetParam() ? 1 : 2);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/x.jpg"});
}

TEST_P(TransferTest, DryRunChangesNothingAndPredictsTheRealRun) {
  MakeClash();
  File("src/c.jpg");
  File("tgt/2019年/2019-03-04/c.jpg", 2019, 3, 4, "already there");
  File("src/d/e.jpg");  // destinations that differ in letter case alone: one file
  File("src/E.JPG");    // where names ignore case (Windows)
  const Files before = testfiles::ListFiles(temp.Path());

  RecordingJob dry;
  dry.m_bDryRun = true;
  dry.m_bDeleteSrc = GetParam();
  Run(dry);
  EXPECT_EQ(testfiles::ListFiles(temp.Path()), before);
  EXPECT_FALSE(testfiles::Exists(Tgt() + "2012年"));
  EXPECT_EQ(dry.m_nFailCount, platform::kPathSeparator == '/' ? 2 : 3);
  EXPECT_TRUE(dry.failureFiles.empty());
  // A second dry run on the same object forgets the destinations the first one promised.
  const Files firstMessages = dry.messages;
  dry.messages.clear();
  Run(dry);
  EXPECT_EQ(dry.messages, firstMessages);

  RecordingJob real;
  real.m_bDeleteSrc = GetParam();
  Run(real);
  EXPECT_EQ(real.messages, firstMessages);
  EXPECT_EQ(real.m_strErrors, dry.m_strErrors);
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, TransferTest, ::testing::Bool());

}  // namespace
