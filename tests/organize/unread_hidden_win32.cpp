// Folders that vanish during the walk are reported, merely hidden ones too, except those
// marked hidden and system, as Windows marks the folders it keeps from users at a drive's root.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "organize_fixture.h"

namespace {

TEST_F(OrganizeTest, VanishedFoldersAreReportedUnlessHiddenBySystem) {
  const Files folders = {"one", "two", "zz_hidden", "zz_kept"};
  for (const std::string& folder : folders) {
    File("src/" + folder + "/" + folder + ".mp4");
  }
  ASSERT_TRUE(SetFileAttributesA((temp / "src/zz_hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA((temp / "src/zz_kept").c_str(),
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  RecordingJob job;
  Files expected;
  job.onProgress = [&] {
    if (job.messages.size() != 1) {
      return;
    }
    // Every folder but the one being walked goes.
    for (const std::string& folder : folders) {
      if (job.messages[0].find(folder + ".mp4") == std::string::npos) {
        SetFileAttributesA((temp / ("src/" + folder)).c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(std::filesystem::u8path(temp / ("src/" + folder)));
        if (folder != "zz_kept") {
          expected.push_back("无法读取文件夹: " + Src() + folder + "\\ (文件夹已不存在)");
        }
      }
    }
  };
  Run(job);
  std::sort(job.unread.begin(), job.unread.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(job.unread, expected);
  EXPECT_EQ(job.m_nUnreadFolders, static_cast<int>(expected.size()));
}

}  // namespace
