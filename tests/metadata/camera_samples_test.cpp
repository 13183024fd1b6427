// The date lookup on real camera photos, against the dates an independent EXIF reader found.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "metadata/photo_date.h"
#include "test_files.h"

namespace {

TEST(CameraSamples, DatesMatchTheListedOnes) {
  const std::string samples = TALLOWICK_SAMPLES_DIR;
  std::ifstream list(samples + "/camera-dates.tsv");
  ASSERT_TRUE(list) << "missing " << samples << "/camera-dates.tsv";
  std::string line;
  std::getline(list, line);
  ASSERT_EQ(line.rfind("file\texif_DateTimeOriginal", 0), 0u) << line;
  int photos = 0;
  for (std::string name, date; std::getline(list, line); ++photos) {
    std::istringstream fields(line);
    ASSERT_TRUE(std::getline(fields, name, '\t') && std::getline(fields, date, '\t')) << line;
    // "2008:05:30 15:56:01" gives "2008-05-30"; "-" (no date) gives "".
    std::string day = date == "-" ? "" : date.substr(0, date.find(' '));
    std::replace(day.begin(), day.end(), ':', '-');
    // This one has no tag 0x9003: its date lives only in the maker note (0x927C).
    if (name == "Reconyx_HC500_Hyperfire.jpg") {
      day.clear();
    }
    const std::string path = samples + "/camera/" + name;
    ASSERT_TRUE(testfiles::Exists(path)) << path;
    EXPECT_EQ(GetPhotoDate(path), day) << name;
  }
  EXPECT_GE(photos, 20);
}

}  // namespace
