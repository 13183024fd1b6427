// Linux-only faults met by the walk: sources that vanish or lose their read permission
// between the listing and the copy, device files and a FIFO named like photos, and a tree
// 2,000 folders deep walked on a thread of its own, as the window's worker walks it (the walk
// recurses once per level and holds one open folder per level).
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>

#include "organize_fixture.h"

namespace {

// While it lives, this thread's file accesses are checked as an unprivileged user's, so that
// permissions bind even when the tests run as root. The paths given pass to that user.
class UnprivilegedFiles {
 public:
  explicit UnprivilegedFiles(const std::vector<std::string>& paths) {
    if (geteuid() != 0) {
      return;
    }
    for (const std::string& path : paths) {
      EXPECT_EQ(chown(path.c_str(), kNobody, kNobody), 0) << path;
    }
    setfsgid(kNobody);
    setfsuid(kNobody);
    active_ = true;
  }
  ~UnprivilegedFiles() {
    if (active_) {
      setfsuid(0);
      setfsgid(0);
    }
  }
  UnprivilegedFiles(const UnprivilegedFiles&) = delete;
  UnprivilegedFiles& operator=(const UnprivilegedFiles&) = delete;

 private:
  static constexpr unsigned kNobody = 65534;
  bool active_ = false;
};

// What happens to the sources not yet handled once the first file has been placed.
enum class Loss { kVanish, kUnreadable };

class SourcesLost : public OrganizeTest, public ::testing::WithParamInterface<Loss> {};

TEST_P(SourcesLost, BetweenListingAndCopyEachFailsAndASecondRunPlacesThem) {
  Photo("src/a.jpg", "2012:05:17 10:20:30");
  Photo("src/b.jpg", "2012:05:18 10:20:30");
  File("src/c.mp4", 2013, 1, 2, "video c");
  File("src/d.mp4", 2013, 1, 2, "video d");
  const auto bytes = testfiles::ReadTree(Src());
  Files owned = {temp.Path(), Src(), Tgt()};
  for (const auto& [name, content] : bytes) {
    owned.push_back(Src() + name);
  }
  UnprivilegedFiles unprivileged(owned);

  RecordingJob job;
  std::string first;  // the file placed before the others were lost
  job.onProgress = [&] {
    if (!first.empty()) {
      return;
    }
    first = TargetFiles().at(0);
    first = first.substr(first.rfind('/') + 1);
    for (const auto& [name, content] : bytes) {
      const std::string path = Src() + name;
      if (name != first && GetParam() == Loss::kVanish) {
        ASSERT_EQ(std::remove(path.c_str()), 0) << name;
      } else if (name != first) {
        ASSERT_EQ(chmod(path.c_str(), 0), 0) << name;
        ASSERT_TRUE(testfiles::ReadAll(path).empty()) << "could not make " << name << " unreadable";
      }
    }
  };
  Run(job);
  EXPECT_EQ(job.m_nFileCount, 4);
  EXPECT_EQ(job.m_nFailCount, 3);
  for (const auto& [name, content] : bytes) {
    EXPECT_EQ(job.m_strErrors.find(Src() + name + " -> ") != std::string::npos, name != first)
        << name << " in:\n"
        << job.m_strErrors;
  }
  const Files placed = TargetFiles();
  ASSERT_EQ(placed.size(), 1u);
  EXPECT_EQ(testfiles::ReadAll(Tgt() + placed[0]), bytes.at(first));

  // The files come back: a second run places exactly them, and the first one fails as taken.
  for (const auto& [name, content] : bytes) {
    testfiles::WriteText(Src() + name, content);
    testfiles::SetLocalWriteTime(Src() + name, 2013, 1, 2);  // the videos' own day
    chmod((Src() + name).c_str(), 0644);
  }
  RecordingJob second;
  Run(second);
  EXPECT_EQ(second.m_nFailCount, 1);
  EXPECT_EQ(TargetFiles().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Walk, SourcesLost, ::testing::Values(Loss::kVanish, Loss::kUnreadable),
                         [](const auto& info) {
                           return info.param == Loss::kVanish ? "Vanish" : "Unreadable";
                         });

TEST_F(OrganizeTest, DeviceFilesAndAFifoNamedLikePhotosFailAndStay) {
  // Opening a FIFO for reading waits for a writer that never comes, unless it is opened
  // without blocking: the date lookup and the copy both must. A character device is made
  // here when the machine allows; the links lead to endless devices.
  Photo("src/z.jpg", "2012:05:17 10:20:30");
  ASSERT_EQ(mkfifo((temp / "src/pipe.jpg").c_str(), 0600), 0);
  const bool made = mknod((temp / "src/null.jpg").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  ASSERT_EQ(symlink("/dev/zero", (temp / "src/zero.jpg").c_str()), 0);
  ASSERT_EQ(symlink("/dev/urandom", (temp / "src/random.mp4").c_str()), 0);
  RecordingJob job;
  Run(job);
  EXPECT_EQ(TargetFiles(), Files{"2012年/2012-05-17/z.jpg"});
  EXPECT_EQ(job.m_nFileCount, made ? 5 : 4);
  EXPECT_EQ(job.m_nFailCount, made ? 4 : 3);
  EXPECT_EQ(SourceFiles(), Files{"z.jpg"}) << "the devices stay (and are no regular files)";
}

constexpr int kDepth = 2000;

TEST_F(OrganizeTest, TreeTwoThousandFoldersDeepIsWalkedToTheBottomOnAWorkerThread) {
  rlimit files{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
  if (files.rlim_max < kDepth + 100) {
    GTEST_SKIP() << "the walk holds one open folder per level: this needs " << kDepth + 100
                 << " open files, and the limit here is " << files.rlim_max;
  }
  const rlim_t before = files.rlim_cur;
  files.rlim_cur = std::max<rlim_t>(files.rlim_cur, kDepth + 100);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);

  std::string middle = "src/", bottom;
  for (int level = 1; level <= kDepth; ++level) {
    (level <= kDepth / 2 ? middle : bottom) += "d/";
  }
  Photo(middle + "middle.jpg", "2012:05:17 10:20:30");
  Photo(middle + bottom + "bottom.jpg", "2012:05:18 10:20:30");
  ASSERT_LT((temp / middle + bottom + "bottom.jpg").size(), 4096u);

  RecordingJob job;
  std::thread worker([&] { Run(job); });
  worker.join();
  files.rlim_cur = before;
  setrlimit(RLIMIT_NOFILE, &files);

  EXPECT_EQ(TargetFiles(), (Files{"2012年/2012-05-17/middle.jpg", "2012年/2012-05-18/bottom.jpg"}));
  EXPECT_EQ(job.m_nFileCount, 2);
  EXPECT_EQ(job.m_nFailCount, 0);
}

}  // namespace
