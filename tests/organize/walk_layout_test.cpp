// Which files the walk takes (the extension filter, names skipped at any depth) and where it
// puts them: year and flat layouts, by photo date or by file date, and photo dates that must
// not be taken as paths.
#include <algorithm>
#include <string>
#include <vector>

#include "organize_fixture.h"

namespace {

TEST_F(OrganizeTest, FilterSearchesTheLastThreeCharactersOfTheLowerCasedPath) {
  // "peg" is not in the filter and "g,a" is; no dot is needed.
  for (const char* file : {"IMG_0001.JPG", "clip.Mp4", "clip.mpeg", "photojpg", "x.g,a",
                           "notes.txt", "sub/movie.avi"}) {
    File("src/" + std::string(file));
  }
  // A dot or a tilde starts a name that is skipped, file or folder, at any depth.
  for (const char* file : {".hidden.jpg", "~lock.jpg", ".thumbs/b.jpg", "~tmp/c.jpg", "sub/.e.jpg",
                           "sub/~f.jpg", "sub/deep/.cache/g.jpg", "sub/deep/~old/h.jpg"}) {
    File("src/" + std::string(file));
  }
  RecordingJob job;
  Run(job);
  const std::string day = "2019年/2019-03-04/";
  EXPECT_EQ(TargetFiles(), (Files{day + "IMG_0001.JPG", day + "clip.Mp4", day + "movie.avi",
                                  day + "photojpg", day + "x.g,a"}));
  EXPECT_EQ(job.m_nFileCount, 5);
  EXPECT_EQ(SourceFiles().size(), 15u);  // copies leave every source in place

  // Only the path is lower-cased: a filter in capitals matches nothing.
  testfiles::TempFolder target;
  RecordingJob capitals;
  capitals.m_settings.fileFilters = "JPG,AVI";
  Run(capitals, Src(), target.Path());
  EXPECT_EQ(capitals.m_nFileCount, 0);
  EXPECT_TRUE(testfiles::ListFiles(target.Path()).empty());
}

TEST_F(OrganizeTest, EachFileGoesUnderTheDayOfItsPhotoElseOfItsFile) {
  // A photo date and the folders it leads to in the year and in the flat layout; by default
  // those of the day the file was last written, 2019-03-04.
  struct Row {
    const char* date;
    const char* folders[2] = {"2019年/2019-03-04", "2019-03-04"};
  };
  std::vector<Row> photos = {
      {"2012:05:17 10:20:30", {"2012年/2012-05-17", "2012-05-17"}},
      {""},                                                  // no date
      {"20120517", {"20120517年/20120517", "20120517"}},     // year and day are the whole text
      {":05:17 10:20:30", {"2019年/2019-03-04", "-05-17"}},  // no year: the file's day
      {"Mon:day", {"Mon年/Mon-day", "Mon-day"}},             // no date at all, used as it is
  };
  // Texts that could name a folder outside the target: the file's day instead.
  for (const char* date : {"2012/05/17 10:20:30", "2012\\05\\17 10:20:30", "a/b", "../../x",
                           "..\\..\\x", "..", ".", ". . .", "                   "}) {
    photos.push_back({date});
  }
  // The source and both targets lie deep enough that an escape still lands in the tree.
  File("in/src/sub/clip.mp4", 2018, 7, 9);  // a video goes by its file's date
  Files expected = {"in/src/sub/clip.mp4", "in/deep/year/2018年/2018-07-09/clip.mp4",
                    "in/deep/flat/2018-07-09/clip.mp4"};
  for (std::size_t i = 0; i < photos.size(); ++i) {
    const std::string name = std::to_string(i) + ".jpg";
    Photo("in/src/" + name, photos[i].date);
    expected.push_back("in/src/" + name);
    expected.push_back("in/deep/year/" + std::string(photos[i].folders[0]) + "/" + name);
    expected.push_back("in/deep/flat/" + std::string(photos[i].folders[1]) + "/" + name);
  }
  ASSERT_TRUE(testfiles::MakeFolders(temp / "in/deep/year"));
  ASSERT_TRUE(testfiles::MakeFolders(temp / "in/deep/flat"));

  RecordingJob byYear;
  Run(byYear, Folder("in/src"), Folder("in/deep/year"));
  RecordingJob flat;
  flat.m_settings.classifyByYear = false;
  Run(flat, temp / "in/src", temp / "in/deep/flat");  // typed without the final separator
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testfiles::ListFiles(temp.Path()), expected);
  EXPECT_EQ(byYear.m_nFailCount + flat.m_nFailCount, 0);
}

}  // namespace
