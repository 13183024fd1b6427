// Folder listings: every entry with its kind and time, folders that cannot be listed, and
// entries opened for reading. (Folder identities: the walk's loop tests.)
#include <cstdio>
#include <map>
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
std::string ReadEntry(const platform::FolderListing& listing) {
  platform::InputFile file;
  if (!listing.OpenEntry(&file)) {
    return "-";
  }
  std::string text;
  for (int c; (c = std::getc(file.Stream())) != EOF;) {
    text.push_back(static_cast<char>(c));
  }
  return text;
}

TEST(FolderListing, OpensEachEntryItStandsOn) {
  TempFolder root;
  const std::string bigger(10000, 'b');  // more than the stream's buffer holds
  const std::map<std::string, std::string> files{{"a.jpg", "first"}, {"照片.JPG", bigger}};
  for (const auto& [name, text] : files) {
    ASSERT_TRUE(testfiles::WriteText(root / name, text));
  }

  std::map<std::string, std::string> read;
  platform::FolderListing listing(root.Path());
  for (bool more = listing.IsOpen(); more; more = listing.Next()) {
    if (!listing.IsFolder()) {
      read[listing.Name()] = ReadEntry(listing);
    }
  }
  EXPECT_EQ(read, files);
}

}  // namespace
