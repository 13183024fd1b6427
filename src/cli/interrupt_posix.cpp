#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "cli/interrupt.h"
#include "cli/interrupt_note.h"
#include "organize/organize_job.h"

const int kExitInterrupted = 128 + SIGINT;

namespace {

std::atomic<COrganizeJob*> g_job{nullptr};
std::atomic<bool> g_stopRequested{false};

static_assert(std::atomic<bool>::is_always_lock_free &&
                  std::atomic<COrganizeJob*>::is_always_lock_free,
              "the signal handler may use lock-free atomics only");

// Runs in signal context: only lock-free atomics and write(2). The handler was installed with
// SA_RESETHAND, so a second Ctrl+C finds the default action and ends the program.
extern "C" void OnInterrupt(int) {
  if (COrganizeJob* job = g_job.load()) {
    job->Stop();
  }
  g_stopRequested.store(true);
  const ssize_t ignored = write(STDERR_FILENO, kInterruptNote, sizeof kInterruptNote - 1);
  (void)ignored;
}

}  // namespace

struct InterruptGuard::Saved {
  struct sigaction previous {};
};

InterruptGuard::InterruptGuard(COrganizeJob& job) : saved_(std::make_unique<Saved>()) {
  g_stopRequested = false;
  g_job = &job;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &saved_->previous);
}

InterruptGuard::~InterruptGuard() {
  sigaction(SIGINT, &saved_->previous, nullptr);
  g_job = nullptr;
}

bool InterruptGuard::StopRequested() const {
  return g_stopRequested.load();
}
