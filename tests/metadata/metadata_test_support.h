// Runs the JPEG reader on bytes built in a test: an EXIF block handed to ParseExif the way an
// APP1 section would hand it over, or a whole file read through a real stream.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "jpeg_builder.h"
#include "metadata/jpeg_meta_reader.h"
#include "test_files.h"

namespace metatest {

using jpegbuilder::Bytes;

// ParseExif on "Exif\0\0" + block. The payload is an exact-size heap copy, so that the
// sanitizer build catches any read past the block's end.
class ExifParse {
 public:
  explicit ExifParse(const Bytes& block, const PhotoMeta& start = PhotoMeta{})
      : size_(block.size() + 6), payload_(new std::uint8_t[size_]), record_(start) {
    std::memcpy(payload_.get(), "Exif\0\0", 6);
    if (!block.empty()) {
      std::memcpy(payload_.get() + 6, block.data(), block.size());
    }
    ok = reader_.ParseExif(payload_.get(), static_cast<int>(size_ + 2));
  }

  bool ok = false;
  const PhotoMeta& Meta() const { return record_; }
  std::string Error() const { return reader_.ErrorText(); }
  const std::uint8_t* Block() const { return payload_.get() + 6; }

 private:
  std::size_t size_;
  std::unique_ptr<std::uint8_t[]> payload_;
  PhotoMeta record_;
  CJpegMetaReader reader_{&record_};
};

// ReadSections on a file holding `bytes`; what the reader prints is captured in Printed().
class JpegRead {
 public:
  explicit JpegRead(const Bytes& bytes) {
    const std::string path = folder_ / "photo.jpg";
    const std::string printedPath = folder_ / "printed.txt";
    jpegbuilder::WriteBytes(path, bytes);
    std::FILE* printed = std::fopen(printedPath.c_str(), "w+b");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr && printed != nullptr) {
      SetJpegReaderDiagnostics(printed);
      ok = reader_.ReadSections(file);
      SetJpegReaderDiagnostics(stdout);
      opened = true;
    }
    if (file != nullptr) {
      std::fclose(file);
    }
    if (printed != nullptr) {
      std::fclose(printed);
    }
    printed_ = testfiles::ReadAll(printedPath);
  }

  bool opened = false;
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
