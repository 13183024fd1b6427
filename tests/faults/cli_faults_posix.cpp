// The command-line tool under faults: a target that fills up, a kill or a Ctrl+C in the middle
// of a large copy or move. After each, nothing is lost or half-written, every failure is
// counted and listed, and a second run places exactly what the first did not.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "fault_support_posix.h"
#include "test_files.h"

namespace {

using namespace faulttest;

constexpr long kMiB = 1024 * 1024;

struct Outcome {
  int status = 0;  // the raw wait status
  std::string output;
  int files = -1, failures = -1;
};

class CliFault : public ::testing::Test {
 protected:
  CliFault() : source_(root_ / "src/"), target_(root_ / "tgt/") {
    testfiles::MakeFolders(source_);
    testfiles::MakeFolders(target_);
  }

  // Three photos, a small video and `big` bytes of a video called big.mp4.
  void Fill(std::size_t big) {
    sources_ = FillSource(source_, {{"a.jpg", 20000},
                                    {"b.jpg", 20000},
                                    {"c.jpg", 20000},
                                    {"small.mp4", 10000},
                                    {"big.mp4", big}});
  }

  Child Start(bool move, long fileSizeLimit = 0) {
    std::vector<std::string> args = {"--error-file", root_ / "errors.txt", source_, target_};
    if (move) {
      args.insert(args.begin(), "--move");
    }
    testfiles::WriteText(root_ / "errors.txt", "");
    return StartCli(args, root_ / "output.txt", fileSizeLimit);
  }
  Outcome Finish(const Child& child) {
    Outcome outcome;
    outcome.status = WaitFor(child);
    outcome.output = testfiles::ReadAll(child.outputFile);
    SummaryCounts(outcome.output, &outcome.files, &outcome.failures);
    return outcome;
  }

  // Every file that is not in the target was counted as failed and is in the failure list.
  void ExpectFailuresListed(const Outcome& outcome, const std::vector<std::string>& placed) {
    ASSERT_TRUE(WIFEXITED(outcome.status)) << outcome.output;
    EXPECT_EQ(WEXITSTATUS(outcome.status), placed.size() == sources_.size() ? 0 : 1);
    EXPECT_EQ(outcome.files, static_cast<int>(sources_.size())) << outcome.output;
    EXPECT_EQ(outcome.failures, static_cast<int>(sources_.size() - placed.size()))
        << outcome.output;
    const std::string listed = testfiles::ReadAll(root_ / "errors.txt");
    for (const auto& [name, bytes] : sources_) {
      if (std::find(placed.begin(), placed.end(), name) == placed.end()) {
        EXPECT_NE(listed.find(source_ + name + " -> "), std::string::npos)
            << name << " is not in the failure list:\n"
            << listed;
      }
    }
  }

  // Runs again without a fault: what was not placed is placed now, and each source whose
  // copy is already in the target fails as a taken destination.
  void ExpectSecondRunCompletes(bool move, const std::vector<std::string>& placedBefore) {
    int left = 0, taken = 0;
    for (const auto& [name, bytes] : sources_) {
      if (testfiles::Exists(source_ + name)) {
        ++left;
        taken += std::count(placedBefore.begin(), placedBefore.end(), name);
      }
    }
    const Outcome second = Finish(Start(move));
    ASSERT_TRUE(WIFEXITED(second.status)) << second.output;
    EXPECT_EQ(second.files, left) << second.output;
    EXPECT_EQ(second.failures, taken) << second.output;
    const std::vector<std::string> placed = CheckNothingLost(sources_, source_, target_);
    EXPECT_EQ(placed.size(), sources_.size()) << "every file is in the target now";
  }

  testfiles::TempFolder root_;
  std::string source_, target_;
  Snapshot sources_;
};

// The target fills up while big.mp4 is written: on a small file system of the test's own, or
// under a limit on the size of the files the tool may write.
struct FullCase {
  const char* name;
  bool move;
  bool ownFileSystem;  // else a file size limit
};

void PrintTo(const FullCase& test, std::ostream* out) {
  *out << test.name;
}

class TargetFillsUp : public CliFault, public ::testing::WithParamInterface<FullCase> {};

TEST_P(TargetFillsUp, TheFileThatDoesNotFitFailsAndNothingPartialRemains) {
  const FullCase& test = GetParam();
  Fill(3 * kMiB);
  std::optional<SmallFileSystem> small;
  if (test.ownFileSystem) {
    small.emplace(target_, kMiB);
    if (!small->Mounted()) {
      GTEST_SKIP() << "cannot mount a small file system for the target (" << small->Error()
                   << "); this needs CAP_SYS_ADMIN";
    }
  }
  const Outcome first = Finish(Start(test.move, test.ownFileSystem ? 0 : kMiB));
  const std::vector<std::string> placed = CheckNothingLost(sources_, source_, target_);
  ExpectFailuresListed(first, placed);
  EXPECT_EQ(placed.size(), sources_.size() - 1) << "only big.mp4 does not fit";
  EXPECT_TRUE(testfiles::Exists(source_ + "big.mp4"));

  if (small) {
    ASSERT_TRUE(small->Resize(16 * kMiB));
  }
  ExpectSecondRunCompletes(test.move, placed);
}

INSTANTIATE_TEST_SUITE_P(CliFaults, TargetFillsUp,
                         ::testing::Values(FullCase{"CopyToAFullFileSystem", false, true},
                                           FullCase{"MoveToAFullFileSystem", true, true},
                                           FullCase{"CopyPastTheFileSizeLimit", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The tool is stopped while it copies or moves big.mp4: killed outright, or asked to stop
// with Ctrl+C, which lets the file in hand finish.
struct StopCase {
  const char* name;
  bool move;  // to a file system of the test's own, so the move is a copy and a delete
  int signal;
};

void PrintTo(const StopCase& test, std::ostream* out) {
  *out << test.name;
}

class StoppedMidFile : public CliFault, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedMidFile, LeavesOnlyCompleteFilesAndASecondRunFinishes) {
  const StopCase& test = GetParam();
  std::optional<SmallFileSystem> other;
  if (test.move) {
    other.emplace(target_, 512 * kMiB);
    if (!other->Mounted()) {
      GTEST_SKIP() << "cannot mount a second file system for the target (" << other->Error()
                   << "); this needs CAP_SYS_ADMIN";
    }
  }
  Fill(160 * kMiB);
  const Child child = Start(test.move);
  ASSERT_TRUE(WaitUntilOpen(child, source_ + "big.mp4"))
      << "the tool ended before it opened big.mp4:\n"
      << testfiles::ReadAll(child.outputFile);
  kill(child.pid, test.signal);
  const Outcome first = Finish(child);
  const std::vector<std::string> placed = CheckNothingLost(sources_, source_, target_);

  if (test.signal == SIGKILL) {
    ASSERT_TRUE(WIFSIGNALED(first.status)) << first.output;
  } else {
    // Ctrl+C: the file in hand is finished, nothing after it is begun, and the summary counts
    // what was done.
    ASSERT_TRUE(WIFEXITED(first.status)) << first.output;
    EXPECT_NE(std::find(placed.begin(), placed.end(), "big.mp4"), placed.end());
    EXPECT_EQ(first.files, static_cast<int>(placed.size())) << first.output;
    EXPECT_EQ(first.failures, 0) << first.output;
  }
  ExpectSecondRunCompletes(test.move, placed);
}

INSTANTIATE_TEST_SUITE_P(CliFaults, StoppedMidFile,
                         ::testing::Values(StopCase{"KilledMidCopy", false, SIGKILL},
                                           StopCase{"KilledMidMoveAcrossFileSystems", true,
                                                    SIGKILL},
                                           StopCase{"CtrlCMidCopy", false, SIGINT},
                                           StopCase{"CtrlCMidMoveAcrossFileSystems", true, SIGINT}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
