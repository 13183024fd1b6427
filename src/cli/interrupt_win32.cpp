#include <windows.h>

#include <atomic>

#include "cli/interrupt.h"
#include "cli/interrupt_note.h"
#include "organize/organize_job.h"

// 0xC000013A, as a C int.
const int kExitInterrupted = static_cast<int>(STATUS_CONTROL_C_EXIT);

namespace {

std::atomic<COrganizeJob*> g_job{nullptr};
std::atomic<bool> g_stopRequested{false};

// Runs on a thread the system starts for the event. The first Ctrl+C stops the job; a second
// one is passed on to the default handling, which ends the process.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
    return FALSE;
  }
  if (g_stopRequested.exchange(true)) {
    return FALSE;
  }
  if (COrganizeJob* job = g_job.load()) {
    job->Stop();
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), kInterruptNote, sizeof kInterruptNote - 1, &written,
            nullptr);
  return TRUE;
}

}  // namespace

struct InterruptGuard::Saved {};

InterruptGuard::InterruptGuard(COrganizeJob& job) : saved_(std::make_unique<Saved>()) {
  g_stopRequested = false;
  g_job = &job;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptGuard::~InterruptGuard() {
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_job = nullptr;
}

bool InterruptGuard::StopRequested() const {
  return g_stopRequested.load();
}
