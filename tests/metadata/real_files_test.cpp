// The date lookups on real files against an independent reader: camera photos, and small videos
// and images written by Debian's own tools (tools/make_media_samples.sh,
// tools/make_camera_samples.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "metadata/photo_date.h"
#include "metadata_test_support.h"

namespace {

// The first three fields of each row below the header line of a tab-separated list.
std::vector<std::array<std::string, 3>> Rows(const std::string& list) {
  std::ifstream in(list);
  std::string line;
  std::getline(in, line);
  std::vector<std::array<std::string, 3>> rows;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    for (std::string& field : rows.emplace_back()) {
      std::getline(fields, field, '\t');
    }
  }
  return rows;
}

TEST(RealFiles, DaysMatchTheIndependentReader) {
  const std::string camera = TALLOWICK_SAMPLES_DIR;
  const auto photos = Rows(camera + "/camera-dates.tsv");
  EXPECT_GE(photos.size(), 20u);
  for (const auto& [name, date, byteOrder] : photos) {
    // "2008:05:30 15:56:01" gives "2008-05-30", "-" none. The Reconyx photo keeps its date only
    // in its maker note (0x927C), not in tag 0x9003.
    std::string day = date == "-" || name.starts_with("Reconyx") ? "" : date.substr(0, 10);
    std::replace(day.begin(), day.end(), ':', '-');
    EXPECT_EQ(GetPhotoDate(camera + "/camera/" + name), day) << name;
  }

  const std::string media = TALLOWICK_MEDIA_SAMPLES_DIR;
  const auto files = Rows(media + "/dates.tsv");
  EXPECT_GE(files.size(), 7u);
  // The reader's CreationDate is the local key, its CreateDate the movie header's time.
  const std::map<std::string, std::string> sources = {{"CreationDate", "QuickTime local "},
                                                      {"CreateDate", "QuickTime UTC "},
                                                      {"DateTimeOriginal", "HEIC EXIF "}};
  for (const auto& [name, day, tag] : files) {
    const std::string found = metatest::DayText(FindMediaDay(media + "/" + name));
    EXPECT_EQ(found, tag.empty() ? "none" : sources.at(tag) + day) << name;
  }

  // Still images and videos of tools/make_camera_samples.sh; the list names each one's source.
  const auto stills = Rows(media + "/camera/dates.tsv");
  EXPECT_GE(stills.size(), 11u);
  for (const auto& [name, day, source] : stills) {
    EXPECT_EQ(metatest::DayText(FindMediaDay(media + "/camera/" + name)),
              day.empty() ? "none" : source + " " + day)
        << name;
  }
}

}  // namespace
