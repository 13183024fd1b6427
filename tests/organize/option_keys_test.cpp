// The option keys in Config.ini are written back only when changed, so a file whose options
// nobody touched keeps its bytes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "organize/app_config.h"
#include "test_files.h"

namespace {

TEST(OptionKeys, OnlyChangedOptionsAreWritten) {
  const std::string five =
      "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=\r\nPathTar=\r\nFileFilters=jpg,avi,mov,mp4\r\n"
      "IsClassifyByYear=1\r\n";
  const std::string handWritten = five + "Sidecars=01\r\nKeepJournal= 1\r\nFolderLayout=day\r\n";
  const struct {
    std::string before;
    std::function<void(CAppConfig&)> change;
    std::string after;
  } cases[] = {
      // Set to what the file holds: kept as written.
      {handWritten, [](CAppConfig& c) { c.Sidecars = c.KeepJournal = 1, c.FolderLayout = "day"; },
       handWritten},
      {five,
       [](CAppConfig& c) {
         c.ReadMediaDates = c.SkipIdentical = c.RenameClashes = c.Sidecars = c.KeepJournal = 1;
         c.FolderLayout = "year-month";
       },
       five + "ReadMediaDates=1\r\nSkipIdentical=1\r\nRenameClashes=1\r\nSidecars=1\r\n"
              "KeepJournal=1\r\nFolderLayout=year-month\r\n"},
      {handWritten, [](CAppConfig& c) { c.Sidecars = c.KeepJournal = 0, c.FolderLayout = ""; },
       five + "Sidecars=0\r\nKeepJournal=0\r\nFolderLayout=\r\n"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.before);
    testfiles::TempFolder folder;
    ASSERT_TRUE(testfiles::WriteText(folder / "Config.ini", test.before));
    CAppConfig config;
    config.PathApp = folder.Path();
    config.LoadConfig();
    test.change(config);
    config.SaveConfig();
    EXPECT_EQ(testfiles::ReadAll(folder / "Config.ini"), test.after);
  }
}

}  // namespace
