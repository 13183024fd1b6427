// The day-folder layouts: their names, which one a job uses, and where each puts a photo; a
// date that cannot serve as folders sends the file to its own day, inside the target.
#include <algorithm>
#include <string>
#include <vector>

#include "organize/folder_layout.h"
#include "organize_fixture.h"

namespace {

TEST(FolderLayout, EachNameReadsBackAndAnyOtherKeyLeavesTheChoiceToTheYearFlag) {
  for (FolderLayout layout : kFolderLayouts) {
    EXPECT_EQ(EffectiveLayout(FolderLayoutName(layout), 0), layout);
  }
  EXPECT_EQ(EffectiveLayout("Day", 0), FolderLayout::kDay);
  EXPECT_EQ(EffectiveLayout("day ", -3), FolderLayout::kYearDay);
}

TEST_F(OrganizeTest, EachLayoutPlacesByTheDateItsPartsAllowElseByTheFileDay) {
  struct Row {
    const char* date;
    // year-month-day, year-month, numeric; by default those of the file's day, 2019-03-04.
    const char* folders[3] = {"2019年/03月/2019-03-04", "2019年/2019-03", "2019/03/04"};
  };
  std::vector<Row> photos = {
      {"2012:05:17 10:20:30", {"2012年/05月/2012-05-17", "2012年/2012-05", "2012/05/17"}},
      {"Mon:day:x", {"Mon年/day月/Mon-day-x", "Mon年/Mon-day", "Mon/day/x"}},
      {"2012:05:17:03", {"2012年/05月/2012-05-17-03", "2012年/2012-05", "2012/05/17-03"}},
  };
  // A part that is empty, blank or climbs out of its folder: the file's own day instead.
  for (const char* date :
       {"", "2012:05", "20120517", "..:..:..", "2012:..:17", "2012:05:..", ":05:17", "2012::17",
        "2012:05:", "  :05:17", "2012: .:17", "2012:05/..:17", "../..:05:17"}) {
    photos.push_back({date});
  }
  Files expected;
  const char* const names[] = {"year-month-day", "year-month", "numeric"};
  for (std::size_t i = 0; i < photos.size(); ++i) {
    const std::string name = std::to_string(i) + ".jpg";
    Photo("in/src/" + name, photos[i].date);
    expected.push_back("in/src/" + name);
    for (int layout = 0; layout < 3; ++layout) {
      expected.push_back("in/a/b/" + std::string(names[layout]) + "/" + photos[i].folders[layout] +
                         "/" + name);
    }
  }
  for (const char* name : names) {
    ASSERT_TRUE(testfiles::MakeFolders(temp / "in/a/b/" + name));
    RecordingJob job;
    job.m_settings.SetLayout(EffectiveLayout(name, 1));
    Run(job, Folder("in/src"), Folder(std::string("in/a/b/") + name));
    EXPECT_EQ(job.m_nFailCount, 0) << name << job.m_strErrors;
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(testfiles::ListFiles(temp.Path()), expected);
}

}  // namespace
