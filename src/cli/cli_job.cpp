#include "cli/cli_job.h"

#include <chrono>

#include "cli/console.h"

namespace {

// The display changes at most this often; a failure is always shown at once.
constexpr std::chrono::milliseconds kRedrawInterval(100);

}  // namespace

void ToConsoleLineBreaks(const std::string& message, std::string* text) {
  text->clear();
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') {
      continue;
    }
    text->push_back(message[i]);
  }
}

CCliJob::CCliJob(std::FILE* out, std::FILE* err, const CliOutputStyle& style)
    : out_(out), err_(err), style_(style), throttle_(kRedrawInterval) {
  if (style_.terminal) {
    display_.emplace(out_, style_.columns);
  }
}

void CCliJob::Print(const std::string& message) {
  ToConsoleLineBreaks(message, &text_);
  if (display_) {
    display_->PrintAbove(text_);
  } else {
    WriteText(out_, text_);
  }
  printedAny_ = true;
}

void CCliJob::PostOrganizeProgress() {
  // The call after the summary is not a file: the summary is printed by the caller.
  if (finished_) {
    return;
  }
  // The walk runs on this thread, so the counts are read safely here.
  const bool failed = m_nFailCount != seenFailures_;
  seenFailures_ = m_nFailCount;
  const std::string message = LatestMessage();

  if (failed || (!style_.quiet && !display_)) {
    Print(message);
  }
  const auto now = ProgressThrottle::Clock::now();
  if (display_ && !style_.quiet && (failed || throttle_.Due(now))) {
    estimate_.Add(now, HandledCount());
    ProgressFigures figures;
    figures.handled = HandledCount();
    figures.failed = m_nFailCount;
    if (counter_) {
      figures.totalFinal = counter_->Done();  // read first: the count is final once it is set
      figures.total = counter_->Count();
    }
    figures.secondsLeft = estimate_.SecondsLeft(figures.total);
    display_->Draw(FormatProgressLine(figures, FileOfMessage(message), display_->LineColumns()));
  }
}

void CCliJob::StartCount() {
  if (display_ && !style_.quiet) {
    counter_.emplace(m_strPathSrc, m_strPathTar, m_settings);
  }
}

void CCliJob::OnFolderUnread(const std::string& text) {
  const std::string line = text + "\n";
  if (display_) {
    display_->PrintAbove(line, err_);
  } else {
    std::fflush(out_);  // keeps the order where both streams show in one place
    WriteText(err_, line);
  }
}

void CCliJob::EndDisplay() {
  counter_.reset();
  if (display_) {
    display_->Clear();
  }
}
