// Job control: the start checks, stopping and the end of a job, and the failure file.
#include <filesystem>
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

TEST_F(OrganizeTest, StartChecksInOrder) {
  ASSERT_TRUE(testfiles::MakeFolders(Folder("Photos")));
  ASSERT_TRUE(testfiles::MakeFolders(Folder("photos/sorted")));
  const std::string missing = Folder("missing");
  const std::string gone = Folder("gone");
  const std::string same = "照片目录和输出目录不能是同一个目录.";
  const std::string nested = "照片目录和输出目录不能在是同一个目录内.";
  const bool windows = kSep == '\\';
  struct Check {
    std::string source, target, message;
  };
  std::vector<Check> checks = {
      {"", Tgt(), "请先选择目录."},
      {Src(), "", "请先选择目录."},
      {Folder("Photos"), Folder("photos"), same},  // letter case aside
      {Folder("照片A"), Folder("照片a"), same},
      {missing, missing, same},  // before the existence checks
      {Src(), Src() + "sorted" + kSep, nested},
      {Tgt() + "in" + kSep, Tgt(), nested},
      // Nesting compares letter case where names have it, so a Windows job of "Photos" into
      // "photos\sorted" would walk its own output.
      {Folder("Photos"), Folder("photos/sorted"), windows ? nested : ""},
      {Folder("photos/sorted"), Folder("Photos"), windows ? nested : ""},
      {gone, missing, "目录不存在:" + missing},  // the target is checked first
      {gone, Tgt(), "目录不存在:" + gone},
      {Src(), Tgt(), ""},
  };
  if (!windows) {  // a source that lies in the target through a link (Wine makes no links)
    std::filesystem::create_directory_symlink(Tgt(), temp / "link");
    ASSERT_TRUE(testfiles::MakeFolders(Tgt() + "in"));
    checks.push_back({Folder("link/in"), Tgt(), nested});
  }
  for (const auto& check : checks) {
    COrganizeJob job;
    job.m_strPathSrc = check.source;
    job.m_strPathTar = check.target;
    EXPECT_EQ(job.CheckStart(), check.message) << check.source << " | " << check.target;
  }
}

TEST_F(OrganizeTest, JobEndsWithTheSummaryAfterClearingRunningWhetherStoppedOrNot) {
  for (const char* file : {"a.jpg", "s1/b.jpg", "s1/s2/c.jpg", "s1/s2/d.jpg", "s1/s2/s3/e.jpg"}) {
    File("one/" + std::string(file));
  }
  File("other/f.jpg");
  // Stopped after each count (whatever the listing order, some stop lands deep in the tree),
  // never stopped, and with an empty and a missing source.
  const struct {
    const char* source;
    std::size_t stopAfter, files;
  } jobs[] = {{"one", 1, 1}, {"one", 2, 2}, {"one", 3, 3},    {"one", 4, 4},
              {"one", 0, 5}, {"src", 0, 0}, {"missing", 0, 0}};
  for (const auto& run : jobs) {
    testfiles::TempFolder target;
    RecordingJob job;
    job.onProgress = [&] {
      if (job.messages.size() == run.stopAfter) {
        job.Stop();
      }
      // The window may change its folders and the flag while a job runs: the walk keeps its own.
      job.m_strPathTar = Folder("other");
      job.m_bDeleteSrc = true;
    };
    Run(job, Folder(run.source), target.Path());
    const std::string summary = "\r\n\r\n整理文件 " + std::to_string(run.files) + " 个, 失败 0 个";
    EXPECT_EQ(testfiles::ListFiles(target.Path()).size(), run.files) << run.source << run.stopAfter;
    EXPECT_EQ(job.messages.size(), run.files + 1);
    EXPECT_EQ(job.messages.back(), summary);
    for (std::size_t i = 0; i + 1 < job.messages.size(); ++i) {
      EXPECT_EQ(job.messages[i].rfind("复制文件(", 0), 0u) << job.messages[i];
    }
    EXPECT_EQ(job.finishedCalls, 1);
    EXPECT_FALSE(job.runningWhenFinished);  // cleared before the window hears of the end
    EXPECT_EQ(job.messageWhenFinished, summary);
    job.OrganizeFolder(Folder("other"));  // not running: handles nothing
    EXPECT_EQ(job.m_nFileCount, static_cast<int>(run.files));
  }
  EXPECT_FALSE(testfiles::Exists(FailureFile()));
  EXPECT_EQ(testfiles::ListFiles(Folder("one")).size(), 5u);
  EXPECT_EQ(testfiles::ListFiles(Folder("other")), Files{"f.jpg"});
}

// Stopped with several files in flight: they are finished, no other begins, and the summary
// counts exactly what was placed.
TEST_F(OrganizeTest, StopWithFilesInFlightCountsWhatWasPlaced) {
  for (int i = 0; i < 300; ++i) {
    File("src/" + std::to_string(i % 5) + "/" + std::to_string(i) + ".jpg", 2019, 3, 4,
         std::string(64 * 1024, 'x'));
  }
  RecordingJob job;
  job.m_settings.jobs = 4;
  std::size_t atStop = 0;
  job.onProgress = [&] {
    if (job.m_bRunning) {
      job.Stop();
      atStop = TargetFiles().size();
    }
  };
  Run(job);
  const std::size_t placed = TargetFiles().size();
  EXPECT_GT(placed, 0u);
  EXPECT_LE(placed, atStop + 4) << "only the four in flight may follow";
  EXPECT_EQ(SourceFiles().size(), 300u);
  EXPECT_EQ(job.SummaryText(), "\r\n\r\n整理文件 " + std::to_string(placed) + " 个, 失败 0 个");
  EXPECT_EQ(job.messages.size(), placed + 1);
}

TEST_F(OrganizeTest, FailureFileHoldsTheFailuresAndTheSummary) {
  File("src/a.jpg");
  File("tgt/2019年", 2019, 3, 4, "a file where the year folder belongs");
  ASSERT_TRUE(testfiles::WriteText(FailureFile(), "an older and much longer failure list"));
  RecordingJob job;
  Run(job);
  const std::string expected = "复制文件失败: " + platform::ToLower(Src()) + "a.jpg -> " + Tgt() +
                               testfiles::Native("2019年/2019-03-04/a.jpg") +
                               "\r\n\r\n\r\n整理文件 1 个, 失败 1 个";
  // Truncated, after a UTF-8 byte-order mark, no final CR LF.
  EXPECT_EQ(testfiles::ReadAll(FailureFile()), "\xEF\xBB\xBF" + expected);
  EXPECT_EQ(job.m_strErrors, expected);
  EXPECT_EQ(job.failureFiles, Files{FailureFile()});
  EXPECT_EQ(TargetFiles(), Files{"2019年"});

  // Again, into a failure file that cannot be opened: counts and list start afresh, and no
  // file is reported.
  job.BeginJob();
  EXPECT_EQ(job.LatestMessage(), "");
  job.RunOrganize(temp / "no/such/folder/errorFile.txt");
  EXPECT_EQ(job.m_nFileCount, 1);
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_EQ(job.m_strErrors, expected);
  EXPECT_EQ(job.failureFiles.size(), 1u);
  EXPECT_FALSE(testfiles::Exists(temp / "no"));
}

}  // namespace
