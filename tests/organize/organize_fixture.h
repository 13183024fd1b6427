// Shared ground for the organize tests: a job that records what it reports, and a temporary
// tree with a source and a target folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "jpeg_builder.h"
#include "organize/organize_job.h"
#include "platform/platform.h"
#include "test_files.h"

using Files = std::vector<std::string>;

// Records the latest message at each progress report, and the end of the job.
class RecordingJob : public COrganizeJob {
 public:
  Files messages;
  std::function<void()> onProgress;  // called after each report, as the window's handler runs
  int finishedCalls = 0;
  bool runningWhenFinished = true;
  std::string messageWhenFinished;
  Files failureFiles;
  Files unread;                       // folders reported as not read
  std::vector<std::size_t> unreadAt;  // how many messages came before each

 protected:
  void PostOrganizeProgress() override {
    messages.push_back(LatestMessage());
    if (onProgress) {
      onProgress();
    }
  }
  void OnOrganizeFinished() override {
    ++finishedCalls;
    runningWhenFinished = m_bRunning;
    messageWhenFinished = LatestMessage();
  }
  void OnFailureFileWritten(const std::string& path) override { failureFiles.push_back(path); }
  void OnFolderUnread(const std::string& text) override {
    unread.push_back(text);
    unreadAt.push_back(messages.size());
  }
};

class OrganizeTest : public ::testing::Test {
 protected:
  static constexpr char kSep = platform::kPathSeparator;

  // A folder under the temporary folder, with its final separator.
  std::string Folder(const std::string& relative) const { return temp / relative + kSep; }
  std::string Src() const { return Folder("src"); }
  std::string Tgt() const { return Folder("tgt"); }
  std::string FailureFile() const { return temp / "errorFile.txt"; }
  Files TargetFiles() const { return testfiles::ListFiles(Tgt()); }
  Files SourceFiles() const { return testfiles::ListFiles(Src()); }

  void SetUp() override {
    ASSERT_TRUE(testfiles::MakeFolders(Src()));
    ASSERT_TRUE(testfiles::MakeFolders(Tgt()));
  }

  // A JPEG with an EXIF date of capture ("" for none), last written on 2019-03-04.
  void Photo(const std::string& relative, const std::string& takenAt) const {
    ASSERT_TRUE(testfiles::WriteText(temp / relative, ""));  // makes the folders
    ASSERT_TRUE(jpegbuilder::WriteBytes(temp / relative, jpegbuilder::PhotoWithDate(takenAt)));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(temp / relative, 2019, 3, 4));
  }
  // Any other file, last written on the given local day.
  void File(const std::string& relative, int year = 2019, int month = 3, int day = 4,
            const std::string& text = "data") const {
    ASSERT_TRUE(testfiles::WriteText(temp / relative, text));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(temp / relative, year, month, day));
  }

  // A whole job, as the window runs it.
  void Run(RecordingJob& job, const std::string& source, const std::string& target) const {
    job.m_strPathSrc = source;
    job.m_strPathTar = target;
    job.BeginJob();
    job.RunOrganize(FailureFile());
  }
  void Run(RecordingJob& job) const { Run(job, Src(), Tgt()); }

  testfiles::TempFolder temp;
};
