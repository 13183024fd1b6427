// Folder listings: every entry with its kind and time, folders that cannot be listed, and
// the identity that knows one folder reached by two paths.
#include <map>
#include <string>

#include "platform_test_support.h"

namespace {

using testfiles::TempFolder;

TEST(FolderListing, GivesEveryEntryWithItsKindAndTimeAndEachFolderItsIdentity) {
  TempFolder root;
  for (const char* file : {"a.jpg", "照片 2012.JPG", "~lock", "子目录/inner.mp4"}) {
    ASSERT_TRUE(testfiles::WriteText(root / file, "x"));
  }
  ASSERT_TRUE(testfiles::MakeFolders(root / ".thumbs"));
  // A day of its own for each entry, so that no entry can show another's time.
  const char* names[] = {"a.jpg", "照片 2012.JPG", "~lock", "子目录", ".thumbs"};
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(testfiles::SetLocalWriteTime(root / names[i], 2012, 5, 10 + i, 23));
  }
  std::map<std::string, std::string> seen;
  for (const auto& [name, entry] : platformtest::ListedEntries(root.Path())) {
    seen[name] = (entry.folder ? "folder " : "file ") + platformtest::DayOf(entry.written);
  }
  EXPECT_EQ(seen, (std::map<std::string, std::string>{{"a.jpg", "file 2012-05-10"},
                                                      {"照片 2012.JPG", "file 2012-05-11"},
                                                      {"~lock", "file 2012-05-12"},
                                                      {"子目录", "folder 2012-05-13"},
                                                      {".thumbs", "folder 2012-05-14"}}));
  EXPECT_EQ(platformtest::ListedEntries(root / "子目录/").count("inner.mp4"), 1u);

  auto identity = [](const std::string& folder) {
    platform::FolderId id;
    EXPECT_TRUE(platform::FolderListing(folder).Identity(&id)) << folder;
    return id;
  };
  const platform::FolderId sub = identity(root / "子目录/");
  const platform::FolderId thumbs = identity(root / ".thumbs/");
  const platform::FolderId subAgain = identity(root / ".thumbs/../子目录/");
  EXPECT_TRUE(sub < thumbs || thumbs < sub);
  EXPECT_FALSE(sub < subAgain || subAgain < sub);
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

}  // namespace
