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
  Files names = {"照片 一.jpg", " 前导空格.jpg",      "两个  空格 .mp4",  "#%&{}$!'@+`=,;[].jpg",
                 "UPPER.JPG",   "name.with.dots.jpg", "sub dir/ 嵌套.jpg"};
  // Names of 255 bytes; on Windows, whose paths end at 259 characters, as long as fit there.
  names.push_back(std::string(kWindows ? 146 : 251, 'a') + ".jpg");
  names.push_back("");
  for (int i = 0; i < (kWindows ? 50 : 83); ++i) {
    names.back() += "照";  // 83 characters: 249 bytes
  }
  names.back() += ".jpg";
  if (!kWindows) {  // separators and controls elsewhere, and text that is not UTF-8
    names.insert(names.end(),
                 {"a\\..\\..\\b.jpg", "line\nbreak.jpg", "tab\there.mp4", "\xff\xfe\x80.jpg"});
  }
  for (const std::string& name : names) {
    Photo("src/" + name, "2012:05:17 10:20:30");
  }
  RecordingJob job;
  EXPECT_EQ(RunAndCheck(job).size(), names.size());
  EXPECT_EQ(job.m_nFileCount, static_cast<int>(names.size()));
}

TEST_P(HostileTree, DatesThatCouldNameAFolderElsewhereGoByTheFilesDay) {
  // Dates that could name a folder outside the day folder's parent: the file's own day.
  const Files dots = {"..", ".", ". .", ". . .", "...", "                   "};
  const Files separators = {"a/b",        "/tmp/x",       "C:\\x",         "\\\\server\\share",
                            "2012/05/17", "2012\\05\\17", "../../../../x", "..\\..\\..\\..\\x"};
  // Dates that name their folder as they stand (colons made hyphens) on Linux; Windows would
  // change or refuse each of these names, so there the file goes by its own day too.
  const Files asTheyStand = {
      "..:..:..", "NUL",    "con",  "COM1",      "nul.2012",           "CONIN$",
      "a<b>c",    "x|y?z*", "end.", "tab\there", "    :  :     :  :  "};
  Files expected;
  for (const Files* dates : {&dots, &separators, &asTheyStand}) {
    for (std::string day : *dates) {
      std::string name = "p";  // built by appending: GCC 12 at -O3 warns falsely on "p" + ...
      name += std::to_string(expected.size()) + ".jpg";
      Photo("src/" + name, day);
      std::replace(day.begin(), day.end(), ':', '-');
      day = dates == &asTheyStand && !kWindows ? day : "2019-03-04";
      expected.push_back((GetParam().flat ? "" : day.substr(0, day.find('-')) + "年/") + day + "/" +
                         name);
    }
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
  EXPECT_EQ(testfiles::ReadAll(blocker), "a file, not a folder");

  ASSERT_EQ(std::remove(blocker.c_str()), 0);
  RecordingJob second;
  UseMode(second);
  Run(second, Src(), Target());
  EXPECT_EQ(second.m_nFileCount, GetParam().move ? 2 : 3);
  EXPECT_EQ(second.m_nFailCount, GetParam().move ? 0 : 1);  // c.jpg was placed before
  EXPECT_EQ(promise.Check(second, GetParam().move, {}, GetParam().move ? 0 : 1).size(), 3u);
}

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
  job.m_strPathSrc = Src();
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
