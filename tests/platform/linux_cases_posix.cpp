// Linux-only behaviour: both ways of writing a copy, pipes, a move whose source cannot be
// deleted, links in listings, entries' descriptors closed in batches, and local days in a
// time zone set for the test.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/copy_ways_posix.h"
#include "platform/folder_bounds.h"
#include "platform_test_support.h"

namespace {

using platform::posix::CopyWay;
using testfiles::ReadAll;
using testfiles::TempFolder;

class CopyWays : public ::testing::TestWithParam<CopyWay> {};

TEST_P(CopyWays, CopyCompletelyAndRefuseATakenNameAtTheFinalStep) {
  TempFolder root;
  ASSERT_TRUE(testfiles::WriteText(root / "a.jpg", "photo"));
  ASSERT_TRUE(testfiles::WriteText(root / "taken.jpg", "taken"));
  ASSERT_EQ(chmod((root / "a.jpg").c_str(), 0640), 0);
  const timespec times[2] = {{1200000000, 5}, {1300000000, 987654300}};
  ASSERT_EQ(utimensat(AT_FDCWD, (root / "a.jpg").c_str(), times, 0), 0);
  ASSERT_EQ(mkfifo((root / "pipe").c_str(), 0600), 0);  // would block a plain open

  ASSERT_TRUE(platform::posix::CopyFileUsing(GetParam(), root / "a.jpg", root / "b.jpg"));
  EXPECT_FALSE(platform::posix::CopyFileUsing(GetParam(), root / "a.jpg", root / "taken.jpg"));
  EXPECT_FALSE(platform::posix::CopyFileUsing(GetParam(), root / "pipe", root / "pipe.jpg"));
  struct stat copy {};
  ASSERT_EQ(stat((root / "b.jpg").c_str(), &copy), 0);
  EXPECT_EQ(copy.st_mode & 07777, 0640u);
  EXPECT_EQ(copy.st_atim.tv_sec, 1200000000);  // the access time from before the copy read it
  auto entries = platformtest::ListedEntries(root.Path());
  EXPECT_EQ(entries["b.jpg"].written, platform::kUnixEpochAsFileTime + 13000000009876543LL);
  EXPECT_EQ(ReadAll(root / "b.jpg"), "photo");
  EXPECT_EQ(ReadAll(root / "taken.jpg"), "taken");
  EXPECT_EQ(entries.size(), 4u);  // a.jpg, b.jpg, taken.jpg and the pipe: no temporary
}

INSTANTIATE_TEST_SUITE_P(FileTransferPosix, CopyWays,
                         ::testing::Values(CopyWay::kUnnamedFile, CopyWay::kTemporaryName));

TEST(FileTransferPosix, MoveAcrossFileSystemsRemovesTheCopyWhenTheSourceStays) {
  TempFolder root;  // /proc/version: a file of the kernel's that can be read, never deleted
  EXPECT_FALSE(platform::MoveFileNoOverwrite("/proc/version", root / "version"));
  EXPECT_TRUE(testfiles::ListFiles(root.Path()).empty());
  EXPECT_TRUE(testfiles::Exists("/proc/version"));
}

TEST(FolderListingPosix, LinksCountAsWhatTheyLeadTo) {
  TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "real"));
  ASSERT_TRUE(testfiles::WriteText(root / "photo.jpg", "x"));
  for (const auto& [link, target] :
       {std::pair{"to-folder", "real"}, {"to-file", "photo.jpg"}, {"dangling", "nowhere"}}) {
    ASSERT_EQ(symlink(target, (root / link).c_str()), 0);
  }
  const timespec times[2] = {{0, UTIME_OMIT}, {1262433600, 987654300}};  // to the 100 ns tick
  ASSERT_EQ(utimensat(AT_FDCWD, (root / "dangling").c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
  auto entries = platformtest::ListedEntries(root.Path());
  EXPECT_TRUE(entries["to-folder"].folder);
  EXPECT_FALSE(entries["to-file"].folder || entries["dangling"].folder);
  EXPECT_EQ(entries["dangling"].written, platform::kUnixEpochAsFileTime + 12624336009876543LL);
  EXPECT_TRUE(entries["to-folder"].link && entries["to-file"].link && entries["dangling"].link);
  EXPECT_FALSE(entries["real"].link || entries["photo.jpg"].link);
  // Where the link really leads, without the final separator.
  const std::string real = platform::RealFolderPath(root.Path());
  EXPECT_EQ(platform::RealFolderPath(root / "to-folder/"), real + "/real");
  EXPECT_EQ(platform::RealFolderPath(root / "dangling/"), "");
}

int OpenDescriptors() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<int>(std::distance(begin(fds), end(fds)));
}

TEST(FolderListingPosix, EntriesOpenedAndClosedReleaseTheirDescriptorsInBatches) {
  TempFolder root;
  constexpr int kFiles = 150;
  for (int i = 0; i < kFiles; ++i) {
    ASSERT_TRUE(testfiles::WriteText(root / ("f" + std::to_string(i)), "x"));
  }
  const int before = OpenDescriptors();
  int most = 0;
  {
    platform::FolderListing listing(root.Path());
    for (bool more = listing.IsOpen(); more; more = listing.Next()) {
      platform::InputFile file;
      if (!listing.IsFolder()) {
        ASSERT_TRUE(listing.OpenEntry(&file)) << listing.Name();
        EXPECT_EQ(std::getc(file.Stream()), 'x');
      }
      file.Close();
      most = std::max(most, OpenDescriptors() - before);
    }
  }
  EXPECT_GT(most, 1);                    // closed ones are kept for a batch...
  EXPECT_LE(most, 65);                   // ...of at most 64, beside the listing's own
  EXPECT_EQ(OpenDescriptors(), before);  // and none outlives the listing
}

TEST(LocalDatePosix, DayBeginsAtLocalMidnightByThatDaysDaylightSaving) {
  const char* old = std::getenv("TZ");
  const std::string oldZone = old != nullptr ? old : "";
  // Eastern time: midnight is 05:00 UTC in winter and 04:00 UTC from March to November.
  setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
  tzset();
  const struct {
    int year, month, day, utcHour;
    const char *today, *yesterday;
  } midnights[] = {
      {2012, 7, 4, 4, "2012-07-04", "2012-07-03"},   {2012, 1, 4, 5, "2012-01-04", "2012-01-03"},
      {2000, 3, 1, 5, "2000-03-01", "2000-02-29"},   {2024, 1, 1, 5, "2024-01-01", "2023-12-31"},
      {1969, 12, 31, 5, "1969-12-31", "1969-12-30"},  // before 1970: rounded down, not to 0
  };
  for (const auto& m : midnights) {
    const platform::FileTime midnight = platformtest::FileTimeOfUtcNoon(m.year, m.month, m.day) -
                                        (12 - m.utcHour) * 3600LL * 10'000'000;
    EXPECT_EQ(platformtest::DayOf(midnight), m.today);
    EXPECT_EQ(platformtest::DayOf(midnight - 1), m.yesterday);
  }
  old != nullptr ? setenv("TZ", oldZone.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
