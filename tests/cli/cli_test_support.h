// Helpers of the command-line tests: running the tool in-process with its output captured,
// and the tree most of them organize.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "jpeg_builder.h"
#include "platform/platform.h"
#include "test_files.h"

namespace clitest {

class CapturedStream {
 public:
  std::FILE* get() const { return file_.get(); }
  std::string Text() const {
    std::fflush(file_.get());
    return testfiles::ReadAll(folder_ / "stream.txt");
  }

 private:
  testfiles::TempFolder folder_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{
      std::fopen((folder_ / "stream.txt").c_str(), "w+b"), &std::fclose};
};

struct CliResult {
  int status = -1;
  std::string out, err;
};

inline CliResult RunCaptured(const std::vector<std::string>& args, bool terminal = false,
                             int columns = 80, const std::string& configFile = "") {
  CapturedStream out, err;
  CliStreams streams;
  streams.out = out.get();
  streams.err = err.get();
  streams.outIsTerminal = terminal;
  streams.columns = columns;
  streams.configFile = configFile;
  const int status = RunCli(args, streams);
  return {status, out.Text(), err.Text()};
}

inline testing::AssertionResult Has(const std::string& text, const std::string& part) {
  if (text.find(part) == std::string::npos) {
    return testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
  }
  return testing::AssertionSuccess() << "\"" << part << "\" is in:\n" << text;
}

// A photo album (相册) to organize into 整理, whose photo's name is taken there already:
//   很长很长很长很长的目录名/IMG_1.JPG   EXIF 2012-05-17, and its sidecar IMG_1.xmp
//   clip.mp4, VID_20210314_101500.mp4    last written on 2013-01-02
//   notes.txt                            last written on 2013-01-03
//   (target) 2012年/2012-05-17/IMG_1.JPG another photo
class CliTree : public ::testing::Test {
 protected:
  CliTree() {
    const std::string photo = source_ + testfiles::Native(kPhoto);
    EXPECT_TRUE(testfiles::WriteText(photo, ""));
    EXPECT_TRUE(jpegbuilder::WriteBytes(photo, jpegbuilder::PhotoWithDate("2012:05:17 10:20:30")));
    EXPECT_TRUE(testfiles::WriteText(source_ + testfiles::Native(kSidecar), "sidecar"));
    for (const auto& [name, day] : {std::pair{"clip.mp4", 2},
                                    {"VID_20210314_101500.mp4", 2},
                                    {"notes.txt", 3},
                                    {"DSC_2.NEF", 4}}) {
      EXPECT_TRUE(testfiles::WriteText(source_ + name, name));
      EXPECT_TRUE(testfiles::SetLocalWriteTime(source_ + name, 2013, 1, day));
    }
    EXPECT_TRUE(testfiles::WriteText(target_ + testfiles::Native(kTaken), "another photo"));
  }

  // `text` with '/' made the separator, and {S} the source, {s} the source as messages show it
  // (lower-cased), {t} the target, {e} the failure file, {j} the journal, {r} the folder
  // holding them all.
  std::string Expand(std::string text) const {
    std::replace(text.begin(), text.end(), '/', platform::kPathSeparator);
    const std::pair<const char*, std::string> marks[] = {
        {"{S}", source_},  {"{s}", platform::ToLower(source_)},
        {"{t}", target_},  {"{e}", errors_},
        {"{j}", journal_}, {"{r}", root_.Path()}};
    for (const auto& [mark, path] : marks) {
      for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
        text.replace(at, 3, path);
      }
    }
    return text;
  }

  static constexpr char kPhoto[] = "很长很长很长很长的目录名/IMG_1.JPG";
  static constexpr char kSidecar[] = "很长很长很长很长的目录名/IMG_1.xmp";
  static constexpr char kTaken[] = "2012年/2012-05-17/IMG_1.JPG";
  testfiles::TempFolder root_;
  const std::string source_ = root_ / "相册/", target_ = root_ / "整理/";
  const std::string errors_ = root_ / "errors.txt", journal_ = root_ / "日志.txt";
};

}  // namespace clitest
