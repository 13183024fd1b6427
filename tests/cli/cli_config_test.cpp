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
      {"[Brindlemark]\r\nFolderLayout=year-month\r\n", {}, {"2013年/2013-01/clip.mp4"}},
      {"[Brindlemark]\r\nFolderLayout=year-month\r\n",
       {"--flat", "--layout=numeric"},
       {"2013/01/02/clip.mp4"}},
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

// The hand-set keys switch on the options they name: a day from the file name, a clash renamed,
// and on the second run the same file found in place.
TEST(CliConfig, HandSetKeysSwitchOnMediaDatesClashRenamesAndIdenticalFiles) {
  testfiles::TempFolder root;
  const std::string source = root / "src/", target = root / "tar/";
  ASSERT_TRUE(testfiles::WriteText(source + "clip.mp4", "new clip"));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(source + "clip.mp4", 2013, 1, 2));
  ASSERT_TRUE(testfiles::WriteText(source + "VID_20210314_101500.mp4", "video"));
  ASSERT_TRUE(testfiles::WriteText(root / "tar/2013年/2013-01-02/clip.mp4", "another clip"));
  const std::string config = root / "Config.ini";
  const char* const kConfig =
      "[Brindlemark]\r\nReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\n";
  ASSERT_TRUE(testfiles::WriteText(config, kConfig));
  const std::vector<std::string> args = {"--error-file", root / "errors.txt", source, target};

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "first run" : "second run");
    const clitest::CliResult result = clitest::RunCaptured(args, false, 80, config);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(
        testfiles::ListFiles(target),
        (std::vector<std::string>{"2013年/2013-01-02/clip(1).mp4", "2013年/2013-01-02/clip.mp4",
                                  "2021年/2021-03-14/VID_20210314_101500.mp4"}));
    EXPECT_EQ(result.out.find("已存在相同文件: ") != std::string::npos, run == 1) << result.out;
  }
  EXPECT_EQ(testfiles::ReadAll(root / "tar/2013年/2013-01-02/clip(1).mp4"), "new clip");
  EXPECT_EQ(testfiles::ReadAll(config), kConfig);
}

}  // namespace
