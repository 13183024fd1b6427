// The logger: exact line and time-stamp bytes, its switches, MsgX.ini, and the rollover of the
// log file, with the debugger output and the clock taken over by the test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/msgx.h"
#include "log/msgx_seams.h"
#include "platform/profile.h"
#include "test_files.h"

namespace {

// The log file is written in text mode: on Windows a line feed is stored as CR LF.
#if defined(_WIN32)
constexpr char kStoredLineEnd[] = "\r\n";
#else
constexpr char kStoredLineEnd[] = "\n";
#endif

std::string Stored(const std::string& text) {
  std::string stored;
  for (const char c : text) {
    stored += c == '\n' ? std::string(kStoredLineEnd) : std::string(1, c);
  }
  return stored;
}

std::string g_debugOutput;

// 9:05:07 on 3 March 2015.
platform::LocalTime FixedClock() {
  return {2015, 3, 3, 9, 5, 7};
}
constexpr char kStamp[] = "2015-3-3 9:5:7 |  ";

class MsgXTest : public testing::Test {
 protected:
  void SetUp() override {
    g_debugOutput.clear();
    MsgXSeams seams;
    seams.debugOutput = [](const char* line) { g_debugOutput += line; };
    seams.clock = &FixedClock;
    seams.settingsFolder = settings_.Path();
    SetMsgXSeams(seams);
    SwitchFile(true, 0, 2048000);
  }
  void TearDown() override {
    SetMsgXSeams(MsgXSeams());
    CMsgX::m_bDebug = 1;
    SwitchFile(false, 0, 2048000);
    std::snprintf(CMsgX::m_szLogFile, sizeof CMsgX::m_szLogFile, "c:\\MsgX.log");
  }
  void SwitchFile(bool write, int minLevel, int maxSize) {
    CMsgX::m_bDebug = 1;
    CMsgX::m_bWrite = write ? 1 : 0;
    CMsgX::m_nMinLevel = minLevel;
    CMsgX::m_nMaxSize = maxSize;
    std::snprintf(CMsgX::m_szLogFile, sizeof CMsgX::m_szLogFile, "%s", log_.c_str());
  }
  std::string LogText() const { return testfiles::ReadAll(log_); }

  testfiles::TempFolder settings_;
  testfiles::TempFolder logs_;
  std::string log_ = logs_ / "MsgX.log";
};

TEST_F(MsgXTest, LinesHaveTheirExactBytes) {
  struct Case {
    int level;
    const char* message;
    int line;
    const char* detail;
    const char* expected;
  } const cases[] = {
      {0, "hello", 12, "", "R_R : hello  #12 \n"},
      {1, "CMsgX Reading...", 0, "", "R_R  Info: CMsgX Reading...  #0 \n"},
      {2, "disk", -3, "d", "R_R  Warning: disk  #-3 d\n"},
      {3, "照片", 277, "detail text", "R_R  Error: 照片  #277 detail text\n"},
      {0, "CGlobal::SaveData2Stream: GlobalAlloc Error! ", 246, "",
       "R_R : CGlobal::SaveData2Stream: GlobalAlloc Error!   #246 \n"},
  };
  std::string expectedFile;
  for (const Case& test : cases) {
    g_debugOutput.clear();
    CMsgX::Log(test.message, test.level, test.line, test.detail);
    EXPECT_EQ(g_debugOutput, test.expected);
    expectedFile += std::string(kStamp) + test.expected;
  }
  CMsgX::m_nLine = 770;
  g_debugOutput.clear();
  CMsgX::Printf("皮肤背景大小为: %d, %d", 622, 416);
  EXPECT_EQ(g_debugOutput, "R_R : 皮肤背景大小为: 622, 416  #770 \n");
  expectedFile += std::string(kStamp) + g_debugOutput;
  EXPECT_EQ(LogText(), Stored(expectedFile));
}

TEST_F(MsgXTest, StampNumbersAreNotPadded) {
  SetMsgXSeams({[](const char*) {}, [] { return platform::LocalTime{2026, 12, 31, 23, 0, 59}; },
                settings_.Path()});
  CMsgX::Log("m", 0, 1, "");
  EXPECT_EQ(LogText(), Stored("2026-12-31 23:0:59 |  R_R : m  #1 \n"));
}

TEST_F(MsgXTest, SwitchesAndMinimumLevelDecideWhereALineGoes) {
  struct Case {
    int debug, write, minLevel, level;
    bool toDebugger, toFile;
  } const cases[] = {
      {0, 1, 0, 3, false, false},  // master switch off: nothing at all
      {1, 0, 0, 3, true, false},   // file switch off
      {1, 1, 3, 2, true, false},   // below the minimum level
      {1, 1, 2, 2, true, true},   {1, 1, -1, 0, true, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(testing::Message() << test.debug << test.write << test.minLevel << test.level);
    testfiles::TempFolder folder;
    SwitchFile(test.write != 0, test.minLevel, 2048000);
    const std::string log = folder / "x.log";
    std::snprintf(CMsgX::m_szLogFile, sizeof CMsgX::m_szLogFile, "%s", log.c_str());
    CMsgX::m_bDebug = test.debug;
    g_debugOutput.clear();
    CMsgX::Log("m", test.level, 1, "");
    CMsgX::Printf("p");
    EXPECT_EQ(!g_debugOutput.empty(), test.toDebugger);
    EXPECT_EQ(testfiles::Exists(log), test.toFile);
  }
}

TEST_F(MsgXTest, ReadSettingsTakesMsgXIniOnlyWhenTheMasterSwitchIsOff) {
  const std::string ini = settings_ / "MsgX.ini";
  struct Case {
    const char* ini;  // null: no file
    int debug, write, level, size;
    const char* file;
  } const cases[] = {
      {nullptr, 0, 0, 0, 2048000, "c:\\MsgX.log"},  // the built-in default name
      {"[Log]\r\nDebug=1\r\nWrite=1\r\nLevel=2\r\nSize=100\r\nfile=D:\\logs\\a.log\r\n", 1, 1, 2,
       100, "D:\\logs\\a.log"},
      {"[log]\r\ndebug=1\r\nfile=x\r\n", 1, 0, 0, 2048000, "keep.log"},  // one character
      {"[Log]\r\nfile=xy\r\nSize=0\r\n", 0, 0, 0, 0, "xy"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.ini != nullptr ? test.ini : "no MsgX.ini");
    std::remove(ini.c_str());
    if (test.ini != nullptr) {
      ASSERT_TRUE(testfiles::WriteText(ini, test.ini));
    }
    CMsgX::m_bDebug = 0;
    CMsgX::m_bWrite = 7;
    std::snprintf(CMsgX::m_szLogFile, sizeof CMsgX::m_szLogFile, "keep.log");
    g_debugOutput.clear();
    CMsgX::ReadSettings();
    EXPECT_EQ(g_debugOutput, "");  // sent while the master switch was still off
    EXPECT_EQ(CMsgX::m_bDebug, test.debug);
    EXPECT_EQ(CMsgX::m_bWrite, test.write);
    EXPECT_EQ(CMsgX::m_nMinLevel, test.level);
    EXPECT_EQ(CMsgX::m_nMaxSize, test.size);
    EXPECT_STREQ(CMsgX::m_szLogFile, test.file);
  }
}

TEST_F(MsgXTest, ConstructionWithTheBuiltInValuesOnlySaysSo) {
  ASSERT_TRUE(testfiles::WriteText(settings_ / "MsgX.ini", "[Log]\r\nDebug=0\r\nWrite=1\r\n"));
  CMsgX::m_bWrite = 0;
  const CMsgX logger;
  EXPECT_EQ(g_debugOutput,
            "R_R  Info: CMsgX Reading...  #0 \nR_R  Info: CMsgX Already Set.  #0 \n");
  EXPECT_EQ(CMsgX::m_bDebug, 1);
  EXPECT_EQ(CMsgX::m_bWrite, 0);
  EXPECT_FALSE(testfiles::Exists(log_));
}

TEST_F(MsgXTest, RollsOverOnlyAFileLargerThanTheLimit) {
  const std::string old(100, 'o');
  const std::string line = std::string(kStamp) + "R_R : m  #1 \n";
  const std::string rolled = log_ + "_201533957.log";
  for (const int limit : {100, 99}) {
    SCOPED_TRACE(limit);
    ASSERT_TRUE(testfiles::WriteText(log_, old));
    std::remove(rolled.c_str());
    SwitchFile(true, 0, limit);
    CMsgX::Log("m", 0, 1, "");
    if (limit == 100) {  // exactly the limit: no rollover
      EXPECT_EQ(LogText(), old + Stored(line));
      EXPECT_FALSE(testfiles::Exists(rolled));
    } else {
      EXPECT_EQ(LogText(), Stored(line));
      EXPECT_EQ(testfiles::ReadAll(rolled), old);
    }
  }
}

TEST_F(MsgXTest, AnExistingRolledNameIsNeverOverwritten) {
  const std::string rolled = log_ + "_201533957.log";
  ASSERT_TRUE(testfiles::WriteText(rolled, "first"));
  ASSERT_TRUE(testfiles::WriteText(log_, "second"));
  SwitchFile(true, 0, 0);
  CMsgX::Log("m", 0, 1, "");  // the same second as the first rollover
  EXPECT_EQ(testfiles::ReadAll(rolled), "first");
  EXPECT_EQ(testfiles::ReadAll(log_ + "_201533957_2.log"), "second");
  EXPECT_EQ(LogText(), Stored(std::string(kStamp) + "R_R : m  #1 \n"));
}

}  // namespace
