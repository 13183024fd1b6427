// Linux-only walk cases: links that lead back into the tree, a FIFO that carries a photo's
// name, and date folder names that only a file system accepting trailing blanks can hold.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "organize_fixture.h"

namespace {

TEST_F(OrganizeTest, LinkBackIntoTheTreeIsWalkedOnce) {
  File("src/a.jpg");
  File("src/sub/b.jpg");
  std::filesystem::create_directory_symlink(Src(), temp / "src/sub/loop");
  std::filesystem::create_directory_symlink(temp / "src/sub", temp / "src/again");
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), (Files{"2019年/2019-03-04/a.jpg", "2019年/2019-03-04/b.jpg"}));
  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 0);
}

TEST_F(OrganizeTest, FifoNamedLikeAPhotoFailsWithoutStallingTheWalk) {
  // Opening a FIFO for reading waits for a writer that never comes, unless it is opened
  // without blocking: the date lookup and the copy both must.
  ASSERT_EQ(mkfifo((temp / "src/pipe.jpg").c_str(), 0600), 0);
  Photo("src/z.jpg", "2012:05:17 10:20:30");
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/z.jpg"});
  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 1);
}

TEST_F(OrganizeTest, DateOfBlanksAndHyphensNamesTheFoldersAsItStands) {
  // Blanks where the digits belong: the leading blank keeps the time part, colons become
  // hyphens, and the year is the four leading blanks.
  Photo("src/blank.jpg", "    :  :     :  :  ");
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), Files{"    年/    -  -     -  -  /blank.jpg"});
}

}  // namespace
