// The main window's taskbar button during a job: the share of the files handled once their
// total is counted, an indeterminate state while they are being counted, the error state once
// anything failed, nothing between jobs; and a flash when a job that took more than a few
// seconds ends while the window is not in front. The system's calls stand behind TaskbarSeam,
// which a test program replaces (Wine shows none of them).
#pragma once

#include <windows.h>

enum class TaskbarState { kNone, kIndeterminate, kNormal, kError };

class TaskbarSeam {
 public:
  virtual ~TaskbarSeam() = default;
  // Shows `state` on the taskbar button of `window`; with kNormal and kError, `done` of `total`.
  virtual void Show(HWND window, TaskbarState state, int done, int total) = 0;
  // Flashes the taskbar button of `window` until the window comes to the front.
  virtual void Flash(HWND window) = 0;
  // Milliseconds from a fixed moment.
  virtual ULONGLONG Now() = 0;

  // The one in use: the system's (the shell's taskbar list, FlashWindowEx, the tick count).
  static TaskbarSeam* s_seam;
};

class JobTaskbar {
 public:
  // A job that took longer than this flashes the taskbar button when it ends behind others.
  static constexpr ULONGLONG kFlashAfterMs = 5000;

  // A job of `window` begins: indeterminate until its files are counted.
  void Begin(HWND window);
  // `handled` files so far, `counted` of them found so far (all of them once `countDone`);
  // `failed`: a file or folder failed.
  void Update(int handled, int counted, bool countDone, bool failed);
  // The job has ended: the button shows nothing again, and flashes unless `inFront`.
  void End(bool inFront);

 private:
  void Show(TaskbarState state, int done, int total);

  HWND m_window = nullptr;  // while a job runs
  ULONGLONG m_start = 0;
  TaskbarState m_state = TaskbarState::kNone;
  int m_done = 0;
  int m_total = 0;
};
