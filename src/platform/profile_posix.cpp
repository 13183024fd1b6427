// INI files on Linux, read and written by the same rules as the Windows profile functions.
// Writing edits the file's text: only the one line of the key changes (or is added), every
// other byte stays, and the new text replaces the old by a rename, so no reader ever sees a
// half-written file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace platform {
namespace {

// One line of the file: [begin, textEnd) is its text, [textEnd, end) its line end.
struct Line {
  std::size_t begin;
  std::size_t textEnd;
  std::size_t end;
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    const std::size_t feed = bytes.find('\n', begin);
    const std::size_t end = feed == std::string::npos ? bytes.size() : feed + 1;
    std::size_t textEnd = feed == std::string::npos ? bytes.size() : feed;
    if (textEnd > begin && bytes[textEnd - 1] == '\r') {
      --textEnd;
    }
    lines.push_back({begin, textEnd, end});
    begin = end;
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

// The name of a section header line ("[name]"), if the line is one.
std::optional<std::string_view> SectionName(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text[0] != '[') {
    return std::nullopt;
  }
  text.remove_prefix(1);
  return Trim(text.substr(0, text.find(']')));
}

// A "key=value" line split at its first '='; comment lines (';') are none.
struct KeyLine {
  std::string_view key;
  std::string_view value;
};
std::optional<KeyLine> SplitKeyLine(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  const std::size_t equals = trimmed.find('=');
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '[' ||
      equals == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view key = Trim(trimmed.substr(0, equals));
  if (key.empty()) {
    return std::nullopt;
  }
  return KeyLine{key, Trim(trimmed.substr(equals + 1))};
}

// Where a section and a key stand among the lines.
struct Place {
  bool hasSection = false;
  std::size_t lastLineOfSection = 0;  // its last line that is not blank
  std::optional<std::size_t> keyLine;
};

Place Locate(const std::string& bytes, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text(bytes.data() + lines[i].begin, lines[i].textEnd - lines[i].begin);
    if (const auto name = SectionName(text)) {
      if (place.hasSection) {
        break;  // the first section of that name is the one used
      }
      inSection = SameNoCase(*name, section);
      if (inSection) {
        place.hasSection = true;
        place.lastLineOfSection = i;
      }
      continue;
    }
    if (!inSection) {
      continue;
    }
    if (!Trim(text).empty()) {
      place.lastLineOfSection = i;
    }
    const auto keyLine = SplitKeyLine(text);
    if (keyLine && !place.keyLine && SameNoCase(keyLine->key, key)) {
      place.keyLine = i;
    }
  }
  return place;
}

// The whole file; false when it is missing or cannot be read (`error` tells which).
bool ReadWholeFile(const std::string& path, std::string* bytes, int* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return false;
  }
  bytes->clear();
  char chunk[8192];
  for (;;) {
    const ssize_t count = read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      *error = count < 0 ? errno : 0;
      close(fd);
      return count == 0;
    }
    bytes->append(chunk, static_cast<std::size_t>(count));
  }
}

std::optional<std::string> ReadValue(const std::string& path, const char* section,
                                     const char* key) {
  std::string bytes;
  int error = 0;
  if (section == nullptr || key == nullptr || !ReadWholeFile(path, &bytes, &error)) {
    return std::nullopt;
  }
  const std::vector<Line> lines = SplitLines(bytes);
  const Place place = Locate(bytes, lines, section, key);
  if (!place.keyLine) {
    return std::nullopt;
  }
  const Line& line = lines[*place.keyLine];
  std::string_view value =
      SplitKeyLine(std::string_view(bytes.data() + line.begin, line.textEnd - line.begin))->value;
  // A value in double quotes is given without them.
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Writes `bytes` to a new file beside `path`, then renames it over `path`.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  struct stat old {};
  fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    ok = count > 0;
    done += ok ? static_cast<std::size_t>(count) : 0;
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string ReadIniText(const std::string& path, const char* section, const char* key,
                        const char* fallback, std::size_t bufferSize) {
  if (bufferSize == 0) {
    return {};
  }
  std::string value = ReadValue(path, section, key).value_or(fallback ? fallback : "");
  if (value.size() > bufferSize - 1) {
    value.resize(bufferSize - 1);
  }
  return value;
}

int ReadIniInt(const std::string& path, const char* section, const char* key, int fallback) {
  const std::optional<std::string> value = ReadValue(path, section, key);
  if (!value || value->empty()) {
    return fallback;
  }
  std::size_t i = 0;
  const bool negative = (*value)[0] == '-';
  if (negative || (*value)[0] == '+') {
    ++i;
  }
  // Wraps around at 32 bits, as the unsigned result of the Windows function does.
  std::uint32_t number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
    number = number * 10u + static_cast<std::uint32_t>((*value)[i] - '0');
  }
  return static_cast<int>(negative ? 0u - number : number);
}

bool WriteIniText(const std::string& path, const char* section, const char* key,
                  const char* value) {
  if (section == nullptr || key == nullptr || value == nullptr) {
    return false;
  }
  std::string bytes;
  int error = 0;
  if (!ReadWholeFile(path, &bytes, &error) && error != ENOENT) {
    return false;  // an unreadable file is never replaced by a new one
  }
  const std::vector<Line> lines = SplitLines(bytes);
  // New lines end like the file's first line; a new file gets the Windows line end.
  const std::string lineEnd =
      !lines.empty() && lines[0].end - lines[0].textEnd == 1 ? "\n" : "\r\n";
  const Place place = Locate(bytes, lines, section, key);

  std::string edited;
  if (place.keyLine) {
    const Line& line = lines[*place.keyLine];
    const std::string_view name =
        SplitKeyLine(std::string_view(bytes.data() + line.begin, line.textEnd - line.begin))->key;
    edited = bytes.substr(0, line.begin);
    edited.append(name).append("=").append(value);
    edited.append(bytes, line.textEnd);
  } else {
    std::size_t at = bytes.size();
    std::string added;
    if (place.hasSection) {
      at = lines[place.lastLineOfSection].end;
    } else {
      added.append("[").append(section).append("]").append(lineEnd);
    }
    added.append(key).append("=").append(value).append(lineEnd);
    // The line before the insertion may be the file's last, without a line end.
    if (at > 0 && bytes[at - 1] != '\n') {
      added.insert(0, lineEnd);
    }
    edited = bytes.substr(0, at) + added + bytes.substr(at);
  }
  return ReplaceFile(path, edited);
}

}  // namespace platform
