// Hostile names and trees: unusual names, dates that try to climb out of the target, a day
// folder that cannot be made, paths at the platform's length limit. Whatever the tree, each
// file ends placed, complete, or still in its place and counted as failed; nothing is
// written outside the target.
#include <algorithm>
#include <cstdio>
#include <string>

#include "nothing_lost.h"
#include "organize_fixture.h"

namespace {

using organizetest::NothingLost;

constexpr bool kWindows = platform::kPathSeparator == '\\';

struct Mode {
  bool move;
  bool flat;
};

void PrintTo(const Mode& mode, std::ostream* out) {
  *out << (mode.move ? "move" : "copy") << (mode.flat ? ", flat" : ", by year");
}

class HostileTree : public OrganizeTest, public ::testing::WithParamInterface<Mode> {
 protected:
  // A target a few folders down, so that a path climbing out of it still lands in `temp`.
  std::string Target() const { return Folder("out/1/2/3/tgt"); }

  static void UseMode(COrganizeJob& job) {
    job.m_bDeleteSrc = GetParam().move;
    job.m_settings.classifyByYear = !GetParam().flat;
  }

  // Runs the job in this test's mode and checks that nothing was lost.
  Files RunAndCheck(RecordingJob& job, const Files& ignored = {}) const {
    testfiles::MakeFolders(Target());
    const NothingLost promise(Src(), Target(), temp.Path());
    UseMode(job);
    Run(job, Src(), Target());
    EXPECT_FALSE(job.m_bRunning.load());
    return promise.Check(job, GetParam().move, ignored);
  }
};

TEST_P(HostileTree, UnusualNamesArePlacedUnderTheirOwnNames) {
  // Names of 255 bytes; on Windows, whose paths end at 259 characters, as long as fit there.
  std::string longChinese;
  for (int i = 0; i < (kWindows ? 50 : 83); ++i) {
    longChinese += "照";  // 83 characters: 249 bytes
  }
  Files placedNames = {"照片 一.jpg",
                       " 前导空格.jpg",
                       "两个  空格 .mp4",
                       "#%&{}$!'@+`=,;[].jpg",
                       "UPPER.JPG",
                       "name.with.dots.jpg",
                       "sub dir/ 嵌套.jpg",
                       longChinese + ".jpg",
                       std::string(kWindows ? 146 : 251, 'a') + ".jpg"};
  if (!kWindows) {  // separators and controls elsewhere, and text that is not UTF-8
    placedNames.insert(placedNames.end(), {"a\\..\\..\\b.jpg", "line\nbreak.jpg", "tab\there.mp4",
                                           "\xff\xfe\x80.jpg"});
  }
  for (const std::string& name : placedNames) {
    Photo("src/" + name, "2012:05:17 10:20:30");
  }
  // Hidden and temporary entries (a leading '.' or '~') are passed over.
  for (const char* name : {".隐藏.jpg", "~锁.jpg", ".dot dir/y.jpg", "~tilde dir/x.jpg"}) {
    Photo("src/" + std::string(name), "2012:05:17 10:20:30");
  }
  RecordingJob job;
  const Files placed = RunAndCheck(job, {".隐藏.jpg", "~锁.jpg", "y.jpg", "x.jpg"});
  EXPECT_EQ(placed.size(), placedNames.size());
  EXPECT_EQ(job.m_nFileCount, static_cast<int>(placedNames.size()));
}

TEST_P(HostileTree, DatesThatCouldNameAFolderElsewhereGoByTheFilesDay) {
  // A photo date and the day folder it names on Linux; none of these is a name Windows would
  // keep as it stands. Without a folder, the file goes by its own day, 2019-03-04.
  const std::pair<const char*, const char*> dates[] = {
      {"../../../../x", nullptr},
      {"..\\..\\..\\..\\x", nullptr},
      {"2012:05:17/../../..", nullptr},
      {"2012/05/17 10:20:30", nullptr},
      {"2012\\05\\17 10:20:30", nullptr},
      {"/tmp/x", nullptr},
      {"\\\\server\\share", nullptr},
      {"C:\\x", nullptr},
      {"a/b", nullptr},
      {"..", nullptr},
      {".", nullptr},
      {". .", nullptr},
      {". . .", nullptr},
      {"...", nullptr},
      {"                   ", nullptr},
      {"..:..:.. 10:20:30", "..-..-.."},
      {"NUL", "NUL"},
      {"con", "con"},
      {"COM1", "COM1"},
      {"nul.2012", "nul.2012"},
      {"CONIN$", "CONIN$"},
      {"a<b>c", "a<b>c"},
      {"x|y?z*", "x|y?z*"},
      {"end.", "end."},
      {"tab\there", "tab\there"},
      {"    :  :     :  :  ", "    -  -     -  -  "},
  };
  Files expected;
  for (std::size_t i = 0; i < std::size(dates); ++i) {
    const std::string name = "p" + std::to_string(i) + ".jpg";
    Photo("src/" + name, dates[i].first);
    const std::string day =
        dates[i].second != nullptr && !kWindows ? dates[i].second : "2019-03-04";
    const std::string year = day.substr(0, day.find('-')) + "年/";
    expected.push_back((GetParam().flat ? "" : year) + day + "/" + name);
  }
  RecordingJob job;
  RunAndCheck(job);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testfiles::ListFiles(Target()), expected);
}

TEST_P(HostileTree, DayFolderBlockedByAFileFailsItsPhotosUntilItIsGone) {
  Photo("src/a.jpg", "2012:05:17 10:20:30");
  Photo("src/b.jpg", "2012:05:17 11:20:30");
  Photo("src/c.jpg", "2012:05:18 10:20:30");
  testfiles::MakeFolders(Target());
  const NothingLost promise(Src(), Target(), temp.Path());
  const std::string blocker =
      Target() + testfiles::Native(GetParam().flat ? "2012-05-17" : "2012年/2012-05-17");
  ASSERT_TRUE(testfiles::WriteText(blocker, "a file, not a folder"));
  RecordingJob job;
  UseMode(job);
  Run(job, Src(), Target());
  EXPECT_EQ(job.m_nFileCount, 3);
  EXPECT_EQ(job.m_nFailCount, 2);
  EXPECT_NE(job.m_strErrors.find("a.jpg -> "), std::string::npos);
  EXPECT_NE(job.m_strErrors.find("b.jpg -> "), std::string::npos);
  EXPECT_EQ(testfiles::ReadAll(blocker), "a file, not a folder");

  ASSERT_EQ(std::remove(blocker.c_str()), 0);
  RecordingJob second;
  UseMode(second);
  Run(second, Src(), Target());
  EXPECT_EQ(second.m_nFileCount, GetParam().move ? 2 : 3);
  EXPECT_EQ(second.m_nFailCount, GetParam().move ? 0 : 1);  // c.jpg was placed before
  EXPECT_EQ(promise.Check(second, GetParam().move, {}, GetParam().move ? 0 : 1).size(), 3u);
}

// The longest path the platform's file functions take, without the final NUL.
constexpr std::size_t kPathLimit = kWindows ? 259 : 4095;

// Extends `folder` (relative to `base`) with folders until base + folder + `room` more bytes
// reach the path limit exactly.
std::string FolderUpToTheLimit(const std::string& base, std::size_t room) {
  std::string folder;
  for (std::size_t length = base.size(); length + room < kPathLimit;) {
    // Parts of at most 101 bytes, none of them a bare separator.
    const std::size_t left = kPathLimit - length - room;
    const std::size_t part = left <= 101 ? left : (left - 101 < 2 ? 99 : 101);
    folder += std::string(part - 1, 'd') + "/";
    length += part;
  }
  return folder;
}

TEST_P(HostileTree, PathsAtTheLengthLimit) {
  // A photo whose path is as long as the platform allows, and a short one.
  const std::string deep = Folder("src/b") + FolderUpToTheLimit(Folder("src/b"), 7);
  Photo("src/a/shortest.jpg", "2012:05:17 10:20:30");
  Photo(deep.substr(temp.Path().size()) + "max.jpg", "2012:05:17 10:20:30");
  ASSERT_EQ((deep + "max.jpg").size(), kPathLimit);
  // A target whose day folder leaves room for the one name and not for the other: the short
  // one, handled first, fails and stays, and that failure must not spoil the next copy.
  const std::string day = GetParam().flat ? "2012-05-17/" : "2012年/2012-05-17/";
  const std::string target =
      Target() + testfiles::Native(FolderUpToTheLimit(Target(), day.size() + 7));
  ASSERT_TRUE(testfiles::MakeFolders(target));
  ASSERT_EQ((target + day + "max.jpg").size(), kPathLimit);
  const NothingLost promise(Src(), target, temp.Path());
  RecordingJob job;
  job.m_strPathTar = target;
  UseMode(job);
  job.BeginJob();
  job.OrganizeFolder(Folder("src/a"));
  job.OrganizeFolder(Folder("src/b"));
  const Files placed = promise.Check(job, GetParam().move);
  EXPECT_EQ(job.m_nFileCount, 2);
  if (!kWindows) {  // Windows file functions may refuse a folder near their limit
    EXPECT_EQ(placed, Files{"max.jpg"});
  }
}

INSTANTIATE_TEST_SUITE_P(Walk, HostileTree,
                         ::testing::Values(Mode{false, false}, Mode{true, false}, Mode{false, true},
                                           Mode{true, true}));

}  // namespace
