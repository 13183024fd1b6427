// Counts, on a thread of its own, the files below a folder that the walk would handle: the same
// entries skipped, the same filter, each folder once. It reads listings only and opens no
// file, so it runs well ahead of the walk and gives a progress display its total.
#pragma once

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "platform/platform.h"

class FileCounter {
 public:
  // Starts counting below `folder` (with or without its final separator).
  FileCounter(std::string folder, std::string filters);
  // Stops the count and waits for its thread.
  ~FileCounter();
  FileCounter(const FileCounter&) = delete;
  FileCounter& operator=(const FileCounter&) = delete;

  // Files counted so far; the total once Done().
  int Count() const { return count_; }
  bool Done() const { return done_; }

 private:
  void CountFolder(const std::string& path, platform::FolderListing& listing);

  std::string filters_;
  std::set<platform::FolderId> visited_;  // touched by the counting thread only
  std::atomic<int> count_{0};
  std::atomic<bool> done_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
