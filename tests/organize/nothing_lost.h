// The promise every hostile tree must keep: after the job each source file is either in the
// target, complete, or still where it was, unchanged; the job counted each failure; and
// nothing outside the target changed.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "organize/organize_job.h"
#include "test_files.h"

namespace organizetest {

class NothingLost {
 public:
  // Remembers every file below `source` and every entry of `around` (a folder holding both
  // source and target) outside `target`.
  NothingLost(const std::string& source, const std::string& target, const std::string& around)
      : source_(source),
        target_(target),
        around_(around),
        outside_(Outside()),
        files_(testfiles::ReadTree(source)) {}

  // Checks the promise after `job` ran; `ignored` names the files the walk passes over, and
  // `placedBefore` counts sources whose copies an earlier run placed (each fails again).
  // Returns the names (without folders) placed in the target.
  std::vector<std::string> Check(const COrganizeJob& job, bool move,
                                 const std::vector<std::string>& ignored = {},
                                 int placedBefore = 0) const {
    std::map<std::string, std::string> placed;  // name -> path in the target
    for (const std::string& file : testfiles::ListFiles(target_)) {
      placed[file.substr(file.rfind('/') + 1)] = file;
    }
    int failed = placedBefore;
    std::vector<std::string> names;
    for (const auto& [file, bytes] : files_) {
      const std::string name = file.substr(file.rfind('/') + 1);
      const bool kept = testfiles::Exists(source_ + testfiles::Native(file));
      const auto copy = placed.find(name);
      if (copy != placed.end()) {
        names.push_back(name);
        EXPECT_TRUE(testfiles::ReadAll(target_ + testfiles::Native(copy->second)) == bytes)
            << copy->second << " is no complete copy of " << file;
        EXPECT_EQ(kept, !move) << file;
      } else {
        EXPECT_TRUE(kept) << file << " is lost";
        failed += std::count(ignored.begin(), ignored.end(), name) == 0;
      }
      if (kept) {
        EXPECT_TRUE(testfiles::ReadAll(source_ + testfiles::Native(file)) == bytes) << file;
      }
    }
    EXPECT_EQ(placed.size(), names.size()) << "the target holds files of no source";
    EXPECT_EQ(job.m_nFailCount, failed) << job.m_strErrors;
    EXPECT_EQ(Outside(), outside_) << "something changed outside the target";
    return names;
  }

 private:
  std::vector<std::string> Outside() const {
    std::vector<std::string> entries;
    for (const std::string& entry : testfiles::ListEntries(around_)) {
      const std::string path = around_ + testfiles::Native(entry);
      if (!path.starts_with(target_) && !path.starts_with(source_) &&
          !entry.ends_with("errorFile.txt")) {
        entries.push_back(entry);
      }
    }
    return entries;
  }

  std::string source_, target_, around_;
  std::vector<std::string> outside_;
  std::map<std::string, std::string> files_;  // relative path -> bytes
};

}  // namespace organizetest
