// The settings store: Config.ini read with its defaults, written back key by key with every
// other byte kept, the program's folder as the current folder, and the shell launcher.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launch_command.h"
#include "organize/app_config.h"
#include "platform/platform.h"
#include "test_files.h"

namespace {

const std::string kFreshFile =
    "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=D:\\照片\\\r\nPathTar=E:\\整理\\\r\n"
    "FileFilters=jpg,avi,mov,mp4\r\nIsClassifyByYear=1\r\n";

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
  EXPECT_EQ(config.PathSrc, "");
  EXPECT_EQ(config.PathTar, "");
  EXPECT_EQ(config.FileFilters, "jpg,avi,mov,mp4");
  EXPECT_EQ(config.IsClassifyByYear, 1);
  EXPECT_EQ(config.ReadMediaDates + config.SkipIdentical + config.RenameClashes, 0);
  config.PathSrc = "D:\\照片\\";
  config.PathTar = "E:\\整理\\";
  config.SaveConfig();
  EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), kFreshFile);
}

TEST(AppConfig, HandEditedFilesAreReadAndKeptByteForByte) {
  const std::string longPath = "D:\\" + std::string(1997, 'p');
  struct Case {
    const char* name;
    std::string before;
    ConfigValues values;  // as read
    std::string after;    // after saving what was read; empty: as before
  };
  const Case cases[] = {
      {"flat layout",
       "[Brindlemark]\r\nIsClassifyByYear=0\r\n",
       {0, "", "", "jpg,avi,mov,mp4", 0},
       "[Brindlemark]\r\nIsClassifyByYear=0\r\nIsDeleteSrc=0\r\nPathSrc=\r\nPathTar=\r\n"
       "FileFilters=jpg,avi,mov,mp4\r\n"},
      {"filter in capitals, keys added later read but never written",
       "[Brindlemark]\r\nIsDeleteSrc=1\r\nPathSrc=D:\\a\\\r\nPathTar=E:\\b\\\r\n"
       "FileFilters=JPG,Mov\r\nSkipIdentical=1\r\nIsClassifyByYear=1\r\nReadMediaDates=2\r\n"
       "RenameClashes=-1\r\n",
       {1, "D:\\a\\", "E:\\b\\", "JPG,Mov", 1, 2, 1, -1},
       ""},
      // (Blank lines are kept too, except by Wine: see the profile cases.)
      {"other sections and comments",
       "; 注释\r\n[Other]\r\nPathSrc=x\r\n[Brindlemark]\r\nPathTar=E:\\b\\\r\n[Z]\r\n",
       {0, "", "E:\\b\\", "jpg,avi,mov,mp4", 1},
       "; 注释\r\n[Other]\r\nPathSrc=x\r\n[Brindlemark]\r\nPathTar=E:\\b\\\r\nIsDeleteSrc=0\r\n"
       "PathSrc=\r\nFileFilters=jpg,avi,mov,mp4\r\nIsClassifyByYear=1\r\n[Z]\r\n"},
      {"a value of 2,000 bytes is cut to 1023",
       "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=" + longPath +
           "\r\nPathTar=\r\nFileFilters=jpg,avi,mov,mp4\r\nIsClassifyByYear=1\r\n",
       {0, longPath.substr(0, 1023), "", "jpg,avi,mov,mp4", 1},
       "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=" + longPath.substr(0, 1023) +
           "\r\nPathTar=\r\nFileFilters=jpg,avi,mov,mp4\r\nIsClassifyByYear=1\r\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    testfiles::TempFolder folder;
    ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", test.before));
    CAppConfig config;
    LoadFrom(folder.Path(), &config);
    const ConfigValues& v = test.values;
    EXPECT_EQ(config.IsDeleteSrc, v.IsDeleteSrc);
    EXPECT_EQ(config.PathSrc, v.PathSrc);
    EXPECT_EQ(config.PathTar, v.PathTar);
    EXPECT_EQ(config.FileFilters, v.FileFilters);
    EXPECT_EQ(config.IsClassifyByYear, v.IsClassifyByYear);
    EXPECT_EQ(config.ReadMediaDates, v.ReadMediaDates);
    EXPECT_EQ(config.SkipIdentical, v.SkipIdentical);
    EXPECT_EQ(config.RenameClashes, v.RenameClashes);
    config.SaveConfig();
    EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"),
              test.after.empty() ? test.before : test.after);
  }
}

TEST(AppConfig, AReadOnlyProgramFolderLosesNothing) {
  testfiles::TempFolder folder;
  const std::string before = "[Brindlemark]\r\nPathSrc=D:\\a\\\r\n";
  ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", before));
  namespace fs = std::filesystem;
  const fs::path path = fs::u8path(folder.Path());
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const bool writable = testfiles::WriteText(folder / "probe", "x");
  if (writable) {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    GTEST_SKIP() << "this user may write into a read-only folder (root, or Windows folder "
                    "attributes), so a refused write cannot be staged";
  }
  {
    CAppConfig config;
    LoadFrom(folder.Path(), &config);
    config.PathSrc = "E:\\new\\";
    config.SaveConfig();
  }
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), before);
  EXPECT_EQ(testfiles::ListFiles(folder.Path()), std::vector<std::string>{"Config.ini"});
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

TEST(LaunchFile, WaitsForTheProgramOrReportsThatNothingStarted) {
  testfiles::TempFolder folder;
  const std::string marker = folder / "done.txt";
  const LaunchCommand command = WriteMarkerLater(folder.Path(), marker);
  CAppConfig config;
  config.PathApp = folder.Path();
  EXPECT_EQ(config.LaunchFile(command.file.c_str(), command.parameters.c_str(), true, 1, "open"),
            0);
  EXPECT_TRUE(testfiles::Exists(marker));  // written just before the program ended
  const ShellErrorBoxAnswerer answerer;
  EXPECT_EQ(config.LaunchFile("tallowick-no-such-program", "", true, 1, "open"), -1);
  EXPECT_EQ(config.LaunchFile("tallowick-no-such-program", "", false, 1, "open"), 0);
}

}  // namespace
