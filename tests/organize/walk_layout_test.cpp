// Where the walk puts each file: year and flat layouts, by photo date or by file date, and
// photo dates that must not be taken as paths.
#include <algorithm>
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

using Files = std::vector<std::string>;
using jpegbuilder::ByteOrder;

class LayoutTest : public OrganizeTest {
 protected:
  // Photos with dates in both byte orders, a photo without a date and a video, every file
  // written on a day other than its photo date.
  void MakeMixedTree() const {
    Photo("src/little.jpg", "2012:05:17 10:20:30", ByteOrder::kLittle);
    Photo("src/sub/BIG.JPG", "2013:11:02 08:00:00", ByteOrder::kBig);
    Photo("src/sub/nodate.jpg", "");
    File("src/clip.mp4", 2018, 7, 9);
  }
};

TEST_F(LayoutTest, YearLayoutUsesPhotoDateElseFileDate) {
  MakeMixedTree();
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), (Files{"2012年/2012-05-17/little.jpg", "2013年/2013-11-02/BIG.JPG",
                                  "2018年/2018-07-09/clip.mp4", "2019年/2019-03-04/nodate.jpg"}));
  EXPECT_EQ(job.m_nFileCount, 4);
}

TEST_F(LayoutTest, FlatLayoutPutsDateFoldersDirectlyInTarget) {
  MakeMixedTree();
  RecordingJob job;
  job.m_settings.classifyByYear = false;
  Run(job);
  EXPECT_EQ(TargetFiles(), (Files{"2012-05-17/little.jpg", "2013-11-02/BIG.JPG",
                                  "2018-07-09/clip.mp4", "2019-03-04/nodate.jpg"}));
}

TEST_F(LayoutTest, DateTextIsUsedWholeAndItsYearIsWhatPrecedesTheFirstHyphen) {
  Photo("src/slashes.jpg", "2012/05/17 10:20:30");  // a separator: file date instead
  Photo("src/noHyphen.jpg", "20120517");            // year and day are the whole text
  Photo("src/leading.jpg", ":05:17 10:20:30");      // empty year: file date for both
  Photo("src/odd.jpg", "Mon:day");                  // not a date, used all the same
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(),
            (Files{"20120517年/20120517/noHyphen.jpg", "2019年/2019-03-04/leading.jpg",
                   "2019年/2019-03-04/slashes.jpg", "Mon年/Mon-day/odd.jpg"}));
}

TEST_F(LayoutTest, PhotoDatesThatLookLikePathsNeverLeaveTheTarget) {
  const std::vector<std::string> hostile = {"../../x",
                                            "a/b",
                                            "..",
                                            ".",
                                            "2012\\05\\17 10:20:30",
                                            "..\\..\\x",
                                            ". . .",
                                            "                   "};
  for (int flat = 0; flat < 2; ++flat) {
    testfiles::TempFolder scratch;  // each layout starts from an empty tree
    const std::string src = scratch / "in/deep/er" + kSep;
    const std::string tgt = scratch / "in/deep/out" + kSep;
    ASSERT_TRUE(testfiles::MakeFolders(tgt));
    Files expected = {"in", "in/deep", "in/deep/er", "in/deep/out"};
    const std::string dayFolder = flat ? "in/deep/out/2019-03-04" : "in/deep/out/2019年/2019-03-04";
    expected.push_back(dayFolder);
    if (!flat) {
      expected.push_back("in/deep/out/2019年");
    }
    for (std::size_t i = 0; i < hostile.size(); ++i) {
      const std::string name = std::string(1, static_cast<char>('a' + i)) + ".jpg";
      const std::string path = src + name;
      ASSERT_TRUE(testfiles::WriteText(path, ""));
      ASSERT_TRUE(jpegbuilder::WriteBytes(path, jpegbuilder::PhotoWithDate(hostile[i])));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(path, 2019, 3, 4));
      expected.push_back("in/deep/er/" + name);
      expected.push_back(dayFolder + "/" + name);
    }
    std::sort(expected.begin(), expected.end());

    RecordingJob job;
    job.m_settings.classifyByYear = flat == 0;
    job.m_strPathSrc = src;
    job.m_strPathTar = tgt;
    job.BeginJob();
    job.RunOrganize(scratch / "errorFile.txt");

    // Every file lies in the source or in the file-date folder; no other folder was made.
    EXPECT_EQ(ListEntries(scratch.Path()), expected) << "flat " << flat;
    EXPECT_EQ(job.m_nFileCount, static_cast<int>(hostile.size()));
    EXPECT_EQ(job.m_nFailCount, 0);
  }
}

TEST_F(LayoutTest, TargetWithoutFinalSeparatorStillReceivesTheFolders) {
  File("src/a.jpg");
  RecordingJob job;
  job.m_strPathSrc = Src();
  job.m_strPathTar = temp / "tgt";
  job.BeginJob();
  job.RunOrganize(FailureFile());
  EXPECT_EQ(TargetFiles(), Files{"2019年/2019-03-04/a.jpg"});
  EXPECT_FALSE(testfiles::Exists(temp / "tgt2019年"));
}

}  // namespace
