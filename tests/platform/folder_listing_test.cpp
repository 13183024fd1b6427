// Folder listings: every entry with its kind and time, and folders that cannot be listed.
// (Entries opened for reading: the date lookups.)
#include <string>
#include <vector>

#include "platform_test_support.h"

namespace {

using testfiles::TempFolder;

TEST(FolderListing, GivesEveryEntryWithItsKindAndTime) {
  TempFolder root;
  for (const char* file : {"a.jpg", "照片 2012.JPG", "~lock", "子目录/inner.mp4"}) {
    ASSERT_TRUE(testfiles::WriteText(root / file, "x"));
  }
  ASSERT_TRUE(testfiles::MakeFolders(root / ".thumbs"));
  // A day of its own for each file, so that no entry can show another's time.
  const char* files[] = {"a.jpg", "照片 2012.JPG", "~lock"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(testfiles::SetLocalWriteTime(root / files[i], 2012, 5, 10 + i, 23));
  }
  std::string seen;
  for (const auto& [name, entry] : platformtest::ListedEntries(root.Path())) {
    seen +=
        name + (entry.folder ? " folder" : " file " + platformtest::DayOf(entry.written)) + ", ";
  }
  EXPECT_EQ(seen,
            ".thumbs folder, a.jpg file 2012-05-10, ~lock file 2012-05-12, 子目录 folder, "
            "照片 2012.JPG file 2012-05-11, ");
  EXPECT_EQ(platformtest::ListedEntries(root / "子目录/").count("inner.mp4"), 1u);
}

TEST(FolderListing, MissingFolderOrFileIsNotOpen) {
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "file.txt", "x"));
  for (const std::string& path :
       {root / "missing/", root / "file.txt" + platform::kPathSeparator}) {
    platform::FolderListing listing(path);
    platform::FolderId id;
    EXPECT_FALSE(listing.IsOpen()) << path;
    EXPECT_FALSE(listing.Next() || listing.IsFolder() || listing.Identity(&id)) << path;
  }
}

// The folders that hold a folder on disk, as the walk climbs them to keep out of its target:
// its parent first, then up to the root, or as far as asked; the same as their own identities.
TEST(FolderListing, HoldersRunFromTheParentUpToTheRoot) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "a/b"));
  platform::FolderId a, top;
  ASSERT_TRUE(platform::FolderIdentity(root / "a", &a) &&
              platform::FolderIdentity(root.Path(), &top));
  const platform::FolderListing listing(root / "a/b/");
  std::vector<platform::FolderId> holders;
  EXPECT_TRUE(listing.VisitHolders([&](const platform::FolderId& id) {
    holders.push_back(id);
    return true;
  }));
  ASSERT_GE(holders.size(), 3u);
  EXPECT_TRUE(holders[0] == a && holders[1] == top);
  EXPECT_FALSE(holders.back() == holders[holders.size() - 2]) << "the root once";
  holders.clear();
  EXPECT_TRUE(listing.VisitHolders([&](const platform::FolderId& id) {
    holders.push_back(id);
    return holders.size() < 2;
  }));
  EXPECT_EQ(holders.size(), 2u);
}

}  // namespace
