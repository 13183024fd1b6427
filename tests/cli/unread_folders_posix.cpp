// A tree that goes on past the longest path the system takes: the tool places what it can
// reach, names the first folder it cannot on the error stream, counts it and exits with 1.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "cli_test_support.h"

namespace {

TEST(CliUnreadFolders, TreePastThePathLimitIsPlacedAsFarAsItReaches) {
  testfiles::TempFolder root;
  const std::string source = root / "src/", target = root / "out/";
  ASSERT_TRUE(testfiles::MakeFolders(source) && testfiles::MakeFolders(target));
  // Folders of 200-byte names, one below the other, made relative to each other since their
  // full paths soon pass the limit; a video at the first level and at the last.
  const std::string name(200, 'n');
  constexpr int kLevels = PATH_MAX / 200 + 2;
  int folder = open(source.c_str(), O_DIRECTORY | O_CLOEXEC);
  for (int level = 1; level <= kLevels; ++level) {
    ASSERT_EQ(mkdirat(folder, name.c_str(), 0755), 0);
    const int below = openat(folder, name.c_str(), O_DIRECTORY | O_CLOEXEC);
    close(folder);
    folder = below;
    if (level == 1 || level == kLevels) {
      ASSERT_EQ(close(openat(folder, "v.mp4", O_CREAT | O_WRONLY | O_CLOEXEC, 0644)), 0);
    }
  }
  close(folder);

  const clitest::CliResult result = clitest::RunCaptured({"--quiet", source, target});
  // Paths this long are beyond the temporary folder's own removal.
  std::system(("rm -rf '" + source + "'").c_str());

  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("无法读取文件夹: " + source + name + "/" + name + "/", 0), 0u)
      << result.err;
  EXPECT_TRUE(result.err.ends_with("/ (路径太长)\n")) << result.err;
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line only";
  EXPECT_TRUE(clitest::Has(result.out, "整理文件 1 个, 失败 0 个\n未能读取的文件夹 1 个\n"));
  EXPECT_EQ(testfiles::ListFiles(target).size(), 1u);
}

}  // namespace
