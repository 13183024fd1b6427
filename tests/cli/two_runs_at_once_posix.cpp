// Two real tallowick-cli processes, with four workers each, organize two sources into one
// target at the same time: every photo lands once, none is overwritten, and clash names are
// never given twice.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "jpeg_builder.h"
#include "test_files.h"

extern char** environ;

namespace {

pid_t Start(const std::vector<std::string>& args, const std::string& output) {
  std::vector<char*> argv;
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TwoRunsAtOnce, ClashNamesAreTakenOnceAndIdenticalFilesFoundOnce) {
  constexpr int kOwn = 150;    // photos of each source, same names, other bytes
  constexpr int kShared = 30;  // photos with the same bytes in both sources
  testfiles::TempFolder root;
  ASSERT_TRUE(testfiles::MakeFolders(root / "target"));
  std::map<std::string, int> expected;  // content -> times it must be found in the target
  pid_t runs[2];
  for (const int source : {0, 1}) {
    const std::string folder = root / std::to_string(source);
    for (int i = 0; i < kOwn + kShared; ++i) {
      char name[32], taken[32];
      std::snprintf(name, sizeof name, "/IMG_%04d.JPG", i);
      // The same day for all; the hour tells the sources' own photos apart.
      std::snprintf(taken, sizeof taken, "2012:05:17 %02d:%02d:%02d", i < kOwn ? 10 + source : 12,
                    i / 60, i % 60);
      const jpegbuilder::Bytes bytes = jpegbuilder::PhotoWithDate(taken);
      ASSERT_TRUE(testfiles::WriteText(folder + name, ""));
      ASSERT_TRUE(jpegbuilder::WriteBytes(folder + name, bytes));
      expected[std::string(bytes.begin(), bytes.end())] = 1;
    }
  }
  for (const int source : {0, 1}) {
    const std::string folder = root / std::to_string(source);
    runs[source] =
        Start({TALLOWICK_CLI_PROGRAM, "--jobs", "4", "--skip-identical", "--rename-clashes",
               "--quiet", "--error-file", folder + ".err", folder, root / "target"},
              folder + ".out");
    ASSERT_GT(runs[source], 0);
  }
  for (const int source : {0, 1}) {
    EXPECT_EQ(ExitStatus(runs[source]), 0)
        << testfiles::ReadAll(root / std::to_string(source) + ".out");
  }
  std::map<std::string, int> found;
  const std::string day = root / "target/2012年/2012-05-17/";
  for (const std::string& file : testfiles::ListFiles(day)) {
    ++found[testfiles::ReadAll(day + file)];
  }
  EXPECT_EQ(found, expected);
}

}  // namespace
