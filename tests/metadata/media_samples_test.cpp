// The media date lookup on small real videos and HEIF images written by Debian's own tools
// (tools/make_media_samples.sh), against the days exiftool reads from them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "metadata/media_date.h"
#include "test_files.h"

namespace {

TEST(MediaSamples, DaysMatchTheReferenceReader) {
  const std::string samples = TALLOWICK_MEDIA_SAMPLES_DIR;
  std::ifstream list(samples + "/dates.tsv");
  ASSERT_TRUE(list) << "missing " << samples << "/dates.tsv";
  std::string line;
  std::getline(list, line);
  ASSERT_EQ(line, "file\tday\ttag");
  int files = 0;
  for (std::string name, day, tag; std::getline(list, line); ++files) {
    std::istringstream fields(line);
    ASSERT_TRUE(std::getline(fields, name, '\t')) << line;
    std::getline(fields, day, '\t');
    std::getline(fields, tag, '\t');
    const std::string path = samples + "/" + name;
    ASSERT_TRUE(testfiles::Exists(path)) << path;

    const MediaDay found = FindMediaDay(path);
    char text[16] = "";
    if (found.source != DaySource::kNone) {
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", found.day.year, found.day.month,
                    found.day.day);
    }
    EXPECT_EQ(text, day) << name;
    // The key exiftool calls CreationDate is the local one; CreateDate is the movie header's.
    const DaySource expected = tag == "CreationDate"       ? DaySource::kQuickTimeLocal
                               : tag == "CreateDate"       ? DaySource::kQuickTimeUtc
                               : tag == "DateTimeOriginal" ? DaySource::kHeicExif
                                                           : DaySource::kNone;
    EXPECT_EQ(found.source, expected) << name;
  }
  EXPECT_GE(files, 7);
}

}  // namespace
