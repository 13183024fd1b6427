// Folders the walk cannot read: each is reported once with its reason, and the rest of the
// tree is still placed.
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "organize_fixture.h"

namespace {

// Also with several files at once: the report comes in its place among the files.
TEST_F(OrganizeTest, LockedFolderIsReportedAndTheOthersPlaced) {
  // Whatever the listing order, the second folder's report comes after the first one's file.
  for (const char* file : {"x/a.mp4", "x/locked/b.mp4", "y/c.mp4", "y/locked/d.mp4"}) {
    File("src/" + std::string(file), 2019, 3, 4, std::string(4 << 20, 'x'));  // slow to copy
  }
  ASSERT_TRUE(testfiles::MakeFolders(Folder("one")));
  // As root, permissions bind only for a file-system user id without privileges, who then
  // owns the tree.
  const bool root = geteuid() == 0;
  if (root) {
    chown(temp.Path().c_str(), 65534, 65534);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.Path())) {
      chown(entry.path().c_str(), 65534, 65534);
    }
    setfsuid(65534);
  }
  ASSERT_EQ(chmod((temp / "src/x/locked").c_str(), 0), 0);
  ASSERT_EQ(chmod((temp / "src/y/locked").c_str(), 0), 0);
  RecordingJob one;
  Run(one, Src(), Folder("one"));
  RecordingJob job;
  job.m_settings.jobs = 3;
  Run(job);
  if (root) {
    setfsuid(0);
  }
  chmod((temp / "src/x/locked").c_str(), 0755);
  chmod((temp / "src/y/locked").c_str(), 0755);
  ASSERT_EQ(one.unread.size(), 2u);
  EXPECT_EQ(one.unread[0].find("无法读取文件夹: " + Src()), 0u);
  EXPECT_TRUE(one.unread[0].ends_with("/locked/ (没有权限)")) << one.unread[0];
  EXPECT_EQ(job.unread, one.unread);
  EXPECT_EQ(job.m_nUnreadFolders, 2);
  EXPECT_EQ(job.unreadAt, one.unreadAt);
  EXPECT_EQ(job.messages.size(), one.messages.size());
  EXPECT_EQ(TargetFiles().size(), 2u);
}

TEST_F(OrganizeTest, FolderRemovedMidWalkIsReported) {
  File("src/x/a.mp4");
  File("src/y/b.mp4");
  RecordingJob job;
  std::string gone;
  job.onProgress = [&] {
    if (gone.empty()) {
      gone = job.messages[0].find("a.mp4") != std::string::npos ? "y" : "x";
      std::filesystem::remove_all(temp / ("src/" + gone));
    }
  };
  Run(job);
  EXPECT_EQ(job.unread, Files{"无法读取文件夹: " + Src() + gone + "/ (文件夹已不存在)"});
  EXPECT_EQ(job.m_nFileCount, 1);
}

TEST_F(OrganizeTest, TreeDeeperThanTheOpenFileLimitIsWalkedAsFarAsItGoes) {
  constexpr int kDepth = 80;
  std::string bottom = "src/";
  for (int level = 0; level < kDepth; ++level) {
    bottom += "d/";
  }
  File("src/top.mp4");
  File(bottom + "bottom.mp4");
  rlimit files{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
  const rlim_t before = files.rlim_cur;
  files.rlim_cur = kDepth / 2;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
  RecordingJob job;
  Run(job);
  files.rlim_cur = before;
  setrlimit(RLIMIT_NOFILE, &files);

  EXPECT_EQ(TargetFiles(), Files{"2019年/2019-03-04/top.mp4"});
  ASSERT_EQ(job.unread.size(), 1u);
  EXPECT_TRUE(job.unread[0].ends_with("/d/ (目录层次太深, 打开的文件太多)")) << job.unread[0];
}

}  // namespace
