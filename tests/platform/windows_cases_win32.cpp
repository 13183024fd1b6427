// Windows-only behaviour of copy and move: attributes kept as the system's copy keeps them, a
// source held open by a writer leaves nothing, and two copies racing for one name never
// replace each other. (A copy failing half-way: tests/e2e/transfer_faults.sh.)
#include <windows.h>

#include <memory>
#include <string>

#include "platform_test_support.h"

namespace {

using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;

TEST(FileTransferWin32, KeepsAttributesAsTheSystemCopy) {
  TempFolder root;
  const std::string source = root / "a.jpg";
  ASSERT_TRUE(WriteText(source, "photo"));
  ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(CopyFileA(source.c_str(), (root / "system.jpg").c_str(), TRUE));
  ASSERT_TRUE(platform::CopyFileNoOverwrite(source, root / "ours.jpg"));
  EXPECT_EQ(GetFileAttributesA((root / "ours.jpg").c_str()),
            GetFileAttributesA((root / "system.jpg").c_str()));
  EXPECT_EQ(platformtest::ListedEntries(root.Path()).size(), 3u) << "no temporary left";
  for (const char* name : {"a.jpg", "system.jpg", "ours.jpg"}) {  // so the folder can go
    SetFileAttributesA((root / name).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// A program still writing the source (sharing it for reading only, as a recorder may) keeps
// the copy and the move from beginning, also a move from another volume, which could
// otherwise delete the source behind the writer's back.
TEST(FileTransferWin32, SourceHeldByAWriterLeavesNothing) {
  TempFolder root;
  const TempFolder shm("Z:\\dev\\shm\\");  // another volume under Wine
  ASSERT_TRUE(testfiles::MakeFolders(root / "out"));
  for (const std::string& source : {root / "in/a.jpg", shm / "a.jpg"}) {
    ASSERT_TRUE(WriteText(source, std::string(3 << 20, 'x')));
    const std::string destination = root / "out/a.jpg";
    {
      const std::unique_ptr<void, decltype(&CloseHandle)> held(
          CreateFileA(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                      nullptr),
          &CloseHandle);
      ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
      EXPECT_FALSE(platform::CopyFileNoOverwrite(source, destination)) << source;
      EXPECT_FALSE(platform::MoveFileNoOverwrite(source, destination)) << source;
    }
    EXPECT_TRUE(testfiles::Exists(source));
    EXPECT_EQ(testfiles::ListFiles(root / "out"), std::vector<std::string>{});
  }
  EXPECT_TRUE(platform::CopyFileNoOverwrite(root / "in/a.jpg", root / "out/a.jpg")) << "free again";
}

}  // namespace
