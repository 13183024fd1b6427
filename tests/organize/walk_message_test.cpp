// The texts the walk reports for each file, byte for byte, when copying and when moving.
#include <string>

#include "organize_fixture.h"

namespace {

class MessageTest : public OrganizeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MessageTest, SuccessAndFailureTextsWithRunningNumbers) {
  const std::string verb = GetParam() ? "移动" : "复制";
  File("照片/One/IMG_A.JPG");
  File("照片/two/b.jpg");
  File("照片/Three 3/C.Mp4");
  File("整理/Out/2019年/2019-03-04/b.jpg", 2019, 3, 4, "in the way");

  RecordingJob job;
  job.m_strPathTar = Folder("整理/Out");
  job.m_bDeleteSrc = GetParam();
  // The window may change its folders and the flag while a job runs: the walk keeps its own.
  job.onProgress = [&] {
    job.m_strPathTar = Folder("other");
    job.m_bDeleteSrc = !GetParam();
  };
  job.BeginJob();
  for (const char* folder : {"照片/One", "照片/two", "照片/Three 3"}) {  // a known order
    job.OrganizeFolder(Folder(folder));
  }

  // Sources are shown lower-cased; destinations keep the target's and the name's case.
  const std::string from = platform::ToLower(temp.Path()) + testfiles::Native("照片/");
  const std::string to = Folder("整理/Out") + testfiles::Native("2019年/2019-03-04/");
  auto success = [&](int number, const std::string& source, const std::string& name) {
    return verb + "文件(" + std::to_string(number) + "): " + from + testfiles::Native(source) +
           "\r\n\r\n" + verb + "到: " + to + name + "\r\n";
  };
  const std::string failure =
      verb + "文件失败: " + from + testfiles::Native("two/b.jpg") + " -> " + to + "b.jpg\r\n";
  // The failed file counts too, so the third file is number 3.
  EXPECT_EQ(job.messages, (Files{success(1, "one/img_a.jpg", "IMG_A.JPG"), failure,
                                 success(3, "three 3/c.mp4", "C.Mp4")}));
  EXPECT_EQ(job.m_strErrors, failure);
  EXPECT_EQ(job.m_nFailCount, 1);
  EXPECT_FALSE(testfiles::Exists(Folder("other")));
  EXPECT_EQ(testfiles::Exists(temp / "照片/Three 3/C.Mp4"), !GetParam());
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, MessageTest, ::testing::Bool());

}  // namespace
