// The real tool on a pseudo-terminal shows a progress line with the total and, once it has a
// rate, the time left; through a pipe it prints plain lines and no progress line.
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "test_files.h"

namespace {

constexpr int kFiles = 4000;

TEST(CliProgressTerminal, TerminalShowsTotalAndTimeLeftPipeShowsNone) {
  testfiles::TempFolder root;
  for (int i = 0; i < kFiles; ++i) {
    ASSERT_TRUE(testfiles::WriteText(
        root / ("src/" + std::to_string(i % 40) + "/" + std::to_string(i) + ".mp4"), "x"));
  }
  // Files the walk leaves alone are not in the total either.
  ASSERT_TRUE(testfiles::WriteText(root / "src/1/notes.txt", "x"));
  ASSERT_TRUE(testfiles::WriteText(root / "src/2/.hidden.mp4", "x"));
  ASSERT_TRUE(testfiles::MakeFolders(root / "tty") && testfiles::MakeFolders(root / "pipe"));

  int terminal = -1;
  winsize size{24, 120, 0, 0};
  const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::string src = root / "src", tty = root / "tty";
    execl(TALLOWICK_CLI_PROGRAM, TALLOWICK_CLI_PROGRAM, src.c_str(), tty.c_str(), nullptr);
    _exit(127);
  }
  // Once the count is complete, the tool is held still for a while: the time left then
  // comes from a rate measured over more than a second, whatever this machine's speed.
  const std::string counted = "/" + std::to_string(kFiles / 1000) + ",000 · ";
  std::string shown;
  bool paused = false;
  char buffer[4096];
  for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) {
    shown.append(buffer, static_cast<std::size_t>(got));
    if (!paused && shown.find(counted) != std::string::npos) {
      ASSERT_EQ(shown.find("整理文件"), std::string::npos) << "the job ended before the pause";
      kill(child, SIGSTOP);
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      kill(child, SIGCONT);
      paused = true;
    }
  }
  close(terminal);
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0) << shown;
  EXPECT_NE(shown.find(" · 剩余 0:"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("复制文件("), std::string::npos) << "no line per file";

  const std::string command =
      std::string(TALLOWICK_CLI_PROGRAM) + " '" + root / "src" + "' '" + root / "pipe" + "'";
  std::FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string piped;
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
    piped += buffer;
  }
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_NE(piped.find("复制文件(" + std::to_string(kFiles) + "): "), std::string::npos);
  EXPECT_EQ(piped.find('\r'), std::string::npos) << "no progress line";
}

}  // namespace
