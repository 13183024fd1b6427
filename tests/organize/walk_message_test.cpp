// The texts the walk reports for each file, byte for byte.
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

using testfiles::Native;

class MessageTest : public OrganizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool Move() const { return GetParam(); }
  std::string Verb() const { return Move() ? "移动" : "复制"; }
  std::string Success(int number, const std::string& source, const std::string& destination) {
    return Verb() + "文件(" + std::to_string(number) + "): " + source + "\r\n\r\n" + Verb() +
           "到: " + destination + "\r\n";
  }
  std::string Failure(const std::string& source, const std::string& destination) {
    return Verb() + "文件失败: " + source + " -> " + destination + "\r\n";
  }
  // The temporary folder lower-cased; the rest of each expected source is written lower.
  std::string LowerTemp() const { return platform::ToLower(temp.Path()); }
};

TEST_P(MessageTest, SuccessAndFailureTextsWithRunningNumbers) {
  File("one/IMG_A.JPG");
  File("two/b.jpg");
  File("three/C.Mp4");
  File("tgt/2019年/2019-03-04/b.jpg", 2019, 3, 4, "in the way");

  // One folder per call, so the order of the files is known.
  RecordingJob job;
  job.m_strPathTar = Tgt();
  job.m_bDeleteSrc = Move();
  job.BeginJob();
  for (const char* folder : {"one", "two", "three"}) {
    job.OrganizeFolder(Folder(folder));
  }

  const std::string day = Tgt() + Native("2019年/2019-03-04/");
  const std::string failed = Failure(LowerTemp() + Native("two/b.jpg"), day + "b.jpg");
  // The number counts the failed file too, so the third file is number 3.
  EXPECT_EQ(job.messages,
            (std::vector<std::string>{
                Success(1, LowerTemp() + Native("one/img_a.jpg"), day + "IMG_A.JPG"), failed,
                Success(3, LowerTemp() + Native("three/c.mp4"), day + "C.Mp4")}));
  EXPECT_EQ(job.m_strErrors, failed);
  EXPECT_EQ(job.LatestMessage(), job.messages.back());
  EXPECT_EQ(job.m_nFileCount, 3);
  EXPECT_EQ(job.m_nFailCount, 1);
}

TEST_P(MessageTest, ChineseFoldersAreShownLowerCasedAndTargetKeepsItsCase) {
  Photo("照片/Album 2012/IMG_1.JPG", "2012:05:17 10:20:30");
  const std::string target = Folder("整理/Out");
  ASSERT_TRUE(testfiles::MakeFolders(target));
  const std::string source = LowerTemp() + Native("照片/album 2012/img_1.jpg");
  const std::string destination = target + Native("2012年/2012-05-17/IMG_1.JPG");

  RecordingJob job;
  job.m_bDeleteSrc = Move();
  job.m_strPathSrc = Folder("照片");
  job.m_strPathTar = target;
  job.BeginJob();
  job.RunOrganize(FailureFile());
  EXPECT_EQ(job.FileMessages(), std::vector<std::string>{Success(1, source, destination)});
  EXPECT_TRUE(testfiles::Exists(destination));

  // Once more with the photo back in place: now the destination is taken.
  Photo("照片/Album 2012/IMG_1.JPG", "2012:05:17 10:20:30");
  job.messages.clear();
  job.BeginJob();
  job.RunOrganize(FailureFile());
  EXPECT_EQ(job.FileMessages(), std::vector<std::string>{Failure(source, destination)});
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, MessageTest, ::testing::Bool());

}  // namespace
