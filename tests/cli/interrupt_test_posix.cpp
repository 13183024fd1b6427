#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli/interrupt.h"
#include "organize/organize_job.h"
#include "test_files.h"

namespace {

void (*CurrentSigint())(int) {
  struct sigaction current {};
  sigaction(SIGINT, nullptr, &current);
  return current.sa_handler;
}

// Sends the process's file descriptor 2 into a file while it lives.
class RedirectedStderr {
 public:
  explicit RedirectedStderr(const std::string& path) : saved_(dup(STDERR_FILENO)) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~RedirectedStderr() {
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

TEST(Interrupt, FirstCtrlCStopsTheJobAndLeavesTheSecondToTheDefault) {
  testfiles::TempFolder folder;
  COrganizeJob job;
  job.m_bRunning = true;
  // A handler of the test's own, to see that the guard hands it back.
  struct sigaction own {};
  own.sa_handler = SIG_IGN;
  struct sigaction before {};
  ASSERT_EQ(sigaction(SIGINT, &own, &before), 0);
  {
    InterruptGuard guard(job);
    EXPECT_FALSE(guard.StopRequested());
    EXPECT_NE(CurrentSigint(), SIG_IGN);
    EXPECT_NE(CurrentSigint(), SIG_DFL);
    {
      RedirectedStderr err(folder / "stderr.txt");
      raise(SIGINT);
    }
    EXPECT_FALSE(job.m_bRunning.load());
    EXPECT_TRUE(guard.StopRequested());
    EXPECT_NE(testfiles::ReadAll(folder / "stderr.txt").find("正在停止"), std::string::npos);
    // A second Ctrl+C now meets the default action and ends the program at once.
    EXPECT_EQ(CurrentSigint(), SIG_DFL);
  }
  EXPECT_EQ(CurrentSigint(), SIG_IGN);
  sigaction(SIGINT, &before, nullptr);
}

}  // namespace
