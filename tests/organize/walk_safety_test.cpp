// The safe-rerun options on real trees: files already in place, clash renames, sidecars.
#include <map>
#include <set>
#include <string>

#include "organize_fixture.h"

namespace {

constexpr char kTaken[] = "2012:05:17 10:20:30";
constexpr char kDay[] = "2012年/2012-05-17/";

class SafetyTest : public OrganizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  // A job with the given options, copying or moving by the test's parameter.
  void Configure(RecordingJob& job, bool skipIdentical, bool renameClashes, bool sidecars) {
    job.m_bDeleteSrc = GetParam();
    job.m_settings.skipIdentical = skipIdentical;
    job.m_settings.renameClashes = renameClashes;
    job.m_settings.sidecars = sidecars;
  }
  std::string Target(const std::string& relative) const {
    return Tgt() + testfiles::Native(relative);
  }
  std::string Read(const std::string& relative) const {
    return testfiles::ReadAll(temp / relative);
  }
  // The contents of every target file.
  std::multiset<std::string> TargetContents() const {
    std::multiset<std::string> contents;
    for (const std::string& file : TargetFiles()) {
      contents.insert(testfiles::ReadAll(Target(file)));
    }
    return contents;
  }
  static bool HasMessage(const RecordingJob& job, const std::string& part) {
    for (const std::string& message : job.messages) {
      if (message.find(part) != std::string::npos) {
        return true;
      }
    }
    return false;
  }
};

TEST_P(SafetyTest, IdenticalFileCountsApartAndADifferentOneTakesTheNextName) {
  Photo("src/x.jpg", kTaken);
  Photo("src/y.jpg", kTaken);
  File("tgt/" + std::string(kDay) + "x.jpg", 2019, 3, 4, Read("src/x.jpg"));
  File("tgt/" + std::string(kDay) + "y.jpg", 2019, 3, 4, "another photo");
  File("tgt/" + std::string(kDay) + "y(1).jpg", 2019, 3, 4, "yet another photo");
  const std::string y = Read("src/y.jpg");

  RecordingJob job;
  Configure(job, true, true, false);
  Run(job);
  EXPECT_EQ(job.m_nFileCount, 1);
  EXPECT_EQ(job.m_nFailCount, 0);
  EXPECT_EQ(job.m_nIdenticalCount, 1);
  EXPECT_EQ(job.SummaryText(), "\r\n\r\n整理文件 1 个, 失败 0 个, 已存在相同文件 1 个");
  EXPECT_TRUE(job.failureFiles.empty());
  EXPECT_TRUE(HasMessage(job, "已存在相同文件: " + platform::ToLower(Src()) + "x.jpg -> " +
                                  Target(kDay) + "x.jpg\r\n"));
  EXPECT_TRUE(HasMessage(job, "到: " + Target(kDay) + "y(2).jpg\r\n重名, 改名为: y(2).jpg\r\n"));
  EXPECT_EQ(testfiles::ReadAll(Target(kDay) + "y(2).jpg"), y);
  // A move leaves the file already in place where it was.
  EXPECT_EQ(SourceFiles(), GetParam() ? Files{"x.jpg"} : (Files{"x.jpg", "y.jpg"}));
}

TEST_P(SafetyTest, EachOptionAloneKeepsTheOtherCaseAFailure) {
  Photo("src/x.jpg", kTaken);
  Photo("src/y.jpg", kTaken);
  File("tgt/" + std::string(kDay) + "x.jpg", 2019, 3, 4, Read("src/x.jpg"));
  File("tgt/" + std::string(kDay) + "y.jpg", 2019, 3, 4, "another photo");

  RecordingJob skipOnly;
  Configure(skipOnly, true, false, false);
  Run(skipOnly);
  EXPECT_EQ(skipOnly.m_nIdenticalCount, 1);
  EXPECT_EQ(skipOnly.m_nFailCount, 1);

  // Without the identical check a file already in place is taken for a clash and copied again.
  RecordingJob renameOnly;
  Configure(renameOnly, false, true, false);
  Run(renameOnly);
  EXPECT_EQ(renameOnly.m_nIdenticalCount, 0);
  EXPECT_EQ(renameOnly.m_nFailCount, 0);
  EXPECT_EQ(renameOnly.SummaryText(), "\r\n\r\n整理文件 2 个, 失败 0 个");
  EXPECT_EQ(TargetFiles().size(), 4u);
}

TEST_P(SafetyTest, SecondAndThirdRunsFindEveryFileInPlace) {
  Photo("src/a/x.jpg", kTaken);
  Photo("src/b/x.jpg", "2012:05:17 11:00:00");
  Photo("src/c/x.jpg", kTaken);  // the same bytes as a/x.jpg
  File("src/c/clip.mp4", 2013, 1, 2);
  const std::multiset<std::string> contents{Read("src/a/x.jpg"), Read("src/b/x.jpg"),
                                            Read("src/c/clip.mp4")};
  const Files placed{"2012年/2012-05-17/x(1).jpg", "2012年/2012-05-17/x.jpg",
                     "2013年/2013-01-02/clip.mp4"};

  RecordingJob first;
  Configure(first, true, true, false);
  Run(first);
  EXPECT_EQ(first.m_nFileCount, 3);
  EXPECT_EQ(first.m_nIdenticalCount, 1);
  EXPECT_EQ(TargetFiles(), placed);
  EXPECT_EQ(TargetContents(), contents);
  // A move left only the copy that was already in place, which a second run finds again.
  const Files left = SourceFiles();
  EXPECT_EQ(left.size(), GetParam() ? 1u : 4u);

  for (int run = 2; run <= 3; ++run) {
    RecordingJob again;
    Configure(again, true, true, false);
    Run(again);
    EXPECT_EQ(again.m_nFileCount, 0) << run;
    EXPECT_EQ(again.m_nFailCount, 0) << run;
    EXPECT_EQ(again.m_nIdenticalCount, GetParam() ? 1 : 4) << run;
    EXPECT_EQ(TargetFiles(), placed) << run;
    EXPECT_EQ(SourceFiles(), left) << run;
  }
}

TEST_P(SafetyTest, SidecarsFollowTheMainFilesDayAndFinalName) {
  Photo("src/IMG_1.JPG", kTaken);
  File("src/IMG_1.xmp", 2019, 3, 4, "xmp one");
  File("src/IMG_1.JPG.xmp", 2019, 3, 5, "xmp two");
  File("src/IMG_1.AAE", 2019, 3, 6, "aae");
  File("tgt/" + std::string(kDay) + "IMG_1.JPG", 2019, 3, 4, "another photo");

  RecordingJob job;
  Configure(job, false, true, true);
  Run(job);
  EXPECT_EQ(job.m_nFileCount, 4);
  EXPECT_EQ(job.m_nFailCount, 0);
  EXPECT_EQ(TargetFiles(),
            (Files{"2012年/2012-05-17/IMG_1(1).AAE", "2012年/2012-05-17/IMG_1(1).JPG",
                   "2012年/2012-05-17/IMG_1(1).JPG.xmp", "2012年/2012-05-17/IMG_1(1).xmp",
                   "2012年/2012-05-17/IMG_1.JPG"}));
  EXPECT_EQ(testfiles::ReadAll(Target(kDay) + "IMG_1(1).JPG.xmp"), "xmp two");
  EXPECT_TRUE(HasMessage(job, "重名, 改名为: IMG_1(1).xmp\r\n"));
  EXPECT_EQ(SourceFiles().size(), GetParam() ? 0u : 4u);

  // Again: the main file and its sidecars are all in place.
  RecordingJob again;
  Configure(again, true, true, true);
  if (!GetParam()) {
    Run(again);
    EXPECT_EQ(again.m_nIdenticalCount, 4);
    EXPECT_EQ(again.m_nFileCount, 0);
    EXPECT_EQ(TargetFiles().size(), 5u);
  }
}

TEST_P(SafetyTest, SidecarStaysWhenItsMainFileFailsOrIsFilteredOut) {
  Photo("src/IMG_1.JPG", kTaken);
  File("src/IMG_1.xmp", 2019, 3, 4, "xmp");
  File("tgt/" + std::string(kDay) + "IMG_1.JPG", 2019, 3, 4, "another photo");
  File("src/scan.png", 2019, 3, 4, "png");
  File("src/scan.xmp", 2019, 3, 4, "png's xmp");

  RecordingJob job;
  Configure(job, true, false, true);
  Run(job);
  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 2);
  EXPECT_TRUE(HasMessage(
      job, "附属文件未处理 (主文件没有放好): " + platform::ToLower(Src()) + "img_1.xmp\r\n"));
  EXPECT_EQ(job.failureFiles.size(), 1u);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/IMG_1.JPG"});
  EXPECT_EQ(SourceFiles(), (Files{"IMG_1.JPG", "IMG_1.xmp", "scan.png", "scan.xmp"}));
}

TEST_P(SafetyTest, LivePhotoVideoGoesWhereThePhotoGoes) {
  File("src/IMG_2.HEIC", 2020, 1, 2, "heic");
  File("src/IMG_2.MOV", 2020, 1, 5, "mov");

  RecordingJob together;
  Configure(together, false, false, true);
  together.m_settings.fileFilters = "jpg,mov,heic";
  Run(together);
  EXPECT_EQ(TargetFiles(), (Files{"2020年/2020-01-02/IMG_2.HEIC", "2020年/2020-01-02/IMG_2.MOV"}));

  // Without the photo in the filter the video is a file of its own.
  File("src/IMG_3.HEIC", 2020, 1, 2, "heic");
  File("src/IMG_3.MOV", 2020, 1, 5, "mov");
  RecordingJob alone;
  Configure(alone, false, false, true);
  Run(alone);
  EXPECT_TRUE(testfiles::Exists(Target("2020年/2020-01-05/IMG_3.MOV")));
  EXPECT_FALSE(testfiles::Exists(Target("2020年/2020-01-02/IMG_3.HEIC")));
}

TEST_P(SafetyTest, DryRunPredictsRenamesAndIdenticalFiles) {
  Photo("src/a/x.jpg", kTaken);
  Photo("src/b/x.jpg", "2012:05:17 11:00:00");
  Photo("src/x.jpg", "2012:05:17 12:00:00");
  File("tgt/" + std::string(kDay) + "x.jpg", 2019, 3, 4, Read("src/x.jpg"));
  const Files before = testfiles::ListFiles(temp.Path());

  RecordingJob dry;
  Configure(dry, true, true, true);
  dry.m_bDryRun = true;
  Run(dry);
  EXPECT_EQ(testfiles::ListFiles(temp.Path()), before);
  EXPECT_EQ(dry.m_nIdenticalCount, 1);
  EXPECT_EQ(dry.m_nFailCount, 0);

  RecordingJob real;
  Configure(real, true, true, true);
  Run(real);
  EXPECT_EQ(real.messages, dry.messages);
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, SafetyTest, ::testing::Bool());

}  // namespace

namespace {

// Without the new options a job behaves as it always did: a name already taken fails
// whatever it holds, sidecars are left to the filter, a live photo's video goes by its own
// day. Each folder holds one file that passes the filter, so the order is fixed.
TEST_F(OrganizeTest, WithoutTheOptionsMessagesAndCountsStayAsTheyWere) {
  Photo("src/1/x.jpg", kTaken);
  Photo("src/2/x.jpg", kTaken);  // the same bytes
  Photo("src/3/IMG_1.JPG", kTaken);
  File("src/3/IMG_1.xmp", 2019, 3, 9, "sidecar");
  File("src/4/IMG_2.HEIC", 2020, 1, 2, "heic");
  File("src/4/IMG_2.MOV", 2020, 1, 5, "mov");
  Photo("src/5/y.jpg", kTaken);
  File("tgt/" + std::string(kDay) + "y.jpg", 2019, 3, 4, "another photo");

  const std::string src = platform::ToLower(Src());
  const std::string day = Tgt() + testfiles::Native(kDay);
  const std::string movDay = Tgt() + testfiles::Native("2020年/2020-01-05/");
  const std::string sep(1, platform::kPathSeparator);
  auto failed = [&](const std::string& file, const std::string& to) {
    return "复制文件失败: " + src + testfiles::Native(file) + " -> " + to + "\r\n";
  };
  for (int run = 1; run <= 2; ++run) {
    RecordingJob job;
    job.m_strPathTar = Tgt();
    job.BeginJob();
    for (const char* folder : {"1", "2", "3", "4", "5"}) {
      job.OrganizeFolder(Src() + folder);
    }
    Files expected;
    if (run == 1) {
      expected = {
          "复制文件(1): " + src + "1" + sep + "x.jpg\r\n\r\n复制到: " + day + "x.jpg\r\n",
          failed("2/x.jpg", day + "x.jpg"),
          "复制文件(3): " + src + "3" + sep + "img_1.jpg\r\n\r\n复制到: " + day + "IMG_1.JPG\r\n",
          "复制文件(4): " + src + "4" + sep + "img_2.mov\r\n\r\n复制到: " + movDay +
              "IMG_2.MOV\r\n",
          failed("5/y.jpg", day + "y.jpg")};
    } else {
      expected = {failed("1/x.jpg", day + "x.jpg"), failed("2/x.jpg", day + "x.jpg"),
                  failed("3/img_1.jpg", day + "IMG_1.JPG"),
                  failed("4/img_2.mov", movDay + "IMG_2.MOV"), failed("5/y.jpg", day + "y.jpg")};
    }
    EXPECT_EQ(job.messages, expected) << run;
    EXPECT_EQ(job.SummaryText(),
              run == 1 ? "\r\n\r\n整理文件 5 个, 失败 2 个" : "\r\n\r\n整理文件 5 个, 失败 5 个");
    EXPECT_EQ(job.m_strErrors,
              run == 1 ? expected[1] + expected[4]
                       : expected[0] + expected[1] + expected[2] + expected[3] + expected[4]);
  }
  EXPECT_EQ(TargetFiles(), (Files{"2012年/2012-05-17/IMG_1.JPG", "2012年/2012-05-17/x.jpg",
                                  "2012年/2012-05-17/y.jpg", "2020年/2020-01-05/IMG_2.MOV"}));
}

}  // namespace
