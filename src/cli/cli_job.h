// The organize job as the command-line tool runs it: prints each file's message as the walk
// reports it, or keeps a one-line progress display on a terminal.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/progress_line.h"
#include "organize/file_counter.h"
#include "organize/organize_job.h"

struct CliOutputStyle {
  bool terminal = false;  // redraw one progress line instead of printing every message
  int columns = 80;       // the terminal's width
  bool quiet = false;     // only failures: no per-file lines, no progress line
};

class CCliJob : public COrganizeJob {
 public:
  // Messages go to `out`, folders that could not be read to `err`.
  CCliJob(std::FILE* out, std::FILE* err, const CliOutputStyle& style);

  // With a progress line, counts the source's files on another thread for its total. Call
  // once the folders and the filter are set.
  void StartCount();
  // Removes the progress line, if one is shown, so that the summary can follow.
  void EndDisplay();

  // True when any per-file text was printed.
  bool PrintedAny() const { return printedAny_; }
  // The failure file's path once the job wrote it; empty otherwise.
  const std::string& WrittenFailureFile() const { return writtenFailureFile_; }

 protected:
  void PostOrganizeProgress() override;
  void OnOrganizeFinished() override { finished_ = true; }
  void OnFailureFileWritten(const std::string& path) override { writtenFailureFile_ = path; }
  void OnFolderUnread(const std::string& text) override;

 private:
  void Print(const std::string& message);

  std::FILE* out_;
  std::FILE* err_;
  CliOutputStyle style_;
  std::optional<ProgressDisplay> display_;
  ProgressThrottle throttle_;
  ProgressEstimate estimate_;
  std::optional<FileCounter> counter_;
  int seenFailures_ = 0;
  bool finished_ = false;
  bool printedAny_ = false;
  std::string writtenFailureFile_;
  std::string text_;  // the message with console line breaks, reused from file to file
};

// The walk's CR LF line breaks as "\n": a text-mode stream on Windows turns them back into
// CR LF, and Linux terminals and files want "\n".
void ToConsoleLineBreaks(const std::string& message, std::string* text);
