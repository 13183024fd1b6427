// The tool in-process on the album of CliTree: what it prints for each file, on a terminal,
// where the failure file goes, and paths typed relative to the current folder.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/progress_line.h"
#include "cli_test_support.h"

namespace {

using clitest::Has;
using clitest::RunCaptured;

class CliRun : public clitest::CliTree {
 protected:
  std::string Failure() const {
    return Expand(
        "复制文件失败: {s}很长很长很长很长的目录名/img_1.jpg -> {t}2012年/2012-05-17/IMG_1.JPG");
  }
};

TEST_F(CliRun, PrintsEachMessageAndWritesTheFailureFile) {
  const clitest::CliResult result = RunCaptured({"--error-file", errors_, source_, target_});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  // Every message as the job gives it, its CR LF printed as "\n"; then the summary once, the
  // target and the failure file, which holds the failure with CR LF and the summary.
  EXPECT_FALSE(Has(result.out, "\r"));
  EXPECT_TRUE(Has(result.out, Expand("): {s}clip.mp4\n\n复制到: {t}2013年/2013-01-02/clip.mp4\n")));
  EXPECT_TRUE(Has(result.out, Failure() + "\n"));
  EXPECT_TRUE(
      result.out.ends_with(Expand("\n\n整理文件 3 个, 失败 1 个\n输出目录: {t}\n失败列表: {e}\n")))
      << result.out;
  EXPECT_EQ(result.out.find("整理文件"), result.out.rfind("整理文件"));
  EXPECT_EQ(testfiles::ReadAll(errors_),
            "\xEF\xBB\xBF" + Failure() + "\r\n\r\n\r\n整理文件 3 个, 失败 1 个");
}

TEST_F(CliRun, TerminalShowsOneProgressLineAndFailuresInFull) {
  const int columns = 40;
  const clitest::CliResult result =
      RunCaptured({"--error-file", errors_, source_, target_}, /*terminal=*/true, columns);
  EXPECT_EQ(result.status, 1);
  // No per-file messages, but the failure in full and a progress line, drawn again at once
  // with the new count after the failure.
  EXPECT_FALSE(Has(result.out, "复制到: "));
  EXPECT_TRUE(Has(result.out, Failure() + "\n\r["));
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
      EXPECT_TRUE(line.ends_with(".jpg") || line.ends_with(".mp4")) << line;
    }
    longOnes += line.ends_with(Expand("名/img_1.jpg"));
    at = end;
  }
  EXPECT_GE(longOnes, 1);
  // The line is gone before the summary.
  EXPECT_TRUE(Has(result.out, "\r\n整理文件 3 个, 失败 1 个\n"));
}

TEST_F(CliRun, FailureFileByDefaultInTheProgramsFolder) {
  const std::string defaultFile = platform::ProgramFolder() + "errorFile.txt";
  std::remove(defaultFile.c_str());
  const clitest::CliResult result = RunCaptured({source_, target_});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(Has(result.out, "失败列表: " + defaultFile + "\n"));
  EXPECT_TRUE(Has(testfiles::ReadAll(defaultFile), "整理文件 3 个, 失败 1 个"));
  std::remove(defaultFile.c_str());
}

TEST_F(CliRun, RelativePathsAreTakenFromTheCurrentFolder) {
  testfiles::CurrentFolder here(root_.Path());
  const clitest::CliResult result = RunCaptured(
      {"--error-file", "errors.txt", "--", "相册", testfiles::Native("./相册/../整理")});
  EXPECT_EQ(result.status, 1) << result.err;
  EXPECT_TRUE(result.out.ends_with(Expand("输出目录: {t}\n失败列表: {e}\n"))) << result.out;
  EXPECT_TRUE(testfiles::Exists(errors_));
}

}  // namespace
