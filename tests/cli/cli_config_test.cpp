// The tool reads the window program's Config.ini (filter and year folders), lets its options
// override it, and never writes the file.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "test_files.h"

namespace {

TEST(CliConfig, ConfigIniSetsFilterAndLayoutAndOptionsOverrideIt) {
  struct Case {
    const char* config;  // null: no Config.ini
    std::vector<std::string> options;
    std::vector<std::string> placed;
  } const cases[] = {
      {nullptr, {}, {"2013年/2013-01-02/clip.mp4"}},
      {"[Brindlemark]\r\nFileFilters=txt\r\nIsClassifyByYear=0\r\n", {}, {"2013-01-03/a.txt"}},
      {"[Brindlemark]\r\nFileFilters=txt\r\nIsClassifyByYear=0\r\n",
       {"--filter=mp4"},
       {"2013-01-02/clip.mp4"}},
      {"[brindlemark]\r\nfilefilters=MP4,TXT\r\n", {}, {}},  // paths are lower-cased first
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.config != nullptr ? test.config : "no Config.ini");
    testfiles::TempFolder root;
    const std::string source = root / "src/", target = root / "tar/";
    ASSERT_TRUE(testfiles::MakeFolders(target));
    for (const auto& [name, day] : {std::pair{"clip.mp4", 2}, std::pair{"a.txt", 3}}) {
      ASSERT_TRUE(testfiles::WriteText(source + name, name));
      ASSERT_TRUE(testfiles::SetLocalWriteTime(source + name, 2013, 1, day));
    }
    const std::string config = root / "Config.ini";
    if (test.config != nullptr) {
      ASSERT_TRUE(testfiles::WriteText(config, test.config));
    }
    std::vector<std::string> args = test.options;
    args.insert(args.end(), {"--error-file", root / "errors.txt", source, target});
    const clitest::CliResult result = clitest::RunCaptured(args, false, 80, config);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(testfiles::ListFiles(target), test.placed);
    EXPECT_EQ(testfiles::Exists(config), test.config != nullptr);
    if (test.config != nullptr) {
      EXPECT_EQ(testfiles::ReadAll(config), test.config);
    }
  }
}

}  // namespace
