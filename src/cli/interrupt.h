// Ctrl+C while a job runs works like the window's stop button: the first one stops the job
// after the file in hand and prints a note on the error output; a second one ends the program
// at once.
#pragma once

#include <memory>

class COrganizeJob;

// The exit status of a job that Ctrl+C stopped: the one the system reports for a program that
// Ctrl+C ends (128 + SIGINT on Linux, STATUS_CONTROL_C_EXIT on Windows), so that a script sees
// the same whether the tool stopped after the file in hand or a second Ctrl+C ended it.
extern const int kExitInterrupted;

class InterruptGuard {
 public:
  // Routes Ctrl+C to `job` until the guard goes away; the previous handling comes back then.
  // One guard at a time.
  explicit InterruptGuard(COrganizeJob& job);
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  // True once a Ctrl+C has stopped the job.
  bool StopRequested() const;

 private:
  struct Saved;  // the platform's previous handling
  std::unique_ptr<Saved> saved_;
};
