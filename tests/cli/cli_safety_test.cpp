// The safe-rerun options through the tool: two runs with a journal, then undo, with the exit
// statuses and texts a user sees.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "jpeg_builder.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

using clitest::CliResult;
using clitest::Has;
using clitest::RunCaptured;
using testfiles::Native;

class CliSafety : public ::testing::Test {
 protected:
  CliSafety() : source_(root_ / "相册/"), target_(root_ / "整理/"), journal_(root_ / "日志.txt") {
    testfiles::MakeFolders(target_);
    Photo("a/IMG_1.JPG", jpegbuilder::ByteOrder::kLittle);
    Photo("b/IMG_1.JPG", jpegbuilder::ByteOrder::kBig);  // same name and day, other bytes
    testfiles::WriteText(source_ + Native("a/IMG_1.xmp"), "sidecar");
    testfiles::WriteText(source_ + "clip.mp4", "video");
    testfiles::WriteText(source_ + "notes.txt", "text");
    testfiles::WriteText(target_ + "before.txt", "was there");
  }

  void Photo(const std::string& relative, jpegbuilder::ByteOrder order) {
    testfiles::WriteText(source_ + Native(relative), "");
    ASSERT_TRUE(jpegbuilder::WriteBytes(source_ + Native(relative),
                                        jpegbuilder::PhotoWithDate("2012:05:17 10:20:30", order)));
  }
  CliResult Organize(std::vector<std::string> options) {
    options.insert(options.end(), {"--error-file", root_ / "errors.txt", source_, target_});
    return RunCaptured(options);
  }

  testfiles::TempFolder root_;
  std::string source_, target_, journal_;
};

TEST_F(CliSafety, TwoRunsThenUndoGiveBackTheTreesOfBefore) {
  const auto sourceBefore = testfiles::ReadTree(source_);
  const auto targetBefore = testfiles::ReadTree(target_);
  const std::vector<std::string> options{"--move",     "--skip-identical", "--rename-clashes",
                                         "--sidecars", "--journal",        journal_};

  const CliResult first = Organize(options);
  EXPECT_EQ(first.status, 0) << first.out << first.err;
  EXPECT_TRUE(Has(first.out, "整理文件 4 个, 失败 0 个, 已存在相同文件 0 个\n"));
  EXPECT_TRUE(Has(first.out, "重名, 改名为: IMG_1(1).JPG\n"));
  // The source now holds only the file the filter left; a second run finds nothing to do.
  EXPECT_EQ(testfiles::ListFiles(source_), std::vector<std::string>{"notes.txt"});
  const CliResult second = Organize(options);
  EXPECT_EQ(second.status, 0);
  EXPECT_TRUE(Has(second.out, "整理文件 0 个, 失败 0 个, 已存在相同文件 0 个\n"));

  const auto placed = testfiles::ReadTree(target_);
  const CliResult dry = RunCaptured({"--undo", journal_, "--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.out;
  EXPECT_TRUE(Has(dry.out, "将移回: "));
  EXPECT_TRUE(
      dry.out.ends_with("\n可撤销文件 4 个, 无法撤销 0 个\n试运行结束: 磁盘上没有任何改动.\n"))
      << dry.out;
  EXPECT_EQ(testfiles::ReadTree(target_), placed);

  const CliResult undo = RunCaptured({"--undo", journal_});
  EXPECT_EQ(undo.status, 0) << undo.out;
  EXPECT_TRUE(undo.out.ends_with("\n撤销文件 4 个, 无法撤销 0 个\n")) << undo.out;
  EXPECT_EQ(testfiles::ReadTree(source_), sourceBefore);
  EXPECT_EQ(testfiles::ReadTree(target_), targetBefore);
  EXPECT_FALSE(testfiles::Exists(target_ + "2012年"));

  // Taking it back twice finds nothing where the journal says: nothing forced, status 1.
  const CliResult again = RunCaptured({"--undo", journal_});
  EXPECT_EQ(again.status, 1);
  EXPECT_TRUE(Has(again.out, "无法撤销, 文件已不在: "));
  EXPECT_EQ(testfiles::ReadTree(source_), sourceBefore);
}

TEST_F(CliSafety, JournalAndUndoErrors) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"--undo", root_ / "无此日志.txt"}, 2, "无法读取日志: " + root_ / "无此日志.txt" + "\n"},
      {{"--undo", journal_, source_}, 2, "tallowick-cli: --undo 不带目录\n"},
      {{"--journal", root_ / Native("无此目录/j.txt"), source_, target_},
       2,
       "无法写入日志: " + root_ / Native("无此目录/j.txt") + "\n"},
  };
  for (const auto& c : cases) {
    const CliResult result = RunCaptured(c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0];
    EXPECT_TRUE(result.err.starts_with(c.err)) << result.err;
  }
  EXPECT_TRUE(testfiles::ListFiles(target_) == std::vector<std::string>{"before.txt"});
}

TEST_F(CliSafety, DryRunWritesNoJournal) {
  const CliResult result = Organize({"--dry-run", "--journal", journal_});
  EXPECT_EQ(result.status, 1) << "the second IMG_1.JPG still clashes";
  EXPECT_TRUE(Has(result.out, "试运行不写日志.\n"));
  EXPECT_FALSE(testfiles::Exists(journal_));
}

}  // namespace
