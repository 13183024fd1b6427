// Diagnostic logger: one process-wide set of switches; lines go to the debugger output and,
// when switched on by MsgX.ini, to a log file rolled over by size. Any thread may call it: one
// lock keeps its switches, lines and log file whole (the switches themselves are set before
// threads start, or through ReadSettings).
#pragma once

class CMsgX {
 public:
  CMsgX();  // runs ReadSettings
  ~CMsgX() = default;
  CMsgX(const CMsgX&) = delete;
  CMsgX& operator=(const CMsgX&) = delete;

  static void ReadSettings();
  static void Log(const char* message, int level, int line, const char* detail);
  static void Printf(const char* format, ...);
  static void WriteLine(const char* line, int level);

  static int m_bDebug;
  static int m_bWrite;
  static int m_nMinLevel;
  static int m_nMaxSize;
  static char m_szLogFile[260];
  static int m_nLine;
};

// Defined by the program that owns the start-up order of its globals (the window program), not
// by the logger's own source file.
extern CMsgX theMsgX;
