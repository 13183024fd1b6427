// The tool end to end, in-process, on real folders.
#include <gtest/gtest.h>

#include "cli/progress_line.h"
#include "cli_test_support.h"
#include "jpeg_builder.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

using clitest::CliResult;
using clitest::Has;
using clitest::RunCaptured;
using jpegbuilder::ByteOrder;
using testfiles::Native;

constexpr char kLong1[] = "一个很长很长很长很长很长的目录名/IMG_1.JPG";
constexpr char kLong2[] = "另一个很长很长很长很长很长的目录名/IMG_1.JPG";

// The source holds two photos of one name and day in folders with long names (one of them
// fails), a video and a text file that the default filter leaves alone.
class CliRun : public ::testing::Test {
 protected:
  CliRun() : source_(root_ / "相册/"), target_(root_ / "整理/"), errors_(root_ / "errors.txt") {
    testfiles::MakeFolders(target_);
    AddPhoto(kLong1, ByteOrder::kLittle);
    AddPhoto(kLong2, ByteOrder::kBig);
    AddFile("clip.mp4", 2);
    AddFile("notes.txt", 3);
  }

  void AddPhoto(const std::string& relative, ByteOrder order) {
    const std::string path = source_ + Native(relative);
    testfiles::MakeFolders(path.substr(0, path.rfind(platform::kPathSeparator)));
    ASSERT_TRUE(jpegbuilder::WriteBytes(path, jpegbuilder::PhotoWithDate(kTaken, order)));
  }
  void AddFile(const std::string& name, int day) {
    ASSERT_TRUE(testfiles::WriteText(source_ + name, "bytes of " + name));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(source_ + name, 2013, 1, day));
  }

  CliResult Run(std::vector<std::string> options, bool terminal = false, int columns = 80) {
    options.insert(options.end(), {"--error-file", errors_, source_, target_});
    return RunCaptured(options, terminal, columns);
  }
  // The file a failure message names, with the line break that ends it.
  std::string FailureLine(const std::string& out) const {
    const std::size_t start = out.find("复制文件失败: ");
    return start == std::string::npos ? "" : out.substr(start, out.find('\n', start) + 1 - start);
  }

  static constexpr char kTaken[] = "2012:05:17 10:20:30";
  testfiles::TempFolder root_;
  std::string source_, target_, errors_;
};

TEST_F(CliRun, CopiesPrintsEachMessageAndListsTheFailure) {
  const CliResult result = Run({});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(testfiles::ListFiles(target_), (std::vector<std::string>{
                                               "2012年/2012-05-17/IMG_1.JPG",
                                               "2013年/2013-01-02/clip.mp4",
                                           }));
  EXPECT_EQ(testfiles::ListFiles(source_).size(), 4u) << "a copy leaves the sources";

  // Every message as the job gives it, its CR LF printed as "\n"; the walk shows the source
  // lower-cased.
  EXPECT_FALSE(Has(result.out, "\r"));
  EXPECT_TRUE(Has(result.out, "): " + platform::ToLower(source_) + "clip.mp4\n\n复制到: " +
                                  target_ + Native("2013年/2013-01-02/clip.mp4") + "\n"));
  EXPECT_TRUE(Has(result.out, "\n\n复制到: " + target_ + Native("2012年/2012-05-17/IMG_1.JPG\n")));
  const std::string failure = FailureLine(result.out);
  EXPECT_TRUE(failure.ends_with(Native("/img_1.jpg -> ") + target_ +
                                Native("2012年/2012-05-17/IMG_1.JPG\n")))
      << result.out;
  // Then the summary once (the job's last progress call is not a file), the target and the
  // failure file, which holds the failure with CR LF, two empty lines and the summary.
  EXPECT_TRUE(result.out.ends_with("\n\n整理文件 3 个, 失败 1 个\n输出目录: " + target_ +
                                   "\n失败列表: " + errors_ + "\n"))
      << result.out;
  EXPECT_EQ(result.out.find("整理文件"), result.out.rfind("整理文件"));
  EXPECT_EQ(testfiles::ReadAll(errors_),
            failure.substr(0, failure.size() - 1) + "\r\n\r\n\r\n整理文件 3 个, 失败 1 个");
}

TEST_F(CliRun, FlatMoveAndFilterReachTheJob) {
  const CliResult result = Run({"--flat", "--move", "--filter=mp4,txt"});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_EQ(testfiles::ListFiles(target_),
            (std::vector<std::string>{"2013-01-02/clip.mp4", "2013-01-03/notes.txt"}));
  EXPECT_EQ(testfiles::ListFiles(source_).size(), 2u);
  EXPECT_TRUE(Has(result.out, "移动文件(1): "));
}

TEST_F(CliRun, QuietPrintsOnlyFailuresAndTheSummary) {
  const CliResult result = Run({"--quiet"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out.rfind("复制文件失败: ", 0), 0u) << result.out;
  EXPECT_FALSE(Has(result.out, "复制文件("));

  // Nothing failed: the summary alone, with no empty line above it.
  testfiles::TempFolder other;
  const CliResult clean =
      RunCaptured({"--quiet", "--filter=mp4", "--error-file", errors_, source_, other.Path()});
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.out, "整理文件 1 个, 失败 0 个\n输出目录: " + other.Path() + "\n");
}

TEST_F(CliRun, DryRunChangesNothingAndPrintsWhereFilesWouldGo) {
  const CliResult result = Run({"--dry-run", "--move"});
  EXPECT_EQ(result.status, 1) << "the predicted clash still counts as a failure";
  EXPECT_TRUE(testfiles::ListFiles(target_).empty());
  EXPECT_EQ(testfiles::ListFiles(source_).size(), 4u);
  EXPECT_FALSE(testfiles::Exists(target_ + "2012年")) << "no folder is created either";
  EXPECT_FALSE(testfiles::Exists(errors_)) << "nor the failure file";
  EXPECT_EQ(result.out.rfind("试运行: ", 0), 0u) << result.out;
  EXPECT_TRUE(Has(result.out, "移动到: " + target_ + Native("2013年/2013-01-02/clip.mp4") + "\n"));
  EXPECT_TRUE(Has(result.out, "移动文件失败: "));
  EXPECT_TRUE(result.out.ends_with("试运行不写失败列表.\n试运行结束: 磁盘上没有任何改动.\n"))
      << result.out;
}

TEST_F(CliRun, TerminalShowsOneProgressLineAndFailuresInFull) {
  const int columns = 40;
  const CliResult result = Run({}, /*terminal=*/true, columns);
  EXPECT_EQ(result.status, 1);
  // No per-file messages, but the failure in full and a progress line, drawn again at once
  // with the new count after the failure.
  EXPECT_FALSE(Has(result.out, "复制到: "));
  EXPECT_NE(FailureLine(result.out), "");
  EXPECT_TRUE(Has(result.out, "\r[1/"));
  EXPECT_TRUE(Has(result.out, " · 失败 1"));
  // Every drawn line fits the terminal, one column to spare; a cut one keeps the file name,
  // and the line drawn at the failure shows the long folder's file.
  int longOnes = 0;
  for (std::size_t at = 0; (at = result.out.find("\r[", at)) != std::string::npos;) {
    const std::size_t end = result.out.find_first_of("\r\n", at + 1);
    std::string line = result.out.substr(at + 1, end - at - 1);
    line.erase(line.find_last_not_of(' ') + 1);
    EXPECT_LT(DisplayWidth(line), columns) << line;
    if (line.find("...") != std::string::npos) {
      EXPECT_TRUE(line.ends_with("img_1.jpg") || line.ends_with("clip.mp4")) << line;
    }
    longOnes += line.find(Native("名/img_1.jpg")) != std::string::npos;
    at = end;
  }
  EXPECT_GE(longOnes, 1);
  // The line is gone before the summary.
  EXPECT_TRUE(Has(result.out, "\r\n整理文件 3 个, 失败 1 个\n"));
}

TEST_F(CliRun, FailureFileByDefaultInTheProgramsFolderUnwritableOnStderr) {
  const std::string defaultFile = platform::ProgramFolder() + "errorFile.txt";
  std::remove(defaultFile.c_str());
  const CliResult byDefault = RunCaptured({source_, target_});
  EXPECT_EQ(byDefault.status, 1);
  EXPECT_TRUE(Has(byDefault.out, "失败列表: " + defaultFile + "\n"));
  EXPECT_TRUE(Has(testfiles::ReadAll(defaultFile), "整理文件 3 个, 失败 1 个"));
  std::remove(defaultFile.c_str());

  const std::string unwritable = root_ / "no/such/folder/errors.txt";
  testfiles::TempFolder other;
  const CliResult result = RunCaptured({"--error-file", unwritable, source_, other.Path()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "无法写入失败列表: " + unwritable + "\n");
  EXPECT_FALSE(Has(result.out, "失败列表: "));
}

TEST_F(CliRun, RelativePathsAreTakenFromTheCurrentFolder) {
  testfiles::CurrentFolder here(root_.Path());
  const CliResult result =
      RunCaptured({"--error-file", "errors.txt", "--", "相册", Native("./相册/../整理")});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(Has(result.out, "整理文件 3 个, 失败 1 个\n输出目录: " + target_ +
                                  "\n失败列表: " + root_.Path() + "errors.txt\n"));
  EXPECT_TRUE(testfiles::Exists(errors_));
}

TEST_F(CliRun, RefusedStartsPrintTheJobsMessageAndGiveStatusTwo) {
  const std::string missing = root_ / "不存在";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{source_, missing}, "目录不存在:" + missing + platform::kPathSeparator},
      {{missing, target_}, "目录不存在:" + missing + platform::kPathSeparator},
      {{source_, source_ + "."}, "照片目录和输出目录不能是同一个目录."},
      {{source_, source_ + "整理"}, "照片目录和输出目录不能在是同一个目录内."},
      {{"", target_}, "请先选择目录."},
  };
  for (const auto& [args, message] : cases) {
    const CliResult result = RunCaptured(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, message + "\n");
    EXPECT_EQ(result.out, "");
  }
}

TEST(CliCommandLine, UsageErrorsHelpAndVersion) {
  const CliResult unknown = RunCaptured({"--bogus", "a", "b"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err.rfind("tallowick-cli: 未知选项: --bogus\n用法: tallowick-cli ", 0), 0u)
      << unknown.err;

  const CliResult help = RunCaptured({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option :
       {"--move", "--flat", "--filter", "--dry-run", "--quiet", "--error-file", "--version"}) {
    EXPECT_TRUE(Has(help.out, option));
  }
  const CliResult version = RunCaptured({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tallowick-cli " TALLOWICK_VERSION "\n");
}

}  // namespace
