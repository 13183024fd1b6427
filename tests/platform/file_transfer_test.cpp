// Copy and move of single files, within one file system and from another: content and
// last-write time kept, no name ever replaced, nothing left behind by a refused transfer, and
// what a killed copy left behind cleared later.
#include <unistd.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

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
  bool keepsSource;
  std::string sourceParent;  // where the sources lie when not beside the destinations
};

// Copy, move, and where the machine has a second file system (the shared-memory one; drive
// Z: under Wine) a move from there.
std::vector<Transfer> Transfers() {
  std::vector<Transfer> all = {{"copy", &platform::CopyFileNoOverwrite, true, ""},
                               {"move", &platform::MoveFileNoOverwrite, false, ""}};
  const std::string shm = platform::kPathSeparator == '/' ? "/dev/shm/" : "Z:\\dev\\shm\\";
  TempFolder probe;
  platform::FolderId temp;
  platform::FolderId other;
  if (platform::FolderListing(probe.Path()).Identity(&temp) &&
      platform::FolderListing(shm).Identity(&other) && temp.device != other.device) {
    all.push_back({"move across", &platform::MoveFileNoOverwrite, false, shm});
  }
  return all;
}

// The destination folder and, for a transfer from another file system, the source folder there.
struct Folders {
  explicit Folders(const Transfer& transfer) {
    if (!transfer.sourceParent.empty()) {
      far.emplace(transfer.sourceParent);
    }
  }
  const TempFolder& From() const { return far ? *far : to; }

  TempFolder to;
  std::optional<TempFolder> far;
};

TEST(FileTransfer, KeepsContentAndLastWriteTime) {
  std::string large(5 * 1024 * 1024 + 321, '\0');  // no offset mix-up keeps these bytes
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i * 7 + i / 251);
  }
  const std::pair<std::string, std::string> files[] = {
      {"empty.mov", ""}, {"照片.JPG", "small photo"}, {"large.mp4", large}};
  for (const Transfer& transfer : Transfers()) {
    const Folders folders(transfer);
    const TempFolder& to = folders.to;
    const TempFolder& from = folders.From();
    const std::optional<TempFolder>& far = folders.far;
    ASSERT_TRUE(testfiles::MakeFolders(to / "2011年"));
    for (const auto& [name, content] : files) {
      SCOPED_TRACE(std::string(transfer.name) + " " + name);
      ASSERT_TRUE(WriteText(from / name, content));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(from / name, 2011, 3, 4, 8));
      const platform::FileTime written = ListedEntries(from.Path())[name].written;
      ASSERT_TRUE(transfer.run(from / name, to / "2011年/" + name));
      EXPECT_TRUE(ReadAll(to / "2011年/" + name) == content);
      EXPECT_EQ(ListedEntries(to / "2011年/")[name].written, written);
      EXPECT_EQ(testfiles::Exists(from / name), transfer.keepsSource);
    }
    EXPECT_EQ(ListFiles(to.Path()).size(), transfer.keepsSource ? 6u : 3u) << "nothing else";
    EXPECT_TRUE(!far || ListFiles(far->Path()).empty());
  }
}

TEST(FileTransfer, RefusesTakenNamesAndLeavesEverythingAsItWas) {
  for (const Transfer& transfer : Transfers()) {
    const Folders folders(transfer);
    const TempFolder& to = folders.to;
    const TempFolder& from = folders.From();
    const std::optional<TempFolder>& far = folders.far;
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
    if (transfer.keepsSource) {  // a folder is no file to copy
      EXPECT_FALSE(transfer.run(to / "old/folder.jpg", to / "new-folder.jpg"));
    }
    EXPECT_EQ(ReadAll(from / "new/a.jpg"), "new");
    EXPECT_EQ(ReadAll(to / "old/a.jpg"), "old");
    EXPECT_EQ(ListFiles(to.Path()), far ? Files{"old/a.jpg"} : (Files{"new/a.jpg", "old/a.jpg"}));
    EXPECT_TRUE(!far || ListFiles(far->Path()) == Files{"new/a.jpg"});
    EXPECT_FALSE(testfiles::Exists(to / "missing"));
  }
}

// A copy killed before it finished leaves its temporary; a later job removes it, but not the
// temporary of a copy still running (this process holds it open) nor a file only named alike.
TEST(FileTransfer, RemovesOnlyTheTemporariesOfCopiesWhoseProcessEnded) {
  const TempFolder folder;
  const std::string running = ".~tallowick-" + std::to_string(getpid()) + "-0";
  for (const std::string name :
       {".~tallowick-999999999-0", ".~tallowick-notes", "IMG_0001.JPG", running.c_str()}) {
    ASSERT_TRUE(WriteText(folder / name, "partial"));
  }
  std::ofstream held(folder / running, std::ios::app);
  ASSERT_TRUE(held);
  platform::RemoveStaleTemporaries(folder.Path());
  EXPECT_EQ(ListFiles(folder.Path()), (Files{running, ".~tallowick-notes", "IMG_0001.JPG"}));
}

}  // namespace
