// Which entries the walk takes: skipped names at any depth, and the extension filter.
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

using Files = std::vector<std::string>;

TEST_F(OrganizeTest, NamesBeginningWithDotOrTildeAreSkippedAtAnyDepth) {
  File("src/a.jpg");
  File("src/.hidden.jpg");
  File("src/~lock.jpg");
  File("src/.thumbs/b.jpg");
  File("src/~tmp/c.jpg");
  File("src/sub/d.jpg");
  File("src/sub/.e.jpg");
  File("src/sub/~f.jpg");
  File("src/sub/deep/.cache/g.jpg");
  File("src/sub/deep/~old/h.jpg");
  File("src/sub/deep/i.jpg");

  RecordingJob job;
  Run(job);

  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/a.jpg", "2019年/2019-03-04/d.jpg",
                                  "2019年/2019-03-04/i.jpg"}));
  EXPECT_EQ(job.m_nFileCount, 3);
  EXPECT_EQ(job.m_nFailCount, 0);
  EXPECT_EQ(job.FileMessages().size(), 3u);
  EXPECT_EQ(SourceFiles().size(), 11u);  // copies leave every source in place
}

TEST_F(OrganizeTest, FilterSearchesTheLastThreeCharactersOfTheLowerCasedPath) {
  File("src/IMG_0001.JPG");
  File("src/clip.Mp4");
  File("src/clip.mpeg");  // "peg" is not in the filter
  File("src/photojpg");   // no dot needed
  File("src/x.g,a");      // "g,a" occurs in "jpg,avi"
  File("src/notes.txt");

  RecordingJob job;
  Run(job);

  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/IMG_0001.JPG", "2019年/2019-03-04/clip.Mp4",
                                  "2019年/2019-03-04/photojpg", "2019年/2019-03-04/x.g,a"}));
  EXPECT_EQ(job.m_nFileCount, 4);
  EXPECT_EQ(job.FileMessages().size(), 4u);
}

TEST_F(OrganizeTest, FilterInCapitalsMatchesNothingAndCountsNothing) {
  File("src/IMG_0001.JPG");
  File("src/clip.AVI");
  File("src/sub/movie.avi");

  RecordingJob job;
  job.m_settings.fileFilters = "JPG,AVI";
  Run(job);

  EXPECT_TRUE(TargetFiles().empty());
  EXPECT_EQ(job.m_nFileCount, 0);
  EXPECT_TRUE(job.FileMessages().empty());
  EXPECT_EQ(job.LatestMessage(), "\r\n\r\n整理文件 0 个, 失败 0 个");
}

TEST_F(OrganizeTest, EmptyOrMissingSourceEndsWithZeroCounts) {
  for (const std::string& source : {Src(), Folder("missing")}) {
    RecordingJob job;
    Run(job, source);
    EXPECT_EQ(job.m_nFileCount, 0) << source;
    EXPECT_EQ(job.messages, Files{"\r\n\r\n整理文件 0 个, 失败 0 个"}) << source;
    EXPECT_FALSE(testfiles::Exists(FailureFile()));
  }
}

TEST_F(OrganizeTest, SourceWithoutFinalSeparatorIsWalkedAlike) {
  File("src/a.mov");
  File("src/sub/b.avi", 2020, 12, 31);

  RecordingJob job;
  Run(job, temp / "src");

  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/a.mov", "2020年/2020-12-31/b.avi"}));
  // The source in each message is the folder, one separator and the entry's path.
  const std::string lowerSrc = platform::ToLower(Src());
  const Files messages = job.FileMessages();
  ASSERT_EQ(messages.size(), 2u);
  for (const std::string& name : {std::string("a.mov"), testfiles::Native("sub/b.avi")}) {
    const std::string shown = ": " + lowerSrc + name + "\r\n";
    EXPECT_TRUE(messages[0].find(shown) != std::string::npos ||
                messages[1].find(shown) != std::string::npos)
        << name;
  }
}

}  // namespace
