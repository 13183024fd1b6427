#include "organize/organize_journal.h"

#include <charconv>
#include <vector>

#include "platform/file_ops.h"

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
// Closes every record: a line cut short anywhere lacks it.
constexpr char kEnd[] = "\tend";
// The undo's comments (see the header).
constexpr std::string_view kJobMark = "# job\t";
constexpr std::string_view kUndoneMark = "# undone\t";

bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == '%';
}

void AppendEscaped(std::string* line, const std::string& path) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEscape(byte)) {
      line->push_back('%');
      line->push_back(kHex[byte >> 4]);
      line->push_back(kHex[byte & 0xF]);
    } else {
      line->push_back(c);
    }
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

bool Unescape(std::string_view text, std::string* path) {
  path->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      path->push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) {
      return false;
    }
    const int high = HexValue(text[i + 1]);
    const int low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) {
      return false;
    }
    path->push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return !path->empty();
}

template <typename Number>
bool ParseNumber(std::string_view text, Number* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) {
      return fields;
    }
    line.remove_prefix(tab + 1);
  }
}

}  // namespace

std::string FormatJournalLine(const JournalRecord& record) {
  std::string line;
  if (record.kind == JournalRecord::Kind::kFolder) {
    line = "folder\t";
    AppendEscaped(&line, record.destination);
    line.append(kEnd);
  } else {
    line = record.kind == JournalRecord::Kind::kMove ? "move\t" : "copy\t";
    AppendEscaped(&line, record.source);
    line.push_back('\t');
    AppendEscaped(&line, record.destination);
    line.append("\t")
        .append(std::to_string(record.size))
        .append("\t")
        .append(std::to_string(record.lastWrite))
        .append(kEnd);
  }
  line.push_back('\n');
  return line;
}

bool ParseJournalLine(std::string_view line, JournalRecord* record) {
  const std::vector<std::string_view> fields = SplitTabs(line);
  *record = JournalRecord();
  if (fields.back() != "end") {
    return false;
  }
  if (fields[0] == "folder") {
    return fields.size() == 3 && Unescape(fields[1], &record->destination);
  }
  if (fields[0] == "copy") {
    record->kind = JournalRecord::Kind::kCopy;
  } else if (fields[0] == "move") {
    record->kind = JournalRecord::Kind::kMove;
  } else {
    return false;
  }
  return fields.size() == 6 && Unescape(fields[1], &record->source) &&
         Unescape(fields[2], &record->destination) && ParseNumber(fields[3], &record->size) &&
         ParseNumber(fields[4], &record->lastWrite);
}

bool OrganizeJournal::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "a+b"));
  failed_ = !file_;
  if (failed_) {
    return false;
  }
  // A journal whose last line was cut short by a crash gets its line break first, so that
  // the cut line cannot swallow the first record of this job.
  const bool cutShort =
      std::fseek(file_.get(), -1, SEEK_END) == 0 && std::fgetc(file_.get()) != '\n';
  std::fseek(file_.get(), 0, SEEK_END);  // a read must not run straight into a write
  if (cutShort) {
    Write(std::string("\n"));
  }
  return !failed_;
}

void OrganizeJournal::RecordFolder(const std::string& folder) {
  JournalRecord record;
  record.destination = folder;
  Write(record);
}

void OrganizeJournal::RecordPlaced(bool moved, const std::string& source,
                                   const std::string& destination,
                                   const platform::FileInfo* placed) {
  JournalRecord record;
  record.kind = moved ? JournalRecord::Kind::kMove : JournalRecord::Kind::kCopy;
  record.source = source;
  record.destination = destination;
  platform::FileInfo info;
  if (placed == nullptr) {
    platform::ReadFileInfo(destination, &info);  // zero size and time when it cannot be read
    placed = &info;
  }
  record.size = placed->size;
  record.lastWrite = placed->lastWrite;
  Write(record);
}

void OrganizeJournal::RecordJob(const std::string& source, const std::string& target) {
  std::string line(kJobMark);
  AppendEscaped(&line, source);
  line.push_back('\t');
  AppendEscaped(&line, target);
  line.append(kEnd).push_back('\n');
  Write(line);
}

void OrganizeJournal::RecordUndone(std::size_t number) {
  Write(std::string(kUndoneMark) + std::to_string(number) + "\n");
}

void OrganizeJournal::RecordAllUndone() {
  Write(std::string(kAllUndoneLine) + "\n");
}

void OrganizeJournal::Write(const JournalRecord& record) {
  Write(FormatJournalLine(record));
}

void OrganizeJournal::Write(const std::string& line) {
  if (!file_) {
    failed_ = true;
    return;
  }
  // Flushed per line: a crash loses at most the record of the file in hand.
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
      std::fflush(file_.get()) != 0) {
    failed_ = true;
  }
}

bool ReadJournalFile(const std::string& path, std::string* text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) {
    return false;
  }
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    text->append(buffer, got);
  }
  return !std::ferror(file.get());
}

bool ParseJobLine(std::string_view line, std::string* source, std::string* target) {
  if (!line.starts_with(kJobMark)) {
    return false;
  }
  const std::vector<std::string_view> fields = SplitTabs(line.substr(kJobMark.size()));
  return fields.size() == 3 && fields[2] == "end" && Unescape(fields[0], source) &&
         Unescape(fields[1], target);
}

bool ReadJournalLines(const std::string& path, JournalLines* journal) {
  if (!ReadJournalFile(path, &journal->text)) {
    return false;
  }
  for (std::string_view rest = journal->text; !rest.empty();) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) {
      journal->cutShort = rest;
      break;
    }
    std::string_view line = rest.substr(0, end);
    // Journals write CR as "%0D", so a CR at a line's end came from an editor.
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    journal->lines.push_back(line);
    rest.remove_prefix(end + 1);
  }
  journal->takenBack.assign(journal->lines.size(), false);
  for (const std::string_view line : journal->lines) {
    std::size_t number = 0;
    if (line.starts_with(kUndoneMark) && ParseNumber(line.substr(kUndoneMark.size()), &number) &&
        number >= 1 && number <= journal->lines.size()) {
      journal->takenBack[number - 1] = true;
    }
  }
  return true;
}
