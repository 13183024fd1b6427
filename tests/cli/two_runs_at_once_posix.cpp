// Two real tallowick-cli processes organize two sources into one target at the same time:
// every photo lands once, none is overwritten, and clash names are never given twice.
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
  const std::string target = root / "target/";
  ASSERT_TRUE(testfiles::MakeFolders(target));
  std::map<std::string, int> expected;  // content -> times it must be found in the target
  for (const char* source : {"one", "two"}) {
    for (int i = 0; i < kOwn + kShared; ++i) {
      char name[32];
      char taken[32];
      std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
      // The same day for all; the time tells the sources' own photos apart.
      std::snprintf(taken, sizeof taken, "2012:05:17 %02d:%02d:%02d",
                    i < kOwn ? (source[0] == 'o' ? 10 : 11) : 12, i / 60, i % 60);
      const jpegbuilder::Bytes bytes = jpegbuilder::PhotoWithDate(taken);
      const std::string path = root / (std::string(source) + "/" + name);
      ASSERT_TRUE(testfiles::WriteText(path, ""));
      ASSERT_TRUE(jpegbuilder::WriteBytes(path, bytes));
      expected[std::string(bytes.begin(), bytes.end())] = 1;
    }
  }

  pid_t runs[2];
  int index = 0;
  for (const char* source : {"one", "two"}) {
    runs[index++] =
        Start({TALLOWICK_CLI_PROGRAM, "--skip-identical", "--rename-clashes", "--quiet",
               "--error-file", root / (std::string(source) + ".err"), root / source, target},
              root / (std::string(source) + ".out"));
  }
  ASSERT_GT(runs[0], 0);
  ASSERT_GT(runs[1], 0);
  EXPECT_EQ(ExitStatus(runs[0]), 0) << testfiles::ReadAll(root / "one.out");
  EXPECT_EQ(ExitStatus(runs[1]), 0) << testfiles::ReadAll(root / "two.out");

  std::map<std::string, int> found;
  const std::string day = target + "2012年/2012-05-17/";
  const std::vector<std::string> files = testfiles::ListFiles(day);
  for (const std::string& file : files) {
    ++found[testfiles::ReadAll(day + file)];
  }
  EXPECT_EQ(files.size(), static_cast<std::size_t>(2 * kOwn + kShared));
  EXPECT_EQ(found, expected);
}

}  // namespace
