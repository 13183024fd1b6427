// Copy and move of single files, within one file system and from another: content and
// last-write time kept (as the listing and the file's own information give it), no name ever
// replaced, nothing left behind by a refused transfer, and what a killed copy left behind
// cleared later.
#include <unistd.h>

#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/copy_temporary.h"
#include "platform/file_ops.h"
#include "platform_test_support.h"

namespace {

using platformtest::ListedEntries;
using testfiles::ListFiles;
using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;
using Files = std::vector<std::string>;

struct Transfer {
  const char* name;
  bool (*run)(const std::string& source, const std::string& destination);
  std::string sourceParent;  // where the sources lie when not in the destinations' folder
};

// A copy of the file held open since its head was read, as the organize job's workers copy.
bool CopyHeld(const std::string& source, const std::string& destination) {
  platform::HeldFile held;
  platform::InputFile head;
  if (held.Open(source) && head.Open(held)) {
    std::fgetc(head.Stream());
  }
  head.Close();
  return platform::CopyFileNoOverwrite(source, destination, &held);
}

// Copy, move, and where the machine has a second file system (the shared-memory one; drive
// Z: under Wine) a move from there.
std::vector<Transfer> Transfers() {
  std::vector<Transfer> all = {{"copy", &platform::CopyFileNoOverwrite, ""},
                               {"copy held", &CopyHeld, ""},
                               {"move", &platform::MoveFileNoOverwrite, ""}};
  const std::string shm = platform::kPathSeparator == '/' ? "/dev/shm/" : "Z:\\dev\\shm\\";
  platform::FolderId temp;
  platform::FolderId other;
  if (platform::FolderListing(TempFolder().Path()).Identity(&temp) &&
      platform::FolderListing(shm).Identity(&other) && temp.device != other.device) {
    all.push_back({"move across", &platform::MoveFileNoOverwrite, shm});
  }
  return all;
}

TEST(FileTransfer, KeepsContentAndLastWriteTime) {
  std::string large(5 * 1024 * 1024 + 321, '\0');  // no offset mix-up keeps these bytes
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i * 7 + i / 251);
  }
  const std::pair<std::string, std::string> files[] = {
      {"empty.mov", ""}, {"照片.JPG", "small photo"}, {"large.mp4", large}};
  for (const Transfer& transfer : Transfers()) {
    const bool keepsSource = transfer.run != &platform::MoveFileNoOverwrite;
    const TempFolder to;
    const TempFolder from(transfer.sourceParent.empty() ? to.Path() : transfer.sourceParent);
    ASSERT_TRUE(testfiles::MakeFolders(to / "2011年"));
    for (const auto& [name, content] : files) {
      SCOPED_TRACE(std::string(transfer.name) + " " + name);
      ASSERT_TRUE(WriteText(from / name, content));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(from / name, 2011, 3, 4, 8));
      const platform::FileTime written = ListedEntries(from.Path())[name].written;
      ASSERT_TRUE(transfer.run(from / name, to / "2011年/" + name));
      EXPECT_TRUE(ReadAll(to / "2011年/" + name) == content);
      EXPECT_EQ(ListedEntries(to / "2011年/")[name].written, written);
      platform::FileInfo info;  // what taking a job back compares
      ASSERT_TRUE(platform::ReadFileInfo(to / "2011年/" + name, &info));
      EXPECT_EQ(info.size, content.size());
      EXPECT_EQ(info.lastWrite, written);
      EXPECT_EQ(testfiles::Exists(from / name), keepsSource);
    }
    EXPECT_EQ(ListFiles(to / "2011年/").size(), 3u) << "nothing else";
    EXPECT_EQ(ListFiles(from.Path()).size(), keepsSource ? 3u : 0u);
  }
}

TEST(FileTransfer, RefusesTakenNamesAndLeavesEverythingAsItWas) {
  for (const Transfer& transfer : Transfers()) {
    const TempFolder to;
    const TempFolder from(transfer.sourceParent.empty() ? to.Path() : transfer.sourceParent);
    ASSERT_TRUE(WriteText(from / "new/a.jpg", "new"));
    ASSERT_TRUE(WriteText(to / "old/a.jpg", "old"));
    ASSERT_TRUE(testfiles::MakeFolders(to / "old/folder.jpg"));
    const std::pair<std::string, std::string> refused[] = {
        {from / "new/a.jpg", to / "old/a.jpg"},       // a file holds the name
        {from / "new/a.jpg", to / "old/folder.jpg"},  // a folder holds the name
        {from / "new/gone.jpg", to / "old/g.jpg"},    // no source
        {from / "new/a.jpg", to / "missing/a.jpg"},   // no destination folder
    };
    for (const auto& [source, destination] : refused) {
      EXPECT_FALSE(transfer.run(source, destination)) << transfer.name << " to " << destination;
    }
    if (transfer.run != &platform::MoveFileNoOverwrite) {  // a folder is no file to copy, nor
                                                           // to take back
      EXPECT_FALSE(transfer.run(to / "old/folder.jpg", to / "new-folder.jpg"));
      platform::FileInfo info;
      EXPECT_FALSE(platform::ReadFileInfo(to / "old/folder.jpg", &info));
    }
    EXPECT_EQ(ReadAll(from / "new/a.jpg"), "new");
    EXPECT_EQ(ReadAll(to / "old/a.jpg"), "old");
    EXPECT_EQ(ListFiles(to / "old/"), Files{"a.jpg"});
    EXPECT_EQ(ListFiles(from.Path()), Files{"new/a.jpg"});
    EXPECT_FALSE(testfiles::Exists(to / "missing"));
  }
}

// Two threads racing for one name, as two jobs' workers may: one wins, the other fails, and
// neither replaces the other's copy.
TEST(FileTransfer, CopiesRacingForOneNameNeverReplaceEachOther) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "one.jpg", std::string(200000, '1')));
  ASSERT_TRUE(WriteText(root / "two.jpg", std::string(200000, '2')));
  ASSERT_TRUE(testfiles::MakeFolders(root / "out"));
  for (int round = 0; round < 40; ++round) {
    const std::string destination = root / ("out/" + std::to_string(round) + ".jpg");
    bool won[2] = {false, false};
    std::thread other(
        [&] { won[1] = platform::CopyFileNoOverwrite(root / "two.jpg", destination); });
    won[0] = platform::CopyFileNoOverwrite(root / "one.jpg", destination);
    other.join();
    ASSERT_NE(won[0], won[1]) << "round " << round;
    EXPECT_EQ(ReadAll(destination), ReadAll(root / (won[0] ? "one.jpg" : "two.jpg")));
  }
  EXPECT_EQ(platformtest::ListedEntries(root / "out/").size(), 40u) << "no temporary left";
}

// A copy killed before it finished leaves its temporary; a later job removes it, but not the
// temporary of a copy still running (this process holds it open), nor a file only named alike,
// nor, until a day has passed without a change, another machine's or an earlier version's,
// whose process ids say nothing here.
TEST(FileTransfer, RemovesOnlyTheTemporariesOfCopiesThatEnded) {
  const TempFolder folder;
  const std::uint32_t here = platform::ThisHostTag();
  const std::string running = platform::CopyTemporaryName(here, getpid(), 0);
  const std::string elsewhere = platform::CopyTemporaryName(here + 1, 999999999, 0);
  for (const std::string& name :
       {platform::CopyTemporaryName(here, 999999999, 7), elsewhere,
        std::string(".~tallowick-999999999-0"), running, std::string(".~tallowick-notes"),
        std::string("IMG_0001.JPG"), std::string(".~tallowick-0a1b2c3d-12-x")}) {
    ASSERT_TRUE(WriteText(folder / name, "partial"));
  }
  std::ofstream held(folder / running, std::ios::app);
  ASSERT_TRUE(held);
  const auto left = [&] {
    const Files files = ListFiles(folder.Path());
    return std::set<std::string>(files.begin(), files.end());
  };
  const std::set<std::string> others = {running, ".~tallowick-notes", "IMG_0001.JPG",
                                        ".~tallowick-0a1b2c3d-12-x"};
  platform::RemoveStaleTemporaries(folder.Path());
  std::set<std::string> expected = {elsewhere, ".~tallowick-999999999-0"};
  expected.insert(others.begin(), others.end());
  EXPECT_EQ(left(), expected);
  const platform::FileTime dayAfter =
      ListedEntries(folder.Path())[running].written + platform::kForeignTemporaryAge + 10'000'000;
  platform::RemoveStaleTemporariesAsOf(folder.Path(), dayAfter);
  EXPECT_EQ(left(), others);
}

}  // namespace
