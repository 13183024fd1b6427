#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/platform.h"
#include "platform_test_support.h"
#include "test_files.h"

namespace {

using testfiles::TempFolder;

// The listing's view of one entry of `folder`.
struct Listed {
  bool found = false;
  bool folder = false;
  platform::FileTime written = 0;
};

Listed Find(const std::string& folder, const std::string& name) {
  platform::FolderListing listing(folder);
  if (listing.IsOpen()) {
    do {
      if (listing.Name() == name) {
        return {true, listing.IsFolder(), listing.LastWriteTime()};
      }
    } while (listing.Next());
  }
  return {};
}

TEST(FolderListingPosix, LinksCountAsWhatTheyLeadTo) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "real"));
  ASSERT_TRUE(testfiles::WriteText(root / "photo.jpg", "x"));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(root / "photo.jpg", 2012, 5, 17));
  ASSERT_EQ(symlink("real", (root / "to-folder").c_str()), 0);
  ASSERT_EQ(symlink("photo.jpg", (root / "to-file").c_str()), 0);
  ASSERT_EQ(symlink("nowhere", (root / "dangling").c_str()), 0);

  const Listed toFolder = Find(root.Path(), "to-folder");
  ASSERT_TRUE(toFolder.found);
  EXPECT_TRUE(toFolder.folder);

  const Listed toFile = Find(root.Path(), "to-file");
  ASSERT_TRUE(toFile.found);
  EXPECT_FALSE(toFile.folder);
  EXPECT_EQ(toFile.written, platformtest::FileTimeOfLocal(2012, 5, 17, 12, 0, 0));

  // A broken link is no folder and gives the link's own time.
  const Listed dangling = Find(root.Path(), "dangling");
  ASSERT_TRUE(dangling.found);
  EXPECT_FALSE(dangling.folder);
  struct stat info;
  ASSERT_EQ(lstat((root / "dangling").c_str(), &info), 0);
  EXPECT_EQ(dangling.written, platform::kUnixEpochAsFileTime + info.st_mtim.tv_sec * 10'000'000 +
                                  info.st_mtim.tv_nsec / 100);
}

TEST(FolderListingPosix, FolderReachedThroughLinkHasTheSameIdentity) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "real/inner"));
  ASSERT_EQ(symlink((root / "real").c_str(), (root / "inner-link").c_str()), 0);
  platform::FolderListing direct(root / "real/");
  platform::FolderListing linked(root / "inner-link/");
  platform::FolderListing other(root / "real/inner/");
  platform::FolderId directId, linkedId, otherId;
  ASSERT_TRUE(direct.Identity(&directId));
  ASSERT_TRUE(linked.Identity(&linkedId));
  ASSERT_TRUE(other.Identity(&otherId));
  EXPECT_FALSE(directId < linkedId || linkedId < directId);
  EXPECT_TRUE(directId < otherId || otherId < directId);
}

TEST(FolderListingPosix, UnreadableFolderIsNotOpen) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "running as root, which reads every folder";
  }
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "locked/a.jpg", "x"));
  ASSERT_EQ(chmod((root / "locked").c_str(), 0), 0);
  EXPECT_FALSE(platform::FolderListing(root / "locked/").IsOpen());
  chmod((root / "locked").c_str(), 0700);
}

}  // namespace
