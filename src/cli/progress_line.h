// The one-line progress display that the command-line tool redraws in place on a terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

// Columns `text` takes on a terminal: East Asian wide characters two, combining marks none,
// other characters one; each byte that is not part of valid UTF-8 counts as one.
int DisplayWidth(std::string_view text);

// The longest end of `text` that takes at most `columns` columns; it begins on a character.
std::string_view TailFitting(std::string_view text, int columns);

// "[已处理 N, 失败 M] FILE" in at most `columns` columns. A file too long for the line keeps
// its end (the name) and begins with "...".
std::string FormatProgressLine(int handled, int failed, std::string_view file, int columns);

// The file a message of the walk is about: its first line after the first ": ", without the
// " -> destination" part of a failure message.
std::string_view FileOfMessage(std::string_view message);

// Lets a redraw through at most once per interval.
class ProgressThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ProgressThrottle(Clock::duration interval) : interval_(interval) {}

  // True for the first call and then for the first call at least one interval after the last
  // call that returned true.
  bool Due(Clock::time_point now);

 private:
  Clock::duration interval_;
  Clock::time_point last_{};
  bool drawn_ = false;
};

// The line at the bottom of the terminal, and texts printed above it.
class ProgressDisplay {
 public:
  // `columns` is the terminal's width; lines are kept one column narrower, since some
  // terminals move to the next line once the last column is written.
  ProgressDisplay(std::FILE* out, int columns);
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  int LineColumns() const { return columns_; }

  // Replaces the shown line with `line` (already cut to LineColumns()).
  void Draw(const std::string& line);
  // Prints `text` (which ends with a line break) where the line stood, then the line again;
  // to `stream` when given (the error stream, which may show on the same terminal).
  void PrintAbove(std::string_view text, std::FILE* stream = nullptr);
  // Removes the line; the cursor stays at the start of the now empty line.
  void Clear();

 private:
  void Erase();

  std::FILE* out_;
  int columns_;
  std::string line_;    // what Draw() was given last
  int shownWidth_ = 0;  // columns the line on screen takes; 0 when none is shown
};
