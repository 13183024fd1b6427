// Folder listings: every entry with its kind and time, and folders that cannot be listed.
// (Folder identities: the walk's loop tests; entries opened for reading: the date lookups.)
#include <string>

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

// Reads what the current entry holds; "-" when it cannot be opened.

}  // namespace
