#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/copy_ways_posix.h"
#include "platform/platform.h"
#include "platform_test_support.h"
#include "test_files.h"

namespace {

using platform::posix::CopyWay;
using testfiles::Exists;
using testfiles::ListFiles;
using testfiles::ReadAll;
using testfiles::TempFolder;
using testfiles::WriteText;

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info;
}

class CopyWays : public ::testing::TestWithParam<CopyWay> {};

TEST_P(CopyWays, EachWayCopiesCompletelyAndNeverOverwrites) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "a.jpg", std::string(200000, 'a')));
  ASSERT_TRUE(WriteText(root / "taken.jpg", "taken"));
  ASSERT_EQ(chmod((root / "a.jpg").c_str(), 0640), 0);
  const timespec times[2] = {{1000000000, 123456700}, {1300000000, 987654300}};
  ASSERT_EQ(utimensat(AT_FDCWD, (root / "a.jpg").c_str(), times, 0), 0);

  ASSERT_TRUE(platform::posix::CopyFileUsing(GetParam(), root / "a.jpg", root / "b.jpg"));
  const struct stat copy = StatOf(root / "b.jpg");  // before reading moves its access time
  EXPECT_EQ(ReadAll(root / "b.jpg"), std::string(200000, 'a'));
  EXPECT_EQ(copy.st_mode & 07777, 0640u);
  EXPECT_EQ(copy.st_atim.tv_sec, times[0].tv_sec);
  EXPECT_EQ(copy.st_atim.tv_nsec, times[0].tv_nsec);
  EXPECT_EQ(copy.st_mtim.tv_sec, times[1].tv_sec);
  EXPECT_EQ(copy.st_mtim.tv_nsec, times[1].tv_nsec);

  EXPECT_FALSE(platform::posix::CopyFileUsing(GetParam(), root / "a.jpg", root / "taken.jpg"));
  EXPECT_EQ(ReadAll(root / "taken.jpg"), "taken");
  EXPECT_EQ(ListFiles(root.Path()), (std::vector<std::string>{"a.jpg", "b.jpg", "taken.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(FileTransferPosix, CopyWays,
                         ::testing::Values(CopyWay::kUnnamedFile, CopyWay::kTemporaryName));

TEST(FileTransferPosix, CopyKeepsPermissionBitsAndRefusesSpecialFiles) {
  TempFolder root;
  ASSERT_TRUE(WriteText(root / "run.sh", "#!/bin/sh\n"));
  ASSERT_EQ(chmod((root / "run.sh").c_str(), 0751), 0);
  ASSERT_TRUE(platform::CopyFileNoOverwrite(root / "run.sh", root / "copy.sh"));
  EXPECT_EQ(StatOf(root / "copy.sh").st_mode & 07777, 0751u);

  // A pipe with no writer would block a plain open for reading.
  ASSERT_EQ(mkfifo((root / "pipe").c_str(), 0600), 0);
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "pipe", root / "pipe.copy"));
  EXPECT_FALSE(Exists(root / "pipe.copy"));

  // A link is copied as the file it leads to.
  ASSERT_EQ(symlink("run.sh", (root / "link").c_str()), 0);
  ASSERT_TRUE(platform::CopyFileNoOverwrite(root / "link", root / "from-link"));
  EXPECT_FALSE(S_ISLNK(StatOf(root / "from-link").st_mode));
  EXPECT_EQ(ReadAll(root / "from-link"), "#!/bin/sh\n");
  // A dangling link holds its name: not replaced.
  ASSERT_EQ(symlink("nowhere", (root / "dangling").c_str()), 0);
  EXPECT_FALSE(platform::CopyFileNoOverwrite(root / "run.sh", root / "dangling"));
  EXPECT_FALSE(Exists(root / "nowhere"));
}

// Makes a file impossible to delete while it lives: immutable where the file system allows
// it (even root cannot delete it then), else by a read-only folder (enough for other users).
class Undeletable {
 public:
  explicit Undeletable(const std::string& file) : file_(file), folder_(file) {
    folder_.resize(folder_.rfind('/'));
    int fd = open(file.c_str(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      immutable_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0) {
      close(fd);
    }
    readOnlyFolder_ = !immutable_ && geteuid() != 0 && chmod(folder_.c_str(), 0555) == 0;
  }
  ~Undeletable() {
    if (immutable_) {
      int fd = open(file_.c_str(), O_RDONLY);
      int flags = 0;
      if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
      }
      if (fd >= 0) {
        close(fd);
      }
    }
    if (readOnlyFolder_) {
      chmod(folder_.c_str(), 0755);
    }
  }
  bool Works() const { return immutable_ || readOnlyFolder_; }

 private:
  std::string file_;
  std::string folder_;
  bool immutable_ = false;
  bool readOnlyFolder_ = false;
};

TEST(FileTransferPosix, MoveAcrossFileSystemsKeepsSourceWhenItCannotBeDeleted) {
  const std::string other = platformtest::OtherFileSystemFolder();
  if (other.empty()) {
    GTEST_SKIP() << "no second file system beside the temporary folder";
  }
  TempFolder near;
  TempFolder far(other);
  ASSERT_TRUE(WriteText(far / "stuck.jpg", "stuck"));
  Undeletable guard(far / "stuck.jpg");
  if (!guard.Works()) {
    GTEST_SKIP() << "cannot make a file undeletable here";
  }
  EXPECT_FALSE(platform::MoveFileNoOverwrite(far / "stuck.jpg", near / "stuck.jpg"));
  EXPECT_EQ(ReadAll(far / "stuck.jpg"), "stuck");
  EXPECT_FALSE(Exists(near / "stuck.jpg"));
  EXPECT_TRUE(ListFiles(near.Path()).empty());
}

}  // namespace
