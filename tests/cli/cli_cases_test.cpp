// The tool in-process on the album of CliTree: command lines (and a Config.ini beside the
// program) in; exit status, printed texts and the target's files out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_test_support.h"

namespace {

using clitest::Has;
using Files = std::vector<std::string>;

struct Command {
  Files args;  // with the marks of CliTree::Expand; "--error-file {e}" unless given
  int status;
};

struct CliCase {
  friend void PrintTo(const CliCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::vector<Command> commands;  // run in turn
  const char* config = nullptr;   // Config.ini's bytes; nullptr: no file
  Files outHas = {};              // parts of what all commands printed
  const char* outIs = nullptr;    // all that the last one printed
  const char* outLacks = nullptr;
  const char* err = "";                            // what the last one printed on stderr
  Files placed = {"2012年/2012-05-17/IMG_1.JPG"};  // sorted
  bool moves = false;                              // else the source ends as it began
};

constexpr char kCopied[] = "2013年/2013-01-02/clip.mp4";
constexpr char kVideo[] = "2013年/2013-01-02/VID_20210314_101500.mp4";
constexpr char kDays[] = "[Brindlemark]\r\nFileFilters=txt\r\nIsClassifyByYear=0\r\n";
constexpr char kMonths[] = "[Brindlemark]\r\nFileFilters=mp4\r\nFolderLayout=year-month\r\n";
constexpr char kUsage[] =
    "\n用法: tallowick-cli [选项] 照片目录 输出目录\n详细说明: tallowick-cli --help\n";

const CliCase kCases[] = {
    {.name = "flat, move and a filter",
     .commands = {{{"--flat", "--move", "--filter=mp4,txt", "{S}", "{t}"}, 0}},
     .outHas = {"移动文件(1): "},
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013-01-02/VID_20210314_101500.mp4",
                "2013-01-02/clip.mp4", "2013-01-03/notes.txt"},
     .moves = true},
    {.name = "quiet: the failure and the summary",
     .commands = {{{"--quiet", "{S}", "{t}"}, 1}},
     .outIs =
         "复制文件失败: {s}很长很长很长很长的目录名/img_1.jpg -> {t}2012年/2012-05-17/IMG_1.JPG\n"
         "\n整理文件 3 个, 失败 1 个\n输出目录: {t}\n失败列表: {e}\n",
     .placed = {"2012年/2012-05-17/IMG_1.JPG", kVideo, kCopied}},
    {.name = "quiet without a failure: the summary alone",
     .commands = {{{"--quiet", "--filter=txt", "{S}", "{t}"}, 0}},
     .outIs = "整理文件 1 个, 失败 0 个\n输出目录: {t}\n",
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013年/2013-01-03/notes.txt"}},
    {.name = "dry run",
     .commands = {{{"--dry-run", "--move", "--journal", "{j}", "{S}", "{t}"}, 1}},
     .outHas = {"试运行: ", "试运行不写日志.\n", "移动到: {t}2013年/2013-01-02/clip.mp4\n",
                "移动文件失败: ", "试运行不写失败列表.\n试运行结束: 磁盘上没有任何改动.\n"},
     .outLacks = "日期来源"},
    {.name = "dry run with media dates names each day's source",
     .commands = {{{"--dry-run", "--media-dates", "{S}", "{t}"}, 1}},
     .outHas = {"2021-03-14/VID_20210314_101500.mp4\n日期来源: name\n",
                "2013-01-02/clip.mp4\n日期来源: file date\n", "IMG_1.JPG\n日期来源: EXIF\n"}},
    {.name = "a refused start",
     .commands = {{{"{S}", "{r}不存在"}, 2}},
     .outIs = "",
     .err = "目录不存在:{r}不存在/\n"},
    {.name = "a failure file that cannot be written",
     .commands = {{{"--error-file", "{r}no/such/e.txt", "{S}", "{t}"}, 1}},
     .outLacks = "失败列表: ",
     .err = "无法写入失败列表: {r}no/such/e.txt\n",
     .placed = {"2012年/2012-05-17/IMG_1.JPG", kVideo, kCopied}},
    {.name = "an unknown option",
     .commands = {{{"--bogus", "a", "b"}, 2}},
     .outIs = "",
     .err = "tallowick-cli: 未知选项: --bogus"},
    {.name = "help",
     .commands = {{{"--help"}, 0}},
     .outHas = {"--move", "--flat", "--filter", "--dry-run", "--quiet", "--error-file", "--undo",
                "--no-media-dates, --no-skip-identical, --no-rename-clashes, --no-sidecars,\n"
                "  --no-raw-folder\n"}},
    {.name = "version",
     .commands = {{{"--version"}, 0}},
     .outIs = "tallowick-cli " TALLOWICK_VERSION "\n"},
    {.name = "Config.ini's filter and flat layout",
     .commands = {{{"{S}", "{t}"}, 0}},
     .config = kDays,
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013-01-03/notes.txt"}},
    {.name = "options over Config.ini",
     .commands = {{{"--filter=mp4", "{S}", "{t}"}, 0}},
     .config = kDays,
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013-01-02/VID_20210314_101500.mp4",
                "2013-01-02/clip.mp4"}},
    {.name = "Config.ini's folder layout",
     .commands = {{{"{S}", "{t}"}, 0}},
     .config = kMonths,
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013年/2013-01/VID_20210314_101500.mp4",
                "2013年/2013-01/clip.mp4"}},
    {.name = "--layout over --flat and Config.ini",
     .commands = {{{"--flat", "--layout=numeric", "{S}", "{t}"}, 0}},
     .config = kMonths,
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013/01/02/VID_20210314_101500.mp4",
                "2013/01/02/clip.mp4"}},
    {.name = "raw photos into RAW folders",
     .commands = {{{"--raw-folder", "--filter=nef", "{S}", "{t}"}, 0}},
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013年/2013-01-04/RAW/DSC_2.NEF"}},
    {.name = "raw photos into RAW folders by Config.ini",
     .commands = {{{"{S}", "{t}"}, 0}},
     .config = "[Brindlemark]\r\nFileFilters=nef\r\nRawFolder=1\r\n",
     .placed = {"2012年/2012-05-17/IMG_1.JPG", "2013年/2013-01-04/RAW/DSC_2.NEF"}},
    {.name = "Config.ini's hand-set keys, run twice",
     .commands = {{{"{S}", "{t}"}, 0}, {{"{S}", "{t}"}, 0}},
     .config = "[Brindlemark]\r\nReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\n",
     .outHas = {"重名, 改名为: IMG_1(1).JPG\n", "已存在相同文件: "},
     .placed = {"2012年/2012-05-17/IMG_1(1).JPG", "2012年/2012-05-17/IMG_1.JPG", kCopied,
                "2021年/2021-03-14/VID_20210314_101500.mp4"}},
    {.name = "the off forms over Config.ini's hand-set keys",
     .commands = {{{"--no-media-dates", "--no-skip-identical", "--no-rename-clashes",
                    "--no-sidecars", "{S}", "{t}"},
                   1}},
     .config = "[Brindlemark]\r\nReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\n"
               "Sidecars=1\r\n",
     .outHas = {"\n整理文件 3 个, 失败 1 个\n"},
     .placed = {"2012年/2012-05-17/IMG_1.JPG", kVideo, kCopied}},
    {.name = "moved twice with a journal, then taken back",
     .commands = {{{"--move", "--skip-identical", "--rename-clashes", "--sidecars", "--journal",
                    "{j}", "{S}", "{t}"},
                   0},
                  {{"--move", "--skip-identical", "--journal", "{j}", "{S}", "{t}"}, 0},
                  {{"--dry-run", "--undo", "{j}"}, 0},
                  {{"--undo", "{j}"}, 0},
                  {{"--undo", "{j}"}, 0}},
     .outHas = {"整理文件 4 个, 失败 0 个, 已存在相同文件 0 个\n", "重名, 改名为: IMG_1(1).JPG\n",
                "整理文件 0 个, 失败 0 个, 已存在相同文件 0 个\n",
                "将移回: ", "\n可撤销文件 4 个, 无法撤销 0 个\n试运行结束: 磁盘上没有任何改动.\n",
                "\n撤销文件 4 个, 无法撤销 0 个\n", "\n撤销文件 0 个, 无法撤销 0 个\n"}},
    {.name = "a journal that cannot be read",
     .commands = {{{"--undo", "{r}无此日志.txt"}, 2}},
     .err = "无法读取日志: {r}无此日志.txt\n"},
    {.name = "a journal that cannot be written",
     .commands = {{{"--journal", "{r}无此目录/j.txt", "{S}", "{t}"}, 2}},
     .err = "无法写入日志: {r}无此目录/j.txt\n"},
};

class CliCases : public clitest::CliTree, public ::testing::WithParamInterface<CliCase> {};

TEST_P(CliCases, StatusTextsAndTarget) {
  const CliCase& c = GetParam();
  const std::string config = root_ / "Config.ini";
  if (c.config != nullptr) {
    ASSERT_TRUE(testfiles::WriteText(config, c.config));
  }
  const auto sourceBefore = testfiles::ReadTree(source_);
  std::string out;
  bool journaled = false;
  clitest::CliResult last;
  for (const Command& command : c.commands) {
    const auto has = [&](const char* arg) {
      return std::find(command.args.begin(), command.args.end(), arg) != command.args.end();
    };
    journaled = journaled || (has("--journal") && has("{j}") && !has("--dry-run"));
    Files args;
    for (const std::string& arg : command.args) {
      args.push_back(Expand(arg));
    }
    if (std::find(args.begin(), args.end(), "--error-file") == args.end()) {
      args.insert(args.begin(), {"--error-file", errors_});
    }
    last = clitest::RunCaptured(args, false, 80, config);
    EXPECT_EQ(last.status, command.status) << last.out << last.err;
    out += last.out;
  }
  for (const std::string& part : c.outHas) {
    EXPECT_TRUE(Has(out, Expand(part)));
  }
  if (c.outIs != nullptr) {
    EXPECT_EQ(last.out, Expand(c.outIs));
  }
  if (c.outLacks != nullptr) {
    EXPECT_FALSE(Has(out, c.outLacks));
  }
  EXPECT_EQ(last.err.substr(0, last.err.find(kUsage)), Expand(c.err));
  EXPECT_EQ(testfiles::ListFiles(target_), c.placed);
  if (!c.moves) {
    EXPECT_EQ(testfiles::ReadTree(source_), sourceBefore);
  }
  // The tool only reads Config.ini; a dry run writes no journal.
  EXPECT_EQ(testfiles::Exists(config) ? testfiles::ReadAll(config) : "", c.config ? c.config : "");
  EXPECT_EQ(testfiles::Exists(journal_), journaled);
}

INSTANTIATE_TEST_SUITE_P(Cli, CliCases, ::testing::ValuesIn(kCases));

}  // namespace
