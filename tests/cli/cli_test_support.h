// Helpers of the command-line tests: running the tool in-process with its output captured,
// looking for texts in it, and changing the current folder for a while.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "test_files.h"

namespace clitest {

// A stream backed by a file in a temporary folder, read back as text.
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

// Whether `part` stands in `text`; a failure shows both.
inline testing::AssertionResult Has(const std::string& text, const std::string& part) {
  if (text.find(part) == std::string::npos) {
    return testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
  }
  return testing::AssertionSuccess() << "\"" << part << "\" is in:\n" << text;
}

}  // namespace clitest
