// Paths that leave the two folders, handed to the guard, to the job's walk as a faulty walk
// would hand them over, and to an undo in a journal: each is refused and listed, and nothing
// outside the folders changes.
#include <filesystem>
#include <functional>
#include <string>

#include "organize/folder_guard.h"
#include "organize/organize_journal.h"
#include "organize/organize_undo.h"
#include "organize_fixture.h"
#include "platform/folder_bounds.h"

namespace {

constexpr bool kWindows = platform::kPathSeparator == '\\';

class Escapes : public OrganizeTest {
 protected:
  void SetUp() override {
    OrganizeTest::SetUp();
    Photo("src/in.jpg", "2012:05:17 10:20:30");
    Photo("src2/sibling.jpg", "2012:05:17 10:20:30");  // a sibling whose name starts alike
    Photo("outside/far.jpg", "2012:05:17 10:20:30");
    File("tgt/2012年/placed.jpg");
    ASSERT_TRUE(testfiles::MakeFolders(Folder("outside/empty")));
  }
  // Every entry under the temporary folder outside the target, but the failure file.
  Files Outside() const {
    Files entries = testfiles::ListEntries(temp.Path());
    std::erase_if(
        entries, [](const std::string& e) { return e.starts_with("tgt/") || e.ends_with(".txt"); });
    return entries;
  }
  std::string Up(const std::string& relative) const { return Src() + ".." + kSep + relative; }
};

TEST_F(Escapes, TheGuardRefusesEveryChangeOutsideItsFolders) {
  const FolderGuard guard(temp / "src", Tgt());
  const std::string placed = Tgt() + "2012年" + kSep + "placed.jpg";
  using Change = std::function<GuardedChange()>;
  const Change removals[] = {
      [&] { return guard.Move(temp / "src2/sibling.jpg", Tgt() + "a"); },
      [&] { return guard.Move(Up("outside/far.jpg"), Tgt() + "a"); },
      [&] { return guard.RemoveFile(Up("outside/far.jpg")); },
      [&] { return guard.RemoveFile(placed); },  // the target is no source
      [&] { return guard.RemoveEmptyFolder(Up("outside/empty")); },
  };
  const Change makings[] = {
      [&] { return guard.Move(Src() + "in.jpg", Up("outside/a")); },
      [&] { return guard.Copy(Src() + "in.jpg", Folder("outside") + "a"); },
      [&] { return guard.CreateFolder(Src() + "new"); },  // the source is no target
      [&] { return guard.CreateFolder(Tgt() + ".." + kSep + "new"); },
  };
  const Files before = testfiles::ListEntries(temp.Path());
  for (const Change& change : removals) {
    EXPECT_EQ(change(), GuardedChange::kOutsideSource) << &change - removals;
  }
  for (const Change& change : makings) {
    EXPECT_EQ(change(), GuardedChange::kOutsideTarget) << &change - makings;
  }
  EXPECT_EQ(testfiles::ListEntries(temp.Path()), before);
}

// As a walk that entered a sibling, "..", or a link leading out would: nothing outside moves.
TEST_F(Escapes, AMoveTakesNothingFromOutsideThePhotoFolder) {
  if (!kWindows) {  // Windows links: tests/e2e/folder_loop.sh
    std::filesystem::create_directory_symlink(std::filesystem::u8path(Folder("outside")),
                                              std::filesystem::u8path(temp / "src/away"));
  }
  // The same bytes in place do not excuse a file from outside: it is refused all the same.
  Photo("tgt/2012年/2012-05-17/far.jpg", "2012:05:17 10:20:30");
  Files outside = Outside();
  RecordingJob job;
  job.m_bDeleteSrc = true;
  job.m_settings = {.skipIdentical = true, .renameClashes = true};
  job.m_strPathSrc = Src();
  job.m_strPathTar = Tgt();
  for (const bool dry : {true, false}) {  // a dry run says the same
    job.m_bDryRun = dry;
    job.BeginJob();
    job.OrganizeFolder(temp / "src2");
    job.OrganizeFolder(Src() + "..");  // src and outside (src2 was walked; tgt never is)
    EXPECT_EQ(job.m_nFailCount, 3) << job.m_strErrors;
  }
  EXPECT_EQ(Outside(), outside);

  Run(job);  // the photo folder itself, with the link
  std::erase(outside, "src/in.jpg");
  EXPECT_EQ(Outside(), outside);
  EXPECT_EQ(TargetFiles(),
            (Files{"2012年/2012-05-17/far.jpg", "2012年/2012-05-17/in.jpg", "2012年/placed.jpg"}));
  const std::string refusal =
      "已拒绝, 文件不在照片目录内: " + platform::RealFolderPath(Folder("outside"));
  EXPECT_EQ(job.m_nFailCount, kWindows ? 0 : 1);
  EXPECT_TRUE(kWindows || job.m_strErrors.find(refusal) != std::string::npos) << job.m_strErrors;
}

// A journal naming files outside its job's folders, as a damaged journal or a faulty undo
// would: each record is refused and listed, nothing is removed or moved back.
TEST_F(Escapes, AnUndoActsOnlyInsideTheFoldersItsJournalRecords) {
  const std::string path = temp / "journal.txt";
  const std::string placed = Tgt() + "2012年" + kSep + "placed.jpg";
  const std::string far = Folder("outside") + "far.jpg";
  {
    OrganizeJournal journal;  // the size and time of each file as it is now
    ASSERT_TRUE(journal.Open(path));
    journal.RecordJob(Src(), Tgt());
    journal.RecordFolder(Up("outside/empty") + kSep);
    journal.RecordPlaced(false, Src() + "in.jpg", far);
    journal.RecordPlaced(false, Src() + "in.jpg", temp / "src2/sibling.jpg");
    journal.RecordPlaced(true, Folder("outside") + "back.jpg", placed);  // back to outside
    journal.RecordPlaced(true, Src() + "in.jpg", Up("outside/far.jpg"));
  }
  std::string expected;
  for (const std::string& named : {Up("outside/far.jpg"), Folder("outside") + "back.jpg",
                                   temp / "src2/sibling.jpg", far, Up("outside/empty") + kSep}) {
    expected += "无法撤销, 不在日志记录的目录内: " + named + "\n";
  }
  const Files before = testfiles::ListEntries(temp.Path());
  UndoCounts counts;
  std::string reported;
  ASSERT_TRUE(UndoJournal(
      path, false, [&](const std::string& line) { reported += line + "\n"; }, &counts));
  EXPECT_EQ(reported, expected);
  EXPECT_EQ(counts.notUndone, 5);
  EXPECT_EQ(testfiles::ListEntries(temp.Path()), before);
}

}  // namespace
