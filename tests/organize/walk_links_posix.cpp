// Linux-only walk cases: links that lead back into the tree, and date folder names that
// only a file system accepting trailing blanks can hold.
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

TEST_F(OrganizeTest, DateOfBlanksAndHyphensNamesTheFoldersAsItStands) {
  // Blanks where the digits belong: the leading blank keeps the time part, colons become
  // hyphens, and the year is the four leading blanks.
  Photo("src/blank.jpg", "    :  :     :  :  ");
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), Files{"    年/    -  -     -  -  /blank.jpg"});
}

}  // namespace
