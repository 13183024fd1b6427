// The date lookup on real camera photos, against the dates an independent EXIF reader found.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "metadata/photo_date.h"
#include "test_files.h"

namespace {

// Files where our rules give another answer than the independent reader, and why.
const std::map<std::string, std::string> kOurAnswer = {
    // No tag 0x9003 in its EXIF sub-directory: the date lives only in the maker note (0x927C).
    {"Reconyx_HC500_Hyperfire.jpg", ""},
};

// "2008:05:30 15:56:01" -> "2008-05-30"; "-" (no date) -> "".
std::string DayOf(const std::string& exifDate) {
  if (exifDate == "-") {
    return "";
  }
  std::string day = exifDate.substr(0, exifDate.find(' '));
  for (char& c : day) {
    c = c == ':' ? '-' : c;
  }
  return day;
}

TEST(CameraSamples, DatesMatchTheListedOnes) {
  const std::string samples = TALLOWICK_SAMPLES_DIR;
  std::ifstream list(samples + "/camera-dates.tsv");
  ASSERT_TRUE(list) << "missing " << samples << "/camera-dates.tsv";

  std::string line;
  std::getline(list, line);
  ASSERT_EQ(line.rfind("file\texif_DateTimeOriginal", 0), 0u) << line;
  int photos = 0;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    std::istringstream fields(line);
    std::string name, date;
    if (!std::getline(fields, name, '\t') || !std::getline(fields, date, '\t')) {
      continue;
    }
    const std::string path = samples + "/camera/" + name;
    ASSERT_TRUE(testfiles::Exists(path)) << path;
    const auto ours = kOurAnswer.find(name);
    EXPECT_EQ(GetPhotoDate(path), ours != kOurAnswer.end() ? ours->second : DayOf(date)) << name;
    ++photos;
  }
  EXPECT_GE(photos, 20);
}

}  // namespace
