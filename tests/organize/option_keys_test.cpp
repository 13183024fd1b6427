// The option keys in Config.ini: read with their defaults, and written back only when changed,
// so a file whose options nobody touched keeps its bytes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "organize/app_config.h"
#include "test_files.h"

namespace {

const std::string kFive =
    "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=\r\nPathTar=\r\nFileFilters=jpg,avi,mov,mp4\r\n"
    "IsClassifyByYear=1\r\n";

TEST(OptionKeys, OnlyChangedOptionsAreWritten) {
  struct Case {
    const char* name;
    std::string before;
    std::function<void(CAppConfig&)> change;
    std::string after;
  } const cases[] = {
      {"untouched defaults", kFive, [](CAppConfig&) {}, kFive},
      {"hand-written values, read and kept as written",
       kFive + "Sidecars=01\r\nKeepJournal= 1\r\nFolderLayout=numeric\r\n",
       [](CAppConfig& c) {
         EXPECT_EQ(c.Sidecars + c.KeepJournal, 2);
         EXPECT_EQ(c.FolderLayout, "numeric");
       },
       kFive + "Sidecars=01\r\nKeepJournal= 1\r\nFolderLayout=numeric\r\n"},
      {"each option set", kFive,
       [](CAppConfig& c) {
         c.ReadMediaDates = c.SkipIdentical = c.RenameClashes = c.Sidecars = c.KeepJournal = 1;
         c.FolderLayout = "year-month";
       },
       kFive + "ReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\nSidecars=1\r\n"
               "KeepJournal=1\r\nFolderLayout=year-month\r\n"},
      {"set back to the default where the file holds the key",
       kFive + "SkipIdentical=1\r\nFolderLayout=day\r\n",
       [](CAppConfig& c) {
         c.SkipIdentical = 0;
         c.FolderLayout.clear();
         c.RenameClashes = 1;
         c.RenameClashes = 0;  // changed and changed back: as read
       },
       kFive + "SkipIdentical=0\r\nFolderLayout=\r\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    testfiles::TempFolder folder;
    ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", test.before));
    CAppConfig config;
    config.PathApp = folder.Path();
    config.LoadConfig();
    test.change(config);
    config.SaveConfig();
    EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), test.after);
    const ConfigValues read = ReadConfigFile(folder / "Config.ini");
    EXPECT_EQ(read.Sidecars, config.Sidecars);
    EXPECT_EQ(read.KeepJournal, config.KeepJournal);
    EXPECT_EQ(read.FolderLayout, config.FolderLayout);
    EXPECT_EQ(read.SkipIdentical, config.SkipIdentical);
  }
}

}  // namespace
