// Shared ground for the organize tests: a job that records what it reports, and a temporary
// tree with a source and a target folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "jpeg_builder.h"
#include "organize/organize_job.h"
#include "platform/platform.h"
#include "test_files.h"

// Every folder and file below `root` (UTF-8, '/'-separated, relative, sorted): unlike
// testfiles::ListFiles it also shows folders that hold nothing.
inline std::vector<std::string> ListEntries(const std::string& root) {
  namespace fs = std::filesystem;
  const fs::path base(std::u8string(root.begin(), root.end()));
  std::vector<std::string> entries;
  std::error_code error;
  for (fs::recursive_directory_iterator it(base, error), end; !error && it != end;
       it.increment(error)) {
    const std::u8string relative = it->path().lexically_relative(base).generic_u8string();
    entries.emplace_back(relative.begin(), relative.end());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

// Records every progress report and the end of the job; can stop itself after N files.
class RecordingJob : public COrganizeJob {
 public:
  std::vector<std::string> messages;  // the latest message at each progress report
  std::size_t stopAfterFiles = 0;     // 0: never
  int finishedCalls = 0;
  bool runningWhenFinished = true;
  std::string messageWhenFinished;
  std::vector<std::string> failureFiles;

  // Progress reports made for files (the last report of a finished job is the summary's).
  std::vector<std::string> FileMessages() const {
    std::vector<std::string> files = messages;
    if (finishedCalls > 0 && !files.empty()) {
      files.pop_back();
    }
    return files;
  }

 protected:
  void PostOrganizeProgress() override {
    messages.push_back(LatestMessage());
    if (stopAfterFiles != 0 && messages.size() == stopAfterFiles) {
      Stop();
    }
  }
  void OnOrganizeFinished() override {
    ++finishedCalls;
    runningWhenFinished = m_bRunning;
    messageWhenFinished = LatestMessage();
  }
  void OnFailureFileWritten(const std::string& path) override { failureFiles.push_back(path); }
};

class OrganizeTest : public ::testing::Test {
 protected:
  static constexpr char kSep = platform::kPathSeparator;

  // A folder under the temporary folder, with its final separator.
  std::string Folder(const std::string& relative) const { return temp / relative + kSep; }
  std::string Src() const { return Folder("src"); }
  std::string Tgt() const { return Folder("tgt"); }
  std::string FailureFile() const { return temp / "errorFile.txt"; }

  void SetUp() override {
    ASSERT_TRUE(testfiles::MakeFolders(Src()));
    ASSERT_TRUE(testfiles::MakeFolders(Tgt()));
  }

  // A JPEG with an EXIF date of capture ("" for none), last written on 2019-03-04.
  void Photo(const std::string& relative, const std::string& takenAt,
             jpegbuilder::ByteOrder order = jpegbuilder::ByteOrder::kLittle,
             std::size_t dataBytes = 64) const {
    const std::string path = temp / relative;
    ASSERT_TRUE(testfiles::WriteText(path, ""));
    ASSERT_TRUE(
        jpegbuilder::WriteBytes(path, jpegbuilder::PhotoWithDate(takenAt, order, dataBytes)));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(path, 2019, 3, 4));
  }
  // Any other file, last written on the given local day.
  void File(const std::string& relative, int year = 2019, int month = 3, int day = 4,
            const std::string& text = "data") const {
    const std::string path = temp / relative;
    ASSERT_TRUE(testfiles::WriteText(path, text));
    ASSERT_TRUE(testfiles::SetLocalWriteTime(path, year, month, day));
  }

  // A whole job from the source to the target folder, as the window runs it.
  void Run(RecordingJob& job, std::string source = std::string()) const {
    job.m_strPathSrc = source.empty() ? Src() : source;
    job.m_strPathTar = Tgt();
    job.BeginJob();
    job.RunOrganize(FailureFile());
  }

  std::vector<std::string> TargetFiles() const { return testfiles::ListFiles(Tgt()); }
  std::vector<std::string> SourceFiles() const { return testfiles::ListFiles(Src()); }

  testfiles::TempFolder temp;
};
