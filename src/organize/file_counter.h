// Counts, on a thread of its own, the files below a folder that the walk would handle, by the
// walk's own rules (walk_rules.h): the same folders, entries skipped, filter and sidecars. It
// reads listings only and opens no file, so it runs well ahead of the walk and gives a
// progress display its total.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "organize/organize_job.h"

class FileCounter {
 public:
  // Starts counting below `folder` (with or without its final separator) for a job into
  // `target` with `settings`.
  FileCounter(std::string folder, const std::string& target, const OrganizeSettings& settings);
  // Stops the count and waits for its thread.
  ~FileCounter();
  FileCounter(const FileCounter&) = delete;
  FileCounter& operator=(const FileCounter&) = delete;

  // Files counted so far; the total once Done(). The walk's COrganizeJob::HandledCount()
  // counts the same files as it goes.
  int Count() const { return count_; }
  bool Done() const { return done_; }

 private:
  void CountFolder(const std::string& path, platform::FolderListing& listing);

  OrganizeSettings settings_;
  WalkedFolders folders_;  // touched by the counting thread only
  std::atomic<int> count_{0};
  std::atomic<bool> done_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
