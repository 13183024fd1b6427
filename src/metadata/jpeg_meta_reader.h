// Reads the head of a JPEG file as marker sections, up to the start of the image data, and
// fills a PhotoMeta record from its frame header, first comment and EXIF blocks.
#pragma once

#include <cstdint>
#include <cstdio>

#include "metadata/photo_meta.h"

// One held section: the bytes after its marker (two length bytes, then the payload).
struct JpegSection {
  std::uint8_t* bytes = nullptr;  // owned, `length` bytes
  int marker = 0;
  int length = 0;  // as stored in the file; counts the two length bytes
};

class CJpegMetaReader {
 public:
  static constexpr int kMaxSections = 20;

  // With a null record the reader makes its own, zero-filled, and owns it; a given record is
  // filled without being cleared first.
  explicit CJpegMetaReader(PhotoMeta* record = nullptr);
  ~CJpegMetaReader();
  CJpegMetaReader(const CJpegMetaReader&) = delete;
  CJpegMetaReader& operator=(const CJpegMetaReader&) = delete;

  // Walks the sections of `file` (opened "rb", positioned at the JPEG's start) up to the
  // start-of-scan section. True when that section was reached. Call once per reader.
  bool ReadSections(std::FILE* file);

  const PhotoMeta& Record() const { return *m_pRecord; }
  const char* ErrorText() const { return m_szErrorText; }
  int SectionCount() const { return m_nSections; }
  const JpegSection& Section(int index) const { return m_Sections[index]; }

  // EXIF block parse. `payload` starts at "Exif"; `sectionLength` is the section length as
  // stored in the file. The payload holds sectionLength - 2 bytes.
  bool ParseExif(std::uint8_t* payload, int sectionLength);

 private:
  void TakeFrameHeader(const std::uint8_t* bytes, int length, int marker);
  void TakeComment(const std::uint8_t* bytes, int length);
  void SetError(const char* text);
  void DropLastSection();

  // A directory at `offset` in the block of `blockLength` bytes; `depth` counts the links
  // followed to reach it.
  bool ParseExifDirectory(std::uint32_t offset, std::uint8_t* block, std::uint32_t blockLength,
                          int depth);
  void ApplyTag(int tag, int format, std::uint32_t byteCount, std::uint8_t* value,
                const std::uint8_t* blockEnd);

  std::uint16_t ExifU16(const std::uint8_t* p) const;
  std::int32_t ExifS32(const std::uint8_t* p) const;
  std::uint32_t ExifU32(const std::uint8_t* p) const;
  static std::uint16_t BigEndianU16(const std::uint8_t* p);
  // First component of a value as a number. `available` bytes may be read at `value`.
  double ExifValueAsNumber(const std::uint8_t* value, int format, std::uint32_t available) const;

  PhotoMeta* m_pRecord;
  char m_szErrorText[256];
  int m_nLargestDim;
  int m_bBigEndian;
  JpegSection m_Sections[kMaxSections];
  int m_nSections;
  bool m_bOwnsRecord;
};
