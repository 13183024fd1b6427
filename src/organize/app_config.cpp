// The settings store: Config.ini through the INI layer, read at creation and written back at
// destruction, and the launcher.
#include "organize/app_config.h"

#include "platform/launch.h"
#include "platform/platform.h"
#include "platform/profile.h"

namespace {

// Text values are read into a buffer of this many bytes: longer ones are cut.
constexpr std::size_t kValueBuffer = 1024;

int ReadInt(const std::string& path, const char* key, int fallback) {
  return platform::ReadIniInt(path, kConfigSection, key, fallback);
}

std::string ReadText(const std::string& path, const char* key, const std::string& fallback) {
  return platform::ReadIniText(path, kConfigSection, key, fallback.c_str(), kValueBuffer);
}

void Write(const std::string& path, const char* key, const std::string& value) {
  platform::WriteIniText(path, kConfigSection, key, value.c_str());
}

void WriteIfChanged(const std::string& path, const char* key, int value, int loaded) {
  if (value != loaded) {
    Write(path, key, std::to_string(value));
  }
}

}  // namespace

ConfigValues ReadConfigFile(const std::string& iniPath) {
  const ConfigValues defaults;
  ConfigValues values;
  values.IsDeleteSrc = ReadInt(iniPath, "IsDeleteSrc", defaults.IsDeleteSrc);
  values.PathSrc = ReadText(iniPath, "PathSrc", defaults.PathSrc);
  values.PathTar = ReadText(iniPath, "PathTar", defaults.PathTar);
  values.FileFilters = ReadText(iniPath, "FileFilters", defaults.FileFilters);
  values.IsClassifyByYear = ReadInt(iniPath, "IsClassifyByYear", defaults.IsClassifyByYear);
  values.ReadMediaDates = ReadInt(iniPath, "ReadMediaDates", defaults.ReadMediaDates);
  values.SkipIdentical = ReadInt(iniPath, "SkipIdentical", defaults.SkipIdentical);
  values.RenameClashes = ReadInt(iniPath, "RenameClashes", defaults.RenameClashes);
  values.Sidecars = ReadInt(iniPath, "Sidecars", defaults.Sidecars);
  values.KeepJournal = ReadInt(iniPath, "KeepJournal", defaults.KeepJournal);
  values.Jobs = ReadInt(iniPath, "Jobs", defaults.Jobs);
  values.RawFolder = ReadInt(iniPath, "RawFolder", defaults.RawFolder);
  values.FolderLayout = ReadText(iniPath, "FolderLayout", defaults.FolderLayout);
  return values;
}

CAppConfig::CAppConfig() {
  FindAppPath();
  LoadConfig();
}

CAppConfig::~CAppConfig() {
  SaveConfig();
}

void CAppConfig::FindAppPath() {
  PathApp = platform::ProgramFolder();
  platform::SetCurrentFolder(PathApp);  // a failure is not reported
}

void CAppConfig::LoadConfig() {
  const ConfigValues values = ReadConfigFile(PathApp + kConfigFileName);
  IsDeleteSrc = values.IsDeleteSrc;
  PathSrc = values.PathSrc;
  PathTar = values.PathTar;
  FileFilters = values.FileFilters;
  IsClassifyByYear = values.IsClassifyByYear;
  ReadMediaDates = values.ReadMediaDates;
  SkipIdentical = values.SkipIdentical;
  RenameClashes = values.RenameClashes;
  Sidecars = values.Sidecars;
  KeepJournal = values.KeepJournal;
  Jobs = values.Jobs;
  RawFolder = values.RawFolder;
  FolderLayout = values.FolderLayout;
  m_loaded = values;
}

void CAppConfig::SaveConfig() {
  // Failures are not reported: the settings are then simply not kept.
  const std::string path = PathApp + kConfigFileName;
  Write(path, "IsDeleteSrc", std::to_string(IsDeleteSrc));
  Write(path, "PathSrc", PathSrc);
  Write(path, "PathTar", PathTar);
  Write(path, "FileFilters", FileFilters);
  Write(path, "IsClassifyByYear", std::to_string(IsClassifyByYear));
  // The options: only those changed since loading, so a file written by a run that left them
  // alone keeps its bytes (a hand-written "01" stays "01").
  WriteIfChanged(path, "ReadMediaDates", ReadMediaDates, m_loaded.ReadMediaDates);
  WriteIfChanged(path, "SkipIdentical", SkipIdentical, m_loaded.SkipIdentical);
  WriteIfChanged(path, "RenameClashes", RenameClashes, m_loaded.RenameClashes);
  WriteIfChanged(path, "Sidecars", Sidecars, m_loaded.Sidecars);
  WriteIfChanged(path, "KeepJournal", KeepJournal, m_loaded.KeepJournal);
  WriteIfChanged(path, "Jobs", Jobs, m_loaded.Jobs);
  WriteIfChanged(path, "RawFolder", RawFolder, m_loaded.RawFolder);
  if (FolderLayout != m_loaded.FolderLayout) {
    Write(path, "FolderLayout", FolderLayout);
  }
}

int CAppConfig::LaunchFile(const char* file, const char* parameters, bool wait, int show,
                           const char* verb) {
  return platform::LaunchFile(file, parameters, wait, show, verb);
}
