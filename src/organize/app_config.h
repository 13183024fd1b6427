// The settings store: the program's folder, the settings kept in Config.ini beside the program,
// and the shell launcher.
#pragma once

#include <string>

// The section of Config.ini that holds the settings.
inline constexpr char kConfigSection[] = "Brindlemark";
inline constexpr char kConfigFileName[] = "Config.ini";

// The settings as read from one Config.ini; a missing file, section or key gives the value
// written here.
struct ConfigValues {
  int IsDeleteSrc = 0;
  std::string PathSrc;
  std::string PathTar;
  std::string FileFilters = "jpg,avi,mov,mp4";
  int IsClassifyByYear = 1;
  // The options beyond the five settings; off by default. A key is written back only when its
  // value differs from what the file gave, so a file nobody changed keeps its bytes.
  int ReadMediaDates = 0;
  int SkipIdentical = 0;
  int RenameClashes = 0;
  int Sidecars = 0;
  int KeepJournal = 0;         // the window writes a journal of each job (journal folder)
  int Jobs = 0;                // files placed at once; 0 (or less): as suits the disks
  int RawFolder = 0;           // raw photos go into a RAW folder below their day
  std::string FolderLayout{};  // a FolderLayoutName; empty: what IsClassifyByYear says
};

// Reads the settings from the file at `iniPath`. Only reads: the command-line tool uses this
// and never writes the file.
ConfigValues ReadConfigFile(const std::string& iniPath);

// The window program's settings: created before anything else runs, it makes the program's
// folder the current folder and loads Config.ini from there; destroyed last, it writes the five
// settings back.
class CAppConfig {
 public:
  CAppConfig();
  virtual ~CAppConfig();
  CAppConfig(const CAppConfig&) = delete;
  CAppConfig& operator=(const CAppConfig&) = delete;

  // Fills PathApp with the program's folder and makes it the current folder.
  void FindAppPath();
  // Reads every setting from PathApp + "Config.ini".
  void LoadConfig();
  // Writes the five settings, and each option whose value differs from what the file gave
  // (a key the file lacks gave its default); the options left as read are not touched.
  void SaveConfig();

  // Runs `file` through the shell (see platform::LaunchFile): with `wait` set returns once it
  // has ended, 0, or -1 at once when nothing was started; without `wait` returns 0.
  int LaunchFile(const char* file, const char* parameters, bool wait, int show, const char* verb);

  std::string PathApp;  // ends with the separator
  int IsDeleteSrc = 0;
  std::string PathSrc;
  std::string PathTar;
  std::string FileFilters;
  int IsClassifyByYear = 1;
  int ReadMediaDates = 0;
  int SkipIdentical = 0;
  int RenameClashes = 0;
  int Sidecars = 0;
  int KeepJournal = 0;
  int Jobs = 0;
  int RawFolder = 0;
  std::string FolderLayout;

 private:
  ConfigValues m_loaded;  // as LoadConfig read them, to tell which options changed
};

// Defined by the window program, which fixes the order in which its globals are built.
extern CAppConfig theConfig;
