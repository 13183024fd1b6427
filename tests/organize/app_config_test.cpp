// The settings store: Config.ini read with its defaults and written back key by key, the keys
// that are only read, and the program's folder as the current folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "organize/app_config.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

// The settings of `folder`'s Config.ini, as the window program loads them.
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

}  // namespace
