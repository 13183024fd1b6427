#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "organize/clash_names.h"
#include "organize/organize_journal.h"
#include "organize/same_content.h"
#include "organize/sidecar_groups.h"
#include "test_files.h"

namespace {

TEST(ClashNames, NumberGoesBeforeTheLastExtension) {
  EXPECT_EQ(ClashName("IMG_0001.JPG", 3), "IMG_0001(3).JPG");
  EXPECT_EQ(ClashName("clip.tar.mp4", 3), "clip.tar(3).mp4");
  EXPECT_EQ(ClashName("noext", 3), "noext(3)");
  EXPECT_EQ(ClashName("照片.jpg", 12), "照片(12).jpg");
}

// Placements wait for an earlier one exactly when both could ever try one name.
TEST(ClashNames, PlacementsThatCouldMeetShareAKey) {
  const auto meet = [](const char* folderA, const char* a, std::vector<Sidecar> sidecarsA,
                       const char* b, std::vector<Sidecar> sidecarsB = {}) {
    const std::vector<std::string> keysA = ClashKeys(folderA, a, sidecarsA);
    for (const std::string& key : ClashKeys("day/", b, sidecarsB)) {
      if (std::find(keysA.begin(), keysA.end(), key) != keysA.end()) {
        return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(meet("day/", "IMG_2.JPG", {}, "IMG_2(1).JPG"));
  EXPECT_TRUE(meet("day/", "IMG_2.JPG", {}, "img_2(3)(1).jpg"));
  EXPECT_TRUE(meet("day/", "IMG_3.JPG", {{"IMG_3.xmp"}}, "IMG_3.MOV", {{"IMG_3.xmp"}}));
  EXPECT_TRUE(meet("day/", "IMG_3.JPG", {{"IMG_3.JPG.xmp", true}}, "IMG_3(1).JPG.xmp"));
  EXPECT_FALSE(meet("other/", "IMG_2.JPG", {}, "IMG_2.JPG"));
  EXPECT_FALSE(meet("day/", "IMG_2.JPG", {}, "IMG_2.MOV"));
  EXPECT_FALSE(meet("day/", "IMG_2.JPG", {}, "IMG_22.JPG"));
}

// The grouping of one folder in one line: "main: sidecar sidecar; ..." in sorted order.
std::string Grouped(const std::vector<std::string>& names, const std::string& filter) {
  SidecarGroups groups;
  groups.Group(names, [&](const std::string& lower) {
    return filter.find(lower.substr(lower.size() < 3 ? 0 : lower.size() - 3)) != std::string::npos;
  });
  std::string text;
  for (const std::string& name : names) {
    const std::vector<Sidecar>& sidecars = groups.SidecarsOf(name);
    if (sidecars.empty()) {
      continue;
    }
    text += name + ":";
    for (const Sidecar& sidecar : sidecars) {
      EXPECT_TRUE(groups.IsSidecar(sidecar.name));
      text += " " + sidecar.name + (sidecar.followsFullName ? "*" : "");
    }
    text += "; ";
  }
  return text;
}

TEST(SidecarGroups, SidecarsGoWithTheirMainFileOnly) {
  constexpr char kDefault[] = "jpg,avi,mov,mp4";
  constexpr char kWithHeic[] = "jpg,avi,mov,mp4,heic";
  const struct {
    std::vector<std::string> names;
    std::string filter;
    std::string expected;
  } cases[] = {
      // Both naming styles, any letter case; "*" marks the whole-name style.
      {{"IMG_1.JPG", "IMG_1.xmp", "img_1.AAE", "IMG_1.JPG.xmp", "IMG_2.xmp"},
       kDefault,
       "IMG_1.JPG: IMG_1.JPG.xmp* IMG_1.xmp img_1.AAE; "},
      // A video's thumbnail; a sidecar whose main file does not pass the filter stays alone.
      {{"MVI_5.AVI", "MVI_5.THM", "scan.png", "scan.xmp"}, kDefault, "MVI_5.AVI: MVI_5.THM; "},
      // A live photo: the video follows the photo only when both pass the filter.
      {{"IMG_3.HEIC", "IMG_3.MOV", "IMG_3.AAE"}, kWithHeic, "IMG_3.HEIC: IMG_3.AAE IMG_3.MOV; "},
      {{"IMG_3.HEIC", "IMG_3.MOV"}, kDefault, ""},
      {{"IMG_3.MOV", "IMG_3.xmp"}, kDefault, "IMG_3.MOV: IMG_3.xmp; "},
      // Two main files of one stem: the first name in sorted order keeps the sidecar.
      {{"IMG_4.MP4", "IMG_4.JPG", "IMG_4.xmp"}, kDefault, "IMG_4.JPG: IMG_4.xmp; "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Grouped(c.names, c.filter), c.expected) << c.names.front();
  }
}

TEST(SameContent, SizesThenEveryByte) {
  testfiles::TempFolder temp;
  const std::string big(200 * 1024, 'a');  // more than one read of the bounded buffer
  std::string lastDiffers = big, firstDiffers = big;
  lastDiffers.back() = 'b';
  firstDiffers.front() = 'b';
  const std::pair<std::string, bool> cases[] = {
      {big, true}, {lastDiffers, false}, {firstDiffers, false}, {big + "a", false}, {"", false}};
  ASSERT_TRUE(testfiles::WriteText(temp / "a", big));
  for (const auto& [other, same] : cases) {
    ASSERT_TRUE(testfiles::WriteText(temp / "b", other));
    EXPECT_EQ(HaveSameContent(temp / "a", temp / "b"), same) << other.size();
  }
  ASSERT_TRUE(testfiles::WriteText(temp / "empty", ""));
  EXPECT_TRUE(HaveSameContent(temp / "b", temp / "empty"));
  EXPECT_FALSE(HaveSameContent(temp / "a", temp / "missing"));
  EXPECT_FALSE(HaveSameContent(temp / "missing", temp / "missing"));
}

TEST(JournalLine, EveryPathByteSurvivesTheRoundTrip) {
  std::string everyByte;
  for (int byte = 1; byte < 256; ++byte) {
    everyByte.push_back(static_cast<char>(byte));
  }
  JournalRecord record;
  record.kind = JournalRecord::Kind::kMove;
  record.source = "/src/a\tb\nc%41\r" + everyByte;
  record.destination = "/tgt/2012年/2012-05-17/IMG(1).JPG";
  record.size = 18446744073709551615ULL;
  record.lastWrite = 134000000000000000LL;
  const std::string line = FormatJournalLine(record);
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line";
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(line.substr(0, 12), "move\t/src/a%");

  JournalRecord back;
  ASSERT_TRUE(ParseJournalLine(std::string_view(line).substr(0, line.size() - 1), &back));
  EXPECT_EQ(back.kind, record.kind);
  EXPECT_EQ(back.source, record.source);
  EXPECT_EQ(back.destination, record.destination);
  EXPECT_EQ(back.size, record.size);
  EXPECT_EQ(back.lastWrite, record.lastWrite);

  JournalRecord folder;
  folder.destination = "/tgt/2012年/";
  EXPECT_EQ(FormatJournalLine(folder), "folder\t/tgt/2012年/\tend\n");
}

TEST(JournalLine, DamagedLinesAreRefused) {
  // Cut short before or inside the end mark, a size that is no number, negative or missing, an
  // escape cut short or not hex, no source, an unknown operation, fields missing or too many.
  for (const char* line :
       {"", "copy\t/a\t/b\t12\t5", "copy\t/a\t/b\t12\t5\ten", "copy\t/a\t/b\t1x\t5\tend",
        "copy\t/a\t/b\t-1\t5\tend", "copy\t/a\t/b\t\t5\tend", "copy\t/a%4\t/b\t1\t5\tend",
        "copy\t/a%zz\t/b\t1\t5\tend", "copy\t\t/b\t1\t5\tend", "rename\t/a\t/b\t1\t5\tend",
        "folder\tend", "folder\t/x", "folder\t/x\textra\tend", "copy\t/a\t/b\t1\t5\t6\tend"}) {
    JournalRecord record;
    EXPECT_FALSE(ParseJournalLine(line, &record)) << line;
  }
  JournalRecord record;
  EXPECT_TRUE(ParseJournalLine("copy\t/a\t/b\t1\t5\tend", &record));
  EXPECT_TRUE(ParseJournalLine("folder\t/a\tend", &record));
}

TEST(Journal, AppendsOnALineOfItsOwnAfterALineCutShort) {
  testfiles::TempFolder temp;
  for (const std::string before :
       {"folder\t/a/\tend\n", "folder\t/a/\tend\ncopy\t/a\t/b\t1\t5\te"}) {
    ASSERT_TRUE(testfiles::WriteText(temp / "j.txt", before));
    {
      OrganizeJournal journal;
      ASSERT_TRUE(journal.Open(temp / "j.txt"));
      journal.RecordFolder("/x/");
      EXPECT_FALSE(journal.Failed());
    }
    EXPECT_EQ(testfiles::ReadAll(temp / "j.txt"),
              before + (before.ends_with('\n') ? "" : "\n") + "folder\t/x/\tend\n");
  }
}

}  // namespace
