// The diagnostic logger: one line per call to the debugger output and, when MsgX.ini switches
// it on, with a local time stamp to a log file that is rolled over by size.
#include "log/msgx.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "log/msgx_seams.h"
#include "platform/platform.h"
#include "platform/profile.h"

int CMsgX::m_bDebug = 1;
int CMsgX::m_bWrite = 0;
int CMsgX::m_nMinLevel = 0;
int CMsgX::m_nMaxSize = 2048000;
char CMsgX::m_szLogFile[260] = "c:\\MsgX.log";
int CMsgX::m_nLine = 0;

namespace {

constexpr char kLevelNames[4][24] = {"", " Info", " Warning", " Error"};

MsgXSeams& Seams() {
  static MsgXSeams seams;
  return seams;
}

// Held while the switches are read or written and while a line goes out: any thread may log,
// and the log file is appended to and rolled over by one at a time.
std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::string FormatV(const char* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) {
    return {};
  }
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

// Moves the full log file aside under a name made from `now`, never onto a file that already
// holds an older log, and opens a new, empty log file. When the file cannot be moved, it is
// opened for appending again, so neither the old lines nor the new one are lost.
std::FILE* RollOver(const platform::LocalTime& now) {
  const std::string stem = Format("%s_%d%d%d%d%d%d", CMsgX::m_szLogFile, now.year, now.month,
                                  now.day, now.hour, now.minute, now.second);
  std::string rolled = stem + ".log";
  for (int n = 2; platform::PathExists(rolled); ++n) {
    rolled = stem + "_" + std::to_string(n) + ".log";
  }
  if (std::rename(CMsgX::m_szLogFile, rolled.c_str()) == 0) {
    return std::fopen(CMsgX::m_szLogFile, "w+");
  }
  return std::fopen(CMsgX::m_szLogFile, "a+");
}

// Sends one line where the switches say, with the lock held.
void WriteHeld(const char* line, int level) {
  if (line == nullptr) {
    return;
  }
  if (Seams().debugOutput != nullptr) {
    Seams().debugOutput(line);
  } else {
    platform::WriteDebugOutput(line);
  }
  if (CMsgX::m_bWrite == 0 || level < CMsgX::m_nMinLevel) {
    return;
  }
  const platform::LocalTime now =
      Seams().clock != nullptr ? Seams().clock() : platform::LocalTimeNow();
  std::FILE* file = std::fopen(CMsgX::m_szLogFile, "a+");
  if (file == nullptr) {
    return;
  }
  std::fseek(file, 0, SEEK_END);
  // A file of exactly the limit still takes the line; one byte more is rolled over first.
  if (std::ftell(file) > CMsgX::m_nMaxSize) {
    std::fclose(file);
    file = RollOver(now);
    if (file == nullptr) {
      return;
    }
  }
  std::fseek(file, 0, SEEK_END);
  const std::string stamp = Format("%d-%d-%d %d:%d:%d |  ", now.year, now.month, now.day, now.hour,
                                   now.minute, now.second);
  std::fwrite(stamp.data(), 1, stamp.size(), file);
  std::fwrite(line, 1, std::strlen(line), file);
  std::fclose(file);
}

// Formats and sends one Log line, with the lock held.
void LogHeld(const char* message, int level, int line, const char* detail) {
  if (CMsgX::m_bDebug == 0 || message == nullptr) {
    return;
  }
  std::string prefix = "R_R ";
  if (level > 0 && level < 4) {
    prefix += kLevelNames[level];
  }
  const std::string text =
      Format("%s: %s  #%d %s\n", prefix.c_str(), message, line, detail != nullptr ? detail : "");
  WriteHeld(text.c_str(), level);
}

}  // namespace

void SetMsgXSeams(const MsgXSeams& seams) {
  std::lock_guard<std::mutex> hold(Lock());
  Seams() = seams;
}

CMsgX::CMsgX() {
  ReadSettings();
}

void CMsgX::ReadSettings() {
  std::lock_guard<std::mutex> hold(Lock());
  LogHeld("CMsgX Reading...", 1, 0, "");
  if (m_bDebug != 0) {
    LogHeld("CMsgX Already Set.", 1, 0, "");
    return;
  }
  const std::string folder =
      Seams().settingsFolder.empty() ? platform::SystemFolder() : Seams().settingsFolder;
  const std::string path = folder + "MsgX.ini";
  const int debug = platform::ReadIniInt(path, "Log", "Debug", 0);
  const int write = platform::ReadIniInt(path, "Log", "Write", 0);
  const int level = platform::ReadIniInt(path, "Log", "Level", 0);
  const int size = platform::ReadIniInt(path, "Log", "Size", 2048000);
  const std::string file =
      platform::ReadIniText(path, "Log", "file", "c:\\MsgX.log", sizeof m_szLogFile);
  m_bDebug = debug;
  m_bWrite = write;
  m_nMinLevel = level;
  m_nMaxSize = size;
  // A single character is taken for a slip, not a path.
  if (file.size() > 1) {
    std::memcpy(m_szLogFile, file.c_str(), file.size() + 1);
  }
}

void CMsgX::Log(const char* message, int level, int line, const char* detail) {
  std::lock_guard<std::mutex> hold(Lock());
  LogHeld(message, level, line, detail);
}

void CMsgX::Printf(const char* format, ...) {
  std::lock_guard<std::mutex> hold(Lock());
  if (m_bDebug == 0 || format == nullptr) {
    return;
  }
  char message[7000] = {};
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);  // cut at 6999 characters
  va_end(args);
  const std::string text = Format("%s: %s  #%d \n", "R_R ", message, m_nLine);
  WriteHeld(text.c_str(), 0);
}

void CMsgX::WriteLine(const char* line, int level) {
  std::lock_guard<std::mutex> hold(Lock());
  WriteHeld(line, level);
}
