// Several files at once give the outcome of one at a time: the same messages in the same order,
// failure list, journal, counts and both trees, byte for byte, on a tree where files of four
// folders race for the same names (clashes, identical files, a source named like a clash
// rename, sidecars, a live photo, undated files, a name held by a folder, a year folder that
// cannot be made); and a stop with files in flight counts exactly what was placed.
#include <cstdio>
#include <filesystem>
#include <map>

#include "organize/organize_journal.h"
#include "organize_fixture.h"

namespace {

struct Row {
  const char* name;
  bool move = false, dryRun = false, skipIdentical = false, renameClashes = false, sidecars = false,
       mediaDates = false, rawFolder = false;
  friend void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
};

struct Outcome {
  std::string text;  // messages, failure list, counts and journal
  std::map<std::string, std::string> source, target;
  bool operator==(const Outcome&) const = default;
};

class Parallel : public OrganizeTest, public ::testing::WithParamInterface<Row> {
 protected:
  void MakeTree() const {
    for (const char folder : {'a', 'b', 'c', 'd'}) {
      for (int i = 0; i < 8; ++i) {
        char name[32], taken[32];
        std::snprintf(name, sizeof name, "src/%c/IMG_%04d.JPG", folder, i);
        // Three days; d holds a's bytes under a's names.
        std::snprintf(taken, sizeof taken, "2012:05:%02d %02d:00:00", 17 + i % 3,
                      folder == 'd' ? 'a' : folder);
        Photo(name, taken);
      }
    }
    for (const char* folder : {"a", "b", "c"}) {
      Photo(std::string("src/") + folder + "/IMG_0002(1).JPG", "2012:05:19 08:00:00");
      Photo(std::string("src/") + folder + "/IMG_0012.JPG", std::string("2012:05:18 0") + *folder);
      File(std::string("src/") + folder + "/IMG_0012.xmp", 2019, 1, 1, folder);
    }
    Photo("src/c/IMG_0009.JPG", "");
    Photo("src/a/IMG_0010.JPG", "2012:05:17 01:00:00");
    Photo("src/b/img_0010.jpg", "2012:05:17 02:00:00");  // the same name where case is ignored
    File("src/a/IMG_0001.xmp", 2019, 1, 1, "xmp a");
    File("src/b/IMG_0001.JPG.xmp", 2019, 1, 1, "xmp b");
    File("src/d/IMG_0012.MOV", 2012, 5, 18);  // its sidecar meets the photos' in their day
    File("src/d/IMG_0012.xmp", 2019, 1, 1, "d");
    File("src/a/IMG_0013.CR2", 2019, 1, 1, "a raw photo without a date");
    Photo("src/a/IMG_0013.JPG", "2012:05:18 09:00:00");
    File("src/c/IMG_0004.HEIC", 2020, 1, 2, "live photo");
    File("src/c/IMG_0004.MOV", 2020, 1, 3, "live video");
    File("src/d/clip.mp4", 2013, 1, 2);
    File("src/d/VID_20210314_101500.mp4", 2014, 1, 2);
    File("tgt/2013年", 2019, 1, 1, "a file where a year folder would go");
    ASSERT_TRUE(
        testfiles::MakeFolders(Tgt() + testfiles::Native("2012年/2012-05-18/IMG_0004.JPG")));
  }

  Outcome Run(int jobs) {
    std::filesystem::remove_all(std::filesystem::u8path(temp / "src"));
    std::filesystem::remove_all(std::filesystem::u8path(temp / "tgt"));
    std::filesystem::remove(std::filesystem::u8path(temp / "journal.txt"));
    MakeTree();
    const Row& row = GetParam();
    RecordingJob job;
    job.m_bDeleteSrc = row.move;
    job.m_bDryRun = row.dryRun;
    job.m_settings = {.fileFilters = "jpg,mov,mp4,eic,cr2",
                      .skipIdentical = row.skipIdentical,
                      .renameClashes = row.renameClashes,
                      .sidecars = row.sidecars,
                      .readMediaDates = row.mediaDates,
                      .rawFolder = row.rawFolder,
                      .jobs = jobs};
    Outcome outcome;
    {
      OrganizeJournal journal;
      EXPECT_TRUE(journal.Open(temp / "journal.txt"));
      job.m_pJournal = row.dryRun ? nullptr : &journal;
      OrganizeTest::Run(job);
    }
    for (const std::string& message : job.messages) {
      outcome.text += message + "\n";
    }
    outcome.text += job.m_strErrors + "\n" + std::to_string(job.m_nFileCount) + " " +
                    std::to_string(job.m_nFailCount) + " " + std::to_string(job.m_nIdenticalCount) +
                    "\n" + testfiles::ReadAll(temp / "journal.txt");
    outcome.source = testfiles::ReadTree(Src());
    outcome.target = testfiles::ReadTree(Tgt());
    return outcome;
  }
};

TEST_P(Parallel, SeveralFilesAtOnceComeOutAsOneAtATime) {
  const Outcome one = Run(1);
  EXPECT_NE(one.text.find("失败"), std::string::npos) << "the tree has failures";
  for (const int jobs : {2, 3, 8}) {
    const Outcome several = Run(jobs);
    EXPECT_EQ(several.text, one.text) << jobs << " at once";
    EXPECT_TRUE(several == one) << jobs << " at once";
  }
}

INSTANTIATE_TEST_SUITE_P(Walk, Parallel,
                         ::testing::Values(Row{"copy"}, Row{"move", true},
                                           Row{"all options", false, false, true, true, true, true},
                                           Row{"move, all options", true, false, true, true, true,
                                               true, true},
                                           Row{"dry run", false, true, true, true, true}),
                         [](const auto& info) { return std::to_string(info.index); });

}  // namespace
