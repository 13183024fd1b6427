// Runs the JPEG reader on bytes built in a test: an EXIF block handed to ParseExif the way an
// APP1 section would hand it over, or a whole file read through a real stream.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "jpeg_builder.h"
#include "metadata/jpeg_meta_reader.h"
#include "metadata/media_date.h"
#include "test_files.h"

namespace metatest {

using jpegbuilder::Bytes;

// A media day as "SOURCE YYYY-MM-DD", or "none".
inline std::string DayText(const MediaDay& found) {
  char text[48] = "none";
  if (found.source != DaySource::kNone) {
    std::snprintf(text, sizeof text, "%s %04d-%02d-%02d", DaySourceLabel(found.source),
                  found.day.year, found.day.month, found.day.day);
  }
  return text;
}

// DayInsideFile on exact-size heap copies of each row's bytes, so that the sanitizer build
// catches a read past the end; each row's day text as DayText gives it.
inline void ExpectDays(MediaKind kind, const std::vector<std::pair<Bytes, std::string>>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Bytes& bytes = rows[i].first;
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    MemorySource source(copy.get(), bytes.size());
    EXPECT_EQ(DayText(DayInsideFile(kind, source, {2030, 1, 1})), rows[i].second) << "row " << i;
  }
}

// ParseExif on "Exif\0\0" + block, from an exact-size heap copy so that the sanitizer build
// catches any read past the block's end.
class ExifParse {
 public:
  explicit ExifParse(const Bytes& block, const PhotoMeta& start = PhotoMeta{})
      : payload_(new std::uint8_t[block.size() + 6]), record_(start) {
    std::copy_n("Exif\0\0", 6, payload_.get());
    std::copy(block.begin(), block.end(), payload_.get() + 6);
    ok = reader_.ParseExif(payload_.get(), static_cast<int>(block.size() + 8));
  }

  bool ok = false;
  const PhotoMeta& Meta() const { return record_; }
  std::string Error() const { return reader_.ErrorText(); }

 private:
  std::unique_ptr<std::uint8_t[]> payload_;
  PhotoMeta record_;
  CJpegMetaReader reader_{&record_};
};

class JpegRead {
 public:
  explicit JpegRead(const Bytes& bytes) {
    using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    const std::string photo = folder_ / "photo.jpg";
    const std::string printed = folder_ / "printed.txt";
    EXPECT_TRUE(jpegbuilder::WriteBytes(photo, bytes));
    {
      File file(std::fopen(photo.c_str(), "rb"), &std::fclose);
      File out(std::fopen(printed.c_str(), "wb"), &std::fclose);
      if (!file || !out) {
        ADD_FAILURE() << "cannot open the test files in " << folder_.Path();
        return;
      }
      SetJpegReaderDiagnostics(out.get());
      ok = reader_.ReadSections(file.get());
      SetJpegReaderDiagnostics(stdout);
    }
    said = reader_.ErrorText() + testfiles::ReadAll(printed);
  }

  bool ok = false;
  std::string said;  // the error text, then what the reader printed
  const PhotoMeta& Meta() const { return record_; }

 private:
  testfiles::TempFolder folder_;
  PhotoMeta record_{};
  CJpegMetaReader reader_{&record_};
};

}  // namespace metatest
