// The one-line progress display that the command-line tool redraws in place on a terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

// Columns `text` takes on a terminal: East Asian wide characters two, combining marks none,
// other characters one; each byte that is not part of valid UTF-8 counts as one.
int DisplayWidth(std::string_view text);

// The longest end of `text` that takes at most `columns` columns; it begins on a character.
std::string_view TailFitting(std::string_view text, int columns);

// What the progress line tells about the job.
struct ProgressFigures {
  int handled = 0;          // files placed, failed or found in place so far
  int failed = 0;           // of them failed
  int total = 0;            // files counted so far
  bool totalFinal = false;  // the count is complete
  int secondsLeft = -1;     // the estimate; -1 while there is none
};

// "[532/19,597 · 2.7% · 剩余 0:42] FILE" in at most `columns` columns: while the count goes on
// "[532/12,000+] FILE", with " · 失败 M" after the share when a file failed. A file too long for
// the line keeps its end (the name) and begins with "...".
std::string FormatProgressLine(const ProgressFigures& figures, std::string_view file, int columns);

// The time left, from the rate of the last few seconds.
class ProgressEstimate {
 public:
  using Clock = std::chrono::steady_clock;
  // Notes that `handled` files were done at `now`.
  void Add(Clock::time_point now, int handled);
  // Seconds until `total` files are done at the recent rate; -1 until a second has been seen
  // or while no file was done in it.
  int SecondsLeft(int total) const;

 private:
  std::deque<std::pair<Clock::time_point, int>> samples_;  // the last 10 s, oldest first
};

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
