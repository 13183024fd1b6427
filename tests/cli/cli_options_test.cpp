#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

TEST(CliOptions, DefaultsWithTwoFolders) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"photos", "sorted"}, &options, &error)) << error;
  EXPECT_EQ(options.folders, (std::vector<std::string>{"photos", "sorted"}));
  EXPECT_FALSE(options.move);
  EXPECT_FALSE(options.flat);
  EXPECT_FALSE(options.dryRun);
  EXPECT_FALSE(options.quiet);
  EXPECT_EQ(options.filter, "jpg,avi,mov,mp4");
  EXPECT_EQ(options.errorFile, "");
}

TEST(CliOptions, EveryOptionBeforeBetweenAndAfterTheFolders) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--move", "photos", "--flat", "--filter", "png,gif", "sorted",
                               "--dry-run", "--quiet", "--error-file", "fails.txt"},
                              &options, &error))
      << error;
  EXPECT_TRUE(options.move);
  EXPECT_TRUE(options.flat);
  EXPECT_TRUE(options.dryRun);
  EXPECT_TRUE(options.quiet);
  EXPECT_EQ(options.filter, "png,gif");
  EXPECT_EQ(options.errorFile, "fails.txt");
  EXPECT_EQ(options.folders, (std::vector<std::string>{"photos", "sorted"}));
}

TEST(CliOptions, EqualsFormsKeepEverythingAfterTheFirstEquals) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(
      ParseCliOptions({"--filter=a=b,jpg", "--error-file=x=y.txt", "s", "t"}, &options, &error))
      << error;
  EXPECT_EQ(options.filter, "a=b,jpg");
  EXPECT_EQ(options.errorFile, "x=y.txt");
  // An empty filter is the user's choice (nothing passes), not a missing argument.
  ASSERT_TRUE(ParseCliOptions({"--filter=", "s", "t"}, &options, &error)) << error;
  EXPECT_EQ(options.filter, "");
  // The separate form takes the next argument even when it looks like an option.
  ASSERT_TRUE(ParseCliOptions({"--filter", "--move", "s", "t"}, &options, &error)) << error;
  EXPECT_EQ(options.filter, "--move");
  EXPECT_FALSE(options.move);
}

TEST(CliOptions, DoubleDashMakesTheRestFolders) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--quiet", "--", "--move", "-x"}, &options, &error)) << error;
  EXPECT_TRUE(options.quiet);
  EXPECT_FALSE(options.move);
  EXPECT_EQ(options.folders, (std::vector<std::string>{"--move", "-x"}));
  // A lone dash is a name, and so is an empty argument.
  ASSERT_TRUE(ParseCliOptions({"-", ""}, &options, &error)) << error;
  EXPECT_EQ(options.folders, (std::vector<std::string>{"-", ""}));
}

TEST(CliOptions, HelpAndVersionWinOverEverythingAfterThem) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"--help", "--no-such-option"}, &options, &error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(ParseCliOptions({"-h"}, &options, &error));
  EXPECT_TRUE(options.help);
  ASSERT_TRUE(ParseCliOptions({"x", "--version"}, &options, &error));
  EXPECT_TRUE(options.version);
  EXPECT_FALSE(options.help);
  // Behind "--" they are folder names.
  EXPECT_FALSE(ParseCliOptions({"--", "--help"}, &options, &error));
}

TEST(CliOptions, WrongCommandLinesSayWhatIsWrong) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"--bogus", "s", "t"}, "未知选项: --bogus"},
      {{"-m", "s", "t"}, "未知选项: -m"},
      {{"--bogus=1", "s", "t"}, "未知选项: --bogus=1"},
      {{"s", "t", "--filter"}, "选项 --filter 需要一个参数"},
      {{"s", "t", "--error-file"}, "选项 --error-file 需要一个参数"},
      {{"--move=yes", "s", "t"}, "选项 --move 不带参数"},
      {{"--dry-run=", "s", "t"}, "选项 --dry-run 不带参数"},
      {{}, "需要两个目录 (照片目录和输出目录), 实际给了 0 个"},
      {{"s"}, "需要两个目录 (照片目录和输出目录), 实际给了 1 个"},
      {{"s", "t", "u"}, "需要两个目录 (照片目录和输出目录), 实际给了 3 个"},
  };
  for (const Case& c : cases) {
    CliOptions options;
    std::string error;
    EXPECT_FALSE(ParseCliOptions(c.args, &options, &error)) << c.error;
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
