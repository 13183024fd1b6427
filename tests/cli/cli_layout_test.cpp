// The folder layout and sidecars from Config.ini and the command line.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "test_files.h"

namespace {

TEST(CliLayout, LayoutAndSidecarsComeFromConfigIniOrTheOptions) {
  struct Case {
    const char* config;
    std::vector<std::string> options;
    int status;
    std::vector<std::string> placed;
  } const cases[] = {
      {"", {"--layout", "numeric"}, 0, {"2013/01/02/a.mp4"}},
      {"FolderLayout=year-month\r\nSidecars=1\r\n",
       {},
       0,
       {"2013年/2013-01/a.mp4", "2013年/2013-01/a.xmp"}},
      {"FolderLayout=year-month\r\n",
       {"--layout=year-month-day", "--flat"},
       0,
       {"2013年/01月/2013-01-02/a.mp4"}},
      {"FolderLayout=numeric\r\n", {"--flat"}, 0, {"2013-01-02/a.mp4"}},
      {"", {"--layout=Day"}, 2, {}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.config);
    testfiles::TempFolder root;
    const std::string source = root / "src/", target = root / "tar/";
    ASSERT_TRUE(testfiles::MakeFolders(target));
    for (const char* name : {"a.mp4", "a.xmp"}) {
      ASSERT_TRUE(testfiles::WriteText(source + name, name));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(source + name, 2013, 1, 2));
    }
    const std::string config = root / "Config.ini";
    ASSERT_TRUE(testfiles::WriteText(config, std::string("[Brindlemark]\r\n") + test.config));
    std::vector<std::string> args = test.options;
    args.insert(args.end(), {"--error-file", root / "errors.txt", source, target});
    const clitest::CliResult result = clitest::RunCaptured(args, false, 80, config);
    EXPECT_EQ(result.status, test.status) << result.err;
    EXPECT_EQ(testfiles::ListFiles(target), test.placed);
  }
}

}  // namespace
