// The logger: exact line and time-stamp bytes, its switches, MsgX.ini, and the rollover of the
// log file, with the debugger output and the clock taken over by the test.
#include <gtest/gtest.h>

#include <latch>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "log/msgx.h"
#include "log/msgx_seams.h"
#include "test_files.h"

namespace {

// The log file is written in text mode: on Windows a line feed is stored as CR LF.
std::string Stored(std::string text) {
#if defined(_WIN32)
  for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) {
    text.insert(at, 1, '\r');
  }
#endif
  return text;
}

std::string g_debugOutput;
platform::LocalTime g_now;

class MsgXTest : public testing::Test {
 protected:
  void SetUp() override {
    SetMsgXSeams(
        {[](const char* line) { g_debugOutput += line; }, [] { return g_now; }, folder_.Path()});
  }
  static void Switch(int debug, int write, int level, int size, const std::string& file) {
    CMsgX::m_bDebug = debug;
    CMsgX::m_bWrite = write;
    CMsgX::m_nMinLevel = level;
    CMsgX::m_nMaxSize = size;
    std::snprintf(CMsgX::m_szLogFile, sizeof CMsgX::m_szLogFile, "%s", file.c_str());
  }

  testfiles::TempFolder folder_;  // MsgX.ini and the log files
};

TEST_F(MsgXTest, EachLineWithItsExactBytesWhereTheSwitchesSendIt) {
  const struct {
    int debug, write, minLevel, level, line;
    const char *message, *detail, *printed;
    bool toFile;
  } cases[] = {
      {1, 1, 0, 0, 1, "m", "", "R_R : m  #1 \n", true},
      {1, 1, 0, 3, -277, "照片", "detail text", "R_R  Error: 照片  #-277 detail text\n", true},
      {0, 1, 0, 3, 1, "m", "", "", false},                        // master switch off: nothing
      {1, 0, 0, 3, 1, "m", "", "R_R  Error: m  #1 \n", false},    // file switch off
      {1, 1, 3, 2, 1, "m", "", "R_R  Warning: m  #1 \n", false},  // below the minimum level
      {1, 1, 2, 2, 1, "m", "", "R_R  Warning: m  #1 \n", true},
  };
  g_now = {2026, 12, 31, 23, 0, 59};  // the stamp's numbers are not padded
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const std::string log = folder_ / ("row" + std::to_string(&c - cases) + ".log");
    Switch(c.debug, c.write, c.minLevel, 2048000, log);
    g_debugOutput.clear();
    CMsgX::Log(c.message, c.level, c.line, c.detail);
    EXPECT_EQ(g_debugOutput, c.printed);
    EXPECT_EQ(testfiles::ReadAll(log),
              c.toFile ? Stored("2026-12-31 23:0:59 |  " + std::string(c.printed)) : "");
  }
  CMsgX::m_nLine = 770;
  g_debugOutput.clear();
  CMsgX::Printf("皮肤背景大小为: %d, %d", 622, 416);
  EXPECT_EQ(g_debugOutput, "R_R : 皮肤背景大小为: 622, 416  #770 \n");
}

TEST_F(MsgXTest, MsgXIniIsReadOnlyWhenTheMasterSwitchIsOff) {
  const std::string ini = folder_ / "MsgX.ini";
  const struct {
    const char* ini;  // null: no file
    int debugBefore;
    const char* after;  // the debugger output, then debug, write, level, size and file
  } cases[] = {
      {nullptr, 0, "0 0 0 2048000 c:\\MsgX.log"},  // the built-in default name
      {"[Log]\nDebug=1\nWrite=1\nLevel=2\nSize=100\nfile=D:\\a.log\n", 0, "1 1 2 100 D:\\a.log"},
      {"[log]\ndebug=1\nfile=x\n", 0, "1 0 0 2048000 keep.log"},  // one character
      {"[Log]\nfile=xy\nSize=0\n", 0, "0 0 0 0 xy"},
      {"[Log]\nDebug=0\nWrite=1\n", 1,
       "R_R  Info: CMsgX Reading...  #0 \nR_R  Info: CMsgX Already Set.  #0 \n1 7 7 7 keep.log"},
  };
  for (const auto& c : cases) {
    if (c.ini != nullptr) {  // the first row has none yet
      ASSERT_TRUE(testfiles::WriteText(ini, c.ini));
    }
    Switch(c.debugBefore, 7, 7, 7, "keep.log");
    g_debugOutput.clear();
    const CMsgX logger;  // lines sent while the master switch is off go nowhere
    EXPECT_EQ(g_debugOutput + std::to_string(CMsgX::m_bDebug) + " " +
                  std::to_string(CMsgX::m_bWrite) + " " + std::to_string(CMsgX::m_nMinLevel) + " " +
                  std::to_string(CMsgX::m_nMaxSize) + " " + CMsgX::m_szLogFile,
              c.after);
  }
}

TEST_F(MsgXTest, RollsOverAFileLargerThanTheLimitNeverOntoAnEarlierOne) {
  const std::string old(100, 'o');
  const std::string line = Stored("2015-3-3 9:5:7 |  R_R : m  #1 \n");
  const struct {
    int limit;
    std::map<std::string, std::string> before, after;  // the log file is "x"
  } cases[] = {
      {100, {{"x", old}}, {{"x", old + line}}},  // exactly the limit: no rollover
      {99, {{"x", old}}, {{"x", line}, {"x_201533957.log", old}}},
      {99,
       {{"x", old}, {"x_201533957.log", "e"}},
       {{"x", line}, {"x_201533957.log", "e"}, {"x_201533957_2.log", old}}},
  };
  g_now = {2015, 3, 3, 9, 5, 7};  // nor are the rolled file's
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    testfiles::TempFolder logs;
    for (const auto& [name, text] : c.before) {
      ASSERT_TRUE(testfiles::WriteText(logs / name, text));
    }
    Switch(1, 1, 0, c.limit, logs / "x");
    CMsgX::Log("m", 0, 1, "");
    EXPECT_EQ(testfiles::ReadTree(logs.Path()), c.after);
  }
}

// The lines of `text`, each without `stamp` before it and the line end after it.
std::multiset<std::string> Lines(const std::string& text, const std::string& stamp = "") {
  std::multiset<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    std::string line = text.substr(at, end - at);
    if (line.ends_with('\r')) {
      line.pop_back();
    }
    EXPECT_TRUE(line.starts_with(stamp)) << line;
    lines.insert(line.substr(stamp.size()));
  }
  return lines;
}

TEST_F(MsgXTest, ThreadsLogAtOnceAndEveryLineArrivesWholeThroughTheRollovers) {
  testfiles::TempFolder logs;
  Switch(1, 1, 0, 4000, logs / "x");
  g_now = {2015, 3, 3, 9, 5, 7};
  g_debugOutput.clear();
  constexpr int kThreads = 4, kLines = 300;
  std::multiset<std::string> expected;
  std::latch started(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kLines; ++i) {
      expected.insert("R_R : t" + std::to_string(t) + "  #" + std::to_string(i) + " ");
    }
    threads.emplace_back([t, &started] {
      const std::string message = std::string("t").append(std::to_string(t));
      started.arrive_and_wait();  // all at once
      for (int i = 0; i < kLines; ++i) {
        CMsgX::Log(message.c_str(), 0, i, "");
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(Lines(g_debugOutput), expected);
  std::string files;  // the log file and those it was rolled over into
  for (const auto& [name, text] : testfiles::ReadTree(logs.Path())) {
    files += text;
  }
  EXPECT_EQ(Lines(files, "2015-3-3 9:5:7 |  "), expected);
}

}  // namespace
