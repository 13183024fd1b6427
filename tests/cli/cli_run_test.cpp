// The tool end to end, in-process, on real folders.
#include <gtest/gtest.h>

#include "cli/progress_line.h"
#include "cli_test_support.h"
#include "jpeg_builder.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

using clitest::CliResult;
using clitest::RunCaptured;
using jpegbuilder::ByteOrder;
using testfiles::Native;

class CliRun : public ::testing::Test {
 protected:
  CliRun() : source_(root_ / "相册/"), target_(root_ / "整理/"), errors_(root_ / "errors.txt") {
    testfiles::MakeFolders(source_);
    testfiles::MakeFolders(target_);
  }

  void AddPhoto(const std::string& relative, const std::string& takenAt,
                ByteOrder order = ByteOrder::kLittle) {
    const std::string path = source_ + Native(relative);
    testfiles::MakeFolders(path.substr(0, path.rfind(platform::kPathSeparator)));
    ASSERT_TRUE(jpegbuilder::WriteBytes(path, jpegbuilder::PhotoWithDate(takenAt, order)));
  }
  void AddFile(const std::string& relative, int year, int month, int day) {
    const std::string path = source_ + Native(relative);
    ASSERT_TRUE(testfiles::WriteText(path, "bytes of " + relative));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(path, year, month, day));
  }

  CliResult Run(std::vector<std::string> options, bool terminal = false, int columns = 80) {
    options.push_back("--error-file");
    options.push_back(errors_);
    options.push_back(source_);
    options.push_back(target_);
    return RunCaptured(options, terminal, columns);
  }

  // The source path as the walk shows it: lower-cased.
  std::string Shown(const std::string& relative) const {
    return platform::ToLower(source_ + Native(relative));
  }

  testfiles::TempFolder root_;
  std::string source_;
  std::string target_;
  std::string errors_;
};

TEST_F(CliRun, CopiesIntoYearAndDayFoldersAndPrintsEachMessage) {
  AddPhoto("2019 旅行/IMG_0101.JPG", "2019:10:01 08:12:00", ByteOrder::kLittle);
  AddPhoto("2019 旅行/IMG_0102.JPG", "2019:10:02 09:30:15", ByteOrder::kBig);
  AddFile("clip.mp4", 2021, 3, 14);

  const CliResult result = Run({});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(
      testfiles::ListFiles(target_),
      (std::vector<std::string>{"2019年/2019-10-01/IMG_0101.JPG", "2019年/2019-10-02/IMG_0102.JPG",
                                "2021年/2021-03-14/clip.mp4"}));
  EXPECT_EQ(testfiles::ListFiles(source_).size(), 3u) << "a copy leaves the sources";

  // Every message as the job gives it, its CR LF printed as "\n".
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
  EXPECT_NE(result.out.find(": " + Shown("clip.mp4") + "\n\n复制到: " + target_ +
                            Native("2021年/2021-03-14/clip.mp4") + "\n"),
            std::string::npos)
      << result.out;
  for (const char* number : {"复制文件(1): ", "复制文件(2): ", "复制文件(3): "}) {
    EXPECT_NE(result.out.find(number), std::string::npos) << number;
  }
  // Then the summary, the target, and no failure file.
  EXPECT_NE(result.out.find("\n\n整理文件 3 个, 失败 0 个\n输出目录: " + target_ + "\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.find("失败列表"), std::string::npos);
  EXPECT_FALSE(testfiles::Exists(errors_));
  // The summary once: the job's last progress call is not printed as a file.
  EXPECT_EQ(result.out.find("整理文件"), result.out.rfind("整理文件"));
}

TEST_F(CliRun, FlatPutsDayFoldersDirectlyUnderTheTarget) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddFile("b/clip.mov", 2013, 1, 2);
  EXPECT_EQ(Run({"--flat"}).status, 0);
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2012-05-17/IMG_1.JPG", "2013-01-02/clip.mov"}));
}

TEST_F(CliRun, MoveTakesTheFilesAwayFromTheSource) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddFile("notes.txt", 2013, 1, 2);
  const CliResult result = Run({"--move"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2012年/2012-05-17/IMG_1.JPG"}));
  EXPECT_EQ(testfiles::ListFiles(source_), (std::vector<std::string>{"notes.txt"}));
  EXPECT_NE(result.out.find("移动文件(1): " + Shown("a/IMG_1.JPG") + "\n\n移动到: "),
            std::string::npos)
      << result.out;
}

TEST_F(CliRun, FilterTextDecidesWhichFilesPass) {
  AddPhoto("IMG_1.JPG", "2012:05:17 10:20:30");
  AddFile("shot.png", 2013, 1, 2);
  AddFile("clip.mov", 2013, 1, 3);

  EXPECT_EQ(Run({"--filter=png"}).status, 0);
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2013年/2013-01-02/shot.png"}));

  // The separate form; the path is lower-cased but the filter text is not, so capitals match
  // nothing.
  const CliResult upper = Run({"--filter", "JPG,MOV"});
  EXPECT_EQ(upper.status, 0);
  EXPECT_NE(upper.out.find("整理文件 0 个, 失败 0 个"), std::string::npos) << upper.out;
  EXPECT_EQ(testfiles::ListFiles(target_).size(), 1u);
}

TEST_F(CliRun, FailuresGiveStatusOneAndGoToTheErrorFile) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("b/IMG_1.JPG", "2012:05:17 11:00:00");  // same name, same day: one must fail
  AddPhoto("c/IMG_2.JPG", "2012:05:18 11:00:00");

  const CliResult result = Run({});
  EXPECT_EQ(result.status, 1);
  const std::string failure = result.out.substr(result.out.find("复制文件失败: "));
  const std::string line = failure.substr(0, failure.find('\n'));
  EXPECT_NE(line.find(Native("/img_1.jpg -> ") + target_ + Native("2012年/2012-05-17/IMG_1.JPG")),
            std::string::npos)
      << line;
  EXPECT_NE(result.out.find("整理文件 3 个, 失败 1 个\n输出目录: " + target_ +
                            "\n失败列表: " + errors_ + "\n"),
            std::string::npos)
      << result.out;
  // The file holds the failure line with CR LF, two empty lines, and the summary.
  EXPECT_EQ(testfiles::ReadAll(errors_), line + "\r\n\r\n\r\n整理文件 3 个, 失败 1 个");
}

TEST_F(CliRun, QuietPrintsOnlyFailuresAndTheSummary) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("b/IMG_1.JPG", "2012:05:17 11:00:00");
  AddPhoto("c/IMG_2.JPG", "2012:05:18 11:00:00");

  const CliResult result = Run({"--quiet"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out.find("复制文件("), std::string::npos) << result.out;
  EXPECT_EQ(result.out.rfind("复制文件失败: ", 0), 0u) << result.out;
  EXPECT_NE(result.out.find("整理文件 3 个, 失败 1 个"), std::string::npos);
  EXPECT_EQ(testfiles::ListFiles(target_).size(), 2u);

  // Nothing failed: the summary alone, with no empty line above it.
  testfiles::TempFolder other;
  const CliResult clean =
      RunCaptured({"--quiet", "--error-file", errors_, source_ + "c", other.Path()});
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, "整理文件 1 个, 失败 0 个\n输出目录: " + other.Path() + "\n");
}

TEST_F(CliRun, DryRunChangesNothingAndPrintsWhereFilesWouldGo) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("b/IMG_1.JPG", "2012:05:17 11:00:00");
  AddFile("clip.mp4", 2013, 1, 2);

  for (bool move : {false, true}) {
    const CliResult result = move ? Run({"--dry-run", "--move"}) : Run({"--dry-run"});
    EXPECT_EQ(result.status, 1) << "the predicted clash still counts as a failure";
    EXPECT_TRUE(testfiles::ListFiles(target_).empty());
    EXPECT_EQ(testfiles::ListFiles(source_).size(), 3u);
    EXPECT_FALSE(testfiles::Exists(target_ + "2012年")) << "no folder is created either";
    EXPECT_FALSE(testfiles::Exists(errors_)) << "nor the failure file";

    EXPECT_EQ(result.out.rfind("试运行: ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("到: " + target_ + Native("2013年/2013-01-02/clip.mp4") + "\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("文件失败: "), std::string::npos);
    const std::string end = "试运行结束: 磁盘上没有任何改动.\n";
    ASSERT_GE(result.out.size(), end.size());
    EXPECT_EQ(result.out.substr(result.out.size() - end.size()), end);
  }
}

TEST_F(CliRun, TerminalShowsOneProgressLineAndFailuresInFull) {
  // The clash lies in folders with long names, so the line drawn at the failure must be cut.
  AddPhoto("一个很长很长很长很长很长的目录名/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("另一个很长很长很长很长很长的目录名/IMG_1.JPG", "2012:05:17 11:00:00");
  AddPhoto("c/IMG_2.JPG", "2012:05:18 11:00:00");

  const int columns = 40;
  const CliResult result = Run({}, /*terminal=*/true, columns);
  EXPECT_EQ(result.status, 1);
  // No per-file messages, but the failure line in full and a progress line.
  EXPECT_EQ(result.out.find("复制到: "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("复制文件失败: "), std::string::npos);
  EXPECT_NE(result.out.find("\r[已处理 1, 失败 0] "), std::string::npos) << result.out;
  // After a failure the line is redrawn at once with the new count.
  EXPECT_NE(result.out.find(", 失败 1] "), std::string::npos) << result.out;
  // Every drawn line fits the terminal, one column to spare; a cut one keeps the file name,
  // and the line drawn at the failure shows the long folder's file.
  std::size_t at = 0;
  int longOnes = 0;
  while ((at = result.out.find("\r[", at)) != std::string::npos) {
    const std::size_t end = result.out.find_first_of("\r\n", at + 1);
    std::string line = result.out.substr(at + 1, end - at - 1);
    line.erase(line.find_last_not_of(' ') + 1);
    EXPECT_LT(DisplayWidth(line), columns) << line;
    if (line.find("...") != std::string::npos) {
      EXPECT_TRUE(line.ends_with("img_1.jpg") || line.ends_with("img_2.jpg")) << line;
    }
    longOnes += line.find(testfiles::Native("名/img_1.jpg")) != std::string::npos;
    at = end;
  }
  EXPECT_GE(longOnes, 1);
  // The line is gone before the summary.
  EXPECT_NE(result.out.find("\r\n整理文件 3 个, 失败 1 个\n"), std::string::npos) << result.out;
}

TEST_F(CliRun, RefusedStartsPrintTheJobsMessageAndGiveStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string missing = root_ / "不存在";
  const Case cases[] = {
      {{source_, missing}, "目录不存在:" + missing + platform::kPathSeparator},
      {{missing, target_}, "目录不存在:" + missing + platform::kPathSeparator},
      {{source_, source_ + "."}, "照片目录和输出目录不能是同一个目录."},
      {{source_, source_ + "整理"}, "照片目录和输出目录不能在是同一个目录内."},
      {{source_ + "a", source_}, "照片目录和输出目录不能在是同一个目录内."},
      {{"", target_}, "请先选择目录."},
  };
  for (const Case& c : cases) {
    const CliResult result = RunCaptured(c.args);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_EQ(result.err, c.message + "\n");
    EXPECT_EQ(result.out, "");
  }
}

TEST_F(CliRun, RelativeFoldersAreTakenFromTheCurrentFolder) {
  AddFile("clip.mp4", 2013, 1, 2);
  clitest::CurrentFolder here(root_.Path());
  const CliResult result =
      RunCaptured({"--error-file", "errors.txt", "--", "相册", Native("./相册/../整理")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("输出目录: " + target_ + "\n"), std::string::npos) << result.out;
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2013年/2013-01-02/clip.mp4"}));
}

TEST_F(CliRun, DefaultFailureFileLiesInTheProgramsFolder) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("b/IMG_1.JPG", "2012:05:17 11:00:00");
  const std::string defaultFile = platform::ProgramFolder() + "errorFile.txt";
  std::remove(defaultFile.c_str());

  const CliResult result = RunCaptured({source_, target_});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("失败列表: " + defaultFile + "\n"), std::string::npos) << result.out;
  EXPECT_NE(testfiles::ReadAll(defaultFile).find("整理文件 2 个, 失败 1 个"), std::string::npos);
  std::remove(defaultFile.c_str());
}

TEST_F(CliRun, UnwritableFailureFileIsReportedOnStderr) {
  AddPhoto("a/IMG_1.JPG", "2012:05:17 10:20:30");
  AddPhoto("b/IMG_1.JPG", "2012:05:17 11:00:00");
  const std::string unwritable = root_ / "no/such/folder/errors.txt";
  const CliResult result = RunCaptured({"--error-file", unwritable, source_, target_});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "无法写入失败列表: " + unwritable + "\n");
  EXPECT_EQ(result.out.find("失败列表: "), std::string::npos);
}

TEST(CliCommandLine, UsageErrorsHelpAndVersion) {
  const CliResult unknown = RunCaptured({"--bogus", "a", "b"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err.rfind("tallowick-cli: 未知选项: --bogus\n用法: tallowick-cli ", 0), 0u)
      << unknown.err;

  const CliResult count = RunCaptured({"only-one"});
  EXPECT_EQ(count.status, 2);
  EXPECT_NE(count.err.find("实际给了 1 个"), std::string::npos);

  const CliResult help = RunCaptured({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option :
       {"--move", "--flat", "--filter", "--dry-run", "--quiet", "--error-file", "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }

  const CliResult version = RunCaptured({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tallowick-cli " TALLOWICK_VERSION "\n");
}

}  // namespace
