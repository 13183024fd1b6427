// A tree 2,000 folders deep, walked on a thread of its own as the window's worker walks it:
// the walk recurses once per level, and holds one open folder per level.
#include <sys/resource.h>

#include <algorithm>
#include <string>
#include <thread>

#include "organize_fixture.h"

namespace {

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
