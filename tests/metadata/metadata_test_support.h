// Runs the JPEG reader on bytes built in a test: an EXIF block handed to ParseExif the way an
// APP1 section would hand it over, or a whole file read through a real stream.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "jpeg_builder.h"
#include "metadata/jpeg_meta_reader.h"
#include "test_files.h"

namespace metatest {

using jpegbuilder::Bytes;

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
  const std::uint8_t* Block() const { return payload_.get() + 6; }

 private:
  std::unique_ptr<std::uint8_t[]> payload_;
  PhotoMeta record_;
  CJpegMetaReader reader_{&record_};
};

// ReadSections on a file holding `bytes`; what the reader prints is kept in Printed().
class JpegRead {
 public:
  explicit JpegRead(const Bytes& bytes) {
    using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;
    EXPECT_TRUE(jpegbuilder::WriteBytes(folder_ / "photo.jpg", bytes));
    {
      File file(std::fopen((folder_ / "photo.jpg").c_str(), "rb"), &std::fclose);
      File printed(std::fopen((folder_ / "printed.txt").c_str(), "wb"), &std::fclose);
      if (!file || !printed) {
        ADD_FAILURE() << "cannot open the test files in " << folder_.Path();
        return;
      }
      SetJpegReaderDiagnostics(printed.get());
      ok = reader_.ReadSections(file.get());
      SetJpegReaderDiagnostics(stdout);
    }
    printed_ = testfiles::ReadAll(folder_ / "printed.txt");
  }

  bool ok = false;
  const PhotoMeta& Meta() const { return record_; }
  const CJpegMetaReader& Reader() const { return reader_; }
  std::string Error() const { return reader_.ErrorText(); }
  const std::string& Printed() const { return printed_; }

 private:
  testfiles::TempFolder folder_;
  PhotoMeta record_{};
  CJpegMetaReader reader_{&record_};
  std::string printed_;
};

}  // namespace metatest
