// The settings store: Config.ini read with its defaults and written back key by key, the keys
// that are only read, option keys written only when changed (so a file whose options nobody
// touched keeps its bytes), and the program's folder as the current folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "organize/app_config.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

void LoadFrom(const std::string& folder, CAppConfig* config) {
  config->PathApp = folder;
  config->LoadConfig();
}

TEST(AppConfig, WithoutAFileStartsWithDefaultsAndWritesAllFiveKeysInOrder) {
  testfiles::TempFolder folder;
  CAppConfig config;
  LoadFrom(folder.Path(), &config);
  EXPECT_EQ(config.IsDeleteSrc, 0);
  EXPECT_EQ(config.PathSrc + config.PathTar, "");
  EXPECT_EQ(config.FileFilters, "jpg,avi,mov,mp4");
  EXPECT_EQ(config.IsClassifyByYear, 1);
  EXPECT_EQ(config.ReadMediaDates + config.SkipIdentical + config.RenameClashes, 0);
  config.PathSrc = "D:\\照片\\";
  config.PathTar = "E:\\整理\\";
  config.SaveConfig();
  EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"),
            "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=D:\\照片\\\r\nPathTar=E:\\整理\\\r\n"
            "FileFilters=jpg,avi,mov,mp4\r\nIsClassifyByYear=1\r\n");
}

TEST(AppConfig, EveryKeyIsReadAndTheHandSetOnesAreNeverWritten) {
  testfiles::TempFolder folder;
  const std::string file =
      "[Brindlemark]\r\nIsDeleteSrc=1\r\nPathSrc=D:\\a\\\r\nPathTar=E:\\b\\\r\n"
      "FileFilters=JPG,Mov\r\nSkipIdentical=1\r\nIsClassifyByYear=0\r\nReadMediaDates=2\r\n"
      "RenameClashes=-1\r\n";
  ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", file));
  CAppConfig config;
  LoadFrom(folder.Path(), &config);
  EXPECT_EQ(config.IsDeleteSrc, 1);
  EXPECT_EQ(config.PathSrc, "D:\\a\\");
  EXPECT_EQ(config.PathTar, "E:\\b\\");
  EXPECT_EQ(config.FileFilters, "JPG,Mov");
  EXPECT_EQ(config.IsClassifyByYear, 0);
  EXPECT_EQ(config.ReadMediaDates, 2);
  EXPECT_EQ(config.SkipIdentical, 1);
  EXPECT_EQ(config.RenameClashes, -1);
  config.SaveConfig();
  EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), file);
}

TEST(AppConfig, TheProgramFolderIsTheCurrentFolderWhereverItStarted) {
  testfiles::TempFolder elsewhere;
  const testfiles::CurrentFolder here(elsewhere.Path());
  {
    CAppConfig config;
    EXPECT_EQ(config.PathApp, platform::ProgramFolder());
    const std::u8string current = std::filesystem::current_path().u8string();
    EXPECT_EQ(std::string(current.begin(), current.end()) + platform::kPathSeparator,
              platform::ProgramFolder());
    config.PathApp = elsewhere.Path();  // its save at the end goes here, not beside the program
  }
  EXPECT_TRUE(testfiles::Exists(elsewhere / "Config.ini"));
}

TEST(OptionKeys, OnlyChangedOptionsAreWritten) {
  const std::string five =
      "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=\r\nPathTar=\r\nFileFilters=jpg,avi,mov,mp4\r\n"
      "IsClassifyByYear=1\r\n";
  const std::string handWritten =
      five + "Sidecars=01\r\nKeepJournal= 1\r\nRawFolder=1\r\nJobs=08\r\nFolderLayout=day\r\n";
  const struct {
    std::string before;
    std::function<void(CAppConfig&)> change;
    std::string after;
  } cases[] = {
      // Set to what the file holds: kept as written.
      {handWritten,
       [](CAppConfig& c) { c.Sidecars = c.KeepJournal = 1, c.Jobs = 8, c.FolderLayout = "day"; },
       handWritten},
      {five,
       [](CAppConfig& c) {
         c.ReadMediaDates = c.SkipIdentical = c.RenameClashes = c.Sidecars = c.KeepJournal = 1;
         c.RawFolder = 1;
         c.FolderLayout = "year-month";
       },
       five + "ReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\nSidecars=1\r\n"
              "KeepJournal=1\r\nRawFolder=1\r\nFolderLayout=year-month\r\n"},
      {handWritten,
       [](CAppConfig& c) { c.Sidecars = c.KeepJournal = c.Jobs = 0, c.FolderLayout = ""; },
       five + "Sidecars=0\r\nKeepJournal=0\r\nRawFolder=1\r\nJobs=0\r\nFolderLayout=\r\n"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.before);
    testfiles::TempFolder folder;
    ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", test.before));
    CAppConfig config;
    LoadFrom(folder.Path(), &config);
    test.change(config);
    config.SaveConfig();
    EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), test.after);
  }
}

}  // namespace
