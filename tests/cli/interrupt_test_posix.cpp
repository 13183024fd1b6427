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

TEST(Interrupt, FirstCtrlCStopsTheJobAndLeavesTheSecondToTheDefault) {
  testfiles::TempFolder folder;
  COrganizeJob job;
  job.m_bRunning = true;
  // A handler of the test's own, to see that the guard hands it back.
  struct sigaction own {
  }, before{};
  own.sa_handler = SIG_IGN;
  ASSERT_EQ(sigaction(SIGINT, &own, &before), 0);
  {
    InterruptGuard guard(job);
    EXPECT_FALSE(guard.StopRequested());
    EXPECT_NE(CurrentSigint(), SIG_IGN);
    // The note goes to file descriptor 2, sent into a file for the moment.
    const int saved = dup(STDERR_FILENO);
    const int file = open((folder / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    dup2(file, STDERR_FILENO);
    raise(SIGINT);
    dup2(saved, STDERR_FILENO);
    close(file);
    close(saved);
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
