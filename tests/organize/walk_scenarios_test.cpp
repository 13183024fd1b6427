// Whole jobs on small trees: which files the walk takes, the day folder each one gets, name
// clashes, the safe-rerun options and the exact texts of the messages. Each scenario runs dry
// twice and then for real on one job object, as often as it says: the dry runs change nothing
// and say exactly what the real run then does.
#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "camera_builder.h"
#include "metadata/media_date.h"
#include "organize/file_counter.h"
#include "organize_fixture.h"

namespace {

constexpr bool kWindows = platform::kPathSeparator == '\\';
constexpr char kTaken[] = "2012:05:17 10:20:30";

// A file of the tree, under the temporary folder ("src/..." or "tgt/..."): a photo when
// `taken` is given ("" for one without a date), else a file of `text`; last written on the
// day `date` (yyyymmdd). A link to a folder instead when `link` is given.
struct Entry {
  Entry(const char* path, const char* taken = nullptr, int date = 20190304,
        const char* text = "data", const char* link = nullptr)
      : path(path), taken(taken), date(date), text(text), link(link) {}
  const char *path, *taken;
  int date;
  const char *text, *link;
};
using Tree = std::vector<Entry>;

struct Options {
  bool move = false, flat = false, skipIdentical = false, renameClashes = false, sidecars = false;
  const char* filter = "jpg,avi,mov,mp4";
  bool mediaDates = false, rawFolder = false;
  int runs = 1;
  bool posixOnly = false;
};

struct Scenario {
  friend void PrintTo(const Scenario& c, std::ostream* out) { *out << c.name; }
  const char* name;
  Tree tree;
  Options with = {};
  Files placed = {};    // the target's files at the end
  const char* summary;  // the last run's, after its two line breaks
  Files left = {};      // a move's sources at the end (a copy leaves every source unchanged)
  Files messages = {};  // parts of the messages of all runs; {s} is the lower-cased source,
                        // {t} the target, both with their final separator
};

const Tree kClash = {{"src/x.jpg", kTaken},
                     {"src/y.jpg", kTaken},  // the same bytes as x.jpg
                     {"tgt/2012年/2012-05-17/x.jpg", kTaken},
                     {"tgt/2012年/2012-05-17/y.jpg", nullptr, 20190304, "another photo"},
                     {"tgt/2012年/2012-05-17/y(1).jpg", nullptr, 20190304, "yet another"}};
const Tree kFilter = {"src/IMG_0001.JPG", "src/clip.Mp4", "src/clip.mpeg", "src/photojpg",
                      "src/x.g,a", "src/notes.txt", "src/sub/movie.avi",
                      // A dot or a tilde starts a name passed over, file or folder, at any depth.
                      "src/.hidden.jpg", "src/~lock.jpg", "src/.thumbs/b.jpg", "src/~tmp/c.jpg",
                      "src/sub/.e.jpg", "src/sub/~f.jpg", "src/sub/deep/.cache/g.jpg",
                      "src/sub/deep/~old/h.jpg"};
// Photo dates that name their folders as they stand, and a video by its file's day.
const Tree kDates = {{"src/0.jpg", kTaken},     {"src/1.jpg", ""},
                     {"src/2.jpg", "20120517"}, {"src/3.jpg", ":05:17 10:20:30"},
                     {"src/4.jpg", "Mon:day"},  {"src/sub/clip.mp4", nullptr, 20180709}};
const Tree kAgain = {{"src/a/x.jpg", kTaken},
                     {"src/b/x.jpg", "2012:05:17 11:00:00"},
                     {"src/c/clip.mp4", nullptr, 20130102},
                     {"tgt/2012年/2012-05-17/x.jpg", kTaken}};
const Tree kSidecars = {{"src/IMG_1.JPG", kTaken},
                        {"src/IMG_1.xmp", nullptr, 20190304, "xmp one"},
                        {"src/IMG_1.JPG.xmp", nullptr, 20190305, "xmp two"},
                        {"src/IMG_1.AAE", nullptr, 20190306, "aae"},
                        {"tgt/2012年/2012-05-17/IMG_1.JPG", nullptr, 20190304, "another photo"}};
const Tree kOptionsOff = {{"src/1/x.jpg", kTaken},
                          {"src/2/x.jpg", kTaken},
                          {"src/3/IMG_1.JPG", kTaken},
                          {"src/3/IMG_1.xmp", nullptr, 20190309},
                          {"src/4/IMG_2.HEIC", nullptr, 20200102},
                          {"src/4/IMG_2.MOV", nullptr, 20200105},
                          {"src/5/y.jpg", kTaken},
                          {"tgt/2012年/2012-05-17/y.jpg", nullptr, 20190304, "another photo"}};

const Scenario kScenarios[] = {
    {.name = "filter on the last three letters of the lower-cased path",
     .tree = kFilter,
     .placed = {"2019年/2019-03-04/IMG_0001.JPG", "2019年/2019-03-04/clip.Mp4",
                "2019年/2019-03-04/movie.avi", "2019年/2019-03-04/photojpg",
                "2019年/2019-03-04/x.g,a"},
     .summary = "整理文件 5 个, 失败 0 个",
     .messages = {"): {s}img_0001.jpg\r\n\r\n复制到: {t}2019年/2019-03-04/IMG_0001.JPG\r\n"}},
    {.name = "a filter in capitals matches nothing",
     .tree = kFilter,
     .with = {.filter = "JPG,AVI"},
     .summary = "整理文件 0 个, 失败 0 个"},
    {.name = "photo dates by year",
     .tree = kDates,
     .placed = {"20120517年/20120517/2.jpg", "2012年/2012-05-17/0.jpg",
                "2018年/2018-07-09/clip.mp4", "2019年/2019-03-04/1.jpg", "2019年/2019-03-04/3.jpg",
                "Mon年/Mon-day/4.jpg"},
     .summary = "整理文件 6 个, 失败 0 个"},
    {.name = "photo dates flat",
     .tree = kDates,
     .with = {.flat = true},
     .placed = {"-05-17/3.jpg", "20120517/2.jpg", "2012-05-17/0.jpg", "2018-07-09/clip.mp4",
                "2019-03-04/1.jpg", "Mon-day/4.jpg"},
     .summary = "整理文件 6 个, 失败 0 个"},
    {.name = "a taken name fails and stays, in this run and the next",
     .tree = {{"src/a/x.jpg", kTaken},
              {"src/b/x.jpg", "2012:05:17 11:00:00"},
              {"src/d/e.jpg"},
              {"src/E.JPG"},  // one destination where names ignore letter case
              {"tgt/2019年/2019-03-04/c.jpg", nullptr, 20190304, "in the way"},
              {"src/c.jpg"}},
     .with = {.runs = 2},
     .placed = {"2012年/2012-05-17/x.jpg", "2019年/2019-03-04/E.JPG", "2019年/2019-03-04/c.jpg",
                "2019年/2019-03-04/e.jpg"},
     .summary = "整理文件 5 个, 失败 5 个",
     .messages = {"复制文件失败: {s}c.jpg -> {t}2019年/2019-03-04/c.jpg\r\n"}},
    {.name = "identical files count apart, a different one takes the next free name",
     .tree = kClash,
     .with = {.move = true, .skipIdentical = true, .renameClashes = true},
     .placed = {"2012年/2012-05-17/x.jpg", "2012年/2012-05-17/y(1).jpg",
                "2012年/2012-05-17/y(2).jpg", "2012年/2012-05-17/y.jpg"},
     .summary = "整理文件 1 个, 失败 0 个, 已存在相同文件 1 个",
     .left = {"x.jpg"},
     .messages = {"已存在相同文件: {s}x.jpg -> {t}2012年/2012-05-17/x.jpg\r\n",
                  "移动文件(1): {s}y.jpg\r\n\r\n移动到: {t}2012年/2012-05-17/y(2).jpg\r\n重名, "
                  "改名为: y(2).jpg\r\n"}},
    {.name = "clash renames alone: a file in place is copied again",
     .tree = kClash,
     .with = {.renameClashes = true},
     .placed = {"2012年/2012-05-17/x(1).jpg", "2012年/2012-05-17/x.jpg",
                "2012年/2012-05-17/y(1).jpg", "2012年/2012-05-17/y(2).jpg",
                "2012年/2012-05-17/y.jpg"},
     .summary = "整理文件 2 个, 失败 0 个"},
    {.name = "copied again and again: every file found in place",
     .tree = kAgain,
     .with = {.skipIdentical = true, .renameClashes = true, .runs = 3},
     .placed = {"2012年/2012-05-17/x(1).jpg", "2012年/2012-05-17/x.jpg",
                "2013年/2013-01-02/clip.mp4"},
     .summary = "整理文件 0 个, 失败 0 个, 已存在相同文件 3 个"},
    {.name = "sidecars follow their photo's day and final name, then are found in place",
     .tree = kSidecars,
     .with = {.skipIdentical = true, .renameClashes = true, .sidecars = true, .runs = 2},
     .placed = {"2012年/2012-05-17/IMG_1(1).AAE", "2012年/2012-05-17/IMG_1(1).JPG",
                "2012年/2012-05-17/IMG_1(1).JPG.xmp", "2012年/2012-05-17/IMG_1(1).xmp",
                "2012年/2012-05-17/IMG_1.JPG"},
     .summary = "整理文件 0 个, 失败 0 个, 已存在相同文件 4 个",
     .messages = {"重名, 改名为: IMG_1(1).xmp\r\n"}},
    {.name = "a sidecar stays when its photo fails or is filtered out",
     .tree = {{"src/IMG_1.JPG", kTaken},
              {"src/IMG_1.xmp"},
              {"src/scan.png"},
              {"src/scan.xmp"},
              {"tgt/2012年/2012-05-17/IMG_1.JPG", nullptr, 20190304, "another photo"}},
     .with = {.move = true, .skipIdentical = true, .sidecars = true},
     .placed = {"2012年/2012-05-17/IMG_1.JPG"},
     .summary = "整理文件 2 个, 失败 2 个, 已存在相同文件 0 个",
     .left = {"IMG_1.JPG", "IMG_1.xmp", "scan.png", "scan.xmp"},
     .messages = {"移动文件失败: {s}img_1.jpg -> {t}2012年/2012-05-17/IMG_1.JPG\r\n",
                  "附属文件未处理 (主文件没有放好): {s}img_1.xmp\r\n"}},
    {.name = "a live photo's video goes where the photo goes",
     .tree = {{"src/IMG_2.HEIC", nullptr, 20200102}, {"src/IMG_2.MOV", nullptr, 20200105}},
     .with = {.sidecars = true, .filter = "jpg,mov,heic"},
     .placed = {"2020年/2020-01-02/IMG_2.HEIC", "2020年/2020-01-02/IMG_2.MOV"},
     .summary = "整理文件 2 个, 失败 0 个"},
    {.name = "without the options a taken name fails whatever it holds",
     .tree = kOptionsOff,
     .with = {.runs = 2},
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2012年/2012-05-17/x.jpg", "2012年/2012-05-17/y.jpg",
                "2020年/2020-01-05/IMG_2.MOV"},
     .summary = "整理文件 5 个, 失败 5 个"},
    {.name = "raw and photo of one name share a day unless both are dated; RAW folders",
     .tree = {{"src/IMG_1.CR2", ""},  // no date: follows its photo
              {"src/IMG_1.JPG", kTaken},
              {"src/IMG_2.NEF", "2013:01:02 10:00:00"},  // both dated: each keeps its own
              {"src/IMG_2.jpg", kTaken},
              {"src/IMG_3.dng", "2014:02:03 10:00:00"},  // a photo without a date follows
              {"src/IMG_3.JPG", ""},
              {"src/IMG_4.ARW", nullptr, 20180101},  // neither dated: the photo's file day
              {"src/IMG_4.JPG", ""},
              {"src/sub/IMG_1.ORF", ""}},  // another folder: no pair
     .with = {.filter = "jpg,cr2,nef,dng,arw,orf", .mediaDates = true, .rawFolder = true},
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2012年/2012-05-17/IMG_2.jpg",
                "2012年/2012-05-17/RAW/IMG_1.CR2", "2013年/2013-01-02/RAW/IMG_2.NEF",
                "2014年/2014-02-03/IMG_3.JPG", "2014年/2014-02-03/RAW/IMG_3.dng",
                "2019年/2019-03-04/IMG_4.JPG", "2019年/2019-03-04/RAW/IMG_1.ORF",
                "2019年/2019-03-04/RAW/IMG_4.ARW"},
     .summary = "整理文件 9 个, 失败 0 个",
     .messages = {"RAW/IMG_1.CR2\r\n日期来源: raw pair\r\n", "IMG_3.JPG\r\n日期来源: raw pair\r\n",
                  "RAW/IMG_4.ARW\r\n日期来源: raw pair\r\n",
                  "RAW/IMG_1.ORF\r\n日期来源: file date\r\n"}},
    {.name = "links back into the tree: each folder walked once",
     .tree = {{"src/a.jpg"},
              {"src/sub/b.jpg"},
              {"src/sub/loop", nullptr, 0, nullptr, "src"},
              {"src/again", nullptr, 0, nullptr, "src/sub"}},
     .with = {.posixOnly = true},
     .placed = {"2019年/2019-03-04/a.jpg", "2019年/2019-03-04/b.jpg"},
     .summary = "整理文件 2 个, 失败 0 个"},
    {.name = "links to the target and into it: never walked",
     .tree = {{"src/a.jpg"},
              {"tgt/y.jpg"},
              {"tgt/2012年/2012-05-17/x.jpg", kTaken},
              {"src/out", nullptr, 0, nullptr, "tgt"},
              {"src/day", nullptr, 0, nullptr, "tgt/2012年/2012-05-17"}},
     .with = {.move = true, .renameClashes = true, .posixOnly = true},
     .placed = {"2012年/2012-05-17/x.jpg", "2019年/2019-03-04/a.jpg", "y.jpg"},
     .summary = "整理文件 1 个, 失败 0 个"},
};

class WalkScenario : public OrganizeTest, public ::testing::WithParamInterface<Scenario> {
 protected:
  void Make(const Entry& entry) const {
    if (entry.link != nullptr) {
      std::filesystem::create_directory_symlink(std::filesystem::u8path(temp / entry.link),
                                                std::filesystem::u8path(temp / entry.path));
    } else if (entry.taken != nullptr && IsRawPhotoName(entry.path)) {
      ASSERT_TRUE(testfiles::WriteText(temp / entry.path, ""));  // makes the folders
      ASSERT_TRUE(
          jpegbuilder::WriteBytes(temp / entry.path, camerabuilder::RawTiff("II*\0", entry.taken)));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(temp / entry.path, 2019, 3, 4));
    } else if (entry.taken != nullptr) {
      Photo(entry.path, entry.taken);
    } else {
      File(entry.path, entry.date / 10000, entry.date / 100 % 100, entry.date % 100, entry.text);
    }
  }
  // `text` with '/' made the separator and {s} and {t} filled in.
  std::string Expand(std::string text) const {
    std::replace(text.begin(), text.end(), '/', kSep);
    for (const auto& [mark, path] : {std::pair{"{s}", platform::ToLower(Src())}, {"{t}", Tgt()}}) {
      for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
        text.replace(at, 3, path);
      }
    }
    return text;
  }
  // The names of `files`, each once; without letter case where names ignore it.
  static std::set<std::string> Names(const Files& files) {
    std::set<std::string> names;
    for (const std::string& file : files) {
      names.insert(kWindows ? platform::ToLower(file) : file);
    }
    return names;
  }
};

TEST_P(WalkScenario, DryRunsPredictTheRealRunAndTheTargetEndsAsExpected) {
  const Scenario& s = GetParam();
  if (s.with.posixOnly && kWindows) {
    GTEST_SKIP() << "links are made on Linux only";
  }
  for (const Entry& entry : s.tree) {
    Make(entry);
  }
  const auto sourceBefore = testfiles::ReadTree(Src());
  const auto targetBefore = testfiles::ReadTree(Tgt());
  RecordingJob job;
  job.m_bDeleteSrc = s.with.move;
  job.m_settings = {.fileFilters = s.with.filter,
                    .classifyByYear = !s.with.flat,
                    .skipIdentical = s.with.skipIdentical,
                    .renameClashes = s.with.renameClashes,
                    .sidecars = s.with.sidecars,
                    .readMediaDates = s.with.mediaDates,
                    .rawFolder = s.with.rawFolder};
  std::string allMessages;
  for (int run = 1; run <= s.with.runs; ++run) {
    const auto before = testfiles::ReadTree(temp.Path());
    const Files entries = testfiles::ListEntries(temp.Path());  // empty folders too
    Files predicted;
    for (const bool dry : {true, true, false}) {
      SCOPED_TRACE(testing::Message() << "run " << run << (dry ? " (dry)" : ""));
      job.m_bDryRun = dry;
      job.messages.clear();
      job.failureFiles.clear();
      // The progress line's count, made before the run, foresees what the run handles.
      const FileCounter counter(temp / "src", temp / "tgt", job.m_settings);
      while (!counter.Done()) {
        std::this_thread::yield();
      }
      // Both folders typed without their final separators, as a hand-edited Config.ini may.
      Run(job, temp / "src", temp / "tgt");
      EXPECT_EQ(job.HandledCount(), counter.Count());
      if (dry) {
        EXPECT_EQ(testfiles::ReadTree(temp.Path()), before);
        EXPECT_EQ(testfiles::ListEntries(temp.Path()), entries);
        EXPECT_TRUE(job.failureFiles.empty());
      }
      // A dry run with media dates also names each day's source, on a line of its own.
      for (std::string& message : job.messages) {
        allMessages += dry ? message : "";
        message.resize(std::min(message.size(), message.find("日期来源: ")));
      }
      if (!predicted.empty()) {
        EXPECT_EQ(job.messages, predicted);
      }
      predicted = job.messages;
    }
    for (const std::string& message : job.messages) {
      allMessages += message;
    }
  }
  EXPECT_EQ(Names(TargetFiles()), Names(s.placed));
  EXPECT_EQ(job.SummaryText(), "\r\n\r\n" + std::string(s.summary));
  EXPECT_EQ(job.messages.back(), job.SummaryText());
  if (s.with.move) {
    EXPECT_EQ(SourceFiles(), s.left);
  } else {
    EXPECT_EQ(testfiles::ReadTree(Src()), sourceBefore);
  }
  for (const auto& [file, bytes] : targetBefore) {
    EXPECT_EQ(testfiles::ReadAll(Tgt() + testfiles::Native(file)), bytes) << file << " replaced";
  }
  for (const std::string& part : s.messages) {
    EXPECT_NE(allMessages.find(Expand(part)), std::string::npos) << Expand(part) << "\n"
                                                                 << allMessages;
  }
}

INSTANTIATE_TEST_SUITE_P(Walk, WalkScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return "_" + std::to_string(info.index); });

}  // namespace
