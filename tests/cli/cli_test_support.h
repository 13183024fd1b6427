// Helpers of the command-line tests: running the tool in-process with its output captured,
// and changing the current folder for a while.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "test_files.h"

namespace clitest {

// A stream backed by a file in a temporary folder, read back as text.
class CapturedStream {
 public:
  CapturedStream() : file_(std::fopen((folder_ / "stream.txt").c_str(), "w+b"), &std::fclose) {}
  std::FILE* get() const { return file_.get(); }
  std::string Text() const {
    std::fflush(file_.get());
    return testfiles::ReadAll(folder_ / "stream.txt");
  }

 private:
  testfiles::TempFolder folder_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
};

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliResult RunCaptured(const std::vector<std::string>& args, bool terminal = false,
                             int columns = 80) {
  CapturedStream out;
  CapturedStream err;
  CliStreams streams;
  streams.out = out.get();
  streams.err = err.get();
  streams.outIsTerminal = terminal;
  streams.columns = columns;
  CliResult result;
  result.status = RunCli(args, streams);
  result.out = out.Text();
  result.err = err.Text();
  return result;
}

inline std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Makes `folder` the current folder until the object goes away.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Utf8Path(folder));
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace clitest
