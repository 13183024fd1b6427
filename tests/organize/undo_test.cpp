// A job recorded in its journal and taken back, after copy and after move: untouched, after
// the user changed files the job placed or left, and from a journal cut short by a crash. And
// the window's journals beside the program: the newest is the last job's, an undo run as a job
// takes back what is unchanged and lists the rest; stopped, it is offered again and resumed,
// finished, it is not offered twice.
#include <map>
#include <string>
#include <utility>

#include "organize/job_journals.h"
#include "organize/organize_journal.h"
#include "organize/organize_undo.h"
#include "organize_fixture.h"
#include "platform/file_ops.h"

namespace {

using Tree = std::map<std::string, std::string>;  // relative path -> content

class Undo : public OrganizeTest {
 public:
  // Two photos of one name and day, a sidecar, a video, a file the filter leaves alone, and a
  // name already taken in the target; organized with the journal and every option.
  void Organize(bool move) {
    Photo("src/a/x.jpg", "2012:05:17 10:20:30");
    Photo("src/b/x.jpg", "2012:05:17 11:00:00");
    File("src/b/x.xmp", 2019, 3, 9, "sidecar");
    File("src/c/clip.mp4", 2013, 1, 2, "video");
    File("src/c/notes.txt");
    File("tgt/2012年/kept.txt", 2019, 3, 4, "was there before");
    sourceBefore = testfiles::ReadTree(Src());
    targetBefore = testfiles::ReadTree(Tgt());
    OrganizeJournal journal;
    ASSERT_TRUE(journal.Open(Journal()));
    RecordingJob job;
    job.m_pJournal = &journal;
    job.m_bDeleteSrc = move;
    job.m_settings = {.skipIdentical = true, .renameClashes = true, .sidecars = true};
    Run(job);
    ASSERT_EQ(job.m_nFailCount, 0);
    ASSERT_EQ(job.m_nFileCount, 4);
    ASSERT_FALSE(journal.Failed());
  }
  UndoCounts TakeBack(bool dryRun = false) {
    UndoCounts counts;
    reported.clear();
    EXPECT_TRUE(UndoJournal(
        Journal(), dryRun, [&](const std::string& line) { reported += line + "\n"; }, &counts));
    return counts;
  }
  std::string Journal() const { return temp / "journal.txt"; }
  Tree sourceBefore, targetBefore;
  std::string reported;
};

// What the user does between the job and its undo: `file` (under the temporary folder)
// removed, or rewritten with `text` ("" for as many other bytes; "\r\n": its line ends made
// CR LF; "cut": its last line cut short, followed by what comes after "cut"; "old": its first
// line, the job's folders, gone, as journals of earlier versions have it). `refusal`: the start
// of the report of the one file the undo then leaves.
struct Change {
  friend void PrintTo(const Change& c, std::ostream* out) { *out << c.name; }
  const char* name;
  const char* file;
  const char* text;
  const char* refusalAfterCopy;
  const char* refusalAfterMove;
};

constexpr char kCut[] = "日志最后一行不完整, 无法撤销: ";
constexpr char kUnreadable[] = "无法读取的日志行: ";
constexpr char kEdited[] = "无法撤销, 文件已改动: ";
constexpr char kKept[] = "无法撤销, 源文件已不在或已改动, 保留副本: ";
constexpr char kPlaced[] = "tgt/2012年/2012-05-17/x.jpg";
constexpr char kClip[] = "tgt/2013年/2013-01-02/clip.mp4";
const Change kChanges[] = {
    {"nothing", nullptr, nullptr, "", ""},
    {"journal saved with CR LF", "journal.txt", "\r\n", "", ""},
    {"journal cut short by a crash", "journal.txt", "cut", kCut, kCut},
    {"journal cut short, then appended to", "journal.txt", "cut\n", kUnreadable, kUnreadable},
    {"journal of an earlier version, without the job's folders", "journal.txt", "old", "", ""},
    {"placed file edited", kPlaced, "edited", kEdited, kEdited},
    {"placed file edited, its size kept", kPlaced, "", kEdited, kEdited},
    {"placed file removed", kClip, nullptr, "无法撤销, 文件已不在: ", "无法撤销, 文件已不在: "},
    {"source removed", "src/c/clip.mp4", nullptr, kKept, ""},
    {"source written again, another size", "src/c/clip.mp4", "a longer video", kKept,
     "无法撤销, 原位置已有文件: "},
    {"source written again, its size kept", "src/c/clip.mp4", "", kKept,
     "无法撤销, 原位置已有文件: "},
};

class UndoChange : public Undo, public ::testing::WithParamInterface<std::tuple<Change, bool>> {};

TEST_P(UndoChange, TakesBackWhatIsUnchangedAndLeavesTheRest) {
  const auto& [change, move] = GetParam();
  Organize(move);
  std::string path;  // the file the user wrote, which the undo must leave as it is
  if (change.file != nullptr && change.text == nullptr) {
    platform::RemoveFile(temp / change.file);
  } else if (change.file != nullptr) {
    path = temp / change.file;
    const std::string before = testfiles::ReadAll(path);
    std::string text = change.text;
    if (text == "\r\n") {
      text.clear();
      for (const char c : before) {
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
      }
    } else if (text == "old") {
      text = before.substr(before.find('\n') + 1);
    } else if (text.starts_with("cut")) {  // the last line loses its end mark
      text = before.substr(0, before.size() - 6) + text.substr(3);
    } else if (text.empty()) {
      text.assign(before.size(), 'e');
    }
    ASSERT_TRUE(testfiles::WriteText(path, text));
  }
  const std::string stays = testfiles::ReadAll(path);
  const std::string refusal = move ? change.refusalAfterMove : change.refusalAfterCopy;

  // A dry run reports what the undo would do and changes nothing.
  const Tree placed = testfiles::ReadTree(temp.Path());
  const UndoCounts dry = TakeBack(true);
  EXPECT_EQ(testfiles::ReadTree(temp.Path()), placed);
  EXPECT_NE(reported.find(move ? "将移回: " : "将删除副本: "), std::string::npos) << reported;

  const UndoCounts counts = TakeBack();
  EXPECT_EQ(counts.undone, refusal.empty() ? 4 : 3) << reported;
  EXPECT_EQ(counts.notUndone, refusal.empty() ? 0 : 1) << reported;
  EXPECT_EQ(dry.undone, counts.undone);
  EXPECT_EQ(dry.notUndone, counts.notUndone);
  EXPECT_TRUE(refusal.empty() || reported.find(refusal) != std::string::npos) << reported;
  // A journal only grows by the undo's notes.
  const std::string after = testfiles::ReadAll(path);
  EXPECT_EQ(path.ends_with("journal.txt") ? after.substr(0, stays.size()) : after, stays) << path;
  if (refusal.empty()) {
    EXPECT_EQ(testfiles::ReadTree(Src()), sourceBefore);
    EXPECT_EQ(testfiles::ReadTree(Tgt()), targetBefore);
    // The folders the job made are gone; the year folder that held a file before stays.
    EXPECT_FALSE(testfiles::Exists(Tgt() + "2013年"));
    EXPECT_FALSE(testfiles::Exists(Tgt() + testfiles::Native("2012年/2012-05-17")));
    // A file moved back has its own time again.
    platform::FileInfo info;
    ASSERT_TRUE(platform::ReadFileInfo(Src() + testfiles::Native("b/x.xmp"), &info));
    platform::LocalDate day;
    ASSERT_TRUE(platform::LocalDateOfFileTime(info.lastWrite, &day));
    EXPECT_EQ(day.day, 9);
  }
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, UndoChange,
                         ::testing::Combine(::testing::ValuesIn(kChanges), ::testing::Bool()));

TEST_F(OrganizeTest, TheLastJobIsTakenBackOnceAndAChangedFileIsListed) {
  const std::string app = Folder("app");
  // Of 26 older journals the newest 19 stay beside the new one, which is numbered after the
  // last: journals follow their numbers, not the times in their names (the clock went back
  // since job 7), and the names of earlier versions come before all numbered ones.
  for (int i = 10; i < 34; ++i) {
    File("app/journal/2000-01-01_0000" + std::to_string(i) + ".txt");
  }
  File("app/journal/2099-01-01_000000.txt", 2019, 3, 4, "folder\t/x/\tend\n");
  File("app/journal/000007_2098-01-01_000000.txt", 2019, 3, 4, "folder\t/x/\tend\n");
  const std::string path = NewJobJournalPath(app);
  EXPECT_EQ(path.substr(JobJournalFolder(app).size(), 7), "000008_");
  const Files kept = testfiles::ListFiles(JobJournalFolder(app));
  EXPECT_EQ(kept.size(), 19u);
  EXPECT_EQ(kept[1], "2000-01-01_000017.txt");

  Photo("src/a.jpg", "2012:05:17 10:20:30");
  Photo("src/sub/c.jpg", "2012:05:17 10:20:30");
  File("src/b.mp4");
  OrganizeJournal journal;
  ASSERT_TRUE(journal.Open(path));
  RecordingJob job;
  job.m_pJournal = &journal;
  job.m_bDeleteSrc = true;
  Run(job);
  EXPECT_TRUE(testfiles::ReadAll(path).starts_with("# job\t" + Src() + "\t" + Tgt() + "\tend\n"));
  EXPECT_EQ(LastJobJournal(app), path);
  JournalCounts counts;
  EXPECT_TRUE(CountJournal(path, &counts));
  EXPECT_EQ(std::pair(counts.files, counts.folders), std::pair(3, 4));
  const std::string changed = Tgt() + testfiles::Native("2019年/2019-03-04/b.mp4");
  ASSERT_TRUE(testfiles::WriteText(changed, "changed since"));

  // Stopped once a file is back: offered again, with what is left to take back.
  RecordingJob undo;
  undo.onProgress = [&] {
    if (undo.LatestMessage().starts_with("已移回")) {
      undo.Stop();
    }
  };
  undo.BeginJob();
  undo.RunUndo(path, FailureFile());
  EXPECT_EQ(undo.m_nFileCount, 1);
  EXPECT_EQ(LastJobJournal(app), path);
  EXPECT_TRUE(CountJournal(path, &counts) && counts.files == 2);

  // The next undo takes back the rest and lists only what really stays.
  undo.onProgress = nullptr;
  undo.BeginJob();
  undo.RunUndo(path, FailureFile());
  EXPECT_EQ(SourceFiles(), (Files{"a.jpg", "sub/c.jpg"}));
  EXPECT_EQ(TargetFiles(), Files{"2019年/2019-03-04/b.mp4"});
  const std::string summary = "\r\n\r\n撤销文件 1 个, 无法撤销 1 个";
  EXPECT_EQ(undo.LatestMessage(), summary);
  EXPECT_EQ(testfiles::ReadAll(FailureFile()),
            "\xEF\xBB\xBF无法撤销, 文件已改动: " + changed + "\r\n" + summary);
  EXPECT_EQ(LastJobJournal(app), "");
  EXPECT_TRUE(CountJournal(path, &counts) && counts.files == 1);  // what is left to take back
}

}  // namespace
