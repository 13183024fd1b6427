// Windows-only behaviour of copy and move: attributes and times kept as the system's copy keeps
// them, a read that fails half-way or a source held open without sharing leaves nothing, and
// two copies racing for one name never replace each other.
#include <windows.h>

#include <string>
#include <thread>

#include "platform_test_support.h"

namespace {

using testfiles::ListFiles;
using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;
using Files = std::vector<std::string>;

// Clears the attributes a test gave, so that the folder can be removed.
void MakeWritable(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A file handle that closes itself.
struct Handle {
  explicit Handle(HANDLE h) : h(h) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
    }
  }
  HANDLE h;
};

TEST(FileTransferWin32, KeepsAttributesAndLastWriteTimeAsTheSystemCopy) {
  const DWORD cases[] = {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN};
  for (const DWORD attributes : cases) {
    SCOPED_TRACE(attributes);
    TempFolder root;
    const std::string source = root / "a.jpg";
    ASSERT_TRUE(WriteText(source, "photo"));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(source, 2012, 5, 6, 7));
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), attributes));

    ASSERT_TRUE(CopyFileA(source.c_str(), (root / "system.jpg").c_str(), TRUE));
    ASSERT_TRUE(platform::CopyFileNoOverwrite(source, root / "ours.jpg"));
    EXPECT_EQ(GetFileAttributesA((root / "ours.jpg").c_str()),
              GetFileAttributesA((root / "system.jpg").c_str()));
    auto entries = platformtest::ListedEntries(root.Path());
    EXPECT_EQ(entries["ours.jpg"].written, entries["a.jpg"].written);
    EXPECT_EQ(ReadAll(root / "ours.jpg"), "photo");
    EXPECT_EQ(entries.size(), 3u) << "no temporary left";
    for (const char* name : {"a.jpg", "system.jpg", "ours.jpg"}) {
      MakeWritable(root / name);
    }
  }
}

TEST(FileTransferWin32, MovesAReadOnlyPhotoFromAnotherVolume) {
  // Drive Z: is the Linux root under Wine; its shared-memory folder is another file system.
  TempFolder to;
  TempFolder from("Z:\\dev\\shm\\");
  platform::FolderId toId;
  platform::FolderId fromId;
  if (!platform::FolderListing(to.Path()).Identity(&toId) ||
      !platform::FolderListing(from.Path()).Identity(&fromId) || toId.device == fromId.device) {
    GTEST_SKIP() << "skipped: no second volume at Z:\\dev\\shm";
  }
  ASSERT_TRUE(WriteText(from / "a.jpg", "photo"));
  ASSERT_TRUE(SetFileAttributesA((from / "a.jpg").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(platform::MoveFileNoOverwrite(from / "a.jpg", to / "a.jpg"));
  EXPECT_FALSE(testfiles::Exists(from / "a.jpg"));
  EXPECT_EQ(ReadAll(to / "a.jpg"), "photo");
  EXPECT_NE(GetFileAttributesA((to / "a.jpg").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(ListFiles(to.Path()), Files{"a.jpg"});
  MakeWritable(to / "a.jpg");
}

TEST(FileTransferWin32, SourceHeldByAnotherHandleLeavesNothing) {
  TempFolder root;
  const std::string source = root / "in/a.jpg";
  ASSERT_TRUE(WriteText(source, std::string(3 << 20, 'x')));
  const std::string destination = root / "out/a.jpg";
  ASSERT_TRUE(testfiles::MakeFolders(root / "out"));

  // Opened without sharing: the copy cannot even begin.
  {
    Handle held(CreateFileA(source.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr));
    ASSERT_NE(held.h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(platform::CopyFileNoOverwrite(source, destination));
    EXPECT_FALSE(platform::MoveFileNoOverwrite(source, destination));
  }
  // A source that opens but cannot be read (under Wine: the memory file of the Linux process),
  // so the copy fails after its temporary was made. Byte ranges locked by another handle would
  // make it fail half-way on Windows, but Wine does not enforce them on reads.
  const std::string unreadable = "Z:\\proc\\self\\mem";
  if (testfiles::Exists(unreadable)) {
    EXPECT_FALSE(platform::CopyFileNoOverwrite(unreadable, destination));
    EXPECT_FALSE(platform::MoveFileNoOverwrite(unreadable, destination));
  }
  EXPECT_EQ(ListFiles(root.Path()), Files{"in/a.jpg"});
  EXPECT_TRUE(platform::CopyFileNoOverwrite(source, destination)) << "free again";
}

TEST(FileTransferWin32, CopiesRacingForOneNameNeverReplaceEachOther) {
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

}  // namespace
