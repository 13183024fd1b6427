#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli/cli_paths.h"
#include "cli_test_support.h"

namespace {

// The parse's outcome in one line: the flags that are set, the filter and failure file when
// not the defaults, then the folders; or the error.
std::string Parsed(const std::vector<std::string>& args) {
  CliOptions o;
  std::string error;
  if (!ParseCliOptions(args, &o, &error)) {
    return "error: " + error;
  }
  std::string text;
  const bool set[] = {o.move, o.flat, o.dryRun, o.quiet, o.help, o.version};
  const char* const names[] = {"move", "flat", "dry-run", "quiet", "help", "version"};
  for (std::size_t i = 0; i < std::size(set); ++i) {
    text += set[i] ? std::string(names[i]) + " " : "";
  }
  const std::pair<std::optional<bool>, const char*> switches[] = {
      {o.skipIdentical, "skip-identical"},
      {o.renameClashes, "rename-clashes"},
      {o.sidecars, "sidecars"},
      {o.mediaDates, "media-dates"},
      {o.rawFolder, "raw-folder"}};
  for (const auto& [value, name] : switches) {
    text += value ? (*value ? "" : "no-") + std::string(name) + " " : "";
  }
  text += o.filter == "jpg,avi,mov,mp4" ? "" : "filter=" + o.filter + " ";
  text += o.errorFile.empty() ? "" : "error-file=" + o.errorFile + " ";
  text += o.journal.empty() ? "" : "journal=" + o.journal + " ";
  text += o.undo.empty() ? "" : "undo=" + o.undo + " ";
  text += o.jobs ? "jobs=" + std::to_string(*o.jobs) + " " : "";
  for (const std::string& folder : o.folders) {
    text += "[" + folder + "]";
  }
  return text;
}

TEST(CliOptions, OptionsAndFoldersInAnyOrder) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"photos", "sorted"}, "[photos][sorted]"},
      {{"--move", "photos", "--flat", "--filter", "png,gif", "sorted", "--dry-run", "--quiet",
        "--error-file", "fails.txt"},
       "move flat dry-run quiet filter=png,gif error-file=fails.txt [photos][sorted]"},
      // The equals form keeps everything after the first "="; an empty filter is allowed.
      {{"--filter=a=b,jpg", "--error-file=x=y.txt", "s", "t"},
       "filter=a=b,jpg error-file=x=y.txt [s][t]"},
      {{"--filter=", "s", "t"}, "filter= [s][t]"},
      // The separate form takes the next argument even when it looks like an option.
      {{"--filter", "--move", "s", "t"}, "filter=--move [s][t]"},
      // After "--" everything is a folder; a lone dash and an empty argument are names.
      {{"--quiet", "--", "--move", "-x"}, "quiet [--move][-x]"},
      {{"-", ""}, "[-][]"},
      // --help and --version end the reading.
      {{"--help", "--no-such-option"}, "help "},
      {{"-h"}, "help "},
      {{"x", "--version", "--move"}, "version [x]"},
      {{"--bogus", "s", "t"}, "error: 未知选项: --bogus"},
      {{"-m", "s", "t"}, "error: 未知选项: -m"},
      {{"--bogus=1", "s", "t"}, "error: 未知选项: --bogus=1"},
      {{"s", "t", "--filter"}, "error: 选项 --filter 需要一个参数"},
      {{"--move=yes", "s", "t"}, "error: 选项 --move 不带参数"},
      {{}, "error: 需要两个目录 (照片目录和输出目录), 实际给了 0 个"},
      {{"s", "t", "u"}, "error: 需要两个目录 (照片目录和输出目录), 实际给了 3 个"},
      // The safe-rerun options; --undo takes a journal instead of the folders.
      {{"--skip-identical", "--rename-clashes", "s", "--sidecars", "t", "--journal", "j.txt",
        "--raw-folder"},
       "skip-identical rename-clashes sidecars raw-folder journal=j.txt [s][t]"},
      // The off forms, for what Config.ini switched on; the last form given wins.
      {{"--no-skip-identical", "--sidecars", "--no-sidecars", "--no-media-dates", "s", "t",
        "--no-rename-clashes", "--rename-clashes", "--no-raw-folder"},
       "no-skip-identical rename-clashes no-sidecars no-media-dates no-raw-folder [s][t]"},
      {{"--no-sidecars=1", "s", "t"}, "error: 选项 --no-sidecars 不带参数"},
      {{"--dry-run", "--undo=j.txt"}, "dry-run undo=j.txt "},
      {{"--undo", "j.txt", "s"}, "error: --undo 不带目录"},
      {{"--jobs", "8", "s", "t", "--jobs=0"}, "jobs=0 [s][t]"},
      {{"--jobs=64", "s", "t"}, "jobs=64 [s][t]"},
      {{"--jobs=65", "s", "t"}, "error: --jobs 应是 0 到 64 之间的整数: 65"},
      {{"--jobs", "4x", "s", "t"}, "error: --jobs 应是 0 到 64 之间的整数: 4x"},
      {{"--jobs=-1", "s", "t"}, "error: --jobs 应是 0 到 64 之间的整数: -1"},
      {{"--layout", "Day", "s", "t"},
       "error: 未知的目录样式: Day (可用: year-day, day, year-month-day, year-month, numeric)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parsed(c.first), c.second) << "case " << &c - cases;
  }
}

using testfiles::Native;

TEST(CliPaths, TypedPathsBecomeAbsoluteAndNormalised) {
  testfiles::TempFolder root;
  testfiles::CurrentFolder here(root.Path());
  const std::string base = root.Path();  // ends with the separator
  const std::pair<std::string, std::string> folders[] = {
      {"相册", Native("相册/")},
      {"相册/2019", Native("相册/2019/")},
      {"相册/2019/", Native("相册/2019/")},
      {"a/../b/./c", Native("b/c/")},
      {".", ""},
      {"a/..", ""},
      {base, ""},  // absolute: the separator is not doubled
      {base + Native("x/../y//z"), Native("y/z/")},
  };
  for (const auto& [typed, expected] : folders) {
    EXPECT_EQ(AbsoluteFolderPath(typed), base + expected) << typed;
  }
  EXPECT_EQ(AbsoluteFilePath("logs/../错误.txt"), base + "错误.txt");
  EXPECT_EQ(AbsoluteFilePath(base + "x.txt"), base + "x.txt");
  // Empty stays empty, so that the job's start check asks for a folder.
  EXPECT_EQ(AbsoluteFolderPath(""), "");
  EXPECT_EQ(AbsoluteFilePath(""), "");
}

}  // namespace
