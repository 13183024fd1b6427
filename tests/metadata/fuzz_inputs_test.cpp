// The fuzz target's seeds and every input the fuzzer ever found harmful, replayed through the
// date lookup on each build: the lookup must end with a date-shaped text or none.
#include <gtest/gtest.h>

#include <string>

#include "jpeg_builder.h"
#include "metadata/photo_date.h"
#include "test_files.h"

namespace {

TEST(FuzzInputs, LookupEndsWithADateTextOrNone) {
  const std::string fuzz = TALLOWICK_FUZZ_DIR;
  const std::string folders[] = {fuzz + "/corpus/photo_date/", fuzz + "/regressions/photo_date/"};
  ASSERT_GE(testfiles::ListFiles(folders[0]).size(), 10u) << "the seeds are missing";
  testfiles::TempFolder temp;
  const std::string photo = temp / "input.jpg";  // the lookup reads only names ending in .jpg
  for (const std::string& folder : folders) {
    for (const std::string& name : testfiles::ListFiles(folder)) {
      const std::string bytes = testfiles::ReadAll(folder + name);
      ASSERT_TRUE(jpegbuilder::WriteBytes(photo, jpegbuilder::Bytes(bytes.begin(), bytes.end())));
      const std::string date = GetPhotoDate(photo);
      EXPECT_LE(date.size(), 19u) << name;
      EXPECT_EQ(date.find(':'), std::string::npos) << name;
      if (name == "little_endian.jpg" || name == "big_endian.jpg") {
        EXPECT_EQ(date, "2012-05-17") << name;
      }
    }
  }
}

}  // namespace
