#include "cli/progress_line.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "cli/console.h"

namespace {

struct Character {
  std::uint32_t code;
  std::size_t length;  // bytes
  bool valid;
};

// Decodes the UTF-8 character at the start of `text` (not empty).
Character Decode(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(0);
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead < 0x80) {
    return {lead, 1, true};
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
  } else {
    return {lead, 1, false};
  }
  if (text.size() < length) {
    return {lead, 1, false};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      return {lead, 1, false};
    }
    code = (code << 6) | (byte(i) & 0x3F);
  }
  return {code, length, true};
}

int CharacterWidth(std::uint32_t code) {
  struct Range {
    std::uint32_t first, last;
  };
  static constexpr Range kCombining[] = {
      {0x0300, 0x036F}, {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}};
  static constexpr Range kWide[] = {
      {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF}, {0x3400, 0x4DBF},
      {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
      {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F},
      {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
  };
  for (const Range& range : kCombining) {
    if (code >= range.first && code <= range.last) {
      return 0;
    }
  }
  for (const Range& range : kWide) {
    if (code >= range.first && code <= range.last) {
      return 2;
    }
  }
  return 1;
}

constexpr std::string_view kEllipsis = "...";

}  // namespace

int DisplayWidth(std::string_view text) {
  int width = 0;
  while (!text.empty()) {
    const Character c = Decode(text);
    width += c.valid ? CharacterWidth(c.code) : 1;
    text.remove_prefix(c.length);
  }
  return width;
}

std::string_view TailFitting(std::string_view text, int columns) {
  // Walks forward remembering where each character starts, then keeps the shortest start
  // whose tail fits. Paths are short, so the two passes cost nothing worth saving.
  std::size_t start = 0;
  int tailWidth = DisplayWidth(text);
  while (tailWidth > columns && start < text.size()) {
    const Character c = Decode(text.substr(start));
    tailWidth -= c.valid ? CharacterWidth(c.code) : 1;
    start += c.length;
  }
  return text.substr(start);
}

namespace {

// 19597 as "19,597".
std::string WithThousands(int number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0 && digits[at - 1] != '-'; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), 1, ',');
  }
  return digits;
}

// "0:42", "12:05", "1:02:03".
std::string Duration(int seconds) {
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  }
  return text;
}

std::string Figures(const ProgressFigures& figures) {
  // A count still going on, or one that fell short (files added during the job), is no total.
  const bool final = figures.totalFinal && figures.total >= figures.handled;
  std::string text = "[";
  text.append(WithThousands(figures.handled))
      .append("/")
      .append(WithThousands(std::max(figures.total, figures.handled)));
  if (!final) {
    text += "+";
  } else if (figures.total > 0) {
    char share[16];
    std::snprintf(share, sizeof share, "%.1f%%", 100.0 * figures.handled / figures.total);
    text.append(" · ").append(share);
  }
  if (figures.failed > 0) {
    text.append(" · 失败 ").append(WithThousands(figures.failed));
  }
  if (final && figures.secondsLeft >= 0) {
    text.append(" · 剩余 ").append(Duration(figures.secondsLeft));
  }
  return text + "] ";
}

}  // namespace

std::string FormatProgressLine(const ProgressFigures& figures, std::string_view file, int columns) {
  std::string line = Figures(figures);
  const int room = columns - DisplayWidth(line);
  if (room <= 0) {
    return std::string(TailFitting(line, columns < 0 ? 0 : columns));
  }
  if (DisplayWidth(file) <= room) {
    line += file;
  } else if (room > static_cast<int>(kEllipsis.size())) {
    line += kEllipsis;
    line += TailFitting(file, room - static_cast<int>(kEllipsis.size()));
  }
  return line;
}

void ProgressEstimate::Add(Clock::time_point now, int handled) {
  samples_.emplace_back(now, handled);
  while (samples_.size() > 2 && now - samples_[1].first >= std::chrono::seconds(10)) {
    samples_.pop_front();
  }
}

int ProgressEstimate::SecondsLeft(int total) const {
  if (samples_.size() < 2) {
    return -1;
  }
  const auto& [since, before] = samples_.front();
  const auto& [now, handled] = samples_.back();
  const double seconds = std::chrono::duration<double>(now - since).count();
  if (seconds < 1.0 || handled <= before) {
    return -1;
  }
  const double rate = (handled - before) / seconds;
  return static_cast<int>(std::max(total - handled, 0) / rate + 0.5);
}

std::string_view FileOfMessage(std::string_view message) {
  message = message.substr(0, message.find_first_of("\r\n"));
  const std::size_t colon = message.find(": ");
  if (colon == std::string_view::npos) {
    return {};
  }
  message.remove_prefix(colon + 2);
  return message.substr(0, message.find(" -> "));
}

bool ProgressThrottle::Due(Clock::time_point now) {
  if (drawn_ && now - last_ < interval_) {
    return false;
  }
  drawn_ = true;
  last_ = now;
  return true;
}

ProgressDisplay::ProgressDisplay(std::FILE* out, int columns)
    : out_(out), columns_(columns > 1 ? columns - 1 : 1) {}

void ProgressDisplay::Erase() {
  if (shownWidth_ > 0) {
    // Blanks over the old line: plain characters work on every console, escapes do not.
    std::string blanks(1, '\r');
    blanks.append(shownWidth_, ' ').push_back('\r');
    WriteText(out_, blanks);
    shownWidth_ = 0;
  }
}

void ProgressDisplay::Draw(const std::string& line) {
  line_ = line;
  const int width = DisplayWidth(line);
  // A shorter line leaves the end of the longer one behind unless it is blanked.
  std::string text(1, '\r');
  text.append(line).append(std::max(shownWidth_ - width, 0), ' ');
  WriteText(out_, text);
  shownWidth_ = width;
  std::fflush(out_);
}

void ProgressDisplay::PrintAbove(std::string_view text, std::FILE* stream) {
  Erase();
  if (stream != nullptr) {
    std::fflush(out_);
    WriteText(stream, text);
    std::fflush(stream);
  } else {
    WriteText(out_, text);
  }
  if (!line_.empty()) {
    Draw(line_);
  } else {
    std::fflush(out_);
  }
}

void ProgressDisplay::Clear() {
  Erase();
  line_.clear();
  std::fflush(out_);
}
