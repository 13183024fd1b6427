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
  // Directory links can form cycles or nest without end. Within one block, a directory whose
  // offset was already walked is not walked again, links deeper than kMaxDirectoryDepth are
  // not followed, and at most kMaxDirectories directories are walked in all. None of these
  // sets an error text: the results of linked walks are not looked at anyway.
  static constexpr int kMaxDirectoryDepth = 32;
  static constexpr int kMaxDirectories = 64;

  void TakeFrameHeader(const std::uint8_t* bytes, int length, int marker);
  void TakeComment(const std::uint8_t* bytes, int length);
  void SetError(const char* text);
  void DropLastSection();

  // The directory at `offset` in the block of `blockLength` bytes; `depth` counts the links
  // followed to reach it.
  bool ParseExifDirectory(std::uint32_t offset, std::uint8_t* block, std::uint32_t blockLength,
                          int depth);
  // Walks a linked directory unless it was walked already or lies too deep.
  void FollowLink(std::uint32_t offset, std::uint8_t* block, std::uint32_t blockLength, int depth);
  // Copies a known tag's value into the record. `available` bytes may be read at `value`
  // (up to the block's end); the value itself holds `byteCount` of them.
  void ApplyTag(int tag, int format, std::uint8_t* value, std::uint32_t byteCount,
                std::uint32_t available);
  void TakeUserComment(std::uint8_t* value, std::uint32_t byteCount, std::uint32_t available);

  std::uint16_t ExifU16(const std::uint8_t* p) const;
  std::int32_t ExifS32(const std::uint8_t* p) const;
  std::uint32_t ExifU32(const std::uint8_t* p) const;
  static std::uint16_t BigEndianU16(const std::uint8_t* p);
  // First component of a value as a number; 0 when it does not fit in `available` bytes.
  double ExifValueAsNumber(const std::uint8_t* value, int format, std::uint32_t available) const;

  PhotoMeta* m_pRecord;
  char m_szErrorText[256];
  int m_nLargestDim;
  int m_bBigEndian;
  JpegSection m_Sections[kMaxSections];
  int m_nSections;
  bool m_bOwnsRecord;
  bool m_bCommentTaken;                         // the file's first comment section has been taken
  std::uint32_t m_WalkedDirs[kMaxDirectories];  // offsets walked in the current block
  int m_nWalkedDirs;
};

// Where the reader prints its two diagnostic lines; standard output by default, nullptr for
// silence. Safe to call from any thread.
void SetJpegReaderDiagnostics(std::FILE* out);
