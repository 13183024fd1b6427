#include <gtest/gtest.h>

#include <map>

#include "platform/platform.h"
#include "platform_test_support.h"
#include "test_files.h"

namespace {

using platformtest::FileTimeOfLocal;
using testfiles::Native;
using testfiles::TempFolder;

struct Entry {
  bool folder = false;
  platform::FileTime written = 0;
};

// Every entry of a listing except "." and "..", which need not appear.
std::map<std::string, Entry> ListAll(const std::string& folder) {
  std::map<std::string, Entry> entries;
  platform::FolderListing listing(folder);
  if (!listing.IsOpen()) {
    ADD_FAILURE() << "not open: " << folder;
    return entries;
  }
  do {
    if (listing.Name() == "." || listing.Name() == "..") {
      EXPECT_TRUE(listing.IsFolder()) << listing.Name();
      continue;
    }
    const bool added =
        entries.emplace(listing.Name(), Entry{listing.IsFolder(), listing.LastWriteTime()}).second;
    EXPECT_TRUE(added) << "listed twice: " << listing.Name();
  } while (listing.Next());
  EXPECT_FALSE(listing.Next()) << "a finished listing stays finished";
  return entries;
}

TEST(FolderListing, GivesEveryEntryWithItsKindAndLastWriteTime) {
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "a.jpg", "a"));
  ASSERT_TRUE(testfiles::WriteText(root / "照片 2012.JPG", "b"));
  ASSERT_TRUE(testfiles::WriteText(root / "~lock", ""));
  ASSERT_TRUE(testfiles::WriteText(root / "子目录/inner.mp4", "c"));
  ASSERT_TRUE(testfiles::MakeFolders(root / ".thumbs"));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(root / "a.jpg", 2012, 5, 17, 9));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(root / "子目录", 2010, 1, 2, 23));

  const std::map<std::string, Entry> entries = ListAll(root.Path());
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_FALSE(entries.at("a.jpg").folder);
  EXPECT_FALSE(entries.at("照片 2012.JPG").folder);
  EXPECT_FALSE(entries.at("~lock").folder);
  EXPECT_TRUE(entries.at("子目录").folder);
  EXPECT_TRUE(entries.at(".thumbs").folder);
  EXPECT_EQ(entries.at("a.jpg").written, FileTimeOfLocal(2012, 5, 17, 9, 0, 0));
  EXPECT_EQ(entries.at("子目录").written, FileTimeOfLocal(2010, 1, 2, 23, 0, 0));

  // A subfolder reached by a path with a Chinese name lists too.
  const std::map<std::string, Entry> inner = ListAll(root / "子目录/");
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(inner.begin()->first, "inner.mp4");
}

TEST(FolderListing, MissingFolderOrFileIsNotOpen) {
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "file.txt", "x"));
  for (const std::string& path : {root / "missing/", root / "missing/deeper/",
                                  root / "file.txt" + platform::kPathSeparator}) {
    platform::FolderListing listing(path);
    EXPECT_FALSE(listing.IsOpen()) << path;
    EXPECT_FALSE(listing.Next()) << path;
    EXPECT_FALSE(listing.IsFolder()) << path;
    platform::FolderId id;
    EXPECT_FALSE(listing.Identity(&id)) << path;
  }
}

TEST(FolderListing, IdentityTellsFoldersApartAndKnowsOneFolderByTwoPaths) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "a/sub"));
  ASSERT_TRUE(testfiles::MakeFolders(root / "b"));
  auto identity = [](const std::string& folder) {
    platform::FolderListing listing(folder);
    platform::FolderId id;
    EXPECT_TRUE(listing.Identity(&id)) << folder;
    return id;
  };
  const platform::FolderId a = identity(root / "a/");
  const platform::FolderId b = identity(root / "b/");
  const platform::FolderId aAgain = identity(root / "a/sub/../");
  EXPECT_TRUE(a < b || b < a);
  EXPECT_FALSE(a < aAgain || aAgain < a);
}

}  // namespace
